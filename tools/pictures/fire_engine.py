#!/usr/bin/python3
"""Built-in puzzle picture fire_eng.bkg: a red fire engine in a town street,
its ladder raised to a top-floor window where a cat is waiting.  Like the
cathedral it is cut into as many as 400 pieces, so the street, the house
fronts and the sky all carry detail of their own."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl
import scenery as sc

W, H, S = 1024, 768, 2
WALK_TOP, CURB, ROAD = 500, 560, 568
WHEEL_Y, WHEEL_R = 672, 44

RED = (204, 22, 26)
RED_HI = (238, 70, 62)
RED_DK = (140, 10, 16)
CHROME = (206, 212, 222)
CHROME_DK = (120, 126, 140)
GOLD = (236, 186, 64)
TYRE = (34, 34, 38)


# --------------------------------------------------------------- buildings --

def window(c, rng, x, y, w, h, frame=(240, 236, 226), lit=None, curtain=None, sky=True):
    c.rect(x - 3, y - 3, x + w + 3, y + h + 3, fill=pl.shade(frame, 0.7))
    c.rect(x - 2, y - 2, x + w + 2, y + h + 2, fill=frame)
    if lit is None:
        lit = rng.random() < 0.15
    if lit:
        top, bot = (255, 236, 170), (240, 190, 110)
    else:
        top, bot = (150, 180, 210), (60, 80, 110)
    for k in range(int(h)):
        t = k / max(1, h - 1)
        c.rect(x, y + k, x + w, y + k + 1.05, fill=pl.mix(top, bot, t))
    if not lit and sky:
        # a diagonal glint of sky
        c.poly([(x + w * 0.15, y + h), (x + w * 0.45, y + h), (x + w * 0.95, y),
                (x + w * 0.65, y)], fill=pl.mix(top, (220, 235, 250), 0.5))
    if curtain is None and rng.random() < 0.45:
        curtain = [(200, 60, 60), (240, 230, 200), (80, 130, 70), (220, 170, 60),
                   (120, 90, 160), (90, 140, 190)][int(rng.integers(6))]
    if curtain:
        c.poly([(x, y), (x + w * 0.32, y), (x + w * 0.14, y + h * 0.7), (x, y + h * 0.8)],
               fill=curtain)
        c.poly([(x + w, y), (x + w * 0.68, y), (x + w * 0.86, y + h * 0.7), (x + w, y + h * 0.8)],
               fill=pl.shade(curtain, 0.85))
    c.line([(x + w / 2, y), (x + w / 2, y + h)], frame, 1.6)
    c.line([(x, y + h * 0.42), (x + w, y + h * 0.42)], frame, 1.6)
    # sill and lintel
    c.rect(x - 5, y + h + 2, x + w + 5, y + h + 6, fill=pl.shade(frame, 0.92))
    c.rect(x - 5, y + h + 6, x + w + 5, y + h + 7.5, fill=pl.shade(frame, 0.55))
    c.rect(x - 4, y - 8, x + w + 4, y - 3, fill=pl.shade(frame, 0.88))


def flower_box(c, rng, x, y, w):
    c.rect(x, y, x + w, y + 6, fill=(120, 76, 40))
    for k in range(int(w / 3)):
        fx = x + 1.5 + k * 3 + rng.uniform(-0.8, 0.8)
        c.circle(fx, y - 1, rng.uniform(1.6, 2.6), fill=pl.jitter((60, 130, 50), rng, 0.2))
    for k in range(int(w / 5)):
        fx = x + 2 + k * 5 + rng.uniform(-1, 1)
        col = [(230, 40, 60), (250, 200, 40), (240, 120, 180), (250, 250, 240)][int(rng.integers(4))]
        c.circle(fx, y - 3 + rng.uniform(-1, 1), 1.6, fill=col)


def cornice(c, x0, x1, y, col):
    c.rect(x0 - 6, y, x1 + 6, y + 8, fill=pl.shade(col, 1.1))
    c.rect(x0 - 6, y + 8, x1 + 6, y + 10, fill=pl.shade(col, 0.6))
    n = int((x1 - x0 + 12) / 7)
    for k in range(n):
        xx = x0 - 5 + k * 7
        c.rect(xx, y + 10, xx + 4, y + 15, fill=pl.shade(col, 1.0))
        c.rect(xx + 3, y + 10, xx + 4, y + 15, fill=pl.shade(col, 0.7))
    c.rect(x0 - 3, y + 15, x1 + 3, y + 17, fill=pl.shade(col, 0.8))


def building(c, rng, x0, x1, top, kind, col, floors_from=None):
    """One house front from its roof line down to the pavement."""
    if kind == "brick":
        tex = sc.brick_texture(W, H, S, col, rng, bw=12, bh=5, var=0.14,
                               mortar=(200, 190, 176))
    elif kind == "stone":
        tex = sc.stone_texture(W, H, S, col, rng, course=14, block=(22, 44), var=0.06)
    else:
        tex = pl.textured((W * S, H * S), col, rng, amp=0.10, cell=30 * S, octaves=5, grain=0.012)
    sc.paste_masked(c, tex, lambda md: md.rectangle(c.box(x0, top, x1, WALK_TOP), fill=255))
    # a shadow line down the right-hand edge, and the roof line
    c.rect(x1 - 3, top, x1, WALK_TOP, fill=pl.shade(col, 0.7))
    cornice(c, x0, x1, top - 12, pl.mix(col, (230, 226, 214), 0.55))


def roof_things(c, rng, x0, x1, top):
    k = rng.random()
    if k < 0.4:
        # chimneys
        for _ in range(2):
            x = rng.uniform(x0 + 10, x1 - 30)
            h = rng.uniform(16, 30)
            c.rect(x, top - 12 - h, x + 16, top - 12, fill=(150, 70, 50))
            c.rect(x - 2, top - 14 - h, x + 18, top - 10 - h, fill=(110, 60, 50))
            c.rect(x + 12, top - 12 - h, x + 16, top - 12, fill=(110, 50, 40))
    elif k < 0.7:
        # a television aerial
        x = rng.uniform(x0 + 20, x1 - 20)
        c.line([(x, top - 12), (x, top - 62)], (60, 60, 70), 1.4)
        for j in range(4):
            yy = top - 60 + j * 9
            ww = 18 - j * 3
            c.line([(x - ww, yy), (x + ww, yy)], (60, 60, 70), 1.1)
    return


def water_tank(c, x, base):
    wood = (140, 96, 60)
    for lx in (x + 4, x + 20, x + 36):
        c.rect(lx, base - 26, lx + 3, base, fill=(60, 50, 46))
    c.line([(x + 4, base - 2), (x + 39, base - 24)], (60, 50, 46), 1.2)
    c.line([(x + 4, base - 24), (x + 39, base - 2)], (60, 50, 46), 1.2)
    c.rect(x, base - 70, x + 44, base - 26, fill=wood)
    for k in range(9):
        c.line([(x + k * 5 + 2, base - 70), (x + k * 5 + 2, base - 26)], pl.shade(wood, 0.75), 0.8)
    c.rect(x + 30, base - 70, x + 44, base - 26, fill=pl.shade(wood, 0.7))
    for yy in (base - 62, base - 48, base - 34):
        c.rect(x - 1, yy, x + 45, yy + 2, fill=(70, 66, 70))
    c.poly([(x - 4, base - 70), (x + 22, base - 92), (x + 48, base - 70)], fill=(90, 70, 60))


def fire_escape(c, x0, x1, top, floors, step):
    iron = (36, 34, 40)
    for k in range(floors):
        y = top + k * step
        c.rect(x0, y, x1, y + 3, fill=iron)
        for xx in np.arange(x0, x1 + 1, 5):
            c.line([(xx, y - 18), (xx, y)], iron, 0.8)
        c.line([(x0, y - 18), (x1, y - 18)], iron, 1.2)
        # stairs down to the landing below
        if k < floors - 1:
            if k % 2 == 0:
                sa, sb = (x0 + 6, y + 3), (x1 - 10, y + step)
            else:
                sa, sb = (x1 - 6, y + 3), (x0 + 10, y + step)
            c.line([sa, sb], iron, 2.0)
            for t in np.linspace(0.08, 0.92, 9):
                px = sa[0] + (sb[0] - sa[0]) * t
                py = sa[1] + (sb[1] - sa[1]) * t
                c.line([(px - 4, py), (px + 4, py)], iron, 1.2)


def shop(c, rng, x0, x1, name, awning):
    y0 = WALK_TOP - 82
    c.rect(x0 + 4, y0, x1 - 4, WALK_TOP, fill=(50, 44, 48))
    c.rect(x0 + 8, y0 + 30, x1 - 8, WALK_TOP - 6, fill=(120, 150, 170))
    c.rect(x0 + 8, y0 + 30, x1 - 8, y0 + 36, fill=(90, 110, 130))
    # goods in the window
    for k in range(int((x1 - x0 - 20) / 10)):
        gx = x0 + 12 + k * 10
        col = [(220, 170, 90), (200, 80, 60), (240, 220, 160), (120, 160, 90)][k % 4]
        c.ellipse(gx, WALK_TOP - 22, gx + 8, WALK_TOP - 12, fill=col)
    c.rect(x0 + 4, y0, x1 - 4, y0 + 24, fill=(30, 60, 50))
    f = c.font("DejaVuSerif-Bold.ttf", 14)
    c.text(((x0 + x1) / 2, y0 + 12.5), name, f, (240, 214, 120), anchor="mm")
    n = 10
    for s in range(n):
        a = x0 + (x1 - x0) * s / n
        b = x0 + (x1 - x0) * (s + 1) / n
        c.poly([(a, y0 + 24), (b, y0 + 24), (b + 2, y0 + 44), (a + 2, y0 + 44)],
               fill=awning if s % 2 == 0 else (246, 242, 232))
        c.pieslice((a + b) / 2 + 2, y0 + 44, (b - a) / 2, 0, 180,
                   fill=awning if s % 2 == 0 else (246, 242, 232))


def town(c, rng):
    specs = [
        # x0, x1, top, kind, colour, floor step, window width
        (-10, 160, 200, "stucco", (232, 214, 170), 64, 28),
        (160, 340, 250, "brick", (176, 74, 54), 62, 30),
        (340, 520, 150, "stucco", (226, 178, 86), 60, 26),
        (520, 690, 222, "stone", (178, 184, 190), 66, 30),
        (690, 872, 170, "brick", (130, 60, 52), 60, 28),
        (872, 1034, 96, "stone", (210, 196, 170), 62, 30),
    ]
    for (x0, x1, top, kind, col, step, ww) in specs:
        building(c, rng, x0, x1, top, kind, col)
        roof_things(c, rng, x0, x1, top)
        ncols = max(2, int((x1 - x0 - 20) / (ww + 26)))
        gap = (x1 - x0 - ncols * ww) / (ncols + 1)
        y = top + 22
        floor = 0
        while y + 44 < WALK_TOP - 90:
            for k in range(ncols):
                wx = x0 + gap + k * (ww + gap)
                window(c, rng, wx, y, ww, 42)
                if rng.random() < 0.3:
                    flower_box(c, rng, wx - 2, y + 42, ww + 4)
            y += step
            floor += 1
    # balconies on the yellow house
    for y in (232, 292):
        c.rect(348, y, 512, y + 4, fill=(60, 60, 66))
        for xx in np.arange(350, 512, 6):
            c.line([(xx, y - 16), (xx, y)], (60, 60, 66), 1.0)
        c.line([(348, y - 16), (512, y - 16)], (60, 60, 66), 1.6)
    # the fire station sign on the brick house
    c.rect(180, 264, 320, 296, fill=(250, 244, 230))
    c.rect(183, 267, 317, 293, fill=(150, 20, 26))
    f = c.font("DejaVuSerif-Bold.ttf", 17)
    c.text((250, 281), "STATION 41", f, (250, 214, 110), anchor="mm")
    # water tank on the dark brick house, fire escape down its front
    water_tank(c, 760, 158)
    fire_escape(c, 700, 760, 226, 4, 60)
    # shops at street level where they are not hidden by the engine
    shop(c, rng, -10, 160, "CAFE", (200, 40, 44))
    shop(c, rng, 872, 1034, "BAKERY", (40, 100, 170))
    shop(c, rng, 340, 520, "BOOKS", (40, 130, 80))
    shop(c, rng, 520, 690, "FLOWERS", (220, 150, 30))
    shop(c, rng, 690, 872, "TOYS", (150, 60, 150))
    # station doors on the brick house
    for dx in (172, 258):
        c.poly(pl.gothic_arch(dx, dx + 76, WALK_TOP - 60, WALK_TOP, 0.5), fill=(240, 236, 226))
        c.poly(pl.gothic_arch(dx + 4, dx + 72, WALK_TOP - 60, WALK_TOP, 0.5), fill=(170, 30, 30))
        for k in range(4):
            c.rect(dx + 8 + k * 16, WALK_TOP - 70, dx + 20 + k * 16, WALK_TOP - 56,
                   fill=(150, 180, 210))
        for yy in np.arange(WALK_TOP - 50, WALK_TOP, 8):
            c.line([(dx + 4, yy), (dx + 72, yy)], (130, 20, 20), 1)


def pavement(c, rng):
    base = pl.Canvas(W, H, S, background=(150, 146, 140))
    rows = [WALK_TOP, WALK_TOP + 16, WALK_TOP + 35, CURB]
    for r in range(len(rows) - 1):
        y0, y1 = rows[r], rows[r + 1]
        w = 38 + r * 8
        off = (r % 2) * w / 2
        x = -off
        while x < W:
            col = pl.jitter((196, 192, 184), rng, 0.06)
            sk = (y1 - y0) * 0.6
            base.poly([(x + 1 + (y0 - WALK_TOP) * 0.3, y0 + 1), (x + w - 1 + (y0 - WALK_TOP) * 0.3, y0 + 1),
                       (x + w - 1 + (y1 - WALK_TOP) * 0.3, y1 - 1), (x + 1 + (y1 - WALK_TOP) * 0.3, y1 - 1)],
                      fill=col)
            x += w
    arr = base.array()
    n = pl.fbm(W * S, H * S, 30 * S, rng, 5)
    arr *= (0.9 + 0.2 * n)[:, :, None]
    sc.paste_masked(c, arr, lambda md: md.rectangle(c.box(0, WALK_TOP, W, CURB), fill=255))
    # kerb
    curb = pl.textured((W * S, H * S), (176, 172, 166), rng, amp=0.15, cell=12 * S)
    sc.paste_masked(c, curb, lambda md: md.rectangle(c.box(0, CURB, W, ROAD), fill=255))
    c.rect(0, CURB, W, CURB + 2, fill=(214, 210, 204))
    for x in range(0, W, 60):
        c.line([(x, CURB), (x, ROAD)], (120, 116, 110), 1)


def road(c, rng):
    w, h = W * S, H * S
    n = pl.fbm(w, h, 80 * S, rng, 6)
    g = (pl.value_noise(w, h, 2.2, rng) - 0.5) * 3.0      # fine grit
    yy = np.linspace(0, 1, h, dtype=np.float32)[:, None]
    base = 78 + 26 * (n - 0.5) + 7 * g + 10 * yy
    arr = np.stack([base * 0.98, base, base * 1.06], axis=2)
    # darker patched strips and oil stains
    patch = pl.fbm(w, h, 140 * S, rng, 3)
    arr *= (1 - 0.12 * np.clip((patch - 0.6) * 4, 0, 1))[:, :, None]
    sc.paste_masked(c, arr, lambda md: md.rectangle(c.box(0, ROAD, W, H), fill=255))
    # cracks
    for _ in range(26):
        x, y = rng.uniform(0, W), rng.uniform(ROAD + 10, H)
        pts = [(x, y)]
        for _ in range(int(rng.integers(4, 10))):
            x += rng.uniform(-10, 10)
            y += rng.uniform(-3, 3)
            pts.append((x, y))
        c.line(pts, (44, 44, 50), 0.8)
    # gutter line, lane marks and a pedestrian crossing at the left
    c.rect(0, ROAD, W, ROAD + 5, fill=(60, 60, 66))
    for x in range(-20, W, 90):
        c.poly([(x, 748), (x + 54, 748), (x + 58, 756), (x + 4, 756)], fill=(236, 232, 214))
    # a zebra crossing at the corner, seen from the side
    for k, y in enumerate(np.arange(ROAD + 8, 740, 15.0)):
        if k % 2 == 0:
            c.poly([(0, y), (80 + (y - ROAD) * 0.15, y), (84 + (y - ROAD) * 0.15, y + 9), (0, y + 9)],
                   fill=(228, 226, 214))
    # a puddle that mirrors the sky, fallen leaves
    c.ellipse(560, 726, 700, 746, fill=(60, 70, 90))
    c.ellipse(566, 728, 694, 743, fill=(140, 170, 210))
    c.ellipse(600, 731, 660, 737, fill=(200, 220, 240))
    for _ in range(60):
        lx, ly = rng.uniform(0, W), rng.uniform(ROAD + 4, H)
        col = [(200, 120, 40), (220, 170, 50), (160, 70, 30), (120, 140, 50)][int(rng.integers(4))]
        a = rng.uniform(0, math.pi)
        c.poly([(lx - 3 * math.cos(a), ly - 1.5 * math.sin(a)), (lx, ly - 1.6),
                (lx + 3 * math.cos(a), ly + 1.5 * math.sin(a)), (lx, ly + 1.6)], fill=col)
    # painted arrow in the lane
    c.poly([(800, 762), (850, 762), (850, 758), (866, 764), (850, 770), (850, 766), (800, 766)],
           fill=(230, 228, 214))
    # manhole and drain
    c.ellipse(28, 724, 108, 744, fill=(50, 50, 56))
    c.ellipse(31, 726, 105, 742, fill=(86, 84, 84))
    for k in range(7):
        c.line([(40 + k * 9, 727), (40 + k * 9, 741)], (60, 58, 60), 1.0)
    c.rect(470, 570, 520, 580, fill=(40, 40, 44))
    for k in range(8):
        c.rect(473 + k * 6, 572, 476 + k * 6, 578, fill=(20, 20, 24))


# ------------------------------------------------------------ fire engine --

def wheel(c, x, y, r):
    c.circle(x, y, r, fill=TYRE)
    for k in range(28):
        a = 2 * math.pi * k / 28
        c.line([(x + math.cos(a) * r * 0.9, y + math.sin(a) * r * 0.9),
                (x + math.cos(a) * r * 0.99, y + math.sin(a) * r * 0.99)], (62, 62, 68), 2.0)
    c.circle(x, y, r * 0.80, fill=(52, 52, 58))
    c.circle(x, y, r * 0.62, fill=CHROME_DK)
    c.circle(x - r * 0.03, y - r * 0.03, r * 0.57, fill=CHROME)
    c.pieslice(x, y, r * 0.57, 200, 290, fill=(240, 244, 250))
    for k in range(8):
        a = 2 * math.pi * k / 8
        c.circle(x + math.cos(a) * r * 0.42, y + math.sin(a) * r * 0.42, r * 0.055,
                 fill=(90, 94, 104))
    c.circle(x, y, r * 0.26, fill=RED)
    c.circle(x, y, r * 0.13, fill=CHROME)


def engine(c, rng):
    # shadow on the road beneath
    sc.cast_shadows(c, [(70, 690, 930, 730)], 0.5, blur=6)
    # chassis
    c.rect(110, 640, 890, 684, fill=(36, 36, 40))
    c.rect(300, 676, 880, 690, fill=(24, 24, 28))
    # ---- body
    body = [(300, 470), (892, 470), (892, 664), (300, 664)]
    c.poly(body, fill=RED)
    # gloss: a light band along the top, darker towards the bottom
    for k in range(40):
        t = k / 39
        c.rect(300, 600 + t * 64, 892, 600 + t * 64 + 1.7, fill=pl.mix(RED, RED_DK, t))
    c.rect(300, 470, 892, 478, fill=RED_HI)
    # roller-shutter lockers
    lockers = [(310, 484, 444, 600), (452, 484, 586, 600), (594, 484, 728, 600),
               (736, 484, 882, 600)]
    for (a, t, b, btm) in lockers:
        c.rect(a - 2, t - 2, b + 2, btm + 2, fill=RED_DK)
        for k, yy in enumerate(np.arange(t, btm, 5.0)):
            shade_t = 0.5 + 0.5 * math.sin(k * 0.35)
            c.rect(a, yy, b, yy + 5, fill=pl.mix((214, 220, 230), (168, 174, 188), shade_t))
            c.rect(a, yy + 4, b, yy + 5, fill=(110, 116, 130))
        c.rect(a + (b - a) * 0.3, btm - 10, a + (b - a) * 0.7, btm - 5, fill=(70, 74, 84))
        c.rect(a + (b - a) * 0.3, btm - 9.5, a + (b - a) * 0.7, btm - 8, fill=(230, 234, 240))
    # the shutters mirror the street: sky-blue above, warm below, a bright
    # streak of sun across each one at its own place
    arr = c.array()
    for k, (a, t, b, btm) in enumerate(lockers):
        xa, xb, ya, yb = int(a * S), int(b * S), int(t * S), int(btm * S)
        hh, ww = yb - ya, xb - xa
        yy, xx = np.mgrid[0:hh, 0:ww].astype(np.float32)
        v = yy / hh
        n = pl.fbm(ww, hh, 30 * S, rng, 4)
        tint = np.stack([0.86 + 0.22 * v, 0.92 + 0.08 * v, 1.08 - 0.20 * v], axis=2)
        streak_x = (0.25 + 0.18 * k) * ww
        d = (xx - streak_x + (yy - hh / 2) * 0.9) / (14 * S)
        streak = np.exp(-d * d) * 0.35
        f = tint * (0.86 + 0.26 * n)[:, :, None] + streak[:, :, None]
        arr[ya:yb, xa:xb] *= f
    c.set_array(arr)
    # things glimpsed in an open locker: the third one is rolled half up
    a, t, b, btm = lockers[2]
    c.rect(a, t + 40, b, btm, fill=(40, 40, 46))
    for k, col in enumerate([(220, 40, 40), (240, 200, 40), (40, 90, 200), (230, 230, 230)]):
        c.rect(a + 10 + k * 30, btm - 40, a + 32 + k * 30, btm, fill=col)
        c.rect(a + 14 + k * 30, btm - 48, a + 28 + k * 30, btm - 40, fill=(60, 60, 64))
    c.circle(a + 40, t + 52, 10, outline=(240, 200, 90), width=3)
    for k, yy in enumerate(np.arange(t, t + 40, 5.0)):
        c.rect(a, yy, b, yy + 5, fill=(200, 206, 216))
        c.rect(a, yy + 4, b, yy + 5, fill=(110, 116, 130))
    labels = ["HOSE", "TOOLS", "RESCUE", "MEDICAL"]
    fl = c.font("DejaVuSans-Bold.ttf", 9)
    for (a, t, b, btm), lab in zip(lockers, labels):
        mx = (a + b) / 2
        c.rect(mx - 26, t + 6, mx + 26, t + 18, fill=(250, 250, 244))
        c.rect(mx - 24, t + 8, mx + 24, t + 16, fill=(20, 90, 60) if lab != "MEDICAL" else (40, 80, 170))
        c.text((mx, t + 12.2), lab, fl, (255, 255, 255), anchor="mm")
    # white stripe and gold lettering along the lower body
    c.rect(300, 606, 892, 618, fill=(246, 246, 240))
    c.rect(300, 619, 892, 621, fill=GOLD)
    f = c.font("DejaVuSerif-Bold.ttf", 24)
    c.text((472 + 1.5, 642 + 1.5), "FIRE  DEPT.", f, RED_DK, anchor="mm")
    c.text((472, 642), "FIRE  DEPT.", f, GOLD, anchor="mm", stroke=0.6, stroke_fill=(120, 70, 10))
    # wheel arches
    for wx in (236, 662, 764):
        c.pieslice(wx, WHEEL_Y, WHEEL_R + 8, 180, 360, fill=(28, 28, 32))
        c.arc(wx, WHEEL_Y, WHEEL_R + 9, 180, 360, CHROME, 2.2)
    c.rect(700, 620, 726, 670, fill=RED)
    for wx in (236, 662, 764):
        wheel(c, wx, WHEEL_Y, WHEEL_R)
    # rear: chevrons and lamps
    c.rect(884, 470, 896, 664, fill=(250, 210, 30))
    for k in range(10):
        y = 470 + k * 20
        c.poly([(884, y), (896, y + 10), (896, y + 18), (884, y + 8)], fill=RED)
    c.rect(882, 620, 898, 640, fill=(250, 40, 30))
    c.rect(882, 642, 898, 650, fill=(255, 160, 40))
    # steps and rails
    c.rect(300, 664, 460, 672, fill=CHROME)
    c.rect(300, 670, 460, 672, fill=CHROME_DK)
    c.line([(304, 476), (880, 476)], CHROME, 1.6)
    # ---- cab
    cab = [(96, 664), (96, 530), (104, 500), (150, 430), (304, 430), (304, 664)]
    c.poly(cab, fill=RED)
    c.poly([(96, 600), (304, 600), (304, 664), (96, 664)], fill=pl.shade(RED, 0.88))
    c.rect(150, 430, 304, 438, fill=RED_HI)
    # windscreen edge and windows
    c.poly([(108, 504), (152, 440), (160, 440), (118, 510)], fill=(70, 90, 120))
    for (a, b) in ((160, 222), (232, 296)):
        win = [(a, 446), (b, 446), (b, 520), (a, 520)]
        if a == 160:
            win = [(128, 520), (166, 446), (b, 446), (b, 520)]
        c.poly(win, fill=(60, 80, 110))
        c.poly([(win[0][0] + 12, 520), (win[0][0] + 30, 520), (b - 10, 446), (b - 28, 446)],
               fill=(120, 150, 180))
    # firefighter seen through the cab window
    c.circle(192, 478, 9, fill=(220, 180, 150))
    c.pieslice(192, 476, 12, 180, 360, fill=(240, 200, 40))
    c.rect(178, 476, 206, 479, fill=(240, 200, 40))
    c.rect(180, 488, 204, 520, fill=(40, 40, 48))
    # doors, handles and the station badge
    for (a, b) in ((122, 226), (228, 300)):
        c.line([(a, 524), (a, 660)], RED_DK, 1.4)
        c.line([(b, 440), (b, 660)], RED_DK, 1.4)
        c.rect(b - 26, 532, b - 10, 536, fill=CHROME)
    # stripe carried across the cab, steps, grab rail and the crew door text
    c.rect(96, 606, 304, 618, fill=(246, 246, 240))
    c.rect(96, 619, 304, 621, fill=GOLD)
    c.rect(96, 600, 304, 602, fill=GOLD)
    for (a, b, y) in ((130, 214, 632), (236, 296, 632), (130, 214, 650), (236, 296, 650)):
        c.rect(a, y, b, y + 6, fill=CHROME_DK)
        c.rect(a, y, b, y + 3, fill=CHROME)
        for xx in np.arange(a + 3, b - 2, 6):
            c.rect(xx, y + 0.5, xx + 3, y + 2.5, fill=(150, 156, 170))
    c.rect(110, 524, 114, 600, fill=CHROME)
    c.rect(112, 524, 114, 600, fill=CHROME_DK)
    f3 = c.font("DejaVuSans-Bold.ttf", 10)
    c.text((265, 572), "ENGINE", f3, GOLD, anchor="mm")
    c.text((265, 586), "COMPANY", f3, GOLD, anchor="mm")
    c.line([(240, 562), (290, 562)], GOLD, 1)
    c.line([(240, 596), (290, 596)], GOLD, 1)
    # fuel tank and mud flaps below the body
    c.rrect(306, 664, 420, 690, 10, fill=CHROME_DK)
    c.rrect(306, 664, 420, 680, 10, fill=CHROME)
    c.rect(312, 667, 414, 670, fill=(244, 246, 250))
    c.rect(380, 662, 394, 668, fill=(70, 70, 76))
    # air tank, drive shaft and exhaust glimpsed under the body
    c.rect(470, 684, 612, 690, fill=(60, 60, 66))
    c.rrect(480, 664, 604, 684, 9, fill=(96, 100, 112))
    c.rrect(480, 664, 604, 674, 9, fill=(150, 156, 168))
    c.rect(530, 662, 540, 686, fill=(200, 40, 40))
    c.line([(420, 694), (470, 692), (640, 692)], (80, 80, 88), 4)
    for (fx, fw) in ((286, 12), (812, 14)):
        c.rect(fx, 664, fx + fw, 708, fill=(24, 24, 28))
        c.rect(fx + 2, 696, fx + fw - 2, 700, fill=CHROME)
    sx, sy = 176, 566
    shield = [(sx - 18, sy - 20), (sx + 18, sy - 20), (sx + 18, sy + 2), (sx, sy + 22),
              (sx - 18, sy + 2)]
    c.poly(shield, fill=GOLD)
    c.poly([(sx - 14, sy - 16), (sx + 14, sy - 16), (sx + 14, sy + 1), (sx, sy + 17),
            (sx - 14, sy + 1)], fill=RED_DK)
    f2 = c.font("DejaVuSans-Bold.ttf", 16)
    c.text((sx, sy - 1), "41", f2, (255, 226, 130), anchor="mm")
    # mirror
    c.line([(110, 500), (88, 478)], (40, 40, 44), 2.2)
    c.rect(78, 462, 90, 492, fill=(40, 40, 44))
    c.rect(80, 464, 88, 490, fill=(160, 190, 220))
    # front: grille, lamps, bumper
    c.rect(90, 560, 102, 640, fill=(50, 50, 56))
    for yy in np.arange(562, 640, 5.0):
        c.rect(90, yy, 102, yy + 2, fill=CHROME)
    c.circle(100, 544, 10, fill=CHROME_DK)
    c.circle(100, 544, 8, fill=(255, 250, 214))
    c.rect(92, 528, 104, 534, fill=(255, 160, 40))
    c.rect(80, 640, 130, 664, fill=CHROME)
    c.rect(80, 656, 130, 664, fill=CHROME_DK)
    c.rect(80, 644, 130, 647, fill=(250, 250, 255))
    # roof light bar with its glow
    glow = Image.new("L", c.img.size, 0)
    gd = ImageDraw.Draw(glow)
    for gx in (170, 280):
        gd.ellipse(c.box(gx - 40, 395, gx + 40, 455), fill=255)
    glow = glow.filter(ImageFilter.GaussianBlur(14 * S))
    g = np.asarray(glow, np.float32)[:, :, None] / 255.0
    arr = c.array()
    arr = arr + g * 0.55 * (np.array([255, 60, 60], np.float32) - arr)
    c.set_array(arr)
    c.rect(150, 416, 300, 430, fill=(40, 40, 46))
    c.rect(152, 418, 196, 428, fill=(255, 60, 50))
    c.rect(198, 418, 252, 428, fill=(250, 250, 240))
    c.rect(254, 418, 298, 428, fill=(255, 60, 50))
    c.rect(156, 419, 170, 422, fill=(255, 200, 190))
    c.rect(258, 419, 272, 422, fill=(255, 200, 190))
    # ---- hose bed and reel on top of the body
    for k in range(6):
        c.rrect(320 + k * 2, 450 + k * 3.2, 560 - k * 2, 454 + k * 3.2, 2,
                fill=(232, 214, 170) if k % 2 == 0 else (210, 190, 146))
    c.circle(600, 452, 18, fill=(90, 94, 104))
    c.circle(600, 452, 15, fill=(240, 200, 60))
    for k in range(6):
        c.circle(600, 452, 14 - k * 2, outline=(200, 150, 40), width=0.8)
    c.circle(600, 452, 3, fill=(90, 94, 104))
    # ---- the ladder: a turntable at the back, raised towards the window
    c.rect(760, 444, 860, 470, fill=(60, 62, 70))
    c.rect(770, 430, 850, 446, fill=RED)
    c.rect(770, 430, 850, 434, fill=RED_HI)
    c.ellipse(770, 424, 850, 438, fill=(80, 84, 92))
    base = (812, 432)
    tipx, tipy = 978, 176
    # hydraulic ram
    c.line([(790, 440), (860, 340)], (90, 94, 104), 7)
    c.line([(790, 440), (860, 340)], CHROME, 3.5)
    sections = [(1.0, 16), (0.72, 13), (0.46, 10.5)]
    dx, dy = tipx - base[0], tipy - base[1]
    L = math.hypot(dx, dy)
    ux, uy = dx / L, dy / L
    nx, ny = -uy, ux
    for k, (frac, half) in enumerate(sections):
        start = 0.0 if k == 0 else sections[k - 1][0] * 0.45 + 0.1 * k
        end = 0.62 + 0.19 * k if k < 2 else 1.0
        ax, ay = base[0] + dx * start, base[1] + dy * start
        bx, by = base[0] + dx * end, base[1] + dy * end
        rail = (226, 230, 238) if k % 2 == 0 else (196, 202, 214)
        for sgn in (-1, 1):
            c.line([(ax + nx * half * sgn, ay + ny * half * sgn),
                    (bx + nx * half * sgn, by + ny * half * sgn)], (70, 74, 84), 4.4)
            c.line([(ax + nx * half * sgn, ay + ny * half * sgn),
                    (bx + nx * half * sgn, by + ny * half * sgn)], rail, 2.6)
        seg = math.hypot(bx - ax, by - ay)
        for t in np.arange(6, seg - 2, 11):
            px, py = ax + ux * t, ay + uy * t
            c.line([(px + nx * half, py + ny * half), (px - nx * half, py - ny * half)],
                   (180, 186, 198), 1.8)
        # red and white warning bands on each section's end
        c.line([(bx + nx * half, by + ny * half), (bx - nx * half, by - ny * half)], RED, 3)


def firefighter(c, x, ground, h, facing=1, arm_up=False):
    coat = (230, 190, 40)
    stripe = (230, 236, 230)
    w = h * 0.3
    c.rect(x - w * 0.42, ground - h * 0.46, x - w * 0.05, ground, fill=(40, 40, 48))
    c.rect(x + w * 0.05, ground - h * 0.46, x + w * 0.42, ground, fill=(34, 34, 40))
    c.rect(x - w * 0.5, ground - h * 0.05, x - w * 0.02, ground, fill=(20, 20, 22))
    c.rect(x + w * 0.02, ground - h * 0.05, x + w * 0.5, ground, fill=(20, 20, 22))
    c.rect(x - w * 0.45, ground - h * 0.30, x + w * 0.45, ground - h * 0.27, fill=stripe)
    c.poly([(x - w * 0.55, ground - h * 0.80), (x + w * 0.55, ground - h * 0.80),
            (x + w * 0.6, ground - h * 0.40), (x - w * 0.6, ground - h * 0.40)], fill=coat)
    c.rect(x - w * 0.58, ground - h * 0.50, x + w * 0.58, ground - h * 0.46, fill=stripe)
    c.rect(x - w * 0.56, ground - h * 0.68, x + w * 0.56, ground - h * 0.64, fill=stripe)
    if arm_up:
        c.line([(x + facing * w * 0.5, ground - h * 0.76), (x + facing * w * 0.9, ground - h * 1.02)],
               coat, w * 0.3)
    else:
        c.line([(x + facing * w * 0.5, ground - h * 0.76), (x + facing * w * 0.7, ground - h * 0.48)],
               coat, w * 0.3)
    c.line([(x - facing * w * 0.5, ground - h * 0.76), (x - facing * w * 0.7, ground - h * 0.48)],
           pl.shade(coat, 0.8), w * 0.3)
    c.circle(x, ground - h * 0.88, h * 0.08, fill=(224, 180, 150))
    c.pieslice(x, ground - h * 0.9, h * 0.11, 180, 360, fill=RED)
    c.rect(x - h * 0.15, ground - h * 0.905, x + h * 0.15, ground - h * 0.88, fill=RED)


def dalmatian(c, rng, x, ground):
    white = (246, 244, 238)
    spot = (26, 26, 30)
    c.ellipse(x - 6, ground - 34, x + 22, ground - 4, fill=white)     # body, sitting
    c.rect(x + 12, ground - 20, x + 18, ground, fill=white)          # front leg
    c.rect(x + 4, ground - 14, x + 10, ground, fill=white)
    c.ellipse(x - 12, ground - 8, x + 6, ground, fill=white)          # haunch
    c.ellipse(x + 10, ground - 50, x + 30, ground - 30, fill=white)   # head
    c.ellipse(x + 24, ground - 42, x + 36, ground - 34, fill=white)   # muzzle
    c.circle(x + 35, ground - 39, 2, fill=spot)
    c.ellipse(x + 10, ground - 48, x + 17, ground - 34, fill=spot)    # ear
    c.circle(x + 24, ground - 44, 1.6, fill=spot)
    c.rect(x + 10, ground - 32, x + 24, ground - 29, fill=RED)        # collar
    for _ in range(14):
        sx = rng.uniform(x - 4, x + 20)
        sy = rng.uniform(ground - 30, ground - 6)
        c.circle(sx, sy, rng.uniform(1.2, 2.4), fill=spot)
    c.line([(x - 8, ground - 4), (x - 20, ground - 10)], white, 2.4)


def hydrant(c, x, ground):
    c.rect(x - 12, ground - 6, x + 12, ground, fill=(150, 20, 20))
    c.rect(x - 9, ground - 40, x + 9, ground - 6, fill=RED)
    c.rect(x + 2, ground - 40, x + 9, ground - 6, fill=RED_DK)
    c.pieslice(x, ground - 40, 9, 180, 360, fill=(250, 200, 40))
    c.rect(x - 2, ground - 52, x + 2, ground - 47, fill=(250, 200, 40))
    c.rect(x - 16, ground - 30, x - 9, ground - 22, fill=(250, 200, 40))
    c.rect(x + 9, ground - 30, x + 16, ground - 22, fill=(250, 200, 40))
    c.rect(x - 11, ground - 42, x + 11, ground - 39, fill=(200, 150, 30))


def cone(c, x, ground, h=30):
    c.poly([(x - h * 0.45, ground), (x - h * 0.1, ground - h), (x + h * 0.1, ground - h),
            (x + h * 0.45, ground)], fill=(250, 110, 20))
    c.poly([(x - h * 0.3, ground - h * 0.45), (x + h * 0.3, ground - h * 0.45),
            (x + h * 0.22, ground - h * 0.65), (x - h * 0.22, ground - h * 0.65)], fill=(250, 250, 250))
    c.rect(x - h * 0.55, ground - 3, x + h * 0.55, ground, fill=(200, 80, 10))


def cat(c, x, y):
    """A ginger cat sitting on a window sill, tail hanging down."""
    fur = (236, 140, 40)
    c.ellipse(x - 7, y - 16, x + 7, y, fill=fur)
    c.circle(x, y - 19, 6, fill=fur)
    c.poly([(x - 6, y - 22), (x - 4, y - 29), (x - 1, y - 24)], fill=fur)
    c.poly([(x + 6, y - 22), (x + 4, y - 29), (x + 1, y - 24)], fill=fur)
    c.circle(x - 2.2, y - 20, 0.9, fill=(30, 60, 30))
    c.circle(x + 2.2, y - 20, 0.9, fill=(30, 60, 30))
    c.line([(x + 5, y - 2), (x + 10, y + 6), (x + 8, y + 14)], fur, 2.6)
    for k in range(3):
        c.line([(x - 5, y - 12 + k * 4), (x - 1, y - 12 + k * 4)], (200, 100, 30), 1.0)


def make(path):
    rng = np.random.default_rng(4141)
    c = pl.Canvas(W, H, S)
    sc.sky(c, rng, [(0.0, (64, 112, 196)), (0.6, (130, 176, 228)), (1.0, (210, 226, 240))],
           cloud_cover=0.62, cloud_cell=110, horizon=0.42, wisps=0.5, warm_side=-0.3)
    sc.birds(c, rng, 16, (20, 20, 1000, 140), size=(3, 6))
    sc.birds(c, rng, 5, (950, 8, 1020, 40), size=(2.5, 4.5))
    # a kite and a distant airship for the patches of sky
    c.poly([(600, 40), (616, 58), (600, 86), (584, 58)], fill=(250, 200, 40))
    c.poly([(600, 40), (616, 58), (600, 58)], fill=(230, 60, 60))
    c.poly([(600, 58), (584, 58), (600, 86)], fill=(60, 120, 220))
    pts = [(600 + math.sin(t * 0.6) * 6 - t * 0.2, 86 + t * 2.0) for t in range(0, 30)]
    c.line(pts, (80, 80, 90), 0.8)
    for k in range(4):
        c.poly([(pts[6 + k * 6][0] - 4, pts[6 + k * 6][1] - 2), (pts[6 + k * 6][0], pts[6 + k * 6][1]),
                (pts[6 + k * 6][0] - 4, pts[6 + k * 6][1] + 2)], fill=(230, 60, 60))
    ax, ay = 250, 12
    c.ellipse(ax, ay, ax + 130, ay + 40, fill=(200, 204, 214))
    c.ellipse(ax, ay + 18, ax + 130, ay + 40, fill=(168, 172, 186))
    c.poly([(ax + 2, ay + 20), (ax - 12, ay + 6), (ax - 12, ay + 34)], fill=(150, 154, 170))
    c.rect(ax + 48, ay + 38, ax + 82, ay + 47, fill=(90, 94, 110))
    for k in range(4):
        c.rect(ax + 51 + k * 8, ay + 40, ax + 56 + k * 8, ay + 44, fill=(250, 230, 150))
    f = c.font("DejaVuSans-Bold.ttf", 12)
    c.text((ax + 65, ay + 21), "SWAPSTER", f, (200, 40, 50), anchor="mm")

    town(c, rng)
    pavement(c, rng)
    road(c, rng)
    # people on the pavement beyond the engine's ends
    for (x, h) in ((24, 58), (60, 54)):
        sc.person(c, rng, x, 548, h)
    sc.person(c, rng, 1006, 550, 56)
    # lamp posts and a street tree at the far ends
    sc.lamp_post(c, 140, 556, 150)
    sc.tree(c, rng, 44, 546, 210, 120)
    # hydrant with the hose running to the engine
    hydrant(c, 956, 556)
    engine(c, rng)
    hose = []
    for t in np.linspace(0, 1, 30):
        x = 970 + (884 - 970) * t
        y = 534 + 110 * t * t + 30 * math.sin(math.pi * t)
        hose.append((x + 20 * math.sin(math.pi * t), y))
    c.line(hose, (60, 60, 140), 6)
    c.line(hose, (90, 110, 200), 3)
    # a road-closed barrier behind the hydrant end
    for lx in (982, 1018):
        c.rect(lx, 600, lx + 4, 660, fill=(60, 60, 66))
        c.rect(lx - 6, 656, lx + 10, 662, fill=(60, 60, 66))
    for by in (606, 628):
        c.rect(972, by, 1030, by + 12, fill=(250, 250, 246))
        for k in range(5):
            x = 972 + k * 14
            c.poly([(x, by + 12), (x + 7, by), (x + 14, by), (x + 7, by + 12)], fill=(220, 30, 30))
    c.circle(984, 598, 4, fill=(255, 170, 30))
    # a hose laid out along the road from the pump outlet
    lay = []
    for t in np.linspace(0, 1, 120):
        if t < 0.25:
            u = t / 0.25          # down from the outlet to the road
            lay.append((452 - 40 * u, 660 + 78 * math.sin(u * math.pi / 2)))
        else:
            u = (t - 0.25) / 0.75  # then snaking off to the left edge
            lay.append((412 - 430 * u, 738 + 8 * math.sin(u * 9.0) + 6 * u))
    c.line(lay, (150, 120, 40), 7)
    c.line(lay, (236, 200, 90), 4)
    c.rect(444, 650, 462, 664, fill=CHROME_DK)
    c.rect(446, 652, 460, 656, fill=CHROME)
    firefighter(c, 940, 716, 76, facing=-1, arm_up=True)
    firefighter(c, 48, 724, 80, facing=1)
    firefighter(c, 952, 232, 34, facing=1, arm_up=True)    # on the ladder top
    cat(c, 1002, 170)
    dalmatian(c, rng, 520, 748)
    cone(c, 996, 734, 34)
    cone(c, 1012, 766, 26)
    cone(c, 138, 760, 30)
    cone(c, 360, 764, 30)
    # a bucket and a spare helmet set down in the engine's shadow
    c.poly([(322, 704), (346, 704), (342, 730), (326, 730)], fill=(200, 30, 30))
    c.rect(320, 702, 348, 706, fill=(150, 20, 20))
    c.arc(334, 706, 11, 180, 360, (60, 60, 66), 1.4)
    c.text((334, 718), "FIRE", c.font("DejaVuSans-Bold.ttf", 6), (250, 240, 220), anchor="mm")
    c.pieslice(386, 722, 13, 180, 360, fill=(240, 200, 40))
    c.ellipse(368, 718, 404, 726, fill=(200, 160, 30))
    c.rect(382, 712, 390, 716, fill=(250, 250, 240))

    out = c.final()
    out = out.filter(ImageFilter.UnsharpMask(radius=1.2, percent=40, threshold=2))
    pl.save_jpeg_bkg(out, path)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/fire_eng.bkg")

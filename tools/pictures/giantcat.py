#!/usr/bin/python3
"""Built-in puzzle picture giantcat.bkg, "Giant Cat Reflected in Lake": an
enormous friendly ginger cat sits behind the wooded hills on the far side
of a mountain lake, front paws resting on the ridge, with snowy peaks on
either side.  The still lake mirrors the cat, the hills and the sky; a
rowing boat, a sail and ducks are out on the water and a pebbly shore with
flowers runs along the bottom."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import paintkit as pk
import picturelib as pl
import scenery as sc

W, H, S = 1024, 768, 2
WATER = 440
CX = 512

GINGER = (230, 138, 58)
GINGER_LT = (248, 190, 120)
STRIPE = (168, 80, 28)
WHITE = (250, 244, 232)
PINK = (236, 150, 156)


# ------------------------------------------------------------ landscape ---

def mountains(c, rng):
    ranges = [
        ([(-40, 380), (60, 200), (130, 250), (210, 140), (300, 260), (380, 300)], (128, 146, 176), 0.0),
        ([(640, 300), (720, 200), (800, 236), (880, 120), (960, 210), (1064, 170)], (124, 140, 172), 0.0),
        ([(-40, 420), (40, 300), (150, 340), (250, 280), (360, 380)], (98, 118, 140), 0.15),
        ([(660, 380), (760, 290), (850, 330), (940, 260), (1064, 330)], (96, 116, 138), 0.15),
    ]
    for pts, col, _ in ranges:
        prof = []
        for i in range(len(pts) - 1):
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            for t in np.linspace(0, 1, 10, endpoint=False):
                prof.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t + rng.uniform(-5, 5) +
                             abs(math.sin(t * math.pi)) * 12))
        prof.append(pts[-1])
        poly = [(prof[0][0], WATER)] + prof + [(prof[-1][0], WATER)]
        # rock: a gradient with noise, lit from the left
        x0 = min(p[0] for p in poly)
        x1 = max(p[0] for p in poly)
        y0 = min(p[1] for p in poly)
        arr = pl.textured((int((x1 - x0) * S) + 2, int((WATER - y0) * S) + 2), col, rng, 0.18, 18 * S, 5, 0.02)
        pk.paste_patch(c, arr, x0, y0, [poly])
        # snow on the upper slopes, gullies and shaded faces
        for (px, py) in pts[1:-1]:
            if py < 320:
                sn = []
                depth = (330 - py) * 0.35
                for k in range(17):
                    t = (k - 8) / 8
                    drip = depth * (0.5 * rng.uniform(0.3, 1.0) if k % 2 else 0.0)
                    sn.append((px + t * depth * 1.3, py + abs(t) * depth * 0.9 + depth * 0.2 + drip *
                               (1 - abs(t) * 0.6)))
                c.poly([(px, py)] + sn[::-1][:1] + sn + [(px, py)], fill=(244, 246, 252))
                c.poly([(px, py), sn[-1], sn[6]], fill=(206, 216, 236))
            c.poly([(px, py), (px + 50, py + 120), (px + 10, py + 150)], fill=pl.shade(col, 0.82))
            for k in range(4):
                gx = px + rng.uniform(-40, 40)
                gy = py + rng.uniform(20, 60)
                c.line([(gx, gy), (gx + rng.uniform(-10, 10), gy + 40), (gx + rng.uniform(-14, 14), gy + 80)],
                       pl.shade(col, 0.85), 1.2)
    # haze at the feet of the mountains
    arr = c.array()
    y = np.arange(H * S, dtype=np.float32)[:, None] / S
    k = np.clip((y - 280) / 160, 0, 0.45) * (y < WATER)
    arr = arr * (1 - k[:, :, None]) + np.array((200, 214, 226), np.float32) * k[:, :, None]
    c.set_array(arr)


def pine(c, x, base, h, col):
    w = h * 0.32
    c.rect(x - h * 0.03, base - h * 0.15, x + h * 0.03, base, fill=(70, 50, 36))
    for k in range(4):
        t = k / 4
        y0 = base - h * (0.12 + t * 0.7)
        ww = w * (1 - t * 0.7)
        c.poly([(x - ww, y0), (x, y0 - h * 0.35), (x + ww, y0)], fill=col)
        c.poly([(x, y0 - h * 0.35), (x + ww, y0), (x, y0)], fill=pl.shade(col, 0.78))


def round_tree(c, rng, x, base, r, col):
    c.rect(x - r * 0.12, base - r, x + r * 0.12, base, fill=(84, 60, 40))
    for k in range(7):
        a = rng.uniform(0, 2 * math.pi)
        bx, by = x + math.cos(a) * r * 0.45, base - r * 1.5 + math.sin(a) * r * 0.4
        c.circle(bx, by, r * 0.6, fill=pl.shade(col, 0.8))
    for k in range(6):
        a = rng.uniform(0, 2 * math.pi)
        bx, by = x + math.cos(a) * r * 0.35 - r * 0.1, base - r * 1.6 + math.sin(a) * r * 0.35
        c.circle(bx, by, r * 0.45, fill=pl.jitter(col, rng, 0.08))
    c.circle(x - r * 0.3, base - r * 1.9, r * 0.25, fill=pl.shade(col, 1.2))


def cottage(c, x, base, w, wall=(240, 226, 200), roof=(190, 60, 50)):
    h = w * 0.6
    c.rect(x, base - h, x + w, base, fill=wall)
    c.rect(x + w * 0.7, base - h, x + w, base, fill=pl.shade(wall, 0.85))
    c.poly([(x - w * 0.1, base - h), (x + w * 0.5, base - h - w * 0.45), (x + w * 1.1, base - h)], fill=roof)
    c.poly([(x + w * 0.5, base - h - w * 0.45), (x + w * 1.1, base - h), (x + w * 0.5, base - h)],
           fill=pl.shade(roof, 0.8))
    c.rect(x + w * 0.15, base - h * 0.6, x + w * 0.35, base - h * 0.3, fill=(90, 130, 170))
    c.rect(x + w * 0.5, base - h * 0.55, x + w * 0.66, base, fill=(110, 70, 40))
    c.rect(x + w * 0.75, base - h - w * 0.4, x + w * 0.86, base - h - w * 0.15, fill=(140, 90, 70))


def hills(c, rng):
    """The far shore: meadows and woods on rolling hills, a village."""
    layers = [(398, 30, (92, 140, 70), 0.013), (414, 22, (76, 128, 60), 0.021),
              (428, 14, (64, 116, 54), 0.033)]
    for li, (yb, amp, col, fr) in enumerate(layers):
        ph = rng.uniform(0, 6)
        top = [(x, yb - amp * (0.5 + 0.5 * math.sin(x * fr + ph)) - 6 * math.sin(x * fr * 2.7 + ph * 2))
               for x in range(-8, W + 16, 8)]
        poly = [(-8, WATER + 2)] + top + [(W + 16, WATER + 2)]
        arr = pl.textured((W * S, int(100 * S)), col, rng, 0.16, 10 * S, 4, 0.03)
        pk.paste_patch(c, arr, 0, WATER - 98, [poly])
        # hedgerows and fields
        for _ in range(40):
            i = int(rng.integers(0, len(top) - 1))
            x, y = top[i]
            yy = y + rng.uniform(3, WATER - y)
            c.line([(x - rng.uniform(10, 40), yy), (x + rng.uniform(10, 40), yy + rng.uniform(-3, 3))],
                   pl.shade(col, 0.78), 1.4)
        # woods along the crest
        for k in range(150):
            i = int(rng.integers(0, len(top)))
            x, y = top[i]
            x += rng.uniform(-4, 4)
            h = rng.uniform(12, 24) * (1 + li * 0.3)
            if rng.random() < 0.6:
                pine(c, x, y + rng.uniform(2, 12), h, pl.jitter((40, 86, 52), rng, 0.12))
            else:
                round_tree(c, rng, x, y + rng.uniform(2, 12), h * 0.4, pl.jitter((70, 130, 56), rng, 0.12))
        if li == 1:
            # a village by the shore on the left, a chapel and a mill on the right
            for (x, w, roof) in ((150, 24, (190, 60, 50)), (182, 20, (90, 90, 110)), (210, 26, (200, 110, 50)),
                                 (246, 18, (190, 60, 50)), (120, 16, (90, 90, 110))):
                cottage(c, x, WATER - 4, w, roof=roof)
            cx = 860
            c.rect(cx, WATER - 30, cx + 30, WATER - 2, fill=(236, 230, 214))
            c.poly([(cx - 3, WATER - 30), (cx + 15, WATER - 44), (cx + 33, WATER - 30)], fill=(110, 80, 70))
            c.rect(cx + 30, WATER - 56, cx + 42, WATER - 2, fill=(226, 220, 204))
            c.poly([(cx + 28, WATER - 56), (cx + 36, WATER - 76), (cx + 44, WATER - 56)], fill=(90, 70, 70))
            c.rect(cx + 34, WATER - 50, cx + 38, WATER - 44, fill=(60, 50, 50))
    # the shoreline: a pale strip of shingle and a little pier
    for x in range(0, W, 3):
        c.rect(x, WATER - 2, x + 3, WATER + 1, fill=pl.jitter((176, 166, 140), rng, 0.08))
    c.rect(262, WATER - 4, 300, WATER, fill=(120, 90, 60))
    for k in range(4):
        c.rect(266 + k * 10, WATER - 4, 268 + k * 10, WATER + 6, fill=(80, 60, 40))


# ------------------------------------------------------------- the cat ---

def shade_layer(L, rng, blur=22, light=(-0.6, -0.8), strength=0.32):
    """Give a flat-coloured layer roundness: darker towards its edges,
    lighter towards the upper left, with a fine fur grain."""
    a = np.asarray(L.img, np.float32).copy()
    al = L.img.split()[3].filter(ImageFilter.GaussianBlur(blur * S))
    v = np.asarray(al, np.float32) / 255.0
    h, w = v.shape
    yy = np.linspace(-1, 1, h, dtype=np.float32)[:, None]
    xx = np.linspace(-1, 1, w, dtype=np.float32)[None, :]
    lit = 1.0 + 0.08 * (-(xx * light[0] + yy * light[1]))
    fur = pl.fbm(w, h, 3 * S, rng, 2)
    f = (1 - strength) + strength * v
    a[:, :, :3] *= (f * lit * (0.93 + 0.14 * fur))[:, :, None]
    L.img = Image.fromarray(pl.clamp8(a), "RGBA")
    L.draw = ImageDraw.Draw(L.img)


def fur_strokes(L, rng, n, centre, box, length=(4, 9), down=0.0):
    """Short strokes of slightly lighter and darker fur, pointing away from
    centre (or downwards with down=1), each in the colour under it."""
    a = np.asarray(L.img)
    x0, y0, x1, y1 = box
    cx, cy = centre
    for _ in range(n):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        px, py = int(x * S), int(y * S)
        if px < 0 or py < 0 or px >= a.shape[1] or py >= a.shape[0] or a[py, px, 3] < 250:
            continue
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy) + 1e-3
        ux, uy = dx / d * (1 - down), dy / d * (1 - down) + down
        n2 = math.hypot(ux, uy) + 1e-3
        ux, uy = ux / n2, uy / n2
        ln = rng.uniform(*length)
        base = tuple(int(v) for v in a[py, px, :3])
        col = pl.shade(base, rng.choice([0.84, 0.9, 1.1, 1.16]))
        ex, ey = x + ux * ln, y + uy * ln
        ex2, ey2 = int(ex * S), int(ey * S)
        if 0 <= ex2 < a.shape[1] and 0 <= ey2 < a.shape[0] and a[ey2, ex2, 3] > 250:
            L.line([(x, y), (ex, ey)], col, rng.uniform(0.7, 1.3))


def tabby_stripe(L, pts, width, col=STRIPE):
    L.line(pts, col, width)
    L.line(pts[len(pts) // 3: -len(pts) // 3 or None], col, width * 1.4)


def draw_cat(c, rng):
    """Returns the finished cat as a layer (body, tail, head)."""
    # ----- body, sitting, seen from the front
    B = pk.layer(c)
    body = pk.bezier((CX - 110, 250), (CX - 260, 300), (CX - 290, 440), (CX - 250, 470), 30) + \
        [(CX + 250, 470)] + pk.bezier((CX + 250, 470), (CX + 290, 440), (CX + 260, 300), (CX + 110, 250), 30)
    B.poly(body, fill=GINGER)
    # haunches
    for s in (-1, 1):
        B.ellipse(CX + s * 190 - 100, 330, CX + s * 190 + 100, 480, fill=GINGER)
    # stripes round the flanks
    for k in range(6):
        y = 300 + k * 28
        for s in (-1, 1):
            xo = CX + s * (150 + k * 12)
            tabby_stripe(B, pk.bezier((xo + s * 60, y - 10), (xo + s * 20, y + 4), (xo - s * 20, y + 18), n=10), 7)
    for s in (-1, 1):
        for k in range(4):
            r = 70 - k * 16
            B.arc(CX + s * 200, 420, r, 200 if s < 0 else 250, 290 if s < 0 else 340, STRIPE, 6)
    # white chest bib
    bib = pk.bezier((CX - 70, 250), (CX - 120, 330), (CX - 60, 420), (CX, 440), 20) + \
        pk.bezier((CX, 440), (CX + 60, 420), (CX + 120, 330), (CX + 70, 250), 20)
    B.poly(bib, fill=WHITE)
    # front legs
    for s in (-1, 1):
        lx = CX + s * 62
        B.poly([(lx - 38, 300), (lx + 38, 300), (lx + 40, 400), (lx - 40, 400)], fill=GINGER)
        for k in range(3):
            y = 330 + k * 22
            B.line([(lx - 38, y), (lx - 10, y + 4), (lx + 12, y + 2)] if s < 0 else
                   [(lx + 38, y), (lx + 10, y + 4), (lx - 12, y + 2)], STRIPE, 6)
    B.poly(bib[8:32], fill=WHITE)
    shade_layer(B, rng, 30, strength=0.36)
    fur_strokes(B, rng, 5000, (CX, 200), (CX - 300, 240, CX + 300, 480), (5, 10), down=0.6)

    # ----- tail curling round to the right, over the hills
    T = pk.layer(c)
    tail = pk.bezier((CX + 236, 404), (CX + 370, 430), (CX + 420, 350), (CX + 352, 292), 30)
    for k, (x, y) in enumerate(tail):
        r = 26 - k * 0.3
        T.circle(x, y, r, fill=GINGER)
    for k in range(2, len(tail) - 1, 4):
        x, y = tail[k]
        T.circle(x, y, 24 - k * 0.3, fill=STRIPE)
        if k + 1 < len(tail):
            x2, y2 = tail[k + 1]
            T.circle(x2, y2, 24 - k * 0.3, fill=GINGER)
    tx, ty = tail[-1]
    T.circle(tx, ty, 17, fill=STRIPE)
    shade_layer(T, rng, 10)

    # ----- the head
    Hd = pk.layer(c)
    hy = 180
    # ears, with pink insides and tufts
    for s in (-1, 1):
        ex = CX + s * 110
        Hd.poly([(ex - s * 70, hy - 60), (ex + s * 30, hy - 150), (ex + s * 50, hy - 20)], fill=GINGER)
        Hd.poly([(ex - s * 44, hy - 66), (ex + s * 22, hy - 128), (ex + s * 32, hy - 40)], fill=PINK)
        for k in range(6):
            Hd.line([(ex - s * (10 - k * 6), hy - 60 - k * 4), (ex + s * (4 + k * 3), hy - 100 - k * 4)],
                    (250, 236, 226), 1.4)
    # the head itself: wide, with fluffy cheeks
    head = []
    for k in range(60):
        t = k / 60 * 2 * math.pi
        rx, ry = 170, 122
        fl = 1.0 + 0.07 * max(0, math.sin(t)) * (abs(math.cos(t)) > 0.5)
        x = CX + math.cos(t) * rx * fl
        y = hy + math.sin(t) * ry * (1.05 if math.sin(t) > 0 else 1.0)
        head.append((x, y))
    Hd.poly(head, fill=GINGER)
    for s in (-1, 1):
        for k in range(6):
            a = 0.15 + k * 0.12
            px = CX + s * 160 * math.cos(a)
            py = hy + 110 * math.sin(a) + 10
            Hd.poly([(px, py - 12), (px + s * 22, py + 4), (px, py + 10)], fill=GINGER)
    # forehead M and cheek stripes
    for k, dx in enumerate((-34, -12, 12, 34)):
        Hd.line(pk.bezier((CX + dx, hy - 112), (CX + dx * 1.2, hy - 90), (CX + dx * 0.7, hy - 66), n=10),
                STRIPE, 8 if k in (1, 2) else 6)
    for s in (-1, 1):
        for k in range(3):
            y = hy + 16 + k * 22
            Hd.line(pk.bezier((CX + s * 172, y - 4), (CX + s * 140, y + 4), (CX + s * 110, y + 2 + k * 3), n=10),
                    STRIPE, 7)
        Hd.line(pk.bezier((CX + s * 60, hy - 30), (CX + s * 100, hy - 40), (CX + s * 150, hy - 20), n=10),
                STRIPE, 5)
    # white muzzle and chin
    for s in (-1, 1):
        Hd.ellipse(CX + s * 36 - 46, hy + 20, CX + s * 36 + 46, hy + 92, fill=WHITE)
    Hd.ellipse(CX - 34, hy + 62, CX + 34, hy + 112, fill=WHITE)
    Hd.poly([(CX - 30, hy - 20), (CX + 30, hy - 20), (CX + 44, hy + 40), (CX - 44, hy + 40)], fill=GINGER_LT)
    shade_layer(Hd, rng, 26, strength=0.3)
    fur_strokes(Hd, rng, 5000, (CX, hy + 30), (CX - 230, hy - 160, CX + 230, hy + 130), (4, 9))
    # eyes: big, green, looking at the viewer, each with two highlights
    for s in (-1, 1):
        ex, ey = CX + s * 62, hy - 2
        Hd.ellipse(ex - 40, ey - 32, ex + 40, ey + 32, fill=(60, 40, 26))
        eye = pk.sprite(76, 60, S)[0]
        ea = np.zeros((eye.size[1], eye.size[0], 4), np.float32)
        yy, xx = np.mgrid[0:eye.size[1], 0:eye.size[0]].astype(np.float32)
        dx, dy = (xx - eye.size[0] / 2) / (38 * S), (yy - eye.size[1] / 2) / (30 * S)
        d = np.sqrt(dx * dx + dy * dy)
        ang = np.arctan2(dy, dx)
        iris = np.array((150, 196, 70), np.float32) * (1.15 - 0.5 * d)[:, :, None]
        iris += ((0.5 + 0.5 * np.sin(ang * 26)) * 30 * d)[:, :, None] * np.array([0.4, 0.6, 0.1], np.float32)
        iris *= (1 - 0.45 * np.clip((d - 0.8) * 5, 0, 1))[:, :, None]
        ea[:, :, :3] = iris
        ea[:, :, 3] = np.clip((1 - d) * 40, 0, 1) * 255
        eye = Image.fromarray(pl.clamp8(ea), "RGBA")
        Hd.img.paste(eye, (int((ex - 38) * S), int((ey - 30) * S)), eye)
        Hd.draw = ImageDraw.Draw(Hd.img)
        Hd.ellipse(ex - 17, ey - 24, ex + 17, ey + 24, fill=(16, 14, 18))
        Hd.ellipse(ex - 16, ey - 20, ex - 2, ey - 6, fill=(255, 255, 255))
        Hd.circle(ex + 9, ey + 10, 4, fill=(240, 244, 250))
        # the upper lid line
        Hd.arc(ex, ey + 4, 40, 200, 340, (70, 40, 24), 3)
    # nose, mouth and a smile
    Hd.poly([(CX - 18, hy + 34), (CX + 18, hy + 34), (CX, hy + 54)], fill=(224, 120, 130))
    Hd.poly([(CX - 12, hy + 36), (CX - 2, hy + 36), (CX - 6, hy + 42)], fill=(250, 190, 196))
    Hd.line([(CX, hy + 54), (CX, hy + 66)], (90, 50, 40), 2.4)
    Hd.arc(CX - 16, hy + 64, 16, 10, 150, (90, 50, 40), 2.4)
    Hd.arc(CX + 16, hy + 64, 16, 30, 170, (90, 50, 40), 2.4)
    Hd.pieslice(CX, hy + 80, 9, 0, 180, fill=(210, 90, 100))
    for s in (-1, 1):
        Hd.circle(CX + s * 86, hy + 54, 14, fill=(244, 170, 150))
        for k in range(3):
            Hd.circle(CX + s * (28 + k * 12), hy + 58 + (k % 2) * 8, 2, fill=(150, 100, 80))
    return B, T, Hd


def whiskers(c):
    hy = 180
    for s in (-1, 1):
        for k in range(4):
            pts = pk.bezier((CX + s * 46, hy + 60 + k * 7), (CX + s * 140, hy + 40 + k * 14),
                            (CX + s * (230 + k * 10), hy + 40 + k * 26), n=16)
            c.line(pts, (252, 250, 246), 1.6)


def paws(L, rng):
    """The front paws, resting on the ridge."""
    for s in (-1, 1):
        px = CX + s * 64
        L.ellipse(px - 46, 376, px + 46, 420, fill=WHITE)
        for k in (-1, 0, 1):
            L.line([(px + k * 16, 394), (px + k * 18, 418)], (170, 150, 140), 2.2)
        L.ellipse(px - 46, 372, px + 46, 394, fill=pl.shade(WHITE, 1.0))
        for k in (-1, 0, 1):
            L.line([(px + k * 16, 380), (px + k * 16.5, 393)], (200, 186, 176), 1.6)
    shade_layer(L, rng, 8, strength=0.25)


def balloon(c, x, y, r, cols):
    """A hot-air balloon in gores of colour, with its basket."""
    n = 8
    for k in range(n):
        a0 = -math.pi / 2 + (k - n / 2) * math.pi / n
        a1 = a0 + math.pi / n
        pts = [(x, y - r)]
        for t in np.linspace(0, 1, 10):
            u = math.sin(t * math.pi)
            yy = y - r * math.cos(t * math.pi) * 1.05
            pts.append((x + r * u * math.sin(a0 + math.pi / 2) * 1.0, yy))
        for t in np.linspace(1, 0, 10):
            u = math.sin(t * math.pi)
            yy = y - r * math.cos(t * math.pi) * 1.05
            pts.append((x + r * u * math.sin(a1 + math.pi / 2) * 1.0, yy))
        c.poly(pts, fill=cols[k % len(cols)])
    c.poly([(x - r * 0.45, y + r * 0.9), (x + r * 0.45, y + r * 0.9), (x + r * 0.2, y + r * 1.25),
            (x - r * 0.2, y + r * 1.25)], fill=pl.shade(cols[0], 0.8))
    for s in (-1, 1):
        c.line([(x + s * r * 0.2, y + r * 1.25), (x + s * r * 0.15, y + r * 1.5)], (70, 60, 50), 0.7)
    c.rect(x - r * 0.18, y + r * 1.5, x + r * 0.18, y + r * 1.75, fill=(140, 96, 50))
    c.arc(x - r * 0.3, y - r * 0.2, r * 0.6, 200, 260, (255, 255, 255), 1.2)


# -------------------------------------------------------- on the lake ---

def rowing_boat(c, x, y, k=1.0):
    c.poly([(x - 50 * k, y - 8 * k), (x + 50 * k, y - 10 * k), (x + 38 * k, y + 6 * k), (x - 40 * k, y + 6 * k)],
           fill=(170, 60, 40))
    c.poly([(x - 50 * k, y - 8 * k), (x + 50 * k, y - 10 * k), (x + 46 * k, y - 5 * k), (x - 47 * k, y - 3 * k)],
           fill=(240, 230, 210))
    c.line([(x - 36 * k, y + 2 * k), (x + 36 * k, y + 1 * k)], (130, 40, 30), 1.4)
    # the rower: a small figure in a yellow coat, hat on
    c.rect(x - 6 * k, y - 30 * k, x + 6 * k, y - 8 * k, fill=(240, 190, 40))
    c.circle(x, y - 36 * k, 6 * k, fill=(240, 200, 170))
    c.ellipse(x - 10 * k, y - 44 * k, x + 10 * k, y - 38 * k, fill=(90, 60, 40))
    c.rect(x - 6 * k, y - 48 * k, x + 6 * k, y - 40 * k, fill=(90, 60, 40))
    c.line([(x - 44 * k, y + 12 * k), (x + 4 * k, y - 20 * k), (x + 50 * k, y + 10 * k)], (120, 90, 50), 2 * k)
    # its reflection and the ripples it makes
    c.poly([(x - 40 * k, y + 7 * k), (x + 38 * k, y + 7 * k), (x + 46 * k, y + 20 * k), (x - 46 * k, y + 18 * k)],
           fill=(110, 60, 50))
    for r in (60, 80, 100):
        c.ellipse(x - r * k, y + 2 * k, x + r * k, y + r * 0.16 * k + 6 * k, outline=(190, 206, 220), width=1)


def sailboat(c, x, y):
    c.poly([(x - 16, y), (x + 18, y), (x + 12, y + 5), (x - 12, y + 5)], fill=(250, 250, 246))
    c.poly([(x + 1, y - 42), (x + 1, y - 2), (x + 22, y - 4)], fill=(250, 250, 240))
    c.poly([(x - 1, y - 34), (x - 1, y - 2), (x - 16, y - 4)], fill=(240, 100, 80))
    c.line([(x, y - 44), (x, y)], (80, 70, 60), 1.2)
    c.poly([(x + 1, y + 6), (x + 1, y + 30), (x + 18, y + 8)], fill=(200, 206, 210))
    c.poly([(x - 1, y + 6), (x - 1, y + 22), (x - 14, y + 8)], fill=(200, 130, 120))


def duck(c, x, y, s=1.0, drake=True):
    body = (120, 100, 80) if not drake else (200, 196, 186)
    c.ellipse(x - 14 * s, y - 7 * s, x + 12 * s, y + 4 * s, fill=body)
    c.poly([(x + 8 * s, y - 5 * s), (x + 18 * s, y - 9 * s), (x + 12 * s, y)], fill=pl.shade(body, 0.8))
    c.circle(x - 12 * s, y - 12 * s, 5.5 * s, fill=(40, 120, 70) if drake else (130, 104, 80))
    c.rect(x - 13 * s, y - 8 * s, x - 9 * s, y - 4 * s, fill=(250, 250, 250) if drake else body)
    c.poly([(x - 17 * s, y - 13 * s), (x - 24 * s, y - 11 * s), (x - 17 * s, y - 10 * s)], fill=(236, 180, 40))
    c.circle(x - 13 * s, y - 13.5 * s, 1 * s, fill=(10, 10, 10))
    c.ellipse(x - 20 * s, y + 2 * s, x + 18 * s, y + 8 * s, outline=(190, 206, 220), width=1)


def shore(c, rng):
    """Pebbles, grass and flowers along the near shore."""
    top = [(x, 716 + 14 * math.sin(x / 90.0) + 6 * math.sin(x / 23.0)) for x in range(-8, W + 16, 8)]
    poly = top + [(W + 16, H + 2), (-8, H + 2)]
    arr = pl.textured((W * S, int(70 * S)), (150, 136, 110), rng, 0.25, 6 * S, 4, 0.05)
    pk.paste_patch(c, arr, 0, H - 68, [poly])
    for _ in range(260):
        x = rng.uniform(-10, W + 10)
        base = 716 + 14 * math.sin(x / 90.0) + 6 * math.sin(x / 23.0)
        y = rng.uniform(base + 2, H + 4)
        r = rng.uniform(3, 11) * (0.6 + 0.6 * (y - base) / 60)
        col = pl.jitter([(160, 150, 140), (190, 180, 164), (120, 116, 110), (176, 140, 110)][int(rng.integers(4))],
                        rng, 0.1)
        c.ellipse(x - r, y - r * 0.6, x + r, y + r * 0.6, fill=pl.shade(col, 0.65))
        c.ellipse(x - r * 0.95, y - r * 0.65, x + r * 0.85, y + r * 0.45, fill=col)
        c.ellipse(x - r * 0.6, y - r * 0.5, x, y - r * 0.1, fill=pl.shade(col, 1.18))
    # wet edge
    c.line(top, (90, 96, 96), 2.5)
    c.line([(x, y + 3) for (x, y) in top], (120, 120, 110), 1)
    for _ in range(180):
        x = rng.uniform(-10, W + 10)
        base = 716 + 14 * math.sin(x / 90.0) + 6 * math.sin(x / 23.0)
        y = rng.uniform(base + 10, H + 4)
        g = pl.jitter((86, 140, 60), rng, 0.18)
        for j in range(4):
            c.line([(x, y), (x + rng.uniform(-8, 8), y - rng.uniform(10, 26))], g, 1.4)
        if rng.random() < 0.35:
            fc = [(250, 240, 80), (250, 250, 250), (230, 90, 140), (150, 110, 230)][int(rng.integers(4))]
            fx, fy = x + rng.uniform(-4, 4), y - rng.uniform(14, 26)
            for k in range(5):
                a = k * 2 * math.pi / 5
                c.circle(fx + math.cos(a) * 3, fy + math.sin(a) * 3, 2.4, fill=fc)
            c.circle(fx, fy, 1.6, fill=(240, 180, 40))


# ------------------------------------------------------------- layout ---

def make(path):
    rng = np.random.default_rng(8080)
    c = pl.Canvas(W, H, S)
    sc.sky(c, rng, [(0.0, (70, 122, 200)), (0.55, (130, 178, 228)), (1.0, (214, 228, 240))],
           cloud_cover=0.55, cloud_cell=120, horizon=WATER / H, wisps=0.5, warm_side=0.25,
           sun=(880, 70, 20))
    sc.birds(c, rng, 12, (60, 40, 420, 200), size=(3, 6))
    sc.birds(c, rng, 6, (700, 160, 980, 260), size=(3, 5))
    balloon(c, 150, 84, 24, [(230, 60, 50), (250, 210, 60), (60, 120, 220), (250, 250, 240)])
    balloon(c, 946, 136, 12, [(60, 170, 90), (250, 140, 40)])
    balloon(c, 262, 200, 9, [(160, 70, 180), (250, 230, 100), (240, 100, 150)])
    mountains(c, rng)
    B, T, Hd = draw_cat(c, rng)
    # the cat's shadow side falls a little into the mountains' haze
    pk.compose(c, B)
    hills(c, rng)
    pk.compose(c, T)
    P = pk.layer(c)
    paws(P, rng)
    pk.compose(c, P)
    pk.compose(c, Hd)
    whiskers(c)
    # the lake: everything above is mirrored in it
    pk.reflect(c, WATER, ripple=2.4, rng=rng, tint=(40, 80, 110), tint_amount=0.22, darkness=0.86,
               streaks=0.14, wave_len=5)
    arr = c.array()
    yy = np.arange(H * S, dtype=np.float32)[:, None] / S
    xx = np.arange(W * S, dtype=np.float32)[None, :] / S
    # a breeze darkens the water in bands and the far water shines
    n = pl.fbm(W * S, H * S, 50 * S, rng, 3)
    n = np.asarray(Image.fromarray(n, "F").resize((W * S, H * S // 6)).resize((W * S, H * S)), np.float32)
    wet = (yy > WATER)
    arr *= (1 - wet * 0.14 * np.clip((n - 0.5) * 3, 0, 1))[:, :, None]
    shine = wet * np.exp(-(yy - WATER) / 14.0) * 0.35
    arr = arr * (1 - shine[:, :, None]) + shine[:, :, None] * np.array((230, 236, 244), np.float32)
    glint = wet * np.exp(-((xx - 880) / 60) ** 2) * (0.5 + 0.5 * np.sin(yy * 1.7)) * np.exp(-(yy - WATER) / 200)
    arr += (glint * 50)[:, :, None]
    c.set_array(arr)
    for _ in range(60):
        x, y = rng.uniform(0, W), rng.uniform(WATER + 6, 716)
        ln = rng.uniform(10, 60) * (0.4 + (y - WATER) / 280)
        c.line([(x, y), (x + ln, y)], (206, 220, 234), 0.8)
    sailboat(c, 830, 470)
    rowing_boat(c, 250, 620, 1.2)
    for (x, y, s, m) in ((690, 560, 1.0, True), (720, 570, 0.9, False), (748, 562, 0.8, False),
                         (90, 520, 0.7, True)):
        duck(c, x, y, s, m)
    shore(c, rng)
    pk.vignette(c, 0.25, 2.4)
    return pk.finish(c, path, 35)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/giantcat.bkg")

#!/usr/bin/python3
"""Built-in puzzle picture orbquest.bkg, "The Orbquest Game Screen": one
screen of a side-scrolling fantasy game.  A knight stands on floating
platforms of grass and stone under a sunset sky with a castle on the far
hills; glowing orbs, gems, a treasure chest, a slime and a bat are about.
A status bar along the top shows the score, hearts, the orbs found so far
and a little map; an item bar runs along the bottom."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw

import paintkit as pk
import picturelib as pl

W, H, S = 1024, 768, 2
T = 32                      # tile size
HUD_H = 58
BAR_Y = 728
GROUND = 664
INK = (26, 18, 36)          # outline colour

ORB_COLS = [(255, 70, 70), (70, 150, 255), (80, 230, 110), (255, 210, 60), (200, 90, 255),
            (60, 230, 230), (255, 140, 40)]


def outlined_poly(c, pts, fill, width=2.0):
    c.poly(pts, fill=fill)
    c.line(list(pts) + [pts[0]], INK, width)


# ------------------------------------------------------------ the sky ---

def sky(c, rng):
    Wc, Hc = W * S, H * S
    stops = [(0.0, (40, 30, 96)), (0.25, (96, 56, 150)), (0.5, (210, 96, 140)),
             (0.68, (250, 160, 110)), (0.8, (255, 214, 140)), (1.0, (255, 230, 170))]
    arr = pl.vertical_gradient(Wc, Hc, stops)
    # retro banding: the gradient is stepped in soft bands
    y = np.arange(Hc, dtype=np.float32)[:, None] / S
    band = (np.floor(y / 22.0) * 22.0) / H
    stepped = pl.vertical_gradient(1, Hc, stops)[:, 0, :]
    idx = np.clip((band[:, 0] * (Hc - 1)).astype(np.int32), 0, Hc - 1)
    arr = arr * 0.5 + stepped[idx][:, None, :] * 0.5
    n = pl.fbm(Wc, Hc, 120 * S, rng, 4)
    arr *= (0.92 + 0.16 * n)[:, :, None]
    c.set_array(arr)
    # stars, fading out towards the glow of the sunset
    for _ in range(520):
        x, yy = rng.uniform(0, W), rng.uniform(HUD_H, 360)
        a = max(0.0, 1 - (yy - HUD_H) / 300)
        if rng.random() > a:
            continue
        r = rng.uniform(0.6, 1.6)
        col = pl.mix((255, 250, 220), (255, 200, 240), rng.uniform(0, 1))
        c.circle(x, yy, r, fill=col)
        if r > 1.3:
            c.line([(x - r * 3, yy), (x + r * 3, yy)], col, 0.6)
            c.line([(x, yy - r * 3), (x, yy + r * 3)], col, 0.6)
    # long thin streaks of cloud lit by the sunset
    for k in range(9):
        y0 = rng.uniform(80, 300)
        x0 = rng.uniform(-100, W)
        ln = rng.uniform(120, 320)
        col = pl.mix((200, 130, 200), (255, 190, 170), (y0 - 80) / 220)
        c.line([(x0, y0), (x0 + ln * 0.5, y0 - 3), (x0 + ln, y0 + 1)], col, rng.uniform(1.5, 3))
        c.line([(x0 + 20, y0 + 5), (x0 + ln * 0.6, y0 + 3)], pl.shade(col, 0.92), 1.2)
    # a ringed moon
    mx, my = 150, 150
    pk.glow(c, mx, my, 60, (120, 90, 140), 0.8)
    c.circle(mx, my, 38, fill=(250, 232, 210))
    for (dx, dy, r) in ((-12, -8, 8), (10, 6, 6), (-4, 16, 5), (16, -14, 4), (-20, 10, 3)):
        c.circle(mx + dx, my + dy, r, fill=(226, 200, 190))
        c.arc(mx + dx, my + dy, r, 200, 20, (200, 170, 170), 1)
    c.arc(mx + 6, my - 4, 36, 300, 60, (255, 250, 236), 2)


def cloud(c, x, y, w, col=(255, 226, 236), shade=(226, 160, 196)):
    """A fat cartoon cloud with an ink edge."""
    blobs = [(-0.38, 0.1, 0.22), (-0.15, -0.12, 0.28), (0.12, -0.2, 0.3), (0.35, 0.0, 0.24),
             (0.0, 0.12, 0.26)]
    for bx, by, br in blobs:
        c.circle(x + bx * w, y + by * w, br * w + 2, fill=INK)
    c.rect(x - 0.45 * w, y + 0.05 * w, x + 0.5 * w, y + 0.2 * w + 2, fill=INK)
    for bx, by, br in blobs:
        c.circle(x + bx * w, y + by * w, br * w, fill=shade)
    c.rect(x - 0.43 * w, y + 0.06 * w, x + 0.48 * w, y + 0.2 * w, fill=shade)
    for bx, by, br in blobs:
        c.circle(x + bx * w - br * w * 0.12, y + by * w - br * w * 0.15, br * w * 0.82, fill=col)
    for bx, by, br in blobs[:3]:
        c.circle(x + bx * w - br * w * 0.35, y + by * w - br * w * 0.4, br * w * 0.25,
                 fill=(255, 250, 252))


def mountains(c, rng):
    for layer, (base, col, snow, amp) in enumerate([
            (350, (120, 76, 150), (236, 210, 240), 150),
            (420, (92, 60, 126), (214, 186, 226), 110)]):
        pts = [(0, GROUND)]
        x = -20
        peaks = []
        while x < W + 40:
            h = rng.uniform(0.4, 1.0) * amp
            peaks.append((x, base - h))
            x += rng.uniform(70, 140)
        prof = []
        for i in range(len(peaks) - 1):
            (x0, y0), (x1, y1) = peaks[i], peaks[i + 1]
            mx = (x0 + x1) / 2
            my = max(y0, y1) + rng.uniform(20, 60)
            prof += [(x0, y0), (mx, my)]
        prof.append(peaks[-1])
        c.poly([(prof[0][0], GROUND)] + prof + [(prof[-1][0], GROUND)], fill=col)
        # rock strata and gullies down the faces
        for (px, py) in peaks:
            for k in range(int(rng.integers(3, 6))):
                sx = px + rng.uniform(-50, 50)
                sy = py + rng.uniform(20, 120)
                pts = [(sx, sy)]
                for j in range(5):
                    pts.append((pts[-1][0] + rng.uniform(-10, 10), pts[-1][1] + rng.uniform(8, 22)))
                c.line(pts, pl.shade(col, 0.85), 1.5)
            for k in range(3):
                yy = py + 40 + k * 30
                c.line([(px - 30 - k * 12, yy + 10), (px - 10, yy), (px + 14, yy + 6), (px + 30 + k * 12, yy - 2)],
                       pl.shade(col, 1.08), 1.2)
        c.line(prof, pl.shade(col, 0.7), 1.5)
        for (px, py) in peaks:
            if py < base - amp * 0.55:
                sh = (base - py) * 0.22
                c.poly([(px, py), (px + sh * 0.8, py + sh), (px + sh * 0.3, py + sh * 0.8),
                        (px, py + sh * 1.1), (px - sh * 0.4, py + sh * 0.75), (px - sh * 0.8, py + sh)],
                       fill=snow)
            # a lit flank facing the sunset
            c.poly([(px, py), (px + 40, py + 80), (px + 14, py + 90)], fill=pl.shade(col, 1.15))
        # haze over the far layer
        if layer == 0:
            arr = c.array()
            yy = np.arange(H * S, dtype=np.float32)[:, None] / S
            k = np.clip((yy - 260) / 200, 0, 0.35)[:, :, None]
            arr = arr * (1 - k) + np.array((250, 170, 150), np.float32) * k
            c.set_array(arr)


def castle(c, rng, x0, base):
    stone, dark, roof = (176, 150, 190), (120, 98, 140), (60, 48, 120)
    # the hill it stands on
    c.poly([(x0 - 120, GROUND), (x0 - 30, base + 6), (x0 + 240, base + 2), (x0 + 330, GROUND)],
           fill=(86, 120, 110))
    towers = [(x0, 70, 26), (x0 + 48, 110, 30), (x0 + 100, 150, 36), (x0 + 160, 96, 28),
              (x0 + 204, 66, 24)]
    c.rect(x0, base - 50, x0 + 222, base, fill=stone)
    for k in range(int(222 / 10)):
        c.rect(x0 + k * 10, base - 56, x0 + k * 10 + 6, base - 50, fill=stone)
    for (tx, th, tw) in towers:
        c.rect(tx, base - th, tx + tw, base, fill=stone)
        c.rect(tx + tw * 0.65, base - th, tx + tw, base, fill=dark)
        c.poly([(tx - 4, base - th), (tx + tw / 2, base - th - tw * 1.3), (tx + tw + 4, base - th)],
               fill=roof)
        c.poly([(tx + tw / 2, base - th - tw * 1.3), (tx + tw + 4, base - th), (tx + tw / 2, base - th)],
               fill=pl.shade(roof, 0.7))
        fx, fy = tx + tw / 2, base - th - tw * 1.3
        c.line([(fx, fy), (fx, fy - 16)], INK, 1)
        c.poly([(fx, fy - 16), (fx + 12, fy - 12), (fx, fy - 8)], fill=(250, 80, 80))
        for wy in range(int(base - th + 12), int(base - 14), 22):
            lit = rng.random() < 0.7
            c.rect(tx + tw / 2 - 3, wy, tx + tw / 2 + 3, wy + 9,
                   fill=(255, 220, 120) if lit else (50, 40, 70))
    c.pieslice(x0 + 111, base, 14, 180, 360, fill=(50, 36, 60))
    c.rect(x0 + 97, base - 1, x0 + 125, base, fill=(50, 36, 60))
    for k in range(0, 222, 14):
        for j in range(0, 50, 8):
            c.line([(x0 + k + (j % 16) * 0.5, base - 50 + j), (x0 + k + 8 + (j % 16) * 0.5, base - 50 + j)],
                   dark, 0.6)


def hills(c, rng):
    """Near hills with round trees and a waterfall down a cliff."""
    for layer, (yb, col, amp, freq) in enumerate([(540, (70, 150, 100), 40, 0.011),
                                                  (600, (60, 170, 90), 30, 0.017)]):
        top = []
        ph = rng.uniform(0, 6)
        for x in range(0, W + 9, 8):
            yy = yb - amp * (0.5 + 0.5 * math.sin(x * freq + ph)) - 10 * math.sin(x * freq * 3.1 + ph)
            top.append((x, yy))
        c.poly([(0, GROUND)] + top + [(W, GROUND)], fill=col)
        c.line(top, pl.shade(col, 0.6), 2)
        # stripes of lighter grass following the slope
        for k in range(1, 4):
            c.line([(x, y + k * 14) for (x, y) in top], pl.shade(col, 1.0 + 0.06 * k), 3)
        # hedgerows, dots of flowers and fence posts scattered on the slopes
        for _ in range(120 if layer == 0 else 90):
            i = int(rng.integers(1, len(top) - 1))
            tx, ty = top[i]
            dy = rng.uniform(6, GROUND - ty)
            r = rng.uniform(2, 5) * (1 + layer * 0.5)
            kind = rng.random()
            if kind < 0.55:
                c.circle(tx + rng.uniform(-4, 4), ty + dy, r, fill=pl.shade(col, rng.uniform(0.78, 0.9)))
                c.circle(tx + rng.uniform(-4, 4) - r * 0.3, ty + dy - r * 0.3, r * 0.5,
                         fill=pl.shade(col, 1.12))
            elif kind < 0.85:
                fc = [(255, 240, 120), (255, 160, 200), (240, 240, 255)][int(rng.integers(3))]
                c.circle(tx, ty + dy, 1.2, fill=fc)
            else:
                c.rect(tx - 1, ty + dy - 6, tx + 1, ty + dy, fill=(150, 110, 70))
                c.line([(tx - 6, ty + dy - 4), (tx + 6, ty + dy - 4)], (170, 130, 80), 1)
        for _ in range(16 if layer == 0 else 10):
            i = int(rng.integers(2, len(top) - 2))
            tx, ty = top[i]
            s = rng.uniform(10, 18) * (1 + layer * 0.4)
            c.rect(tx - s * 0.12, ty - s * 0.9, tx + s * 0.12, ty + 4, fill=(100, 60, 40))
            tc = pl.shade(col, rng.uniform(0.75, 1.0))
            c.circle(tx, ty - s * 1.3, s + 1.5, fill=pl.shade(tc, 0.55))
            c.circle(tx, ty - s * 1.3, s, fill=tc)
            c.circle(tx - s * 0.3, ty - s * 1.55, s * 0.45, fill=pl.shade(tc, 1.25))
        if layer == 0:
            # cliff with a waterfall
            cx = 640
            cliff = [(cx - 50, GROUND), (cx - 44, 430), (cx - 20, 412), (cx + 20, 408), (cx + 40, 420),
                     (cx + 52, GROUND)]
            c.poly(cliff, fill=(120, 100, 110))
            for k in range(8):
                yy = 430 + k * 28
                c.line([(cx - 46, yy), (cx - 30, yy + 6), (cx - 14, yy)], (96, 78, 92), 1.5)
                c.line([(cx + 20, yy + 12), (cx + 34, yy + 18), (cx + 48, yy + 12)], (96, 78, 92), 1.5)
            c.rect(cx - 12, 410, cx + 14, GROUND, fill=(150, 210, 240))
            for k in range(30):
                xx = cx - 10 + (k % 6) * 4.4
                yy = 414 + rng.uniform(0, 230)
                c.line([(xx, yy), (xx, yy + rng.uniform(10, 30))], (235, 250, 255), 1.2)
            for k in range(8):
                c.circle(cx + rng.uniform(-18, 20), 600 + rng.uniform(-8, 8), rng.uniform(4, 9),
                         fill=(240, 250, 255))


# ------------------------------------------------------------- tiles ---

def tile_grass(c, rng, x, y, top=True):
    dirt = pl.jitter((150, 96, 56), rng, 0.06)
    c.rect(x, y, x + T, y + T, fill=dirt)
    for _ in range(4):
        px, py = x + rng.uniform(3, T - 3), y + rng.uniform(12, T - 3)
        r = rng.uniform(1.5, 3.5)
        c.ellipse(px - r, py - r * 0.7, px + r, py + r * 0.7, fill=pl.shade(dirt, 0.7))
        c.ellipse(px - r * 0.6, py - r * 0.6, px + r * 0.2, py, fill=pl.shade(dirt, 1.2))
    c.line([(x, y + T - 1), (x + T, y + T - 1)], pl.shade(dirt, 0.75), 1)
    c.line([(x + T - 1, y), (x + T - 1, y + T)], pl.shade(dirt, 0.8), 1)
    if top:
        g = (84, 196, 70)
        c.rect(x, y, x + T, y + 9, fill=g)
        c.rect(x, y, x + T, y + 3, fill=(150, 236, 110))
        for k in range(5):
            bx = x + 3 + k * 6.5 + rng.uniform(-1, 1)
            c.poly([(bx - 3, y + 8), (bx, y + 14 + rng.uniform(0, 4)), (bx + 3, y + 8)], fill=g)
        for k in range(3):
            bx = x + rng.uniform(3, T - 3)
            c.line([(bx, y + 1), (bx + rng.uniform(-2, 2), y - 4)], (120, 220, 90), 1.3)


def tile_stone(c, rng, x, y, hue=(120, 130, 160)):
    col = pl.jitter(hue, rng, 0.08)
    c.rect(x, y, x + T, y + T, fill=pl.shade(col, 0.55))
    # two bricks per tile, staggered
    rows = [(0, 15), (16, 31)]
    for r, (a, b) in enumerate(rows):
        off = 0 if (r + int(y // T)) % 2 == 0 else 16
        for k in (-1, 0, 1):
            bx0 = x + off + k * 32 + 1
            bx1 = bx0 + 30
            bx0, bx1 = max(x + 1, bx0), min(x + T - 1, bx1)
            if bx1 - bx0 < 3:
                continue
            bc = pl.jitter(col, rng, 0.06)
            c.rect(bx0, y + a + 1, bx1, y + b, fill=bc)
            c.rect(bx0, y + a + 1, bx1, y + a + 2.5, fill=pl.shade(bc, 1.25))
            c.rect(bx0, y + b - 1.5, bx1, y + b, fill=pl.shade(bc, 0.75))
    if rng.random() < 0.4:
        cx = x + rng.uniform(6, T - 6)
        c.line([(cx, y + 3), (cx + 3, y + 9), (cx - 1, y + 14)], pl.shade(col, 0.45), 1)
    if rng.random() < 0.35:
        for _ in range(5):
            c.circle(x + rng.uniform(2, T - 2), y + rng.uniform(1, 6), rng.uniform(1.5, 3),
                     fill=(90, 160, 80))


def tile_rune(c, rng, x, y, col=(240, 180, 50), sign="star"):
    c.rect(x, y, x + T, y + T, fill=INK)
    c.rect(x + 1.5, y + 1.5, x + T - 1.5, y + T - 1.5, fill=col)
    c.rect(x + 1.5, y + 1.5, x + T - 1.5, y + 5, fill=pl.shade(col, 1.25))
    c.rect(x + 1.5, y + T - 5, x + T - 1.5, y + T - 1.5, fill=pl.shade(col, 0.7))
    for (rx, ry) in ((5, 5), (T - 5, 5), (5, T - 5), (T - 5, T - 5)):
        c.circle(x + rx, y + ry, 1.6, fill=pl.shade(col, 0.55))
    cx, cy = x + T / 2, y + T / 2
    if sign == "star":
        pts = []
        for k in range(10):
            a = -math.pi / 2 + k * math.pi / 5
            r = 9 if k % 2 == 0 else 4
            pts.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
        c.poly(pts, fill=(255, 250, 220))
        c.line(pts + [pts[0]], pl.shade(col, 0.5), 1)
    else:
        c.circle(cx, cy, 8, outline=(255, 250, 220), width=2)
        c.line([(cx, cy - 5), (cx, cy + 5)], (255, 250, 220), 2)
        c.line([(cx - 5, cy), (cx + 5, cy)], (255, 250, 220), 2)


def platform(c, rng, x0, x1, y, kind="grass", rows=1):
    shade_pts = [(x0 + 6, y + rows * T), (x1 + 6, y + rows * T), (x1 + 6, y + rows * T + 8),
                 (x0 + 6, y + rows * T + 8)]
    pk.soft_shadow(c, [shade_pts], 0.25, 4)
    n = int((x1 - x0) / T)
    for j in range(rows):
        for i in range(n):
            x = x0 + i * T
            if kind == "grass":
                tile_grass(c, rng, x, y + j * T, top=(j == 0))
            elif kind == "stone":
                tile_stone(c, rng, x, y + j * T)
            elif kind == "rune":
                if i in (1, n - 2):
                    tile_rune(c, rng, x, y + j * T, sign="star" if i == 1 else "cross")
                else:
                    tile_stone(c, rng, x, y + j * T, (150, 120, 110))
    c.rect(x0, y, x1, y + rows * T, outline=INK, width=2)
    if kind == "grass":
        # roots and a few stones hanging underneath
        for k in range(n * 2):
            rx = x0 + 8 + k * (x1 - x0 - 16) / max(1, n * 2 - 1)
            ln = rng.uniform(6, 22)
            c.line([(rx, y + rows * T), (rx + rng.uniform(-4, 4), y + rows * T + ln)], (110, 70, 40), 1.4)


def ground(c, rng, gap):
    g0, g1 = gap
    for i in range(W // T + 1):
        x = i * T
        if g0 <= x < g1:
            continue
        for j in range(int((BAR_Y - GROUND) / T) + 1):
            y = GROUND + j * T
            if j == 0:
                tile_grass(c, rng, x, y, True)
            else:
                tile_grass(c, rng, x, y, False)
    c.line([(0, GROUND), (g0, GROUND)], INK, 2)
    c.line([(g1, GROUND), (W, GROUND)], INK, 2)
    c.line([(g0, GROUND), (g0, BAR_Y)], INK, 2)
    c.line([(g1, GROUND), (g1, BAR_Y)], INK, 2)
    # a gem and a fossil buried in the earth
    for (gx, gy, col) in ((90, 706, (80, 220, 255)), (760, 700, (255, 90, 160)), (930, 714, (120, 255, 120))):
        c.poly([(gx, gy - 6), (gx + 5, gy), (gx, gy + 6), (gx - 5, gy)], fill=col)
        c.poly([(gx, gy - 6), (gx + 5, gy), (gx, gy)], fill=pl.shade(col, 1.3))
    bx, by = 300, 706
    c.line([(bx - 14, by), (bx + 14, by)], (236, 226, 200), 3)
    for k in range(4):
        c.arc(bx - 8 + k * 6, by, 6, 200, 340, (236, 226, 200), 1.6)
    c.circle(bx - 17, by, 4, fill=(236, 226, 200))


def water(c, rng, x0, x1, top, bottom):
    arr = c.array()
    ys, ye = int(top * S), int(bottom * S)
    xs, xe = int(x0 * S), int(x1 * S)
    yy = np.linspace(0, 1, ye - ys, dtype=np.float32)[:, None]
    base = np.array((60, 150, 220), np.float32) * (1 - yy[:, :, None] * 0.5)
    n = pl.fbm(xe - xs, ye - ys, 10 * S, rng, 3)
    base = base * (0.85 + 0.3 * n)[:, :, None]
    arr[ys:ye, xs:xe] = arr[ys:ye, xs:xe] * 0.25 + base * 0.75
    c.set_array(arr)
    for k in range(int((x1 - x0) / 16)):
        x = x0 + k * 16
        c.arc(x + 8, top + 2, 8, 200, 340, (220, 250, 255), 2)
    for _ in range(14):
        bx, by = rng.uniform(x0 + 6, x1 - 6), rng.uniform(top + 14, bottom - 6)
        c.circle(bx, by, rng.uniform(1.5, 3.5), outline=(210, 240, 255), width=1)
    for k in range(5):
        y = top + 16 + k * 10
        c.line([(x0 + rng.uniform(4, 40), y), (x0 + rng.uniform(60, x1 - x0 - 4), y)], (120, 190, 240), 1)


# ---------------------------------------------------------- creatures ---

def knight(c, x, feet):
    """The hero: blue tunic, silver helmet with a red plume, sword raised."""
    steel, steel_dk = (210, 216, 230), (130, 136, 156)
    blue, blue_dk = (50, 100, 220), (30, 60, 150)
    # cape behind
    outlined_poly(c, [(x - 8, feet - 44), (x + 8, feet - 44), (x + 2, feet - 12), (x - 24, feet - 6)],
                  (200, 40, 50))
    # legs and boots
    outlined_poly(c, [(x - 10, feet - 20), (x - 3, feet - 20), (x - 4, feet - 4), (x - 12, feet - 4)], steel_dk)
    outlined_poly(c, [(x + 3, feet - 20), (x + 10, feet - 20), (x + 13, feet - 4), (x + 5, feet - 4)], steel_dk)
    outlined_poly(c, [(x - 14, feet - 6), (x - 2, feet - 6), (x - 2, feet), (x - 15, feet)], (100, 60, 30))
    outlined_poly(c, [(x + 4, feet - 6), (x + 16, feet - 6), (x + 17, feet), (x + 4, feet)], (100, 60, 30))
    # body
    outlined_poly(c, [(x - 13, feet - 46), (x + 13, feet - 46), (x + 15, feet - 18), (x - 15, feet - 18)], blue)
    c.poly([(x + 3, feet - 45), (x + 12, feet - 45), (x + 14, feet - 19), (x + 5, feet - 19)], fill=blue_dk)
    c.rect(x - 15, feet - 26, x + 15, feet - 21, fill=(110, 70, 30))
    c.rect(x - 3, feet - 27, x + 3, feet - 20, fill=(250, 210, 60))
    # emblem: a small orb on the chest
    c.circle(x, feet - 36, 4.5, fill=(255, 230, 120))
    c.circle(x - 1, feet - 37, 1.5, fill=(255, 255, 255))
    # shield arm on the left
    outlined_poly(c, [(x - 30, feet - 44), (x - 14, feet - 44), (x - 14, feet - 28), (x - 22, feet - 20),
                      (x - 30, feet - 28)], (230, 190, 60))
    c.poly([(x - 27, feet - 41), (x - 17, feet - 41), (x - 17, feet - 29), (x - 22, feet - 24),
            (x - 27, feet - 29)], fill=(200, 40, 50))
    c.line([(x - 22, feet - 41), (x - 22, feet - 25)], (250, 230, 120), 1.6)
    # sword arm raised
    c.line([(x + 12, feet - 42), (x + 22, feet - 56)], INK, 6)
    c.line([(x + 12, feet - 42), (x + 22, feet - 56)], blue, 4)
    c.line([(x + 22, feet - 56), (x + 34, feet - 92)], INK, 5)
    c.line([(x + 22, feet - 56), (x + 34, feet - 92)], (236, 240, 250), 3)
    c.line([(x + 15, feet - 58), (x + 29, feet - 53)], (230, 190, 60), 3.5)
    c.circle(x + 21, feet - 55, 3, fill=(230, 190, 60))
    # head: helmet with a visor slit and a plume
    c.circle(x, feet - 58, 14, fill=INK)
    c.circle(x, feet - 58, 12.5, fill=steel)
    c.pieslice(x, feet - 58, 12.5, 300, 60, fill=steel_dk)
    c.rect(x - 2, feet - 60, x + 12, feet - 56, fill=INK)
    c.line([(x - 12, feet - 58), (x + 12, feet - 58)], steel_dk, 1)
    for k in range(5):
        c.line([(x - 2, feet - 71), (x - 12 - k * 3, feet - 80 + k * 3)], (220, 40, 50), 3.5)
    c.circle(x - 4, feet - 63, 2.5, fill=(255, 255, 255))


def windmill(c, x, base):
    """A little windmill on the far hill, sails turning."""
    outlined_poly(c, [(x - 14, base), (x - 9, base - 52), (x + 9, base - 52), (x + 14, base)], (236, 220, 196), 1.5)
    outlined_poly(c, [(x - 12, base - 52), (x, base - 68), (x + 12, base - 52)], (180, 70, 60), 1.5)
    c.rect(x - 4, base - 14, x + 4, base, fill=(110, 70, 40))
    c.rect(x - 3, base - 38, x + 3, base - 30, fill=(255, 220, 120))
    hx, hy = x, base - 54
    for k in range(4):
        a = math.radians(20 + k * 90)
        tip = (hx + math.cos(a) * 40, hy + math.sin(a) * 40)
        side = (math.cos(a + math.pi / 2) * 7, math.sin(a + math.pi / 2) * 7)
        mid = (hx + math.cos(a) * 10, hy + math.sin(a) * 10)
        outlined_poly(c, [mid, tip, (tip[0] + side[0], tip[1] + side[1]), (mid[0] + side[0], mid[1] + side[1])],
                      (246, 240, 226), 1.2)
        for j in range(1, 4):
            t = 0.25 + j * 0.2
            p = (hx + math.cos(a) * 40 * t, hy + math.sin(a) * 40 * t)
            c.line([p, (p[0] + side[0], p[1] + side[1])], (150, 120, 100), 0.8)
    c.circle(hx, hy, 3, fill=INK)


def slime(c, x, feet, col=(110, 220, 80)):
    pts = [(x - 22, feet)] + [(x + math.cos(a) * 22, feet - 6 - math.sin(a) * 24 * (0.7 + 0.3 * math.sin(a)))
                              for a in np.linspace(math.pi, 0, 20)] + [(x + 22, feet)]
    outlined_poly(c, pts, col)
    c.ellipse(x - 14, feet - 26, x - 4, feet - 18, fill=pl.shade(col, 1.35))
    for ex in (-7, 7):
        c.ellipse(x + ex - 5, feet - 22, x + ex + 5, feet - 10, fill=(255, 255, 255))
        c.ellipse(x + ex - 2, feet - 17, x + ex + 3, feet - 11, fill=INK)
    c.arc(x, feet - 10, 6, 20, 160, INK, 1.5)


def bat(c, x, y):
    col = (110, 60, 150)
    for s in (-1, 1):
        pts = [(x, y - 4), (x + s * 14, y - 16), (x + s * 34, y - 10), (x + s * 28, y - 2),
               (x + s * 22, y + 2), (x + s * 16, y - 2), (x + s * 10, y + 4)]
        outlined_poly(c, pts, col)
    c.ellipse(x - 10, y - 12, x + 10, y + 10, fill=INK)
    c.ellipse(x - 8.5, y - 10.5, x + 8.5, y + 8.5, fill=pl.shade(col, 1.2))
    c.poly([(x - 8, y - 8), (x - 5, y - 18), (x - 2, y - 9)], fill=col)
    c.poly([(x + 8, y - 8), (x + 5, y - 18), (x + 2, y - 9)], fill=col)
    for ex in (-3.5, 3.5):
        c.circle(x + ex, y - 3, 2.2, fill=(255, 230, 80))
    c.poly([(x - 3, y + 3), (x - 1.5, y + 7), (x, y + 3)], fill=(255, 255, 255))
    c.poly([(x + 3, y + 3), (x + 1.5, y + 7), (x, y + 3)], fill=(255, 255, 255))


def spiky(c, x, feet):
    r = 15
    cy = feet - r
    pts = []
    for k in range(24):
        a = k * math.pi / 12
        rr = r + (7 if k % 2 == 0 else 0)
        pts.append((x + math.cos(a) * rr, cy + math.sin(a) * rr))
    outlined_poly(c, pts, (190, 190, 200))
    c.circle(x, cy, r, fill=(90, 60, 120))
    c.circle(x - 4, cy - 4, 5, fill=(130, 100, 160))
    c.ellipse(x - 8, cy - 4, x - 1, cy + 3, fill=(255, 255, 255))
    c.ellipse(x + 1, cy - 4, x + 8, cy + 3, fill=(255, 255, 255))
    c.circle(x - 3.5, cy, 1.8, fill=INK)
    c.circle(x + 4.5, cy, 1.8, fill=INK)
    c.line([(x - 9, cy - 7), (x - 2, cy - 4)], INK, 1.4)
    c.line([(x + 9, cy - 7), (x + 2, cy - 4)], INK, 1.4)


def fish(c, x, y):
    col = (255, 140, 40)
    outlined_poly(c, [(x - 14, y), (x, y - 9), (x + 14, y - 2), (x + 24, y - 10), (x + 22, y + 4),
                      (x + 14, y + 2), (x, y + 9)], col)
    c.circle(x - 6, y - 2, 2.4, fill=(255, 255, 255))
    c.circle(x - 6, y - 2, 1.2, fill=INK)
    for k in range(3):
        c.circle(x - 10 - k * 6, y - 14 - k * 8, 1.5 + k * 0.5, outline=(230, 250, 255), width=1)


# ---------------------------------------------------------- pick-ups ---

def orb_sprite(r, col):
    size = 2 * r + 4
    im, d = pk.sprite(size, size, S)
    a = np.zeros((im.size[1], im.size[0], 4), np.float32)
    yy, xx = np.mgrid[0:im.size[1], 0:im.size[0]].astype(np.float32)
    ctr = size / 2 * S
    R = r * S
    dx, dy = (xx - ctr) / R, (yy - ctr) / R
    dist = np.sqrt(dx * dx + dy * dy)
    inside = np.clip((1.0 - dist) * R / 1.2, 0, 1)
    hl = np.sqrt((dx + 0.35) ** 2 + (dy + 0.4) ** 2)
    col = np.array(col, np.float32)
    rgb = col[None, None, :] * (0.55 + 0.6 * np.clip(1 - hl, 0, 1))[:, :, None]
    rgb += (np.exp(-hl ** 2 / 0.04) * 220)[:, :, None]
    rim = np.clip((dist - 0.75) * 4, 0, 1) * inside
    rgb = rgb * (1 - rim[:, :, None] * 0.4) + col * 1.2 * rim[:, :, None] * 0.4
    # a swirl inside the glass
    ang = np.arctan2(dy, dx)
    sw = (0.5 + 0.5 * np.sin(ang * 3 + dist * 9)) * np.clip(0.8 - dist, 0, 1)
    rgb += sw[:, :, None] * 60
    a[:, :, :3] = rgb
    a[:, :, 3] = inside * 255
    return Image.fromarray(pl.clamp8(a), "RGBA")


def sparkle(c, x, y, r, col=(255, 255, 240)):
    c.poly([(x, y - r), (x + r * 0.22, y - r * 0.22), (x + r, y), (x + r * 0.22, y + r * 0.22),
            (x, y + r), (x - r * 0.22, y + r * 0.22), (x - r, y), (x - r * 0.22, y - r * 0.22)], fill=col)


def orb(c, rng, x, y, r, col):
    pk.glow(c, x, y, r * 2.2, tuple(v * 0.55 for v in col), 0.9)
    c.circle(x, y, r + 2, fill=INK)
    pk.paste_sprite(c, orb_sprite(r, col), x, y)
    for _ in range(4):
        a = rng.uniform(0, 2 * math.pi)
        rr = r * rng.uniform(1.3, 2.0)
        sparkle(c, x + math.cos(a) * rr, y + math.sin(a) * rr, rng.uniform(3, 6))


def gem(c, x, y, col):
    pts = [(x - 6, y - 3), (x - 3, y - 7), (x + 3, y - 7), (x + 6, y - 3), (x, y + 7)]
    outlined_poly(c, pts, col, 1.4)
    c.poly([(x - 3, y - 7), (x + 3, y - 7), (x + 1, y - 3), (x - 1, y - 3)], fill=pl.shade(col, 1.4))
    c.poly([(x - 6, y - 3), (x - 1, y - 3), (x, y + 7)], fill=pl.shade(col, 0.8))


def chest(c, x, feet):
    outlined_poly(c, [(x - 22, feet - 22), (x + 22, feet - 22), (x + 22, feet), (x - 22, feet)], (150, 86, 40))
    outlined_poly(c, [(x - 22, feet - 22), (x - 18, feet - 34), (x + 18, feet - 34), (x + 22, feet - 22)],
                  (176, 104, 50))
    for bx in (-14, 14):
        c.rect(x + bx - 3, feet - 34, x + bx + 3, feet, fill=(230, 190, 60))
    c.rect(x - 5, feet - 26, x + 5, feet - 16, fill=(250, 220, 90))
    c.rect(x - 1.5, feet - 22, x + 1.5, feet - 18, fill=INK)
    pk.glow(c, x, feet - 36, 20, (120, 100, 30), 0.6)


def sign(c, x, feet, txt):
    c.rect(x - 3, feet - 40, x + 3, feet, fill=(120, 76, 40))
    outlined_poly(c, [(x - 30, feet - 52), (x + 24, feet - 52), (x + 36, feet - 42), (x + 24, feet - 32),
                      (x - 30, feet - 32)], (200, 150, 90))
    c.text((x - 2, feet - 42), txt, c.font("DejaVuSansCondensed-Bold.ttf", 10), INK, anchor="mm")


def torch(c, rng, x, feet):
    c.rect(x - 3, feet - 30, x + 3, feet, fill=(110, 70, 40))
    c.rect(x - 6, feet - 34, x + 6, feet - 28, fill=(150, 150, 160))
    pk.glow(c, x, feet - 44, 26, (160, 90, 20), 0.9)
    outlined_poly(c, [(x - 7, feet - 36), (x - 4, feet - 50), (x, feet - 60), (x + 5, feet - 48), (x + 7, feet - 36)],
                  (255, 140, 30), 1.2)
    c.poly([(x - 3, feet - 37), (x, feet - 52), (x + 3, feet - 37)], fill=(255, 230, 100))


def flag(c, x, feet):
    c.rect(x - 2, feet - 70, x + 2, feet, fill=(200, 200, 210))
    c.circle(x, feet - 72, 4, fill=(250, 210, 60))
    outlined_poly(c, [(x + 2, feet - 68), (x + 36, feet - 60), (x + 2, feet - 50)], (60, 200, 120), 1.5)
    c.circle(x + 13, feet - 59, 3.5, fill=(255, 255, 255))


def flowers(c, rng, x0, x1, feet):
    for _ in range(int((x1 - x0) / 14)):
        x = rng.uniform(x0, x1)
        h = rng.uniform(6, 14)
        c.line([(x, feet), (x, feet - h)], (50, 140, 50), 1.2)
        col = [(255, 90, 120), (255, 230, 80), (120, 180, 255), (255, 255, 255)][int(rng.integers(4))]
        for k in range(5):
            a = k * 2 * math.pi / 5
            c.circle(x + math.cos(a) * 2.4, feet - h + math.sin(a) * 2.4, 1.8, fill=col)
        c.circle(x, feet - h, 1.3, fill=(255, 200, 40))


def mushroom(c, x, feet, col=(230, 50, 60)):
    c.rect(x - 5, feet - 14, x + 5, feet, fill=(246, 236, 210))
    c.rect(x - 5, feet - 14, x + 5, feet, outline=INK, width=1.2)
    c.pieslice(x, feet - 12, 14, 180, 360, fill=col, outline=INK)
    for (dx, dy, r) in ((-6, -18, 3), (4, -22, 2.5), (8, -15, 2)):
        c.circle(x + dx, feet + dy, r, fill=(255, 255, 255))


# ----------------------------------------------------------- the HUD ---

def heart(c, x, y, r, fill_frac):
    pts = []
    for k in range(40):
        t = k / 40 * 2 * math.pi
        hx = 16 * math.sin(t) ** 3
        hy = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((x + hx * r / 16, y + hy * r / 16))
    c.poly(pts, fill=INK)
    inner = [(x + (px - x) * 0.82, y + (py - y) * 0.82) for (px, py) in pts]
    c.poly(inner, fill=(90, 40, 60))
    if fill_frac > 0:
        m, md = c.mask()
        md.polygon(c.p(inner), fill=255)
        clip = Image.new("L", m.size, 0)
        ImageDraw.Draw(clip).rectangle([0, 0, (x - r + 2 * r * fill_frac) * S, H * S], fill=255)
        from PIL import ImageChops
        m = ImageChops.multiply(m, clip)
        c.img.paste((240, 40, 60), (0, 0), m)
        c.draw = ImageDraw.Draw(c.img)
        c.circle(x - r * 0.45, y - r * 0.35, r * 0.2, fill=(255, 180, 190))


def panel(c, rng, x0, y0, x1, y1):
    """A bevelled dark panel with a gold trim, like a game's status bar."""
    arr = pl.textured((int((x1 - x0) * S), int((y1 - y0) * S)), (46, 34, 70), rng, 0.25, 6 * S, 3, 0.02)
    pk.paste_patch(c, arr, x0, y0)
    c.rect(x0, y0, x1, y1, outline=(230, 190, 80), width=2)
    c.rect(x0 + 3, y0 + 3, x1 - 3, y1 - 3, outline=(120, 90, 40), width=1)
    for (rx, ry) in ((x0 + 7, y0 + 7), (x1 - 7, y0 + 7), (x0 + 7, y1 - 7), (x1 - 7, y1 - 7)):
        c.circle(rx, ry, 2.2, fill=(250, 220, 120))


def hud(c, rng):
    panel(c, rng, 0, 0, W, HUD_H)
    f = c.font("DejaVuSansMono-Bold.ttf", 22)
    fs = c.font("DejaVuSansMono-Bold.ttf", 12)
    c.text((20, 10), "SCORE", fs, (250, 220, 120), stroke=1, stroke_fill=INK)
    c.text((20, 24), "0042750", f, (255, 255, 255), stroke=1.5, stroke_fill=INK)
    for k in range(5):
        heart(c, 160 + k * 30, 30, 12, [1, 1, 1, 0.5, 0][k])
    c.text((312, 10), "ORBS", fs, (250, 220, 120), stroke=1, stroke_fill=INK)
    for k in range(7):
        x = 326 + k * 28
        c.circle(x, 38, 10, fill=INK)
        c.circle(x, 38, 9, fill=(70, 56, 96))
        if k < 4:
            pk.paste_sprite(c, orb_sprite(8, ORB_COLS[k]), x, 38)
    c.text((530, 10), "WORLD", fs, (250, 220, 120), stroke=1, stroke_fill=INK)
    c.text((530, 24), "3-2", f, (255, 255, 255), stroke=1.5, stroke_fill=INK)
    c.text((600, 10), "TIME", fs, (250, 220, 120), stroke=1, stroke_fill=INK)
    c.text((600, 24), "271", f, (255, 255, 255), stroke=1.5, stroke_fill=INK)
    c.text((676, 10), "GOLD", fs, (250, 220, 120), stroke=1, stroke_fill=INK)
    gem(c, 686, 38, (255, 210, 60))
    c.text((700, 24), "x86", f, (255, 255, 255), stroke=1.5, stroke_fill=INK)
    # the quest map
    mx0, my0, mx1, my1 = 790, 6, 1016, 52
    c.rect(mx0, my0, mx1, my1, fill=(226, 200, 150))
    mp = pl.textured((int((mx1 - mx0) * S), int((my1 - my0) * S)), (226, 200, 150), rng, 0.2, 8 * S, 3)
    pk.paste_patch(c, mp, mx0, my0)
    c.rect(mx0, my0, mx1, my1, outline=(120, 80, 40), width=2)
    path = [(800, 40), (830, 30), (860, 38), (892, 22), (926, 32), (958, 18), (990, 30), (1006, 20)]
    for k in range(len(path) - 1):
        (ax, ay), (bx, by) = path[k], path[k + 1]
        for t in np.linspace(0, 1, 5)[:-1]:
            c.circle(ax + (bx - ax) * t, ay + (by - ay) * t, 1.2, fill=(140, 60, 40))
    for k, (px, py) in enumerate(path):
        col = (60, 160, 60) if k < 3 else ((240, 60, 60) if k == 3 else (120, 100, 80))
        c.circle(px, py, 4, fill=col, outline=INK, width=1)
    c.poly([(892, 12), (888, 20), (896, 20)], fill=(240, 60, 60))
    c.text((1006, 44), "N", c.font("DejaVuSans-Bold.ttf", 8), (120, 80, 40), anchor="mm")
    c.text((830, 46), "CRYSTAL VALE", c.font("DejaVuSansCondensed-Bold.ttf", 8), (110, 70, 40), anchor="mm")


def item_bar(c, rng):
    panel(c, rng, 0, BAR_Y, W, H)
    items = ["sword", "shield", "key", "potion", "bomb", "scroll", "boots", "", ""]
    for k, it in enumerate(items):
        x0 = 12 + k * 44
        c.rect(x0, BAR_Y + 5, x0 + 36, BAR_Y + 35, fill=(28, 20, 44), outline=(150, 120, 60), width=1)
        cx, cy = x0 + 18, BAR_Y + 20
        if it == "sword":
            c.line([(cx - 9, cy + 9), (cx + 9, cy - 9)], (230, 236, 250), 3)
            c.line([(cx - 9, cy + 1), (cx - 1, cy + 9)], (230, 190, 60), 3)
        elif it == "shield":
            c.poly([(cx - 9, cy - 9), (cx + 9, cy - 9), (cx + 9, cy + 1), (cx, cy + 10), (cx - 9, cy + 1)],
                   fill=(200, 40, 50))
            c.line([(cx, cy - 8), (cx, cy + 8)], (250, 220, 90), 2)
        elif it == "key":
            c.circle(cx - 5, cy, 5, outline=(250, 210, 60), width=2.5)
            c.line([(cx, cy), (cx + 10, cy)], (250, 210, 60), 2.5)
            c.line([(cx + 7, cy), (cx + 7, cy + 5)], (250, 210, 60), 2)
        elif it == "potion":
            c.circle(cx, cy + 3, 8, fill=(200, 60, 220))
            c.rect(cx - 3, cy - 10, cx + 3, cy - 3, fill=(200, 220, 230))
            c.circle(cx - 3, cy + 1, 2, fill=(255, 220, 255))
        elif it == "bomb":
            c.circle(cx, cy + 2, 9, fill=(40, 40, 50))
            c.line([(cx + 5, cy - 6), (cx + 9, cy - 11)], (200, 160, 100), 2)
            sparkle(c, cx + 10, cy - 12, 4, (255, 200, 60))
        elif it == "scroll":
            c.rect(cx - 8, cy - 8, cx + 8, cy + 8, fill=(236, 216, 170))
            for j in range(4):
                c.line([(cx - 5, cy - 4 + j * 3), (cx + 5, cy - 4 + j * 3)], (120, 90, 60), 1)
        elif it == "boots":
            c.poly([(cx - 6, cy - 9), (cx + 1, cy - 9), (cx + 1, cy + 3), (cx + 9, cy + 5), (cx + 9, cy + 9),
                    (cx - 6, cy + 9)], fill=(140, 80, 40))
            c.poly([(cx - 10, cy - 4), (cx - 6, cy - 6), (cx - 6, cy)], fill=(255, 255, 255))
        if it:
            c.text((x0 + 33, BAR_Y + 33), str(k + 1), c.font("DejaVuSansMono-Bold.ttf", 8), (250, 220, 120),
                   anchor="rb")
    # magic meter and a message line
    c.text((420, BAR_Y + 12), "MAGIC", c.font("DejaVuSansMono-Bold.ttf", 11), (250, 220, 120))
    c.rect(470, BAR_Y + 12, 640, BAR_Y + 26, fill=(28, 20, 44), outline=(150, 120, 60), width=1)
    for k in range(17):
        c.rect(472 + k * 10, BAR_Y + 14, 480 + k * 10, BAR_Y + 24,
               fill=pk.hsv(0.55 + k * 0.015, 0.7, 0.95) if k < 12 else (50, 40, 70))
    c.text((660, BAR_Y + 10), "Find the seven orbs to open the castle gate!",
           c.font("DejaVuSansCondensed-Bold.ttf", 13), (255, 255, 255), stroke=1, stroke_fill=INK)


# ------------------------------------------------------------ layout ---

def make(path):
    rng = np.random.default_rng(7377)
    c = pl.Canvas(W, H, S)
    sky(c, rng)
    cloud(c, 420, 120, 120)
    cloud(c, 760, 90, 90)
    cloud(c, 300, 250, 70, (255, 210, 200), (230, 150, 160))
    cloud(c, 960, 210, 80, (255, 210, 200), (230, 150, 160))
    mountains(c, rng)
    # a dark band of pine woods at the foot of the mountains
    for k in range(170):
        x = rng.uniform(-10, W + 10)
        base = 500 + rng.uniform(-30, 40)
        h = rng.uniform(22, 46)
        col = pl.jitter((60, 60, 110), rng, 0.12)
        c.poly([(x - h * 0.28, base), (x, base - h), (x + h * 0.28, base)], fill=col)
        c.poly([(x, base - h), (x + h * 0.28, base), (x, base)], fill=pl.shade(col, 0.8))
        for j in range(3):
            yy = base - h * (0.3 + j * 0.22)
            c.line([(x - h * 0.2 * (1 - j * 0.25), yy + 3), (x, yy - 2), (x + h * 0.2 * (1 - j * 0.25), yy + 3)],
                   pl.shade(col, 1.25), 1)
    castle(c, rng, 780, 360)
    hills(c, rng)
    # a painted grain over the whole backdrop so no stretch of it is bare
    arr = c.array()
    n1 = pl.fbm(W * S, H * S, 14 * S, rng, 4)
    n2 = pl.fbm(W * S, H * S, 5 * S, rng, 2)
    yy = np.arange(H * S, dtype=np.float32)[:, None] / S
    amt = np.clip((yy - 180) / 120, 0.3, 1.0)
    arr *= (1 + amt * (0.16 * (n1 - 0.5) + 0.07 * (n2 - 0.5)))[:, :, None]
    c.set_array(arr)
    windmill(c, 46, 520)
    # a shooting star and far-off birds in the empty parts of the sky
    c.line([(610, 200), (712, 168)], (255, 230, 250), 1.2)
    c.line([(660, 186), (712, 168)], (255, 250, 230), 2.2)
    sparkle(c, 714, 167, 7)
    for (bx, by) in ((30, 230), (52, 222), (70, 236), (560, 190), (580, 182), (240, 100), (262, 92)):
        c.line([(bx - 6, by - 3), (bx, by), (bx + 6, by - 3)], (60, 40, 90), 1.4)
    cloud(c, 60, 300, 44, (250, 200, 210), (220, 150, 170))
    cloud(c, 600, 330, 40, (250, 200, 210), (220, 150, 170))
    gap = (416, 544)
    ground(c, rng, gap)
    water(c, rng, gap[0], gap[1], GROUND + 14, BAR_Y)
    # platforms
    plats = [(96, 288, 560, "grass", 1), (352, 512, 452, "stone", 1), (608, 768, 532, "rune", 1),
             (800, 992, 408, "grass", 2), (160, 320, 330, "stone", 1), (480, 640, 270, "grass", 1),
             (736, 832, 210, "stone", 1)]
    for (x0, x1, y, kind, rows) in plats:
        platform(c, rng, x0, x1, y, kind, rows)
    # a chain-hung moving platform over the water
    for cx in (452, 508):
        for k in range(10):
            c.ellipse(cx - 2, 486 + k * 8, cx + 2, 494 + k * 8, outline=(90, 90, 110), width=1.4)
    platform(c, rng, 432, 528, 566, "stone", 1)
    # scenery on the ground and platforms
    flowers(c, rng, 10, 400, GROUND)
    flowers(c, rng, 560, 1010, GROUND)
    flowers(c, rng, 100, 280, 560)
    flowers(c, rng, 484, 636, 270)
    mushroom(c, 60, GROUND)
    mushroom(c, 880, GROUND, (80, 120, 230))
    mushroom(c, 600, GROUND, (240, 160, 40))
    flag(c, 120, 560)
    sign(c, 386, 452, "CASTLE \u2192")
    torch(c, rng, 354 + 150, 452)
    torch(c, rng, 180, 330)
    torch(c, rng, 980, 408)
    chest(c, 940, 408)
    # gems in arcs
    for k in range(7):
        t = k / 6
        gem(c, 560 + t * 120, 470 - math.sin(t * math.pi) * 70, [(255, 90, 160), (80, 220, 255),
                                                                 (255, 220, 60)][k % 3])
    for k in range(5):
        gem(c, 200 + k * 22, 620 - (k % 2) * 8, (80, 220, 255))
    for k in range(4):
        gem(c, 752 + k * 22, 180, (255, 220, 60))
    # the orbs still to be found
    for (x, y, k) in ((240, 294, 4), (560, 228, 5), (690, 410, 6), (884, 366, 4 - 4), (786, 176, 1),
                      (150, 520, 2), (480, 530, 3)):
        orb(c, rng, x, y, 13, ORB_COLS[k])
    # creatures
    slime(c, 700, 532)
    bat(c, 330, 196)
    bat(c, 640, 150)
    spiky(c, 790, GROUND)
    fish(c, 470, 700)
    knight(c, 452, 452)
    # a points pop-up and a trail of sparkles where an orb was just taken
    for k in range(7):
        a = k / 7 * 2 * math.pi
        sparkle(c, 486 + math.cos(a) * 24, 370 + math.sin(a) * 24, 5, (255, 250, 200))
    c.text((486, 340), "+500", c.font("DejaVuSans-Bold.ttf", 20), (255, 240, 120), anchor="mm",
           stroke=2, stroke_fill=INK)
    hud(c, rng)
    item_bar(c, rng)
    return pk.finish(c, path, 25)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/orbquest.bkg")

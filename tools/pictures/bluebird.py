#!/usr/bin/python3
"""Built-in puzzle picture bluebird.bkg, "Beautiful Blue Bird in Swamp": a
tall blue heron wading in a misty cypress swamp at sunrise.  Rows of bald
cypresses hung with moss fade into the mist; the still tea-coloured water
mirrors them and is dotted with lily pads, flowers and cypress knees.
Reeds and cattails stand in the corners and a small bluebird perches on a
branch of the nearest tree."""
import math
import sys

import numpy as np
from PIL import Image

import paintkit as pk
import picturelib as pl
import scenery as sc

W, H, S = 1024, 768, 2
WATER = 468
SUN = (700, 250)
MIST = (214, 220, 214)


# -------------------------------------------------------------- trees ---

def cypress(L, rng, x, base, height, width, greens, bark, moss=True, detail=1.0):
    """A bald cypress: a flared trunk, branches spreading near the top into
    flat clumps of feathery leaves, grey moss hanging beneath them."""
    wb = width * 0.30
    top = base - height
    # flared, fluted base narrowing up the trunk
    left, right = [], []
    for k in range(21):
        t = k / 20
        y = base - height * 0.92 * t
        w = wb * (0.18 + 0.82 * (1 - t) ** 5) + width * 0.035 * (1 - t)
        left.append((x - w + math.sin(t * 9 + x) * 1.2, y))
        right.append((x + w + math.sin(t * 7 + x) * 1.2, y))
    L.poly(left + right[::-1], fill=bark)
    lit = pl.shade(bark, 1.3)
    dark = pl.shade(bark, 0.65)
    nstri = max(2, int(6 * detail))
    for k in range(nstri):
        f = (k + 0.5) / nstri * 2 - 1
        pts = []
        for j in range(15):
            t = j / 14
            y = base - height * 0.85 * t
            w = wb * (0.18 + 0.82 * (1 - t) ** 5) + width * 0.035 * (1 - t)
            pts.append((x + f * w * 0.9, y))
        L.line(pts, dark if f > -0.2 else lit, max(0.6, width * 0.006))
    # branches up to the clumps
    clumps = []
    n = int(rng.integers(7, 12))
    for k in range(n):
        t = rng.uniform(0.45, 1.0)
        cy = base - height * t
        side = rng.uniform(-1, 1)
        spread = width * 0.5 * (1.1 - t) * 1.6 + width * 0.1
        cx = x + side * spread
        rx = width * rng.uniform(0.16, 0.28)
        ry = rx * rng.uniform(0.35, 0.55)
        clumps.append((cy, cx, rx, ry))
    clumps.append((top + height * 0.02, x + rng.uniform(-0.05, 0.05) * width, width * 0.2, width * 0.08))
    for cy, cx, rx, ry in clumps:
        ty = min(cy + height * 0.08, base - height * 0.4)
        L.line([(x, ty), ((x + cx) / 2, (ty + cy) / 2 + ry * 0.3), (cx, cy)], bark, max(1, width * 0.025))
    clumps.sort()
    for cy, cx, rx, ry in clumps:
        # a clump is many small dabs, darker underneath, lit on top
        m = int(60 * detail * (rx / 30 + 0.5))
        for _ in range(m):
            a = rng.uniform(0, 2 * math.pi)
            rr = math.sqrt(rng.uniform(0, 1))
            dx, dy = math.cos(a) * rr * rx, math.sin(a) * rr * ry
            up = -dy / max(1e-3, ry)
            k = int(np.clip(round((up * 0.5 + 0.5) * (len(greens) - 1) + rng.uniform(-0.7, 0.7)), 0,
                            len(greens) - 1))
            r = rng.uniform(0.07, 0.14) * rx
            L.ellipse(cx + dx - r * 1.3, cy + dy - r * 0.7, cx + dx + r * 1.3, cy + dy + r * 0.7,
                      fill=pl.jitter(greens[k], rng, 0.06))
        if moss:
            for _ in range(int(rng.integers(5, 12) * detail + 1)):
                mx = cx + rng.uniform(-0.8, 0.8) * rx
                my = cy + ry * rng.uniform(0.2, 0.7)
                ln = rng.uniform(0.6, 2.2) * ry * 2
                pts = [(mx + math.sin(j * 0.8 + mx) * ry * 0.12, my + ln * j / 8) for j in range(9)]
                col = pl.jitter((146, 156, 134), rng, 0.08)
                for j in range(3):
                    off = (j - 1) * rx * 0.035
                    L.line([(p[0] + off * (1 + i * 0.2), p[1]) for i, p in enumerate(pts[:9 - j * 2])],
                           pl.shade(col, 1.0 - 0.12 * j), max(0.5, rx * 0.02))
    return clumps


def treeline(c, rng, count, x_range, base, h_range, w_range, greens, bark, haze, moss=True,
             detail=1.0):
    L = pk.layer(c)
    xs = np.sort(rng.uniform(x_range[0], x_range[1], count))
    for x in xs:
        h = rng.uniform(*h_range)
        cypress(L, rng, x, base + rng.uniform(-4, 4), h, h * rng.uniform(*w_range), greens, bark,
                moss, detail)
    # bushes and grasses where the trees meet the water
    for k in range(int(count * 5)):
        x = rng.uniform(-10, W + 10)
        r = rng.uniform(6, 16) * detail + 3
        L.ellipse(x - r * 1.6, base - r, x + r * 1.6, base + 2, fill=pl.jitter(greens[0], rng, 0.1))
    pk.haze_layer(L, MIST, haze)
    pk.compose(c, L)


def mist(c, rng, y0, y1, amount, cell=120):
    """Soft drifting bands of mist between y0 and y1."""
    arr = c.array()
    n = pl.fbm(W * S, H * S, cell * S, rng, 4)
    n = np.asarray(Image.fromarray(n, "F").resize((W * S, H * S // 3)).resize((W * S, H * S)), np.float32)
    y = np.arange(H * S, dtype=np.float32)[:, None] / S
    band = np.clip(1 - np.abs(y - (y0 + y1) / 2) / ((y1 - y0) / 2), 0, 1) ** 1.5
    k = np.clip(n * 1.4 - 0.25, 0, 1) * band * amount
    arr = arr * (1 - k[:, :, None]) + np.array(MIST, np.float32) * k[:, :, None]
    c.set_array(arr)


def sunbeams(c, rng):
    arr = c.array()
    yy, xx = np.mgrid[0:H * S, 0:W * S].astype(np.float32)
    dx, dy = xx / S - SUN[0], yy / S - SUN[1]
    ang = np.arctan2(dy, dx)
    d = np.sqrt(dx * dx + dy * dy)
    rays = np.zeros_like(ang)
    for _ in range(14):
        a0 = rng.uniform(0.3, 2.9)
        wdt = rng.uniform(0.015, 0.05)
        rays += np.exp(-((ang - a0) / wdt) ** 2) * rng.uniform(0.4, 1.0)
    k = rays * np.exp(-d / 520) * np.clip(d / 60, 0, 1) * (yy / S < WATER)
    arr += k[:, :, None] * np.array([60, 52, 30], np.float32)
    c.set_array(arr)


# -------------------------------------------------------------- water ---

def lily_pad(c, rng, x, y, r):
    k = 0.22 + 0.5 * (y - WATER) / (H - WATER)
    rx, ry = r, r * k
    g = pl.jitter((64, 120, 48), rng, 0.15)
    notch = rng.uniform(0, 360)
    c.ellipse(x - rx, y - ry + 1.5, x + rx, y + ry + 1.5, fill=(24, 40, 26))
    box = c.box(x - rx, y - ry, x + rx, y + ry)
    c.draw.pieslice(box, notch + 16, notch + 360 - 16, fill=g)
    inner = c.box(x - rx * 0.8, y - ry * 0.8 - ry * 0.08, x + rx * 0.8, y + ry * 0.8 - ry * 0.08)
    c.draw.pieslice(inner, notch + 20, notch + 360 - 20, fill=pl.shade(g, 1.15))
    for j in range(7):
        a = math.radians(notch + 30 + j * 50)
        c.line([(x, y), (x + math.cos(a) * rx * 0.9, y + math.sin(a) * ry * 0.9)], pl.shade(g, 0.8),
               max(0.5, r * 0.04))


def water_lily(c, rng, x, y, r, col):
    k = 0.35 + 0.4 * (y - WATER) / (H - WATER)
    for ring, (n, rr, sh) in enumerate(((8, 1.0, 0.9), (7, 0.7, 1.0), (5, 0.42, 1.06))):
        for j in range(n):
            a = j * 2 * math.pi / n + ring * 0.4
            tip = (x + math.cos(a) * r * rr, y - r * 0.25 * ring - r * 0.35 * (ring + 1) * 0.6
                   + math.sin(a) * r * rr * k)
            side = (-math.sin(a) * r * 0.2, math.cos(a) * r * 0.2 * k)
            c.poly([(x + side[0], y - r * 0.2 * ring + side[1]), tip,
                    (x - side[0], y - r * 0.2 * ring - side[1])], fill=pl.shade(col, sh))
    c.circle(x, y - r * 0.55, r * 0.18, fill=(250, 210, 60))


def knee(c, rng, x, y, h):
    """A cypress knee poking out of the water at (x, y), with its
    reflection."""
    w = h * rng.uniform(0.35, 0.55)
    bark = pl.jitter((110, 86, 66), rng, 0.1)
    shape = [(-w, 0), (-w * 0.3, -h * 0.9), (0, -h), (w * 0.35, -h * 0.85), (w, 0)]
    dark = [(0, -h), (w * 0.35, -h * 0.85), (w, 0), (w * 0.2, 0)]
    refl = pl.mix(pl.shade(bark, 0.6), (40, 56, 40), 0.4)
    c.poly([(x + u + math.sin(v * 0.8) * 1.2, y - v * 0.8) for (u, v) in shape], fill=refl)
    c.poly([(x + u, y + v) for (u, v) in shape], fill=bark)
    c.poly([(x + u, y + v) for (u, v) in dark], fill=pl.shade(bark, 0.7))
    c.line([(x - w * 0.5, y - 1), (x - w * 0.15, y - h * 0.7)], pl.shade(bark, 1.3), max(0.6, h * 0.06))
    c.ellipse(x - w * 1.4, y - 1.5, x + w * 1.4, y + 2, outline=(180, 190, 170), width=0.8)


# ------------------------------------------------------------ the heron ---

class Posed:
    """Draws on a layer through a shift and a scale, so a figure drawn
    round (0, 0) can be placed and sized freely."""

    def __init__(self, L, x, y, k):
        self.L, self.x, self.y, self.k = L, x, y, k

    def p(self, pts):
        return [(self.x + u * self.k, self.y + v * self.k) for (u, v) in pts]

    def poly(self, pts, fill=None):
        self.L.poly(self.p(pts), fill=fill)

    def line(self, pts, fill, width=1):
        self.L.line(self.p(pts), fill, width * self.k)

    def circle(self, cx, cy, r, fill=None):
        self.L.circle(self.x + cx * self.k, self.y + cy * self.k, r * self.k, fill=fill)

    def ellipse(self, x0, y0, x1, y1, fill=None):
        (a, b), (c, d) = self.p([(x0, y0), (x1, y1)])
        self.L.ellipse(a, b, c, d, fill=fill)

    def arc(self, cx, cy, r, a0, a1, fill, width=1):
        self.L.arc(self.x + cx * self.k, self.y + cy * self.k, r * self.k, a0, a1, fill, width * self.k)


def heron(L0, rng, x0, feet0, k=1.25):
    """A blue heron facing left, standing with its feet at (x0, feet0)
    under the water line: long legs, a deep blue body, an S-shaped neck."""
    blue = (40, 92, 196)
    blue_dk = (22, 52, 128)
    blue_lt = (104, 156, 232)
    neck = (122, 140, 210)
    pale = (206, 214, 236)
    leg = (200, 140, 60)
    L = Posed(L0, x0, feet0, k)
    # legs: one straight, one a little bent
    L.line([(20, -110), (8, -55), (4, 0)], pl.shade(leg, 0.8), 4.5)
    L.line([(30, -110), (36, -62), (44, -18), (40, 4)], leg, 5)
    L.line([(36, -62), (44, -18)], pl.shade(leg, 1.2), 1.8)
    # the rest of the bird is drawn 40 lower than its sketch
    L = Posed(L0, x0, feet0 + 40 * k, k)
    x, feet = 0, 0
    # body: a long teardrop, tail down at the back
    body = pk.bezier((x - 60, feet - 200), (x - 20, feet - 250), (x + 90, feet - 240), (x + 130, feet - 150),
                     24) + pk.bezier((x + 130, feet - 150), (x + 80, feet - 140), (x - 10, feet - 150),
                                     (x - 60, feet - 200), 24)
    L.poly(body, fill=blue)
    # the folded wing: lighter coverts, then long dark flight feathers
    wing = pk.bezier((x - 40, feet - 214), (x + 10, feet - 244), (x + 90, feet - 232), (x + 140, feet - 160),
                     24) + pk.bezier((x + 140, feet - 160), (x + 70, feet - 170), (x + 10, feet - 180),
                                     (x - 40, feet - 214), 24)
    L.poly(wing, fill=blue_lt)
    for k in range(7):
        t = k / 6
        px = x - 20 + t * 140
        py = feet - 232 + t * 60 + 10 * math.sin(t * 3)
        L.poly([(px - 10, py - 6), (px + 46, py + 30 - t * 12), (px + 50, py + 36 - t * 12), (px - 6, py + 6)],
               fill=pl.shade(blue_dk, 0.9 + 0.1 * (k % 2)))
    # scalloped feathers over the coverts
    for row in range(4):
        for j in range(9 - row):
            px = x - 20 + j * 12 + row * 10
            py = feet - 224 + row * 9 + j * 2.5
            L.arc(px, py, 6, 10, 170, pl.shade(blue_lt, 0.78), 1.2)
            L.arc(px, py - 1, 5, 20, 160, pl.shade(blue_lt, 1.18), 0.8)
    # soft belly shadow and breast plumes hanging in front
    L.poly(pk.bezier((x - 50, feet - 170), (x + 10, feet - 140), (x + 90, feet - 146), n=16) +
           [(x + 60, feet - 150), (x - 40, feet - 168)], fill=pl.shade(blue, 0.8))
    for j in range(16):
        sx = x - 58 + j * 3.4 + rng.uniform(-1.5, 1.5)
        ln = rng.uniform(16, 38)
        L.line(pk.bezier((sx, feet - 204 + j * 0.8), (sx - 10, feet - 190 + ln * 0.3),
                         (sx - 4 + j * 0.8, feet - 200 + ln), n=10),
               pl.mix(pale, neck, rng.uniform(0, 0.6)), rng.uniform(1.2, 2.2))
    # long back plumes over the tail
    for k in range(4):
        L.line(pk.bezier((x + 50 + k * 8, feet - 232), (x + 110, feet - 212 + k * 3), (x + 140 + k * 3, feet - 160 + k * 4), n=14),
               pl.mix(blue_lt, pale, 0.35), 1.2)
    # neck: a thick S from the breast to the head
    spine = pk.bezier((x - 44, feet - 206), (x - 110, feet - 240), (x - 20, feet - 300), (x - 70, feet - 330), 30)
    for k, (px, py) in enumerate(spine):
        t = k / len(spine)
        r = 17 - 8 * t
        L.circle(px, py, r, fill=neck)
    for k, (px, py) in enumerate(spine):
        t = k / len(spine)
        r = 17 - 8 * t
        L.circle(px + r * 0.4, py, r * 0.58, fill=pl.shade(neck, 0.8))
    for k, (px, py) in enumerate(spine):
        t = k / len(spine)
        r = 17 - 8 * t
        L.circle(px - r * 0.35, py + r * 0.1, r * 0.5, fill=pl.shade(pale, 0.95))
    # dark streaks down the front of the neck
    for k in range(3, len(spine) - 4, 3):
        px, py = spine[k]
        L.line([(px - 6, py - 2), (px - 4, py + 6)], (50, 60, 100), 1.4)
    # head, crest and beak
    hx, hy = x - 74, feet - 340
    L.ellipse(hx - 16, hy - 11, hx + 16, hy + 11, fill=neck)
    L.ellipse(hx - 14, hy - 4, hx + 8, hy + 10, fill=(244, 246, 250))
    L.poly([(hx - 12, hy - 8), (hx + 16, hy - 10), (hx + 40, hy - 16), (hx + 16, hy - 3), (hx - 8, hy - 2)],
           fill=(20, 24, 44))
    for k in range(3):
        L.line([(hx + 10, hy - 8), (hx + 40 + k * 10, hy - 4 + k * 6)], (30, 34, 60), 1.6 - k * 0.3)
    L.poly([(hx - 12, hy - 4), (hx - 70, hy + 4), (hx - 12, hy + 6)], fill=(240, 180, 40))
    L.line([(hx - 12, hy + 1), (hx - 66, hy + 4)], (150, 100, 30), 1)
    L.poly([(hx - 12, hy - 4), (hx - 70, hy + 4), (hx - 12, hy - 0.5)], fill=(255, 214, 90))
    L.circle(hx - 4, hy - 3, 3.4, fill=(250, 220, 60))
    L.circle(hx - 4, hy - 3, 1.7, fill=(10, 10, 10))
    L.circle(hx - 4.8, hy - 3.8, 0.6, fill=(255, 255, 255))


def canopy(L, rng, greens):
    """A bough crossing the top of the picture from the near trees, with
    sparse clumps of leaves and long beards of moss."""
    bark = (78, 64, 52)
    bough = pk.bezier((-20, 70), (300, -10), (700, -30), (1050, 60), 40)
    L.line(bough, bark, 9)
    L.line([(x, y - 3) for (x, y) in bough], pl.shade(bark, 1.3), 2.5)
    for k in range(2, 38, 2):
        bx, by = bough[k]
        tx, ty = bx + rng.uniform(-40, 40), by + rng.uniform(10, 40)
        L.line([(bx, by), ((bx + tx) / 2, (by + ty) / 2 - 6), (tx, ty)], bark, 3)
        if rng.random() < 0.7:
            rx = rng.uniform(22, 46)
            ry = rx * 0.45
            for _ in range(int(rx * 2.2)):
                a = rng.uniform(0, 2 * math.pi)
                rr = math.sqrt(rng.uniform(0, 1))
                dx, dy = math.cos(a) * rr * rx, math.sin(a) * rr * ry
                g = greens[int(np.clip(round((-dy / ry * 0.5 + 0.5) * 3 + rng.uniform(-0.7, 0.7)), 0, 3))]
                r = rng.uniform(0.08, 0.15) * rx
                L.ellipse(tx + dx - r * 1.3, ty + dy - r * 0.7, tx + dx + r * 1.3, ty + dy + r * 0.7,
                          fill=pl.jitter(g, rng, 0.06))
        for _ in range(int(rng.integers(2, 6))):
            mx, my = tx + rng.uniform(-25, 25), ty + rng.uniform(0, 10)
            ln = rng.uniform(30, 110)
            col = pl.jitter((150, 160, 138), rng, 0.08)
            for j in range(3):
                pts = [(mx + (j - 1) * 2.2 * (1 + i * 0.15) + math.sin(i * 0.7 + mx) * 2, my + ln * i / 10)
                       for i in range(11 - j * 3)]
                L.line(pts, pl.shade(col, 1.0 - 0.12 * j), 1.0)


def bluebird(L, x, y):
    """A small bright bluebird perched at (x, y), facing right."""
    blue, blue_lt, rust = (40, 100, 220), (90, 160, 250), (230, 120, 50)
    L.poly([(x - 12, y - 4), (x - 30, y + 10), (x - 28, y + 14), (x - 8, y + 4)], fill=pl.shade(blue, 0.7))
    L.ellipse(x - 16, y - 16, x + 14, y + 8, fill=blue)
    L.ellipse(x - 6, y - 8, x + 14, y + 8, fill=rust)
    L.ellipse(x - 2, y - 2, x + 12, y + 8, fill=(250, 236, 220))
    L.poly([(x - 14, y - 10), (x + 2, y - 12), (x - 2, y + 2), (x - 20, y + 4)], fill=blue_lt)
    for k in range(3):
        L.line([(x - 12 + k * 4, y - 6), (x - 20 + k * 4, y + 3)], pl.shade(blue, 0.7), 1)
    L.circle(x + 8, y - 18, 9, fill=blue)
    L.circle(x + 6, y - 21, 4, fill=blue_lt)
    L.poly([(x + 15, y - 20), (x + 22, y - 17), (x + 15, y - 15)], fill=(40, 36, 30))
    L.circle(x + 11, y - 19, 1.8, fill=(10, 10, 10))
    L.circle(x + 10.5, y - 19.6, 0.5, fill=(255, 255, 255))
    L.line([(x - 2, y + 6), (x - 3, y + 12)], (60, 50, 40), 1.2)
    L.line([(x + 4, y + 6), (x + 4, y + 12)], (60, 50, 40), 1.2)


def reeds(L, rng, x0, x1, base, n, hmax):
    for _ in range(n):
        x = rng.uniform(x0, x1)
        h = rng.uniform(0.4, 1.0) * hmax
        lean = rng.uniform(-0.25, 0.25)
        g = pl.jitter((96, 130, 50), rng, 0.2)
        pts = [(x + lean * h * (j / 8) ** 2, base - h * j / 8) for j in range(9)]
        L.line(pts, g, rng.uniform(1.5, 3.0))
        if rng.random() < 0.22:
            tx, ty = pts[-2]
            L.rrect(tx - 3.2, ty - 22, tx + 3.2, ty + 4, 3, fill=(110, 66, 36))
            L.rrect(tx - 2, ty - 20, tx - 0.5, ty + 2, 1, fill=(150, 96, 56))
            L.line([(tx, ty - 22), (tx, ty - 32)], g, 1.2)
    # broad iris leaves and a few purple flowers
    for _ in range(n // 4):
        x = rng.uniform(x0, x1)
        h = rng.uniform(0.3, 0.6) * hmax
        a = rng.uniform(-0.35, 0.35)
        g = pl.jitter((70, 120, 60), rng, 0.15)
        L.poly([(x - 4, base), (x + math.sin(a) * h, base - h), (x + 4, base)], fill=g)
        if rng.random() < 0.3:
            fx, fy = x + math.sin(a) * h * 0.8, base - h * 0.8
            for k in range(3):
                ang = k * 2 * math.pi / 3 - math.pi / 2
                L.ellipse(fx + math.cos(ang) * 6 - 5, fy + math.sin(ang) * 6 - 3, fx + math.cos(ang) * 6 + 5,
                          fy + math.sin(ang) * 6 + 3, fill=(130, 70, 190))
            L.circle(fx, fy, 2, fill=(250, 210, 60))


def dragonfly(c, x, y, ang, col=(60, 170, 200)):
    ca, sa = math.cos(ang), math.sin(ang)
    def P(u, v):
        return (x + u * ca - v * sa, y + u * sa + v * ca)
    for (u, s) in ((3, 1), (-2, 1), (3, -1), (-2, -1)):
        c.poly([P(u, 0), P(u - 3, s * 14), P(u + 3, s * 15)], fill=(230, 240, 250))
    c.line([P(-12, 0), P(8, 0)], col, 2.2)
    c.circle(*P(9, 0), 2.2, fill=pl.shade(col, 0.7))


# ------------------------------------------------------------- layout ---

def make(path):
    rng = np.random.default_rng(3131)
    c = pl.Canvas(W, H, S)
    sc.sky(c, rng, [(0.0, (150, 178, 200)), (0.5, (214, 214, 200)), (0.85, (246, 226, 184)),
                    (1.0, (250, 236, 200))],
           cloud_cover=0.56, cloud_cell=110, sun=(SUN[0], SUN[1], 18), horizon=WATER / H, wisps=0.5,
           warm_side=-0.5, mottle_amount=0.25)
    sc.birds(c, rng, 7, (150, 60, 560, 150), size=(4, 7), colour=(80, 84, 90))
    # rows of cypresses, the far ones pale in the mist
    far_g = [(86, 108, 84), (104, 126, 96), (124, 144, 108)]
    treeline(c, rng, 26, (-20, W + 20), WATER - 4, (120, 190), (0.45, 0.7), far_g, (100, 100, 96), 0.62,
             moss=True, detail=0.6)
    mist(c, rng, WATER - 110, WATER + 10, 0.7)
    mid_g = [(44, 72, 40), (62, 94, 50), (90, 122, 62), (118, 146, 76)]
    treeline(c, rng, 13, (-40, W + 40), WATER + 2, (220, 330), (0.5, 0.75), mid_g, (92, 78, 64), 0.35,
             moss=True, detail=0.9)
    mist(c, rng, WATER - 70, WATER + 14, 0.55, 80)
    sunbeams(c, rng)
    # the water mirrors all of it
    pk.reflect(c, WATER, ripple=1.8, rng=rng, tint=(40, 56, 40), tint_amount=0.35, darkness=0.8,
               streaks=0.1, wave_len=6)
    # light on the water under the sun, and slow rings
    arr = c.array()
    yy, xx = np.mgrid[0:H * S, 0:W * S].astype(np.float32)
    ww = np.clip((yy / S - WATER) / 40, 0, 1)
    glint = np.exp(-((xx / S - SUN[0]) / 90) ** 2) * np.exp(-(yy / S - WATER) / 160) * ww
    ripl = 0.5 + 0.5 * np.sin(yy / S * 1.3 + np.sin(xx / S * 0.05) * 2)
    arr += (glint * ripl * 70)[:, :, None] * np.array([1.0, 0.9, 0.65], np.float32)
    # darker, greener water towards the viewer
    dk = np.clip((yy / S - WATER) / (H - WATER), 0, 1) * ww
    arr *= (1 - 0.35 * dk)[:, :, None]
    c.set_array(arr)
    for _ in range(18):
        x, y = rng.uniform(0, W), rng.uniform(WATER + 10, H)
        r = rng.uniform(10, 40)
        k = 0.25 + 0.5 * (y - WATER) / (H - WATER)
        c.ellipse(x - r, y - r * k * 0.5, x + r, y + r * k * 0.5, outline=(170, 180, 160), width=0.8)
    # duckweed drifting in patches
    dw = pl.fbm(W, H, 60, rng, 4)
    for _ in range(2600):
        x, y = rng.uniform(0, W), rng.uniform(WATER + 6, H)
        if dw[int(y), int(x)] < 0.6:
            continue
        r = 0.6 + 1.6 * (y - WATER) / (H - WATER)
        c.ellipse(x - r, y - r * 0.5, x + r, y + r * 0.5, fill=pl.jitter((110, 150, 60), rng, 0.15))
    # lily pads, far to near, some flowering
    pads = []
    for _ in range(70):
        y = WATER + 8 + (H - WATER) * rng.uniform(0, 1) ** 0.8
        x = rng.uniform(-20, W + 20)
        if 380 < x < 650 and 560 < y < 660:     # the heron's water
            continue
        pads.append((y, x))
    pads.sort()
    for y, x in pads:
        r = 6 + (y - WATER) * 0.12 * rng.uniform(0.8, 1.3)
        lily_pad(c, rng, x, y, r)
        if rng.random() < 0.25:
            water_lily(c, rng, x + rng.uniform(-0.3, 0.3) * r, y - r * 0.05, r * 0.45,
                       [(250, 250, 244), (250, 200, 220), (255, 236, 240)][int(rng.integers(3))])

    # cypress knees standing out of the water
    for (x, y, h) in ((300, 560, 26), (340, 574, 18), (700, 548, 22), (760, 590, 30), (820, 556, 16),
                      (250, 600, 20), (690, 640, 24)):
        knee(c, rng, x, y, h)

    L = pk.layer(c)
    trunk_g = [(30, 52, 30), (44, 72, 40), (66, 98, 52), (94, 126, 66)]
    cypress(L, rng, 60, 620, 680, 300, trunk_g, (84, 68, 56), True, 1.2)
    cypress(L, rng, 975, 600, 640, 260, trunk_g, (80, 66, 54), True, 1.2)
    # a low branch out from the left tree for the bluebird
    L.line(pk.bezier((90, 330), (150, 320), (220, 300), n=16), (80, 64, 52), 7)
    L.line(pk.bezier((150, 322), (190, 300), (210, 280), n=10), (80, 64, 52), 3)
    for k in range(14):
        px = 120 + k * 7
        L.line([(px, 322 - k * 1.5), (px + 4, 336 + rng.uniform(0, 30))], (150, 160, 136), 1.2)
    bluebird(L, 180, 302)
    canopy(L, rng, trunk_g)
    pk.reflect_layer(c, L, 612, rng, ripple=2.5, alpha=0.6, fade=200)
    pk.compose(c, L)

    # the heron, reflected about its feet
    B = pk.layer(c)
    heron(B, rng, 520, 612)
    pk.reflect_layer(c, B, 612, rng, ripple=2.2, alpha=0.7, fade=220, darkness=0.75)
    # rings where the legs enter the water
    pk.compose(c, B)
    for (x, r) in ((524, 14), (560, 16)):
        for k in range(3):
            rr = r + k * 9
            c.ellipse(x - rr, 612 - rr * 0.22, x + rr, 612 + rr * 0.22, outline=(200, 206, 190), width=1.1 - k * 0.25)

    # reeds and cattails in the near corners, reflected too
    R = pk.layer(c)
    reeds(R, rng, -10, 200, 700, 110, 200)
    reeds(R, rng, 820, 1034, 690, 110, 210)
    reeds(R, rng, 250, 420, 758, 40, 120)
    reeds(R, rng, 640, 780, 760, 36, 110)
    pk.reflect_layer(c, R, 700, rng, ripple=2, alpha=0.5, fade=80)
    pk.compose(c, R)
    # a few big pads right in front
    for (x, y, r) in ((470, 742, 44), (560, 760, 34), (880, 750, 40)):
        lily_pad(c, rng, x, y, r)
    water_lily(c, rng, 478, 736, 18, (250, 220, 230))
    dragonfly(c, 330, 470, 0.3)
    dragonfly(c, 760, 420, -0.4, (200, 80, 60))
    # dust and midges lit by the sun
    lights = []
    for _ in range(40):
        x, y = rng.uniform(200, 1000), rng.uniform(200, 600)
        lights.append((x, y, rng.uniform(1.2, 2.5), (255, 240, 200), rng.uniform(0.4, 0.9)))
    pk.glow_many(c, lights)
    pk.vignette(c, 0.3, 2.2)
    return pk.finish(c, path, 35)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/bluebird.bkg")

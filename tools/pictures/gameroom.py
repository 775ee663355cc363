#!/usr/bin/python3
"""Built-in puzzle picture gameroom.bkg, "Hardwood Gameroom": a warm games
room with a beamed wooden ceiling, wallpaper over oak panelling and a plank
floor.  A pool table stands in the middle under a three-shade lamp; round it
are a dartboard cabinet, a cue rack, shelves of board games, a card table, a
chess table and a standard lamp.

The room is drawn in a simple one-point perspective (see P below): x to the
right, y up from the floor, z away from the viewer, all in metres."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw

import paintkit as pk
import picturelib as pl

W, H, S = 1024, 768, 2
F, HORIZON, EYE, VPX = 700.0, 160.0, 2.4, 512.0
WALL_Z = EYE * F / 340.0          # the back wall meets the floor at y = 500
CEIL = 3.1                        # ceiling height
FLOOR_Y = 500
WK = F / WALL_Z                   # pixels per metre on the back wall


def P(x, y, z):
    return (VPX + x * F / z, HORIZON + (EYE - y) * F / z)


def wall_y(height):
    return HORIZON + (EYE - height) * WK


CEIL_Y = wall_y(CEIL)             # about 61
RAIL_Y = wall_y(1.0)              # chair rail

OAK = (150, 94, 52)
MAHOGANY = (110, 48, 30)
WALNUT = (92, 58, 34)
FELT = (28, 118, 66)
BRASS = (214, 170, 80)


# ------------------------------------------------------------ the room ---

def ceiling(c, rng):
    """Boards running away from the viewer, crossed by dark beams."""
    Hc = int(math.ceil(CEIL_Y * S)) + 2
    yy, xx = np.mgrid[0:Hc, 0:W * S].astype(np.float32)
    y = (yy + 0.5) / S
    x = (xx + 0.5) / S
    z = (CEIL - EYE) * F / np.maximum(1.0, HORIZON - y)
    X = (x - VPX) * z / F
    bw = 0.16
    i = np.floor(X / bw).astype(np.int32)
    fx = X / bw - i
    tone = rng.uniform(0.82, 1.12, 200).astype(np.float32)
    t = tone[(i + 100) % 200]
    grain = pl.fbm(W * S // 8, 64, 3, rng, 3)
    gi = np.clip(((X + 4) / 8 * grain.shape[1]).astype(np.int32), 0, grain.shape[1] - 1)
    gz = np.clip(((z - 2.5) / 3.0 * 63).astype(np.int32), 0, 63)
    g = grain[gz, gi]
    f = t * (0.86 + 0.26 * g)
    f = np.where(fx < 0.06, 0.55, f)
    # beams every 0.9 m of depth, lit on the side facing the lamp
    bz = (z - 3.0) / 0.75
    fb = bz - np.floor(bz)
    beam = fb < 0.22
    f = np.where(beam, 0.62 + 0.10 * g, f)
    f = np.where((fb >= 0.22) & (fb < 0.27), 0.42, f)
    arr = np.empty((Hc, W * S, 3), np.float32)
    for k in range(3):
        arr[:, :, k] = WALNUT[k] * 1.05 * f
    # darker into the corners, lighter over the lamp
    light = 0.75 + 0.35 * np.exp(-((x - 512) / 380) ** 2)
    arr *= light[:, :, None]
    pk.paste_patch(c, arr, 0, 0)
    # crown moulding where the ceiling meets the wall
    y0 = CEIL_Y
    bands = [(0, 4, 0.55), (4, 8, 1.15), (8, 11, 0.75), (11, 16, 1.0), (16, 18, 0.5)]
    for a, b, f in bands:
        arr = pk.wood_patch(W, b - a, S, pl.shade(MAHOGANY, f * 1.25), rng, True, 5, 10, 0.15)
        pk.paste_patch(c, arr, 0, y0 + a)
    for k in range(0, W, 12):
        c.rect(k, y0 + 11, k + 6, y0 + 15, fill=pl.shade(MAHOGANY, 0.95))
        c.rect(k + 5, y0 + 11, k + 6, y0 + 15, fill=pl.shade(MAHOGANY, 0.6))


def wallpaper(c, rng):
    """Deep red stripes with a gold damask motif and a fine gold line."""
    y0, y1 = CEIL_Y + 18, RAIL_Y - 6
    w, h = W, int(y1 - y0) + 2
    im = Image.new("RGB", (w * S, h * S), (112, 30, 38))
    d = ImageDraw.Draw(im)
    sw = 64
    for k in range(-1, W // sw + 2):
        x = k * sw
        d.rectangle([x * S, 0, (x + 18) * S, h * S], fill=(98, 24, 32))
        d.line([((x + 9) * S, 0), ((x + 9) * S, h * S)], fill=(170, 120, 60), width=S)
        cx = x + 18 + (sw - 18) / 2.0
        for r in range(-1, h // 46 + 2):
            cy = r * 46 + (23 if k % 2 else 0)
            col = (150, 70, 54)
            # a four-petal flower with a diamond behind it
            d.polygon([(cx * S, (cy - 18) * S), ((cx + 13) * S, cy * S),
                       (cx * S, (cy + 18) * S), ((cx - 13) * S, cy * S)], fill=(124, 36, 42))
            for a in range(4):
                ang = a * math.pi / 2
                px, py = cx + math.cos(ang) * 7, cy + math.sin(ang) * 7
                d.ellipse([(px - 5) * S, (py - 5) * S, (px + 5) * S, (py + 5) * S], fill=col)
            d.ellipse([(cx - 3) * S, (cy - 3) * S, (cx + 3) * S, (cy + 3) * S], fill=(196, 150, 80))
            for s in (-1, 1):
                d.line([(cx * S, (cy + 18) * S), ((cx + s * 10) * S, (cy + 23) * S)],
                       fill=(150, 70, 54), width=S)
    arr = np.asarray(im, np.float32)
    n = pl.fbm(w * S, h * S, 90 * S, rng, 4)
    g = pl.fbm(w * S, h * S, 4 * S, rng, 2)
    arr *= (0.82 + 0.3 * n + 0.08 * g)[:, :, None]
    pk.paste_patch(c, arr, 0, y0)


def panelling(c, rng):
    """Chair rail, raised oak panels and a skirting board."""
    top = RAIL_Y - 6
    # the rail
    for a, b, f in [(0, 3, 1.3), (3, 8, 1.05), (8, 11, 0.7), (11, 13, 0.5)]:
        arr = pk.wood_patch(W, b - a, S, pl.shade(MAHOGANY, f * 1.2), rng, True, 6, 12, 0.15)
        pk.paste_patch(c, arr, 0, top + a)
    y0, y1 = top + 13, FLOOR_Y - 20
    back = pk.wood_patch(W, y1 - y0, S, pl.shade(OAK, 0.78), rng, False, 9, 30, 0.2)
    pk.paste_patch(c, back, 0, y0)
    pw = 116
    for k in range(-1, W // pw + 2):
        x0 = k * pw + 14
        x1 = x0 + pw - 28
        py0, py1 = y0 + 12, y1 - 12
        arr = pk.wood_patch(x1 - x0, py1 - py0, S, pl.jitter(OAK, rng, 0.06), rng, False,
                            rng.uniform(5, 8), rng.uniform(10, 18), 0.14)
        pk.paste_patch(c, arr, x0, py0)
        # bevels: light from the top left
        bv = 7
        c.poly([(x0, py0), (x1, py0), (x1 - bv, py0 + bv), (x0 + bv, py0 + bv)],
               fill=pl.shade(OAK, 1.25))
        c.poly([(x0, py0), (x0 + bv, py0 + bv), (x0 + bv, py1 - bv), (x0, py1)],
               fill=pl.shade(OAK, 1.08))
        c.poly([(x1, py0), (x1, py1), (x1 - bv, py1 - bv), (x1 - bv, py0 + bv)],
               fill=pl.shade(OAK, 0.62))
        c.poly([(x0, py1), (x1, py1), (x1 - bv, py1 - bv), (x0 + bv, py1 - bv)],
               fill=pl.shade(OAK, 0.52))
        c.rect(x0 - 3, py0 - 3, x1 + 3, py0 - 1, fill=pl.shade(OAK, 0.45))
        c.rect(x0 - 3, py1 + 1, x1 + 3, py1 + 3, fill=pl.shade(OAK, 1.15))
    # skirting
    for a, b, f in [(0, 3, 1.2), (3, 17, 0.72), (17, 20, 0.4)]:
        arr = pk.wood_patch(W, b - a, S, pl.shade(MAHOGANY, f), rng, True, 7, 12, 0.15)
        pk.paste_patch(c, arr, 0, y1 + a)


def floor(c, rng):
    """Oak boards running away from the viewer, in perspective, with a rug
    under the table."""
    y0 = FLOOR_Y
    Hf = (H - y0) * S
    yy, xx = np.mgrid[0:Hf, 0:W * S].astype(np.float32)
    y = y0 + (yy + 0.5) / S
    x = (xx + 0.5) / S
    z = EYE * F / (y - HORIZON)
    X = (x - VPX) * z / F
    pw = 0.145
    i = np.floor(X / pw).astype(np.int32)
    fx = X / pw - i
    off = rng.uniform(0, 1.3, 400).astype(np.float32)
    ii = (i + 200) % 400
    zz = (z + off[ii]) / 1.3
    j = np.floor(zz).astype(np.int32)
    fz = zz - j
    tone = rng.uniform(0.78, 1.16, (400, 16)).astype(np.float32)
    hue = rng.uniform(-0.06, 0.06, (400, 16)).astype(np.float32)
    t = tone[ii, j % 16]
    hh = hue[ii, j % 16]
    # grain: fine across the boards, long along them
    gw, gh = 1600, 2000
    grain = pl.fbm(gw // 4, gh, 3, rng, 3)
    grain = np.asarray(Image.fromarray(grain, "F").resize((gw, gh), Image.BICUBIC), np.float32)
    # indexed [x, z]: fine across the boards, long along them
    gx = np.clip(((X + 4.0) / 8.0 * (gh - 1)).astype(np.int32), 0, gh - 1)
    gz = (((z - 2.6) / 2.6 * (gw - 1)).astype(np.int32) + ii * 37) % gw
    g = grain[gx, gz]
    warp = pl.fbm(W * S, Hf, 40 * S, rng, 3)
    rings = (0.5 + 0.5 * np.sin((fx * 9.0 + warp * 2.5 + ii * 0.7) * math.pi)) ** 6
    f = t * (0.84 + 0.26 * g - 0.14 * rings)
    gap = (fx < 0.035) | (fz < 0.006 * (z / 3.0) ** -1)
    f = np.where(gap, 0.42, f)
    arr = np.empty((Hf, W * S, 3), np.float32)
    base = (156, 98, 54)
    for k in range(3):
        arr[:, :, k] = base[k] * f * (1 + hh * (1 - k))
    # the rug: a border of bands round a patterned field
    rx0, rx1, rz0, rz1 = -1.95, 1.95, 3.2, 4.75
    inside = (X > rx0) & (X < rx1) & (z > rz0) & (z < rz1)
    dx = np.minimum(X - rx0, rx1 - X)
    dz = np.minimum(z - rz0, rz1 - z)
    dd = np.minimum(dx, dz)
    rug = np.zeros_like(arr)
    red, navy, cream, gold = (138, 30, 34), (34, 40, 76), (214, 190, 150), (196, 140, 60)
    def put(mask, col):
        for k in range(3):
            rug[:, :, k] = np.where(mask, col[k], rug[:, :, k])
    put(np.ones_like(inside), red)
    put(dd < 0.30, navy)
    put((dd > 0.06) & (dd < 0.10), cream)
    put((dd > 0.22) & (dd < 0.25), gold)
    # zigzag in the border
    u = np.where(dx < dz, z, X)
    zig = np.abs(((u * 6.0) % 1.0) - 0.5) * 0.2 + 0.12
    put((dd > 0.10) & (dd < 0.22) & (np.abs(dd - zig - 0.02) < 0.025), gold)
    # field: a lattice of diamonds with small flowers
    ux, uz = X * 3.2, (z - 3.6) * 3.2
    lat = np.abs(((ux + uz) % 1.0) - 0.5) + np.abs(((ux - uz) % 1.0) - 0.5)
    put((dd >= 0.30) & (np.abs(lat - 0.5) < 0.05), cream)
    put((dd >= 0.30) & (lat < 0.16), gold)
    put((dd >= 0.30) & (lat > 0.9), navy)
    # fringe
    fr = (((X - rx0) * 60) % 1.0 < 0.5) & (z > rz1) & (z < rz1 + 0.05) & (X > rx0) & (X < rx1)
    rug_n = pl.fbm(W * S, Hf, 3 * S, rng, 2)
    rug *= (0.8 + 0.3 * rug_n)[:, :, None]
    m = inside[:, :, None]
    arr = np.where(m, rug, arr)
    arr = np.where(fr[:, :, None], np.array(cream, np.float32) * 0.9, arr)
    # a soft shine on the boards towards the light, darker at the sides
    shine = 0.78 + 0.32 * np.exp(-((x - 512) / 420) ** 2) - 0.10 * (y - y0) / (H - y0)
    arr *= shine[:, :, None]
    pk.paste_patch(c, arr, 0, y0)


# -------------------------------------------------------- on the walls ---

def dartboard(c, rng, cx, cy, R):
    order = [20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5]
    # cabinet: back board, frame and open doors with chalk scores
    x0, x1, y0, y1 = cx - R - 22, cx + R + 22, cy - R - 30, cy + R + 36
    arr = pk.wood_patch(x1 - x0, y1 - y0, S, MAHOGANY, rng, False, 8, 30, 0.2)
    pk.paste_patch(c, arr, x0, y0)
    cork = pl.textured((int((x1 - x0 - 16) * S), int((y1 - y0 - 16) * S)), (44, 36, 32), rng,
                       0.35, 3 * S, 3, 0.08)
    pk.paste_patch(c, cork, x0 + 8, y0 + 8)
    for k in range(9):
        # old dart holes round the board
        a = rng.uniform(0, 2 * math.pi)
        rr = R * rng.uniform(1.05, 1.3)
        c.circle(cx + math.cos(a) * rr, cy + math.sin(a) * rr, 0.8, fill=(14, 12, 10))
    for (dx0, dx1) in ((x0 - 66, x0 - 4), (x1 + 4, x1 + 66)):
        arr = pk.wood_patch(dx1 - dx0, y1 - y0, S, pl.shade(MAHOGANY, 1.1), rng, False, 8, 30, 0.2)
        pk.paste_patch(c, arr, dx0, y0)
        slate = pl.textured((int((dx1 - dx0 - 12) * S), int((y1 - y0 - 16) * S)), (44, 52, 48),
                            rng, 0.3, 12 * S, 4, 0.03)
        pk.paste_patch(c, slate, dx0 + 6, y0 + 8)
        c.line([(dx0 + 8, y0 + 30), (dx1 - 8, y0 + 30)], (200, 204, 196), 1)
        c.line([((dx0 + dx1) / 2, y0 + 14), ((dx0 + dx1) / 2, y1 - 14)], (200, 204, 196), 1)
    f = c.font("DejaVuSans-Bold.ttf", 10)
    fs = c.font("DejaVuSans.ttf", 9)
    lx, rx = x0 - 35, x1 + 35
    c.text((lx - 15, y0 + 22), "ANN", f, (230, 230, 220), anchor="mm")
    c.text((lx + 15, y0 + 22), "BEN", f, (230, 230, 220), anchor="mm")
    sc_l = [501, 441, 385, 300, 261, 180, 121, 60]
    sc_r = [501, 460, 401, 356, 320, 250, 226]
    for k, v in enumerate(sc_l):
        c.text((lx - 15, y0 + 42 + k * 17), str(v), fs, (226, 226, 216), anchor="mm")
    for k, v in enumerate(sc_r):
        c.text((lx + 15, y0 + 42 + k * 17), str(v), fs, (226, 226, 216), anchor="mm")
    c.text((rx, y0 + 22), "CRICKET", c.font("DejaVuSans-Bold.ttf", 8), (240, 230, 160), anchor="mm")
    for k, num in enumerate(["20", "19", "18", "17", "16", "15", "B"]):
        yy = y0 + 42 + k * 18
        c.text((rx, yy), num, fs, (230, 230, 220), anchor="mm")
        for s in (-1, 1):
            marks = int(rng.integers(0, 4))
            mx = rx + s * 20
            if marks >= 1:
                c.line([(mx - 4, yy - 4), (mx + 4, yy + 4)], (230, 220, 210), 1)
            if marks >= 2:
                c.line([(mx - 4, yy + 4), (mx + 4, yy - 4)], (230, 220, 210), 1)
            if marks >= 3:
                c.circle(mx, yy, 5.5, outline=(230, 220, 210), width=1)
    # the board
    c.circle(cx, cy, R + 4, fill=(20, 20, 22))
    black, cream, red, green = (28, 28, 30), (232, 216, 176), (200, 36, 40), (30, 130, 70)
    for k in range(20):
        a0 = -90 - 9 + k * 18
        base = black if k % 2 == 0 else cream
        ring = red if k % 2 == 0 else green
        c.pieslice(cx, cy, R * 0.72, a0, a0 + 18, fill=ring)
        c.pieslice(cx, cy, R * 0.66, a0, a0 + 18, fill=base)
        c.pieslice(cx, cy, R * 0.44, a0, a0 + 18, fill=ring)
        c.pieslice(cx, cy, R * 0.38, a0, a0 + 18, fill=base)
    c.circle(cx, cy, R * 0.09, fill=green)
    c.circle(cx, cy, R * 0.04, fill=red)
    for rr in (0.72, 0.66, 0.44, 0.38, 0.09):
        c.circle(cx, cy, R * rr, outline=(170, 170, 176), width=0.6)
    for k in range(20):
        a = math.radians(-90 - 9 + k * 18)
        c.line([(cx + math.cos(a) * R * 0.09, cy + math.sin(a) * R * 0.09),
                (cx + math.cos(a) * R * 0.72, cy + math.sin(a) * R * 0.72)], (170, 170, 176), 0.6)
    fn = c.font("DejaVuSans-Bold.ttf", R * 0.13)
    for k, num in enumerate(order):
        a = math.radians(-90 + k * 18)
        c.text((cx + math.cos(a) * R * 0.86, cy + math.sin(a) * R * 0.86), str(num), fn,
               (240, 240, 236), anchor="mm")
    # three darts
    for (dx, dy, col) in ((0.05, -0.55, (220, 40, 40)), (-0.15, -0.5, (40, 120, 220)),
                          (0.28, 0.05, (240, 200, 40))):
        tx, ty = cx + dx * R, cy + dy * R
        c.line([(tx, ty), (tx + 9, ty + 5)], (160, 160, 170), 2.2)
        c.line([(tx + 9, ty + 5), (tx + 20, ty + 11)], (50, 50, 56), 2.0)
        c.poly([(tx + 18, ty + 10), (tx + 30, ty + 8), (tx + 28, ty + 16)], fill=col)
        c.poly([(tx + 18, ty + 10), (tx + 24, ty + 20), (tx + 28, ty + 16)], fill=pl.shade(col, 0.7))


def cue_rack(c, rng, x0, x1, y0, y1):
    arr = pk.wood_patch(x1 - x0, y1 - y0, S, MAHOGANY, rng, False, 9, 30, 0.2)
    pk.paste_patch(c, arr, x0, y0)
    c.rect(x0, y0, x1, y0 + 4, fill=pl.shade(MAHOGANY, 1.3))
    c.rect(x0 - 4, y0 + 14, x1 + 4, y0 + 26, fill=pl.shade(MAHOGANY, 1.2))
    c.rect(x0 - 4, y0 + 24, x1 + 4, y0 + 27, fill=pl.shade(MAHOGANY, 0.6))
    c.rect(x0 - 4, y1 - 34, x1 + 4, y1 - 22, fill=pl.shade(MAHOGANY, 1.2))
    c.rect(x0 - 4, y1 - 22, x1 + 4, y1 - 19, fill=pl.shade(MAHOGANY, 0.6))
    n = 6
    wraps = [(30, 30, 34), (120, 30, 30), (30, 60, 120), (40, 40, 40), (90, 50, 20), (20, 90, 60)]
    for k in range(n):
        x = x0 + 10 + k * (x1 - x0 - 20) / (n - 1)
        # tapered cue: butt at the bottom, tip at the top
        c.poly([(x - 1.2, y0 + 8), (x + 1.2, y0 + 8), (x + 3.2, y1 - 24), (x - 3.2, y1 - 24)],
               fill=(222, 190, 130))
        c.poly([(x - 2.6, y1 - 110), (x + 2.6, y1 - 110), (x + 3.2, y1 - 24), (x - 3.2, y1 - 24)],
               fill=wraps[k])
        c.poly([(x - 2.3, y1 - 150), (x + 2.3, y1 - 150), (x + 2.6, y1 - 110), (x - 2.6, y1 - 110)],
               fill=(60, 30, 20))
        for j in range(4):
            yy = y1 - 146 + j * 9
            c.poly([(x - 2.2, yy), (x, yy - 6), (x + 2.2, yy)], fill=(230, 220, 200))
        c.rect(x - 1.3, y0 + 6, x + 1.3, y0 + 9, fill=(240, 240, 240))
        c.rect(x - 1.1, y0 + 4, x + 1.1, y0 + 6, fill=(60, 90, 160))
        c.line([(x + 1.4, y0 + 30), (x + 2.4, y1 - 30)], (255, 240, 200), 0.6)
    # chalk on the top shelf
    for k in range(3):
        cx = x0 + 14 + k * 12
        c.rect(cx, y0 + 6, cx + 8, y0 + 13, fill=(60, 110, 200))
        c.rect(cx, y0 + 6, cx + 8, y0 + 8, fill=(120, 170, 240))


def painting(c, rng, x0, y0, x1, y1):
    """A gilt-framed landscape: evening sky, hills, a lake and a sail."""
    fw = 10
    c.rect(x0 - fw, y0 - fw, x1 + fw, y1 + fw, fill=(150, 110, 40))
    for k in range(fw):
        col = pl.shade(BRASS, 0.7 + 0.5 * abs(math.sin(k * 0.7)))
        c.rect(x0 - fw + k, y0 - fw + k, x1 + fw - k, y1 + fw - k, outline=col, width=1)
    for k in range(0, int(x1 - x0) + 2 * fw, 8):
        c.circle(x0 - fw + k + 4, y0 - fw + 2.5, 1.6, fill=(250, 220, 130))
        c.circle(x0 - fw + k + 4, y1 + fw - 2.5, 1.6, fill=(120, 80, 30))
    w, h = x1 - x0, y1 - y0
    a = pk.grad_array(c, (250, 190, 120), (120, 140, 190), y0, y0 + h * 0.55)
    a = a[int(y0 * S):int(y1 * S), int(x0 * S):int(x1 * S)].copy()
    a *= (0.9 + 0.2 * pl.fbm(a.shape[1], a.shape[0], 14 * S, rng, 4))[:, :, None]
    pk.paste_patch(c, a, x0, y0)
    c.circle(x0 + w * 0.7, y0 + h * 0.42, h * 0.12, fill=(255, 230, 170))
    for k, col in enumerate([(110, 100, 140), (80, 96, 90), (60, 80, 56)]):
        pts = [(x0, y1)]
        for i in range(0, 41):
            xx = x0 + w * i / 40
            pts.append((xx, y0 + h * (0.45 + 0.09 * k) + math.sin(i * 0.4 + k * 2) * h * 0.06
                        + math.sin(i * 1.3 + k) * h * 0.02))
        pts.append((x1, y1))
        c.poly(pts, fill=col)
    c.rect(x0, y0 + h * 0.78, x1, y1, fill=(70, 100, 140))
    for k in range(12):
        yy = y0 + h * 0.8 + k * h * 0.017
        c.line([(x0 + rng.uniform(0, w * 0.5), yy), (x0 + rng.uniform(w * 0.5, w), yy)],
               (150, 160, 190), 0.8)
    c.poly([(x0 + w * 0.3, y0 + h * 0.78), (x0 + w * 0.3, y0 + h * 0.56), (x0 + w * 0.37, y0 + h * 0.76)],
           fill=(250, 246, 236))
    c.poly([(x0 + w * 0.25, y0 + h * 0.78), (x0 + w * 0.39, y0 + h * 0.78), (x0 + w * 0.36, y0 + h * 0.81),
            (x0 + w * 0.27, y0 + h * 0.81)], fill=(90, 50, 30))
    # a little brass picture light above
    c.rect(x0 + w * 0.3, y0 - fw - 12, x1 - w * 0.3, y0 - fw - 5, fill=BRASS)
    c.rect((x0 + x1) / 2 - 2, y0 - fw - 5, (x0 + x1) / 2 + 2, y0 - fw, fill=pl.shade(BRASS, 0.7))


def clock(c, cx, cy, r):
    c.circle(cx + 2, cy + 3, r + 4, fill=(40, 24, 16))
    c.circle(cx, cy, r + 4, fill=pl.shade(MAHOGANY, 1.2))
    c.circle(cx, cy, r, fill=(244, 236, 214))
    for k in range(60):
        a = math.radians(k * 6)
        r0 = r * (0.82 if k % 5 == 0 else 0.9)
        c.line([(cx + math.sin(a) * r0, cy - math.cos(a) * r0),
                (cx + math.sin(a) * r * 0.96, cy - math.cos(a) * r * 0.96)], (40, 40, 40),
               1.4 if k % 5 == 0 else 0.5)
    f = c.font("DejaVuSerif-Bold.ttf", r * 0.26)
    for k in range(1, 13):
        a = math.radians(k * 30)
        c.text((cx + math.sin(a) * r * 0.66, cy - math.cos(a) * r * 0.66), str(k), f,
               (30, 30, 30), anchor="mm")
    for (ang, ln, wd) in ((305, 0.5, 2.4), (40, 0.78, 1.5)):
        a = math.radians(ang)
        c.line([(cx, cy), (cx + math.sin(a) * r * ln, cy - math.cos(a) * r * ln)], (20, 20, 20), wd)
    c.circle(cx, cy, 2.2, fill=BRASS)


def sconce(c, x, y):
    c.rect(x - 6, y + 8, x + 6, y + 24, fill=pl.shade(BRASS, 0.85))
    c.line([(x, y + 16), (x, y - 2)], pl.shade(BRASS, 0.7), 2.5)
    c.poly([(x - 10, y - 20), (x + 10, y - 20), (x + 16, y + 4), (x - 16, y + 4)],
           fill=(242, 208, 150))
    c.poly([(x + 4, y - 20), (x + 10, y - 20), (x + 16, y + 4), (x + 8, y + 4)],
           fill=(220, 176, 120))
    c.line([(x - 16, y + 4), (x + 16, y + 4)], pl.shade(BRASS, 0.8), 1.4)


# --------------------------------------------------------- the shelves ---

GAMES = ["CASTLES", "RAILWAYS", "WORD TILES", "SEA BATTLE", "MOON BASE", "CHECKERS",
         "BACKGAMMON", "MAHJONG", "DOMINOES", "TRIVIA", "ISLANDS", "OLD MANOR", "DRAGON RACE",
         "FARMYARD", "STAR TRADE", "PIRATES", "JUNGLE", "MARBLES", "LUDO", "CROSSWORDS",
         "KINGDOMS", "BINGO", "ROBOTS", "DETECTIVE", "TOWERS", "OCEANS", "SNAKES", "VOLCANO",
         "ALPINE", "SAFARI", "KNIGHTS", "HARVEST", "COMETS", "BAZAAR", "LIGHTHOUSE", "BEES"]


def game_box(c, rng, x0, y0, x1, y1, name):
    hue = rng.uniform(0, 1)
    col = pk.hsv(hue, rng.uniform(0.45, 0.85), rng.uniform(0.55, 0.92))
    c.rect(x0, y0, x1, y1, fill=col)
    c.rect(x0, y0, x1, y0 + 1.5, fill=pl.shade(col, 1.3))
    c.rect(x0, y1 - 1.5, x1, y1, fill=pl.shade(col, 0.55))
    h = y1 - y0
    style = int(rng.integers(4))
    accent = pk.hsv(hue + rng.choice([0.5, 0.15, -0.2]), 0.7, 0.95)
    if style == 0:
        c.rect(x0, y0 + h * 0.2, x0 + (x1 - x0) * 0.22, y1 - h * 0.2, fill=accent)
    elif style == 1:
        for k in range(int((x1 - x0) / 10)):
            c.rect(x0 + k * 10, y0 + 2, x0 + k * 10 + 4, y0 + 4, fill=accent)
    elif style == 2:
        c.rect(x1 - (x1 - x0) * 0.18, y0, x1, y1, fill=(240, 236, 224))
        c.circle(x1 - (x1 - x0) * 0.09, (y0 + y1) / 2, min(h * 0.3, 5), fill=accent)
    else:
        c.line([(x0, y1 - 3), (x1, y1 - 3)], accent, 1.2)
    fs = max(6, min(h * 0.58, 12))
    f = c.font("DejaVuSansCondensed-Bold.ttf", fs)
    while fs > 5 and f.getlength(name) > (x1 - x0 - 8) * S:
        fs -= 0.5
        f = c.font("DejaVuSansCondensed-Bold.ttf", fs)
    light = sum(col) > 420
    c.text(((x0 + x1) / 2, (y0 + y1) / 2), name, f, (30, 24, 20) if light else (250, 246, 230),
           anchor="mm")


def shelves(c, rng, x0, x1, y0, y1):
    arr = pk.wood_patch(x1 - x0, y1 - y0, S, pl.shade(WALNUT, 0.75), rng, False, 9, 30, 0.2)
    pk.paste_patch(c, arr, x0, y0)
    side = 14
    for sx in (x0, x1 - side):
        arr = pk.wood_patch(side, y1 - y0, S, pl.shade(WALNUT, 1.25), rng, False, 6, 20, 0.2)
        pk.paste_patch(c, arr, sx, y0)
    c.rect(x1 - side, y0, x1 - side + 2, y1, fill=pl.shade(WALNUT, 0.6))
    arr = pk.wood_patch(x1 - x0 + 16, 16, S, pl.shade(WALNUT, 1.3), rng, True, 6, 12, 0.2)
    pk.paste_patch(c, arr, x0 - 8, y0 - 12)
    n = 5
    gi = 0
    ix0, ix1 = x0 + side, x1 - side
    for s in range(n):
        top = y0 + 6 + s * (y1 - y0 - 6) / n
        bot = top + (y1 - y0 - 6) / n - 10
        # darker at the back of the shelf, under the board above
        for k in range(12):
            c.rect(ix0, top + k, ix1, top + k + 1, fill=pl.shade(WALNUT, 0.35 + k * 0.03))
        x = ix0 + 4
        while x < ix1 - 20:
            kind = rng.random()
            if kind < 0.55:
                # a stack of flat boxes
                bw = rng.uniform(70, 110)
                bw = min(bw, ix1 - 4 - x)
                if bw < 40:
                    break
                yb = bot
                while True:
                    bh = rng.uniform(12, 22)
                    if yb - bh < top + 10:
                        break
                    inset = rng.uniform(0, 6)
                    game_box(c, rng, x + inset, yb - bh, x + bw - 6 + inset * 0.5, yb,
                             GAMES[gi % len(GAMES)])
                    gi += 1
                    yb -= bh
                x += bw + 4
            elif kind < 0.85:
                # boxes standing on end
                for _ in range(int(rng.integers(2, 5))):
                    bw = rng.uniform(12, 20)
                    if x + bw > ix1 - 4:
                        break
                    bt = top + rng.uniform(4, 18)
                    hue = rng.uniform(0, 1)
                    col = pk.hsv(hue, 0.7, rng.uniform(0.55, 0.9))
                    c.rect(x, bt, x + bw, bot, fill=col)
                    c.rect(x + bw - 2, bt, x + bw, bot, fill=pl.shade(col, 0.6))
                    c.rect(x + 2, bt + 6, x + bw - 3, bt + 12, fill=pk.hsv(hue + 0.5, 0.5, 0.95))
                    c.rect(x + 2, bot - 14, x + bw - 3, bot - 6, fill=(240, 236, 220))
                    x += bw + 1
                x += 5
            else:
                # an ornament: a jar of dice, a trophy or a puzzle cube
                what = int(rng.integers(3))
                if what == 0 and x + 36 < ix1:
                    c.rect(x + 4, bot - 38, x + 32, bot, fill=(180, 200, 210))
                    for k in range(14):
                        dx = x + 7 + (k % 4) * 6 + rng.uniform(-1, 1)
                        dy = bot - 6 - (k // 4) * 6 + rng.uniform(-1, 1)
                        dc = pk.hsv(rng.uniform(0, 1), 0.8, 0.95)
                        c.rect(dx, dy - 5, dx + 5, dy, fill=dc)
                        c.circle(dx + 2.5, dy - 2.5, 0.8, fill=(255, 255, 255))
                    c.rect(x + 2, bot - 44, x + 34, bot - 38, fill=(120, 80, 40))
                    c.rect(x + 6, bot - 36, x + 9, bot - 4, fill=(230, 240, 246))
                    x += 40
                elif what == 1 and x + 34 < ix1:
                    c.rect(x + 6, bot - 8, x + 28, bot, fill=(60, 40, 30))
                    c.rect(x + 14, bot - 24, x + 20, bot - 8, fill=BRASS)
                    c.pieslice(x + 17, bot - 36, 12, 0, 180, fill=BRASS)
                    c.rect(x + 5, bot - 40, x + 29, bot - 36, fill=pl.shade(BRASS, 1.15))
                    c.arc(x + 5, bot - 32, 5, 90, 270, pl.shade(BRASS, 0.8), 1.6)
                    c.arc(x + 29, bot - 32, 5, 270, 90, pl.shade(BRASS, 0.8), 1.6)
                    c.line([(x + 12, bot - 38), (x + 12, bot - 28)], (255, 240, 180), 1)
                    x += 38
                elif x + 26 < ix1:
                    cols = [(220, 30, 30), (250, 250, 250), (40, 90, 220), (250, 200, 20),
                            (30, 160, 60), (250, 120, 20)]
                    for i in range(3):
                        for j in range(3):
                            c.rect(x + 4 + i * 7, bot - 22 + j * 7, x + 10 + i * 7, bot - 16 + j * 7,
                                   fill=cols[int(rng.integers(6))])
                    x += 30
                else:
                    x += 10
        # the shelf board with its lit front edge
        arr = pk.wood_patch(ix1 - ix0, 10, S, pl.shade(WALNUT, 1.2), rng, True, 5, 8, 0.2)
        pk.paste_patch(c, arr, ix0, bot)
        c.rect(ix0, bot, ix1, bot + 1.5, fill=pl.shade(WALNUT, 1.6))


# ---------------------------------------------------------- the table ---

def ball_sprite(num, r):
    """A pool ball of radius r final pixels, shaded, as an RGBA sprite."""
    cols = {1: (250, 200, 20), 2: (20, 60, 190), 3: (220, 30, 30), 4: (100, 30, 140),
            5: (250, 110, 10), 6: (20, 130, 60), 7: (130, 30, 30), 8: (20, 20, 22)}
    size = 2 * r + 2
    im, d = pk.sprite(size, size, S)
    ctr = size / 2 * S
    R = r * S
    base = (246, 244, 236) if num == 0 or num > 8 else cols[num]
    band = cols[num - 8] if num > 8 else None
    d.ellipse([ctr - R, ctr - R, ctr + R, ctr + R], fill=base + (255,))
    if band:
        m = Image.new("L", im.size, 0)
        md = ImageDraw.Draw(m)
        md.ellipse([ctr - R, ctr - R, ctr + R, ctr + R], fill=255)
        strip = Image.new("L", im.size, 0)
        ImageDraw.Draw(strip).rectangle([0, ctr - R * 0.55, im.size[0], ctr + R * 0.55], fill=255)
        from PIL import ImageChops
        m = ImageChops.multiply(m, strip)
        im.paste(band + (255,), (0, 0), m)
    if num:
        d.ellipse([ctr - R * 0.45, ctr - R * 0.5, ctr + R * 0.45, ctr + R * 0.4], fill=(250, 250, 246, 255))
        f = pl.font("DejaVuSans-Bold.ttf", R * 0.6)
        d.text((ctr, ctr - R * 0.05), str(num), font=f, fill=(20, 20, 20, 255), anchor="mm")
    # shading: light from above, a bright spot up and left
    a = np.asarray(im, np.float32).copy()
    yy, xx = np.mgrid[0:im.size[1], 0:im.size[0]].astype(np.float32)
    dx, dy = (xx - ctr) / R, (yy - ctr) / R
    sh = np.clip(1.1 - 0.55 * np.sqrt((dx + 0.35) ** 2 + (dy + 0.45) ** 2), 0.35, 1.1)
    a[:, :, :3] *= sh[:, :, None]
    spec = np.exp(-(((dx + 0.35) ** 2 + (dy + 0.45) ** 2) / 0.03))
    a[:, :, :3] += spec[:, :, None] * 200
    return Image.fromarray(pl.clamp8(a), "RGBA")


TOP = 0.80
TX, TZ0, TZ1 = 1.42, 3.0, 4.3
RAIL, CUSH = 0.11, 0.05


def pool_table(c, rng):
    # shadow on the rug under the table
    sh = [P(-1.6, 0, 2.95), P(1.6, 0, 2.95), P(1.5, 0, 4.4), P(-1.5, 0, 4.4)]
    pk.soft_shadow(c, [sh], 0.55, 10)
    # back legs, then front legs
    for z in (4.2, 3.1):
        for x in (-1.28, 1.28):
            leg(c, rng, x, z)
    # a stretcher between the front legs
    a, b = P(-1.28, 0.16, 3.1), P(1.28, 0.16, 3.1)
    c.rect(a[0], a[1] - 5, b[0], b[1] + 5, fill=pl.shade(MAHOGANY, 0.7))
    c.rect(a[0], a[1] - 5, b[0], a[1] - 3, fill=pl.shade(MAHOGANY, 1.1))
    # front apron
    fl, fr = P(-TX, TOP, TZ0), P(TX, TOP, TZ0)
    bl, br = P(-TX, 0.56, TZ0), P(TX, 0.56, TZ0)
    arr = pk.wood_patch(fr[0] - fl[0], bl[1] - fl[1], S, MAHOGANY, rng, True, 6, 10, 0.15)
    pk.paste_patch(c, arr, fl[0], fl[1])
    x0, x1, y0, y1 = fl[0], fr[0], fl[1], bl[1]
    c.rect(x0, y0, x1, y0 + 4, fill=pl.shade(MAHOGANY, 1.4))
    c.rect(x0, y1 - 6, x1, y1, fill=pl.shade(MAHOGANY, 0.55))
    # carved panels and brass corner caps on the apron
    for k in range(6):
        px0 = x0 + 30 + k * (x1 - x0 - 60) / 6 + 6
        px1 = px0 + (x1 - x0 - 60) / 6 - 12
        c.rect(px0, y0 + 12, px1, y1 - 12, outline=pl.shade(MAHOGANY, 0.6), width=2)
        c.rect(px0 + 2, y0 + 14, px1 + 1, y1 - 11, outline=pl.shade(MAHOGANY, 1.3), width=1)
        mx, my = (px0 + px1) / 2, (y0 + y1) / 2 + 1
        c.poly([(mx - 12, my), (mx, my - 8), (mx + 12, my), (mx, my + 8)], fill=pl.shade(MAHOGANY, 1.3))
        c.poly([(mx - 7, my), (mx, my - 4), (mx + 7, my), (mx, my + 4)], fill=pl.shade(MAHOGANY, 0.7))
        inlay = [(250, 200, 20), (20, 60, 190), (220, 30, 30), (100, 30, 140), (250, 110, 10),
                 (20, 130, 60)][k]
        c.circle(mx, my, 3.2, fill=inlay)
        c.circle(mx - 1, my - 1, 1.0, fill=(255, 255, 240))
        for s2 in (-1, 1):
            c.line([(mx + s2 * 16, my), (mx + s2 * (px1 - px0) / 2 - s2 * 6, my)],
                   pl.shade(MAHOGANY, 0.65 + 0.1 * k), 1.2)
            c.circle(mx + s2 * (px1 - px0) * (0.2 + 0.04 * k), my - 7, 1.3, fill=pl.shade(MAHOGANY, 1.4))
    for xx in (x0, x1 - 26):
        c.rect(xx, y0, xx + 26, y1, fill=pl.shade(MAHOGANY, 0.85))
        c.rect(xx + 4, y0 + 6, xx + 22, y1 - 6, fill=pl.shade(MAHOGANY, 1.15))
        c.circle(xx + 13, (y0 + y1) / 2, 5, fill=BRASS)
        c.circle(xx + 12, (y0 + y1) / 2 - 1, 2, fill=(255, 236, 170))
    # rails (wood), top view in perspective
    def quad(xa, xb, za, zb):
        return [P(xa, TOP, za), P(xb, TOP, za), P(xb, TOP, zb), P(xa, TOP, zb)]
    outer = quad(-TX, TX, TZ0, TZ1)
    bx0, by0 = P(-TX, TOP, TZ1)
    rail_arr = pk.wood_patch(fr[0] - fl[0] + 4, fl[1] - by0 + 4, S, pl.shade(MAHOGANY, 1.2), rng,
                             True, 6, 14, 0.25)
    pk.paste_patch(c, rail_arr, fl[0], by0, [outer])
    c.line([outer[0], outer[1]], pl.shade(MAHOGANY, 1.6), 2)
    c.line([outer[3], outer[2]], pl.shade(MAHOGANY, 0.7), 1)
    # cushions
    ix, iz0, iz1 = TX - RAIL, TZ0 + RAIL, TZ1 - RAIL
    c.poly(quad(-ix, ix, iz0, iz1), fill=(20, 84, 46))
    # felt with light pools under the shades
    fx, fz0, fz1 = ix - CUSH, iz0 + CUSH, iz1 - CUSH
    felt_pts = quad(-fx, fx, fz0, fz1)
    fa = np.empty((H * S, W * S, 3), np.float32)
    fa[:] = FELT
    n = pk.noise_field(c, rng, 6, 3, 0.06)
    fa *= n[:, :, None]
    c.set_array(c.array())
    m = pk.poly_mask(c, [felt_pts])
    # lighting
    yy, xx = np.mgrid[0:H * S, 0:W * S].astype(np.float32)
    light = np.full((H * S, W * S), 0.62, np.float32)
    for lx in (-0.75, 0.0, 0.75):
        px, py = P(lx, TOP, 3.65)
        light += 0.55 * np.exp(-(((xx / S - px) / 95) ** 2 + ((yy / S - py) / 38) ** 2))
    fa *= light[:, :, None]
    c.paste_array(fa, m)
    # the cushion noses throw a shade onto the felt along the far side
    c.poly([P(-fx, TOP, fz1), P(fx, TOP, fz1), P(fx, TOP, fz1 - 0.04), P(-fx, TOP, fz1 - 0.04)],
           fill=(22, 90, 50))
    # head string and spot
    hx = -fx + 2 * fx * 0.25
    c.line([P(hx, TOP, fz0), P(hx, TOP, fz1)], (60, 150, 96), 0.8)
    c.circle(*P(fx * 0.5, TOP, (fz0 + fz1) / 2), 1.5, fill=(220, 230, 220))
    # pockets
    for (px, pz) in ((-ix, iz0), (ix, iz0), (-ix, iz1), (ix, iz1), (0, iz0 - 0.02), (0, iz1 + 0.02)):
        cx, cy = P(px, TOP, pz)
        s = F / pz
        rx, ry = 0.052 * s, 0.03 * s
        c.ellipse(cx - rx - 3, cy - ry - 2, cx + rx + 3, cy + ry + 3, fill=pl.shade(BRASS, 0.8))
        c.ellipse(cx - rx, cy - ry, cx + rx, cy + ry, fill=(10, 10, 10))
    # sights along the rails
    for k in range(1, 8):
        if k == 4:
            continue
        x = -ix + 2 * ix * k / 8
        for z in (TZ0 + RAIL * 0.5, TZ1 - RAIL * 0.5):
            cx, cy = P(x, TOP, z)
            c.poly([(cx - 3, cy), (cx, cy - 1.6), (cx + 3, cy), (cx, cy + 1.6)], fill=(240, 236, 220))
    for k in (1, 2, 3):
        z = iz0 + (iz1 - iz0) * k / 4
        for x in (-TX + RAIL * 0.5, TX - RAIL * 0.5):
            cx, cy = P(x, TOP, z)
            c.poly([(cx - 2.5, cy), (cx, cy - 1.3), (cx + 2.5, cy), (cx, cy + 1.3)], fill=(240, 236, 220))
    # balls in play
    br = 0.042
    spots = [(0, -0.98, 3.78), (1, 0.35, 3.9), (9, 0.52, 3.72), (3, 0.9, 3.45), (11, 0.75, 3.98),
             (5, -0.2, 3.35), (14, 0.1, 4.0), (6, 1.05, 3.85), (8, 0.62, 3.55), (2, -0.45, 3.95),
             (12, -0.95, 3.3), (15, 0.3, 3.42), (4, 1.12, 3.6), (13, -0.55, 3.45), (7, 0.95, 4.05),
             (10, -0.1, 3.75)]
    spots.sort(key=lambda t: -t[2])
    shadows = []
    for (num, x, z) in spots:
        cx, cy = P(x, TOP, z)
        r = br * F / z
        shadows.append((cx - r * 0.9, cy - r * 0.25, cx + r * 1.3, cy + r * 0.45))
    pk.shadow_ellipses(c, shadows, 0.5, 1.5)
    for (num, x, z) in spots:
        cx, cy = P(x, TOP + br, z)
        r = br * F / z
        pk.paste_sprite(c, ball_sprite(num, r), cx, cy)
    # the cue lying on the table, and chalk on the rail
    a, b = P(-1.15, TOP + 0.04, 3.42), P(-0.2, TOP + 0.03, 4.1)
    c.line([(a[0] + 3, a[1] + 4), (b[0] + 3, b[1] + 3)], (16, 60, 34), 5)
    c.line([a, b], (228, 196, 136), 4)
    mid = (a[0] + (b[0] - a[0]) * 0.25, a[1] + (b[1] - a[1]) * 0.25)
    c.line([a, mid], (40, 24, 16), 5)
    c.line([b, (b[0] - 3, b[1] + 2)], (50, 90, 160), 4)
    cx, cy = P(1.25, TOP + 0.02, TZ0 + 0.05)
    c.rect(cx - 6, cy - 8, cx + 6, cy + 2, fill=(50, 100, 200))
    c.rect(cx - 6, cy - 8, cx + 6, cy - 5, fill=(120, 170, 240))
    # a wooden triangle set down on the far rail end
    tpts = [P(1.05, TOP + 0.01, TZ1 - 0.06), P(1.32, TOP + 0.01, TZ1 - 0.2),
            P(1.32, TOP + 0.01, TZ1 - 0.03)]
    c.poly(tpts, outline=pl.shade(WALNUT, 1.5), width=3)


def leg(c, rng, x, z):
    top, bot = P(x, 0.58, z), P(x, 0.0, z)
    s = F / z
    w = 0.075 * s
    cx = top[0]
    prof = [(0.0, 1.0), (0.08, 1.15), (0.14, 0.8), (0.3, 0.95), (0.45, 1.2), (0.6, 0.9),
            (0.78, 0.7), (0.9, 0.85), (1.0, 1.1)]
    ys = [top[1] + (bot[1] - top[1]) * t for t, _ in prof]
    left = [(cx - w * f, y) for (t, f), y in zip(prof, ys)]
    right = [(cx + w * f, y) for (t, f), y in reversed(list(zip(prof, ys)))]
    c.poly(left + right, fill=pl.shade(MAHOGANY, 0.9))
    hl = [(cx - w * f * 0.6, y) for (t, f), y in zip(prof, ys)]
    hr = [(cx - w * f * 0.15, y) for (t, f), y in reversed(list(zip(prof, ys)))]
    c.poly(hl + hr, fill=pl.shade(MAHOGANY, 1.3))
    sr = [(cx + w * f * 0.45, y) for (t, f), y in zip(prof, ys)]
    sr2 = [(cx + w * f, y) for (t, f), y in reversed(list(zip(prof, ys)))]
    c.poly(sr + sr2, fill=pl.shade(MAHOGANY, 0.6))
    for y in ys[1:-1]:
        c.line([(cx - w * 1.1, y), (cx + w * 1.1, y)], pl.shade(MAHOGANY, 0.5), 0.8)
    c.rect(cx - w * 1.25, bot[1] - 4, cx + w * 1.25, bot[1], fill=BRASS)


def lamp(c, rng):
    """Three green glass shades on a brass bar, hung on chains."""
    z = 3.65
    ybar = 1.66
    l, r = P(-1.0, ybar, z), P(1.0, ybar, z)
    for x in (-0.9, 0.9):
        px, py = P(x, ybar, z)
        for k in range(int(py / 6)):
            yy = py - k * 6
            if k % 2:
                c.ellipse(px - 1.2, yy - 3.5, px + 1.2, yy + 0.5, outline=pl.shade(BRASS, 0.8), width=1)
            else:
                c.ellipse(px - 2.2, yy - 3.5, px + 2.2, yy + 0.5, outline=pl.shade(BRASS, 0.95), width=1)
    c.rect(l[0], l[1] - 4, r[0], l[1] + 4, fill=pl.shade(BRASS, 0.9))
    c.rect(l[0], l[1] - 4, r[0], l[1] - 2, fill=pl.shade(BRASS, 1.25))
    c.circle(l[0], l[1], 6, fill=BRASS)
    c.circle(r[0], r[1], 6, fill=BRASS)
    for x in (-0.75, 0.0, 0.75):
        cx, cy = P(x, 1.46, z)
        top = l[1] + 4
        c.rect(cx - 2, top, cx + 2, cy - 26, fill=pl.shade(BRASS, 0.8))
        # shade: a dome of green glass, lighter where the bulb shines through
        sw = 40
        pts = [(cx - 9, cy - 28)] + [(cx + math.sin(t) * sw * (0.25 + 0.75 * t / (math.pi / 2)),
                                       cy - 28 + 28 * (1 - math.cos(t)))
                                      for t in np.linspace(0, math.pi / 2, 12)]
        pts = [(cx - 9, cy - 28), (cx + 9, cy - 28)] + \
              [(cx + 9 + (sw - 9) * math.sin(t), cy - 28 + 28 * (t / (math.pi / 2)) ** 1.5)
               for t in np.linspace(0.1, math.pi / 2, 10)] + \
              [(cx - 9 - (sw - 9) * math.sin(t), cy - 28 + 28 * (t / (math.pi / 2)) ** 1.5)
               for t in np.linspace(math.pi / 2, 0.1, 10)]
        c.poly(pts, fill=(24, 96, 52))
        inner = [(px * 0.75 + cx * 0.25 - 6, py * 0.9 + (cy - 28) * 0.1) for (px, py) in pts]
        c.poly(inner, fill=(44, 140, 76))
        c.poly([(cx - 14, cy - 26), (cx - 7, cy - 26), (cx - 20, cy - 3), (cx - 27, cy - 3)],
               fill=(110, 200, 130))
        c.rect(cx - sw - 1, cy - 2, cx + sw + 1, cy + 2, fill=BRASS)
        c.ellipse(cx - sw + 4, cy - 1, cx + sw - 4, cy + 8, fill=(255, 246, 200))
        c.ellipse(cx - 10, cy - 1, cx + 10, cy + 7, fill=(255, 255, 240))
        c.rect(cx - 8, cy - 30, cx + 8, cy - 27, fill=pl.shade(BRASS, 1.2))


def card_table(c, rng):
    cx, cy = P(-1.95, 0.74, 3.0)
    # pedestal going out of the picture
    pk.soft_shadow(c, [[(cx - 150, 700), (cx + 150, 700), (cx + 150, 790), (cx - 150, 790)]], 0.3, 20)
    c.poly([(cx - 24, cy + 40), (cx + 24, cy + 40), (cx + 34, H), (cx - 34, H)], fill=pl.shade(MAHOGANY, 0.7))
    c.poly([(cx - 10, cy + 40), (cx + 2, cy + 40), (cx - 2, H), (cx - 18, H)], fill=pl.shade(MAHOGANY, 1.1))
    rx, ry = 150, 72
    c.ellipse(cx - rx, cy - ry + 14, cx + rx, cy + ry + 14, fill=pl.shade(MAHOGANY, 0.55))
    arr = pk.wood_patch(2 * rx, 2 * ry, S, pl.shade(MAHOGANY, 1.25), rng, True, 6, 20, 0.22)
    pk.paste_patch(c, arr, cx - rx, cy - ry, ellipses=[(cx - rx, cy - ry, cx + rx, cy + ry)])
    frx, fry = rx - 18, ry - 10
    fa = pl.textured((int(2 * frx * S), int(2 * fry * S)), (30, 104, 60), rng, 0.12, 8 * S, 3)
    pk.paste_patch(c, fa, cx - frx, cy - fry, ellipses=[(cx - frx, cy - fry, cx + frx, cy + fry)])
    # cards dealt round the table, some face up
    def card(x, y, ang, face=None):
        im, d = pk.sprite(26, 36, S)
        d.rounded_rectangle([0, 0, 26 * S - 1, 36 * S - 1], radius=3 * S, fill=(250, 250, 246, 255),
                            outline=(120, 120, 120, 255))
        if face is None:
            d.rounded_rectangle([2 * S, 2 * S, 24 * S, 34 * S], radius=2 * S, fill=(160, 30, 40, 255))
            for k in range(0, 26 * S, 4 * S):
                d.line([(2 * S + k, 2 * S), (2 * S, 2 * S + k)], fill=(200, 80, 90, 255), width=1)
                d.line([(24 * S - k, 34 * S), (24 * S, 34 * S - k)], fill=(200, 80, 90, 255), width=1)
        else:
            rank, suit, col = face
            f = pl.font("DejaVuSans-Bold.ttf", 9 * S)
            d.text((3 * S, 2 * S), rank, font=f, fill=col + (255,))
            f2 = pl.font("DejaVuSans.ttf", 16 * S)
            d.text((13 * S, 21 * S), suit, font=f2, fill=col + (255,), anchor="mm")
        im = im.resize((im.size[0], int(im.size[1] * 0.55)), Image.LANCZOS)
        pk.paste_sprite(c, im, x, y, ang, shadow=(1.5, 2, 1.5, 0.5))
    red, blk = (200, 20, 30), (20, 20, 24)
    for k in range(5):
        card(cx - 92 + k * 6, cy - 6 + k * 1.5, 70 - k * 8)
        card(cx + 80 + k * 6, cy - 20 + k * 2, -60 + k * 7)
        card(cx - 30 + k * 7, cy - 44 + k * 0.5, 5 - k * 4)
    for k, face in enumerate([("A", "\u2660", blk), ("K", "\u2665", red), ("Q", "\u2666", red),
                              ("J", "\u2663", blk), ("10", "\u2665", red)]):
        card(cx - 40 + k * 20, cy + 36, 6 - k * 3, face)
    # chips in stacks and a pair of dice
    chips = [((200, 30, 30), cx + 40, cy + 6, 6), ((30, 70, 180), cx + 62, cy + 10, 4),
             ((240, 240, 236), cx + 52, cy - 2, 8), ((20, 20, 20), cx - 64, cy + 18, 5),
             ((30, 140, 60), cx - 50, cy + 28, 3), ((200, 30, 30), cx + 22, cy + 20, 2)]
    for col, x, y, n in chips:
        for k in range(n):
            yy = y - k * 3
            c.ellipse(x - 10, yy - 4, x + 10, yy + 4, fill=pl.shade(col, 0.7))
            c.ellipse(x - 10, yy - 5.5, x + 10, yy + 2.5, fill=col)
            for j in range(6):
                a = j * math.pi / 3 + k
                c.rect(x + math.cos(a) * 8 - 1.2, yy - 1.5 + math.sin(a) * 3.2 - 1,
                       x + math.cos(a) * 8 + 1.2, yy - 1.5 + math.sin(a) * 3.2 + 1,
                       fill=(250, 250, 250) if col != (240, 240, 236) else (200, 40, 40))
        c.ellipse(x - 6, y - n * 3 - 3.5, x + 6, y - n * 3 + 0.5, outline=pl.shade(col, 1.3), width=1)
    for (dx, dy, pips) in ((cx + 100, cy + 24, 5), (cx + 114, cy + 30, 3)):
        c.poly([(dx, dy), (dx + 10, dy - 3), (dx + 14, dy + 4), (dx + 4, dy + 7)], fill=(250, 250, 246))
        c.poly([(dx, dy), (dx + 4, dy + 7), (dx + 4, dy + 13), (dx, dy + 6)], fill=(200, 200, 196))
        c.poly([(dx + 4, dy + 7), (dx + 14, dy + 4), (dx + 14, dy + 10), (dx + 4, dy + 13)],
               fill=(226, 226, 220))
        for p in range(pips):
            c.circle(dx + 4 + (p % 3) * 3, dy + 1 + (p // 3) * 2.5 + (p % 3) * -0.8, 0.9, fill=(20, 20, 20))


def chair(c, rng, x, z, side=False):
    seat = P(x, 0.46, z)
    s = F / z
    w = 0.22 * s
    col = pl.shade(MAHOGANY, 0.85)
    cx, cy = seat
    # back uprights and rails
    for sx in (-w, w):
        c.rect(cx + sx - 4, cy - 0.5 * s, cx + sx + 4, cy + 0.46 * s, fill=col)
        c.rect(cx + sx - 4, cy - 0.5 * s, cx + sx - 1, cy + 0.46 * s, fill=pl.shade(col, 1.3))
    for k in range(3):
        yy = cy - 0.45 * s + k * 0.13 * s
        c.rect(cx - w, yy, cx + w, yy + 0.05 * s, fill=pl.shade(col, 1.1))
        c.rect(cx - w, yy + 0.04 * s, cx + w, yy + 0.05 * s, fill=pl.shade(col, 0.6))
    c.rect(cx - w - 6, cy - 4, cx + w + 6, cy + 8, fill=(120, 30, 30))
    c.rect(cx - w - 6, cy - 4, cx + w + 6, cy - 1, fill=(170, 60, 50))


def chess_table(c, rng):
    x0, x1, z0, z1, y = 1.5, 2.1, 2.55, 3.15, 0.72
    fl, fr, br, bl = P(x0, y, z0), P(x1, y, z0), P(x1, y, z1), P(x0, y, z1)
    # legs and apron
    for (lx, lz) in ((x0 + 0.04, z1 - 0.04), (x1 - 0.04, z1 - 0.04), (x0 + 0.04, z0 + 0.04), (x1 - 0.04, z0 + 0.04)):
        a, b = P(lx, y, lz), P(lx, 0, lz)
        c.rect(a[0] - 6, a[1], a[0] + 6, b[1], fill=pl.shade(WALNUT, 0.8))
        c.rect(a[0] - 6, a[1], a[0] - 2, b[1], fill=pl.shade(WALNUT, 1.2))
    a2 = P(x0, y - 0.1, z0)
    c.poly([fl, fr, (fr[0], a2[1]), (fl[0], a2[1])], fill=pl.shade(WALNUT, 0.9))
    c.rect(fl[0], a2[1] - 4, fr[0], a2[1], fill=pl.shade(WALNUT, 0.6))
    c.rect(fl[0] + 30, fl[1] + 10, fl[0] + 60, fl[1] + 16, fill=BRASS)
    c.poly([fl, fr, br, bl], fill=pl.shade(WALNUT, 1.2))
    # the board
    m = 0.05
    sq = (x1 - x0 - 2 * m) / 8
    for i in range(8):
        for j in range(8):
            xa, za = x0 + m + i * sq, z0 + m + j * sq
            col = (232, 210, 168) if (i + j) % 2 == 0 else (120, 70, 40)
            c.poly([P(xa, y, za), P(xa + sq, y, za), P(xa + sq, y, za + sq), P(xa, y, za + sq)],
                   fill=pl.jitter(col, rng, 0.04))
    # pieces: a few of each side in mid-game
    pieces = [(0, 0, "R", 0), (4, 0, "K", 0), (2, 1, "P", 0), (5, 1, "P", 0), (3, 2, "N", 0),
              (6, 1, "P", 0), (1, 0, "B", 0), (7, 0, "R", 0),
              (3, 7, "K", 1), (0, 7, "R", 1), (4, 5, "Q", 1), (2, 6, "P", 1), (6, 6, "P", 1),
              (5, 4, "N", 1), (1, 6, "P", 1), (7, 6, "P", 1), (4, 3, "P", 0)]
    pieces.sort(key=lambda p: -p[1])
    for (i, j, kind, side) in pieces:
        px, py = P(x0 + m + (i + 0.5) * sq, y, z0 + m + (j + 0.5) * sq)
        s = F / (z0 + m + (j + 0.5) * sq) * sq
        col = (246, 240, 226) if side == 0 else (40, 30, 28)
        hi = pl.shade(col, 1.2) if side == 0 else (110, 90, 80)
        h = {"P": 0.9, "R": 1.2, "N": 1.25, "B": 1.35, "Q": 1.55, "K": 1.65}[kind] * s
        w = 0.32 * s
        c.ellipse(px - w * 1.2, py - w * 0.5, px + w * 1.2, py + w * 0.4, fill=pl.shade(col, 0.75))
        c.poly([(px - w, py - 1), (px - w * 0.5, py - h * 0.7), (px + w * 0.5, py - h * 0.7), (px + w, py - 1)], fill=col)
        c.poly([(px - w, py - 1), (px - w * 0.5, py - h * 0.7), (px - w * 0.2, py - h * 0.7), (px - w * 0.4, py - 1)], fill=hi)
        if kind == "P":
            c.circle(px, py - h * 0.8, w * 0.55, fill=col)
        elif kind == "R":
            c.rect(px - w * 0.7, py - h, px + w * 0.7, py - h * 0.68, fill=col)
            c.rect(px - w * 0.15, py - h, px + w * 0.15, py - h * 0.88, fill=pl.shade(col, 0.6))
        elif kind == "N":
            c.poly([(px - w * 0.6, py - h * 0.65), (px - w * 0.6, py - h), (px + w * 0.9, py - h * 0.82),
                    (px + w * 0.3, py - h * 0.65)], fill=col)
        elif kind == "B":
            c.ellipse(px - w * 0.5, py - h, px + w * 0.5, py - h * 0.62, fill=col)
            c.circle(px, py - h * 1.03, w * 0.16, fill=col)
        else:
            c.ellipse(px - w * 0.7, py - h * 0.9, px + w * 0.7, py - h * 0.66, fill=col)
            if kind == "K":
                c.rect(px - w * 0.1, py - h * 1.1, px + w * 0.1, py - h * 0.88, fill=col)
                c.rect(px - w * 0.3, py - h * 1.03, px + w * 0.3, py - h * 0.97, fill=col)
            else:
                for k in range(5):
                    c.circle(px - w * 0.55 + k * w * 0.27, py - h * 0.93, w * 0.12, fill=col)


def fern(c, rng, x, z):
    """A fern in a brass-banded wooden tub, standing in the corner."""
    base = P(x, 0, z)
    s = F / z
    tw, th = 0.24 * s, 0.5 * s
    bx, by = base
    pk.shadow_ellipses(c, [(bx - tw * 1.4, by - 8, bx + tw * 1.6, by + 8)], 0.5, 4)
    fronds = []
    for k in range(34):
        a = rng.uniform(-2.8, -0.3)
        ln = rng.uniform(0.6, 1.15) * s
        fronds.append((a, ln))
    fronds.sort(key=lambda t: -abs(t[0] + 1.55))
    top = by - th
    for a, ln in fronds:
        droop = rng.uniform(0.3, 0.7)
        pts = []
        for i in range(13):
            t = i / 12
            pts.append((bx + math.cos(a) * ln * t, top + math.sin(a) * ln * t + droop * ln * t * t))
        g = pl.jitter((58, 120, 46), rng, 0.18)
        c.line(pts, pl.shade(g, 0.6), 1.6)
        for i in range(1, 12):
            (x0, y0), (x1, y1) = pts[i], pts[i + 1]
            ang = math.atan2(y1 - y0, x1 - x0)
            leaf = (1 - i / 13) * 0.09 * s + 2
            for sgn in (-1, 1):
                la = ang + sgn * 1.1
                c.line([(x0, y0), (x0 + math.cos(la) * leaf, y0 + math.sin(la) * leaf)],
                       pl.shade(g, 1.0 + 0.15 * sgn), 1.8)
    arr = pk.wood_patch(2 * tw, th, S, pl.shade(WALNUT, 1.3), rng, False, 6, 8, 0.2)
    pk.paste_patch(c, arr, bx - tw, top, [[(bx - tw, top), (bx + tw, top), (bx + tw * 0.8, by),
                                           (bx - tw * 0.8, by)]])
    for t in (0.15, 0.8):
        yy = top + th * t
        c.rect(bx - tw * (1 - 0.2 * t) - 1, yy - 3, bx + tw * (1 - 0.2 * t) + 1, yy + 3, fill=BRASS)
    c.rect(bx - tw - 2, top - 4, bx + tw + 2, top + 2, fill=pl.shade(WALNUT, 0.9))
    c.rect(bx + tw * 0.3, top, bx + tw * 0.8, by, fill=pl.shade(WALNUT, 0.7))


def floor_lamp(c, x, z):
    base, top = P(x, 0, z), P(x, 1.45, z)
    s = F / z
    pk.shadow_ellipses(c, [(base[0] - 40, base[1] - 8, base[0] + 30, base[1] + 8)], 0.5, 4)
    c.ellipse(base[0] - 22, base[1] - 7, base[0] + 22, base[1] + 5, fill=pl.shade(BRASS, 0.6))
    c.ellipse(base[0] - 20, base[1] - 9, base[0] + 20, base[1] + 2, fill=BRASS)
    c.rect(base[0] - 2.5, top[1], base[0] + 2.5, base[1] - 5, fill=pl.shade(BRASS, 0.85))
    c.rect(base[0] - 2.5, top[1], base[0] - 1, base[1] - 5, fill=(255, 230, 160))
    for t in (0.3, 0.6):
        yy = top[1] + (base[1] - top[1]) * t
        c.ellipse(base[0] - 5, yy - 3, base[0] + 5, yy + 3, fill=BRASS)
    w0, w1, hh = 0.15 * s, 0.26 * s, 0.30 * s
    cx, cy = top
    c.poly([(cx - w0, cy - hh), (cx + w0, cy - hh), (cx + w1, cy), (cx - w1, cy)], fill=(246, 214, 156))
    for k in range(9):
        t = k / 8
        c.line([(cx - w0 + 2 * w0 * t, cy - hh), (cx - w1 + 2 * w1 * t, cy)], (226, 186, 126), 1)
    c.poly([(cx + w0 * 0.3, cy - hh), (cx + w0, cy - hh), (cx + w1, cy), (cx + w1 * 0.4, cy)],
           fill=(222, 180, 120))
    c.rect(cx - w1, cy - 3, cx + w1, cy, fill=(170, 60, 40))
    c.rect(cx - w0, cy - hh, cx + w0, cy - hh + 3, fill=(170, 60, 40))
    c.ellipse(cx - w1 + 4, cy - 2, cx + w1 - 4, cy + 6, fill=(255, 240, 200))


def make(path):
    rng = np.random.default_rng(2024)
    c = pl.Canvas(W, H, S)
    ceiling(c, rng)
    wallpaper(c, rng)
    panelling(c, rng)
    floor(c, rng)
    # things on the back wall
    dartboard(c, rng, 150, 232, 58)
    cue_rack(c, rng, 300, 372, 120, 346)
    painting(c, rng, 450, 120, 574, 222)
    clock(c, 660, 150, 30)
    sconce(c, 420, 210)
    sconce(c, 604, 210)
    shelves(c, rng, 768, 1024 + 14, 96, FLOOR_Y - 2)
    # the warm light of the room falling on the walls
    pk.glow_many(c, [(420, 196, 70, (120, 80, 30), 0.9), (604, 196, 70, (120, 80, 30), 0.9),
                     (512, 172, 90, (60, 40, 10), 0.5), (150, 150, 120, (50, 30, 10), 0.5),
                     (512, 330, 300, (50, 36, 14), 0.6)])
    fern(c, rng, -3.05, 4.75)
    chair(c, rng, -1.95, 3.75)
    pool_table(c, rng)
    lamp(c, rng)
    floor_lamp(c, 2.5, 3.95)
    chess_table(c, rng)
    card_table(c, rng)
    pk.glow_many(c, [(368, 338, 40, (120, 110, 70), 0.6), (512, 338, 40, (120, 110, 70), 0.6),
                     (656, 338, 40, (120, 110, 70), 0.6)])
    pk.vignette(c, 0.35, 2.0)
    return pk.finish(c, path)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/gameroom.bkg")

#!/usr/bin/python3
"""A texture sheet for the mine field's background chooser, textures.bkg:
320 x 320 pixels, 5 x 5 textures of 64 x 64, each of which repeats
seamlessly when the game lays it over the whole board.  Texture k stands
at column k mod 5, row k div 5:

     0 red sand      1 white marble   2 green marble  3 granite       4 slate
     5 oak           6 rosewood       7 cork          8 leather       9 denim
    10 brushed steel 11 patina       12 gold leaf    13 circuit      14 carbon weave
    15 grass        16 moss          17 water        18 lava         19 ice
    20 stars        21 nebula        22 clouds       23 brick        24 dark tiles

Every texture is drawn periodic, at four times its size on a 3 x 3 copy of
itself, then reduced; the middle copy is kept, so its edges meet.
JPEG data, quality 92.

Usage: field_textures.py DATA_DIR
"""
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import picturelib as pl

TS = 64          # texture size
K = 4            # supersampling
M = TS * K       # working size of one texture


def fbm(rng, cells, octaves=4, sx=1, sy=1):
    """Periodic fractal noise over one texture, normalised to 0..1: `cells`
    lattice cells across at the coarsest octave (sx, sy stretch it)."""
    yy, xx = np.mgrid[0:M, 0:M].astype(np.float32) / M
    total = np.zeros((M, M), np.float32)
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        cx = max(1, int(round(cells * sx * 2 ** o)))
        cy = max(1, int(round(cells * sy * 2 ** o)))
        lattice = rng.random((cy, cx)).astype(np.float32)
        total += amp * per_at(lattice, xx * cx, yy * cy)
        norm += amp
        amp *= 0.5
    total /= norm
    lo, hi = float(total.min()), float(total.max())
    return (total - lo) / max(1e-6, hi - lo)


def per_at(v, u, w):
    """Lattice values v (rows, columns) interpolated at (u, w) in lattice
    cells, wrapping round."""
    ph, pw = v.shape
    iu, iw = np.floor(u), np.floor(w)
    fu, fw = u - iu, w - iw
    fu = fu * fu * (3 - 2 * fu)
    fw = fw * fw * (3 - 2 * fw)
    i0 = iu.astype(np.int64) % pw
    j0 = iw.astype(np.int64) % ph
    i1, j1 = (i0 + 1) % pw, (j0 + 1) % ph
    a = v[j0, i0] + (v[j0, i1] - v[j0, i0]) * fu
    b = v[j1, i0] + (v[j1, i1] - v[j1, i0]) * fu
    return a + (b - a) * fw


def ramp(v, stops):
    out = np.empty(v.shape + (3,), np.float32)
    xs = [s[0] for s in stops]
    for ch in range(3):
        out[..., ch] = np.interp(v, xs, [s[1][ch] for s in stops])
    return out


def lit(height, strength):
    """Shading factor of a periodic height field lit from the upper left."""
    gx = (np.roll(height, -1, 1) - np.roll(height, 1, 1)) * 0.5
    gy = (np.roll(height, -1, 0) - np.roll(height, 1, 0)) * 0.5
    return 1.0 + np.clip(-(gx + gy) * strength, -0.6, 0.6)


YY, XX = np.mgrid[0:M, 0:M].astype(np.float32) / M      # 0..1 across a texture


def t_sand(rng):
    n = fbm(rng, 4, 5)
    rip = np.sin((YY * 6 + n * 1.6) * 2 * math.pi) * 0.5 + 0.5
    v = 0.6 * n + 0.3 * rip + 0.1 * fbm(rng, 32, 2)
    return ramp(v, [(0, (128, 44, 22)), (0.5, (184, 84, 44)), (1, (226, 136, 84))])


def marble(rng, stops, veins=(40, 40, 40)):
    n = fbm(rng, 3, 5)
    v = np.abs(np.sin((XX * 2 + YY * 1 + n * 2.5) * math.pi * 2))
    base = ramp(fbm(rng, 2, 4), stops)
    vein = np.clip(1 - v * 6, 0, 1) ** 1.5
    return base * (1 - 0.7 * vein[..., None]) + np.array(veins, np.float32) * 0.7 * vein[..., None]


def t_marble_white(rng):
    return marble(rng, [(0, (214, 212, 206)), (1, (246, 244, 240))], (120, 116, 120))


def t_marble_green(rng):
    return marble(rng, [(0, (20, 70, 48)), (1, (48, 120, 84))], (200, 230, 210))


def speckle(rng, lo, hi, dark, light):
    a = ramp(fbm(rng, 4, 3), [(0, lo), (1, hi)])
    sp = fbm(rng, 64, 1)
    a = np.where((sp < 0.25)[..., None], np.array(dark, np.float32), a)
    a = np.where((sp > 0.8)[..., None], np.array(light, np.float32), a)
    return a


def t_granite(rng):
    return speckle(rng, (110, 110, 116), (150, 150, 156), (40, 40, 46), (210, 206, 200))


def t_slate(rng):
    n = fbm(rng, 2, 5, sx=1, sy=4)
    a = ramp(n, [(0, (40, 52, 70)), (0.5, (66, 80, 100)), (1, (96, 110, 128))])
    return a * lit(fbm(rng, 4, 4, sy=2) * 40, 1.0)[..., None]


def wood(rng, stops, rings=6):
    n = fbm(rng, 2, 4, sx=1, sy=2)
    g = np.sin((YY * rings + n * 2.0) * 2 * math.pi) * 0.5 + 0.5
    fine = fbm(rng, 2, 4, sx=1, sy=32)
    return ramp(0.5 * g ** 2 + 0.3 * fine + 0.2 * n, stops)


def t_oak(rng):
    return wood(rng, [(0, (120, 78, 40)), (0.5, (170, 120, 70)), (1, (206, 160, 104))])


def t_rosewood(rng):
    return wood(rng, [(0, (46, 12, 8)), (0.5, (110, 34, 22)), (1, (168, 68, 40))], rings=4)


def t_cork(rng):
    a = ramp(fbm(rng, 8, 3), [(0, (150, 104, 60)), (1, (204, 160, 106))])
    holes = fbm(rng, 24, 2)
    return a * (1 - 0.45 * np.clip((0.3 - holes) * 6, 0, 1))[..., None]


def t_leather(rng):
    n = fbm(rng, 8, 3)
    cells = np.abs(n - 0.5) < 0.04
    a = ramp(fbm(rng, 2, 3), [(0, (92, 50, 26)), (1, (128, 72, 38))])
    a *= lit(n * 30, 1.0)[..., None]
    return a * (1 - 0.35 * cells[..., None])


def t_denim(rng):
    tw = np.sin((XX * 64 + YY * 64) * math.pi) * 0.5 + 0.5
    n = fbm(rng, 4, 4, sx=1, sy=8)
    v = 0.5 * tw + 0.5 * n
    return ramp(v, [(0, (30, 48, 92)), (0.6, (52, 76, 128)), (1, (120, 140, 180))])


def t_steel(rng):
    n = fbm(rng, 1, 6, sx=1, sy=64)
    return ramp(n, [(0, (120, 124, 132)), (1, (196, 200, 208))])


def t_patina(rng):
    n = fbm(rng, 4, 5)
    c = ramp(n, [(0, (150, 84, 40)), (0.45, (120, 90, 60)), (0.55, (70, 150, 130)),
                 (1, (130, 206, 184))])
    return c


def t_gold(rng):
    n = fbm(rng, 2, 3)
    cr = fbm(rng, 8, 2)
    a = ramp(n, [(0, (170, 120, 30)), (0.5, (226, 180, 70)), (1, (255, 230, 140))])
    return a * (1 - 0.3 * (np.abs(cr - 0.5) < 0.02))[..., None]


def t_circuit(rng):
    a = ramp(fbm(rng, 4, 3), [(0, (16, 70, 36)), (1, (28, 96, 50))])
    g = ((np.abs((XX * 4 % 1) - 0.5) < 0.05) | (np.abs((YY * 4 % 1) - 0.25) < 0.05))
    a = np.where(g[..., None], np.array((200, 160, 70), np.float32), a)
    d = np.sqrt(((XX * 4 % 1) - 0.5) ** 2 + ((YY * 4 % 1) - 0.25) ** 2)
    a = np.where((d < 0.12)[..., None], np.array((220, 190, 100), np.float32), a)
    return np.where((d < 0.05)[..., None], np.array((10, 20, 10), np.float32), a)


def t_carbon(rng):
    u, v = XX * 8, YY * 8
    over = ((np.floor(u) + np.floor(v)) % 2).astype(np.float32)
    fu = np.sin((u % 1) * math.pi)
    fv = np.sin((v % 1) * math.pi)
    shine = over * fv + (1 - over) * fu
    return np.full((M, M, 3), 22, np.float32) + (shine * 50)[..., None]


def t_grass(rng):
    n = fbm(rng, 2, 3)
    blades = fbm(rng, 32, 2, sx=1, sy=0.25)
    v = 0.4 * n + 0.6 * blades
    return ramp(v, [(0, (24, 70, 16)), (0.5, (60, 130, 30)), (1, (140, 196, 60))])


def t_moss(rng):
    v = fbm(rng, 8, 4)
    return ramp(v, [(0, (30, 50, 12)), (0.5, (76, 110, 30)), (1, (136, 160, 60))]) * \
        lit(v * 40, 1.0)[..., None]


def t_water(rng):
    n = fbm(rng, 2, 3)
    w = (np.sin((XX * 3 + YY * 2 + n) * 2 * math.pi) + np.sin((XX * -2 + YY * 4 + n * 1.5) * 2 *
                                                               math.pi)) * 0.25 + 0.5
    a = ramp(w, [(0, (10, 50, 100)), (0.6, (30, 100, 160)), (1, (170, 220, 250))])
    return a


def t_lava(rng):
    n = fbm(rng, 4, 5)
    cr = np.clip(1 - np.abs(n - 0.5) * 12, 0, 1)
    a = ramp(fbm(rng, 8, 3), [(0, (30, 20, 18)), (1, (60, 40, 34))])
    return a * (1 - cr[..., None]) + ramp(cr, [(0, (160, 20, 0)), (0.6, (255, 120, 10)),
                                              (1, (255, 240, 140))]) * cr[..., None]


def t_ice(rng):
    n = fbm(rng, 4, 5)
    cr = (np.abs(fbm(rng, 4, 3) - 0.5) < 0.02).astype(np.float32)
    a = ramp(n, [(0, (150, 200, 230)), (1, (230, 246, 255))])
    return a * (1 - 0.2 * cr[..., None]) + 40 * cr[..., None]


def t_stars(rng):
    a = ramp(fbm(rng, 2, 3), [(0, (2, 2, 10)), (1, (14, 10, 30))])
    img = Image.fromarray(pl.clamp8(a), "RGB")
    d = ImageDraw.Draw(img)
    for _ in range(18):
        x, y = rng.uniform(0, M, 2)
        r = rng.uniform(0.5, 2.0) * K * 0.5
        b = int(rng.uniform(120, 255))
        for ox in (-M, 0, M):
            for oy in (-M, 0, M):
                d.ellipse([x + ox - r, y + oy - r, x + ox + r, y + oy + r], fill=(b, b, min(255, b + 20)))
    return np.asarray(img, np.float32)


def t_nebula(rng):
    n = fbm(rng, 2, 5)
    m = fbm(rng, 3, 4)
    return ramp(n, [(0, (10, 4, 30)), (0.5, (70, 20, 100)), (1, (230, 110, 190))]) * \
        (0.6 + 0.6 * m)[..., None]


def t_clouds(rng):
    n = fbm(rng, 2, 5)
    return ramp(n, [(0, (60, 120, 210)), (0.5, (120, 170, 230)), (0.75, (230, 240, 250)),
                    (1, (255, 255, 255))])


def t_brick(rng):
    a = ramp(fbm(rng, 8, 3), [(0, (140, 50, 36)), (1, (180, 80, 56))])
    rows = np.floor(YY * 4)
    off = (rows % 2) * 0.25
    bx = ((XX + off) * 2) % 1
    by = (YY * 4) % 1
    mortar = (bx < 0.06) | (by < 0.12)
    a = np.where(mortar[..., None], np.array((190, 180, 164), np.float32), a)
    edge = np.clip(1 - np.minimum(by - 0.12, 1 - by) * 20, 0, 1) * (~mortar)
    return a * (1 - 0.2 * edge[..., None])


def t_dark_tiles(rng):
    c = ((np.floor(XX * 4) + np.floor(YY * 4)) % 2).astype(np.float32)
    a = np.full((M, M, 3), 34, np.float32) + (c * 22)[..., None]
    a[..., 2] += 12
    gx, gy = (XX * 4) % 1, (YY * 4) % 1
    bev = np.clip(1 - np.minimum(gx, gy) * 14, 0, 1) - np.clip(1 - np.minimum(1 - gx, 1 - gy) * 14,
                                                                0, 1)
    return a + (bev * 26)[..., None] + (fbm(rng, 8, 3) * 10)[..., None]


TEXTURES = [t_sand, t_marble_white, t_marble_green, t_granite, t_slate,
            t_oak, t_rosewood, t_cork, t_leather, t_denim,
            t_steel, t_patina, t_gold, t_circuit, t_carbon,
            t_grass, t_moss, t_water, t_lava, t_ice,
            t_stars, t_nebula, t_clouds, t_brick, t_dark_tiles]


def make_textures(path):
    sheet = Image.new("RGB", (5 * TS, 5 * TS))
    for k, fn in enumerate(TEXTURES):
        rng = np.random.default_rng(700 + k)
        a = pl.clamp8(fn(rng))
        big = np.tile(a, (3, 3, 1))
        small = Image.fromarray(big, "RGB").resize((3 * TS, 3 * TS), Image.LANCZOS)
        sheet.paste(small.crop((TS, TS, 2 * TS, 2 * TS)), ((k % 5) * TS, (k // 5) * TS))
    sheet.save(path, "JPEG", quality=92, subsampling=0, optimize=True)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "data"
    make_textures(os.path.join(out, "textures.bkg"))

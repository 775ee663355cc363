#!/usr/bin/python3
"""The mine field's twelve tile sets, each written as PNG data under its
.hfd name.  tilekit.py describes the layout of a set.

    rosewood.hfd  polished rosewood with flower inlays, maple cleared squares
    electron.hfd  circuit board, numbers glowing on black glass
    hotmetal.hfd  mirror domes on hot steel, numbers of glowing metal
    stone3d.hfd   granite blocks with a stone knob, numbers inlaid in sandstone
    darkcirc.hfd  dark ringed discs, numbers in bright rings
    radglow.hfd   lead plates, numbers glowing in the dark
    tubeflwr.hfd  soft pastel cushions with flowers, numbers as soft tubes
    aluminum.hfd  riveted aluminium tread plate, numbers on anodised panels
    mutants.hfd   sleeping mutant faces; awake ones have an eye per bomb around
    meters.hfd    swirls, and dials whose coloured arc shows the count
    arrows.hfd    arrows bursting out of each number
    sampler.hfd   a mixture of the others

Usage: field_tiles.py DATA_DIR
"""
import math
import os
import sys
import zlib

import numpy as np

import picturelib as pl
import tilekit as tk
from tilekit import XX, YY, T, S, N

# Every tile set's file name and its drawing function, which takes a seed
# and returns the working arrays for tilekit.sheet.
SETS = []


def tile_set(file_name):
    def reg(fn):
        SETS.append((file_name, fn))
        return fn
    return reg


def frame_line(base, colour, width=2.0, strength=1.0):
    """A thin line round the tile, so neighbouring cleared squares stay
    apart."""
    m = (tk.edge_distance() < width).astype(np.float32) * strength
    return tk.comp(base, colour, m)


# ----------------------------------------------------------- rosewood ---

def wood(rng, dark, mid, light, rings=7.0, streak=1.0):
    n1 = tk.noise(rng, 22, 4, aniso=(5.0, 0.45))
    n2 = tk.noise(rng, 4, 2, aniso=(8.0, 0.25))
    warp = tk.noise(rng, 40, 3)
    v = YY / T * rings + warp * 2.2 + n1 * 0.9 * streak
    g = (0.5 + 0.5 * np.sin(v * 2 * math.pi)) ** 2.5
    val = np.clip(0.5 * n1 + 0.38 * (1 - g) + 0.12 * n2, 0, 1)
    return tk.ramp(val, [(0.0, dark), (0.5, mid), (1.0, light)])


ROSE = ((44, 10, 8), (112, 34, 22), (172, 70, 42))
MAPLE = ((200, 160, 108), (228, 198, 150), (244, 226, 190))


def flower(base, cx, cy, r, petal=(240, 226, 206), tip=(236, 150, 168), heart=(226, 176, 60)):
    """A five-petal inlay of pale shell with a gold heart."""
    m_all = np.zeros((N, N), np.float32)
    petals = []
    for k in range(5):
        a = -math.pi / 2 + k * 2 * math.pi / 5
        px, py = cx + math.cos(a) * r * 0.55, cy + math.sin(a) * r * 0.55
        # an ellipse along the petal's direction
        u = (XX - px) * math.cos(a) + (YY - py) * math.sin(a)
        v = -(XX - px) * math.sin(a) + (YY - py) * math.cos(a)
        e = (u / (r * 0.52)) ** 2 + (v / (r * 0.34)) ** 2
        m = np.clip((1 - e) * r * 0.6, 0, 1)
        petals.append((m, u))
        m_all = np.maximum(m_all, m)
    # a dark cut line round the inlay
    ring = np.clip(tk.tblur(m_all, 0.9) * 3.0, 0, 1)
    base = tk.comp(base, (34, 8, 6), ring)
    for m, u in petals:
        t = np.clip(u / (r * 0.55) * 0.5 + 0.5, 0, 1)
        col = tk.comp(tk.solid(petal), tip, t ** 2 * 0.65)
        h = tk.tblur(m, 1.5) * 4 * S
        col = tk.apply_light(col, h, 0.5, 30, 80, 0.9)
        base = tk.comp(base, col, m)
    base = tk.sphere(base, cx, cy, r * 0.24, heart, spec=160)
    return base


def rose_covered(rng, with_flower=True):
    a = wood(rng, *ROSE)
    if with_flower:
        a = flower(a, 48, 48, 17)
    h, _ = tk.bevel_height(8, 6, inset=0.5, profile="round")
    a = tk.apply_light(a, h, 0.3, 40, 60, 1.4)
    a = tk.gloss(a, 34)
    return frame_line(a, (26, 6, 4), 1.0)


def rose_cleared(rng):
    a = wood(rng, *MAPLE, rings=5.0, streak=0.6)
    a = tk.inner_shadow(a, 9, 0.42, 0)
    return frame_line(a, (92, 36, 20), 2.0)


@tile_set("rosewood.hfd")
def rosewood(seed):
    rng = np.random.default_rng(seed)
    plain = rose_covered(np.random.default_rng(seed), False)
    covered = rose_covered(np.random.default_rng(seed))
    numbers = []
    for n in range(1, 9):
        a = rose_cleared(rng)
        a = tk.digit_plain(a, n, tk.PAL_LIGHT[n - 1], outline=(54, 22, 10), ow=2.6, shadow=0.4)
        numbers.append(a)
    ex = rose_cleared(rng)
    ex = burst(ex, rng)
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False)
    marked = tk.flag(plain, cloth=(255, 212, 40), stand=(176, 128, 40))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


def burst(base, rng, inner=(255, 226, 90), outer=(220, 36, 10), scorch=(40, 16, 8), r=46):
    """A scorch mark and a star of fire under an exploded bomb."""
    ang = np.arctan2(YY - 50, XX - 48)
    d = np.sqrt((XX - 48) ** 2 + (YY - 50) ** 2)
    jag = 0.72 + 0.28 * np.abs(np.cos(ang * 5.5 + 0.4)) ** 0.6 \
        + 0.12 * np.cos(ang * 13 + 1.0)
    R = r * jag
    sc = np.clip(1 - d / (r * 1.05), 0, 1) ** 0.7
    base = tk.comp(base, scorch, sc * 0.75)
    t = np.clip(1 - d / R, 0, 1)
    fire = tk.ramp(t, [(0.0, outer), (0.45, pl.mix(outer, inner, 0.6)), (1.0, inner)])
    return tk.comp(base, fire, np.clip(t * 6, 0, 1))


# ----------------------------------------------------------- electron ---

PCB = (18, 84, 44)
COPPER = (214, 170, 74)

# Traces of the covered square's board, in tile pixels; each one leaves the
# tile at the middle of an edge or near a corner so that neighbouring
# squares join up into one board.
TRACES = [
    [(0, 48), (22, 48), (30, 44)],
    [(96, 48), (74, 48), (66, 52)],
    [(48, 0), (48, 22), (44, 30)],
    [(48, 96), (48, 74), (52, 66)],
    [(0, 20), (12, 20), (20, 12), (20, 0)],
    [(96, 76), (84, 76), (76, 84), (76, 96)],
    [(0, 78), (16, 78), (24, 86), (24, 96)],
    [(78, 0), (78, 12), (88, 22), (96, 22)],
]
VIAS = [(20, 12), (76, 84), (24, 86), (88, 22), (30, 44), (66, 52), (44, 30), (52, 66)]


def pcb(rng, lit_traces=False):
    a = tk.tint(tk.noise(rng, 10, 3), pl.shade(PCB, 0.8), pl.shade(PCB, 1.15))
    # fibre weave of the board
    weave = (np.sin(XX * 1.9) * np.sin(YY * 1.9)) * 0.04
    a *= (1 + weave)[:, :, None]
    tr = np.zeros((N, N), np.float32)
    for pts in TRACES:
        tr = np.maximum(tr, tk.line_mask(pts, 4.0))
    pads = np.zeros((N, N), np.float32)
    holes = np.zeros((N, N), np.float32)
    for (x, y) in VIAS:
        pads = np.maximum(pads, tk.circle_mask(x, y, 4.6))
        holes = np.maximum(holes, tk.circle_mask(x, y, 1.8))
    metal = np.maximum(tr, pads)
    # traces sit a little above the board under the green lacquer
    a = tk.drop_shadow(a, metal, 0.8, 1.0, 0.8, 0.35)
    h = tk.tblur(metal, 0.8) * 2.5 * S
    copper = tk.apply_light(tk.solid(COPPER), h, 0.5, 30, 140, 1.0)
    a = tk.comp(a, copper, metal)
    a = tk.comp(a, (10, 14, 10), holes)
    # the chip in the middle, with its legs
    legs = np.zeros((N, N), np.float32)
    for k in range(4):
        o = 36 + k * 8
        legs = np.maximum(legs, tk.mask(lambda d, s, o=o: (
            d.rectangle([(o - 1.6) * s, 27 * s, (o + 1.6) * s, 69 * s], fill=255),
            d.rectangle([27 * s, (o - 1.6) * s, 69 * s, (o + 1.6) * s], fill=255))))
    a = tk.comp(a, (196, 200, 206), legs)
    body = tk.mask(lambda d, s: d.rounded_rectangle([31 * s, 31 * s, 65 * s, 65 * s],
                                                    radius=2 * s, fill=255))
    a = tk.drop_shadow(a, body, 1.5, 2.0, 1.5, 0.5)
    chip = tk.tint(tk.noise(rng, 3, 2), (28, 28, 32), (44, 44, 50))
    a = tk.comp(a, chip, body)
    a = tk.comp(a, (70, 70, 78), tk.circle_mask(37, 37, 1.8))
    h, _ = tk.bevel_height(6, 4)
    a = tk.apply_light(a, h, 0.3, 40, 50, 1.3)
    return frame_line(a, (6, 30, 14), 1.0)


def glass(rng):
    a = tk.tint(tk.noise(rng, 30, 3), (4, 6, 14), (14, 16, 30))
    grid = ((np.abs(((XX + 6) % 12) - 6) < 0.45) | (np.abs(((YY + 6) % 12) - 6) < 0.45))
    a = tk.add_light(a, (10, 24, 44), grid.astype(np.float32))
    a = tk.inner_shadow(a, 8, 0.5)
    a = frame_line(a, (34, 64, 96), 1.5)
    return a


def arcs(base, rng, cx, cy, colour=(120, 200, 255), n=6, reach=44):
    """Crooked electric arcs running out from (cx, cy)."""
    m = np.zeros((N, N), np.float32)
    for k in range(n):
        a = 2 * math.pi * k / n + rng.uniform(-0.4, 0.4)
        pts = [(cx, cy)]
        r = 0.0
        while r < reach:
            r += rng.uniform(5, 9)
            aa = a + rng.uniform(-0.5, 0.5)
            pts.append((cx + math.cos(aa) * r, cy + math.sin(aa) * r))
        m = np.maximum(m, tk.line_mask(pts, 1.6))
    base = tk.glow(base, m, colour, 2.5, 1.6)
    return tk.add_light(base, (255, 255, 255), m * 0.9)


@tile_set("electron.hfd")
def electron(seed):
    rng = np.random.default_rng(seed)
    covered = pcb(np.random.default_rng(seed))
    numbers = []
    for n in range(1, 9):
        a = glass(rng)
        a = tk.digit_glow(a, n, tk.PAL_DARK[n - 1], halo=5.0, amount=1.1)
        numbers.append(a)
    ex = glass(rng)
    ex = tk.glow(ex, tk.circle_mask(48, 50, 30), (40, 90, 220), 9, 1.2)
    ex = arcs(ex, rng, 48, 50, n=7, reach=50)
    ex = tk.bomb(ex, 48, 52, 22, colour=(30, 32, 44), rng=rng, lit=False, rim=(80, 160, 255))
    marked = tk.flag(covered.copy(), cloth=(255, 40, 40), stand=(190, 190, 200))
    frames = tk.explosion_frames(covered, ex, seed + 1, palette=tk.ELECTRIC, smoke=(40, 50, 80))
    return numbers, ex, covered, marked, frames


# ----------------------------------------------------------- hot metal ---

def chrome(n):
    """Mirror metal in a ray-traced scene: the view ray's reflection (from
    unit normals n) picks up a sky over a chequered floor glowing hot."""
    rx = 2 * n[:, :, 2] * n[:, :, 0]
    ry = 2 * n[:, :, 2] * n[:, :, 1]
    rz = 2 * n[:, :, 2] ** 2 - 1
    up = -ry + 0.12
    sky = tk.ramp(up, [(0.0, (250, 250, 255)), (0.12, (190, 214, 246)), (0.5, (90, 130, 210)),
                       (1.2, (30, 50, 120))])
    t = 1.0 / np.maximum(-up + 0.02, 0.02)
    fx, fz = rx * t * 0.9, (rz + 1.2) * t * 0.9
    chk = ((np.floor(fx) + np.floor(fz)) % 2).astype(np.float32)
    far = np.clip(1 - 1.0 / t, 0, 1)
    floor = tk.comp(tk.solid((110, 24, 4)), (255, 150, 40), chk * (1 - far * 0.8) + far * 0.4)
    floor = tk.comp(floor, (255, 200, 120), (far ** 6)[:, :, None] * np.ones((1, 1, 3)) * 0.8)
    return tk.comp(floor, sky, np.clip(up * 40, 0, 1))


def dome_normals(cx, cy, r, squash=0.75):
    dx, dy = (XX - cx) / r, (YY - cy) / r
    z = np.sqrt(np.clip(1 - dx * dx - dy * dy, 0.02, 1)) / squash
    n = np.stack([dx, dy, z], axis=2)
    return n / np.linalg.norm(n, axis=2, keepdims=True)


@tile_set("hotmetal.hfd")
def hotmetal(seed):
    rng = np.random.default_rng(seed)
    plate = tk.tint(tk.noise(np.random.default_rng(seed), 8, 3, aniso=(10, 0.1)),
                    (48, 40, 40), (78, 66, 64))
    h, _ = tk.bevel_height(6, 4, inset=0.5, profile="round")
    plate = tk.apply_light(plate, h, 0.3, 30, 80, 1.4)
    plate = frame_line(plate, (16, 10, 8), 1.0)
    # the glowing seam round the dome
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    seam = np.clip(1 - np.abs(d - 36) / 2.0, 0, 1)
    dome = chrome(dome_normals(48, 48, 35))
    covered = tk.glow(plate, seam, (255, 90, 10), 3.0, 0.7)
    covered = tk.drop_shadow(covered, tk.circle_mask(48, 48, 35), 2, 3, 2.5, 0.5)
    covered = tk.comp(covered, dome, tk.circle_mask(48, 48, 35))
    plain = tk.glow(plate, seam, (255, 90, 10), 3.0, 0.35)

    def steel():
        a = tk.tint(tk.noise(rng, 8, 3, aniso=(10, 0.1)), (40, 40, 46), (66, 66, 74))
        a = tk.inner_shadow(a, 9, 0.55)
        # a dull red heat in the middle of the plate
        d2 = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
        a = tk.add_light(a, (60, 14, 0), np.clip(1 - d2 / 50, 0, 1) ** 2)
        return frame_line(a, (16, 14, 14), 1.5)

    numbers = []
    for n in range(1, 9):
        a = steel()
        col = tk.PAL_DARK[n - 1]
        a = tk.glow(a, tk.digit_mask(n), col, 6.0, 0.8)
        a = tk.digit_plain(a, n, col, outline=(24, 10, 4), ow=2.2, shadow=0.0, emboss=True)
        numbers.append(a)
    ex = burst(steel(), rng)
    ex = tk.bomb(ex, 48, 52, 23, colour=(70, 72, 80), rng=rng, lit=False, rim=(255, 120, 40))
    marked = tk.flag(plain, cloth=(255, 70, 20), stand=(60, 60, 66))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------------- stone ---

def granite(rng, lo=(72, 82, 104), hi=(140, 150, 172)):
    a = tk.tint(tk.noise(rng, 9, 4), lo, hi)
    sp = rng.random((N, N)).astype(np.float32)
    sp = tk.blur(sp, 1.2)
    dark = np.clip((0.47 - sp) * 30, 0, 1)
    light = np.clip((sp - 0.535) * 30, 0, 1)
    a = tk.comp(a, pl.shade(lo, 0.55), dark * 0.8)
    a = tk.comp(a, (222, 222, 228), light * 0.6)
    return a


def sandstone(rng):
    a = tk.tint(tk.noise(rng, 12, 4), (206, 178, 134), (238, 216, 178))
    bands = 0.5 + 0.5 * np.sin((YY + tk.noise(rng, 30, 2) * 14) / 5.0)
    a *= (0.96 + 0.05 * bands)[:, :, None]
    grain = tk.blur(rng.random((N, N)).astype(np.float32), 0.8)
    a *= (0.93 + 0.14 * grain)[:, :, None]
    return a


@tile_set("stone3d.hfd")
def stone3d(seed):
    rng = np.random.default_rng(seed)
    g = granite(np.random.default_rng(seed))
    h, _ = tk.bevel_height(20, 14, inset=0.5, profile="linear")
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    knob = np.sqrt(np.clip(1 - (d / 19.0) ** 2, 0, 1)) * 15 * S
    groove = -np.clip(1 - np.abs(d - 23.5) / 1.8, 0, 1) * 1.5 * S
    covered = tk.apply_light(g, h + knob + groove, 0.42, 16, 50, 1.25)
    covered = tk.drop_shadow(covered, tk.circle_mask(48, 48, 19), 0, 0, 0.1, 0.0)
    covered = frame_line(covered, (30, 32, 40), 1.0)
    plain = frame_line(tk.apply_light(g, h + groove, 0.42, 16, 50, 1.25), (30, 32, 40), 1.0)

    def ground():
        a = sandstone(rng)
        a = tk.inner_shadow(a, 8, 0.45)
        return frame_line(a, (120, 92, 60), 2.0)

    numbers = []
    for n in range(1, 9):
        a = ground()
        a = tk.digit_engraved(a, n, pl.shade(tk.PAL_LIGHT[n - 1], 1.05))
        numbers.append(a)
    ex = burst(ground(), rng)
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False)
    marked = tk.flag(plain, cloth=(230, 26, 26), stand=(90, 90, 100))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------- dark circles ---

@tile_set("darkcirc.hfd")
def darkcirc(seed):
    rng = np.random.default_rng(seed)
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    base = tk.tint(tk.noise(rng, 16, 3), (26, 24, 34), (42, 40, 54))
    disc = np.sqrt(np.clip(1 - (d / 44.0) ** 2, 0, 1)) * 7 * S
    rings = (0.5 + 0.5 * np.cos(d * 2 * math.pi / 9.0)) * (d < 40) * 2.2 * S
    edge, _ = tk.bevel_height(5, 3)
    covered = tk.apply_light(tk.comp(base, (52, 44, 70), tk.circle_mask(48, 48, 44)),
                             disc + rings + edge, 0.3, 36, 70, 1.3)
    covered = frame_line(covered, (8, 6, 12), 1.0)

    def ground():
        a = tk.tint(tk.noise(rng, 20, 3), (10, 9, 16), (22, 20, 30))
        a = tk.inner_shadow(a, 7, 0.5)
        return frame_line(a, (58, 52, 74), 1.5)

    numbers = []
    for n in range(1, 9):
        col = tk.PAL_DARK[n - 1]
        a = ground()
        ring = np.clip(1 - np.abs(d - 41.5) / 2.2, 0, 1)
        a = tk.glow(a, ring, col, 2.5, 0.5)
        a = tk.comp(a, pl.shade(col, 0.9), ring)
        a = tk.digit_plain(a, n, col, outline=(0, 0, 0), ow=2.4, shadow=0.6)
        numbers.append(a)
    ex = burst(ground(), rng, scorch=(0, 0, 0))
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False, rim=(160, 120, 255))
    plain = tk.apply_light(tk.comp(base, (52, 44, 70), tk.circle_mask(48, 48, 44)),
                           disc + edge, 0.3, 36, 70, 1.3)
    marked = tk.flag(frame_line(plain, (8, 6, 12), 1.0), cloth=(255, 50, 40), stand=(120, 110, 140))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


# ----------------------------------------------------------- aluminium ---

def brushed(rng, lo, hi):
    a = tk.tint(tk.noise(rng, 8, 4, aniso=(12, 0.08)), lo, hi)
    return a * (0.97 + 0.06 * tk.noise(rng, 40, 2))[:, :, None]


@tile_set("aluminum.hfd")
def aluminum(seed):
    rng = np.random.default_rng(seed)
    plate = brushed(np.random.default_rng(seed), (164, 170, 178), (212, 216, 222))
    # tread plate: raised lozenges, turned alternately
    tread = np.zeros((N, N), np.float32)
    for gy in range(6):
        for gx in range(6):
            cx, cy = 8 + gx * 16, 8 + gy * 16
            a = math.pi / 4 if (gx + gy) % 2 == 0 else -math.pi / 4
            u = (XX - cx) * math.cos(a) + (YY - cy) * math.sin(a)
            v = -(XX - cx) * math.sin(a) + (YY - cy) * math.cos(a)
            e = (u / 6.5) ** 2 + (v / 1.9) ** 2
            tread = np.maximum(tread, np.sqrt(np.clip(1 - e, 0, 1)))
    tread *= (tk.edge_distance() > 6)
    h, _ = tk.bevel_height(4, 3, inset=0.5, profile="linear")
    bare = tk.apply_light(plate, h, 0.35, 30, 70, 1.3)
    covered = tk.apply_light(plate, h + tread * 2.2 * S, 0.35, 30, 70, 1.3)
    for (x, y) in ((8, 8), (88, 8), (8, 88), (88, 88)):
        covered = tk.sphere(covered, x, y, 3.2, (170, 174, 182), spec=200)
        bare = tk.sphere(bare, x, y, 3.2, (170, 174, 182), spec=200)
    covered = frame_line(covered, (70, 74, 82), 1.0)
    bare = frame_line(bare, (70, 74, 82), 1.0)

    def panel():
        a = brushed(rng, (44, 52, 66), (64, 72, 88))
        a = tk.inner_shadow(a, 8, 0.5)
        return frame_line(a, (20, 24, 30), 1.5)

    numbers = []
    for n in range(1, 9):
        a = panel()
        a = tk.digit_plain(a, n, tk.PAL_DARK[n - 1], outline=(8, 8, 12), ow=2.4, shadow=0.6)
        numbers.append(a)
    ex = burst(panel(), rng)
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False)
    marked = tk.flag(bare, cloth=(232, 28, 28), stand=(60, 62, 70))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------ radioactive ---

def trefoil_mask(cx, cy, r0, r1, hub):
    ang = np.degrees(np.arctan2(YY - cy, XX - cx)) % 360
    d = np.sqrt((XX - cx) ** 2 + (YY - cy) ** 2)
    blade = np.zeros((N, N), np.float32)
    for c in (90, 210, 330):
        off = np.abs((ang - c + 180) % 360 - 180)
        blade = np.maximum(blade, np.clip((30 - off) * d * math.pi / 180 * S, 0, 1))
    blade *= np.clip((d - r0) * S, 0, 1) * np.clip((r1 - d) * S, 0, 1)
    return np.maximum(blade, tk.circle_mask(cx, cy, hub))


@tile_set("radglow.hfd")
def radglow(seed):
    rng = np.random.default_rng(seed)
    prng = np.random.default_rng(seed)
    lead = tk.tint(tk.noise(prng, 10, 4), (70, 80, 68), (112, 122, 102))
    pits = np.clip((tk.noise(prng, 2.5, 2) - 0.72) * 6, 0, 1)
    bumps = tk.noise(prng, 5, 3) * 1.2 * S - pits * 1.5 * S
    h, _ = tk.bevel_height(7, 5, inset=0.5)
    bare = frame_line(tk.apply_light(lead, h + bumps, 0.35, 20, 40, 1.3), (20, 26, 18), 1.0)
    worn = np.clip((tk.noise(prng, 6, 3) - 0.22) * 5, 0, 1)
    sign = trefoil_mask(48, 48, 7.5, 30, 5.0)
    disc = tk.circle_mask(48, 48, 35)
    paint = tk.comp(tk.comp(lead, (206, 176, 40), disc * worn), (30, 28, 20), sign * worn)
    covered = frame_line(tk.apply_light(paint, h + bumps, 0.35, 20, 40, 1.3), (20, 26, 18), 1.0)

    def ground():
        a = tk.tint(tk.noise(rng, 18, 3), (2, 10, 4), (10, 30, 10))
        mist = tk.noise(rng, 12, 3)
        a = tk.add_light(a, (20, 70, 10), np.clip(mist - 0.5, 0, 1))
        a = tk.inner_shadow(a, 8, 0.5)
        return frame_line(a, (50, 90, 40), 1.5)

    numbers = []
    for n in range(1, 9):
        a = ground()
        col = tk.PAL_DARK[n - 1]
        a = tk.glow(a, tk.digit_mask(n), col, 9.0, 0.9)
        a = tk.digit_glow(a, n, col, halo=4.0, amount=0.9, core_white=0.55)
        numbers.append(a)
    ex = burst(ground(), rng, inner=(236, 255, 130), outer=(40, 160, 0), scorch=(0, 0, 0))
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False, rim=(120, 255, 60))
    marked = tk.flag(bare, cloth=(255, 60, 30), stand=(60, 66, 56))
    frames = tk.explosion_frames(covered, ex, seed + 1, palette=tk.TOXIC, smoke=(40, 60, 30))
    return numbers, ex, covered, marked, frames


# ------------------------------------------------- tubes and flowers ---

CANDY = [(0.0, (70, 0, 50)), (0.3, (200, 40, 130)), (0.55, (255, 120, 190)),
         (0.8, (255, 220, 240)), (1.0, (255, 255, 255))]


def tube(base, m, colour, radius=3.0, shine=150.0, shadow=0.5):
    """Lays a soft rounded tube along the strokes of mask m."""
    if shadow:
        base = tk.drop_shadow(base, m, 2.0, 3.0, 2.5, shadow)
    h = np.sqrt(np.clip(tk.tblur(m, radius), 0, 1)) * 14 * S
    body = tk.apply_light(tk.solid(colour), h, 0.35, 40, shine, 1.3)
    return tk.comp(base, body, m)


def tube_flower(base, cx, cy, r, petal=(246, 110, 170), heart=(255, 214, 60)):
    m = np.zeros((N, N), np.float32)
    for k in range(6):
        a = k * math.pi / 3
        px, py = cx + math.cos(a) * r * 0.52, cy + math.sin(a) * r * 0.52
        u = (XX - px) * math.cos(a) + (YY - py) * math.sin(a)
        v = -(XX - px) * math.sin(a) + (YY - py) * math.cos(a)
        e = np.sqrt((u / (r * 0.5)) ** 2 + (v / (r * 0.3)) ** 2)
        m = np.maximum(m, np.clip((1 - np.abs(e - 0.8) / 0.2) * 2, 0, 1))
    base = tube(base, m, petal, radius=1.6)
    return tk.sphere(base, cx, cy, r * 0.2, heart, spec=180)


@tile_set("tubeflwr.hfd")
def tubeflwr(seed):
    rng = np.random.default_rng(seed)
    cushion = tk.tint(tk.noise(np.random.default_rng(seed), 20, 3), (170, 150, 222), (198, 180, 240))
    h, _ = tk.bevel_height(26, 12, inset=1.5, round_corner=12, profile="round")
    rim = tk.mask(lambda d, s: d.rounded_rectangle([1.5 * s, 1.5 * s, 94.5 * s, 94.5 * s],
                                                   radius=12 * s, fill=255))
    ground = tk.comp(tk.solid((120, 104, 170)), cushion, rim)
    bare = tk.apply_light(ground, h, 0.45, 24, 60, 1.1)
    covered = tube_flower(bare, 48, 48, 24)

    def cream():
        a = tk.tint(tk.noise(rng, 24, 3), (240, 230, 214), (252, 246, 234))
        a = tk.inner_shadow(a, 10, 0.3)
        return frame_line(a, (196, 178, 200), 1.5)

    numbers = []
    for n in range(1, 9):
        a = cream()
        col = pl.shade(tk.PAL_LIGHT[n - 1], 1.12)
        a = tk.digit_tube(a, n, col, shine=120)
        numbers.append(a)
    ex = burst(cream(), rng, inner=(255, 230, 120), outer=(236, 60, 120), scorch=(120, 60, 90))
    ex = tk.bomb(ex, 48, 52, 23, colour=(60, 40, 80), rng=rng, lit=False)
    marked = tk.flag(bare, cloth=(240, 30, 80), stand=(110, 90, 150), outline=(60, 20, 50))
    frames = tk.explosion_frames(covered, ex, seed + 1, palette=CANDY, smoke=(150, 120, 160))
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------------ mutants ---

def eye(base, cx, cy, r, look, iris=(200, 40, 30)):
    base = tk.drop_shadow(base, tk.circle_mask(cx, cy, r + 1.2), 0.8, 1.2, 1.0, 0.6)
    base = tk.comp(base, (40, 50, 10), tk.circle_mask(cx, cy, r + 1.2))
    base = tk.sphere(base, cx, cy, r, (236, 236, 220), spec=120, power=16)
    ix, iy = cx + math.cos(look) * r * 0.38, cy + math.sin(look) * r * 0.38
    base = tk.comp(base, iris, tk.circle_mask(ix, iy, r * 0.52))
    base = tk.comp(base, (10, 10, 10), tk.circle_mask(ix, iy, r * 0.26))
    return tk.add_light(base, (255, 255, 255), tk.circle_mask(ix - r * 0.2, iy - r * 0.2, r * 0.12))


def eye_places(n):
    """n places round the top and sides of the tile, from the middle of
    the top edge outwards."""
    path = []
    for k in range(n):
        t = 0.0 if n == 1 else (k / (n - 1) - 0.5)
        a = -math.pi / 2 + t * math.radians(min(300, 70 * (n - 1) + 1))
        x, y = math.cos(a), math.sin(a)
        m = max(abs(x), abs(y))
        # pushed out to a rounded square round the number
        q = 0.62 + 0.38 * m
        path.append((48 + x / m * 39 * q, 48 + y / m * 39 * q))
    return path


def skin(rng, lo, hi, spots=(170, 200, 40)):
    a = tk.tint(tk.noise(rng, 12, 4), lo, hi)
    sp = np.clip((tk.noise(rng, 5, 2) - 0.66) * 5, 0, 1)
    a = tk.comp(a, spots, sp * 0.55)
    bumps = tk.noise(rng, 4, 3) * 1.4 * S
    return a, bumps


@tile_set("mutants.hfd")
def mutants(seed):
    rng = np.random.default_rng(seed)
    hide, bumps = skin(np.random.default_rng(seed), (54, 74, 22), (92, 116, 36), (150, 190, 30))
    h, _ = tk.bevel_height(10, 7, inset=0.5, round_corner=8, profile="round")
    bare = frame_line(tk.apply_light(hide, h + bumps, 0.35, 18, 40, 1.3), (20, 30, 6), 1.0)
    # a sleeping face: closed eyes and a stitched grin
    lids = np.maximum(tk.line_mask([(24, 40), (30, 44), (38, 44), (42, 40)], 3.2),
                      tk.line_mask([(54, 40), (58, 44), (66, 44), (72, 40)], 3.2))
    mouth = tk.line_mask([(30, 66), (40, 71), (56, 71), (66, 66)], 3.0)
    stitches = np.zeros((N, N), np.float32)
    for x in (36, 44, 52, 60):
        stitches = np.maximum(stitches, tk.line_mask([(x, 65), (x, 76)], 2.2))
    face = np.maximum.reduce([lids, mouth, stitches])
    covered = tk.comp(bare, (24, 30, 8), face)

    numbers = []
    for n in range(1, 9):
        a, b2 = skin(rng, (188, 214, 120), (216, 236, 156), (160, 200, 90))
        a = tk.apply_light(a, b2 * 0.6, 0.5, 18, 20, 1.0)
        a = tk.inner_shadow(a, 8, 0.35)
        a = frame_line(a, (90, 110, 40), 1.5)
        for (x, y) in eye_places(n):
            a = eye(a, x, y, 6.0, rng.uniform(0, 2 * math.pi))
        a = tk.digit_plain(a, n, tk.PAL_LIGHT[n - 1], outline=(30, 36, 10), ow=2.6, shadow=0.4,
                           size=80, cy=55)
        numbers.append(a)
    ex, b2 = skin(rng, (188, 214, 120), (216, 236, 156))
    ex = tk.inner_shadow(ex, 8, 0.35)
    ex = burst(ex, rng, inner=(236, 255, 130), outer=(90, 170, 0), scorch=(30, 40, 0))
    ex = tk.bomb(ex, 48, 52, 23, rng=rng, lit=False, rim=(120, 255, 60))
    marked = tk.flag(bare, cloth=(255, 40, 40), stand=(40, 50, 20))
    frames = tk.explosion_frames(covered, ex, seed + 1, palette=tk.TOXIC, smoke=(50, 70, 30))
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------------- meters ---

def swirl(rng, c0, c1, c2, turns=3.0):
    ang = np.arctan2(YY - 48, XX - 48)
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    v = ang / (2 * math.pi) * turns + np.log(d + 3.0) * 1.7 + tk.noise(rng, 30, 2) * 0.3
    band = 0.5 + 0.5 * np.sin(v * 2 * math.pi)
    return tk.ramp(band, [(0.0, c0), (0.5, c1), (1.0, c2)])


@tile_set("meters.hfd")
def meters(seed):
    rng = np.random.default_rng(seed)
    sw = swirl(np.random.default_rng(seed), (30, 20, 90), (60, 90, 200), (140, 220, 255))
    h, _ = tk.bevel_height(14, 8, inset=0.5, profile="round")
    covered = frame_line(tk.apply_light(sw, h, 0.35, 30, 90, 1.3), (10, 8, 40), 1.0)
    covered = tk.gloss(covered, 30)
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    ang = (np.degrees(np.arctan2(YY - 48, XX - 48)) - 135) % 360   # 0 at lower left

    def dial(n):
        a = tk.tint(tk.noise(rng, 20, 3), (36, 40, 52), (52, 56, 70))
        a = tk.inner_shadow(a, 7, 0.5)
        a = frame_line(a, (14, 16, 22), 1.5)
        bez = tk.circle_mask(48, 48, 45.5)
        a = tk.drop_shadow(a, bez, 1.5, 2, 2, 0.6)
        hb = np.sqrt(np.clip(1 - ((d - 43) / 3.0) ** 2, 0, 1)) * 3 * S
        a = tk.comp(a, tk.apply_light(tk.solid((170, 172, 180)), hb, 0.4, 30, 140, 1.3), bez)
        face = tk.circle_mask(48, 48, 41)
        a = tk.comp(a, tk.tint(tk.noise(rng, 30, 2), (226, 222, 204), (244, 240, 226)), face)
        if n:
            col = tk.PAL_LIGHT[n - 1]
            sweep = 270.0 * n / 8
            arc = (ang <= sweep) * np.clip(1 - np.abs(d - 35) / 4.5, 0, 1)
            a = tk.comp(a, col, arc)
        ticks = np.zeros((N, N), np.float32)
        for k in range(9):
            t = math.radians(135 + 270 * k / 8)
            ticks = np.maximum(ticks, tk.line_mask(
                [(48 + math.cos(t) * 29, 48 + math.sin(t) * 29),
                 (48 + math.cos(t) * 40, 48 + math.sin(t) * 40)], 1.6))
        a = tk.comp(a, (40, 40, 46), ticks)
        return a

    numbers = []
    for n in range(1, 9):
        a = dial(n)
        a = tk.digit_plain(a, n, tk.PAL_LIGHT[n - 1], outline=(24, 24, 30), ow=2.2, shadow=0.3,
                           size=66, cy=50)
        numbers.append(a)
    ex = dial(0)
    ex = burst(ex, rng, r=40)
    ex = tk.bomb(ex, 48, 52, 21, rng=rng, lit=False)
    bare = frame_line(tk.apply_light(sw, h, 0.35, 30, 90, 1.3), (10, 8, 40), 1.0)
    marked = tk.flag(tk.gloss(bare, 30), cloth=(255, 50, 40), stand=(200, 200, 210))
    frames = tk.explosion_frames(covered, ex, seed + 1, palette=tk.ELECTRIC, smoke=(60, 60, 90))
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------------- arrows ---

def arrow_mask(cx, cy, a, length, head, shaft):
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    tipx, tipy = cx + ux * length / 2, cy + uy * length / 2
    tailx, taily = cx - ux * length / 2, cy - uy * length / 2
    bx, by = tipx - ux * head, tipy - uy * head
    pts = [(tipx, tipy), (bx + vx * head * 0.6, by + vy * head * 0.6),
           (bx + vx * shaft / 2, by + vy * shaft / 2), (tailx + vx * shaft / 2, taily + vy * shaft / 2),
           (tailx - vx * shaft / 2, taily - vy * shaft / 2), (bx - vx * shaft / 2, by - vy * shaft / 2),
           (bx - vx * head * 0.6, by - vy * head * 0.6)]
    return tk.poly_mask(pts)


def burst_arrows(n, radius, length, head, shaft, start=-90.0):
    m = np.zeros((N, N), np.float32)
    for k in range(n):
        a = math.radians(start + 360.0 * k / n)
        cx, cy = 48 + math.cos(a) * radius, 48 + math.sin(a) * radius
        m = np.maximum(m, arrow_mask(cx, cy, a, length, head, shaft))
    return m


@tile_set("arrows.hfd")
def arrows(seed):
    rng = np.random.default_rng(seed)
    red = tk.tint(tk.noise(np.random.default_rng(seed), 16, 3), (140, 30, 14), (176, 50, 20))
    ray = burst_arrows(8, 25, 30, 11, 5.5, start=-67.5)
    h, _ = tk.bevel_height(9, 6, inset=0.5, profile="round")
    bare = frame_line(tk.apply_light(red, h, 0.35, 30, 70, 1.3), (50, 8, 4), 1.0)
    hub = tk.circle_mask(48, 48, 8)
    art = np.maximum(ray, hub)
    covered = tk.drop_shadow(bare, art, 1.5, 2, 1.5, 0.5)
    covered = tk.comp(covered, tk.apply_light(tk.solid((250, 170, 40)), tk.tblur(art, 1.2) * 4 * S,
                                              0.4, 30, 120, 1.2), art)
    covered = tk.gloss(covered, 26)

    def ground():
        a = tk.tint(tk.noise(rng, 20, 3), (208, 216, 228), (232, 236, 244))
        a = tk.inner_shadow(a, 8, 0.4)
        return frame_line(a, (120, 130, 150), 1.5)

    numbers = []
    for n in range(1, 9):
        col = tk.PAL_LIGHT[n - 1]
        a = ground()
        m = burst_arrows(n, 38, 15, 9, 3.5, start=-45.0 if n in (2, 4) else -90.0)
        a = tk.drop_shadow(a, m, 1, 1.5, 1, 0.4)
        a = tk.comp(a, pl.shade(col, 1.1), m)
        a = tk.digit_plain(a, n, col, outline=(20, 20, 30), ow=2.4, shadow=0.4, size=76)
        numbers.append(a)
    ex = burst(ground(), rng)
    ex = tk.comp(ex, (200, 20, 10), burst_arrows(8, 39, 14, 9, 3.5, start=-67.5))
    ex = tk.bomb(ex, 48, 52, 21, rng=rng, lit=False)
    marked = tk.flag(tk.gloss(bare, 26), cloth=(255, 226, 40), stand=(60, 20, 10))
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


# ------------------------------------------------------------ sampler ---

@tile_set("sampler.hfd")
def sampler(seed):
    """A number from each of eight other sets, under mirror domes."""
    picks = ["rosewood.hfd", "electron.hfd", "darkcirc.hfd", "stone3d.hfd",
             "radglow.hfd", "meters.hfd", "tubeflwr.hfd", "mutants.hfd"]
    numbers = [built(name)[0][n] for n, name in enumerate(picks)]
    metal = built("hotmetal.hfd")
    covered, marked = metal[2], metal[3]
    ex = built("arrows.hfd")[1]
    frames = tk.explosion_frames(covered, ex, seed + 1)
    return numbers, ex, covered, marked, frames


_built = {}


def seed_of(name):
    return 1000 + zlib.crc32(name.encode()) % 9000


def built(name):
    """The working tiles of a set, drawn once."""
    if name not in _built:
        fn = dict(SETS)[name]
        _built[name] = fn(seed_of(name))
    return _built[name]


# ------------------------------------------------------------- output ---

def main(data_dir, only=()):
    for name, fn in SETS:
        if only and name not in only:
            continue
        im = tk.sheet(*built(name))
        im.save(os.path.join(data_dir, name), "PNG", optimize=True)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "data", sys.argv[2:])

#!/usr/bin/python3
"""Drawing kit for the mine field's tile sets.

A tile set is one picture of 1056 x 192 pixels made of 96 x 96 tiles:

    row 0, tile t at x = 96 t:  t = 0..7   a cleared square with 1..8 bombs
                                           around it
                                t = 8      a cleared square with its bomb
                                           (the bomb has gone off)
                                t = 9      a covered square
                                t = 10     a covered square with the
                                           player's bomb mark
    row 1, frame f at x = 96 f: f = 0..7   the explosion, played over the
                                           square before it shows tile 8

The rest of row 1 (x 768..1055) is not used by the game and is left dark.
A cleared square with no bomb around it has no tile: the background shows
through.

Tiles are drawn at S times their size as float RGB arrays (0..255) and
reduced at the end.  Coordinates handed to the helpers are in tile pixels
(0..96).  The game stretches tiles with nearest-neighbour sampling down to
about 20 x 19 pixels on the biggest layout, so numbers are drawn large,
heavy and in colours that stay apart from each other and from the covered
squares.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

import picturelib as pl

T = 96            # tile size in the set
S = 4             # supersampling
N = T * S         # working size
SHEET_W, SHEET_H = 11 * T, 2 * T

# Number colours for light grounds and for dark grounds, 1..8.
PAL_LIGHT = [(22, 84, 226), (14, 132, 24), (214, 22, 22), (96, 30, 176),
             (226, 112, 0), (0, 132, 146), (28, 28, 28), (196, 24, 150)]
PAL_DARK = [(78, 156, 255), (70, 226, 76), (255, 74, 60), (196, 120, 255),
            (255, 176, 30), (40, 232, 222), (250, 250, 250), (255, 112, 204)]

_YY, _XX = np.mgrid[0:N, 0:N].astype(np.float32)
XX = (_XX + 0.5) / S      # tile-pixel coordinates of every working pixel
YY = (_YY + 0.5) / S


# ------------------------------------------------------------ basics ---

def solid(colour):
    a = np.empty((N, N, 3), np.float32)
    a[:, :] = colour
    return a


def comp(base, top, m):
    """base * (1 - m) + top * m; top is a colour or an array, m a 0..1 mask."""
    m = m[:, :, None] if m.ndim == 2 else m
    top = np.asarray(top, np.float32)
    return base * (1.0 - m) + top * m


def add_light(base, colour, m):
    return base + np.asarray(colour, np.float32) * m[:, :, None]


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def _box1(a, r, axis, wrap):
    if r < 1:
        return a
    n = a.shape[axis]
    if wrap:
        pad = np.concatenate([np.take(a, range(n - r - 1, n), axis=axis), a,
                              np.take(a, range(0, r), axis=axis)], axis=axis)
    else:
        first = np.take(a, [0], axis=axis)
        last = np.take(a, [n - 1], axis=axis)
        pad = np.concatenate([np.repeat(first, r + 1, axis=axis), a,
                              np.repeat(last, r, axis=axis)], axis=axis)
    c = np.cumsum(pad, axis=axis, dtype=np.float64)
    hi = np.take(c, range(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, range(0, n), axis=axis)
    return ((hi - lo) / (2 * r + 1)).astype(np.float32)


def blur(a, sigma, wrap=False):
    """Near-Gaussian blur (three box passes) of a 2-D or 3-D array; sigma in
    working pixels."""
    if sigma <= 0.3:
        return a.astype(np.float32)
    r = max(1, int(round((math.sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)))
    out = a.astype(np.float32)
    for _ in range(3):
        out = _box1(out, r, 0, wrap)
        out = _box1(out, r, 1, wrap)
    return out


def tblur(a, sigma_tile_px):
    """Blur with sigma given in tile pixels."""
    return blur(a, sigma_tile_px * S)


def mask(draw_fn):
    """A 0..1 mask from PIL drawing on an L image at working size; draw_fn
    gets (ImageDraw, scale)."""
    im = Image.new("L", (N, N), 0)
    draw_fn(ImageDraw.Draw(im), S)
    return np.asarray(im, np.float32) / 255.0


def circle_mask(cx, cy, r):
    d = np.sqrt((XX - cx) ** 2 + (YY - cy) ** 2)
    return np.clip(r - d + 0.5 / S, 0.0, 1.0 / S) * S


def poly_mask(pts):
    return mask(lambda d, s: d.polygon([(x * s, y * s) for x, y in pts], fill=255))


def line_mask(pts, width):
    return mask(lambda d, s: d.line([(x * s, y * s) for x, y in pts], fill=255,
                                    width=int(round(width * s)), joint="curve"))


def text_mask(txt, size, cx, cy, face="DejaVuSans-Bold.ttf", stroke=0.0):
    """Text centred on its ink box at (cx, cy); stroke widens it."""
    f = pl.font(face, size * S)
    im = Image.new("L", (N, N), 0)
    d = ImageDraw.Draw(im)
    l, t, r, b = d.textbbox((0, 0), txt, font=f)
    x = cx * S - (l + r) / 2.0
    y = cy * S - (t + b) / 2.0
    d.text((x, y), txt, font=f, fill=255, stroke_width=int(round(stroke * S)),
           stroke_fill=255)
    return np.asarray(im, np.float32) / 255.0


def noise(rng, cell, octaves=4, aniso=(1.0, 1.0)):
    """Fractal noise 0..1 over the working tile, features `cell` tile pixels
    across; aniso stretches them along x and y."""
    out = np.zeros((N, N), np.float32)
    amp, norm = 1.0, 0.0
    c = cell * S
    for _ in range(octaves):
        if c < 1.5:
            break
        cx, cy = c * aniso[0], c * aniso[1]
        gw, gh = int(N / cx) + 3, int(N / cy) + 3
        grid = rng.random((gh, gw)).astype(np.float32)
        im = Image.fromarray(grid, "F").resize((int(gw * cx), int(gh * cy)), Image.BICUBIC)
        a = np.asarray(im, np.float32)
        ox = int(rng.integers(0, max(1, int(cx))))
        oy = int(rng.integers(0, max(1, int(cy))))
        out += amp * a[oy:oy + N, ox:ox + N]
        norm += amp
        amp *= 0.5
        c /= 2.0
    out /= norm
    lo, hi = float(out.min()), float(out.max())
    return (out - lo) / max(1e-6, hi - lo)


def tint(nz, c0, c1):
    """Colour ramp from c0 to c1 over a 0..1 field."""
    c0 = np.asarray(c0, np.float32)
    c1 = np.asarray(c1, np.float32)
    return c0 + (c1 - c0) * nz[:, :, None]


def ramp(v, stops):
    """Colour ramp through stops [(t, colour), ...] over a field."""
    out = np.empty(v.shape + (3,), np.float32)
    xs = [s[0] for s in stops]
    for ch in range(3):
        out[:, :, ch] = np.interp(v, xs, [s[1][ch] for s in stops])
    return out


# ----------------------------------------------------------- lighting ---

LIGHT = np.array([-0.55, -0.65, 0.85], np.float32)
LIGHT /= np.linalg.norm(LIGHT)


def normals(height):
    """Unit normals of a height field given in working pixels."""
    gy, gx = np.gradient(height)
    n = np.stack([-gx, -gy, np.ones_like(height)], axis=2)
    return n / np.linalg.norm(n, axis=2, keepdims=True)


def lit(height, ambient=0.35, spec_power=30.0):
    """Diffuse (relative to a flat surface, 1 = flat) and specular terms
    for a height field."""
    n = normals(height)
    d = np.clip((n * LIGHT).sum(axis=2), 0.0, 1.0)
    flat = float(LIGHT[2])
    diffuse = (ambient + (1 - ambient) * d) / (ambient + (1 - ambient) * flat)
    h = LIGHT + np.array([0, 0, 1], np.float32)
    h /= np.linalg.norm(h)
    spec = np.clip((n * h).sum(axis=2), 0.0, 1.0) ** spec_power
    spec_flat = float(h[2]) ** spec_power
    return diffuse, np.clip(spec - spec_flat, 0.0, 1.0)


def edge_distance(inset=0.0):
    """Distance in tile pixels from the nearest tile edge, less inset."""
    return np.minimum.reduce([XX, YY, T - XX, T - YY]) - inset


def bevel_height(width, depth, inset=0.0, round_corner=0.0, profile="round"):
    """Height field (working pixels) of a raised square plate."""
    d = edge_distance(inset)
    if round_corner > 0:
        # rounded corners: distance to a rounded rectangle
        r = round_corner
        qx = np.maximum(np.abs(XX - T / 2) - (T / 2 - inset - r), 0)
        qy = np.maximum(np.abs(YY - T / 2) - (T / 2 - inset - r), 0)
        corner = r - np.sqrt(qx * qx + qy * qy)
        inner = np.minimum(T / 2 - inset - np.abs(XX - T / 2),
                           T / 2 - inset - np.abs(YY - T / 2))
        d = np.where((qx > 0) & (qy > 0), corner, np.minimum(inner, corner + 1e3))
    t = np.clip(d / width, 0.0, 1.0)
    if profile == "round":
        t = np.sin(t * math.pi / 2)
    elif profile == "smooth":
        t = t * t * (3 - 2 * t)
    return t * depth * S, d


def apply_light(base, height, ambient=0.35, spec_power=30.0, spec=90.0, gain=1.0):
    diffuse, sp = lit(height, ambient, spec_power)
    diffuse = 1.0 + (diffuse - 1.0) * gain
    return base * diffuse[:, :, None] + spec * sp[:, :, None]


def inner_shadow(base, width, strength=0.45, inset=0.0):
    """Darkens the top and left inner edges, as of a square sunk into the
    board, and lightens the bottom and right a little."""
    dl = XX - inset
    dt = YY - inset
    dr = T - inset - XX
    db = T - inset - YY
    sh = np.clip(1 - np.minimum(dl, dt) / width, 0, 1) ** 1.5
    hi = np.clip(1 - np.minimum(dr, db) / (width * 0.6), 0, 1) ** 2
    f = 1.0 - strength * sh + 0.18 * strength * hi
    return base * f[:, :, None]


def drop_shadow(base, m, dx, dy, sigma, strength=0.6):
    """Darkens the ground under a shape (mask m) offset by (dx, dy) tile
    pixels."""
    sh = np.roll(np.roll(m, int(round(dy * S)), axis=0), int(round(dx * S)), axis=1)
    sh = tblur(sh, sigma)
    return base * (1.0 - strength * sh)[:, :, None]


def glow(base, m, colour, sigma, amount=1.0):
    g = tblur(m, sigma) * amount
    return add_light(base, colour, g)


def gloss(base, amount=40.0, y0=0.0, y1=0.45):
    """A soft reflected window across the upper part of a polished tile."""
    t = np.clip((YY - y0 * T) / ((y1 - y0) * T), 0, 1)
    band = (1 - t) ** 1.5 * smoothstep(0, 6, edge_distance(3))
    diag = 0.6 + 0.4 * np.clip(1 - (XX + YY) / (1.4 * T), 0, 1)
    return base + amount * (band * diag)[:, :, None]


def finish(a):
    """Reduce a working array to a 96 x 96 RGB picture."""
    im = Image.fromarray(pl.clamp8(a), "RGB")
    return im.resize((T, T), Image.LANCZOS)


# ------------------------------------------------------------- digits ---

DIGIT_SIZE = 88          # font size of the numbers, in tile pixels
DIGIT_FACE = "DejaVuSans-Bold.ttf"


def digit_mask(n, size=DIGIT_SIZE, cx=T / 2, cy=T / 2, stroke=0.0, face=DIGIT_FACE):
    return text_mask(str(n), size, cx, cy, face, stroke)


def digit_plain(base, n, colour, outline=(0, 0, 0), ow=3.0, shadow=0.5, size=DIGIT_SIZE,
                cx=T / 2, cy=T / 2, emboss=True, face=DIGIT_FACE):
    """A heavy number in colour with an outline and a drop shadow; with
    emboss its face is rounded and lit."""
    core = digit_mask(n, size, cx, cy, 0, face)
    ring = digit_mask(n, size, cx, cy, ow, face) if ow > 0 else core
    if shadow:
        base = drop_shadow(base, ring, 2.2, 2.8, 2.0, shadow)
    base = comp(base, outline, ring)
    face_col = solid(colour)
    if emboss:
        h = tblur(core, 2.2) * 9 * S
        face_col = apply_light(face_col, h, ambient=0.55, spec_power=24, spec=70, gain=0.8)
    return comp(base, face_col, core)


def digit_glow(base, n, colour, size=DIGIT_SIZE, core_white=0.45, halo=6.0, amount=1.3,
               face=DIGIT_FACE, cx=T / 2, cy=T / 2):
    """A number of light: a wide halo, the coloured stroke and a whiter core."""
    core = digit_mask(n, size, cx, cy, 0, face)
    col = np.asarray(colour, np.float32)
    base = glow(base, core, col * 0.9, halo, amount)
    base = comp(base, col, core)
    # hot core: the middle of each stroke runs toward white
    inner = np.clip(tblur(core, 2.5) * 2.2 - 1.2, 0, 1)
    base = comp(base, col + (255 - col) * core_white, inner)
    return base


def digit_engraved(base, n, inlay, size=DIGIT_SIZE, depth=5.0, face=DIGIT_FACE,
                   cx=T / 2, cy=T / 2):
    """A number cut into the surface and filled with coloured inlay."""
    core = digit_mask(n, size, cx, cy, 0, face)
    h = -tblur(core, 1.4) * depth * S
    wall = apply_light(base, h, ambient=0.25, spec_power=12, spec=20, gain=1.6)
    return comp(wall, inlay, np.clip(tblur(core, 0.8) * 1.6 - 0.45, 0, 1))


def digit_tube(base, n, colour, size=DIGIT_SIZE, width=0.0, face=DIGIT_FACE,
               cx=T / 2, cy=T / 2, shine=150.0):
    """A soft rounded tube in the shape of the number."""
    core = digit_mask(n, size, cx, cy, width, face)
    base = drop_shadow(base, core, 2.5, 3.5, 3.0, 0.55)
    h = np.sqrt(np.clip(tblur(core, 3.0), 0, 1)) * 16 * S
    body = apply_light(solid(colour), h, ambient=0.35, spec_power=40, spec=shine, gain=1.3)
    return comp(base, body, core)


# -------------------------------------------------------------- bombs ---

def sphere(base, cx, cy, r, colour, spec=230.0, power=28.0, rim=None):
    """A lit ball; rim adds a coloured back light round its edge."""
    dx = (XX - cx) / r
    dy = (YY - cy) / r
    d2 = dx * dx + dy * dy
    m = circle_mask(cx, cy, r)
    z = np.sqrt(np.clip(1 - d2, 0, 1))
    n = np.stack([dx, dy, z], axis=2)
    dif = np.clip((n * LIGHT).sum(axis=2), 0, 1)
    h = LIGHT + np.array([0, 0, 1], np.float32)
    h /= np.linalg.norm(h)
    sp = np.clip((n * h).sum(axis=2), 0, 1) ** power
    col = np.asarray(colour, np.float32)
    ball = col * (0.25 + 0.95 * dif)[:, :, None] + spec * sp[:, :, None]
    if rim is not None:
        ball += np.asarray(rim, np.float32) * (np.clip(d2 - 0.55, 0, 1) ** 1.5 * 1.8)[:, :, None]
    return comp(base, ball, m)


def spark(base, cx, cy, r, colour=(255, 230, 120), rays=8, rng=None):
    """A star of light: glow, rays and a white centre."""
    ang = np.arctan2(YY - cy, XX - cx)
    d = np.sqrt((XX - cx) ** 2 + (YY - cy) ** 2)
    phase = 0.0 if rng is None else float(rng.uniform(0, math.pi))
    rays_f = np.abs(np.cos((ang + phase) * rays / 2.0)) ** 18
    star = np.clip(1 - d / r, 0, 1) ** 1.4 * (0.25 + 0.75 * rays_f)
    core = np.exp(-(d / (r * 0.16)) ** 2)
    base = add_light(base, colour, star * 1.6)
    base = add_light(base, (255, 255, 255), core * 1.2)
    base = add_light(base, colour, np.exp(-(d / (r * 0.45)) ** 2) * 0.9)
    return base


def bomb(base, cx=48, cy=52, r=24, colour=(38, 38, 46), fuse=True, lit=True, rng=None,
         spikes=0, rim=None, cap=(150, 150, 160), fuse_col=(150, 120, 80), spark_r=15):
    """A round bomb with a capped fuse; lit adds a spark at the fuse's end."""
    if spikes:
        for k in range(spikes):
            a = 2 * math.pi * k / spikes + math.pi / spikes
            x1, y1 = cx + math.cos(a) * r * 1.28, cy + math.sin(a) * r * 1.28
            m = line_mask([(cx, cy), (x1, y1)], r * 0.22)
            base = comp(base, pl.shade(colour, 1.6), m)
            base = comp(base, (200, 200, 210), circle_mask(x1, y1, r * 0.12))
    base = drop_shadow(base, circle_mask(cx, cy, r), 2.5, 3.5, 2.5, 0.45)
    base = sphere(base, cx, cy, r, colour, rim=rim)
    # cap on the upper right
    a = -math.pi / 4
    kx, ky = cx + math.cos(a) * r * 0.92, cy + math.sin(a) * r * 0.92
    cw = r * 0.34
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    pts = [(kx + vx * cw - ux * 2, ky + vy * cw - uy * 2),
           (kx - vx * cw - ux * 2, ky - vy * cw - uy * 2),
           (kx - vx * cw + ux * r * 0.30, ky - vy * cw + uy * r * 0.30),
           (kx + vx * cw + ux * r * 0.30, ky + vy * cw + uy * r * 0.30)]
    cm = poly_mask(pts)
    h = tblur(cm, 1.2) * 5 * S
    base = comp(base, apply_light(solid(cap), h, 0.4, 20, 120, 1.2), cm)
    if fuse:
        ex, ey = kx + ux * r * 0.30, ky + uy * r * 0.30
        pts = []
        for i in range(12):
            t = i / 11.0
            pts.append((ex + t * r * 0.50 + math.sin(t * 3.0) * r * 0.10,
                        ey - t * r * 0.42 - math.sin(t * math.pi) * r * 0.18))
        fm = line_mask(pts, max(2.2, r * 0.12))
        base = comp(base, fuse_col, fm)
        if lit:
            base = spark(base, pts[-1][0], pts[-1][1], spark_r, rng=rng)
    return base


def flag(base, cx=48, foot=82, h=66, cloth=(226, 28, 28), pole=(40, 34, 30),
         stand=(30, 30, 30), outline=(20, 10, 10), width=44):
    """The player's bomb mark: a big pennant on a pole on a little stand."""
    px = cx - width * 0.42
    top = foot - h
    pole_m = line_mask([(px, foot - 2), (px, top)], 5.5)
    cloth_pts = [(px + 1, top), (px + width, top + h * 0.27), (px + 1, top + h * 0.56)]
    cloth_m = poly_mask(cloth_pts)
    stand_m = mask(lambda d, s: d.rounded_rectangle(
        [(px - 17) * s, (foot - 8) * s, (px + 19) * s, (foot + 3) * s], radius=3 * s, fill=255))
    outline_m = np.clip(tblur(np.maximum.reduce([pole_m, cloth_m, stand_m]), 1.1) * 3.0, 0, 1)
    base = drop_shadow(base, outline_m, 2.5, 3, 2.5, 0.55)
    base = comp(base, outline, outline_m)
    base = comp(base, pole, pole_m)
    wave = tblur(cloth_m, 1.5) * 6 * S + np.sin((XX - px) / 6.0) * cloth_m * 2.0 * S
    base = comp(base, apply_light(solid(cloth), wave, 0.45, 20, 80, 1.0), cloth_m)
    base = comp(base, apply_light(solid(stand), tblur(stand_m, 1.2) * 5 * S, 0.4, 20, 90, 1.2),
                stand_m)
    return base


# --------------------------------------------------------- explosions ---

FIRE = [(0.0, (60, 8, 0)), (0.25, (170, 30, 0)), (0.5, (240, 110, 10)),
        (0.75, (255, 210, 60)), (1.0, (255, 255, 230))]
ELECTRIC = [(0.0, (20, 0, 60)), (0.3, (90, 30, 200)), (0.55, (60, 160, 255)),
            (0.8, (170, 240, 255)), (1.0, (255, 255, 255))]
TOXIC = [(0.0, (10, 40, 0)), (0.3, (60, 150, 0)), (0.55, (150, 230, 20)),
         (0.8, (230, 255, 120)), (1.0, (255, 255, 235))]


def explosion_frames(covered, exploded, seed, palette=FIRE, smoke=(70, 62, 58)):
    """Eight frames: a flash on the covered square, a fireball that fills
    the square and bursts past its edges, then smoke thinning over the
    exploded bomb."""
    rng = np.random.default_rng(seed)
    turb = noise(rng, 14, 4)
    turb2 = noise(rng, 7, 3)
    ang = np.arctan2(YY - 48, XX - 48)
    d = np.sqrt((XX - 48) ** 2 + (YY - 48) ** 2)
    lobes = 0.5 + 0.5 * np.sin(ang * 7 + turb * 6) * np.cos(ang * 3 - turb2 * 4)
    radii = [9, 20, 32, 44, 56, 60, 62, 64]
    heat = [1.0, 1.0, 0.95, 0.9, 0.78, 0.55, 0.3, 0.1]
    reveal = [0.0, 0.0, 0.0, 0.0, 0.25, 0.55, 0.8, 0.93]
    smoke_amt = [0.0, 0.0, 0.0, 0.1, 0.25, 0.45, 0.42, 0.2]
    sparks = [(rng.uniform(0, 2 * math.pi), rng.uniform(0.6, 1.2)) for _ in range(16)]
    frames = []
    for f in range(8):
        base = comp(covered, exploded, np.full((N, N), reveal[f], np.float32))
        R = radii[f] * (0.82 + 0.3 * lobes)
        t = np.clip(1 - d / R, 0, 1)
        fire_v = np.clip(t * 1.25 * heat[f] + (turb2 - 0.5) * 0.35 * t, 0, 1)
        fire = ramp(fire_v, palette)
        a = smoothstep(0.0, 0.18, t) * min(1.0, heat[f] * 1.35)
        # smoke ring outside the fire as it cools
        sm = smoothstep(0.0, 0.5, 1 - d / (R * 1.25)) * smoke_amt[f] * (0.6 + 0.6 * turb)
        base = comp(base, smoke, np.clip(sm, 0, 1))
        base = comp(base, fire, np.clip(a, 0, 1))
        if 1 <= f <= 5:
            for (sa, sp) in sparks:
                rr = radii[f] * sp * 1.1
                x, y = 48 + math.cos(sa) * rr, 48 + math.sin(sa) * rr
                m = line_mask([(48 + math.cos(sa) * rr * 0.8, 48 + math.sin(sa) * rr * 0.8),
                               (x, y)], 2.2)
                base = add_light(base, palette[-2][1], m * heat[f] * 0.9)
        if f == 0:
            base = spark(base, 48, 48, 30, palette[-2][1], rays=6)
        frames.append(base)
    return frames


# -------------------------------------------------------------- sheet ---

def sheet(numbers, exploded, covered, marked, frames):
    """The set's picture from its working arrays."""
    im = Image.new("RGB", (SHEET_W, SHEET_H), (0, 0, 0))
    row0 = list(numbers) + [exploded, covered, marked]
    assert len(row0) == 11 and len(frames) == 8
    for t, a in enumerate(row0):
        im.paste(finish(a), (t * T, 0))
    for f, a in enumerate(frames):
        im.paste(finish(a), (f * T, T))
    return im

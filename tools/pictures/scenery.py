#!/usr/bin/python3
"""Pieces of scenery used by both built-in puzzle pictures: sky and clouds,
trees, people, lamp posts, birds, stone and brick textures."""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl


def sky(c, rng, stops, cloud_cover=0.5, cloud_cell=170, sun=None, horizon=1.0,
        wisps=0.45, warm_side=0.0, mottle_amount=0.22):
    """Gradient sky with soft, lit clouds and high wisps over the whole
    canvas.  stops run from the top (0) to `horizon` (fraction of the
    height).  warm_side > 0 warms the left of the sky, < 0 the right."""
    W, H, S = c.w * c.s, c.h * c.s, c.s
    st = [(t * horizon, col) for t, col in stops] + [(1.0, stops[-1][1])]
    arr = pl.vertical_gradient(W, H, st)
    xx1 = np.linspace(-1, 1, W, dtype=np.float32)[None, :]
    if warm_side:
        warm = np.clip(-xx1 * np.sign(warm_side), 0, 1) * abs(warm_side)
        arr += warm[:, :, None] * np.array([40, 18, -22], np.float32)
    # gentle colour drift so no two patches of sky look the same
    drift = pl.fbm(W, H, 260 * S, rng, 4)
    arr *= (0.90 + 0.20 * drift)[:, :, None]
    # a faint mottle of thin haze, so even clear patches have a grain of
    # their own
    mottle = pl.fbm(W, H, 34 * S, rng, 4)
    haze = np.clip((mottle - 0.45) * 1.6, 0, 1) * mottle_amount
    arr = arr * (1 - haze[:, :, None]) + haze[:, :, None] * np.array([236, 240, 250], np.float32)
    if sun is not None:
        sx, sy, sr = sun
        yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
        d = np.sqrt((xx - sx * S) ** 2 + (yy - sy * S) ** 2) / (sr * S)
        glow = np.exp(-d * 0.35) * 0.55 + np.exp(-d * 1.2) * 0.5
        arr += glow[:, :, None] * np.array([110, 86, 40], np.float32)
        ang = np.arctan2(yy - sy * S, xx - sx * S)
        rays = (0.5 + 0.5 * np.cos(ang * 14)) * np.exp(-d * 0.25) * np.clip(d - 1, 0, 1)
        arr += rays[:, :, None] * np.array([26, 22, 10], np.float32)
        disc = np.clip((1.15 - d) * 6, 0, 1)
    # high wisps: fine noise stretched sideways
    if wisps:
        wn = pl.fbm(W // 6 + 1, H, 10 * S, rng, 4)
        wn = np.asarray(Image.fromarray(wn, "F").resize((W, H), Image.BICUBIC), np.float32)
        big = pl.fbm(W, H, 200 * S, rng, 2)
        wa = np.clip((wn - 0.55) * 3.0, 0, 1) * np.clip((big - 0.35) * 2.5, 0, 1) * wisps
        yy1 = np.linspace(0, 1, H, dtype=np.float32)[:, None]
        wa *= np.clip(1.2 - yy1 / max(0.05, horizon), 0, 1)
        arr = arr * (1 - wa[:, :, None]) + wa[:, :, None] * np.array([244, 244, 250])
    # clouds: fractal noise thresholded, lit from above, greyer underneath
    n = pl.fbm(W, H, cloud_cell * S, rng, 6, 0.52)
    stretch = np.asarray(Image.fromarray(n, "F").resize((W, H // 2)).resize((W, H)),
                         np.float32)     # wider than tall
    n = 0.5 * n + 0.5 * stretch
    yy = np.linspace(0, 1, H, dtype=np.float32)[:, None]
    band = np.clip(1.0 - np.abs(yy - 0.35 * horizon) * 1.3, 0.3, 1.0)
    dens = np.clip((n - (1.0 - cloud_cover)) * 3.2, 0, 1) * band
    shift = 10 * S
    under = np.empty_like(dens)
    under[shift:] = dens[:-shift]
    under[:shift] = dens[:1]
    lit = np.clip(dens - under * 0.75, 0, 1)
    cloud_col = np.array([252, 250, 246], np.float32)
    shade_col = np.array([160, 158, 186], np.float32)
    col = shade_col[None, None, :] + (cloud_col - shade_col)[None, None, :] * \
        np.clip(0.35 + lit * 1.6, 0, 1)[:, :, None]
    # billows inside the cloud so big clouds are not one flat white
    detail = pl.fbm(W, H, cloud_cell * S / 3.0, rng, 5, 0.6)
    col *= (0.80 + 0.30 * detail)[:, :, None]
    a = np.clip(dens * 1.25, 0, 0.97)[:, :, None]
    arr = arr * (1 - a) + col * a
    if sun is not None:
        # the sun shows through thin cloud
        k = (disc * (1 - 0.6 * a[:, :, 0]))[:, :, None]
        arr = arr * (1 - k) + k * np.array([255, 248, 222], np.float32)
    c.set_array(arr)


def birds(c, rng, n, box, size=(4, 8), colour=(40, 40, 56)):
    x0, y0, x1, y1 = box
    for _ in range(n):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        s = rng.uniform(*size)
        flap = rng.uniform(0.2, 0.7)
        c.line([(x - s, y - s * flap), (x - s * 0.4, y - s * 0.15), (x, y + s * 0.1),
                (x + s * 0.4, y - s * 0.15), (x + s, y - s * flap)], colour, max(1.0, s / 5))


def stone_texture(W, H, S, base, rng, course=12, block=(16, 34), mortar=0.78,
                  var=0.09, weather=0.10):
    """Ashlar masonry as an array of W x H final pixels at scale S."""
    w, h = W * S, H * S
    f = np.ones((h, w), np.float32)
    ch = int(course * S)
    for r0 in range(0, h, ch):
        x = -int(rng.integers(0, block[1] * S))
        row = np.ones(w, np.float32)
        edges = []
        while x < w:
            bw = int(rng.uniform(*block) * S)
            a, b = max(0, x), min(w, x + bw)
            if b > a:
                row[a:b] = 1.0 + rng.uniform(-var, var)
            edges.append(x)
            x += bw
        rows = slice(r0, min(h, r0 + ch))
        f[rows, :] = row[None, :]
        for e in edges:
            if 0 <= e < w:
                f[rows, e:e + max(1, S // 2 + 1)] *= mortar
        f[r0:r0 + max(1, S // 2 + 1), :] *= mortar
        # a lighter lip on top of every course, a little shadow below
        f[min(h - 1, r0 + S):min(h, r0 + 2 * S), :] *= 1.05
    n = pl.fbm(w, h, 60 * S, rng, 5)
    g = pl.fbm(w, h, 6 * S, rng, 2)
    streak = pl.fbm(w, h // 8 + 1, 40 * S, rng, 3)
    streak = np.asarray(Image.fromarray(streak, "F").resize((w, h)), np.float32)
    f *= (1.0 - weather / 2) + weather * n
    f *= 0.95 + 0.1 * g
    f *= 1.0 - 0.10 * np.clip(streak - 0.55, 0, 1) * 2
    arr = np.empty((h, w, 3), np.float32)
    for k in range(3):
        arr[:, :, k] = base[k] * f
    return arr


def brick_texture(W, H, S, base, rng, bw=14, bh=6, var=0.12, mortar=(196, 186, 170)):
    w, h = W * S, H * S
    arr = np.empty((h, w, 3), np.float32)
    arr[:] = mortar
    rows = int(h / (bh * S)) + 1
    cols = int(w / (bw * S)) + 2
    fac = 1.0 + rng.uniform(-var, var, (rows, cols)).astype(np.float32)
    hue = rng.uniform(-12, 12, (rows, cols)).astype(np.float32)
    yy, xx = np.mgrid[0:h, 0:w]
    r = yy // (bh * S)
    xo = xx + (r % 2) * (bw * S // 2)
    cidx = xo // (bw * S)
    inb = ((yy % (bh * S)) >= S) & ((xo % (bw * S)) >= S)
    f = fac[r, cidx]
    hshift = hue[r, cidx]
    for k in range(3):
        v = base[k] * f + (hshift if k == 0 else -hshift * 0.3)
        arr[:, :, k] = np.where(inb, v, arr[:, :, k])
    n = pl.fbm(w, h, 50 * S, rng, 4)
    arr *= (0.9 + 0.2 * n)[:, :, None]
    return arr


def paste_masked(c, arr, shape_fn):
    """Paste a texture array through a mask drawn by shape_fn(mask_draw)."""
    m, md = c.mask()
    shape_fn(md)
    c.paste_array(arr, m)


def tree(c, rng, x, ground, height, width, greens=None, trunk=(86, 62, 40)):
    """A leafy tree: trunk, then a crown of many overlapping leaf clusters lit
    from the upper left."""
    if greens is None:
        greens = [(46, 96, 40), (64, 120, 48), (84, 142, 58), (110, 164, 70)]
    tw = width * 0.09
    c.poly([(x - tw, ground), (x - tw * 0.6, ground - height * 0.55),
            (x + tw * 0.6, ground - height * 0.55), (x + tw, ground)], fill=trunk)
    c.poly([(x + tw * 0.1, ground), (x + tw * 0.2, ground - height * 0.55),
            (x + tw * 0.6, ground - height * 0.55), (x + tw, ground)],
           fill=pl.shade(trunk, 0.7))
    for sgn in (-1, 1):
        c.line([(x, ground - height * 0.45), (x + sgn * width * 0.22, ground - height * 0.7)],
               trunk, tw * 0.6)
    cy = ground - height * 0.62
    rx, ry = width / 2, height * 0.40
    blobs = []
    for _ in range(int(90 + width * 0.9)):
        a = rng.uniform(0, 2 * math.pi)
        rr = math.sqrt(rng.uniform(0, 1))
        bx = x + math.cos(a) * rx * rr
        by = cy + math.sin(a) * ry * rr
        br = rng.uniform(0.09, 0.17) * width
        blobs.append((by, bx, br))
    blobs.sort()
    for by, bx, br in blobs:
        # light from the upper left: blobs up there are lighter
        lightness = 0.5 - (bx - x) / (2.4 * rx) - (by - cy) / (2.4 * ry)
        k = int(max(0, min(len(greens) - 1, round(lightness * (len(greens) - 1)))))
        col = pl.jitter(greens[k], rng, 0.08)
        c.circle(bx, by, br, fill=pl.shade(col, 0.78))
        c.circle(bx - br * 0.15, by - br * 0.18, br * 0.78, fill=col)
        if rng.random() < 0.5:
            c.circle(bx - br * 0.35, by - br * 0.35, br * 0.3,
                     fill=pl.shade(col, 1.18))


def person(c, rng, x, ground, height, facing=None, palette=None):
    """A small standing or walking figure, feet at (x, ground)."""
    if palette is None:
        palette = [(180, 40, 40), (40, 70, 150), (60, 120, 60), (200, 150, 40),
                   (120, 60, 130), (60, 60, 70), (210, 210, 200), (160, 90, 40),
                   (30, 120, 150), (220, 100, 140)]
    skin = [(240, 200, 170), (210, 160, 120), (160, 110, 80), (110, 74, 50)]
    h = height
    coat = palette[int(rng.integers(len(palette)))]
    legs = [(40, 40, 60), (60, 50, 40), (90, 90, 110), (30, 30, 34)][int(rng.integers(4))]
    sk = skin[int(rng.integers(len(skin)))]
    w = h * 0.26
    stride = rng.uniform(0, 0.12) * h
    # legs
    c.poly([(x - w * 0.42, ground - h * 0.46), (x - w * 0.05, ground - h * 0.46),
            (x - w * 0.08 - stride * 0.3, ground), (x - w * 0.45 - stride, ground)], fill=legs)
    c.poly([(x + w * 0.05, ground - h * 0.46), (x + w * 0.42, ground - h * 0.46),
            (x + w * 0.45 + stride, ground), (x + w * 0.08 + stride * 0.3, ground)],
           fill=pl.shade(legs, 0.8))
    c.ellipse(x - w * 0.55 - stride, ground - h * 0.035, x - w * 0.02 - stride * 0.3,
              ground + h * 0.01, fill=(30, 26, 24))
    c.ellipse(x + w * 0.02 + stride * 0.3, ground - h * 0.035, x + w * 0.55 + stride,
              ground + h * 0.01, fill=(30, 26, 24))
    # body (a coat or a dress)
    dress = rng.random() < 0.35
    bot = ground - (h * 0.30 if dress else h * 0.42)
    wb = w * (0.75 if dress else 0.55)
    c.poly([(x - w * 0.5, ground - h * 0.80), (x + w * 0.5, ground - h * 0.80),
            (x + wb, bot), (x - wb, bot)], fill=coat)
    c.poly([(x + w * 0.1, ground - h * 0.80), (x + w * 0.5, ground - h * 0.80),
            (x + wb, bot), (x + wb * 0.2, bot)], fill=pl.shade(coat, 0.78))
    # arms
    c.line([(x - w * 0.48, ground - h * 0.78), (x - w * 0.62, ground - h * 0.52)],
           pl.shade(coat, 0.9), w * 0.28)
    c.line([(x + w * 0.48, ground - h * 0.78), (x + w * 0.62, ground - h * 0.52)],
           pl.shade(coat, 0.7), w * 0.28)
    # head and hair / hat
    hr = h * 0.085
    hy = ground - h * 0.89
    c.rect(x - w * 0.1, ground - h * 0.84, x + w * 0.1, ground - h * 0.79, fill=sk)
    c.circle(x, hy, hr, fill=sk)
    hair = [(40, 30, 20), (90, 60, 30), (200, 170, 90), (150, 150, 150), (20, 20, 20)]
    hc = hair[int(rng.integers(len(hair)))]
    roll = rng.random()
    if roll < 0.25:
        hat = palette[int(rng.integers(len(palette)))]
        c.ellipse(x - hr * 1.6, hy - hr * 0.8, x + hr * 1.6, hy - hr * 0.3, fill=hat)
        c.rect(x - hr * 0.9, hy - hr * 1.6, x + hr * 0.9, hy - hr * 0.55, fill=hat)
    else:
        c.pieslice(x, hy, hr * 1.05, 180, 360, fill=hc)
        if roll > 0.8:
            c.rect(x - hr, hy, x - hr * 0.5, hy + hr * 1.5, fill=hc)
            c.rect(x + hr * 0.5, hy, x + hr, hy + hr * 1.5, fill=hc)
    return coat


def lamp_post(c, x, ground, height, colour=(34, 36, 44), lit=False):
    t = height * 0.035
    c.rect(x - t * 1.6, ground - height * 0.08, x + t * 1.6, ground, fill=colour)
    c.rect(x - t * 0.55, ground - height * 0.86, x + t * 0.55, ground, fill=colour)
    c.rect(x - t * 1.1, ground - height * 0.45, x + t * 1.1, ground - height * 0.42,
           fill=colour)
    lw = height * 0.10
    top = ground - height
    glass = (255, 236, 160) if lit else (210, 224, 220)
    c.poly([(x - lw * 0.5, top + lw * 0.5), (x + lw * 0.5, top + lw * 0.5),
            (x + lw * 0.65, top + lw * 1.7), (x - lw * 0.65, top + lw * 1.7)], fill=glass)
    c.line([(x, top + lw * 0.5), (x, top + lw * 1.7)], colour, t * 0.4)
    c.poly([(x - lw * 0.75, top + lw * 0.55), (x, top - lw * 0.1),
            (x + lw * 0.75, top + lw * 0.55)], fill=colour)
    c.rect(x - lw * 0.7, top + lw * 1.7, x + lw * 0.7, top + lw * 1.9, fill=colour)
    c.circle(x, top - lw * 0.15, t * 0.9, fill=colour)


def cast_shadows(c, ellipses, strength=0.35, blur=2.0):
    """Darken the ground under a list of (x0, y0, x1, y1) ellipses, softly."""
    m, md = c.mask()
    for (x0, y0, x1, y1) in ellipses:
        md.ellipse(c.box(x0, y0, x1, y1), fill=255)
    m = m.filter(ImageFilter.GaussianBlur(blur * c.s))
    k = np.asarray(m, np.float32)[:, :, None] / 255.0
    c.set_array(c.array() * (1.0 - strength * k))

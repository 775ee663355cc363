#!/usr/bin/python3
"""Drawing helpers for the later puzzle pictures (games room, cards, game
screen, swamp, cat, stained glass): light and glow, textured fills through
masks, rotated sprites with shadows, water reflections and a jittered-grid
cell map.  Everything works on a picturelib.Canvas and in final-picture
pixels, like picturelib itself."""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl


def hsv(h, s, v):
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, max(0.0, min(1.0, s)), max(0.0, min(1.0, v)))
    return (int(r * 255), int(g * 255), int(b * 255))


def glow(c, x, y, r, colour, amount=1.0, falloff=2.0):
    """Add light round (x, y): colour * amount at the centre, fading over
    about r pixels.  Works on a window round the light only."""
    S = c.s
    arr = c.array()
    H, W = arr.shape[:2]
    R = r * 3.0 * S
    x0, x1 = int(max(0, x * S - R)), int(min(W, x * S + R))
    y0, y1 = int(max(0, y * S - R)), int(min(H, y * S + R))
    if x1 <= x0 or y1 <= y0:
        return
    yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float32)
    d = np.sqrt((xx - x * S) ** 2 + (yy - y * S) ** 2) / (r * S)
    k = np.exp(-d ** falloff) * amount
    arr[y0:y1, x0:x1] += k[:, :, None] * np.array(colour, np.float32)
    c.set_array(arr)


def glow_many(c, lights):
    """Several glows at once: list of (x, y, r, colour, amount)."""
    S = c.s
    arr = c.array()
    H, W = arr.shape[:2]
    for (x, y, r, colour, amount) in lights:
        R = r * 3.0 * S
        x0, x1 = int(max(0, x * S - R)), int(min(W, x * S + R))
        y0, y1 = int(max(0, y * S - R)), int(min(H, y * S + R))
        if x1 <= x0 or y1 <= y0:
            continue
        yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float32)
        d2 = ((xx - x * S) ** 2 + (yy - y * S) ** 2) / (r * S) ** 2
        arr[y0:y1, x0:x1] += (np.exp(-d2) * amount)[:, :, None] * np.array(colour, np.float32)
    c.set_array(arr)


def poly_mask(c, pts_list, blur=0.0):
    """A mask (PIL L image at canvas scale) of one or more polygons."""
    m, md = c.mask()
    for pts in pts_list:
        md.polygon(c.p(pts), fill=255)
    if blur:
        m = m.filter(ImageFilter.GaussianBlur(blur * c.s))
    return m


def fill_array(c, pts_list, arr):
    """Paste a full-canvas colour array through polygons."""
    c.paste_array(arr, poly_mask(c, pts_list))


def darken(c, mask, amount, colour=(0, 0, 0)):
    """Blend towards colour by mask * amount (a soft shadow or a tint)."""
    arr = c.array()
    k = np.asarray(mask, np.float32)[:, :, None] / 255.0 * amount
    arr = arr * (1 - k) + k * np.array(colour, np.float32)
    c.set_array(arr)


def soft_shadow(c, pts_list, amount=0.4, blur=4.0, colour=(0, 0, 0)):
    darken(c, poly_mask(c, pts_list, blur), amount, colour)


def shadow_ellipses(c, boxes, amount=0.4, blur=3.0):
    m, md = c.mask()
    for (x0, y0, x1, y1) in boxes:
        md.ellipse(c.box(x0, y0, x1, y1), fill=255)
    m = m.filter(ImageFilter.GaussianBlur(blur * c.s))
    darken(c, m, amount)


def grad_array(c, top, bottom, y0=0, y1=None, noise=None):
    """A full-canvas vertical gradient between y0 and y1 (final pixels),
    optionally multiplied by a noise field."""
    H = c.h * c.s
    y1 = c.h if y1 is None else y1
    t = np.clip((np.arange(H, dtype=np.float32) / c.s - y0) / max(1e-3, y1 - y0), 0, 1)
    arr = np.empty((H, c.w * c.s, 3), np.float32)
    for k in range(3):
        arr[:, :, k] = (top[k] + (bottom[k] - top[k]) * t)[:, None]
    if noise is not None:
        arr *= noise[:, :, None]
    return arr


def noise_field(c, rng, cell, octaves=4, amp=0.1):
    """1 +- amp of fractal noise over the canvas (cell in final pixels)."""
    n = pl.fbm(c.w * c.s, c.h * c.s, cell * c.s, rng, octaves)
    return 1.0 + amp * (n - 0.5) * 2.0


def sprite(w, h, S):
    """A transparent RGBA sprite image of w x h final pixels and a
    drawing handle on it."""
    im = Image.new("RGBA", (int(round(w * S)), int(round(h * S))), (0, 0, 0, 0))
    return im, ImageDraw.Draw(im)


def paste_sprite(c, im, cx, cy, angle=0.0, shadow=None):
    """Paste an RGBA sprite (drawn at the canvas scale) centred on (cx, cy)
    turned by angle degrees (anticlockwise).  shadow = (dx, dy, blur,
    amount) lays a soft drop shadow first."""
    S = c.s
    rot = im.rotate(angle, resample=Image.BICUBIC, expand=True) if angle else im
    px = int(round(cx * S - rot.size[0] / 2))
    py = int(round(cy * S - rot.size[1] / 2))
    if shadow is not None:
        dx, dy, blur, amount = shadow
        a = rot.split()[3]
        pad = int(blur * S * 3) + 2
        big = Image.new("L", (a.size[0] + 2 * pad, a.size[1] + 2 * pad), 0)
        big.paste(a, (pad, pad))
        big = big.filter(ImageFilter.GaussianBlur(blur * S))
        big = big.point(lambda v: int(v * amount))
        c.img.paste((0, 0, 0), (px - pad + int(dx * S), py - pad + int(dy * S)), big)
    c.img.paste(rot, (px, py), rot)
    c.draw = ImageDraw.Draw(c.img)


def reflect(c, y_water, y_end=None, ripple=3.0, rng=None, tint=(40, 60, 80), tint_amount=0.3,
            darkness=0.78, streaks=0.08, wave_len=9.0, blur=0.0):
    """Mirror everything above y_water into the water below it, with
    sideways ripple, a tint, a darkening and faint horizontal streaks."""
    S = c.s
    arr = c.array()
    H, W = arr.shape[:2]
    yw = int(y_water * S)
    ye = H if y_end is None else int(y_end * S)
    rows = np.arange(yw, ye)
    src_rows = np.clip(2 * yw - rows - 1, 0, H - 1)
    depth = (rows - yw) / float(max(1, ye - yw))
    if rng is None:
        rng = np.random.default_rng(0)
    n = pl.fbm(W, ye - yw, 30 * S, rng, 4)
    phase = rng.uniform(0, 6.28)
    xx = np.arange(W)[None, :]
    wl = wave_len * S * (1 + depth[:, None] * 2.5)
    disp = (np.sin(rows[:, None] / wl * 6.28 + phase + n * 5.0) * ripple * S *
            (0.4 + depth[:, None] * 1.2))
    src_x = np.clip((xx + disp).astype(np.int32), 0, W - 1)
    out = arr[src_rows[:, None], src_x]
    if blur:
        im = Image.fromarray(pl.clamp8(out), "RGB").filter(ImageFilter.GaussianBlur(blur * S))
        out = np.asarray(im, np.float32)
    out = out * darkness
    out = out * (1 - tint_amount) + np.array(tint, np.float32) * tint_amount
    st = pl.fbm(W // 16 + 1, ye - yw, 3 * S, rng, 2)
    st = np.asarray(Image.fromarray(st, "F").resize((W, ye - yw), Image.BICUBIC), np.float32)
    out *= (1 - streaks + 2 * streaks * st)[:, :, None]
    arr[yw:ye] = out
    c.set_array(arr)


def cell_map(w, h, cell, rng, jitter=0.9):
    """Labels of a jittered-grid cell pattern (Voronoi cells of one seed per
    grid square) over w x h pixels, and the seed positions."""
    gw, gh = int(w / cell) + 2, int(h / cell) + 2
    sx = (np.arange(gw)[None, :] + 0.5 + rng.uniform(-0.5, 0.5, (gh, gw)) * jitter) * cell
    sy = (np.arange(gh)[:, None] + 0.5 + rng.uniform(-0.5, 0.5, (gh, gw)) * jitter) * cell
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    ci = (xx // cell).astype(np.int32)
    cj = (yy // cell).astype(np.int32)
    best = np.full((h, w), 1e18, np.float32)
    lab = np.zeros((h, w), np.int32)
    for dj in (-1, 0, 1):
        for di in (-1, 0, 1):
            i = np.clip(ci + di, 0, gw - 1)
            j = np.clip(cj + dj, 0, gh - 1)
            d = (xx - sx[j, i]) ** 2 + (yy - sy[j, i]) ** 2
            better = d < best
            best = np.where(better, d, best)
            lab = np.where(better, j * gw + i, lab)
    return lab, sx.ravel(), sy.ravel()


def edges_of(labels, width):
    """True where the label changes within `width` pixels."""
    e = np.zeros(labels.shape, bool)
    e[:, 1:] |= labels[:, 1:] != labels[:, :-1]
    e[1:, :] |= labels[1:, :] != labels[:-1, :]
    if width > 1:
        im = Image.fromarray((e * 255).astype(np.uint8), "L")
        im = im.filter(ImageFilter.MaxFilter(int(width) | 1))
        e = np.asarray(im) > 127
    return e


def vignette(c, amount=0.3, power=2.2, centre=(0.5, 0.5)):
    S = c.s
    H, W = c.h * S, c.w * S
    yy = np.linspace(-1, 1, H, dtype=np.float32)[:, None] - (centre[1] - 0.5) * 2
    xx = np.linspace(-1, 1, W, dtype=np.float32)[None, :] - (centre[0] - 0.5) * 2
    d = np.sqrt(xx ** 2 + yy ** 2) / math.sqrt(2)
    k = 1.0 - amount * np.clip(d, 0, 1) ** power
    c.set_array(c.array() * k[:, :, None])


def bezier(p0, p1, p2, p3=None, n=24):
    """Points along a quadratic (or cubic) Bezier curve."""
    pts = []
    for i in range(n + 1):
        t = i / n
        if p3 is None:
            x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0]
            y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1]
        else:
            x = ((1 - t) ** 3 * p0[0] + 3 * (1 - t) ** 2 * t * p1[0] +
                 3 * (1 - t) * t * t * p2[0] + t ** 3 * p3[0])
            y = ((1 - t) ** 3 * p0[1] + 3 * (1 - t) ** 2 * t * p1[1] +
                 3 * (1 - t) * t * t * p2[1] + t ** 3 * p3[1])
        pts.append((x, y))
    return pts


def finish(c, path, sharpen=40):
    """Reduce, sharpen lightly and write the picture as a .bkg."""
    out = c.final()
    if sharpen:
        out = out.filter(ImageFilter.UnsharpMask(radius=1.2, percent=sharpen, threshold=2))
    return pl.save_jpeg_bkg(out, path)


def paste_patch(c, arr, x0, y0, pts_list=None, ellipses=None, mask=None):
    """Paste an array of canvas pixels with its top left at (x0, y0) final
    pixels, through polygons / ellipses given in final pixels (or through
    an L mask of the patch's own size)."""
    S = c.s
    layer = Image.fromarray(pl.clamp8(arr), "RGB")
    ox, oy = int(round(x0 * S)), int(round(y0 * S))
    if mask is None and (pts_list or ellipses):
        mask = Image.new("L", layer.size, 0)
        md = ImageDraw.Draw(mask)
        for pts in pts_list or []:
            md.polygon([(x * S - ox, y * S - oy) for (x, y) in pts], fill=255)
        for (ex0, ey0, ex1, ey1) in ellipses or []:
            md.ellipse([ex0 * S - ox, ey0 * S - oy, ex1 * S - ox, ey1 * S - oy], fill=255)
    c.img.paste(layer, (ox, oy), mask)
    c.draw = ImageDraw.Draw(c.img)


def wood_patch(w, h, S, base, rng, horizontal=True, period=7.0, warp=18.0, contrast=0.22,
               fine_amp=0.24):
    """A piece of wood w x h final pixels (returned at canvas scale) whose
    grain runs sideways (horizontal=True) or up and down."""
    W_, H_ = max(2, int(math.ceil(w * S))), max(2, int(math.ceil(h * S)))
    if not horizontal:
        W_, H_ = H_, W_
    fine = pl.fbm(max(3, W_ // 14), H_, 3 * S, rng, 3)
    fine = np.asarray(Image.fromarray(fine, "F").resize((W_, H_), Image.BICUBIC), np.float32)
    warpn = pl.fbm(W_, H_, 70 * S, rng, 3)
    yy = np.arange(H_, dtype=np.float32)[:, None]
    rings = 0.5 + 0.5 * np.sin((yy + warpn * warp * S) / (period * S) * 2 * math.pi)
    rings = rings ** 4
    f = 0.88 + fine_amp * (fine - 0.5) - contrast * rings + 0.06 * (warpn - 0.5)
    arr = np.empty((H_, W_, 3), np.float32)
    for k in range(3):
        arr[:, :, k] = base[k] * f
    if not horizontal:
        arr = arr.transpose(1, 0, 2).copy()
    return arr


def layer(c):
    """A transparent drawing layer the size of canvas c, with all of the
    Canvas drawing methods.  Lay it down with compose()."""
    L = pl.Canvas.__new__(pl.Canvas)
    L.w, L.h, L.s = c.w, c.h, c.s
    L.img = Image.new("RGBA", c.img.size, (0, 0, 0, 0))
    L.draw = ImageDraw.Draw(L.img)
    return L


def compose(c, L):
    c.img.paste(L.img, (0, 0), L.img)
    c.draw = ImageDraw.Draw(c.img)


def haze_layer(L, colour, amount):
    """Blend a layer's colours towards colour (distance haze)."""
    a = np.asarray(L.img, np.float32).copy()
    a[:, :, :3] = a[:, :, :3] * (1 - amount) + np.array(colour, np.float32) * amount
    L.img = Image.fromarray(pl.clamp8(a), "RGBA")
    L.draw = ImageDraw.Draw(L.img)


def reflect_layer(c, L, y_water, rng, ripple=2.5, darkness=0.7, tint=(30, 50, 40), tint_amount=0.35,
                  alpha=0.75, fade=260.0, wave_len=7.0):
    """Lay a layer's reflection in still water about y_water (final
    pixels): mirrored, rippled sideways, darkened and fading with depth."""
    S = c.s
    a = np.asarray(L.img, np.float32)
    H, W = a.shape[:2]
    yw = int(y_water * S)
    if yw >= H:
        return
    rows = np.arange(yw, H)
    src = 2 * yw - rows - 1
    ok = src >= 0
    rows, src = rows[ok], src[ok]
    d = (rows - yw) / S
    phase = rng.uniform(0, 6.28)
    xx = np.arange(W)[None, :]
    disp = np.sin(rows[:, None] / (wave_len * S * (1 + d[:, None] / 120.0)) * 6.28 + phase +
                  xx * 0.004) * ripple * S * (0.5 + d[:, None] / 80.0)
    sx = np.clip((xx + disp).astype(np.int32), 0, W - 1)
    out = a[src[:, None], sx].copy()
    out[:, :, :3] = out[:, :, :3] * darkness * (1 - tint_amount) + np.array(tint, np.float32) * tint_amount
    out[:, :, 3] *= alpha * np.clip(1 - d / fade, 0, 1)[:, None]
    # broken into ripple bands
    band = 0.75 + 0.25 * np.sin(rows / (2.2 * S) + phase)[:, None]
    out[:, :, 3] *= band
    full = np.zeros_like(a)
    full[rows] = out
    im = Image.fromarray(pl.clamp8(full), "RGBA")
    c.img.paste(im, (0, 0), im)
    c.draw = ImageDraw.Draw(c.img)

#!/usr/bin/python3
"""Small drawing helpers shared by the picture scripts.

Scenes are drawn at SCALE times their final size with PIL and reduced at the
end, which gives smooth edges everywhere.  All coordinates handed to Canvas
methods are in final-picture pixels.  Every random choice comes from a seeded
generator so that a regeneration gives byte-identical pictures.
"""
import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(name, size):
    return ImageFont.truetype(FONT_DIR + name, int(round(size)))


def clamp8(a):
    return np.clip(a, 0, 255).astype(np.uint8)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(c1[i] + (c2[i] - c1[i]) * t)) for i in range(3))


def shade(c, f):
    """Scale a colour; f > 1 lightens, f < 1 darkens."""
    return tuple(int(max(0, min(255, round(v * f)))) for v in c)


def jitter(c, rng, amount):
    f = 1.0 + rng.uniform(-amount, amount)
    return tuple(int(max(0, min(255, round(v * f + rng.uniform(-4, 4))))) for v in c)


# ---------------------------------------------------------------- noise ----

def value_noise(w, h, cell, rng):
    """Smooth noise in 0..1 with features about `cell` pixels across."""
    gw = int(w / cell) + 3
    gh = int(h / cell) + 3
    grid = rng.random((gh, gw)).astype(np.float32)
    im = Image.fromarray(grid, mode="F").resize(
        (int(gw * cell), int(gh * cell)), Image.BICUBIC)
    ox = int(rng.integers(0, max(1, int(cell))))
    oy = int(rng.integers(0, max(1, int(cell))))
    return np.asarray(im, dtype=np.float32)[oy:oy + h, ox:ox + w]


def fbm(w, h, cell, rng, octaves=4, persistence=0.5):
    """Fractal noise normalised to 0..1."""
    total = np.zeros((h, w), np.float32)
    amp = 1.0
    norm = 0.0
    c = cell
    for _ in range(octaves):
        if c < 1.5:
            break
        total += amp * value_noise(w, h, c, rng)
        norm += amp
        amp *= persistence
        c /= 2.0
    total /= norm
    lo, hi = float(total.min()), float(total.max())
    return (total - lo) / max(1e-6, hi - lo)


def vertical_gradient(w, h, stops):
    """stops: list of (t, (r, g, b)) with t from 0 (top) to 1 (bottom)."""
    t = np.linspace(0.0, 1.0, h, dtype=np.float32)
    out = np.zeros((h, w, 3), np.float32)
    for ch in range(3):
        xs = [s[0] for s in stops]
        ys = [s[1][ch] for s in stops]
        col = np.interp(t, xs, ys).astype(np.float32)
        out[:, :, ch] = col[:, None]
    return out


# --------------------------------------------------------------- canvas ----

class Canvas:
    """An RGB picture drawn at SCALE x its final size."""

    def __init__(self, w, h, scale=2, background=(0, 0, 0)):
        self.w, self.h, self.s = w, h, scale
        self.img = Image.new("RGB", (w * scale, h * scale), background)
        self.draw = ImageDraw.Draw(self.img)

    # coordinate helpers
    def p(self, pts):
        s = self.s
        return [(x * s, y * s) for (x, y) in pts]

    def box(self, x0, y0, x1, y1):
        s = self.s
        return [min(x0, x1) * s, min(y0, y1) * s, max(x0, x1) * s, max(y0, y1) * s]

    # drawing
    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.draw.rectangle(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                            width=max(1, int(round(width * self.s))) if outline else 0)

    def rrect(self, x0, y0, x1, y1, r, fill=None, outline=None, width=1):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * self.s,
                                    fill=fill, outline=outline,
                                    width=max(1, int(round(width * self.s))))

    def poly(self, pts, fill=None, outline=None, width=1):
        if outline is not None and fill is None:
            self.line(list(pts) + [pts[0]], outline, width)
            return
        self.draw.polygon(self.p(pts), fill=fill, outline=outline)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.draw.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                          width=max(1, int(round(width * self.s))))

    def circle(self, cx, cy, r, fill=None, outline=None, width=1):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill, outline, width)

    def line(self, pts, fill, width=1):
        self.draw.line(self.p(pts), fill=fill, width=max(1, int(round(width * self.s))),
                       joint="curve")

    def pieslice(self, cx, cy, r, a0, a1, fill, outline=None):
        self.draw.pieslice(self.box(cx - r, cy - r, cx + r, cy + r), a0, a1,
                           fill=fill, outline=outline)

    def arc(self, cx, cy, r, a0, a1, fill, width=1):
        self.draw.arc(self.box(cx - r, cy - r, cx + r, cy + r), a0, a1, fill=fill,
                      width=max(1, int(round(width * self.s))))

    def text(self, xy, txt, fnt, fill, anchor="la", stroke=0, stroke_fill=None):
        self.draw.text((xy[0] * self.s, xy[1] * self.s), txt, font=fnt, fill=fill,
                       anchor=anchor, stroke_width=int(round(stroke * self.s)),
                       stroke_fill=stroke_fill)

    def font(self, name, size):
        return font(name, size * self.s)

    # layers
    def mask(self):
        m = Image.new("L", self.img.size, 0)
        return m, ImageDraw.Draw(m)

    def paste_array(self, arr, mask=None):
        layer = Image.fromarray(clamp8(arr), "RGB")
        if mask is None:
            self.img.paste(layer)
        else:
            self.img.paste(layer, (0, 0), mask)
        self.draw = ImageDraw.Draw(self.img)

    def array(self):
        return np.asarray(self.img, dtype=np.float32)

    def set_array(self, arr):
        self.img = Image.fromarray(clamp8(arr), "RGB")
        self.draw = ImageDraw.Draw(self.img)

    def final(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def sharp_path(path):
    """Where the twice-size form of a picture goes: NAME@2x.EXT beside it.
    The game shows it on screens with more than one pixel to a unit."""
    base, ext = os.path.splitext(path)
    return base + "@2x" + ext


def mask_draw_poly(mdraw, canvas, pts, value=255):
    mdraw.polygon(canvas.p(pts), fill=value)


def textured(size, base, rng, amp=0.12, cell=40, octaves=4, grain=0.0):
    """An RGB array of `base` colour modulated by fractal noise."""
    w, h = size
    n = fbm(w, h, cell, rng, octaves)
    f = 1.0 + amp * (n - 0.5) * 2.0
    if grain:
        f = f + rng.normal(0.0, grain, (h, w)).astype(np.float32)
    arr = np.empty((h, w, 3), np.float32)
    for ch in range(3):
        arr[:, :, ch] = base[ch] * f
    return arr


def gothic_arch(x0, x1, y_spring, y_bottom, pointed=1.0, steps=24):
    """Outline of a pointed arch: straight jambs from y_bottom up to y_spring,
    then two circular arcs meeting at the apex.  pointed=1 is the equilateral
    arch; 0.5 is a round arch."""
    w = x1 - x0
    r = max(w * pointed, w / 2.0 + 1e-3)
    cx_l = x0 + r
    mid = (x0 + x1) / 2.0
    a_end = math.acos(max(-1.0, min(1.0, (mid - cx_l) / r)))
    left = []
    for i in range(steps + 1):
        a = math.pi - (math.pi - a_end) * i / steps
        left.append((cx_l + r * math.cos(a), y_spring - r * math.sin(a)))
    right = [(x0 + x1 - x, y) for (x, y) in reversed(left[:-1])]
    return [(x0, y_bottom)] + left + right + [(x1, y_bottom)]


def arch_apex(x0, x1, y_spring, pointed=1.0):
    w = x1 - x0
    r = max(w * pointed, w / 2.0 + 1e-3)
    return y_spring - math.sqrt(max(0.0, r * r - (r - w / 2.0) ** 2))


def save_jpeg_bkg(img, path, quality=90, limit=300 * 1024):
    """Write the picture as JPEG data under a .bkg name, lowering the
    quality a little if needed to stay under the size limit."""
    q = quality
    while True:
        img.save(path, "JPEG", quality=q, optimize=True, subsampling=0 if q >= 92 else 2)

        if os.path.getsize(path) <= limit or q <= 70:
            return q
        q -= 2

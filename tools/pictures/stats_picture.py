#!/usr/bin/python3
"""The statistics picture, swpstats.tif: the 620 x 440 background of the
statistics dialog.  The dialog writes each value in white on dark red
(128, 0, 0), centred in a fixed rectangle; this picture carries the captions
beside those rectangles and fills each rectangle with the same dark red so
that the drawn values sit in a tidy panel."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl

W, H = 620, 440
VALUE_RED = (128, 0, 0)

# (left, top, right, bottom) of every value the dialog draws, with the
# caption shown beside it.  Right and bottom are exclusive.
VALUES = [
    ((500, 20, 600, 42), "Time for this game:"),
    ((500, 65, 600, 87), "Moves for this game:"),
    ((260, 135, 600, 157), "Statistics for:"),
    ((500, 178, 600, 200), "Board size:"),
    ((500, 223, 600, 245), "Games won:"),
    ((500, 268, 600, 290), "Average moves:"),
    ((500, 313, 600, 335), "Average time:"),
    ((500, 358, 600, 380), "Best moves:"),
    ((500, 403, 600, 425), "Best time:"),
]
PANEL_MARGIN = 3     # red beyond the rectangle on each side
FRAME = 2.5          # gold frame round the red


def background(rng, S=2):
    """The board behind everything, drawn S times the final size.  The soft
    noise is made at twice the final size whatever S is, so that the
    twice-size picture shows the same clouds as the picture itself."""
    w, h = W * S, H * S
    base = pl.vertical_gradient(w, h, [(0, (38, 30, 92)), (0.55, (24, 40, 96)),
                                       (1, (14, 22, 58))])
    # a loose mosaic of squares, each a little lighter or darker: the board
    tile = 22 * S
    ny, nx = h // tile + 1, w // tile + 1
    f = 1.0 + rng.uniform(-0.10, 0.10, (ny, nx)).astype(np.float32)
    fmap = np.kron(f, np.ones((tile, tile), np.float32))[:h, :w]
    yy, xx = np.mgrid[0:h, 0:w]
    lines = ((xx % tile) < 1 * S) | ((yy % tile) < 1 * S)
    fmap = fmap * np.where(lines, 0.82, 1.0)
    n = pl.fbm(W * 2, H * 2, 160 * 2, rng, 4)
    if S != 2:
        n = np.asarray(Image.fromarray(n, "F").resize((w, h), Image.BICUBIC), np.float32)
    fmap *= 0.88 + 0.24 * n
    arr = base * fmap[:, :, None]
    # warm glow behind the trophy
    d = np.sqrt(((xx - 150 * S) / (170 * S)) ** 2 + ((yy - 300 * S) / (150 * S)) ** 2)
    glow = np.clip(1 - d, 0, 1) ** 2
    arr += glow[:, :, None] * np.array([70, 44, 10], np.float32)
    return arr


def trophy(c, cx, top):
    """A gold cup on a wooden plinth, laurels either side."""
    gold_hi = (255, 236, 150)
    gold = (236, 178, 52)
    gold_dk = (150, 96, 20)
    # shadow on the ground
    c.ellipse(cx - 92, top + 206, cx + 92, top + 226, fill=(16, 14, 30))
    # plinth
    c.rect(cx - 70, top + 170, cx + 70, top + 214, fill=(92, 50, 26))
    c.rect(cx - 70, top + 170, cx + 70, top + 176, fill=(132, 78, 40))
    c.rect(cx - 52, top + 184, cx + 52, top + 204, fill=(210, 170, 80))
    c.rect(cx - 49, top + 187, cx + 49, top + 201, fill=(120, 82, 30))
    f = c.font("DejaVuSans-Bold.ttf", 10.5)
    c.text((cx, top + 194.5), "CHAMPION", f, (255, 226, 130), anchor="mm")
    # stem and foot
    c.poly([(cx - 46, top + 170), (cx - 34, top + 150), (cx + 34, top + 150),
            (cx + 46, top + 170)], fill=gold_dk)
    c.poly([(cx - 40, top + 168), (cx - 30, top + 152), (cx, top + 152), (cx, top + 168)],
           fill=gold)
    c.rect(cx - 10, top + 112, cx + 10, top + 152, fill=gold_dk)
    c.rect(cx - 10, top + 112, cx - 1, top + 152, fill=gold)
    c.ellipse(cx - 18, top + 104, cx + 18, top + 122, fill=gold)
    c.ellipse(cx - 14, top + 106, cx + 2, top + 116, fill=gold_hi)
    # handles
    for sgn in (-1, 1):
        c.arc(cx + sgn * 62, top + 42, 26, 0, 360, gold_dk, 9)
        c.arc(cx + sgn * 62, top + 42, 26, 0, 360, gold, 5)
    # bowl
    pts = [(cx - 62, top + 8)]
    for k in range(0, 31):
        a = math.pi * k / 30
        pts.append((cx - 62 * math.cos(a), top + 8 + 96 * math.sin(a) ** 1.3 * 1.0))
    pts.append((cx + 62, top + 8))
    c.poly(pts, fill=gold_dk)
    pts2 = [(cx - 58, top + 10)]
    for k in range(0, 31):
        a = math.pi * k / 30
        pts2.append((cx - 58 * math.cos(a) - 6 * math.sin(a), top + 10 + 88 * math.sin(a) ** 1.3))
    c.poly(pts2, fill=gold)
    # highlight stripe
    c.poly([(cx - 44, top + 16), (cx - 30, top + 16), (cx - 20, top + 78), (cx - 30, top + 74)],
           fill=gold_hi)
    c.ellipse(cx - 62, top + 1, cx + 62, top + 17, fill=gold_hi)
    c.ellipse(cx - 56, top + 4, cx + 56, top + 14, fill=(120, 70, 14))
    # a star on the bowl
    star = []
    for k in range(10):
        r = 17 if k % 2 == 0 else 7
        a = -math.pi / 2 + k * math.pi / 5
        star.append((cx + 4 + r * math.cos(a), top + 48 + r * math.sin(a)))
    c.poly(star, fill=(255, 250, 220))
    # laurel sprays rising either side of the cup
    for sgn in (-1, 1):
        c.line([(cx + sgn * 96, top + 152), (cx + sgn * 92, top + 92),
                (cx + sgn * 76, top + 30)], (58, 100, 40), 2)
        for k in range(7):
            t = k / 6.0
            ry = top + 150 - 120 * t
            rx = cx + sgn * (96 - 22 * t * t)
            ang = math.radians(sgn * (30 + 35 * t))
            for side in (-1, 1):
                lx = rx + side * 9 * math.cos(ang)
                ly = ry - 6 + side * 3 * math.sin(ang)
                rot = ang + side * 0.9
                leaf = []
                for m in range(12):
                    b = 2 * math.pi * m / 12
                    ex, ey = 9 * math.cos(b), 4 * math.sin(b)
                    leaf.append((lx + ex * math.cos(rot) - ey * math.sin(rot),
                                 ly + ex * math.sin(rot) + ey * math.cos(rot)))
                c.poly(leaf, fill=(72, 150, 64) if side > 0 else (50, 118, 50))


# The two panels of values: the game's figures at the top, the statistics
# below.  The top one reaches far enough left for its longest caption.
TOP_PANEL = (296, 9, 612, 97)
LOW_PANEL = (318, 167, 612, 434)
NAME_PANEL = (24, 126, 612, 165)


def make_stats(path, scale=1):
    """The picture, or with scale 2 the same picture at twice the size."""
    rng = np.random.default_rng(440)
    S = 2 * scale
    c = pl.Canvas(W, H, S)
    c.set_array(background(rng, S))

    # confetti round the trophy
    cols = [(255, 90, 90), (255, 210, 80), (120, 220, 255), (150, 255, 140), (240, 140, 255)]
    for _ in range(70):
        x, y = rng.uniform(14, 300), rng.uniform(176, 430)
        if 70 < x < 240 and 170 < y < 420:
            continue
        col = cols[int(rng.integers(len(cols)))]
        a = rng.uniform(0, math.pi)
        L, t = rng.uniform(3, 6), 1.6
        c.poly([(x - math.cos(a) * L - math.sin(a) * t, y - math.sin(a) * L + math.cos(a) * t),
                (x + math.cos(a) * L - math.sin(a) * t, y + math.sin(a) * L + math.cos(a) * t),
                (x + math.cos(a) * L + math.sin(a) * t, y + math.sin(a) * L - math.cos(a) * t),
                (x - math.cos(a) * L + math.sin(a) * t, y - math.sin(a) * L - math.cos(a) * t)],
               fill=col)
    trophy(c, 156, 196)

    # panels behind the two groups of values
    arr = c.array()
    panel = Image.new("L", c.img.size, 0)
    pd = ImageDraw.Draw(panel)
    for box in (TOP_PANEL, LOW_PANEL, NAME_PANEL):
        pd.rounded_rectangle(c.box(*box), radius=10 * S, fill=150)
    pm = np.asarray(panel, np.float32)[:, :, None] / 255.0
    arr = arr * (1 - pm * 0.55) + pm * 0.55 * np.array([8, 10, 30], np.float32)
    c.set_array(arr)
    for box in (TOP_PANEL, LOW_PANEL, NAME_PANEL):
        c.rrect(*box, 10, outline=(200, 160, 70), width=1.2)

    # title
    ft = c.font("DejaVuSerif-Bold.ttf", 40)
    fs = c.font("DejaVuSans-Bold.ttf", 13)
    c.text((27, 63), "Statistics", ft, (40, 16, 0), anchor="ls")
    c.text((24, 60), "Statistics", ft, (255, 214, 96), anchor="ls",
           stroke=1.0, stroke_fill=(120, 60, 10))
    c.text((27, 86), "SWAPSTER  4.1", fs, (190, 200, 255), anchor="ls")
    # a row of little tiles under the title, two of them swapped
    for k in range(8):
        x = 27 + k * 17
        col = pl.mix((255, 110, 90), (120, 140, 255), k / 7.0)
        dy = -4 if k == 5 else (4 if k == 2 else 0)
        c.rrect(x, 98 + dy, x + 14, 112 + dy, 3, fill=col, outline=pl.shade(col, 0.5), width=1)

    # captions and value panels
    fc = c.font("DejaVuSans-Bold.ttf", 15)
    for (l, t, r, b), caption in VALUES:
        m = PANEL_MARGIN
        c.rrect(l - m - FRAME, t - m - FRAME, r + m + FRAME, b + m + FRAME, 5,
                fill=(214, 170, 72))
        c.rrect(l - m - FRAME + 1, t - m - FRAME + 1, r + m + FRAME, b + m + FRAME, 5,
                fill=(110, 70, 20))
        c.rrect(l - m, t - m, r + m, b + m, 3, fill=VALUE_RED)
        tx = l - m - FRAME - 10
        ty = (t + b) / 2.0
        c.text((tx + 1.2, ty + 1.4), caption, fc, (8, 6, 20), anchor="rm")
        c.text((tx, ty), caption, fc, (250, 238, 210), anchor="rm")

    out = c.img.resize((W * scale, H * scale), Image.LANCZOS)
    # the rectangles themselves are exactly the dialog's text background
    a = np.array(out)
    k = scale
    for (l, t, r, b), _ in VALUES:
        a[(t - 1) * k:(b + 1) * k, (l - 1) * k:(r + 1) * k] = VALUE_RED
    Image.fromarray(a, "RGB").save(path, compression="tiff_adobe_deflate")


if __name__ == "__main__":
    out = (sys.argv[1] if len(sys.argv) > 1 else "data") + "/swpstats.tif"
    make_stats(out)
    make_stats(pl.sharp_path(out), 2)

#!/usr/bin/python3
"""The menu icons of both games in the hicolor theme's sizes.

    desktop/icons/<n>x<n>/io.github.swapster.Swapster.png
        the game's own icon (SWICON.png), reduced from its 512 x 512 drawing
    desktop/icons/<n>x<n>/io.github.swapster.Hotfield.png
        the mine field's icon: rosewood squares from rosewood.hfd under a
        lit bomb, in the same frame

for n in 16, 32, 48, 64, 128 and 256.  Every run writes the same bytes.

Usage: icons.py REPOSITORY_ROOT
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "pictures"))

import field_pictures  # noqa: E402
import small_pictures  # noqa: E402
import tilekit as tk  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)
M = 512          # the drawing size both icons are reduced from


def hotfield_master(rose):
    """The mine field's icon at 512 x 512: the Swapster frame in hot
    colours, a 3 x 3 corner of the field (covered squares, numbers, a
    marked bomb) and a lit bomb sitting on it."""
    S = M // 64
    im = Image.new("RGBA", (M, M), (60, 20, 10, 0))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, M - 1, M - 1], radius=12 * S, fill=(40, 12, 8, 255))
    d.rounded_rectangle([1.2 * S, 1.2 * S, M - 1.2 * S, M - 1.2 * S], radius=11 * S,
                        fill=(150, 52, 20, 255))
    d.rounded_rectangle([3 * S, 3 * S, M - 3 * S, M - 3 * S], radius=9 * S,
                        fill=(70, 22, 12, 255))
    # the field: 9 = covered, 10 = marked, 0..7 = numbers 1..8
    board = [[9, 0, 10],
             [0, 1, 0],
             [9, 9, 9]]
    off, gap = 6 * S, 1 * S
    cell = (M - 2 * off - 2 * gap) // 3
    for y, row in enumerate(board):
        for x, t in enumerate(row):
            tile = field_pictures.tile_of(rose, t).resize((cell, cell), Image.LANCZOS)
            pm = Image.new("L", (cell, cell), 0)
            ImageDraw.Draw(pm).rounded_rectangle([0, 0, cell - 1, cell - 1], radius=2 * S, fill=255)
            im.paste(tile, (off + x * (cell + gap), off + y * (cell + gap)), pm)
    # the bomb's shadow, then the bomb, fuse burning
    sh = Image.new("L", (M, M), 0)
    ImageDraw.Draw(sh).ellipse([220, 420, 470, 476], fill=200)
    sh = sh.filter(ImageFilter.GaussianBlur(14))
    im = Image.composite(Image.new("RGBA", (M, M), (0, 0, 0, 255)), im,
                         sh.point(lambda v: int(v * 0.75)))
    # the frame's rounded corners stay clear of the shadow
    corner = Image.new("L", (M, M), 0)
    ImageDraw.Draw(corner).rounded_rectangle([0, 0, M - 1, M - 1], radius=12 * S, fill=255)
    im.putalpha(Image.fromarray(np.minimum(np.asarray(im.split()[3]), np.asarray(corner))))

    def draw_bomb(base):
        return tk.bomb(base, 44, 54, 30, colour=(34, 34, 44), rng=np.random.default_rng(3),
                       lit=True, spark_r=22, rim=(255, 90, 30))
    bomb = field_pictures.layer_from_tile(draw_bomb)     # 384 x 384
    k = 0.92
    bomb = bomb.resize((int(384 * k), int(384 * k)), Image.LANCZOS)
    im.alpha_composite(bomb, (int(340 - 44 * 4 * k), int(342 - 54 * 4 * k)))
    return im


def write_sizes(master, name, root):
    for n in SIZES:
        folder = os.path.join(root, "desktop", "icons", "%dx%d" % (n, n))
        os.makedirs(folder, exist_ok=True)
        master.resize((n, n), Image.LANCZOS).save(os.path.join(folder, name + ".png"),
                                                  optimize=True)


def main(root):
    write_sizes(small_pictures.icon_master(), "io.github.swapster.Swapster", root)
    rose = Image.open(os.path.join(root, "data", "rosewood.hfd")).convert("RGB")
    write_sizes(hotfield_master(rose), "io.github.swapster.Hotfield", root)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")

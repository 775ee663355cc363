#!/usr/bin/python3
"""Checks the mine-field build's pictures: sizes and formats, tiles that
stay apart from each other even at the smallest size the game draws them,
and texture-sheet tiles that repeat without a seam.  check_pictures.py
calls check(); run alone, this prints its own findings."""
import os
import subprocess
import sys

import numpy as np
from PIL import Image

import field_tiles
import tilekit

SMALL = (20, 19)      # a square of the 50 x 40 layout on a 1024 x 768 screen


def identify(path):
    try:
        return subprocess.run(["identify", "-format", "%m %w %h\n", path], capture_output=True,
                              text=True, check=True).stdout.split()[:3]
    except (OSError, subprocess.CalledProcessError):
        return []


def nearest(tile, size):
    """The tile shrunk the way the game copies it: nearest pixel."""
    w, h = size
    a = np.asarray(tile, np.int32)
    return a[(np.arange(h) * tile.size[1]) // h][:, (np.arange(w) * tile.size[0]) // w]


def check(root, need):
    data = os.path.join(root, "data")
    res = os.path.join(root, "resources", "pictures")
    expect = [(os.path.join(data, name), "PNG", (tilekit.SHEET_W, tilekit.SHEET_H))
              for name, _ in field_tiles.SETS]
    expect += [(os.path.join(data, "PLANET_R.BKG"), "JPEG", (1024, 768)),
               (os.path.join(data, "textures.bkg"), "JPEG", (320, 320)),
               (os.path.join(res, "EGG2.png"), "PNG", (340, 320)),
               (os.path.join(res, "BOMBINST.png"), "PNG", (360, 320))]
    for path, fmt, size in expect:
        name = os.path.basename(path)
        if not os.path.exists(path):
            need(False, name + ": missing")
            continue
        im = Image.open(path)
        need(im.format == fmt, "%s: format %s, wanted %s" % (name, im.format, fmt))
        need(im.size == size, "%s: size %s, wanted %s" % (name, im.size, size))
        need(im.mode == "RGB", "%s: mode %s, wanted RGB" % (name, im.mode))
        if fmt == "JPEG":
            need(os.path.getsize(path) <= 300 * 1024, name + ": larger than 300 KB")
        need(identify(path) == [fmt, str(size[0]), str(size[1])],
             "%s: ImageMagick does not read it as %s %d x %d" % (name, fmt, size[0], size[1]))

    for name, _ in field_tiles.SETS:
        path = os.path.join(data, name)
        if not os.path.exists(path):
            continue
        sheet = Image.open(path).convert("RGB")
        if sheet.size != (tilekit.SHEET_W, tilekit.SHEET_H):
            continue
        tiles = [sheet.crop((96 * t, 0, 96 * t + 96, 96)) for t in range(11)]
        small = [nearest(t, SMALL) for t in tiles]
        # every tile of row 0 must differ from every other, also when small
        for i in range(11):
            for j in range(i + 1, 11):
                diff = np.abs(small[i] - small[j]).mean()
                need(diff > 12, "%s: tiles %d and %d look alike at 20 x 19 (%.1f)"
                     % (name, i, j, diff))
        # the explosion ends close to the exploded bomb it leaves behind
        last = np.asarray(sheet.crop((96 * 7, 96, 96 * 8, 192)), np.int32)
        need(np.abs(last - np.asarray(tiles[8], np.int32)).mean() < 40,
             name + ": last explosion frame far from the exploded bomb")

    tex = os.path.join(data, "textures.bkg")
    if os.path.exists(tex):
        a = np.asarray(Image.open(tex).convert("RGB"), np.int32)
        for k in range(25):
            t = a[(k // 5) * 64:(k // 5) * 64 + 64, (k % 5) * 64:(k % 5) * 64 + 64]
            # the step from the last column back to the first may be no
            # bigger than the biggest step inside the texture; rows alike
            for axis in (0, 1):
                steps = np.abs(np.diff(t, axis=axis)).mean(axis=(1 - axis, 2))
                wrap = np.abs(np.take(t, 0, axis) - np.take(t, -1, axis)).mean()
                need(wrap <= steps.max() * 1.1 + 4,
                     "textures.bkg: texture %d shows a seam (%.1f)" % (k, wrap))

    egg = os.path.join(res, "EGG2.png")
    if os.path.exists(egg):
        a = np.asarray(Image.open(egg).convert("RGB"), np.int32)
        border = np.concatenate([a[0], a[-1], a[:, 0], a[:, -1]])
        need(border.max() <= 12, "EGG2.png: edge not dark enough to meet the black screen")


if __name__ == "__main__":
    found = []
    check(sys.argv[1] if len(sys.argv) > 1 else ".", lambda ok, msg: ok or found.append(msg))
    for p in found:
        print("picture check:", p)
    sys.exit(1 if found else 0)

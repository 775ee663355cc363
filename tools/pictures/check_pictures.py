#!/usr/bin/python3
"""Checks the pictures the game ships: sizes, formats and the few pixel
rules the game relies on.  Exits non-zero and names every problem found."""
import os
import subprocess
import sys

import numpy as np
from PIL import Image

problems = []

# Puzzle pictures whose every piece must be told apart by eye when the
# picture is cut into the largest board, 20 x 20.
PIECE_CHECKED = ["gameroom.bkg", "ult_deck.bkg", "orbquest.bkg", "bluebird.bkg", "giantcat.bkg",
                 "stained.bkg"]
GRID = 20
MIN_PIECE_STD = 3.0      # spread of brightness inside one piece
MIN_PIECE_DIFF = 1.0     # mean difference between the nearest two pieces' thumbnails


def need(cond, msg):
    if not cond:
        problems.append(msg)


def check_pieces(path):
    """No flat pieces and no two pieces alike on a 20 x 20 board."""
    name = os.path.basename(path)
    a = np.asarray(Image.open(path).convert("L"), np.float32)
    h, w = a.shape
    xs = [round(i * w / GRID) for i in range(GRID + 1)]
    ys = [round(j * h / GRID) for j in range(GRID + 1)]
    stds, thumbs = [], []
    for j in range(GRID):
        for i in range(GRID):
            piece = a[ys[j]:ys[j + 1], xs[i]:xs[i + 1]]
            stds.append(piece.std())
            thumbs.append(np.asarray(Image.fromarray(piece).resize((8, 6), Image.BILINEAR)).ravel())
    stds = np.array(stds)
    flat = np.nonzero(stds < MIN_PIECE_STD)[0]
    need(len(flat) == 0, "%s: flat pieces (column, row): %s" %
         (name, ", ".join("(%d, %d)" % (k % GRID, k // GRID) for k in flat[:8])))
    t = np.array(thumbs)
    d = np.abs(t[:, None, :] - t[None, :, :]).mean(axis=2)
    np.fill_diagonal(d, np.inf)
    k = int(d.min(axis=1).argmin())
    m = int(d[k].argmin())
    need(d[k, m] >= MIN_PIECE_DIFF, "%s: pieces (%d, %d) and (%d, %d) look alike" %
         (name, k % GRID, k // GRID, m % GRID, m // GRID))


def check(root):
    res = os.path.join(root, "resources", "pictures")
    data = os.path.join(root, "data")
    expect = [
        (os.path.join(res, "EGG.png"), "PNG", (306, 190), "RGB"),
        (os.path.join(res, "CARDBACK.png"), "PNG", (256, 192), "RGB"),
        (os.path.join(res, "CLOCK.png"), "PNG", (96, 96), "RGB"),
        (os.path.join(res, "HFDCLOCK.png"), "PNG", (96, 96), "RGB"),
        (os.path.join(res, "SWICON.png"), "PNG", (64, 64), "RGBA"),
        (os.path.join(data, "cathedra.bkg"), "JPEG", (1024, 768), "RGB"),
        (os.path.join(data, "fire_eng.bkg"), "JPEG", (1024, 768), "RGB"),
    ] + [(os.path.join(data, name), "JPEG", (1024, 768), "RGB") for name in PIECE_CHECKED] + [
        (os.path.join(data, "swpstats.tif"), "TIFF", (620, 440), "RGB"),
    ]
    # the twice-size forms shown on scaled screens
    expect += [(os.path.join(res, name), "PNG", size, "RGB") for name, size in (
        ("EGG@2x.png", (612, 380)), ("EGG2@2x.png", (680, 640)), ("CLOCK@2x.png", (192, 192)),
        ("HFDCLOCK@2x.png", (192, 192)))]
    expect.append((os.path.join(data, "swpstats@2x.tif"), "TIFF", (1240, 880), "RGB"))
    for path, fmt, size, mode in expect:
        name = os.path.basename(path)
        if not os.path.exists(path):
            problems.append(name + ": missing")
            continue
        im = Image.open(path)
        need(im.format == fmt, "%s: format %s, wanted %s" % (name, im.format, fmt))
        need(im.size == size, "%s: size %s, wanted %s" % (name, im.size, size))
        need(im.mode == mode, "%s: mode %s, wanted %s" % (name, im.mode, mode))
        if fmt == "JPEG":
            need(os.path.getsize(path) <= 300 * 1024, name + ": larger than 300 KB")
        if fmt == "TIFF":
            comp = im.info.get("compression")
            need(comp in ("tiff_lzw", "tiff_adobe_deflate"),
                 "%s: compression %s" % (name, comp))
        # the game decodes through ImageMagick, which must know the file by
        # its content whatever its name ends in
        try:
            out = subprocess.run(["identify", "-format", "%m %w %h\n", path],
                                 capture_output=True, text=True, check=True).stdout.split()
            need(out[:3] == [{"JPEG": "JPEG", "PNG": "PNG", "TIFF": "TIFF"}[fmt],
                             str(size[0]), str(size[1])],
                 "%s: ImageMagick reads it as %s" % (name, " ".join(out[:3])))
        except (OSError, subprocess.CalledProcessError) as e:
            problems.append("%s: identify failed: %s" % (name, e))

    for name in PIECE_CHECKED:
        path = os.path.join(data, name)
        if os.path.exists(path):
            check_pieces(path)

    for name, k in (("CLOCK.png", 1), ("HFDCLOCK.png", 1), ("CLOCK@2x.png", 2), ("HFDCLOCK@2x.png", 2)):
        clock = os.path.join(res, name)
        if not os.path.exists(clock):
            continue
        a = np.asarray(Image.open(clock).convert("RGB"), dtype=np.int32)
        yy, xx = np.mgrid[0:96 * k, 0:96 * k]
        d2 = ((xx + 0.5) / k - 48) ** 2 + ((yy + 0.5) / k - 48) ** 2
        black = a.sum(axis=2) == 0
        # black is the clock's transparent colour: all of the corners, none
        # of the face
        need(black[d2 > 48 * 48].all(), name + ": not pure black outside the face")
        need(not black[d2 < 46 * 46].any(), name + ": pure black pixel on the face")
        near = (a.max(axis=2) < 8) & ~black
        need(not near.any(), "%s: near-black pixels (%d)" % (name, near.sum()))
        need(black[d2 < 47 * 47].sum() == 0, name + ": holes near the rim")

    for name, k in (("swpstats.tif", 1), ("swpstats@2x.tif", 2)):
        stats = os.path.join(data, name)
        if not os.path.exists(stats):
            continue
        # the dialog writes white on (128, 0, 0) into these rectangles; the
        # picture must be exactly that colour there so the values sit cleanly
        from stats_picture import VALUES, VALUE_RED
        a = np.asarray(Image.open(stats).convert("RGB"), dtype=np.int32)
        for (l, t, r, b), caption in VALUES:
            patch = a[t * k:b * k, l * k:r * k]
            need((patch == VALUE_RED).all(),
                 "%s: value box for %r is not plain dark red" % (name, caption))
            left = a[t * k:b * k, max(0, l - 200) * k:(l - 8) * k]
            need(left.std() > 20,
                 "%s: no caption beside %r" % (name, caption))

    egg = os.path.join(res, "EGG.png")
    if os.path.exists(egg):
        a = np.asarray(Image.open(egg).convert("RGB"), dtype=np.int32)
        border = np.concatenate([a[0], a[-1], a[:, 0], a[:, -1]])
        need(border.max() <= 12, "EGG.png: edge not dark enough to meet the black screen")
    import check_field; check_field.check(root, need)


if __name__ == "__main__":
    check(sys.argv[1] if len(sys.argv) > 1 else ".")
    for p in problems:
        print("picture check:", p)
    if problems:
        sys.exit(1)
    print("pictures ok")

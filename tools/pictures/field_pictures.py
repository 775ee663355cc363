#!/usr/bin/python3
"""Every picture of the mine-field build, in one run:

    data/*.hfd                       the twelve tile sets (field_tiles.py)
    data/PLANET_R.BKG                the default background (planet.py)
    data/textures.bkg                the texture sheet (field_textures.py)
    resources/pictures/EGG2.png      the title, 340 x 320, fading to black
    resources/pictures/EGG2@2x.png   the same title at twice the size
    resources/pictures/BOMBINST.png  the help picture, 360 x 320

The help dialog lays the current set's eight number tiles, 40 x 40, at
(12, 40 t) down the left edge of the help picture, so the picture leaves
that strip free and explains each row to its right.

Usage: field_pictures.py REPOSITORY_ROOT
"""
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import field_textures
import field_tiles
import picturelib as pl
import planet
import tilekit as tk

TITLE_W, TITLE_H = 340, 320
HELP_W, HELP_H = 360, 320


def tile_of(sheet, t):
    return sheet.crop((96 * t, 0, 96 * t + 96, 96))


def layer_from_tile(draw_fn):
    """Renders tilekit drawing onto black and onto white and returns the
    result as an RGBA picture of 384 x 384 (light added by sparks stays
    see-through)."""
    black = draw_fn(tk.solid((0, 0, 0)))
    white = draw_fn(tk.solid((255, 255, 255)))
    alpha = np.clip(1.0 - (np.clip(white, 0, 255) - np.clip(black, 0, 255)) / 255.0, 0, 1)
    alpha = alpha.min(axis=2)
    col = np.clip(black, 0, 255) / np.maximum(alpha[..., None], 1e-3)
    rgba = np.dstack([pl.clamp8(col), pl.clamp8(alpha * 255)])
    return Image.fromarray(rgba, "RGBA")


def perspective_coeffs(dst, src):
    """Coefficients for Image.transform(PERSPECTIVE) taking output points
    dst to input points src (four each)."""
    rows, rhs = [], []
    for (x, y), (u, v) in zip(dst, src):
        rows.append([x, y, 1, 0, 0, 0, -u * x, -u * y])
        rows.append([0, 0, 0, x, y, 1, -v * x, -v * y])
        rhs += [u, v]
    return np.linalg.solve(np.array(rows, float), np.array(rhs, float)).tolist()


def blur_l(m, r):
    return m.filter(ImageFilter.GaussianBlur(r))


# ----------------------------------------------------------------- title ---

# The board under the bomb: 9 = covered, 10 = marked, 8 = exploded,
# 0..7 = numbers 1..8, -1 = cleared with nothing around (the planet shows).
BOARD = [
    [9, 9, 9, 9, 9, 9, 9, 9, 9, 9],
    [9, 9, 0, 1, 0, 9, 10, 9, 9, 9],
    [9, 0, -1, -1, 0, 1, 0, 9, 9, 9],
    [9, 1, -1, -1, -1, -1, 0, 1, 9, 9],
    [9, 10, 0, -1, -1, 0, 1, 8, 2, 9],
    [9, 9, 1, 0, 0, 1, 9, 9, 9, 9],
]


def title_board(rose, planet_img):
    cols, rows = len(BOARD[0]), len(BOARD)
    im = Image.new("RGB", (cols * 96, rows * 96))
    back = planet_img.resize((cols * 96, rows * 96 * 2)).crop((0, rows * 96 // 2,
                                                               cols * 96, rows * 96 * 3 // 2))
    for y, row in enumerate(BOARD):
        for x, t in enumerate(row):
            if t < 0:
                im.paste(back.crop((x * 96, y * 96, x * 96 + 96, y * 96 + 96)), (x * 96, y * 96))
            else:
                im.paste(tile_of(rose, t), (x * 96, y * 96))
    return im


def fire_text(size, text, S, face="DejaVuSans-Bold.ttf", top=(255, 250, 200),
              mid=(255, 170, 30), bottom=(200, 30, 10)):
    """Hot lettering as RGBA: a glow, a dark rim and a lit gradient face."""
    W, H = size
    f = pl.font(face, 58 * S)
    m = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(m)
    l, t, r, b = d.textbbox((0, 0), text, font=f)
    x, y = (W - (r - l)) / 2 - l, (H - (b - t)) / 2 - t
    d.text((x, y), text, font=f, fill=255)
    rim = Image.new("L", (W, H), 0)
    ImageDraw.Draw(rim).text((x, y), text, font=f, fill=255, stroke_width=int(2.4 * S),
                             stroke_fill=255)
    mf = np.asarray(m, np.float32) / 255
    rf = np.asarray(rim, np.float32) / 255
    gf = np.asarray(blur_l(rim, 9 * S), np.float32) / 255
    yy = np.linspace(0, 1, H, dtype=np.float32)[:, None] * np.ones((1, W), np.float32)
    ty = np.clip((yy - (y + t) / H) / ((b - t) / H), 0, 1)
    face_c = np.empty((H, W, 3), np.float32)
    for ch in range(3):
        face_c[..., ch] = np.interp(ty, [0, 0.5, 1], [top[ch], mid[ch], bottom[ch]])
    # bevel from the blurred letters, lit from the upper left
    hgt = np.asarray(blur_l(m, 1.8 * S), np.float32) / 255
    gy, gx = np.gradient(hgt)
    face_c *= (1 + np.clip(-(gx + gy) * 7 * S, -0.45, 0.45))[..., None]
    out = np.zeros((H, W, 4), np.float32)
    out[..., :3] = np.array((255, 110, 20), np.float32)
    out[..., 3] = gf * 170
    rim_c = np.array((60, 10, 4), np.float32)
    out[..., :3] = out[..., :3] * (1 - rf[..., None]) + rim_c * rf[..., None]
    out[..., 3] = np.maximum(out[..., 3], rf * 255)
    out[..., :3] = out[..., :3] * (1 - mf[..., None]) + face_c * mf[..., None]
    return Image.fromarray(pl.clamp8(out), "RGBA")


def make_title(path, rose, planet_img):
    S = 4
    W, H = TITLE_W * S, TITLE_H * S
    rng = np.random.default_rng(1101)
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    # a red-hot glow behind the bomb, sinking into black before the edge
    nx = (xx - W / 2) / (W / 2)
    ny = (yy - H * 0.5) / (H / 2)
    glow = np.clip(1 - np.sqrt(nx * nx + ny * ny * 1.1), 0, 1) ** 1.7
    bg = np.zeros((H, W, 3), np.float32)
    bg[..., 0] = 120 * glow
    bg[..., 1] = 30 * glow
    bg[..., 2] = 16 * glow
    img = Image.fromarray(pl.clamp8(bg), "RGB").convert("RGBA")

    # the field, laid back in perspective, fading into the dark far away
    board = title_board(rose, planet_img).convert("RGBA")
    bw, bh = board.size
    dst = [(52 * S, 168 * S), (288 * S, 168 * S), (348 * S, 300 * S), (-8 * S, 300 * S)]
    coeffs = perspective_coeffs(dst, [(0, 0), (bw, 0), (bw, bh), (0, bh)])
    field = board.transform((W, H), Image.PERSPECTIVE, coeffs, Image.BICUBIC)
    a = np.asarray(field, np.float32).copy()
    depth = np.clip((yy - 168 * S) / (132 * S), 0, 1)
    a[..., :3] *= (0.25 + 0.75 * depth ** 0.8)[..., None]
    a[..., 3] *= np.clip((yy - 168 * S) / (6 * S), 0, 1)
    img.alpha_composite(Image.fromarray(pl.clamp8(a), "RGBA"))

    # the bomb, sitting on the field, fuse burning
    def draw_bomb(base):
        return tk.bomb(base, 48, 54, 31, colour=(34, 34, 44), rng=np.random.default_rng(3),
                       lit=True, spark_r=20, rim=(255, 90, 30))
    bomb = layer_from_tile(draw_bomb)              # 384 px for 96 tile pixels
    k = 1.25
    bomb = bomb.resize((int(384 * k), int(384 * k)), Image.LANCZOS)
    # its shadow on the field
    sh = Image.new("L", (W, H), 0)
    ImageDraw.Draw(sh).ellipse([124 * S, 206 * S, 226 * S, 226 * S], fill=190)
    sh = blur_l(sh, 5 * S)
    img = Image.composite(Image.new("RGBA", (W, H), (0, 0, 0, 255)), img,
                          sh.point(lambda v: int(v * 0.8)))
    bx, by = int(W / 2 - 48 * S * k), int(150 * S - 54 * S * k)
    img.alpha_composite(bomb, (bx, by))

    # sparks thrown off the fuse
    fx, fy = bx + 66.5 * S * k, by + 13 * S * k
    sparks = Image.new("RGB", (W, H), (0, 0, 0))
    sd = ImageDraw.Draw(sparks)
    for _ in range(70):
        ang = rng.uniform(-math.pi, math.pi * 0.15)
        dist = rng.uniform(6, 62) * S
        x, y = fx + math.cos(ang) * dist, fy + math.sin(ang) * dist * 0.8
        L = rng.uniform(2, 7) * S
        c = tuple(int(v) for v in pl.mix((255, 250, 210), (255, 120, 20), rng.random()))
        sd.line([x, y, x - math.cos(ang) * L, y - math.sin(ang) * L * 0.8], fill=c,
                width=max(1, int(rng.uniform(0.6, 1.4) * S)))
    sp = np.asarray(sparks, np.float32)
    sp = sp + np.asarray(sparks.filter(ImageFilter.GaussianBlur(3 * S)), np.float32) * 2.5
    base = np.asarray(img.convert("RGB"), np.float32)
    img = Image.fromarray(pl.clamp8(base + sp), "RGB").convert("RGBA")

    # the name, hot, across the top
    name = fire_text((W, 84 * S), "HOTFIELD", S)
    img.alpha_composite(name, (0, 12 * S))
    d = ImageDraw.Draw(img)

    # version ribbon on the near edge of the field
    rx0, rx1, ry0, ry1 = 124, 216, 280, 300
    d.rounded_rectangle([rx0 * S, ry0 * S, rx1 * S, ry1 * S], radius=10 * S,
                        fill=(110, 20, 10, 255), outline=(255, 190, 80, 255), width=int(1.3 * S))
    d.text((TITLE_W / 2 * S, (ry0 + ry1) / 2 * S + 0.5 * S), "Version 1.1",
           font=pl.font("DejaVuSans-Bold.ttf", 12 * S), anchor="mm", fill=(255, 226, 150, 255))

    out = img.convert("RGB")
    # melt into the black screen round it
    a = np.asarray(out, np.float32)
    edge = np.minimum.reduce([xx, W - 1 - xx, yy, H - 1 - yy]) / (14.0 * S)
    a *= (np.clip(edge, 0, 1) ** 1.5)[..., None]
    big = Image.fromarray(pl.clamp8(a), "RGB")
    big.resize((TITLE_W, TITLE_H), Image.LANCZOS).save(path, optimize=True)
    big.resize((TITLE_W * 2, TITLE_H * 2), Image.LANCZOS).save(pl.sharp_path(path), optimize=True)


# ------------------------------------------------------------------ help ---

PANEL = (22, 20, 30)
INK = (242, 232, 214)
HOT = (255, 176, 60)


def mini_bomb(d, x, y, r, S):
    """A small bomb icon centred at (x, y), final pixels."""
    d.line([(x + r * 0.5) * S, (y - r * 0.5) * S, (x + r * 1.05) * S, (y - r * 1.05) * S],
           fill=(190, 150, 90), width=max(1, int(1.0 * S)))
    d.ellipse([(x + r * 1.05 - 1.2) * S, (y - r * 1.05 - 1.2) * S, (x + r * 1.05 + 1.2) * S,
               (y - r * 1.05 + 1.2) * S], fill=(255, 200, 60))
    d.ellipse([(x - r) * S, (y - r) * S, (x + r) * S, (y + r) * S], fill=(12, 12, 16),
              outline=(150, 150, 160), width=max(1, int(0.6 * S)))
    d.ellipse([(x - r * 0.6) * S, (y - r * 0.6) * S, (x - r * 0.05) * S, (y - r * 0.1) * S],
              fill=(170, 170, 190))


def mouse(d, x, y, S, button):
    """A mouse seen from above, 16 x 24, its left or right button lit."""
    w, h = 16, 24
    box = [x * S, y * S, (x + w) * S, (y + h) * S]
    d.rounded_rectangle(box, radius=7 * S, fill=(210, 210, 220), outline=(60, 60, 70),
                        width=int(1 * S))
    bx = x if button == "left" else x + w / 2
    d.rounded_rectangle([(bx + 1) * S, (y + 1) * S, (bx + w / 2 - 1) * S, (y + 10) * S],
                        radius=4 * S, fill=(255, 120, 30))
    d.line([(x + w / 2) * S, y * S, (x + w / 2) * S, (y + 10) * S], fill=(60, 60, 70),
           width=int(1 * S))
    d.line([x * S, (y + 10) * S, (x + w) * S, (y + 10) * S], fill=(60, 60, 70), width=int(1 * S))
    # the cord
    d.line([(x + w / 2) * S, y * S, (x + w / 2) * S, (y - 4) * S], fill=(160, 160, 170),
           width=int(1.2 * S))


def make_help(path, rose, planet_img):
    S = 4
    W, H = HELP_W * S, HELP_H * S
    rng = np.random.default_rng(512)
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    t = yy / H
    bg = np.empty((H, W, 3), np.float32)
    for ch in range(3):
        bg[..., ch] = np.interp(t, [0, 1], [PANEL[ch] + 10, PANEL[ch] - 6])
    grain = pl.fbm(W, H, 30 * S, rng, 4)
    bg *= (0.9 + 0.2 * grain)[..., None]
    # the channel down the left edge where the dialog lays the number tiles
    ch = (xx >= 7 * S) & (xx < 57 * S)
    bg[ch] *= 0.45
    img = Image.fromarray(pl.clamp8(bg), "RGB")
    d = ImageDraw.Draw(img)
    d.rectangle([7 * S, 0, 57 * S - 1, H], outline=(90, 70, 50), width=int(1 * S))
    d.line([(203 * S, 8 * S), (203 * S, 312 * S)], fill=(120, 90, 50), width=int(1 * S))

    f_row = pl.font("DejaVuSans-Bold.ttf", 11 * S)
    f_eq = pl.font("DejaVuSans-Bold.ttf", 16 * S)
    for n in range(1, 9):
        cy = 40 * (n - 1) + 20
        d.text((62 * S, (cy + 1) * S), "=", font=f_eq, anchor="lm", fill=HOT)
        label = "1 bomb next to it" if n == 1 else "%d bombs next to it" % n
        d.text((78 * S, (cy - 7.5) * S), label, font=f_row, anchor="lm", fill=INK)
        for k in range(n):
            mini_bomb(d, 84 + k * 14, cy + 9.5, 4.6, S)
        if n < 8:
            d.line([(62 * S, 40 * n * S), (198 * S, 40 * n * S)], fill=(52, 46, 60),
                   width=int(0.7 * S))

    # how to play, with the default set's own tiles
    d.text((282 * S, 15 * S), "HOW TO PLAY", font=pl.font("DejaVuSans-Bold.ttf", 13 * S),
           anchor="mm", fill=HOT)
    f = pl.font("DejaVuSans.ttf", 9.6 * S)
    fb = pl.font("DejaVuSans-Bold.ttf", 9.6 * S)

    def icon(t, x, y, size=30):
        tile = tile_of(rose, t).resize((size * S, size * S), Image.LANCZOS)
        img.paste(tile, (int(x * S), int(y * S)))
        d.rectangle([x * S, y * S, (x + size) * S - 1, (y + size) * S - 1], outline=(0, 0, 0),
                    width=int(0.6 * S))

    def lines(x, y, parts):
        for i, (txt, bold) in enumerate(parts):
            d.text((x * S, (y + i * 12) * S), txt, font=fb if bold else f, fill=INK if not bold
                   else (255, 226, 170))

    y = 30
    icon(9, 210, y)
    mouse(d, 246, y + 5, S, "left")
    lines(266, y, [("Left click", True), ("uncovers a", False), ("square.", False)])
    y += 48
    icon(10, 210, y)
    mouse(d, 246, y + 5, S, "right")
    lines(266, y, [("Right click", True), ("marks a bomb.", False)])
    y += 42
    # a cleared square with no bomb around shows the background
    back = planet_img.crop((700, 60, 880, 240)).resize((30 * S, 30 * S), Image.LANCZOS)
    img.paste(back, (210 * S, y * S))
    d.rectangle([210 * S, y * S, 240 * S - 1, (y + 30) * S - 1], outline=(0, 0, 0),
                width=int(0.6 * S))
    lines(246, y - 2, [("No number:", True), ("no bomb near, so its", False),
                       ("neighbours open too.", False)])
    y += 48
    icon(8, 210, y)
    lines(246, y - 2, [("Bomb!", True), ("Fewer explosions", False), ("score better.", False)])
    y += 48
    # a bonus ball and its trail
    for k in range(6):
        bx, byy = 214 + k * 4.2, y + 26 - k * 3.6 - math.sin(k / 1.6) * 4
        r = 1.8 + k * 0.55
        col = pl.mix((80, 200, 255), (255, 120, 220), k / 5)
        d.ellipse([(bx - r) * S, (byy - r) * S, (bx + r) * S, (byy + r) * S], fill=col)
    lines(246, y - 2, [("Bonus balls", True), ("turn the clock back", False),
                       ("8 or 11 seconds.", False)])
    y += 48
    d.text((282 * S, (y + 4) * S), "Perfect game: no explosions,", font=f, anchor="mm", fill=INK)
    d.text((282 * S, (y + 16) * S), "scored by its time.", font=f, anchor="mm", fill=INK)

    out = img.resize((HELP_W, HELP_H), Image.LANCZOS)
    out.save(path, optimize=True)


def main(root):
    data = os.path.join(root, "data")
    res = os.path.join(root, "resources", "pictures")
    os.makedirs(data, exist_ok=True)
    os.makedirs(res, exist_ok=True)
    field_tiles.main(data)
    planet.make_planet(os.path.join(data, "PLANET_R.BKG"))
    field_textures.make_textures(os.path.join(data, "textures.bkg"))
    rose = Image.open(os.path.join(data, "rosewood.hfd")).convert("RGB")
    planet_img = Image.open(os.path.join(data, "PLANET_R.BKG")).convert("RGB")
    make_title(os.path.join(res, "EGG2.png"), rose, planet_img)
    make_help(os.path.join(res, "BOMBINST.png"), rose, planet_img)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")

#!/usr/bin/python3
"""The small embedded pictures: title, card back, the two clock faces and icon.
The title and the clock faces also come at twice their size (NAME@2x.png)."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl


# ----------------------------------------------------------------- title ---

TITLE_W, TITLE_H = 306, 190


def hsv(h, s, v):
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, s, v)
    return (int(r * 255), int(g * 255), int(b * 255))


def letter_tile(letter, size, colour, scale):
    """One raised letter tile as an RGBA image (scale x size)."""
    w, h = size
    W, H = w * scale, h * scale
    pad = 4 * scale
    im = Image.new("RGBA", (W + 2 * pad, H + 2 * pad), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    r = 6 * scale
    # drop shadow
    sh = Image.new("L", im.size, 0)
    ImageDraw.Draw(sh).rounded_rectangle(
        [pad + 2 * scale, pad + 3 * scale, pad + W + 2 * scale, pad + H + 3 * scale],
        radius=r, fill=170)
    sh = sh.filter(ImageFilter.GaussianBlur(2.5 * scale))
    im.paste((0, 0, 0, 255), (0, 0), sh)
    # body: dark edge, bevel light at the top-left, face gradient
    d.rounded_rectangle([pad, pad, pad + W, pad + H], radius=r, fill=pl.shade(colour, 0.45))
    d.rounded_rectangle([pad + scale, pad + scale, pad + W - scale, pad + H - scale],
                        radius=r - scale, fill=pl.shade(colour, 1.35))
    face = Image.new("RGBA", (W - 6 * scale, H - 6 * scale))
    fa = np.zeros((face.size[1], face.size[0], 4), np.float32)
    t = np.linspace(0, 1, face.size[1])[:, None]
    for ch in range(3):
        top = min(255, colour[ch] * 1.15 + 25)
        bot = colour[ch] * 0.78
        fa[:, :, ch] = top + (bot - top) * t
    fa[:, :, 3] = 255
    face = Image.fromarray(pl.clamp8(fa), "RGBA")
    fm = Image.new("L", face.size, 0)
    ImageDraw.Draw(fm).rounded_rectangle([0, 0, face.size[0] - 1, face.size[1] - 1],
                                         radius=r - 2 * scale, fill=255)
    # darker lower-right bevel under the face
    d.rounded_rectangle([pad + 3 * scale, pad + 3 * scale, pad + W - scale, pad + H - scale],
                        radius=r - 2 * scale, fill=pl.shade(colour, 0.62))
    im.paste(face, (pad + 2 * scale, pad + 2 * scale), fm)
    # glossy highlight across the upper half
    gl = Image.new("L", im.size, 0)
    ImageDraw.Draw(gl).rounded_rectangle(
        [pad + 4 * scale, pad + 3 * scale, pad + W - 4 * scale, pad + H * 0.42],
        radius=r - 3 * scale, fill=60)
    gl = gl.filter(ImageFilter.GaussianBlur(1.2 * scale))
    im.paste((255, 255, 255, 255), (0, 0), Image.fromarray(
        np.minimum(np.asarray(gl), np.asarray(im.split()[3])).astype(np.uint8)))
    # the letter with a dark outline
    f = pl.font("DejaVuSans-Bold.ttf", h * 0.70 * scale)
    cx, cy = pad + W / 2, pad + H / 2 + 1 * scale
    d = ImageDraw.Draw(im)
    d.text((cx + 1.2 * scale, cy + 1.6 * scale), letter, font=f, anchor="mm",
           fill=pl.shade(colour, 0.35) + (255,))
    d.text((cx, cy), letter, font=f, anchor="mm", fill=(255, 255, 255, 255),
           stroke_width=int(1.1 * scale), stroke_fill=pl.shade(colour, 0.40) + (255,))
    return im, pad


def make_title(path):
    S = 4
    W, H = TITLE_W * S, TITLE_H * S
    rng = np.random.default_rng(41)
    # Background: a deep violet glow that sinks into black before the edge,
    # so the picture melts into the black title screen around it.
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    nx = (xx - W / 2) / (W / 2)
    ny = (yy - H * 0.46) / (H / 2)
    d = np.sqrt(nx * nx * 0.85 + ny * ny * 1.1)
    glow = np.clip(1.0 - d, 0, 1) ** 1.6
    edge = np.minimum.reduce([xx, W - 1 - xx, yy, H - 1 - yy]) / (14.0 * S)
    edge = np.clip(edge, 0, 1) ** 1.5
    bg = np.zeros((H, W, 3), np.float32)
    bg[:, :, 0] = 62 * glow
    bg[:, :, 1] = 28 * glow
    bg[:, :, 2] = 118 * glow
    # faint puzzle grid in the glow
    grid = ((xx % (19 * S)) < 0.9 * S) | ((yy % (19 * S)) < 0.9 * S)
    bg += grid[:, :, None] * glow[:, :, None] * np.array([26, 18, 48], np.float32)
    bg *= edge[:, :, None]
    img = Image.fromarray(pl.clamp8(bg), "RGB").convert("RGBA")

    # sparkles
    sd = ImageDraw.Draw(img)
    for _ in range(46):
        x = rng.uniform(18, TITLE_W - 18) * S
        y = rng.uniform(14, TITLE_H - 14) * S
        if 95 * S < y < 182 * S and 60 * S < x < 246 * S:
            continue
        k = glow[int(y), int(x)] * edge[int(y), int(x)]
        a = int(60 + 160 * k)
        r = rng.uniform(0.4, 1.1) * S
        c = (255, 240, 200, a) if rng.random() < 0.5 else (200, 220, 255, a)
        sd.ellipse([x - r, y - r, x + r, y + r], fill=c)
        if rng.random() < 0.3:
            sd.line([x - 3 * r, y, x + 3 * r, y], fill=c, width=max(1, int(S * 0.4)))
            sd.line([x, y - 3 * r, x, y + 3 * r], fill=c, width=max(1, int(S * 0.4)))

    # The name on eight tiles; two of them are caught in the middle of a
    # swap: one lifted, one dropped, both tilted, with arrows between them.
    word = "SWAPSTER"
    tw, th, gap = 31, 38, 3.5
    total = len(word) * tw + (len(word) - 1) * gap
    x0 = (TITLE_W - total) / 2
    y0 = 34
    swapped = {2: (-11, -9), 5: (10, 8)}   # index: (dy, degrees)
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    for i, ch in enumerate(word):
        col = hsv(0.98 + i * 0.105, 0.78, 0.92)
        tile, pad = letter_tile(ch, (tw, th), col, S)
        dy, ang = swapped.get(i, (0, 0))
        if ang:
            tile = tile.rotate(ang, resample=Image.BICUBIC, expand=True)
        cx = (x0 + i * (tw + gap) + tw / 2) * S
        cy = (y0 + th / 2 + dy) * S
        layer.alpha_composite(tile, (int(cx - tile.size[0] / 2), int(cy - tile.size[1] / 2)))
    img.alpha_composite(layer)

    # swap arrows: one arc above from tile 2 to tile 5, one below back again
    ad = ImageDraw.Draw(img)
    cxa = (x0 + 2 * (tw + gap) + tw / 2) * S
    cxb = (x0 + 5 * (tw + gap) + tw / 2) * S
    gold = (255, 214, 90, 255)

    def arrow_arc(y_mid, up, colour):
        pts = []
        for k in range(41):
            t = k / 40.0
            x = cxa + (cxb - cxa) * t
            y = y_mid + (-1 if up else 1) * math.sin(math.pi * t) * 12 * S
            pts.append((x, y))
        if not up:
            pts.reverse()
        ad.line(pts, fill=colour, width=int(2.2 * S), joint="curve")
        (xa, ya), (xb, yb) = pts[-4], pts[-1]
        ang = math.atan2(yb - ya, xb - xa)
        L = 6.5 * S
        head = [(xb + math.cos(ang) * 2 * S, yb + math.sin(ang) * 2 * S),
                (xb - math.cos(ang - 0.5) * L, yb - math.sin(ang - 0.5) * L),
                (xb - math.cos(ang + 0.5) * L, yb - math.sin(ang + 0.5) * L)]
        ad.polygon(head, fill=colour)

    arrow_arc((y0 - 13) * S, True, gold)
    arrow_arc((y0 + th + 17) * S, False, (120, 230, 255, 255))

    # subtitle and version
    f_sub = pl.font("DejaVuSerif-Italic.ttf", 13.5 * S)
    f_ver = pl.font("DejaVuSans-Bold.ttf", 12 * S)
    ad.text((TITLE_W / 2 * S, 121 * S), "the picture swap puzzle", font=f_sub,
            anchor="mm", fill=(236, 222, 255, 255))
    # version on a small ribbon
    rx0, rx1, ry0, ry1 = 112, 194, 140, 160
    ad.rounded_rectangle([rx0 * S, ry0 * S, rx1 * S, ry1 * S], radius=10 * S,
                         fill=(120, 34, 60, 255), outline=(255, 214, 90, 255),
                         width=int(1.3 * S))
    ad.text((TITLE_W / 2 * S, (ry0 + ry1) / 2 * S + 0.5 * S), "Version 4.1", font=f_ver,
            anchor="mm", fill=(255, 232, 150, 255))
    f_hint = pl.font("DejaVuSans.ttf", 8.5 * S)
    ad.text((TITLE_W / 2 * S, 174 * S), "swap the pieces until the picture is whole",
            font=f_hint, anchor="mm", fill=(150, 140, 190, 255))

    big = img.convert("RGB")
    big.resize((TITLE_W, TITLE_H), Image.LANCZOS).save(path, optimize=True)
    big.resize((TITLE_W * 2, TITLE_H * 2), Image.LANCZOS).save(pl.sharp_path(path), optimize=True)


# ------------------------------------------------------------- card back ---

def make_cardback(path):
    W, H, S = 256, 192, 4
    c = pl.Canvas(W, H, S, background=(16, 20, 48))
    navy = (16, 20, 48)
    cream = (246, 238, 214)
    gold = (214, 170, 72)
    red = (150, 22, 40)
    red_dark = (104, 12, 30)
    red_light = (178, 40, 56)
    # cream frame with a crisp navy edge all round (marks each cell)
    c.rrect(3, 3, W - 3, H - 3, 12, fill=cream)
    c.rrect(12, 12, W - 12, H - 12, 7, fill=gold)
    c.rrect(14.5, 14.5, W - 14.5, H - 14.5, 5, fill=red)

    # diamond lattice on the field, drawn through the field's mask
    fx0, fy0, fx1, fy1 = 14.5, 14.5, W - 14.5, H - 14.5
    lat = pl.Canvas(W, H, S, background=red)
    dw, dh = 32, 24
    cx0, cy0 = W / 2, H / 2
    for iy in range(-6, 7):
        for ix in range(-6, 7):
            cx = cx0 + ix * dw / 2
            cy = cy0 + iy * dh / 2
            if (ix + iy) % 2:
                continue
            col = red_dark if (ix // 1 + iy // 1) % 4 == 0 else red
            lat.poly([(cx, cy - dh / 2), (cx + dw / 2, cy), (cx, cy + dh / 2),
                      (cx - dw / 2, cy)], fill=col)
            # inner small diamond
            lat.poly([(cx, cy - dh / 5), (cx + dw / 5, cy), (cx, cy + dh / 5),
                      (cx - dw / 5, cy)], fill=red_light if col == red else red)
    # the lattice lines
    for k in range(-8, 8):
        x = cx0 + dw / 2 + k * dw
        lat.line([(x - 10 * dw, cy0 - 10 * dh), (x + 10 * dw, cy0 + 10 * dh)], gold, 1.3)
        lat.line([(x - 10 * dw, cy0 + 10 * dh), (x + 10 * dw, cy0 - 10 * dh)], gold, 1.3)
    m, md = c.mask()
    md.rounded_rectangle(c.box(fx0, fy0, fx1, fy1), radius=5 * S, fill=255)
    c.img.paste(lat.img, (0, 0), m)
    c.draw = ImageDraw.Draw(c.img)

    # central medallion: swap arrows on cream
    mx, my, rx, ry = W / 2, H / 2, 46, 34
    c.ellipse(mx - rx - 5, my - ry - 5, mx + rx + 5, my + ry + 5, fill=navy)
    c.ellipse(mx - rx - 2.5, my - ry - 2.5, mx + rx + 2.5, my + ry + 2.5, fill=gold)
    c.ellipse(mx - rx, my - ry, mx + rx, my + ry, fill=cream)
    c.ellipse(mx - rx + 5, my - ry + 5, mx + rx - 5, my + ry - 5, outline=red, width=1.5)

    def arrow(y, direction, colour):
        xl, xr = mx - 26, mx + 26
        t = 6.5
        if direction > 0:
            body = [(xl, y - t / 2), (xr - 12, y - t / 2), (xr - 12, y - t * 1.6),
                    (xr, y), (xr - 12, y + t * 1.6), (xr - 12, y + t / 2), (xl, y + t / 2)]
        else:
            body = [(xr, y - t / 2), (xl + 12, y - t / 2), (xl + 12, y - t * 1.6),
                    (xl, y), (xl + 12, y + t * 1.6), (xl + 12, y + t / 2), (xr, y + t / 2)]
        c.poly(body, fill=colour)

    arrow(my - 9, 1, red)
    arrow(my + 9, -1, navy)

    # gold corner diamonds on the frame
    for (x, y) in [(8, 8), (W - 8, 8), (8, H - 8), (W - 8, H - 8)]:
        c.poly([(x, y - 4.5), (x + 4.5, y), (x, y + 4.5), (x - 4.5, y)], fill=gold)
    # small diamonds halfway along the frame
    for (x, y) in [(W / 2, 7.5), (W / 2, H - 7.5), (7.5, H / 2), (W - 7.5, H / 2)]:
        c.poly([(x, y - 3.5), (x + 3.5, y), (x, y + 3.5), (x - 3.5, y)], fill=red)

    c.final().save(path, optimize=True)


# ----------------------------------------------------------------- clock ---

# The looks of the two clock faces.  The hands are drawn by the game in white,
# yellow and green, so no face uses those colours for its marks, and black is
# the transparent colour, so no face uses black.
SWAP_CLOCK = {
    "rim": (34, 38, 58),
    "bezel": ((214, 222, 240), (70, 78, 108)),       # lit, shaded
    "dial": ((46, 74, 140), (16, 26, 66)),          # centre, edge
    "sheen": (26, 32, 46),
    "dots": (130, 150, 200),
    "major": ((244, 96, 80), (110, 30, 30)),        # fill, outline
    "minor": ((176, 196, 240), (50, 60, 100)),
    "numerals": (170, 190, 235),
    "maker": ("SWAPSTER", (110, 130, 185)),
    "boss": ((200, 170, 80), (90, 70, 30)),
    "emblem": None,
}

# The mine field's face: hot copper round a dial that glows from the middle,
# with a small warning trefoil in its upper half.
FIELD_CLOCK = {
    "rim": (58, 26, 18),
    "bezel": ((250, 196, 150), (120, 52, 26)),
    "dial": ((122, 34, 20), (38, 10, 12)),
    "sheen": (40, 22, 14),
    "dots": (214, 132, 100),
    "major": ((255, 122, 36), (120, 40, 10)),
    "minor": ((236, 170, 140), (100, 44, 30)),
    "numerals": (255, 176, 120),
    "maker": ("HOTFIELD", (226, 128, 84)),
    "boss": ((214, 110, 50), (96, 38, 16)),
    "emblem": ((255, 138, 48), (150, 44, 18)),  # trefoil fill, its disc
}


def trefoil(d, P, x, y, r, fill, disc):
    """A small warning trefoil: three blades round a hub on a darker disc."""
    d.ellipse([P(x - r * 1.18, y - r * 1.18), P(x + r * 1.18, y + r * 1.18)], fill=disc)
    for k in range(3):
        a0 = -90 + 120 * k - 30
        d.pieslice([P(x - r, y - r), P(x + r, y + r)], a0, a0 + 60, fill=fill)
    d.ellipse([P(x - r * 0.34, y - r * 0.34), P(x + r * 0.34, y + r * 0.34)], fill=disc)
    d.ellipse([P(x - r * 0.2, y - r * 0.2), P(x + r * 0.2, y + r * 0.2)], fill=fill)


def make_clock(path, look=SWAP_CLOCK):
    """96 x 96 face on pure black.  Black is the transparent colour, so the
    face itself never uses it, and the round edge is cut crisply from a dark
    rim colour instead of being blended into black."""
    N, S = 96, 8
    cx = cy = 48.0
    R = 47.0
    W = N * S
    yy, xx = np.mgrid[0:W, 0:W].astype(np.float32)
    X = (xx + 0.5) / S - cx
    Y = (yy + 0.5) / S - cy
    r = np.sqrt(X * X + Y * Y)
    ang = np.arctan2(Y, X)
    img = np.zeros((W, W, 3), np.float32)

    rim = np.array(look["rim"], np.float32)
    img[:] = rim
    # bezel: brushed metal lit from the upper left
    light = 0.5 + 0.5 * np.cos(ang - (-2.36))
    bez_hi = np.array(look["bezel"][0], np.float32)
    bez_lo = np.array(look["bezel"][1], np.float32)
    bez = bez_lo + (bez_hi - bez_lo) * light[:, :, None]
    sel = (r < R - 1.3)
    img[sel] = bez[sel]
    # inner groove of the bezel, lit the other way
    sel = (r < R - 4.2)
    groove = bez_lo + (bez_hi - bez_lo) * (1 - light)[:, :, None] * 0.8
    img[sel] = groove[sel]
    # dial: a lighter centre fading to the edge
    sel = (r < R - 6.0)
    t = np.clip(r / (R - 6.0), 0, 1)[:, :, None]
    dial = np.array(look["dial"][0], np.float32) * (1 - t) + np.array(look["dial"][1], np.float32) * t
    img[sel] = dial[sel]
    # a soft sheen in the upper-left part of the glass
    sheen = np.exp(-(((X + 14) / 22) ** 2 + ((Y + 17) / 13) ** 2)) * (r < R - 6.0)
    img += sheen[:, :, None] * np.array(look["sheen"], np.float32)

    face = Image.fromarray(pl.clamp8(img), "RGB")
    d = ImageDraw.Draw(face)

    def P(x, y):
        return (x * S, y * S)

    # minute dots
    for m in range(60):
        if m % 5 == 0:
            continue
        a = m * math.pi / 30 - math.pi / 2
        x, y = cx + math.cos(a) * 38.2, cy + math.sin(a) * 38.2
        d.ellipse([P(x - 0.55, y - 0.55), P(x + 0.55, y + 0.55)], fill=look["dots"])
    # hour marks: bold wedges at 12/3/6/9, paler bars between
    for h in range(12):
        a = h * math.pi / 6 - math.pi / 2
        ca, sa = math.cos(a), math.sin(a)
        if h % 3 == 0:
            r0, r1, wdt = 31.0, 40.2, 2.2
            col, edge = look["major"]
        else:
            r0, r1, wdt = 34.0, 40.2, 1.25
            col, edge = look["minor"]
        px, py = -sa, ca
        quad = [(cx + ca * r0 + px * wdt * 0.7, cy + sa * r0 + py * wdt * 0.7),
                (cx + ca * r1 + px * wdt, cy + sa * r1 + py * wdt),
                (cx + ca * r1 - px * wdt, cy + sa * r1 - py * wdt),
                (cx + ca * r0 - px * wdt * 0.7, cy + sa * r0 - py * wdt * 0.7)]
        d.polygon([P(*q) for q in quad], fill=col, outline=edge)
    # numerals
    f = pl.font("DejaVuSans-Bold.ttf", 8.2 * S)
    for txt, a in (("12", -90), ("3", 0), ("6", 90), ("9", 180)):
        rad = math.radians(a)
        x, y = cx + math.cos(rad) * 24.5, cy + math.sin(rad) * 24.5
        d.text(P(x, y + 0.3), txt, font=f, anchor="mm", fill=look["numerals"])
    if look["emblem"]:
        trefoil(d, P, cx, cy - 12.5, 5.2, *look["emblem"])
    # little maker's line and the centre boss (the hands start here)
    f2 = pl.font("DejaVuSans.ttf", 4.6 * S)
    maker, maker_colour = look["maker"]
    d.text(P(cx, cy + 13), maker, font=f2, anchor="mm", fill=maker_colour)
    d.ellipse([P(cx - 3.2, cy - 3.2), P(cx + 3.2, cy + 3.2)], fill=look["boss"][0])
    d.ellipse([P(cx - 1.8, cy - 1.8), P(cx + 1.8, cy + 1.8)], fill=look["boss"][1])

    # the face at its own size, and at twice that for scaled screens
    for k, out_path in ((1, path), (2, pl.sharp_path(path))):
        n = N * k
        small = np.asarray(face.resize((n, n), Image.LANCZOS), dtype=np.int32)
        # crisp round cut at final size: outside is exactly black; inside never is
        yy, xx = np.mgrid[0:n, 0:n].astype(np.float32)
        d2 = ((xx + 0.5) / k - cx) ** 2 + ((yy + 0.5) / k - cy) ** 2
        inside = d2 <= R * R
        out = np.zeros((n, n, 3), np.int32)
        face_px = np.maximum(small, 8)      # nothing on the face is near-black
        out[inside] = face_px[inside]
        outer_ring = inside & (d2 > (R - 1.3) ** 2)
        out[outer_ring] = rim.astype(np.int32)
        Image.fromarray(out.astype(np.uint8), "RGB").save(out_path, optimize=True)


# ------------------------------------------------------------------ icon ---

def mini_scene(size, S):
    """A tiny sunny landscape, the picture cut up in the icon: every quarter
    holds something different so a swapped quarter is plain to see."""
    w = h = size * S
    c = pl.Canvas(size, size, S)
    sky = pl.vertical_gradient(w, h, [(0, (60, 110, 225)), (0.6, (175, 212, 255)),
                                      (1, (175, 212, 255))])
    c.set_array(sky)
    u = size
    c.circle(0.27 * u, 0.27 * u, 0.15 * u, fill=(255, 150, 40))
    c.circle(0.27 * u, 0.27 * u, 0.12 * u, fill=(255, 228, 80))
    c.poly([(0.36 * u, 0.66 * u), (0.73 * u, 0.14 * u), (1.15 * u, 0.66 * u)],
           fill=(118, 104, 160))
    c.poly([(0.73 * u, 0.14 * u), (0.86 * u, 0.32 * u), (0.78 * u, 0.29 * u),
            (0.71 * u, 0.34 * u), (0.64 * u, 0.27 * u)], fill=(255, 255, 255))
    c.poly([(0.73 * u, 0.14 * u), (1.15 * u, 0.66 * u), (0.9 * u, 0.66 * u)],
           fill=(88, 76, 130))
    pts = [(0, 0.60 * u)] + [(x * u / 20, (0.60 + 0.05 * math.sin(x / 20 * 6)) * u)
                              for x in range(21)] + [(u, u), (0, u)]
    c.poly(pts, fill=(70, 170, 60))
    c.ellipse(0.5 * u, 0.76 * u, 1.2 * u, 1.1 * u, fill=(40, 120, 215))
    c.ellipse(0.62 * u, 0.82 * u, 0.9 * u, 0.86 * u, fill=(150, 200, 255))
    # a small red-roofed house
    c.rect(0.12 * u, 0.70 * u, 0.30 * u, 0.86 * u, fill=(250, 240, 220))
    c.poly([(0.09 * u, 0.71 * u), (0.21 * u, 0.60 * u), (0.33 * u, 0.71 * u)],
           fill=(210, 40, 40))
    c.rect(0.185 * u, 0.78 * u, 0.235 * u, 0.86 * u, fill=(120, 70, 30))
    return c.img


ICON_N, ICON_S = 64, 8


def icon_master():
    """The icon drawn at ICON_S times its size (512 x 512, RGBA); the
    desktop icons are reduced from it too (tools/desktop)."""
    N, S = ICON_N, ICON_S
    W = N * S
    im = Image.new("RGBA", (W, W), (30, 22, 70, 0))
    d = ImageDraw.Draw(im)
    d.rounded_rectangle([0, 0, W - 1, W - 1], radius=12 * S, fill=(24, 18, 60, 255))
    d.rounded_rectangle([1.2 * S, 1.2 * S, W - 1.2 * S, W - 1.2 * S], radius=11 * S,
                        fill=(62, 44, 132, 255))
    d.rounded_rectangle([3 * S, 3 * S, W - 3 * S, W - 3 * S], radius=9 * S,
                        fill=(44, 32, 100, 255))
    # the picture in four pieces; top-right and bottom-left are swapped
    inner = 50
    scene = mini_scene(inner, S)
    half = inner * S // 2
    pieces = {}
    for j in range(2):
        for i in range(2):
            pieces[(i, j)] = scene.crop((i * half, j * half, (i + 1) * half, (j + 1) * half))
    place = {(0, 0): (0, 0), (1, 0): (0, 1), (0, 1): (1, 0), (1, 1): (1, 1)}
    off = 7 * S
    gap = 2 * S
    for (i, j), (si, sj) in place.items():
        x = off + i * (half + gap) - (gap // 2 if i else 0)
        y = off + j * (half + gap) - (gap // 2 if j else 0)
        swapped = (i, j) != (si, sj)
        piece = pieces[(si, sj)]
        pm = Image.new("L", piece.size, 0)
        ImageDraw.Draw(pm).rounded_rectangle([0, 0, piece.size[0] - 1, piece.size[1] - 1],
                                             radius=3 * S, fill=255)
        im.paste(piece, (x, y), pm)
        if swapped:
            d.rounded_rectangle([x, y, x + half - 1, y + half - 1], radius=3 * S,
                                outline=(255, 220, 60, 255), width=int(2.2 * S))
    # swap badge in the middle
    c = W / 2
    rb = 9.8 * S
    d.ellipse([c - rb - 1.5 * S, c - rb - 1.5 * S, c + rb + 1.5 * S, c + rb + 1.5 * S],
              fill=(24, 18, 60, 255))
    d.ellipse([c - rb, c - rb, c + rb, c + rb], fill=(255, 255, 255, 255))
    ar = 5.9 * S
    for a0, col in ((200, (220, 40, 60, 255)), (20, (40, 90, 210, 255))):
        d.arc([c - ar, c - ar, c + ar, c + ar], a0, a0 + 130, fill=col, width=int(2.4 * S))
        a = math.radians(a0 + 130)
        hx, hy = c + math.cos(a) * ar, c + math.sin(a) * ar
        tx, ty = -math.sin(a), math.cos(a)       # direction of travel
        nx, ny = math.cos(a), math.sin(a)
        L = 3.9 * S
        d.polygon([(hx + tx * L, hy + ty * L),
                   (hx + nx * L * 0.8, hy + ny * L * 0.8),
                   (hx - nx * L * 0.8, hy - ny * L * 0.8)], fill=col)
    return im


def make_icon(path):
    out = icon_master().resize((ICON_N, ICON_N), Image.LANCZOS)
    out.save(path, optimize=True)


def main(outdir):
    make_title(outdir + "/EGG.png")
    make_cardback(outdir + "/CARDBACK.png")
    make_clock(outdir + "/CLOCK.png", SWAP_CLOCK)
    make_clock(outdir + "/HFDCLOCK.png", FIELD_CLOCK)
    make_icon(outdir + "/SWICON.png")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/pictures")

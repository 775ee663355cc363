#!/usr/bin/python3
"""Built-in puzzle picture ult_deck.bkg, "The Ultimate Deck": playing cards
laid out on green baize, seen from above.  A ribbon spread of half the deck
runs across the top, three fans, a squared deck, loose aces, jokers and
court cards lie below it, with stacks of chips and a few dice between them.
Every card is drawn in full (indices, pips, court figures) so any part of
the table can be told from any other."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw

import paintkit as pk
import picturelib as pl

W, H, S = 1024, 768, 2
CW, CH = 112, 157                      # a card, in final pixels

SUITS = {"S": "\u2660", "H": "\u2665", "D": "\u2666", "C": "\u2663"}
RED = (196, 18, 36)
BLACK = (22, 22, 28)
PAPER = (252, 250, 244)
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]

PIPS = {
    2: [(0.5, 0.18), (0.5, 0.82)],
    3: [(0.5, 0.18), (0.5, 0.5), (0.5, 0.82)],
    4: [(0.3, 0.18), (0.7, 0.18), (0.3, 0.82), (0.7, 0.82)],
    5: [(0.3, 0.18), (0.7, 0.18), (0.5, 0.5), (0.3, 0.82), (0.7, 0.82)],
    6: [(0.3, 0.18), (0.7, 0.18), (0.3, 0.5), (0.7, 0.5), (0.3, 0.82), (0.7, 0.82)],
    7: [(0.3, 0.18), (0.7, 0.18), (0.5, 0.34), (0.3, 0.5), (0.7, 0.5), (0.3, 0.82), (0.7, 0.82)],
    8: [(0.3, 0.18), (0.7, 0.18), (0.5, 0.34), (0.3, 0.5), (0.7, 0.5), (0.5, 0.66),
        (0.3, 0.82), (0.7, 0.82)],
    9: [(0.3, 0.18), (0.7, 0.18), (0.3, 0.39), (0.7, 0.39), (0.5, 0.5), (0.3, 0.61),
        (0.7, 0.61), (0.3, 0.82), (0.7, 0.82)],
    10: [(0.3, 0.18), (0.7, 0.18), (0.5, 0.29), (0.3, 0.39), (0.7, 0.39), (0.3, 0.61),
         (0.7, 0.61), (0.5, 0.71), (0.3, 0.82), (0.7, 0.82)],
}


def colour_of(suit):
    return RED if suit in "HD" else BLACK


_glyphs = {}


def glyph(ch, height):
    """An L mask of a suit sign (or any character) exactly `height` canvas
    pixels tall, cropped to its ink."""
    key = (ch, int(height))
    if key not in _glyphs:
        f = pl.font("DejaVuSans.ttf", height * 1.4)
        m = f.getmask(ch, mode="L")
        im = Image.frombytes("L", m.size, bytes(m))
        bb = im.getbbox()
        im = im.crop(bb)
        sc = height / im.size[1]
        im = im.resize((max(1, int(im.size[0] * sc)), int(height)), Image.LANCZOS)
        _glyphs[key] = im
    return _glyphs[key]


def stamp(im, mask, cx, cy, colour, flip=False):
    if flip:
        mask = mask.rotate(180)
    x = int(round(cx - mask.size[0] / 2))
    y = int(round(cy - mask.size[1] / 2))
    im.paste(colour + (255,), (x, y), mask)


def text_mask(txt, font_name, height):
    f = pl.font(font_name, height * 1.45)
    m = f.getmask(txt, mode="L")
    im = Image.frombytes("L", m.size, bytes(m))
    im = im.crop(im.getbbox())
    sc = height / im.size[1]
    return im.resize((max(1, int(im.size[0] * sc)), int(height)), Image.LANCZOS)


def blank(w, h):
    """A card blank: rounded, cream-white, a little shaded paper."""
    Wc, Hc = int(w * S), int(h * S)
    im = Image.new("RGBA", (Wc, Hc), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    r = int(w * 0.07 * S)
    d.rounded_rectangle([0, 0, Wc - 1, Hc - 1], radius=r, fill=(150, 150, 146, 255))
    d.rounded_rectangle([1, 1, Wc - 2, Hc - 2], radius=r - 1, fill=PAPER + (255,))
    return im, d


def court_half(rank, suit, w, h, rng):
    """The upper half of a court card's picture as an RGBA image (canvas
    scale), w x h final pixels.  It is turned over for the lower half."""
    Wc, Hc = int(w * S), int(h * S)
    im = Image.new("RGBA", (Wc, Hc), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    s = S
    sc = colour_of(suit)
    # the four colours of the figure change with the suit
    schemes = {"H": [(200, 30, 40), (240, 190, 40), (40, 70, 170), (20, 20, 24)],
               "D": [(240, 190, 40), (200, 30, 40), (30, 120, 70), (20, 20, 24)],
               "S": [(40, 70, 170), (200, 30, 40), (240, 190, 40), (20, 20, 24)],
               "C": [(30, 120, 70), (240, 190, 40), (200, 30, 40), (20, 20, 24)]}
    c1, c2, c3, c4 = schemes[suit]
    if rank == "Q":
        c1, c2 = c2, c1
    skin = (250, 214, 180)
    hair = (240, 190, 40) if rank != "K" else (210, 210, 200)
    cx = Wc * 0.5
    hy = Hc * 0.42          # head centre
    hr = Wc * 0.13
    P = lambda x, y: (x * Wc, y * Hc)
    # what the figure holds, behind it
    if rank == "K":
        d.line([P(0.78, 0.02), P(0.78, 0.98)], fill=(150, 150, 160, 255), width=int(2.6 * s))
        d.line([P(0.7, 0.78), P(0.86, 0.78)], fill=c2 + (255,), width=int(3 * s))
    elif rank == "J":
        d.line([P(0.2, 0.02), P(0.2, 0.98)], fill=(150, 100, 50, 255), width=int(2.2 * s))
        d.polygon([P(0.2, 0.02), P(0.12, 0.14), P(0.2, 0.2), P(0.28, 0.14)], fill=(170, 170, 180, 255))
    # robe: shoulders and a patterned front
    d.polygon([P(0.06, 1.0), P(0.12, 0.7), P(0.32, 0.6), P(0.68, 0.6), P(0.88, 0.7), P(0.94, 1.0)],
              fill=c1 + (255,))
    d.polygon([P(0.38, 0.6), P(0.62, 0.6), P(0.66, 1.0), P(0.34, 1.0)], fill=c3 + (255,))
    for k in range(5):
        y = 0.66 + k * 0.07
        d.line([P(0.36, y), P(0.64, y)], fill=c2 + (255,), width=int(1.4 * s))
        d.ellipse([P(0.48, y + 0.015)[0], P(0.48, y + 0.015)[1], P(0.52, y + 0.045)[0],
                   P(0.52, y + 0.045)[1]], fill=c4 + (255,))
    for side in (0, 1):
        x0 = 0.12 if side == 0 else 0.68
        for k in range(3):
            d.polygon([P(x0 + k * 0.065, 0.74 + (k % 2) * 0.02), P(x0 + 0.04 + k * 0.065, 0.82),
                       P(x0 + k * 0.065, 0.92), P(x0 - 0.03 + k * 0.065, 0.82)],
                      fill=(c2 if (k + side) % 2 else c4) + (255,))
    # ermine collar
    d.polygon([P(0.26, 0.62), P(0.74, 0.62), P(0.66, 0.7), P(0.34, 0.7)], fill=(250, 250, 246, 255))
    for k in range(6):
        x = 0.31 + k * 0.075
        d.ellipse([P(x, 0.645)[0], P(x, 0.645)[1], P(x + 0.02, 0.672)[0], P(x + 0.02, 0.672)[1]],
                  fill=(20, 20, 20, 255))
    # head
    d.rectangle([cx - hr * 0.35, hy + hr * 0.8, cx + hr * 0.35, hy + hr * 1.5], fill=skin + (255,))
    d.ellipse([cx - hr * 1.25, hy - hr * 0.6, cx + hr * 1.25, hy + hr * 1.45], fill=hair + (255,))
    d.ellipse([cx - hr, hy - hr, cx + hr, hy + hr * 1.15], fill=skin + (255,))
    if rank == "K":
        # beard
        d.polygon([(cx - hr * 0.9, hy + hr * 0.3), (cx + hr * 0.9, hy + hr * 0.3),
                   (cx + hr * 0.5, hy + hr * 1.5), (cx, hy + hr * 1.8), (cx - hr * 0.5, hy + hr * 1.5)],
                  fill=hair + (255,))
        d.line([(cx - hr * 0.45, hy + hr * 0.45), (cx + hr * 0.45, hy + hr * 0.45)],
               fill=(120, 60, 40, 255), width=int(1.2 * s))
    else:
        d.line([(cx - hr * 0.3, hy + hr * 0.6), (cx + hr * 0.3, hy + hr * 0.6)],
               fill=(200, 60, 60, 255), width=int(1.3 * s))
    for ex in (-0.38, 0.38):
        d.ellipse([cx + hr * ex - hr * 0.14, hy - hr * 0.05, cx + hr * ex + hr * 0.14, hy + hr * 0.2],
                  fill=(30, 40, 90, 255))
        d.line([(cx + hr * ex - hr * 0.25, hy - hr * 0.22), (cx + hr * ex + hr * 0.2, hy - hr * 0.25)],
               fill=(90, 60, 30, 255), width=int(s))
    d.line([(cx, hy), (cx + hr * 0.12, hy + hr * 0.35)], fill=(200, 150, 120, 255), width=int(s))
    # headgear
    top = hy - hr * 0.95
    if rank == "K":
        pts = [(cx - hr * 1.1, top), (cx - hr * 1.15, top - hr * 1.1), (cx - hr * 0.6, top - hr * 0.55),
               (cx, top - hr * 1.3), (cx + hr * 0.6, top - hr * 0.55), (cx + hr * 1.15, top - hr * 1.1),
               (cx + hr * 1.1, top)]
        d.polygon(pts, fill=(240, 196, 50, 255), outline=(120, 80, 20, 255))
        for gx in (-0.6, 0, 0.6):
            d.ellipse([cx + hr * gx - hr * 0.14, top - hr * 0.4, cx + hr * gx + hr * 0.14, top - hr * 0.12],
                      fill=c1 + (255,))
    elif rank == "Q":
        d.polygon([(cx - hr * 0.95, top + hr * 0.1), (cx - hr * 0.7, top - hr * 0.6), (cx - hr * 0.3, top - hr * 0.2),
                   (cx, top - hr * 0.8), (cx + hr * 0.3, top - hr * 0.2), (cx + hr * 0.7, top - hr * 0.6),
                   (cx + hr * 0.95, top + hr * 0.1)], fill=(240, 196, 50, 255), outline=(120, 80, 20, 255))
        # a flower held up at the side
        fx, fy = Wc * 0.2, Hc * 0.62
        d.line([(fx, fy), (fx + Wc * 0.05, Hc * 0.98)], fill=(40, 120, 50, 255), width=int(1.4 * s))
        for k in range(5):
            a = k * 2 * math.pi / 5
            d.ellipse([fx + math.cos(a) * hr * 0.35 - hr * 0.25, fy + math.sin(a) * hr * 0.35 - hr * 0.25,
                       fx + math.cos(a) * hr * 0.35 + hr * 0.25, fy + math.sin(a) * hr * 0.35 + hr * 0.25],
                      fill=(220, 40, 60, 255))
        d.ellipse([fx - hr * 0.18, fy - hr * 0.18, fx + hr * 0.18, fy + hr * 0.18], fill=(250, 210, 50, 255))
    else:
        d.polygon([(cx - hr * 1.3, top + hr * 0.35), (cx - hr * 0.9, top - hr * 0.7), (cx + hr * 0.9, top - hr * 0.7),
                   (cx + hr * 1.3, top + hr * 0.35)], fill=c1 + (255,))
        d.rectangle([cx - hr * 1.3, top + hr * 0.15, cx + hr * 1.3, top + hr * 0.4], fill=c2 + (255,))
        d.line([(cx + hr * 0.6, top - hr * 0.6), (cx + hr * 1.6, top - hr * 1.5)], fill=(250, 250, 250, 255),
               width=int(2.4 * s))
    # the suit sign in the upper corner of the picture
    g = glyph(SUITS[suit], Hc * 0.16)
    stamp(im, g, Wc * (0.12 if rank != "J" else 0.88), Hc * 0.12, sc)
    return im


def card_face(rank, suit, rng, w=CW, h=CH):
    im, d = blank(w, h)
    Wc, Hc = im.size
    col = colour_of(suit)
    # corner indices, top left and (turned) bottom right
    ih = 0.105 * Hc
    tm = text_mask(rank if rank != "10" else "10", "DejaVuSerifCondensed-Bold.ttf", ih)
    gm = glyph(SUITS[suit], ih * 0.8)
    ix = 0.1 * Wc
    for flip in (False, True):
        if not flip:
            stamp(im, tm, ix, 0.09 * Hc, col)
            stamp(im, gm, ix, 0.2 * Hc, col)
        else:
            stamp(im, tm, Wc - ix, Hc - 0.09 * Hc, col, True)
            stamp(im, gm, Wc - ix, Hc - 0.2 * Hc, col, True)
    # picture area
    ax0, ay0, ax1, ay1 = 0.2 * Wc, 0.1 * Hc, 0.8 * Wc, 0.9 * Hc
    if rank in "JQK":
        fw, fh = (ax1 - ax0) / S, (ay1 - ay0) / S
        d.rectangle([ax0, ay0, ax1, ay1], fill=(250, 246, 232, 255), outline=col + (255,), width=int(S))
        half = court_half(rank, suit, fw - 2, fh / 2 - 1, rng)
        im.paste(half, (int(ax0 + S), int(ay0 + S)), half)
        lower = half.rotate(180)
        im.paste(lower, (int(ax0 + S), int((ay0 + ay1) / 2)), lower)
        d.line([(ax0, (ay0 + ay1) / 2), (ax1, (ay0 + ay1) / 2)], fill=col + (255,), width=int(S))
        d.rectangle([ax0, ay0, ax1, ay1], outline=col + (255,), width=int(S))
    elif rank == "A":
        size = 0.42 * Hc if suit == "S" else 0.26 * Hc
        g = glyph(SUITS[suit], size)
        stamp(im, g, Wc / 2, Hc / 2, col)
        if suit == "S":
            # the ornate ace: a ring of scrolls round the sign
            for k in range(16):
                a = k * math.pi / 8
                r0 = 0.33 * Wc
                x, y = Wc / 2 + math.cos(a) * r0, Hc / 2 + math.sin(a) * r0 * 1.15
                d.ellipse([x - 2 * S, y - 2 * S, x + 2 * S, y + 2 * S], outline=BLACK + (255,), width=S)
            f = pl.font("DejaVuSerif-Bold.ttf", 6 * S)
            d.text((Wc / 2, Hc * 0.86), "ULTIMATE", font=f, fill=BLACK + (255,), anchor="mm")
    else:
        n = int(rank)
        ph = 0.125 * Hc
        g = glyph(SUITS[suit], ph)
        for (px, py) in PIPS[n]:
            x = ax0 + (ax1 - ax0) * px
            y = ay0 + (ay1 - ay0) * py
            stamp(im, g, x, y, col, flip=py > 0.5)
    return shade_card(im, rng)


def shade_card(im, rng):
    """A faint paper grain and light from the upper left."""
    a = np.asarray(im, np.float32).copy()
    h, w = a.shape[:2]
    yy = np.linspace(0, 1, h, dtype=np.float32)[:, None]
    xx = np.linspace(0, 1, w, dtype=np.float32)[None, :]
    light = 1.03 - 0.07 * (xx + yy) / 2
    grain = rng.normal(0, 0.012, (h, w)).astype(np.float32)
    a[:, :, :3] *= (light + grain)[:, :, None]
    return Image.fromarray(pl.clamp8(a), "RGBA")


def card_back(rng, colour=(30, 60, 150), w=CW, h=CH):
    im, d = blank(w, h)
    Wc, Hc = im.size
    m = int(0.06 * Wc)
    a = np.zeros((Hc - 2 * m, Wc - 2 * m, 3), np.float32)
    yy, xx = np.mgrid[0:a.shape[0], 0:a.shape[1]].astype(np.float32)
    u, v = xx / (6 * S), yy / (6 * S)
    lat = np.abs(((u + v) % 1.0) - 0.5) + np.abs(((u - v) % 1.0) - 0.5)
    lite = np.array(pl.shade(colour, 1.9), np.float32)
    col = np.array(colour, np.float32)
    k = np.clip((0.14 - np.abs(lat - 0.5)) * 12, 0, 1)[:, :, None]
    a[:] = col
    a = a * (1 - k) + lite * k
    dots = (lat < 0.12)[:, :, None]
    a = np.where(dots, lite, a)
    # a medallion in the middle
    cx, cy = a.shape[1] / 2, a.shape[0] / 2
    r = np.sqrt(((xx - cx) / (a.shape[1] * 0.3)) ** 2 + ((yy - cy) / (a.shape[0] * 0.22)) ** 2)
    ang = np.arctan2(yy - cy, xx - cx)
    petals = 0.75 + 0.25 * np.cos(ang * 8)
    a = np.where((r < petals)[:, :, None], np.array(pl.shade(colour, 0.7), np.float32), a)
    a = np.where((r < petals * 0.6)[:, :, None], lite, a)
    a = np.where((r < 0.22)[:, :, None], col, a)
    a = np.where((np.abs(r - petals) < 0.05)[:, :, None], np.array((240, 236, 220), np.float32), a)
    tile = Image.fromarray(pl.clamp8(a), "RGB")
    tm = Image.new("L", tile.size, 0)
    ImageDraw.Draw(tm).rounded_rectangle([0, 0, tile.size[0] - 1, tile.size[1] - 1],
                                         radius=int(0.04 * Wc), fill=255)
    im.paste(tile, (m, m), tm)
    return shade_card(im, rng)


def joker(rng, w=CW, h=CH, colour=(120, 40, 150)):
    im, d = blank(w, h)
    Wc, Hc = im.size
    f = pl.font("DejaVuSans-Bold.ttf", 0.085 * Hc)
    for k, ch in enumerate("JOKER"):
        d.text((0.1 * Wc, 0.1 * Hc + k * 0.085 * Hc), ch, font=f, fill=colour + (255,), anchor="mm")
    cx, cy, r = Wc * 0.55, Hc * 0.5, Wc * 0.16
    # jester: hat of three bells, a ruff and a grin
    cols = [(220, 30, 40), (40, 90, 200), (240, 190, 40)]
    for k, a in enumerate((-0.9, 0.0, 0.9)):
        tx, ty = cx + math.sin(a) * r * 2.4, cy - r * 2.2 + abs(a) * r * 0.6
        d.polygon([(cx - r * 0.8 + k * r * 0.55, cy - r * 0.8), (tx, ty), (cx - r * 0.2 + k * r * 0.55, cy - r * 0.9)],
                  fill=cols[k] + (255,))
        d.ellipse([tx - r * 0.22, ty - r * 0.22, tx + r * 0.22, ty + r * 0.22], fill=(250, 210, 40, 255),
                  outline=(150, 100, 20, 255))
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(250, 220, 190, 255))
    for k in range(10):
        a = k * math.pi / 9
        x, y = cx + math.cos(a) * r * 1.1, cy + r * 1.0 + math.sin(a) * r * 0.3
        d.ellipse([x - r * 0.35, y - r * 0.25, x + r * 0.35, y + r * 0.25], fill=(250, 250, 250, 255),
                  outline=(160, 160, 160, 255))
    d.arc([cx - r * 0.6, cy - r * 0.3, cx + r * 0.6, cy + r * 0.6], 20, 160, fill=(200, 30, 40, 255),
          width=int(1.6 * S))
    for ex in (-0.4, 0.4):
        d.ellipse([cx + ex * r - r * 0.12, cy - r * 0.3, cx + ex * r + r * 0.12, cy - r * 0.05],
                  fill=(20, 20, 20, 255))
    d.ellipse([cx - r * 0.15, cy - r * 0.05, cx + r * 0.15, cy + r * 0.25], fill=(220, 40, 40, 255))
    # the suit of diamonds body, diamonds in four colours
    for k in range(4):
        for j in range(3):
            x = cx - r * 1.1 + j * r * 1.1
            y = cy + r * 1.5 + k * r * 0.9
            d.polygon([(x, y - r * 0.45), (x + r * 0.55, y), (x, y + r * 0.45), (x - r * 0.55, y)],
                      fill=cols[(k + j) % 3] + (255,))
    return shade_card(im, rng)


# ------------------------------------------------------------- the baize --

def baize(c, rng):
    Wc, Hc = W * S, H * S
    arr = np.empty((Hc, Wc, 3), np.float32)
    arr[:] = (22, 104, 58)
    big = pl.fbm(Wc, Hc, 300 * S, rng, 3)
    mid = pl.fbm(Wc, Hc, 40 * S, rng, 4)
    fine = rng.normal(0, 1, (Hc, Wc)).astype(np.float32)
    fine = (fine + np.roll(fine, 1, 0) + np.roll(fine, 1, 1) + np.roll(fine, (1, 1), (0, 1))) / 2.0
    # the nap: short fibres brushed one way
    nap = pl.fbm(Wc // 8, Hc, 2 * S, rng, 2)
    nap = np.asarray(Image.fromarray(nap, "F").resize((Wc, Hc), Image.BICUBIC), np.float32)
    f = 0.76 + 0.34 * big + 0.26 * (mid - 0.5) + 0.07 * fine + 0.12 * (nap - 0.5)
    arr *= f[:, :, None]
    c.set_array(arr)
    # light from a lamp above the middle of the table
    pk.vignette(c, 0.45, 1.8, (0.5, 0.45))
    # printed lines and lettering in old gold
    gold = (206, 170, 84)
    cx, cy = 512, 1180
    for rr, wd in ((720, 2.2), (708, 1.0), (560, 1.6)):
        c.arc(cx, cy, rr, 200, 340, gold, wd)
    f = c.font("DejaVuSerif-Bold.ttf", 22)
    msg = "THE ULTIMATE DECK  \u2660  \u2665  \u2666  \u2663  FIFTY-TWO AND TWO JOKERS"
    rr = 636
    total = sum(f.getlength(ch) for ch in msg) / S
    a = -math.pi / 2 - total / rr / 2
    for ch in msg:
        wch = f.getlength(ch) / S
        a += wch / rr / 2
        x, y = cx + math.cos(a) * rr, cy + math.sin(a) * rr
        im, d = pk.sprite(30, 30, S)
        d.text((15 * S, 15 * S), ch, font=f, fill=gold + (230,), anchor="mm")
        pk.paste_sprite(c, im, x, y, -math.degrees(a + math.pi / 2))
        a += wch / rr / 2
    # a printed border along the far edge of the cloth, the suits in turn
    c.line([(0, 5), (W, 5)], gold, 1.6)
    c.line([(0, 38), (W, 38)], gold, 1.6)
    c.line([(0, 42), (W, 42)], pl.shade(gold, 0.8), 0.8)
    fs = c.font("DejaVuSans.ttf", 18)
    for k in range(30):
        x = 14 + k * 35.5
        ch = "\u2660\u2665\u2666\u2663"[k % 4]
        col = (176, 40, 40) if k % 4 in (1, 2) else (20, 40, 28)
        c.circle(x, 21.5, 12, outline=gold, width=1.2)
        c.text((x, 22), ch, fs, col, anchor="mm")
    # small gold diamonds scattered in a lattice, like a printed cloth
    for j in range(12):
        for i in range(16):
            x = i * 66 + (33 if j % 2 else 0) + 12
            y = j * 66 + 20
            c.poly([(x, y - 4), (x + 3, y), (x, y + 4), (x - 3, y)], fill=pl.shade(gold, 0.55))


# -------------------------------------------------------------- chips ---

def chip(c, x, y, r, colour, value, rng, height=0):
    """One chip seen from above, a little of its edge showing below."""
    ed = pl.shade(colour, 0.6)
    c.ellipse(x - r, y - r * 0.9 + 2.5, x + r, y + r * 0.9 + 2.5, fill=ed)
    c.ellipse(x - r, y - r * 0.9, x + r, y + r * 0.9, fill=colour)
    for k in range(8):
        a = k * math.pi / 4 + 0.2
        a0, a1 = math.degrees(a) - 9, math.degrees(a) + 9
        pts = []
        for t in np.linspace(a0, a1, 6):
            tt = math.radians(t)
            pts.append((x + math.cos(tt) * r, y + math.sin(tt) * r * 0.9))
        for t in np.linspace(a1, a0, 6):
            tt = math.radians(t)
            pts.append((x + math.cos(tt) * r * 0.78, y + math.sin(tt) * r * 0.9 * 0.78))
        c.poly(pts, fill=(250, 248, 240))
        c.line([(x + math.cos(a) * r, y + math.sin(a) * r * 0.9 + 0.5),
                (x + math.cos(a) * r, y + math.sin(a) * r * 0.9 + 2.5)], (250, 248, 240), 1.5)
    c.ellipse(x - r * 0.62, y - r * 0.56, x + r * 0.62, y + r * 0.56, outline=(250, 248, 240), width=1)
    c.ellipse(x - r * 0.58, y - r * 0.52, x + r * 0.58, y + r * 0.52, fill=pl.shade(colour, 1.12))
    ink = (20, 20, 20) if sum(colour) > 500 else (250, 246, 230)
    c.text((x, y), value, c.font("DejaVuSans-Bold.ttf", r * 0.5), ink, anchor="mm")


CHIPS = [((200, 24, 34), "5"), ((30, 64, 170), "10"), ((240, 238, 230), "1"),
         ((24, 24, 26), "100"), ((30, 140, 70), "25"), ((120, 40, 150), "500"),
         ((240, 170, 30), "1000")]


def chip_stack(c, rng, x, y, r, kind, n):
    col, val = CHIPS[kind]
    pk.shadow_ellipses(c, [(x - r + 3, y - r * 0.8 + 5, x + r + 8, y + r * 0.9 + 8)], 0.55, 4)
    for k in range(n):
        yy = y - k * 3.2
        xx = x + rng.uniform(-0.8, 0.8)
        c.ellipse(xx - r, yy - r * 0.9 + 2.5, xx + r, yy + r * 0.9 + 3.2, fill=pl.shade(col, 0.55))
        for j in range(6):
            a = math.pi * (0.1 + j * 0.16)
            c.rect(xx + math.cos(a) * r - 1.6, yy + r * 0.9 * math.sin(a) + 0.3,
                   xx + math.cos(a) * r + 1.6, yy + r * 0.9 * math.sin(a) + 2.8, fill=(246, 244, 236))
    chip(c, x, y - (n - 1) * 3.2 - 0.5, r, col, val, rng)


def die(c, x, y, s, ang, pips, colour=(220, 30, 40), side=(4, 6)):
    """A die from above: the top face turned by ang degrees, two sides
    showing below and right."""
    im, d = pk.sprite(s * 1.5, s * 1.5, S)
    m = s * 0.25 * S
    sz = s * S
    r = s * 0.18 * S
    d.rounded_rectangle([m + 0.22 * sz, m + 0.22 * sz, m + sz + 0.22 * sz, m + sz + 0.22 * sz], radius=r,
                        fill=pl.shade(colour, 0.55) + (255,))
    d.rounded_rectangle([m + 0.1 * sz, m + 0.1 * sz, m + sz + 0.1 * sz, m + sz + 0.1 * sz], radius=r,
                        fill=pl.shade(colour, 0.78) + (255,))
    d.rounded_rectangle([m, m, m + sz, m + sz], radius=r, fill=colour + (255,))
    spots = {1: [(0.5, 0.5)], 2: [(0.25, 0.25), (0.75, 0.75)], 3: [(0.25, 0.25), (0.5, 0.5), (0.75, 0.75)],
             4: [(0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)],
             5: [(0.25, 0.25), (0.75, 0.25), (0.5, 0.5), (0.25, 0.75), (0.75, 0.75)],
             6: [(0.25, 0.22), (0.75, 0.22), (0.25, 0.5), (0.75, 0.5), (0.25, 0.78), (0.75, 0.78)]}
    pr = sz * 0.09
    for (px, py) in spots[pips]:
        cx, cy = m + px * sz, m + py * sz
        d.ellipse([cx - pr, cy - pr, cx + pr, cy + pr],
                  fill=(20, 20, 24, 255) if sum(colour) > 600 else (250, 250, 246, 255))
    d.line([(m + r, m + 1.5 * S), (m + sz - r, m + 1.5 * S)], fill=pl.shade(colour, 1.5) + (255,), width=S)
    c_img = im
    return c_img, ang


def place_die(c, x, y, s, ang, pips, colour=(220, 30, 40)):
    im, a = die(c, x, y, s, ang, pips, colour)
    pk.paste_sprite(c, im, x, y, a, shadow=(3, 4, 2.5, 0.6))


# ------------------------------------------------------------- layout ---

def make(path):
    rng = np.random.default_rng(5252)
    c = pl.Canvas(W, H, S)
    baize(c, rng)
    shadow = (3, 4, 3.0, 0.55)
    deck = [r + s for s in "SHDC" for r in RANKS]
    order = list(rng.permutation(len(deck)))
    faces = {}

    def face(name):
        if name not in faces:
            faces[name] = card_face(name[:-1], name[-1], rng)
        return faces[name]

    # a ribbon spread across the top, face up, wide enough apart that each
    # card shows its index and a column of its pips
    ribbon = order[:25]
    n = len(ribbon)
    for k, idx in enumerate(ribbon):
        t = k / (n - 1)
        x = -40 + t * 1090
        y = 112 + 46 * math.sin(t * math.pi * 1.2 - 0.3) - 30 * t
        ang = -math.degrees(math.atan2(46 * math.pi * 1.2 * math.cos(t * math.pi * 1.2 - 0.3) / 1080
                                       - 30 / 1080, 1)) + 4
        pk.paste_sprite(c, face(deck[idx]), x, y, ang, shadow=(2, 3, 2.0, 0.45))

    # a squared deck, face down, with its top card slid out
    back_b = card_back(rng)
    back_r = card_back(rng, (160, 26, 36))
    for k in range(14):
        pk.paste_sprite(c, back_r, 866 - k * 0.35, 556 - k * 0.9, 12, shadow=shadow if k == 0 else None)
    pk.paste_sprite(c, back_r, 818, 600, 30, shadow=shadow)

    # loose cards scattered under the fans
    loose = [("AS", 90, 560, -18), ("JK", 300, 650, 24), ("AH", 688, 664, -8), ("AD", 975, 345, 22),
             ("AC", 210, 430, 8), ("JK2", 560, 520, -30), ("B", 40, 330, 35), ("B2", 1000, 690, -25)]
    for name, x, y, a in loose:
        if name == "JK":
            im = joker(rng)
        elif name == "JK2":
            im = joker(rng, colour=(200, 30, 40))
        elif name == "B":
            im = back_b
        elif name == "B2":
            im = back_r
        else:
            im = face(name)
        pk.paste_sprite(c, im, x, y, a, shadow=shadow)

    # between the ribbon and the fans: a hand dealt face down, the dealer's
    # button, a stray four and a few loose chips
    for k in range(3):
        pk.paste_sprite(c, back_b, 742 + k * 22, 262 + k * 3, 84 - k * 5, shadow=shadow)
    pk.paste_sprite(c, face("4S"), 560, 255, 96, shadow=shadow)
    pk.shadow_ellipses(c, [(446, 240, 500, 292)], 0.55, 3)
    c.circle(470, 262, 26, fill=(200, 196, 186))
    c.circle(470, 260, 26, fill=(250, 248, 240))
    c.circle(470, 260, 20, outline=(30, 30, 30), width=1)
    c.text((470, 260), "DEALER", c.font("DejaVuSans-Bold.ttf", 8.5), (30, 30, 30), anchor="mm")

    # chips under the fans' edges
    chip_stack(c, rng, 460, 700, 26, 1, 9)
    chip_stack(c, rng, 515, 724, 26, 0, 6)
    chip_stack(c, rng, 406, 738, 26, 4, 4)

    # three fans: royal hearts in the middle, spades to the left, diamonds
    # and clubs mixed to the right
    def fan(cards, px, py, radius, a0, a1, tilt=0.0):
        m = len(cards)
        for k, name in enumerate(cards):
            a = a0 + (a1 - a0) * k / max(1, m - 1)
            ar = math.radians(a + tilt)
            x = px + math.sin(ar) * radius
            y = py - math.cos(ar) * radius
            pk.paste_sprite(c, face(name), x, y, -(a + tilt), shadow=shadow)

    fan(["9H", "10H", "JH", "QH", "KH", "AH"], 512, 620, 120, -38, 38)
    fan(["2S", "3S", "5S", "7S", "8S", "10S", "QS", "KS"], 215, 560, 110, -44, 44, -12)
    fan(["4D", "6C", "9D", "JC", "QD", "KC", "8D"], 770, 520, 108, -40, 40, 14)

    # a few court cards and tens dropped on top
    for name, x, y, a in (("KD", 630, 380, 16), ("QC", 380, 395, -14), ("JS", 95, 710, 70),
                          ("10D", 980, 520, -72), ("KS", 860, 730, 80), ("7H", 150, 260, -75)):
        pk.paste_sprite(c, face(name), x, y, a, shadow=shadow)

    # more chips and the dice
    chip_stack(c, rng, 700, 450, 24, 3, 7)
    chip_stack(c, rng, 742, 468, 24, 5, 4)
    chip_stack(c, rng, 330, 520, 24, 6, 5)
    chip_stack(c, rng, 945, 430, 24, 2, 10)
    for (x, y, k) in ((272, 310, 4), (640, 560, 1), (990, 600, 3), (40, 460, 0), (672, 730, 5),
                      (900, 278, 6), (128, 746, 2), (380, 250, 3), (650, 236, 1)):
        col, val = CHIPS[k]
        pk.shadow_ellipses(c, [(x - 20, y - 16, x + 28, y + 26)], 0.5, 3)
        chip(c, x, y, 24, col, val, rng)
    place_die(c, 445, 555, 30, 20, 6)
    place_die(c, 590, 455, 30, -15, 5)
    place_die(c, 60, 622, 28, 35, 3, (250, 250, 246))
    place_die(c, 952, 760, 28, -10, 4, (40, 80, 200))
    return pk.finish(c, path, 30)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/ult_deck.bkg")

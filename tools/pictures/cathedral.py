#!/usr/bin/python3
"""Built-in puzzle picture cathedra.bkg: a Gothic cathedral on a square in
the late afternoon.  The picture is cut into as many as 400 pieces, so every
part of it carries its own detail: clouds and birds in the sky, carved stone,
glass and doors on the front, trees, houses, people and paving below."""
import math
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import picturelib as pl
import scenery as sc

W, H, S = 1024, 768, 2
GROUND = 600

STONE = (206, 184, 148)
STONE_LIT = (222, 200, 160)
STONE_SHADE = (168, 148, 122)
DARK = (44, 36, 40)
GLASS = [(30, 60, 150), (170, 30, 40), (220, 170, 40), (40, 120, 70), (110, 40, 130),
         (40, 130, 190)]


# ---------------------------------------------------------------- helpers --

def stone_region(c, rng, pts_list, base, course=11, **kw):
    tex = sc.stone_texture(W, H, S, base, rng, course=course, **kw)

    def shape(md):
        for pts in pts_list:
            md.polygon(c.p(pts), fill=255)
    sc.paste_masked(c, tex, shape)


def rect_pts(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def band(c, x0, x1, y, h=5, col=STONE_LIT):
    """A moulded string course: a light top and a shadow beneath."""
    c.rect(x0, y, x1, y + h, fill=col)
    c.rect(x0, y + h * 0.55, x1, y + h, fill=pl.shade(col, 0.86))
    c.rect(x0, y + h, x1, y + h + 2, fill=pl.shade(col, 0.55))


def lancet(c, rng, x0, x1, y_spring, y_bottom, glass=True, louvres=False, frame=3):
    """A pointed window in a moulded frame."""
    c.poly(pl.gothic_arch(x0 - frame, x1 + frame, y_spring, y_bottom + 2, 0.9),
           fill=STONE_SHADE)
    c.poly(pl.gothic_arch(x0 - frame + 1.2, x1 + frame - 1.2, y_spring, y_bottom + 2, 0.9),
           fill=STONE_LIT)
    inner = pl.gothic_arch(x0, x1, y_spring, y_bottom, 0.9)
    c.poly(inner, fill=(26, 24, 38))
    apex = pl.arch_apex(x0, x1, y_spring, 0.9)
    if glass:
        # leaded panes of coloured glass
        m, md = c.mask()
        md.polygon(c.p(inner), fill=255)
        layer = pl.Canvas(W, H, S, background=(20, 20, 30))
        pw, ph = (x1 - x0) / 3.0, 7.0
        y = apex
        r = 0
        while y < y_bottom:
            for k in range(3):
                col = GLASS[int(rng.integers(len(GLASS)))]
                col = pl.jitter(col, rng, 0.18)
                layer.rect(x0 + k * pw + 0.7, y + 0.7, x0 + (k + 1) * pw - 0.7, y + ph - 0.7,
                           fill=col)
                if rng.random() < 0.3:
                    layer.circle(x0 + (k + 0.5) * pw, y + ph / 2, min(pw, ph) * 0.28,
                                 fill=pl.shade(col, 1.5))
            y += ph
            r += 1
        c.img.paste(layer.img, (0, 0), m)
        c.draw = ImageDraw.Draw(c.img)
        # a stone mullion and a glint of light
        xm = (x0 + x1) / 2
        c.line([(xm, apex + 6), (xm, y_bottom)], STONE_SHADE, 1.6)
    if louvres:
        y = y_spring - (y_spring - apex) * 0.2
        while y < y_bottom - 3:
            c.rect(x0 + 1, y, x1 - 1, y + 2.2, fill=(98, 84, 70))
            c.rect(x0 + 1, y + 2.2, x1 - 1, y + 3.2, fill=(56, 46, 40))
            y += 7
    # sill
    c.rect(x0 - frame - 2, y_bottom, x1 + frame + 2, y_bottom + 3, fill=STONE_LIT)
    c.rect(x0 - frame - 2, y_bottom + 3, x1 + frame + 2, y_bottom + 4.5, fill=STONE_SHADE)


def statue(c, x, base, h, robe=(190, 172, 140)):
    """A carved figure: robe, head, sometimes a crown."""
    w = h * 0.30
    c.poly([(x - w * 0.45, base - h * 0.78), (x + w * 0.45, base - h * 0.78),
            (x + w * 0.55, base), (x - w * 0.55, base)], fill=robe)
    c.poly([(x + w * 0.05, base - h * 0.78), (x + w * 0.45, base - h * 0.78),
            (x + w * 0.55, base), (x + w * 0.15, base)], fill=pl.shade(robe, 0.78))
    c.line([(x - w * 0.2, base - h * 0.65), (x + w * 0.2, base - h * 0.45)],
           pl.shade(robe, 0.7), max(1, h * 0.04))
    c.circle(x, base - h * 0.87, h * 0.11, fill=pl.shade(robe, 1.06))
    c.rect(x - h * 0.11, base - h * 1.01, x + h * 0.11, base - h * 0.95,
           fill=(200, 168, 80))


def crockets(c, p0, p1, n, size, col):
    """Little leafy knobs along a sloping edge from p0 to p1."""
    (x0, y0), (x1, y1) = p0, p1
    L = math.hypot(x1 - x0, y1 - y0)
    nx, ny = -(y1 - y0) / L, (x1 - x0) / L
    if ny > 0:
        nx, ny = -nx, -ny
    for k in range(1, n):
        t = k / n
        x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        c.circle(x + nx * size * 0.6, y + ny * size * 0.6, size * 0.65, fill=col)
        c.circle(x + nx * size * 0.6 - 0.5, y + ny * size * 0.6 - 0.6, size * 0.35,
                 fill=pl.shade(col, 1.12))


def pinnacle(c, x, base, top, w, lit=STONE_LIT, dark=STONE_SHADE):
    c.rect(x - w / 2, base - (base - top) * 0.35, x + w / 2, base, fill=lit)
    c.rect(x, base - (base - top) * 0.35, x + w / 2, base, fill=dark)
    c.poly([(x - w / 2, base - (base - top) * 0.35), (x, top),
            (x + w / 2, base - (base - top) * 0.35)], fill=lit)
    c.poly([(x, top), (x + w / 2, base - (base - top) * 0.35),
            (x, base - (base - top) * 0.35)], fill=dark)
    crockets(c, (x - w / 2, base - (base - top) * 0.35), (x, top), 4, w * 0.28, lit)
    crockets(c, (x + w / 2, base - (base - top) * 0.35), (x, top), 4, w * 0.28, dark)
    c.circle(x, top, w * 0.18, fill=lit)


def rose_window(c, rng, cx, cy, R):
    # stone ring
    c.circle(cx, cy, R + 9, fill=STONE_SHADE)
    c.circle(cx, cy, R + 7, fill=STONE_LIT)
    c.circle(cx, cy, R + 2.5, fill=pl.shade(STONE, 0.8))
    c.circle(cx, cy, R, fill=(24, 20, 40))
    n = 16
    # outer ring of glass, two colours alternating with jitter
    for k in range(n):
        a0 = k * 360 / n - 90
        col = GLASS[(k * 2) % len(GLASS)]
        c.pieslice(cx, cy, R - 1.5, a0 + 1.2, a0 + 360 / n - 1.2, fill=pl.jitter(col, rng, 0.1))
    c.circle(cx, cy, R * 0.72, fill=(24, 20, 40))
    for k in range(n):
        a0 = k * 360 / n - 90 + 360 / n / 2
        col = GLASS[(k * 3 + 1) % len(GLASS)]
        c.pieslice(cx, cy, R * 0.70, a0 + 1.5, a0 + 360 / n - 1.5, fill=pl.jitter(col, rng, 0.1))
    # little round lights between the petals
    for k in range(n):
        a = math.radians(k * 360 / n - 90)
        x, y = cx + math.cos(a) * R * 0.86, cy + math.sin(a) * R * 0.86
        c.circle(x, y, R * 0.085, fill=(250, 210, 90))
    # radiating stone tracery
    for k in range(n):
        a = math.radians(k * 360 / n - 90)
        c.line([(cx + math.cos(a) * R * 0.30, cy + math.sin(a) * R * 0.30),
                (cx + math.cos(a) * R, cy + math.sin(a) * R)], STONE, 2.2)
    c.circle(cx, cy, R * 0.72, outline=STONE, width=2.2)
    c.circle(cx, cy, R * 0.98, outline=STONE, width=2.0)
    # cusped inner ring
    for k in range(8):
        a = math.radians(k * 45)
        c.circle(cx + math.cos(a) * R * 0.2, cy + math.sin(a) * R * 0.2, R * 0.13,
                 fill=GLASS[k % 3])
    c.circle(cx, cy, R * 0.30, outline=STONE, width=2.4)
    c.circle(cx, cy, R * 0.12, fill=(250, 220, 110))
    c.circle(cx, cy, R * 0.12, outline=STONE, width=1.6)


def portal(c, rng, x0, x1, y_spring, orders=4, depth=6):
    """Recessed pointed doorway: several arch orders, a carved tympanum, and
    two wooden doors with iron hinges."""
    cols = [STONE_LIT, STONE_SHADE, pl.shade(STONE, 0.92), pl.shade(STONE, 0.72),
            pl.shade(STONE, 0.84), pl.shade(STONE, 0.65)]
    for k in range(orders):
        inset = k * depth
        c.poly(pl.gothic_arch(x0 + inset, x1 - inset, y_spring, GROUND, 0.85),
               fill=cols[k % len(cols)])
        # little figures carved in each arch order
        ax0, ax1 = x0 + inset + depth / 2, x1 - inset - depth / 2
        ap = pl.gothic_arch(ax0, ax1, y_spring, GROUND, 0.85, steps=8)
        for (px, py) in ap[2:-2:2]:
            c.circle(px, py, depth * 0.28, fill=pl.shade(cols[k % len(cols)], 0.8))
    ix0, ix1 = x0 + orders * depth, x1 - orders * depth
    inner = pl.gothic_arch(ix0, ix1, y_spring, GROUND, 0.85)
    c.poly(inner, fill=pl.shade(STONE, 0.88))
    apex = pl.arch_apex(ix0, ix1, y_spring, 0.85)
    lintel = y_spring + (GROUND - y_spring) * 0.12
    # tympanum: a seated figure in a mandorla with a figure each side
    mx = (ix0 + ix1) / 2
    th = lintel - apex
    c.ellipse(mx - th * 0.28, apex + th * 0.18, mx + th * 0.28, lintel - 2,
              fill=pl.shade(STONE, 0.75))
    statue(c, mx, lintel - 3, th * 0.62, robe=pl.shade(STONE, 1.02))
    for sgn in (-1, 1):
        statue(c, mx + sgn * (ix1 - ix0) * 0.30, lintel - 2, th * 0.42,
               robe=pl.shade(STONE, 0.95))
    c.rect(ix0, lintel, ix1, lintel + 4, fill=STONE_LIT)
    c.rect(ix0, lintel + 4, ix1, lintel + 5.5, fill=STONE_SHADE)
    # doors
    dtop = lintel + 5.5
    wood = (104, 58, 32)
    mid = (ix0 + ix1) / 2
    tw = max(3.0, (ix1 - ix0) * 0.07)
    for (a, b) in ((ix0, mid - tw / 2), (mid + tw / 2, ix1)):
        c.rect(a, dtop, b, GROUND, fill=wood)
        nplanks = max(3, int((b - a) / 5))
        for k in range(nplanks):
            px = a + (b - a) * k / nplanks
            c.line([(px, dtop), (px, GROUND)], pl.shade(wood, 0.7), 0.8)
            c.rect(px + 0.8, dtop, px + 1.6, GROUND, fill=pl.shade(wood, 1.15))
        for yy in (dtop + (GROUND - dtop) * 0.2, dtop + (GROUND - dtop) * 0.65):
            c.rect(a + 1, yy, b - 1, yy + 2.5, fill=(40, 36, 36))
            for k in range(int((b - a) / 5)):
                c.circle(a + 3 + k * 5, yy + 1.25, 0.9, fill=(120, 110, 100))
        # ring handle
        hx = b - 4 if a < mid else a + 4
        c.circle(hx, dtop + (GROUND - dtop) * 0.45, 2.0, outline=(40, 36, 30), width=1)
    # trumeau with a statue
    c.rect(mid - tw / 2, dtop, mid + tw / 2, GROUND, fill=STONE)
    statue(c, mid, dtop + (GROUND - dtop) * 0.55, (GROUND - dtop) * 0.42, robe=STONE_LIT)


def gallery(c, x0, x1, y0, y1, n, rng):
    """A row of round-headed niches, a carved figure in each."""
    c.rect(x0, y0, x1, y1, fill=STONE_SHADE)
    w = (x1 - x0) / n
    for k in range(n):
        a, b = x0 + k * w + 2, x0 + (k + 1) * w - 2
        c.poly(pl.gothic_arch(a, b, y0 + (b - a) * 0.7, y1 - 2, 0.55), fill=(70, 58, 54))
        statue(c, (a + b) / 2, y1 - 3, (y1 - y0) * 0.72,
               robe=pl.jitter((198, 180, 146), rng, 0.06))
        c.rect(b, y0, b + 4, y1, fill=STONE_LIT)
        c.rect(b + 2.6, y0, b + 4, y1, fill=STONE_SHADE)
    c.rect(x0, y1 - 2, x1, y1 + 1, fill=STONE_LIT)


def balustrade(c, x0, x1, y, h=12):
    c.rect(x0, y, x1, y + h, fill=STONE_SHADE)
    n = int((x1 - x0) / 11)
    w = (x1 - x0) / n
    for k in range(n):
        cx = x0 + (k + 0.5) * w
        c.circle(cx, y + h * 0.52, w * 0.32, fill=(56, 48, 50))
        c.rect(x0 + k * w, y, x0 + k * w + 2, y + h, fill=STONE_LIT)
    c.rect(x0 - 2, y - 2.5, x1 + 2, y + 1, fill=STONE_LIT)
    c.rect(x0 - 2, y + h, x1 + 2, y + h + 2.5, fill=STONE_LIT)


def spire(c, rng, x0, x1, base, tip):
    """An octagonal stone spire seen from the front: lit left faces, a
    shaded right face, carved bands, crockets and small dormer lights."""
    mx = (x0 + x1) / 2
    lit = (214, 194, 160)
    mid = (188, 168, 138)
    dark = (140, 124, 104)
    tex_lit = sc.stone_texture(W, H, S, lit, rng, course=9, block=(8, 14))
    tex_mid = sc.stone_texture(W, H, S, mid, rng, course=9, block=(8, 14))
    tex_dark = sc.stone_texture(W, H, S, dark, rng, course=9, block=(8, 14))
    q0 = x0 + (x1 - x0) * 0.22
    q1 = x0 + (x1 - x0) * 0.78
    faces = [([(x0, base), (q0, base), (mx, tip)], tex_lit),
             ([(q0, base), (q1, base), (mx, tip)], tex_mid),
             ([(q1, base), (x1, base), (mx, tip)], tex_dark)]
    for pts, tex in faces:
        sc.paste_masked(c, tex, lambda md, pts=pts: md.polygon(c.p(pts), fill=255))
    for xb in (q0, q1):
        c.line([(xb, base), (mx, tip)], pl.shade(lit, 1.05), 1.6)
    # carved bands with pierced quatrefoils
    for k in range(1, 6):
        t = k / 6.5
        y = base + (tip - base) * t
        half = (x1 - x0) / 2 * (1 - t)
        c.rect(mx - half, y - 1.6, mx + half, y + 1.6, fill=pl.shade(lit, 0.85))
        if k < 5:
            for j in (-1, 0, 1):
                c.circle(mx + j * half * 0.45, y - 8 * (1 - t) - 2, 2.2 * (1 - t) + 0.6,
                         fill=(60, 52, 56))
    crockets(c, (x0, base), (mx, tip), 14, 4.2, lit)
    crockets(c, (x1, base), (mx, tip), 14, 4.2, dark)
    # dormer lights at the foot
    for cxd in (mx - (x1 - x0) * 0.22, mx + (x1 - x0) * 0.22):
        c.poly([(cxd - 8, base - 2), (cxd, base - 22), (cxd + 8, base - 2)], fill=lit)
        c.poly([(cxd - 4, base - 2), (cxd - 4, base - 9), (cxd, base - 15), (cxd + 4, base - 9),
                (cxd + 4, base - 2)], fill=(40, 34, 40))
    # finial and gilded cross
    c.circle(mx, tip, 3.4, fill=lit)
    c.rect(mx - 0.9, tip - 16, mx + 0.9, tip - 2, fill=(224, 178, 60))
    c.rect(mx - 5, tip - 12, mx + 5, tip - 10.2, fill=(224, 178, 60))


def tower(c, rng, x0, x1, lit_factor, clock=False):
    """One west tower from the ground up to its balustrade."""
    mx = (x0 + x1) / 2
    base = pl.shade(STONE, lit_factor)
    stone_region(c, rng, [rect_pts(x0, 178, x1, GROUND)], base)
    # corner buttresses, lit on the left
    for bx in (x0, x1 - 14):
        c.rect(bx, 200, bx + 14, GROUND, fill=pl.shade(base, 1.06))
        c.rect(bx + 9, 200, bx + 14, GROUND, fill=pl.shade(base, 0.80))
        for y in (470, 360, 250):
            c.poly([(bx - 1, y), (bx + 15, y), (bx + 15, y - 8), (bx - 1, y - 2)],
                   fill=pl.shade(base, 1.12))
            c.rect(bx - 1, y, bx + 15, y + 2, fill=pl.shade(base, 0.6))
    # side portal
    portal(c, rng, mx - 36, mx + 36, 540, orders=3, depth=5)
    # niche statues either side of the doorway, on the buttresses
    for sx in (x0 + 7, x1 - 7):
        c.poly(pl.gothic_arch(sx - 6, sx + 6, 488, 522, 0.8), fill=(84, 70, 64))
        statue(c, sx, 521, 30, robe=STONE_LIT)
    # middle level: clock face or a pair of lancets
    band(c, x0, x1, 466)
    gallery(c, x0 + 14, x1 - 14, 420, 462, 3, rng)
    band(c, x0, x1, 414)
    if clock:
        cx, cy, r = mx, 345, 27
        c.circle(cx, cy, r + 6, fill=STONE_SHADE)
        c.circle(cx, cy, r + 4, fill=(200, 160, 70))
        c.circle(cx, cy, r, fill=(30, 50, 110))
        for h in range(12):
            a = math.radians(h * 30 - 90)
            c.line([(cx + math.cos(a) * r * 0.78, cy + math.sin(a) * r * 0.78),
                    (cx + math.cos(a) * r * 0.93, cy + math.sin(a) * r * 0.93)],
                   (240, 200, 90), 2.2 if h % 3 == 0 else 1.2)
        a = math.radians(4 * 30 + 10 - 90)
        c.line([(cx, cy), (cx + math.cos(a) * r * 0.5, cy + math.sin(a) * r * 0.5)],
               (240, 200, 90), 2.6)
        a = math.radians(52 * 6 - 90)
        c.line([(cx, cy), (cx + math.cos(a) * r * 0.78, cy + math.sin(a) * r * 0.78)],
               (240, 200, 90), 1.8)
        c.circle(cx, cy, 2.5, fill=(240, 200, 90))
        lancet(c, rng, mx - 22, mx - 6, 392, 408, glass=True, frame=2)
        lancet(c, rng, mx + 6, mx + 22, 392, 408, glass=True, frame=2)
    else:
        lancet(c, rng, mx - 32, mx - 6, 340, 404)
        lancet(c, rng, mx + 6, mx + 32, 340, 404)
        c.circle(mx, 318, 10, fill=STONE_SHADE)
        c.circle(mx, 318, 7.5, fill=(170, 30, 40))
        c.circle(mx, 318, 3, fill=(250, 210, 90))
    band(c, x0, x1, 298)
    # belfry: tall louvred openings
    lancet(c, rng, mx - 40, mx - 8, 222, 292, glass=False, louvres=True)
    lancet(c, rng, mx + 8, mx + 40, 222, 292, glass=False, louvres=True)
    c.rect(mx - 2.5, 200, mx + 2.5, 294, fill=pl.shade(base, 0.9))
    balustrade(c, x0 - 3, x1 + 3, 180)
    # corner pinnacles
    pinnacle(c, x0 + 7, 180, 112, 16)
    pinnacle(c, x1 - 7, 180, 112, 16)


def aisle(c, rng, x0, x1, near_tower_x, left=True):
    """A low side aisle with a slate roof, windows and flying buttresses."""
    wall_top = 420
    roof_top = 360
    base = pl.shade(STONE, 0.80)
    stone_region(c, rng, [rect_pts(x0, wall_top, x1, GROUND)], base, course=10)
    # slate roof sloping up towards the tower
    if left:
        roof = [(x0 - 6, wall_top + 2), (x0 + 20, roof_top), (x1, roof_top), (x1, wall_top + 2)]
    else:
        roof = [(x0, wall_top + 2), (x0, roof_top), (x1 - 20, roof_top), (x1 + 6, wall_top + 2)]
    slate = pl.Canvas(W, H, S, background=(80, 90, 108))
    for k, y in enumerate(np.arange(roof_top, wall_top + 4, 5.0)):
        off = (k % 2) * 4
        for x in np.arange(x0 - 10 + off, x1 + 10, 8.0):
            slate.rect(x + 0.4, y, x + 7.6, y + 4.4, fill=pl.jitter((92, 102, 122), rng, 0.08))
    m, md = c.mask()
    md.polygon(c.p(roof), fill=255)
    c.img.paste(slate.img, (0, 0), m)
    c.draw = ImageDraw.Draw(c.img)
    c.line([(roof[1][0], roof[1][1]), (roof[2][0], roof[2][1])], (60, 66, 80), 2)
    c.rect(x0 - 6, wall_top, x1 + 6, wall_top + 4, fill=STONE_LIT)
    # windows between buttresses
    bw = 12
    piers = [x0, (x0 + x1) / 2 - bw / 2, x1 - bw]
    for k in range(len(piers) - 1):
        a, b = piers[k] + bw, piers[k + 1]
        wx0, wx1 = a + (b - a) * 0.25, b - (b - a) * 0.25
        lancet(c, rng, wx0, wx1, 470, 560, frame=2.5)
        c.poly(pl.gothic_arch((a + b) / 2 - 8, (a + b) / 2 + 8, 578, GROUND, 0.8),
               fill=(60, 48, 46))
    for px in piers:
        c.rect(px, wall_top - 6, px + bw, GROUND, fill=pl.shade(base, 1.08))
        c.rect(px + bw * 0.6, wall_top - 6, px + bw, GROUND, fill=pl.shade(base, 0.78))
        pinnacle(c, px + bw / 2, wall_top - 6, wall_top - 58, bw + 2,
                 lit=pl.shade(base, 1.1), dark=pl.shade(base, 0.8))
    # a flying buttress leaping from the middle pier to the tower wall
    sx = piers[1] + bw / 2
    tx = near_tower_x
    yt0, yt1 = wall_top - 62, wall_top - 122      # straight top edge
    yb0, rise = wall_top - 40, 48                  # curved underside
    top_edge = [(sx, yt0), (tx, yt1)]
    under = []
    for i in range(25):
        th = (math.pi / 2) * i / 24
        under.append((tx - (tx - sx) * math.cos(th), yb0 - rise * math.sin(th)))
    c.poly([(sx - bw / 2, yt0 + 4), (sx - bw / 2, yt0)] + top_edge + under[::-1] +
           [(sx + bw / 2, yb0 + 6)], fill=pl.shade(base, 0.98))
    c.line(top_edge, pl.shade(base, 1.18), 2.0)
    c.line(under, pl.shade(base, 0.62), 1.4)
    pinnacle(c, sx, yt0 + 2, yt0 - 40, bw, lit=pl.shade(base, 1.1), dark=pl.shade(base, 0.8))


def central_front(c, rng):
    x0, x1 = 400, 624
    mx = 512
    # gable and wall
    gable = [(x0, 272), (mx, 176), (x1, 272)]
    stone_region(c, rng, [rect_pts(x0, 270, x1, GROUND), gable], STONE)
    crockets(c, (x0 + 6, 268), (mx, 178), 11, 5.0, STONE_LIT)
    crockets(c, (x1 - 6, 268), (mx, 178), 11, 5.0, STONE_SHADE)
    c.line([(x0 + 2, 272), (mx, 177), (x1 - 2, 272)], STONE_LIT, 3)
    # gable statue and small window
    statue(c, mx, 176, 30, robe=STONE_LIT)
    c.circle(mx, 232, 17, fill=STONE_SHADE)
    c.circle(mx, 232, 14, fill=(30, 24, 40))
    for k in range(6):
        a0 = k * 60
        c.pieslice(mx, 232, 13, a0 + 4, a0 + 56, fill=GLASS[k % 4])
    c.circle(mx, 232, 4, fill=STONE_LIT)
    band(c, x0, x1, 268, h=5)
    # rose window level
    c.rect(x0 + 20, 278, x1 - 20, 408, fill=pl.shade(STONE, 0.9))
    c.rect(x0 + 24, 282, x1 - 24, 404, fill=pl.shade(STONE, 0.98))
    rose_window(c, rng, mx, 343, 56)
    for (sx, sy) in ((x0 + 36, 294), (x1 - 36, 294), (x0 + 36, 392), (x1 - 36, 392)):
        c.circle(sx, sy, 7, fill=STONE_SHADE)
        c.circle(sx, sy, 4.5, fill=(60, 50, 60))
    band(c, x0, x1, 410, h=5)
    gallery(c, x0 + 4, x1 - 4, 420, 462, 7, rng)
    band(c, x0, x1, 466, h=5)
    portal(c, rng, mx - 58, mx + 58, 522, orders=5, depth=6)
    # carved pinnacles either side of the gable
    pinnacle(c, x0 + 6, 272, 206, 14)
    pinnacle(c, x1 - 6, 272, 206, 14)


def houses(c, rng, x0, x1, left):
    """Old town houses with steep roofs beside the square."""
    x = x0
    cols = [(214, 196, 160), (196, 140, 110), (230, 214, 180), (170, 150, 130),
            (214, 170, 120), (188, 196, 176)]
    roofs = [(150, 70, 50), (120, 60, 48), (96, 84, 90), (160, 90, 60)]
    k = 0
    while x < x1:
        w = rng.uniform(44, 62)
        top = rng.uniform(410, 450)
        col = cols[int(rng.integers(len(cols)))]
        roof = roofs[int(rng.integers(len(roofs)))]
        wall = sc.brick_texture(W, H, S, col, rng, bw=9, bh=4, var=0.05, mortar=pl.shade(col, 0.9))
        sc.paste_masked(c, wall, lambda md: md.rectangle(c.box(x, top, x + w, GROUND), fill=255))
        c.rect(x + w - 3, top, x + w, GROUND, fill=pl.shade(col, 0.7))
        # stepped or plain gable roof
        c.poly([(x - 3, top + 1), (x + w / 2, top - w * 0.55), (x + w + 3, top + 1)],
               fill=roof)
        c.poly([(x + w / 2, top - w * 0.55), (x + w + 3, top + 1), (x + w / 2, top + 1)],
               fill=pl.shade(roof, 0.8))
        for j in range(6):
            yy = top - w * 0.55 + (j + 1) * w * 0.55 / 7
            half = (yy - (top - w * 0.55)) / (w * 0.55) * (w / 2 + 3)
            c.line([(x + w / 2 - half, yy), (x + w / 2 + half, yy)], pl.shade(roof, 0.7), 0.8)
        c.rect(x + w * 0.62, top - w * 0.5, x + w * 0.72, top - w * 0.2, fill=(120, 80, 60))
        # windows with shutters, some lit
        rows = int((GROUND - top - 40) / 26)
        for r in range(rows):
            for q in range(2):
                wx = x + w * (0.22 + 0.38 * q)
                wy = top + 12 + r * 26
                glass = (250, 220, 140) if rng.random() < 0.2 else (70, 90, 110)
                c.rect(wx - 1.5, wy - 1.5, wx + 11.5, wy + 17.5, fill=(240, 236, 226))
                c.rect(wx, wy, wx + 10, wy + 16, fill=glass)
                c.line([(wx + 5, wy), (wx + 5, wy + 16)], (240, 236, 226), 1)
                c.line([(wx, wy + 7), (wx + 10, wy + 7)], (240, 236, 226), 1)
                sh = roofs[(k + r) % len(roofs)] if rng.random() < 0.5 else (60, 100, 70)
                c.rect(wx - 5, wy, wx - 1.5, wy + 16, fill=sh)
                c.rect(wx + 11.5, wy, wx + 15, wy + 16, fill=sh)
                if rng.random() < 0.35:
                    c.rect(wx - 2, wy + 16, wx + 12, wy + 20, fill=(110, 80, 60))
                    for f in range(5):
                        c.circle(wx + f * 2.6, wy + 15.5, 1.6,
                                 fill=[(230, 60, 80), (250, 200, 60), (240, 120, 170)][f % 3])
        # a shop front at street level
        c.rect(x + 4, GROUND - 34, x + w - 6, GROUND, fill=(60, 50, 50))
        c.rect(x + 7, GROUND - 30, x + w - 9, GROUND - 4, fill=(120, 150, 170))
        awn = [(200, 40, 40), (40, 100, 160), (40, 130, 70), (220, 160, 30)][k % 4]
        for s in range(8):
            c.rect(x + 2 + s * (w - 4) / 8, GROUND - 42, x + 2 + (s + 1) * (w - 4) / 8, GROUND - 34,
                   fill=awn if s % 2 == 0 else (245, 240, 230))
        x += w
        k += 1


def paving(c, rng):
    """The square in perspective: flagstones with a lighter path leading to
    the main door, seen from a little above."""
    vx, vy = 512, 470
    base = pl.Canvas(W, H, S, background=(120, 112, 104))
    ys = []
    k = 0
    while True:
        y = vy + 298.0 / (1.0 + 0.075 * k)
        if y < GROUND:
            break
        ys.append(y)
        k += 1
    ys.append(GROUND)
    ys = sorted(ys)
    spacing = 34
    xs = np.arange(-40, 41) * spacing
    for r in range(len(ys) - 1):
        y0, y1 = ys[r], ys[r + 1]
        f0 = (y0 - vy) / (H - vy)
        f1 = (y1 - vy) / (H - vy)
        for m in range(len(xs) - 1):
            xa0 = vx + xs[m] * f0
            xb0 = vx + xs[m + 1] * f0
            xa1 = vx + xs[m] * f1
            xb1 = vx + xs[m + 1] * f1
            if xb1 < -20 or xa1 > W + 20:
                continue
            path = abs(xs[m] + spacing / 2) < spacing * 1.6
            ring = (m + r) % 2 == 0
            if path:
                col = (206, 194, 170) if ring else (190, 176, 150)
            else:
                col = (168, 158, 144) if ring else (150, 140, 128)
            if (m * 7 + r * 3) % 11 == 0 and not path:
                col = (170, 120, 96)
            col = pl.jitter(col, rng, 0.07)
            g = 0.6 * f1 + 0.2
            base.poly([(xa0 + g, y0 + g), (xb0 - g, y0 + g), (xb1 - g, y1 - g), (xa1 + g, y1 - g)],
                      fill=col)
    arr = base.array()
    n = pl.fbm(W * S, H * S, 40 * S, rng, 5)
    arr *= (0.9 + 0.2 * n)[:, :, None]
    # warm light from the left, long shadow from the cathedral on the right
    xx = np.linspace(0, 1, W * S, dtype=np.float32)[None, :]
    arr *= (1.06 - 0.16 * xx)[:, :, None]
    sc.paste_masked(c, arr, lambda md: md.rectangle(c.box(0, GROUND, W, H), fill=255))


def steps(c):
    for k in range(5):
        y = GROUND + k * 4.2
        x0, x1 = 372 - k * 9, 652 + k * 9
        c.rect(x0, y, x1, y + 4.2, fill=(222, 206, 176))
        c.rect(x0, y + 2.6, x1, y + 4.2, fill=(150, 136, 116))


def fountain(c, rng, cx, cy, R):
    c.ellipse(cx - R - 6, cy - R * 0.34 - 3, cx + R + 6, cy + R * 0.34 + 12, fill=(120, 110, 100))
    c.ellipse(cx - R, cy - R * 0.34, cx + R, cy + R * 0.34, fill=(186, 172, 150))
    c.ellipse(cx - R + 6, cy - R * 0.34 + 3, cx + R - 6, cy + R * 0.34 - 2, fill=(60, 110, 150))
    for _ in range(60):
        a = rng.uniform(0, 2 * math.pi)
        rr = rng.uniform(0.2, 0.9)
        x = cx + math.cos(a) * (R - 8) * rr
        y = cy + math.sin(a) * (R * 0.34 - 4) * rr
        c.ellipse(x - 3, y - 0.6, x + 3, y + 0.6, fill=(150, 200, 230))
    c.rect(cx - R, cy, cx + R, cy + 10, fill=(176, 162, 140))
    c.ellipse(cx - R, cy + 5, cx + R, cy + R * 0.34 + 10, fill=(160, 146, 126))
    for k in range(9):
        xk = cx - R + (k + 0.5) * 2 * R / 9
        c.rect(xk - 2, cy + 6, xk + 2, cy + 16, fill=(140, 126, 108))
    # column and upper bowl
    c.rect(cx - 5, cy - 36, cx + 5, cy, fill=(196, 182, 158))
    c.rect(cx + 1, cy - 36, cx + 5, cy, fill=(160, 146, 126))
    c.ellipse(cx - 24, cy - 44, cx + 24, cy - 32, fill=(196, 182, 158))
    c.ellipse(cx - 20, cy - 43, cx + 20, cy - 36, fill=(90, 140, 180))
    # jets and falling water
    for k in range(-3, 4):
        pts = []
        for t in np.linspace(0, 1, 16):
            # each jet rises from the spout and falls into the upper bowl
            pts.append((cx + k * 9 * t, cy - 54 - 22 * (1 - (2 * t - 1) ** 2) + 22 * t * (t > 0.5)))
        c.line(pts, (220, 238, 255), 1.4)
    for k in range(12):
        x = cx - 22 + k * 4
        c.line([(x, cy - 38), (x + (k - 6) * 0.6, cy - 8)], (200, 226, 250), 0.9)
    c.circle(cx, cy - 54, 3, fill=(236, 246, 255))


def bench(c, x, y, w):
    wood = (120, 76, 40)
    c.rect(x, y - 10, x + w, y - 7, fill=wood)
    c.rect(x, y - 16, x + w, y - 13, fill=wood)
    c.rect(x, y - 6, x + w, y - 4, fill=pl.shade(wood, 0.7))
    for lx in (x + 3, x + w - 5):
        c.rect(lx, y - 16, lx + 2, y, fill=(40, 40, 46))


def flower_bed(c, rng, x0, y0, x1, y1):
    c.ellipse(x0, y0, x1, y1, fill=(120, 104, 86))
    c.ellipse(x0 + 3, y0 + 2, x1 - 3, y1 - 4, fill=(76, 60, 44))
    cols = [(230, 40, 60), (250, 200, 40), (240, 120, 180), (250, 250, 240), (150, 80, 200),
            (255, 140, 40)]
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    rx, ry = (x1 - x0) / 2 - 5, (y1 - y0) / 2 - 5
    for _ in range(int(rx * ry * 0.5)):
        a = rng.uniform(0, 2 * math.pi)
        rr = math.sqrt(rng.uniform(0, 1))
        x, y = cx + math.cos(a) * rx * rr, cy + math.sin(a) * ry * rr - 2
        c.circle(x, y + 2, rng.uniform(1.6, 3.0), fill=pl.jitter((50, 120, 50), rng, 0.2))
    for _ in range(int(rx * ry * 0.35)):
        a = rng.uniform(0, 2 * math.pi)
        rr = math.sqrt(rng.uniform(0, 1))
        x, y = cx + math.cos(a) * rx * rr, cy + math.sin(a) * ry * rr - 3
        col = cols[int(rng.integers(len(cols)))]
        r = rng.uniform(1.2, 2.4)
        c.circle(x, y, r, fill=col)
        c.circle(x, y, r * 0.35, fill=(255, 230, 120))


def pigeons(c, rng, n, box):
    x0, y0, x1, y1 = box
    for _ in range(n):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        s = 2.2 + (y - GROUND) / 60.0
        d = 1 if rng.random() < 0.5 else -1
        c.ellipse(x - s * 1.4, y - s * 0.9, x + s * 1.4, y + s * 0.2, fill=(120, 120, 136))
        c.circle(x + d * s * 1.3, y - s * 1.1, s * 0.55, fill=(90, 96, 120))
        c.ellipse(x - s * 0.8, y - s * 0.9, x + s * 0.5, y - s * 0.2, fill=(150, 150, 166))
        c.line([(x - s * 0.3, y + 0.2), (x - s * 0.3, y + s * 0.6)], (200, 90, 80), 0.6)


def balloon(c, x, y, r, cols=((220, 50, 50), (250, 200, 40), (40, 110, 200), (250, 250, 240))):
    """A striped hot-air balloon with its basket."""
    for k in range(8):
        a0 = 180 + k * 22.5
        c.pieslice(x, y, r, a0, a0 + 22.5, fill=cols[k % len(cols)])
    strips = 8
    for k in range(strips):
        xa = x - r + 2 * r * k / strips
        xb = x - r + 2 * r * (k + 1) / strips
        xa2 = x - r * 0.35 + 0.7 * r * k / strips
        xb2 = x - r * 0.35 + 0.7 * r * (k + 1) / strips
        c.poly([(xa, y), (xb, y), (xb2, y + r * 1.1), (xa2, y + r * 1.1)], fill=cols[k % len(cols)])
    c.rect(x - r * 0.22, y + r * 1.3, x + r * 0.22, y + r * 1.6, fill=(140, 96, 50))
    for s in (-1, 1):
        c.line([(x + s * r * 0.33, y + r * 1.1), (x + s * r * 0.2, y + r * 1.3)], (70, 60, 50), 0.6)


def make(path):
    rng = np.random.default_rng(1959)
    c = pl.Canvas(W, H, S)
    sc.sky(c, rng, [(0.0, (52, 92, 170)), (0.45, (108, 158, 214)), (0.85, (214, 206, 196)),
                    (1.0, (246, 214, 170))],
           cloud_cover=0.60, cloud_cell=115, sun=(90, 120, 22), horizon=GROUND / H,
           wisps=0.5, warm_side=0.5)
    # distant hills and a far town in haze at the horizon
    hills = [(0, 560)] + [(x, 520 + 18 * math.sin(x / 70.0) + 10 * math.sin(x / 23.0 + 1))
                          for x in range(0, W + 8, 8)] + [(W, GROUND), (0, GROUND)]
    c.poly(hills, fill=(142, 160, 168))
    for k in range(40):
        x = rng.uniform(0, W)
        h = rng.uniform(10, 26)
        c.rect(x, 560 - h, x + rng.uniform(6, 14), GROUND, fill=pl.jitter((156, 168, 176), rng, 0.05))
    # hot air balloon and birds
    balloon(c, 880, 120, 26)
    balloon(c, 60, 318, 12, ((40, 160, 80), (250, 140, 30)))
    balloon(c, 975, 300, 9, ((150, 60, 170), (250, 230, 90), (240, 90, 140)))
    sc.birds(c, rng, 14, (620, 40, 1000, 220), size=(3, 6))
    sc.birds(c, rng, 10, (20, 200, 240, 330), size=(3, 6))
    sc.birds(c, rng, 6, (150, 20, 260, 80), size=(2.5, 4.5))
    # an aeroplane drawing a trail across the top
    c.line([(560, 22), (760, 8)], (250, 250, 252), 2.4)
    c.line([(560, 25), (760, 11)], (226, 230, 240), 1.2)
    c.poly([(760, 6), (772, 4), (774, 7), (762, 10)], fill=(200, 200, 210))
    c.poly([(765, 5), (768, 0), (770, 6)], fill=(180, 180, 196))
    # far-off spire of the crossing, seen above the gable
    c.poly([(498, 200), (512, 74), (526, 200)], fill=(92, 150, 130))
    c.poly([(512, 74), (526, 200), (512, 200)], fill=(64, 116, 100))
    for y in range(100, 200, 14):
        c.line([(512 - (y - 74) * 0.11, y), (512 + (y - 74) * 0.11, y)], (140, 190, 170), 0.8)
    c.rect(511, 56, 513, 76, fill=(224, 178, 60))
    c.rect(507, 62, 517, 64, fill=(224, 178, 60))

    # the town beside the cathedral
    houses(c, rng, -10, 150, True)
    houses(c, rng, 874, W + 10, False)

    # side aisles, then the front
    aisle(c, rng, 146, 262, 262, left=True)
    aisle(c, rng, 762, 878, 762, left=False)
    spire(c, rng, 272, 390, 186, 34)
    spire(c, rng, 634, 752, 186, 34)
    tower(c, rng, 262, 400, 1.05, clock=True)
    tower(c, rng, 624, 762, 0.93, clock=False)
    central_front(c, rng)

    # a warm wash of afternoon light across the front, left to right
    arr = c.array()
    xx = np.linspace(0, 1, W * S, dtype=np.float32)[None, :]
    light = 1.04 - 0.10 * xx
    arr *= light[:, :, None]
    c.set_array(arr)

    # the square
    paving(c, rng)
    steps(c)
    # people on the square, far ones first
    spots = []
    for _ in range(40):
        y = rng.uniform(612, 768)
        x = rng.uniform(10, 1010)
        if 70 < x < 275 and y > 630:       # the fountain
            continue
        if 780 < x < 1000 and y > 700:     # the flower bed
            continue
        if 420 < x < 600 and y > 740:
            continue
        spots.append((y, x))
    spots.append((716, 640))               # the child with the balloon
    spots.sort()
    left_trees = ((40, 200, 110), (130, 170, 96), (-10, 150, 80))
    right_trees = ((900, 190, 110), (990, 210, 100), (835, 150, 80))
    # shadows fall to the right, away from the low sun
    shadows = [(x - 10, GROUND - 2, x + wd * 0.9, GROUND + 16)
               for (x, h, wd) in left_trees + right_trees]
    shadows += [(x - 4, y - 3, x + 26 + (y - GROUND) * 0.25, y + 4) for (y, x) in spots]
    shadows += [(x - 3, 636, x + 40, 644) for x in (330, 694)]
    shadows += [(60, 700, 300, 752)]
    sc.cast_shadows(c, shadows, 0.32)
    # trees in front of the houses
    for (x, h, wd) in left_trees:
        sc.tree(c, rng, x, GROUND + 6, h, wd)
    for (x, h, wd) in right_trees:
        sc.tree(c, rng, x, GROUND + 6, h, wd,
                greens=[(40, 90, 44), (60, 114, 50), (88, 140, 60), (128, 168, 74)])
    for x in (330, 694):
        sc.lamp_post(c, x, 640, 90)
    bench(c, 230, 650, 40)
    bench(c, 760, 650, 40)
    fountain(c, rng, 170, 700, 96)
    flower_bed(c, rng, 780, 690, 1000, 760)
    flower_bed(c, rng, -30, 740, 90, 790)
    flower_bed(c, rng, 420, 745, 600, 800)
    pigeons(c, rng, 14, (300, 660, 700, 740))

    for y, x in spots:
        sc.person(c, rng, x, y, 26 + (y - GROUND) * 0.42)
        if (y, x) == (716, 640):
            c.line([(648, 694), (656, 650)], (60, 60, 60), 0.8)
            c.ellipse(648, 630, 666, 652, fill=(220, 30, 40))
            c.ellipse(651, 634, 656, 640, fill=(255, 150, 150))

    out = c.final()
    out = out.filter(ImageFilter.UnsharpMask(radius=1.2, percent=40, threshold=2))
    q = pl.save_jpeg_bkg(out, path)
    return q


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/cathedra.bkg")

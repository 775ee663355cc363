#!/usr/bin/python3
"""The scalable and symbolic icons of both games, as SVG:

    desktop/icons/scalable/io.github.swapster.Swapster.svg
    desktop/icons/scalable/io.github.swapster.Hotfield.svg
        the PNG icons' drawings (icons.py) in vector form, on the same
        64-unit grid: the frame, the four pieces of the little landscape
        with two of them swapped and the swap badge; the mine field's
        corner of wooden squares under a lit bomb
    desktop/icons/symbolic/io.github.swapster.Swapster-symbolic.svg
    desktop/icons/symbolic/io.github.swapster.Hotfield-symbolic.svg
        16 x 16 outlines in one colour, filled shapes only, which the
        desktop recolours to the text colour of panels and menus

Plain text from plain arithmetic, so every run writes the same bytes; needs
nothing but Python.

Usage: svg_icons.py REPOSITORY_ROOT
"""
import math
import os
import sys

SWAPSTER = "io.github.swapster.Swapster"
HOTFIELD = "io.github.swapster.Hotfield"
SYMBOLIC = "#2e3436"    # the colour desktops replace in symbolic icons


def n(v):
    """A coordinate as short text: at most three decimals, no trailing zeros."""
    s = ("%.3f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def rgb(c):
    return "#%02x%02x%02x" % c


def pts(points):
    return " ".join("%s,%s" % (n(x), n(y)) for x, y in points)


def document(size, body, title):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'
            ' width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '  <title>%s</title>\n%s</svg>\n') % (size, size, size, size, title, body)


def frame(dark, light, inner):
    """The rounded frame both icons share: dark edge, light rim, inner well."""
    return ('  <rect width="64" height="64" rx="12" fill="%s"/>\n'
            '  <rect x="1.2" y="1.2" width="61.6" height="61.6" rx="11" fill="%s"/>\n'
            '  <rect x="3" y="3" width="58" height="58" rx="9" fill="%s"/>\n'
            % (rgb(dark), rgb(light), rgb(inner)))


# ------------------------------------------------------------ Swapster ---

def landscape():
    """The little sunny landscape cut up in the icon, 50 units square."""
    u = 50
    grass = [(0, 0.60 * u)] + [(x * u / 20, (0.60 + 0.05 * math.sin(x / 20 * 6)) * u)
                               for x in range(21)] + [(u, u), (0, u)]
    return "\n".join([
        '    <g id="landscape">',
        '      <rect width="50" height="50" fill="url(#sky)"/>',
        '      <circle cx="13.5" cy="13.5" r="7.5" fill="#ff9628"/>',
        '      <circle cx="13.5" cy="13.5" r="6" fill="#ffe450"/>',
        '      <polygon points="%s" fill="#7668a0"/>' % pts([(18, 33), (36.5, 7), (57.5, 33)]),
        '      <polygon points="%s" fill="#ffffff"/>'
        % pts([(36.5, 7), (43, 16), (39, 14.5), (35.5, 17), (32, 13.5)]),
        '      <polygon points="%s" fill="#584c82"/>' % pts([(36.5, 7), (57.5, 33), (45, 33)]),
        '      <polygon points="%s" fill="#46aa3c"/>' % pts(grass),
        '      <ellipse cx="42.5" cy="46.5" rx="17.5" ry="8.5" fill="#2878d7"/>',
        '      <ellipse cx="38" cy="42" rx="7" ry="1" fill="#96c8ff"/>',
        '      <rect x="6" y="35" width="9" height="8" fill="#faf0dc"/>',
        '      <polygon points="%s" fill="#d22828"/>' % pts([(4.5, 35.5), (10.5, 30), (16.5, 35.5)]),
        '      <rect x="9.25" y="39" width="2.5" height="4" fill="#78461e"/>',
        '    </g>'])


def swap_arrow(c, radius, a0, colour):
    """One of the badge's two arrows: an arc of 130 degrees drawn clockwise
    from a0 (degrees, screen coordinates) with its head at the end."""
    width, head = 2.4, 3.9
    r = radius - width / 2      # the drawing's arc lies inside its radius
    a1 = a0 + 130
    x0, y0 = c + r * math.cos(math.radians(a0)), c + r * math.sin(math.radians(a0))
    x1, y1 = c + r * math.cos(math.radians(a1)), c + r * math.sin(math.radians(a1))
    a = math.radians(a1)
    hx, hy = c + math.cos(a) * radius, c + math.sin(a) * radius
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    tip = [(hx + tx * head, hy + ty * head), (hx + nx * head * 0.8, hy + ny * head * 0.8),
           (hx - nx * head * 0.8, hy - ny * head * 0.8)]
    return ('  <path d="M%s %sA%s %s 0 0 1 %s %s" fill="none" stroke="%s" stroke-width="%s"/>\n'
            '  <polygon points="%s" fill="%s"/>\n'
            % (n(x0), n(y0), n(r), n(r), n(x1), n(y1), colour, n(width), pts(tip), colour))


def swapster_svg():
    half, off = 25, 7
    defs = ['  <defs>',
            '    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">',
            '      <stop offset="0" stop-color="#3c6ee1"/>',
            '      <stop offset="0.6" stop-color="#afd4ff"/>',
            '    </linearGradient>',
            landscape()]
    # top-right and bottom-left show each other's quarter of the picture
    place = {(0, 0): (0, 0), (1, 0): (0, 1), (0, 1): (1, 0), (1, 1): (1, 1)}
    cells = {}
    for (i, j) in place:
        cells[(i, j)] = (off + i * (half + 1), off + j * (half + 1))
        x, y = cells[(i, j)]
        defs.append('    <clipPath id="piece%d%d"><rect x="%d" y="%d" width="%d" height="%d" rx="3"/>'
                    '</clipPath>' % (i, j, x, y, half, half))
    defs.append('  </defs>')
    body = "\n".join(defs) + "\n" + frame((24, 18, 60), (62, 44, 132), (44, 32, 100))
    for (i, j), (si, sj) in place.items():
        x, y = cells[(i, j)]
        body += ('  <g clip-path="url(#piece%d%d)"><use xlink:href="#landscape" '
                 'transform="translate(%d %d)"/></g>\n' % (i, j, x - si * half, y - sj * half))
        if (i, j) != (si, sj):
            body += ('  <rect x="%s" y="%s" width="%s" height="%s" rx="1.9" fill="none" '
                     'stroke="#ffdc3c" stroke-width="2.2"/>\n'
                     % (n(x + 1.1), n(y + 1.1), n(half - 2.2), n(half - 2.2)))
    c = 32
    body += ('  <circle cx="32" cy="32" r="11.3" fill="#18123c"/>\n'
             '  <circle cx="32" cy="32" r="9.8" fill="#ffffff"/>\n')
    body += swap_arrow(c, 5.9, 200, "#dc283c") + swap_arrow(c, 5.9, 20, "#285ad2")
    return document(64, body, "Swapster")


# ------------------------------------------------------------ Hotfield ---

CELL = (64 - 12 - 2) / 3     # three squares and two gaps inside a margin of 6


def wood_square(x, y, tile_id):
    """A raised square of rosewood: the grain, then a light and a dark bevel."""
    s = CELL
    grain = []
    for k, (dy, amp, w) in enumerate(((0.22, 0.9, 0.9), (0.47, 1.3, 1.4), (0.74, 0.8, 0.7))):
        y0 = y + s * dy
        grain.append('    <path d="M%s %sC%s %s %s %s %s %s" fill="none" stroke="#6e2216" '
                     'stroke-opacity="0.55" stroke-width="%s"/>'
                     % (n(x), n(y0), n(x + s * 0.35), n(y0 - amp * (1 if k % 2 else -1)),
                        n(x + s * 0.65), n(y0 + amp * (1 if k % 2 else -1)), n(x + s), n(y0), n(w)))
    b = 1.3
    return "\n".join(
        ['  <g clip-path="url(#%s)">' % tile_id,
         '    <rect x="%s" y="%s" width="%s" height="%s" fill="url(#rosewood)"/>'
         % (n(x), n(y), n(s), n(s))] + grain +
        ['    <polygon points="%s" fill="#ffffff" fill-opacity="0.28"/>'
         % pts([(x, y), (x + s, y), (x + s - b, y + b), (x + b, y + b), (x + b, y + s - b), (x, y + s)]),
         '    <polygon points="%s" fill="#000000" fill-opacity="0.35"/>'
         % pts([(x + s, y + s), (x, y + s), (x + b, y + s - b), (x + s - b, y + s - b),
                (x + s - b, y + b), (x + s, y)]),
         '  </g>'])


def sand_square(x, y, tile_id):
    """An uncovered square: pale wood, sunk a little."""
    s, b = CELL, 1.0
    return "\n".join([
        '  <g clip-path="url(#%s)">' % tile_id,
        '    <rect x="%s" y="%s" width="%s" height="%s" fill="url(#sand)"/>' % (n(x), n(y), n(s), n(s)),
        '    <polygon points="%s" fill="#5a3c1e" fill-opacity="0.3"/>'
        % pts([(x, y), (x + s, y), (x + s - b, y + b), (x + b, y + b), (x + b, y + s - b), (x, y + s)]),
        '  </g>'])


def flower(cx, cy):
    """The covered squares' little white flower."""
    out = []
    for k in range(5):
        a = math.radians(-90 + 72 * k)
        out.append('  <ellipse cx="%s" cy="%s" rx="1.25" ry="1.75" transform="rotate(%s %s %s)" '
                   'fill="#f4e8ea" stroke="#8c3c30" stroke-width="0.25"/>'
                   % (n(cx + math.cos(a) * 1.5), n(cy + math.sin(a) * 1.5), n(72 * k),
                      n(cx + math.cos(a) * 1.5), n(cy + math.sin(a) * 1.5)))
    out.append('  <circle cx="%s" cy="%s" r="0.75" fill="#d2a028"/>' % (n(cx), n(cy)))
    return "\n".join(out)


def digit(cx, cy, shape, colour, outline):
    """A bold digit drawn as one stroke over a darker, wider one."""
    paths = {
        1: "M-2.2 -3.2L0.6 -5.2V5.2M-2.4 5.2H3.4",
        2: "M-3 -2.6C-3 -5.8 3 -6.2 3 -2.6C3 0 -2.2 1.8 -3.2 5.2H3.4",
    }
    d = paths[shape]
    tr = 'transform="translate(%s %s)"' % (n(cx), n(cy))
    return ('  <path d="%s" %s fill="none" stroke="%s" stroke-width="3.8" stroke-linecap="round" '
            'stroke-linejoin="round"/>\n'
            '  <path d="%s" %s fill="none" stroke="%s" stroke-width="2.4" stroke-linecap="round" '
            'stroke-linejoin="round"/>' % (d, tr, outline, d, tr, colour))


def flag(cx, cy):
    """The mark of a found bomb: a yellow pennant on a pole and stand."""
    return "\n".join([
        '  <rect x="%s" y="%s" width="1" height="9" fill="#282420"/>' % (n(cx - 3.2), n(cy - 5)),
        '  <polygon points="%s" fill="#ffd21e" stroke="#5a4600" stroke-width="0.4" stroke-linejoin="round"/>'
        % pts([(cx - 2.3, cy - 5.2), (cx + 4.5, cy - 2.6), (cx - 2.3, cy + 0.2)]),
        '  <rect x="%s" y="%s" width="6" height="1.8" rx="0.6" fill="#c8963c" stroke="#3c2814" '
        'stroke-width="0.3"/>' % (n(cx - 5.6), n(cy + 3.6))])


def bomb():
    """The lit bomb sitting on the field, with its shadow."""
    # Drawn in the tile set's units (a 96-unit square) and placed as the PNG
    # icon places it: centre (42.5, 42.75), 0.46 icon units to a tile unit.
    k, ox, oy = 0.46, 42.5, 42.75

    def at(x, y):
        return ox + (x - 44) * k, oy + (y - 54) * k
    r = 30 * k
    a = -math.pi / 4
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    kx, ky = 44 + ux * 30 * 0.92, 54 + uy * 30 * 0.92
    cw = 30 * 0.34
    cap = [at(kx + vx * cw - ux * 2, ky + vy * cw - uy * 2), at(kx - vx * cw - ux * 2, ky - vy * cw - uy * 2),
           at(kx - vx * cw + ux * 9, ky - vy * cw + uy * 9), at(kx + vx * cw + ux * 9, ky + vy * cw + uy * 9)]
    ex, ey = kx + ux * 9, ky + uy * 9
    fuse = []
    for i in range(12):
        t = i / 11.0
        fuse.append(at(ex + t * 15 + math.sin(t * 3.0) * 3, ey - t * 12.6 - math.sin(t * math.pi) * 5.4))
    sx, sy = fuse[-1]
    spark = []
    for i in range(16):
        rr = (3.4 if i % 2 == 0 else 1.1) * (1.0 if i % 4 == 0 else 0.7 if i % 2 == 0 else 1.0)
        an = math.radians(i * 22.5)
        spark.append((sx + math.cos(an) * rr, sy + math.sin(an) * rr))
    bx, by = at(44, 54)
    return "\n".join([
        '  <ellipse cx="43.125" cy="56" rx="15.6" ry="3.5" fill="#000000" fill-opacity="0.6" '
        'filter="url(#soft)"/>',
        '  <circle cx="%s" cy="%s" r="%s" fill="url(#bombBody)"/>' % (n(bx), n(by), n(r)),
        '  <circle cx="%s" cy="%s" r="%s" fill="url(#bombRim)"/>' % (n(bx), n(by), n(r)),
        '  <polygon points="%s" fill="url(#cap)" stroke="#3c3c46" stroke-width="0.4"/>' % pts(cap),
        '  <polyline points="%s" fill="none" stroke="#96784f" stroke-width="1.7" stroke-linecap="round" '
        'stroke-linejoin="round"/>' % pts(fuse),
        '  <circle cx="%s" cy="%s" r="6" fill="url(#glow)"/>' % (n(sx), n(sy)),
        '  <polygon points="%s" fill="#ffffff"/>' % pts(spark),
        '  <circle cx="%s" cy="%s" r="1" fill="#ffee88"/>' % (n(sx), n(sy))])


def hotfield_svg():
    off, gap = 6, 1
    board = [["covered", 1, "flag"],
             [1, 2, 1],
             ["covered", "covered", "covered"]]
    defs = ['  <defs>',
            '    <linearGradient id="rosewood" x1="0" y1="0" x2="1" y2="1">',
            '      <stop offset="0" stop-color="#c0553a"/>',
            '      <stop offset="1" stop-color="#8e3322"/>',
            '    </linearGradient>',
            '    <linearGradient id="sand" x1="0" y1="0" x2="1" y2="1">',
            '      <stop offset="0" stop-color="#ecd2a6"/>',
            '      <stop offset="1" stop-color="#cfae7c"/>',
            '    </linearGradient>',
            '    <radialGradient id="bombBody" cx="0.36" cy="0.32" r="0.72">',
            '      <stop offset="0" stop-color="#9a9aaa"/>',
            '      <stop offset="0.22" stop-color="#3a3a48"/>',
            '      <stop offset="1" stop-color="#101016"/>',
            '    </radialGradient>',
            '    <radialGradient id="bombRim" cx="0.5" cy="0.5" r="0.5">',
            '      <stop offset="0.8" stop-color="#ff5a1e" stop-opacity="0"/>',
            '      <stop offset="1" stop-color="#ff5a1e" stop-opacity="0.55"/>',
            '    </radialGradient>',
            '    <linearGradient id="cap" x1="0" y1="0" x2="1" y2="1">',
            '      <stop offset="0" stop-color="#d2d2dc"/>',
            '      <stop offset="1" stop-color="#7a7a86"/>',
            '    </linearGradient>',
            '    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">',
            '      <stop offset="0" stop-color="#ffdc64" stop-opacity="0.95"/>',
            '      <stop offset="0.45" stop-color="#ff8c28" stop-opacity="0.55"/>',
            '      <stop offset="1" stop-color="#ff5014" stop-opacity="0"/>',
            '    </radialGradient>',
            '    <filter id="soft" x="-0.3" y="-1" width="1.6" height="3">',
            '      <feGaussianBlur stdDeviation="1.75"/>',
            '    </filter>',
            '    <clipPath id="frameInside"><rect width="64" height="64" rx="12"/></clipPath>']
    squares = []
    for j, row in enumerate(board):
        for i, what in enumerate(row):
            x, y = off + i * (CELL + gap), off + j * (CELL + gap)
            tid = "square%d%d" % (i, j)
            defs.append('    <clipPath id="%s"><rect x="%s" y="%s" width="%s" height="%s" rx="2"/></clipPath>'
                        % (tid, n(x), n(y), n(CELL), n(CELL)))
            cx, cy = x + CELL / 2, y + CELL / 2
            if what == "covered":
                squares += [wood_square(x, y, tid), flower(cx, cy)]
            elif what == "flag":
                squares += [wood_square(x, y, tid), flag(cx, cy)]
            else:
                colour, outline = {1: ("#2850c8", "#101e5a"), 2: ("#2a962e", "#0e3c12")}[what]
                squares += [sand_square(x, y, tid), digit(cx, cy, what, colour, outline)]
    defs.append('  </defs>')
    body = ("\n".join(defs) + "\n" + frame((40, 12, 8), (150, 52, 20), (70, 22, 12)) +
            "\n".join(squares) + "\n" +
            '  <g clip-path="url(#frameInside)">\n' + bomb() + "\n  </g>\n")
    return document(64, body, "Hotfield")


# ------------------------------------------------------------ symbolic ---

def annulus_arc(cx, cy, r_out, r_in, a0, a1):
    """A filled band between two circles from angle a0 to a1 (degrees,
    clockwise on screen), as a closed path."""
    def p(r, a):
        return cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))
    large = 1 if a1 - a0 > 180 else 0
    (x0, y0), (x1, y1) = p(r_out, a0), p(r_out, a1)
    (x2, y2), (x3, y3) = p(r_in, a1), p(r_in, a0)
    return ("M%s %sA%s %s 0 %d 1 %s %sL%s %sA%s %s 0 %d 0 %s %sZ"
            % (n(x0), n(y0), n(r_out), n(r_out), large, n(x1), n(y1), n(x2), n(y2),
               n(r_in), n(r_in), large, n(x3), n(y3)))


def swapster_symbolic():
    """Four pieces around a round swap badge: the pieces are cut by a circle
    left clear around the badge, whose two arrows chase each other."""
    c, cut = 8, 5.3
    k = c - math.sqrt(cut * cut - 1)    # where the cut meets the pieces' inner edges
    pieces = ("M1 2.5A1.5 1.5 0 0 1 2.5 1H7V{k}A{r} {r} 0 0 0 {k} 7H1Z "
              "M9 1H13.5A1.5 1.5 0 0 1 15 2.5V7H{K}A{r} {r} 0 0 0 9 {k}Z "
              "M1 9H{k}A{r} {r} 0 0 0 7 {K}V15H2.5A1.5 1.5 0 0 1 1 13.5Z "
              "M{K} 9H15V13.5A1.5 1.5 0 0 1 13.5 15H9V{K}A{r} {r} 0 0 0 {K} 9Z"
              ).format(k=n(k), K=n(16 - k), r=n(cut))
    arrows = []
    for a0 in (195, 15):
        a1 = a0 + 105
        arrows.append(annulus_arc(c, c, 4.2, 2.5, a0, a1))
        a = math.radians(a1)
        hx, hy = c + 3.35 * math.cos(a), c + 3.35 * math.sin(a)
        tx, ty = -math.sin(a), math.cos(a)
        nx, ny = math.cos(a), math.sin(a)
        arrows.append("M%s %sL%s %sL%s %sZ" % (n(hx + tx * 2.6), n(hy + ty * 2.6),
                                                n(hx + nx * 2.3), n(hy + ny * 2.3),
                                                n(hx - nx * 2.3), n(hy - ny * 2.3)))
    body = ('  <path d="%s" fill="%s"/>\n  <path d="%s" fill="%s"/>\n'
            % (pieces, SYMBOLIC, " ".join(arrows), SYMBOLIC))
    return document(16, body, "Swapster")


def hotfield_symbolic():
    """The round bomb with its cap and a spark at the end of the fuse; a
    highlight is cut out of the ball."""
    bomb_body = ("M6.5 4A5.5 5.5 0 1 0 6.5 15A5.5 5.5 0 1 0 6.5 4Z "
                 "M3.2 8.2A3.2 3.2 0 0 1 5.6 6.1A0.8 0.8 0 0 1 5.9 7.6A1.7 1.7 0 0 0 4.7 8.6"
                 "A0.8 0.8 0 0 1 3.2 8.2Z")
    cap = "M9.2 4.4L10.8 2.8L13.2 5.2L11.6 6.8Z"
    fuse = "M11.9 3.1C12.3 2 13 1.5 14.1 1.6L14 2.6C13.4 2.55 13.1 2.9 12.9 3.5Z"
    spark = ("M14.5 0L14.9 1.1L16 1.5L14.9 1.9L14.5 3L14.1 1.9L13 1.5L14.1 1.1Z")
    body = "".join('  <path d="%s" fill="%s"%s/>\n'
                   % (d, SYMBOLIC, ' fill-rule="evenodd"' if d is bomb_body else "")
                   for d in (bomb_body, cap, fuse, spark))
    return document(16, body, "Hotfield")


def main(root):
    out = {
        os.path.join("scalable", SWAPSTER + ".svg"): swapster_svg(),
        os.path.join("scalable", HOTFIELD + ".svg"): hotfield_svg(),
        os.path.join("symbolic", SWAPSTER + "-symbolic.svg"): swapster_symbolic(),
        os.path.join("symbolic", HOTFIELD + "-symbolic.svg"): hotfield_symbolic(),
    }
    for name, text in out.items():
        path = os.path.join(root, "desktop", "icons", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")

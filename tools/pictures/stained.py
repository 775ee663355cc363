#!/usr/bin/python3
"""Built-in puzzle picture stained.bkg, "Colorful Stained Glass Window": a
leaded window filling the whole picture.  A jewelled border runs round a
pointed arch; inside it a sun rises over violet mountains and a lake, in a
sky of radiating panes, between a spring tree and an autumn tree, with
irises and lilies along the bottom and a bluebird in flight.  Spandrels of
deep blue with roundels fill the corners above the arch.

The window is first drawn as a map of shapes, each with its glass colour
and a rule for cutting it into panes; the panes are then cut, leaded,
given streaky glass and lit from behind."""
import math
import sys

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageOps

import paintkit as pk
import picturelib as pl

W, H, S = 1024, 768, 2
SUN = (512, 468, 88)
BORDER = 38
POINTED = 0.58
AX0, AX1 = BORDER + 22, W - BORDER - 22
# the arch springs low enough for its point to stand just under the border
SPRING = BORDER + 14 + (AX1 - AX0) * 0.5 - pl.arch_apex(AX0, AX1, 0.0, POINTED) - (AX1 - AX0) * 0.5

RUBY = (196, 22, 44)
COBALT = (30, 62, 196)
AMBER = (240, 156, 28)
EMERALD = (22, 150, 72)
VIOLET = (122, 52, 176)
GOLD = (250, 208, 60)
OPAL = (236, 232, 214)
TURQ = (30, 170, 184)
ROSE = (232, 108, 150)


class Design:
    """The shape map: an integer image of shape ids and, for each id, its
    glass colour and how it is cut: 'whole' (one pane), 'fine' or
    'coarse' (cut again into irregular panes)."""

    def __init__(self):
        self.img = Image.new("I", (W * S, H * S), 0)
        self.d = ImageDraw.Draw(self.img)
        self.colours = [(20, 20, 20)]
        self.modes = ["whole"]

    def new(self, colour, mode):
        self.colours.append(tuple(colour))
        self.modes.append(mode)
        return len(self.colours) - 1

    def poly(self, pts, colour, mode="whole"):
        i = self.new(colour, mode)
        self.d.polygon([(x * S, y * S) for (x, y) in pts], fill=i)
        return i

    def ellipse(self, x0, y0, x1, y1, colour, mode="whole"):
        i = self.new(colour, mode)
        self.d.ellipse([x0 * S, y0 * S, x1 * S, y1 * S], fill=i)
        return i

    def circle(self, x, y, r, colour, mode="whole"):
        return self.ellipse(x - r, y - r, x + r, y + r, colour, mode)

    def line(self, pts, colour, width, mode="whole"):
        i = self.new(colour, mode)
        self.d.line([(x * S, y * S) for (x, y) in pts], fill=i, width=int(width * S), joint="curve")
        for (x, y) in (pts[0], pts[-1]):
            r = width * S / 2
            self.d.ellipse([x * S - r, y * S - r, x * S + r, y * S + r], fill=i)
        return i


def arch_pts(inset=0):
    return pl.gothic_arch(AX0 + inset, AX1 - inset, SPRING + inset * 0.3, H - BORDER, pointed=POINTED,
                          steps=48)


def leaf(dz, rng, x, y, ln, ang, colour):
    ca, sa = math.cos(ang), math.sin(ang)
    pts = []
    for k in range(13):
        t = k / 12 * math.pi
        u = -math.cos(t) * ln / 2
        v = math.sin(t) * ln * 0.22
        pts.append((x + u * ca - v * sa, y + u * sa + v * ca))
    for k in range(1, 12):
        t = (12 - k) / 12 * math.pi
        u = -math.cos(t) * ln / 2
        v = -math.sin(t) * ln * 0.22
        pts.append((x + u * ca - v * sa, y + u * sa + v * ca))
    dz.poly(pts, colour)


def tree(dz, rng, root_x, lean, greens, side):
    """A trunk rising from the bottom, branches spreading under the arch
    and a crown of separate leaves."""
    bark = (120, 76, 40)
    trunk = pk.bezier((root_x - 30, H - BORDER), (root_x - 10 + lean * 0.3, 560), (root_x + lean, 420),
                      (root_x + lean * 1.2, 330), 20)
    right = pk.bezier((root_x + lean * 1.2 + 22, 330), (root_x + lean + 26, 420), (root_x + 20 + lean * 0.3, 560),
                      (root_x + 40, H - BORDER), 20)
    dz.poly(trunk + right, bark, "coarse")
    tips = []
    for k in range(7):
        a = -math.pi / 2 + (k - 3) * 0.42 + side * 0.2
        ln = rng.uniform(120, 200)
        x0, y0 = root_x + lean * 1.1 + 11, 360 + k * 6
        x1 = x0 + math.cos(a) * ln
        y1 = y0 + math.sin(a) * ln * 0.85
        mid = ((x0 + x1) / 2 + rng.uniform(-20, 20), (y0 + y1) / 2 + rng.uniform(-10, 20))
        dz.line(pk.bezier((x0, y0), mid, (x1, y1), n=10), pl.shade(bark, rng.uniform(0.85, 1.1)),
                rng.uniform(7, 12))
        tips.append((x1, y1))
    cx = root_x + lean * 1.1
    for _ in range(300):
        a = rng.uniform(0, 2 * math.pi)
        rr = math.sqrt(rng.uniform(0, 1))
        x = cx + math.cos(a) * rr * 190
        y = 230 + math.sin(a) * rr * 150
        ln = rng.uniform(20, 36)
        col = pl.jitter(greens[int(rng.integers(len(greens)))], rng, 0.1)
        leaf(dz, rng, x, y, ln, rng.uniform(0, math.pi), col)


def iris(dz, rng, x, base, h, colour):
    for s in (-1, 1):
        a = s * rng.uniform(0.1, 0.35)
        dz.poly([(x - 5, base), (x + math.sin(a) * h * 0.9, base - h * 0.9), (x + 5, base)],
                pl.jitter((40, 140, 60), rng, 0.1))
    dz.line([(x, base), (x + rng.uniform(-4, 4), base - h)], (40, 120, 50), 4)
    fx, fy = x, base - h
    for k, a in enumerate((-2.4, -0.74, -1.57)):
        px, py = fx + math.cos(a) * 16, fy + math.sin(a) * 16
        dz.ellipse(px - 9, py - 13, px + 9, py + 13, pl.shade(colour, 1.15 if k == 2 else 1.0))
    for a in (2.4, 0.74):
        px, py = fx + math.cos(a) * 14, fy + math.sin(a) * 12
        dz.ellipse(px - 10, py - 8, px + 10, py + 8, pl.shade(colour, 0.8))
    dz.circle(fx, fy, 5, GOLD)


def lily(dz, x, y, r, colour):
    for k in range(7):
        a = -math.pi + k * math.pi / 6
        tip = (x + math.cos(a) * r, y + math.sin(a) * r * 0.8)
        side = (-math.sin(a) * r * 0.28, math.cos(a) * r * 0.28)
        dz.poly([(x + side[0], y + side[1] * 0.5), tip, (x - side[0], y - side[1] * 0.5),
                 (x, y + r * 0.1)], pl.shade(colour, 0.9 + 0.05 * (k % 3)))
    dz.circle(x, y - r * 0.1, r * 0.2, GOLD)


def design(rng):
    dz = Design()
    # the border: jewel squares between opal fillets
    dz.poly([(0, 0), (W, 0), (W, H), (0, H)], COBALT, "coarse")
    cols = [RUBY, AMBER, EMERALD, VIOLET, TURQ, GOLD, ROSE]
    k = 0
    step = 48
    def tile(x0, y0, x1, y1):
        nonlocal k
        col = cols[k % len(cols)]
        dz.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], col)
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        r = min(x1 - x0, y1 - y0) * 0.3
        if k % 2 == 0:
            dz.circle(cx, cy, r, cols[(k + 3) % len(cols)])
        else:
            dz.poly([(cx, cy - r * 1.2), (cx + r * 1.2, cy), (cx, cy + r * 1.2), (cx - r * 1.2, cy)],
                    cols[(k + 2) % len(cols)])
        k += 1
    n = int(W / step)
    wstep = W / n
    for i in range(n):
        tile(i * wstep, 0, (i + 1) * wstep, BORDER)
    m = int((H - 2 * BORDER) / step)
    hstep = (H - 2 * BORDER) / m
    for j in range(m):
        tile(W - BORDER, BORDER + j * hstep, W, BORDER + (j + 1) * hstep)
    for i in range(n - 1, -1, -1):
        tile(i * wstep, H - BORDER, (i + 1) * wstep, H)
    for j in range(m - 1, -1, -1):
        tile(0, BORDER + j * hstep, BORDER, BORDER + (j + 1) * hstep)
    # spandrels: deep blue cut fine, with roundels and leaves
    inner = [(BORDER, BORDER), (W - BORDER, BORDER), (W - BORDER, H - BORDER), (BORDER, H - BORDER)]
    dz.poly(inner, (34, 44, 140), "fine")
    for (x, y, r) in ((112, 112, 46), (912, 112, 46), (70, 262, 22), (954, 262, 22), (236, 64, 18),
                      (788, 64, 18), (64, 360, 12), (960, 360, 12), (320, 52, 10), (704, 52, 10)):
        dz.circle(x, y, r + 8, GOLD)
        dz.circle(x, y, r, RUBY if x < W / 2 else EMERALD)
        for q in range(8):
            a = q * math.pi / 4
            dz.circle(x + math.cos(a) * r * 0.6, y + math.sin(a) * r * 0.6, r * 0.22, OPAL)
        dz.circle(x, y, r * 0.3, AMBER)
    # an opal fillet round the arch, then the sky inside it
    ap = arch_pts()
    dz.poly(ap, OPAL)
    inset = arch_pts(12)
    dz.poly(inset, (60, 80, 200))
    frame = dz.img.copy()
    # the sky: rays from the sun cut by wavering rings
    sky_mask = Image.new("L", dz.img.size, 0)
    ImageDraw.Draw(sky_mask).polygon([(x * S, y * S) for (x, y) in inset], fill=255)
    sx, sy, sr = SUN
    ring_cols = [(255, 236, 130), (252, 196, 70), (246, 150, 60), (236, 100, 110), (190, 80, 170),
                 (120, 80, 200), (70, 80, 210), (40, 60, 180)]
    radii = [sr + 40, sr + 100, sr + 170, sr + 250, sr + 340, sr + 440, sr + 560, 2000]
    nsec = 30
    for ri in range(len(radii) - 1, -1, -1):
        for si in range(nsec):
            a0 = si * 2 * math.pi / nsec + ri * 0.05
            a1 = a0 + 2 * math.pi / nsec
            r = radii[ri]
            pts = [(sx, sy)]
            for t in np.linspace(a0, a1, 8):
                rr = r * (1 + 0.06 * math.sin(t * 5 + ri)) if ri < len(radii) - 1 else r
                pts.append((sx + math.cos(t) * rr, sy + math.sin(t) * rr))
            col = pl.shade(ring_cols[ri], 1.08 if si % 2 else 0.92)
            i = dz.new(col, "whole")
            m = Image.new("L", dz.img.size, 0)
            ImageDraw.Draw(m).polygon([(x * S, y * S) for (x, y) in pts], fill=255)
            m = ImageChops.multiply(m, sky_mask)
            dz.img.paste(i, (0, 0), m)
    # clouds drifting across the rays
    for (x, y, w) in ((330, 150, 120), (700, 120, 150), (560, 250, 90), (250, 300, 80), (820, 300, 100)):
        for (dx, dy, r) in ((-0.4, 0.1, 0.25), (-0.1, -0.1, 0.33), (0.25, -0.05, 0.3), (0.45, 0.12, 0.2)):
            dz.circle(x + dx * w, y + dy * w, r * w, pl.jitter((226, 230, 246), rng, 0.04))
        dz.ellipse(x - 0.55 * w, y, x + 0.6 * w, y + 0.3 * w, (200, 206, 236))
    # the sun
    dz.circle(sx, sy, sr + 14, (255, 220, 90))
    dz.circle(sx, sy, sr, (255, 246, 170))
    for q in range(12):
        a = q * math.pi / 6
        dz.poly([(sx, sy), (sx + math.cos(a) * sr * 0.7, sy + math.sin(a) * sr * 0.7),
                 (sx + math.cos(a + 0.52) * sr * 0.7, sy + math.sin(a + 0.52) * sr * 0.7)],
                (255, 236, 120) if q % 2 else (255, 250, 200))
    dz.circle(sx, sy, sr * 0.3, (255, 255, 226))
    # mountains, far then near
    far = [(60, 560), (150, 430), (230, 470), (330, 380), (420, 470), (470, 520), (560, 540), (640, 450),
           (730, 380), (820, 440), (900, 400), (970, 470), (970, 560)]
    dz.poly(far, (150, 110, 200), "coarse")
    for (px, py) in ((330, 380), (730, 380), (900, 400), (150, 430)):
        dz.poly([(px, py), (px + 28, py + 30), (px + 10, py + 24), (px, py + 40), (px - 12, py + 22),
                 (px - 26, py + 30)], OPAL)
    near = [(60, 600), (140, 500), (230, 540), (300, 480), (400, 560), (480, 590), (560, 590), (640, 560),
            (700, 500), (790, 545), (880, 490), (970, 540), (970, 600)]
    dz.poly(near, (90, 70, 160), "coarse")
    # the lake in bands, with the sun's path of gold across it
    for k in range(6):
        y0 = 590 + k * 14
        pts = [(60, y0)] + [(x, y0 + 4 * math.sin(x / 40.0 + k)) for x in range(60, 980, 20)] + \
              [(970, y0 + 30), (60, y0 + 30)]
        dz.poly(pts, pl.mix((80, 150, 230), (30, 60, 170), k / 5), "coarse")
    for k in range(7):
        y = 598 + k * 11
        w = 60 - k * 5
        dz.ellipse(sx - w, y - 3, sx + w, y + 4, pl.shade(GOLD, 1.0 - k * 0.03))
    # the ground and its flowers
    gpts = [(60, 690)] + [(x, 680 + 10 * math.sin(x / 70.0)) for x in range(60, 980, 20)] + \
        [(970, H - BORDER), (60, H - BORDER)]
    dz.poly(gpts, (70, 130, 50), "fine")
    tree(dz, rng, 150, 30, [(60, 170, 60), (110, 200, 60), (40, 140, 80), (180, 220, 80), (30, 120, 60)], -1)
    tree(dz, rng, 860, -30, [(220, 60, 30), (240, 140, 30), (250, 200, 50), (180, 40, 40), (200, 100, 40)], 1)
    for (x, h, col) in ((300, 70, VIOLET), (340, 90, (90, 60, 200)), (380, 66, VIOLET), (640, 72, (90, 60, 200)),
                        (690, 92, VIOLET), (735, 64, (150, 70, 200)), (260, 56, (150, 70, 200))):
        iris(dz, rng, x, H - BORDER - 6, h, col)
    for (x, y, r, col) in ((450, 706, 24, OPAL), (520, 716, 28, ROSE), (590, 704, 22, OPAL)):
        dz.ellipse(x - r * 1.6, y - r * 0.1, x + r * 1.6, y + r * 0.8, (40, 130, 60))
        lily(dz, x, y, r, col)
    # a bluebird flying over the lake and a butterfly
    bx, by = 640, 330
    dz.poly([(bx - 40, by), (bx - 10, by - 14), (bx + 30, by - 6), (bx + 44, by - 14), (bx + 40, by + 2),
             (bx + 10, by + 12), (bx - 30, by + 8)], COBALT)
    dz.poly([(bx - 36, by + 4), (bx - 8, by + 2), (bx + 8, by + 12), (bx - 26, by + 10)], AMBER)
    dz.poly([(bx - 10, by - 10), (bx + 4, by - 64), (bx + 30, by - 80), (bx + 20, by - 40), (bx + 12, by - 8)],
            (70, 120, 230))
    dz.poly([(bx - 6, by - 8), (bx - 30, by - 54), (bx - 14, by - 60), (bx + 6, by - 12)], (50, 90, 210))
    dz.circle(bx - 42, by - 6, 12, COBALT)
    dz.poly([(bx - 54, by - 8), (bx - 68, by - 4), (bx - 54, by - 2)], GOLD)
    dz.circle(bx - 44, by - 9, 3, OPAL)
    ux, uy = 420, 620
    for s in (-1, 1):
        dz.ellipse(ux + s * 22 - 16, uy - 22, ux + s * 22 + 16, uy + 4, ROSE)
        dz.ellipse(ux + s * 16 - 10, uy, ux + s * 16 + 10, uy + 18, AMBER)
    dz.line([(ux, uy - 16), (ux, uy + 16)], (40, 30, 30), 5)
    # the picture stays inside the arch; the frame round it is put back
    dz.img.paste(frame, (0, 0), ImageOps.invert(sky_mask))
    return dz


def make(path):
    rng = np.random.default_rng(6006)
    dz = design(rng)
    shapes = np.asarray(dz.img, np.int64)
    Hc, Wc = shapes.shape
    # cut the panes
    fine, _, _ = pk.cell_map(Wc, Hc, 30 * S, rng, 0.9)
    coarse, _, _ = pk.cell_map(Wc, Hc, 52 * S, rng, 0.9)
    mode = np.array([{"whole": 0, "fine": 1, "coarse": 2}[m] for m in dz.modes])
    pm = mode[shapes]
    sub = np.where(pm == 1, fine, np.where(pm == 2, coarse, 0)).astype(np.int64)
    panes = shapes * 100000 + sub
    uniq, inv = np.unique(panes, return_inverse=True)
    inv = inv.reshape(panes.shape)
    npanes = len(uniq)
    # each pane a slightly different batch of glass
    palette = np.array(dz.colours, np.float32)
    base = palette[shapes]
    val = rng.uniform(0.84, 1.14, npanes).astype(np.float32)
    tint = rng.uniform(-14, 14, (npanes, 3)).astype(np.float32)
    glass = base * val[inv][:, :, None] + tint[inv]
    # streaks in the glass, running one of two ways pane by pane
    st1 = pl.fbm(Wc // 10 + 1, Hc, 4 * S, rng, 3)
    st1 = np.asarray(Image.fromarray(st1, "F").resize((Wc, Hc), Image.BICUBIC), np.float32)
    st2 = pl.fbm(Wc, Hc // 10 + 1, 4 * S, rng, 3)
    st2 = np.asarray(Image.fromarray(st2, "F").resize((Wc, Hc), Image.BICUBIC), np.float32)
    way = (rng.random(npanes) < 0.5)[inv]
    streak = np.where(way, st1, st2)
    mott = pl.fbm(Wc, Hc, 14 * S, rng, 4)
    glass *= (0.84 + 0.2 * streak + 0.14 * mott)[:, :, None]
    # lead between the panes
    lead = pk.edges_of(panes, 7)
    leadf = lead.astype(np.float32)
    lim = Image.fromarray((leadf * 255).astype(np.uint8), "L")
    near_lead = np.asarray(lim.filter(ImageFilter.GaussianBlur(5 * S)), np.float32) / 255.0
    glass *= (1 - 0.45 * near_lead)[:, :, None]
    # light from behind: strongest round the sun, fading to the edges
    yy, xx = np.mgrid[0:Hc, 0:Wc].astype(np.float32)
    d = np.sqrt((xx / S - SUN[0]) ** 2 + (yy / S - SUN[1]) ** 2)
    light = 0.72 + 0.5 * np.exp(-d / 260) + 0.12 * np.exp(-((xx / S - 512) ** 2 + (yy / S - 300) ** 2) / 400 ** 2)
    glass *= light[:, :, None]
    # seeds: tiny bubbles in the glass catch the light
    seeds = rng.random((Hc, Wc)) < 0.0009
    glass = np.where(seeds[:, :, None], glass * 1.35 + 30, glass)
    # the came itself: dark, a dull shine along its middle
    ridge = np.asarray(lim.filter(ImageFilter.GaussianBlur(1.2 * S)), np.float32) / 255.0
    came = 26 + 52 * ridge ** 2
    came_col = np.stack([came * 1.0, came * 1.0, came * 1.06], axis=2)
    arr = np.where(lead[:, :, None], came_col, glass)
    # iron saddle bars across the window
    for y in (196, 392, 588):
        ys, ye = int((y - 3) * S), int((y + 3) * S)
        prof = np.linspace(-1, 1, ye - ys, dtype=np.float32)[:, None]
        arr[ys:ye] = (30 + 40 * (1 - prof ** 2))[:, :, None] * np.array([1, 1, 1.05], np.float32)
    # a bloom of light spilling from the brightest glass
    c = pl.Canvas(W, H, S)
    c.set_array(arr)
    bright = np.clip(arr - 200, 0, 255)
    bl = Image.fromarray(pl.clamp8(bright), "RGB").filter(ImageFilter.GaussianBlur(14 * S))
    arr = arr + np.asarray(bl, np.float32) * 0.9
    c.set_array(arr)
    pk.vignette(c, 0.22, 2.2)
    return pk.finish(c, path, 30)


if __name__ == "__main__":
    make((sys.argv[1] if len(sys.argv) > 1 else "data") + "/stained.bkg")

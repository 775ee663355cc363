#!/usr/bin/python3
"""The mine field's default background, PLANET_R.BKG: a red desert planet
at sundown, with two moons over mesas and a cratered plain.  Revealed a
square at a time under the cleared field, so every part of it carries some
detail.  1024 x 768 JPEG data.

Usage: planet.py DATA_DIR
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import picturelib as pl

W, H = 1024, 768
S = 2
WS, HS = W * S, H * S
HORIZON = 0.56           # of the height


def line_noise(n, cell, rng, octaves=5):
    """1-D fractal noise 0..1 of length n."""
    return pl.fbm(n, 8, cell, rng, octaves)[4]


def smooth(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def ramp(v, stops):
    out = np.empty(v.shape + (3,), np.float32)
    xs = [s[0] for s in stops]
    for ch in range(3):
        out[..., ch] = np.interp(v, xs, [s[1][ch] for s in stops])
    return out


def sky(rng, yy, xx):
    hz = HORIZON * HS
    t = np.clip(yy / hz, 0, 1.2)
    a = ramp(t, [(0.0, (6, 4, 20)), (0.35, (24, 10, 44)), (0.62, (76, 24, 62)),
                 (0.82, (170, 70, 70)), (0.95, (236, 138, 84)), (1.05, (250, 186, 120)),
                 (1.2, (250, 186, 120))])
    # the glow of the setting sun on the left
    sx, sy = 190 * S, hz - 44 * S
    d = np.sqrt(((xx - sx) / 1.6) ** 2 + (yy - sy) ** 2) / (HS * 0.5)
    a += (np.exp(-d * 2.2) * 150)[..., None] * np.array([1.0, 0.62, 0.32], np.float32)
    # thin dust bands
    band = pl.fbm(WS, HS, 120 * S, rng, 4)
    streak = np.clip(np.sin((yy / hz) * 34 + band * 9) * 0.5 + 0.5, 0, 1) ** 6
    a += (streak * smooth(0.45, 0.9, t) * 26)[..., None] * np.array([1.0, 0.55, 0.45], np.float32)
    # a faint band of the galaxy across the upper sky
    gal = np.exp(-(((yy - (xx * 0.28 + 40 * S)) / (90 * S)) ** 2))
    neb = pl.fbm(WS, HS, 60 * S, rng, 5)
    a += (gal * np.clip(neb - 0.35, 0, 1) * (1 - smooth(0.3, 0.7, t)) * 70)[..., None] * \
        np.array([0.7, 0.55, 1.0], np.float32)
    return a


def stars(img, rng):
    d = ImageDraw.Draw(img)
    hz = HORIZON * H
    for _ in range(1400):
        x = rng.uniform(0, W)
        y = rng.uniform(0, hz) * rng.uniform(0.3, 1.0) ** 0.4 * 0.96
        fade = max(0.0, 1.0 - (y / (hz * 0.8)) ** 3)
        b = rng.random() ** 3 * fade
        if b < 0.03:
            continue
        col = [(255, 255, 255), (200, 220, 255), (255, 230, 190), (255, 200, 170)][rng.integers(0, 4)]
        c = tuple(int(v * (0.35 + 0.65 * b)) for v in col)
        r = (0.35 + 1.1 * b) * S
        d.ellipse([x * S - r, y * S - r, x * S + r, y * S + r], fill=c)
        if b > 0.7:
            L = 5 * S * b
            d.line([x * S - L, y * S, x * S + L, y * S], fill=c, width=1)
            d.line([x * S, y * S - L, x * S, y * S + L], fill=c, width=1)


def moon(a, rng, cx, cy, r, base, sun=(-0.85, 0.25, 0.45), craters=40, glow=(90, 60, 70)):
    cx, cy, r = cx * S, cy * S, r * S
    x0, x1 = int(cx - r * 3), int(cx + r * 3)
    y0, y1 = int(cy - r * 3), int(cy + r * 3)
    x0, y0 = max(0, x0), max(0, y0)
    yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float32)
    dx, dy = (xx - cx) / r, (yy - cy) / r
    d2 = dx * dx + dy * dy
    inside = np.clip((1 - np.sqrt(d2)) * r, 0, 1)
    z = np.sqrt(np.clip(1 - d2, 0, 1))
    L = np.array(sun, np.float32)
    L /= np.linalg.norm(L)
    lam = np.clip(dx * L[0] + dy * L[1] + z * L[2], 0, 1)
    h, w = yy.shape
    surf = pl.fbm(w, h, r * 0.5, rng, 5)
    col = np.array(base, np.float32) * (0.7 + 0.45 * surf)[..., None]
    # maria and craters
    mare = np.clip((pl.fbm(w, h, r * 0.9, rng, 3) - 0.55) * 4, 0, 1)
    col *= (1 - 0.28 * mare)[..., None]
    for _ in range(craters):
        u, v = rng.uniform(-0.9, 0.9, 2)
        if u * u + v * v > 0.8:
            continue
        cr = rng.uniform(0.04, 0.16) * r
        px, py = cx + u * r, cy + v * r
        dd = np.sqrt((xx - px) ** 2 + (yy - py) ** 2) / cr
        bowl = np.clip(1 - dd, 0, 1)
        rim = np.exp(-((dd - 1.0) / 0.18) ** 2)
        side = ((xx - px) * L[0] + (yy - py) * L[1]) / cr
        col *= (1 - 0.35 * bowl * np.clip(-side + 0.3, 0, 1) + 0.25 * rim * 0.6)[..., None]
    lit = col * (0.04 + 1.0 * lam)[..., None] + np.array([14, 10, 22], np.float32)
    # soft halo round the moon
    halo = np.exp(-np.clip(np.sqrt(d2) - 1, 0, None) * 3.5) * (1 - inside)
    region = a[y0:y1, x0:x1]
    region += halo[..., None] * np.array(glow, np.float32) * 0.5
    region[:] = region * (1 - inside[..., None]) + lit * inside[..., None]


def ridge(rng, base, amp, cell, octaves=5, mesa=False):
    """Skyline of one layer: y (working pixels) for every column."""
    n = line_noise(WS, cell * S, rng, octaves)
    if mesa:
        m = line_noise(WS, cell * 2.2 * S, rng, 3)
        plateau = smooth(0.48, 0.56, m) * 0.75 + smooth(0.66, 0.72, m) * 0.35
        fine = line_noise(n.size, 7 * S, rng, 3)
        return (base - amp * (plateau + 0.12 * n) - 3 * fine) * S
    return (base - amp * n) * S


def layer(a, rng, top, lo, hi, haze_col, haze, strata=0.0, yy=None, xx=None, tex=40):
    """Fills everything below the skyline `top` with a textured rock colour,
    veiled by haze."""
    m = np.clip(yy - top[None, :], 0, 1.5) / 1.5
    t = pl.fbm(WS, HS, tex * S, rng, 5)
    col = pl.lerp(np.array(lo, np.float32), np.array(hi, np.float32), t[..., None])
    depth = np.clip((yy - top[None, :]) / (60 * S), 0, 1)
    col *= (1.08 - 0.25 * depth)[..., None]
    if strata:
        warp = pl.fbm(WS, HS, 90 * S, rng, 3)
        bands = np.sin(yy / (5.5 * S) + warp * 12) * 0.5 + 0.5
        col *= (1 - strata * (bands ** 3))[..., None]
    col = col * (1 - haze) + np.array(haze_col, np.float32) * haze
    a[:] = a * (1 - m[..., None]) + col * m[..., None]


class Lattice:
    """Value noise at any point: smooth interpolation of random values on
    the integer lattice."""

    def __init__(self, rng, size=256):
        self.size = size
        self.v = rng.random((size, size)).astype(np.float32)

    def at(self, u, v):
        iu, iv = np.floor(u), np.floor(v)
        fu, fv = u - iu, v - iv
        fu = fu * fu * (3 - 2 * fu)
        fv = fv * fv * (3 - 2 * fv)
        n = self.size
        i0 = iu.astype(np.int64) % n
        j0 = iv.astype(np.int64) % n
        i1, j1 = (i0 + 1) % n, (j0 + 1) % n
        a = self.v[j0, i0] + (self.v[j0, i1] - self.v[j0, i0]) * fu
        b = self.v[j1, i0] + (self.v[j1, i1] - self.v[j1, i0]) * fu
        return a + (b - a) * fv

    def fbm(self, u, v, octaves=5):
        total = np.zeros_like(u)
        amp, norm, f = 1.0, 0.0, 1.0
        for k in range(octaves):
            total += amp * self.at(u * f + k * 17.3, v * f + k * 7.1)
            norm += amp
            amp *= 0.5
            f *= 2.03
        return total / norm


def lit_from_left(mask, reach):
    """For a 0/1 layer mask: 1 near the edges that face left (toward the
    sun), falling to 0 `reach` working pixels inside."""
    c = np.cumsum(mask, axis=1)
    shifted = np.zeros_like(c)
    shifted[:, reach:] = c[:, :-reach]
    frac = (c - shifted) / reach            # share of the row to the left inside
    return np.clip(1 - frac, 0, 1) * mask


def make_planet(path):
    rng = np.random.default_rng(5150)
    yy, xx = np.mgrid[0:HS, 0:WS].astype(np.float32)
    a = sky(rng, yy, xx)
    starry = Image.new("RGB", (WS, HS), (0, 0, 0))
    stars(starry, rng)
    a += np.asarray(starry, np.float32)
    hz = HORIZON * H
    # the sun, low over the far hills
    sx, sy = 190 * S, (hz - 40) * S
    d = np.sqrt((xx - sx) ** 2 + (yy - sy) ** 2)
    a += (np.clip(1 - d / (16 * S), 0, 1) ** 0.5 * 255)[..., None] * np.array([1, 0.93, 0.8])
    a += (np.exp(-d / (38 * S)) * 120)[..., None] * np.array([1, 0.7, 0.4])
    moon(a, rng, 790, 150, 78, (214, 206, 214))
    moon(a, rng, 268, 92, 24, (228, 170, 128), craters=12, glow=(110, 70, 50))

    haze = np.array((236, 140, 96), np.float32)
    lat = Lattice(rng)
    sun_side = np.clip(1 - np.abs(xx - sx) / (WS * 0.55), 0, 1)

    # far range, pale with haze
    top = ridge(rng, hz + 8, 44, 70)
    layer(a, rng, top, (150, 70, 64), (186, 98, 80), haze, 0.55, yy=yy, xx=xx, tex=30)

    # mesas: dark against the sunset, their left faces and rims catching
    # the low sun, banded with strata
    top = ridge(rng, hz + 40, 132, 58, mesa=True)
    m = (yy >= top[None, :]).astype(np.float32)
    tex = lat.fbm(xx / (26 * S), yy / (26 * S))
    warp = lat.fbm(xx / (120 * S) + 40, yy / (120 * S))
    strata = np.sin(yy / (4.2 * S) + warp * 6) * 0.5 + 0.5
    strata2 = np.sin(yy / (11 * S) + warp * 3 + 1.0) * 0.5 + 0.5
    gully = lat.fbm(xx / (7 * S) + 70, yy / (60 * S), 4)
    grain = lat.fbm(xx / (2.5 * S) + 30, yy / (2.5 * S), 3)
    strata = np.abs(np.sin(yy / (4.2 * S) + warp * 3)) ** 0.5
    rock = ramp(0.3 * tex + 0.25 * strata + 0.15 * strata2 + 0.3 * grain - 0.7 * (gully - 0.5),
                [(0.0, (36, 10, 8)), (0.5, (92, 30, 20)), (1.0, (156, 62, 36))])
    face = lit_from_left(m, 30 * S) ** 1.2
    face = face * (0.6 + 0.4 * lat.fbm(xx / (10 * S), yy / (40 * S) + 9))
    rock += face[..., None] * np.array([150, 76, 30], np.float32)
    rim = np.clip(1 - (yy - top[None, :]) / (5 * S), 0, 1) * m
    rock += (rim * (0.5 + 0.5 * sun_side))[..., None] * np.array([150, 80, 40], np.float32)
    depth = np.clip((yy - top[None, :]) / (140 * S), 0, 1)
    rock = rock * (1 - 0.18 * depth)[..., None]
    rock = rock * 0.88 + haze * 0.12
    mm = np.clip(yy - top[None, :], 0, 1.5)[..., None] / 1.5
    a = a * (1 - mm) + rock * mm

    # the plain, seen in perspective: dunes and ripples that crowd together
    # toward the horizon
    yp = (hz + 38) * S
    edge = yp + (line_noise(WS, 40 * S, rng, 4) - 0.5) * 10 * S
    y0 = yp - 10 * S
    z = (HS - y0) / np.maximum(yy - y0, 1.0)           # 1 at the bottom, large far away
    u = (xx - WS / 2) / WS * z * 6.0
    v = z * 6.0
    dune = lat.fbm(u * 0.6, v * 0.9 + 3.0, 5)
    ripple = np.sin(v * 9.0 + lat.fbm(u * 1.4, v * 1.4, 3) * 7.0 + u * 0.8) * 0.5 + 0.5
    grit = lat.fbm(u * 12, v * 12, 3)
    fade = np.clip(1.0 / z, 0, 1)                      # 0 far, 1 near
    val = 0.55 * dune + 0.22 * ripple * (0.3 + 0.7 * fade) + 0.23 * (0.5 + (grit - 0.5) * fade)
    ground = ramp(val, [(0.0, (92, 28, 14)), (0.4, (150, 56, 28)), (0.7, (200, 96, 50)),
                        (1.0, (232, 146, 88))])
    # dune slopes facing the sun
    slope = np.gradient(dune, axis=1) * WS / 6.0
    ground *= (1 + np.clip(-slope * 0.6, -0.25, 0.25))[..., None]
    ground = ground * (0.86 + 0.2 * fade)[..., None]
    far = np.clip(1 - fade * 3.0, 0, 1)
    ground = ground * (1 - 0.45 * far)[..., None] + haze * (0.45 * far)[..., None]
    gm = np.clip((yy - edge[None, :]) / (1.5 * S), 0, 1)[..., None]
    a = a * (1 - gm) + ground * gm

    # craters and rocks on the plain, bigger as they come nearer
    craters(a, rng, hz + 50)
    rocks(a, rng, hz + 44)
    a += rng.normal(0, 2.0, a.shape).astype(np.float32)
    img = Image.fromarray(pl.clamp8(a), "RGB").resize((W, H), Image.LANCZOS)
    return pl.save_jpeg_bkg(img, path, quality=90)


LIGHT_DIR = np.array([-0.85, -0.1], np.float32)     # toward the sun, on the ground


def craters(a, rng, ytop):
    for _ in range(22):
        y = ytop + (H - ytop) * rng.random() ** 1.3
        k = (y - ytop) / (H - ytop)
        rx = (8 + 110 * k ** 1.2) * rng.uniform(0.5, 1.1)
        ry = rx * (0.16 + 0.3 * k)
        x = rng.uniform(-30, W + 30)
        x0, x1 = int(max(0, (x - rx * 1.6) * S)), int(min(WS, (x + rx * 1.6) * S))
        y0, y1 = int(max(0, (y - ry * 1.6) * S)), int(min(HS, (y + ry * 1.6) * S))
        if x1 <= x0 or y1 <= y0:
            continue
        yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float32)
        du, dv = (xx / S - x) / rx, (yy / S - y) / ry
        r = np.sqrt(du * du + dv * dv)
        h = -np.clip(1 - r * r, 0, 1) * 0.8 + np.exp(-((r - 1.0) / 0.2) ** 2) * 0.35
        gx = np.gradient(h, axis=1) * rx * S
        gy = np.gradient(h, axis=0) * ry * S
        s = -(gx * LIGHT_DIR[0] + gy * LIGHT_DIR[1])
        region = a[y0:y1, x0:x1]
        region *= (1 + np.clip(s * 0.5, -0.45, 0.3))[..., None]
        region *= (1 - 0.12 * np.clip(1 - r, 0, 1))[..., None]


def rocks(a, rng, ytop):
    for _ in range(300):
        y = ytop + (H - ytop) * rng.random() ** 0.9
        k = (y - ytop) / (H - ytop)
        r = (0.8 + 13 * k ** 1.8) * rng.uniform(0.35, 1.15)
        x = rng.uniform(0, W)
        x0, x1 = int(max(0, (x - r * 1.5) * S)), int(min(WS, (x + r * 4.0) * S))
        y0, y1 = int(max(0, (y - r * 1.2) * S)), int(min(HS, (y + r * 0.8) * S))
        if x1 <= x0 or y1 <= y0:
            continue
        yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float32)
        du, dv = (xx / S - x) / r, (yy / S - y) / (r * 0.62)
        ang = np.arctan2(dv, du)
        ph = rng.uniform(0, 6.3, 3)
        lobe = 1 + 0.18 * np.sin(ang * 2 + ph[0]) + 0.12 * np.sin(ang * 3 + ph[1]) \
            + 0.08 * np.sin(ang * 5 + ph[2])
        d = np.sqrt(du * du + dv * dv) / lobe
        inside = np.clip((1 - d) * r * S * 0.6, 0, 1) * (dv < 0.55)
        z = np.sqrt(np.clip(1 - d * d, 0, 1))
        lam = np.clip(-du * 0.8 - dv * 0.3 + z * 0.5, 0, 1)
        facet = np.floor((ang + ph[0]) / 1.1) % 2 * 0.12
        tone = np.array(pl.jitter((118, 44, 26), rng, 0.2), np.float32)
        col = tone * (0.3 + 1.05 * lam + facet)[..., None]
        # the shadow stretches away from the sun, to the right
        su, sv = (xx / S - x - r * 1.6) / (r * 2.4), (yy / S - y - r * 0.2) / (r * 0.4)
        sh = np.clip(1 - (su * su + sv * sv), 0, 1) ** 0.7 * 0.5
        region = a[y0:y1, x0:x1]
        region *= (1 - sh * (1 - inside))[..., None]
        region[:] = region * (1 - inside[..., None]) + col * inside[..., None]


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "data"
    make_planet(os.path.join(out, "PLANET_R.BKG"))

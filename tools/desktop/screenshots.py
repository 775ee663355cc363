#!/usr/bin/python3
"""The screenshots named in the AppStream metainfo, taken of the real games
on a private X server of 1280 x 720:

    desktop/screenshots/swapster.png   a 6 x 6 game of the cathedral, a good
                                       half of the pieces home
    desktop/screenshots/hotfield.png   a 16 x 12 field partly cleared by a
                                       few rounds of plain reasoning, bombs
                                       marked

The games are driven with xdotool as a player would: a click shows a
piece, whose picture is looked up among the pieces of the puzzle picture,
and a second click swaps it home; in the mine field each square is told
from the tile set's pictures.  The shuffle and the bombs are the game's own
random choices, so every run gives other pictures.

Usage: screenshots.py BUILD_FOLDER OUTPUT_FOLDER
Needs Xvfb, xdotool, xdpyinfo, ImageMagick's import, python3-pil and python3-numpy.
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image

W, H = 1280, 720


class Display:
    def __init__(self):
        r, w = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % (W, H), "-nolisten", "tcp"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        # The read end stays open while the server runs: closing it
        # leaves this server unreachable.
        self.displayfd = r
        number = os.read(r, 16).decode().strip()
        self.env = dict(os.environ, DISPLAY=":" + number, SDL_AUDIODRIVER="dummy")
        self.env.pop("QT_QPA_PLATFORM", None)
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0:
                break
            time.sleep(0.1)

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True).stdout

    def window(self, name, seconds=30):
        for _ in range(seconds * 10):
            found = self.run("xdotool", "search", "--onlyvisible", "--name", name).split()
            if found:
                return found[0]
            time.sleep(0.1)
        raise RuntimeError("no window " + name)

    def key(self, key):
        self.run("xdotool", "key", key)

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", str(button))

    def shot(self):
        for _ in range(20):
            data = subprocess.run(["import", "-window", "root", "-depth", "8", "png:-"],
                                  env=self.env, capture_output=True).stdout
            if data:
                return Image.open(io.BytesIO(data)).convert("RGB")
            time.sleep(0.2)
        raise RuntimeError("no screenshot")

    def close(self):
        self.server.terminate()
        self.server.wait()
        os.close(self.displayfd)


def save_screen(display, out, name):
    """Moves the pointer out of the way, lets the screen settle and keeps it."""
    display.run("xdotool", "mousemove", str(W - 40), str(H - 40))
    time.sleep(1.5)
    display.shot().save(os.path.join(out, name), optimize=True)


def start(display, program, data, folder):
    game = subprocess.Popen([program, data + "/"], cwd=folder, env=display.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    note = display.window("Critical Note")
    display.run("xdotool", "windowfocus", "--sync", note, "key", "Escape")
    time.sleep(1.5)
    display.click(W // 2, H // 2)
    time.sleep(0.3)
    display.key("n")
    time.sleep(2)
    return game


def stop(game):
    game.kill()
    game.wait()


def diff(a, b):
    return float(np.abs(np.asarray(a, np.float32) - np.asarray(b, np.float32)).mean())


# ------------------------------------------------------------ swapster ---

def swapster(display, build, out):
    n = 6
    rect = lambda i, j: (i * W // n, j * H // n, (i + 1) * W // n, (j + 1) * H // n)
    # the inner part of a cell, clear of the outline a selected piece gets
    inner = lambda r: (r[0] + 12, r[1] + 12, r[0] + 12 + (W // n - 24), r[1] + 12 + (H // n - 24))
    picture = Image.open(os.path.join(build, "cathedra.bkg")).convert("RGB").resize((W, H))
    pieces = {(i, j): picture.crop(inner(rect(i, j))) for i in range(n) for j in range(n)}
    folder = tempfile.mkdtemp()
    game = start(display, os.path.join(build, "SWAPST95"), build, folder)
    try:
        def home_now(screen):
            return {c for c, p in pieces.items() if diff(screen.crop(inner(rect(*c))), p) < 12}

        target = n * n * 3 // 5
        for _ in range(200):
            screen = display.shot()
            home = home_now(screen)
            if len(home) >= target:
                break
            a = next(c for c in sorted(pieces) if c not in home)
            r = rect(*a)
            display.click((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
            time.sleep(0.8)
            shown = display.shot().crop(inner(r))
            p = min(pieces, key=lambda c: diff(shown, pieces[c]))
            h = rect(*p)
            display.click((h[0] + h[2]) // 2, (h[1] + h[3]) // 2)
            time.sleep(1.2)
        save_screen(display, out, "swapster.png")
    finally:
        stop(game)
        shutil.rmtree(folder)


# ------------------------------------------------------------ hotfield ---

def hotfield(display, build, out):
    cols, rows = 16, 12
    sw, sh = W // cols, H // rows
    tiles = Image.open(os.path.join(build, "rosewood.hfd")).convert("RGB")
    # 0..7 = numbers 1..8, 8 = exploded, 9 = covered, 10 = marked
    refs = {t: tiles.crop((96 * t, 0, 96 * t + 96, 96)).resize((sw, sh), Image.NEAREST)
            for t in range(11)}
    folder = tempfile.mkdtemp()
    game = start(display, os.path.join(build, "HOTFIELD"), build, folder)

    def centre(c, r):
        return c * sw + sw // 2, r * sh + sh // 2

    def read():
        screen = display.shot()
        board = {}
        for r in range(rows):
            for c in range(cols):
                sq = screen.crop((c * sw, r * sh, c * sw + sw, r * sh + sh))
                t = min(refs, key=lambda k: diff(sq, refs[k]))
                board[c, r] = t if diff(sq, refs[t]) < 30 else -1   # -1: cleared, none around
        return board

    def around(c, r):
        return [(c + dc, r + dr) for dc in (-1, 0, 1) for dr in (-1, 0, 1)
                if (dc or dr) and 0 <= c + dc < cols and 0 <= r + dr < rows]

    try:
        # New games until the first click opens a good piece of the field.
        for _ in range(12):
            display.click(*centre(cols // 2, rows // 2))
            time.sleep(1.5)
            if sum(1 for t in read().values() if t != 9) >= 30:
                break
            display.key("n")
            time.sleep(1.5)
        for _ in range(6):
            board = read()
            moves = []
            for (c, r), t in board.items():
                if not 0 <= t <= 7:
                    continue
                near = around(c, r)
                covered = [q for q in near if board[q] == 9]
                bombs = sum(1 for q in near if board[q] in (8, 10))
                if covered and bombs + len(covered) == t + 1:
                    moves += [(q, 3) for q in covered]
                elif covered and bombs == t + 1:
                    moves += [(q, 1) for q in covered]
            if not moves:
                break
            done = set()
            for q, button in moves:
                if q in done:
                    continue
                done.add(q)
                display.click(*centre(*q), button=button)
                time.sleep(0.25)
            time.sleep(1.5)
        save_screen(display, out, "hotfield.png")
    finally:
        stop(game)
        shutil.rmtree(folder)


def main(build, out):
    os.makedirs(out, exist_ok=True)
    display = Display()
    try:
        swapster(display, build, out)
        hotfield(display, build, out)
    finally:
        display.close()


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))

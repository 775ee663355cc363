// Drawing the mine field: squares from the tile set, the explosion, the
// bouncing balls of a time bonus, the reveal after a won game and the brush
// that plays over the finished board.
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/random.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/board_hooks.h"

HBITMAP TileSetBitmap = nullptr;

constexpr int kTile = 96;

RECT SquareRect(int x, int y) {
  const int64_t w = Board->boardWidth, h = Board->boardHeight;
  RECT r;
  r.left = (LONG)(w * x / fieldColumns);
  r.top = (LONG)(h * y / fieldRows);
  r.right = (LONG)(w * (x + 1) / fieldColumns);
  r.bottom = (LONG)(h * (y + 1) / fieldRows);
  return r;
}

HBITMAP VisibleBackground() { return BackgroundIsTexture ? TiledBackgroundBitmap : BackgroundBitmap; }

// Copies a rectangle of the background to the same place on the board;
// black where there is no background.
static void CopyBackground(HDC dc, const RECT& r) {
  HBITMAP background = VisibleBackground();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  if (background)
    BlitBitmap(dc, background, r.left, r.top, w, h, r.left, r.top, w, h);
  else
    FillRectColor(dc, r.left, r.top, r.right, r.bottom, RGB(0, 0, 0));
}

void DrawFieldBackground(HDC dc) { CopyBackground(dc, RECT{0, 0, Board->boardWidth, Board->boardHeight}); }

// Without a tile set the squares are still told apart: plain colours and the
// count as a digit.
static void DrawPlainTile(HDC dc, const RECT& r, int tile) {
  static const COLORREF kNumberColours[8] = {RGB(60, 90, 200),  RGB(40, 140, 60), RGB(200, 50, 40),
                                             RGB(90, 40, 150),  RGB(140, 60, 30), RGB(30, 130, 140),
                                             RGB(20, 20, 20),   RGB(120, 120, 120)};
  COLORREF fill = tile == 9 ? RGB(150, 150, 160) : tile == 10 ? RGB(230, 180, 40) : tile == 8 ? RGB(0, 0, 0)
                                                                                              : RGB(225, 225, 215);
  FillRectColor(dc, r.left, r.top, r.right, r.bottom, RGB(60, 60, 70));
  FillRectColor(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, fill);
  if (tile == 8) {
    RECT disc = r;
    const int inset = (r.right - r.left) / 4;
    FillRectColor(dc, disc.left + inset, disc.top + inset, disc.right - inset, disc.bottom - inset, RGB(220, 30, 20));
    return;
  }
  if (tile > 7) return;
  char digit[2] = {(char)('1' + tile), 0};
  RECT text = r;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kNumberColours[tile]);
  DrawTextA(dc, digit, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

static void DrawSquareFace(HDC dc, int x, int y) {
  int tile;
  if (GetFieldBit(Field.marked, x, y))
    tile = 10;
  else if (GetFieldBit(Field.covered, x, y))
    tile = 9;
  else if (GetFieldBit(Field.bomb, x, y))
    tile = 8;
  else
    tile = CountAdjacentBombs(x, y) - 1;
  const RECT r = SquareRect(x, y);
  if (tile < 0) {
    CopyBackground(dc, r);
    return;
  }
  if (!TileSetBitmap) {
    DrawPlainTile(dc, r, tile);
    return;
  }
  BlitBitmap(dc, TileSetBitmap, r.left, r.top, r.right - r.left, r.bottom - r.top, kTile * tile, 0, kTile, kTile);
}

void DrawSquare(HDC dc, int x, int y) {
  DrawSquareFace(dc, x, y);
  if (HasKeyboardFrame(x, y)) DrawKeyboardFrame(dc, SquareRect(x, y));
}

void RedrawField(HDC dc) {
  if (generationInProgress || fieldColumns < 1 || fieldRows < 1) return;
  for (int x = 0; x < fieldColumns; ++x)
    for (int y = 0; y < fieldRows; ++y) DrawSquare(dc, x, y);
}

bool LoadTileSet(const char* path) {
  CopyText(PuzzlePicturePath, sizeof PuzzlePicturePath, path);
  PictureRecord record;
  if (!DecodePictureFile(path, &record)) return false;
  HBITMAP tiles = PictureToBitmap(&record, MainWindow, -1, 0, 0, 0);
  if (record.flags & PICTURE_HAS_DATA) ReleaseRecord(&record);
  if (!tiles) return false;
  DeleteBitmapSlot(&TileSetBitmap);
  TileSetBitmap = tiles;
  return true;
}

void PlayExplosion(int x, int y) {
  if (!MainWindow) return;
  const RECT r = SquareRect(x, y);
  for (int f = 0; f < 8; ++f) {
    if (TileSetBitmap) {
      HDC dc = GetDC(MainWindow);
      BlitBitmap(dc, TileSetBitmap, r.left, r.top, r.right - r.left, r.bottom - r.top, kTile * f, kTile, kTile,
                 kTile);
      ReleaseDC(MainWindow, dc);
    }
    WaitMilliseconds(20);
  }
}

// Waits until the tick count reaches `until`.
static void WaitUntil(DWORD until) {
  DWORD now = GetTickCount();
  if ((int32_t)(until - now) > 0) WaitMilliseconds(until - now);
}

static int Clamp10(int v) { return v < -10 ? -10 : v > 10 ? 10 : v; }

// Redraws the squares under a rectangle, clipped to it.
static void RedrawUnder(HDC dc, const RECT& area) {
  HRGN clip = CreateRectRgn(area.left, area.top, area.right, area.bottom);
  SelectClipRgn(dc, clip);
  for (int x = 0; x < fieldColumns; ++x) {
    const RECT column = SquareRect(x, 0);
    if (column.right <= area.left || column.left >= area.right) continue;
    for (int y = 0; y < fieldRows; ++y) {
      const RECT r = SquareRect(x, y);
      if (r.bottom <= area.top || r.top >= area.bottom) continue;
      DrawSquare(dc, x, y);
    }
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

void PlayBonusBalls(int x, int y, int count) {
  if (!MainWindow || count < 1) return;
  if (count > 4) count = 4;
  struct Ball {
    int vx, vy, ax, ay, red, green, blue, dRed, dGreen, dBlue, endFrame;
    POINT trail[100];
    HBRUSH brush;
  } balls[4];
  const RECT start = SquareRect(x, y);
  const int W = Board->boardWidth, H = Board->boardHeight;
  HDC dc = GetDC(MainWindow);
  HPEN pen = CreatePen(PS_NULL, 0, 0);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = nullptr;
  SeedRandom(GetTickCount());
  for (int i = 0; i < count; ++i) {
    Ball& b = balls[i];
    b.vx = (int)RandomBelow(20) - 10;
    b.vy = (int)RandomBelow(20) - 10;
    b.ax = (int)RandomBelow(3) - 1;
    b.ay = (int)RandomBelow(3) - 1;
    b.red = (int)RandomBelow(256);
    b.green = (int)RandomBelow(256);
    b.blue = (int)RandomBelow(256);
    b.dRed = (int)RandomBelow(9) - 4;
    b.dGreen = (int)RandomBelow(9) - 4;
    b.dBlue = (int)RandomBelow(9) - 4;
    b.trail[0] = POINT{start.left, start.top};
    b.endFrame = 1000;
    b.brush = nullptr;
  }
  auto bounce = [](int& c, int& d) {
    c += d;
    if (c > 250 || c < 5) d = -d;
  };
  for (int f = 0; f < 100; ++f) {
    DWORD mark = GetTickCount() - 1000;
    bool skipRest = false;
    for (int i = 0; i < count; ++i) {
      Ball& b = balls[i];
      if (b.endFrame <= f) continue;
      // A ball whose frame is skipped stays where it was.
      if (skipRest) {
        b.trail[f] = b.trail[f - 1];
        continue;
      }
      DWORD now = GetTickCount();
      if (now - mark > 500) mark = now;
      bounce(b.red, b.dRed);
      bounce(b.green, b.dGreen);
      bounce(b.blue, b.dBlue);
      HBRUSH brush = CreateSolidBrush(RGB((b.red % 256 + 256) % 256, (b.green % 256 + 256) % 256,
                                          (b.blue % 256 + 256) % 256));
      HGDIOBJ previous = SelectObject(dc, brush);
      if (!oldBrush) oldBrush = previous;
      if (b.brush) DeleteObject(b.brush);
      b.brush = brush;
      if (f > 0) {
        POINT p = {b.trail[f - 1].x + b.vx, b.trail[f - 1].y + b.vy};
        b.trail[f] = p;
        if (p.x - 5 < 0 || p.y - 5 < 0 || p.x + 5 > W || p.y + 5 > H) {
          b.endFrame = f;
          skipRest = true;
          continue;
        }
        b.vx = Clamp10(b.vx + b.ax);
        b.vy = Clamp10(b.vy + b.ay);
        if (RandomBelow(10) == 0) b.ax = b.ax == 0 ? (int)RandomBelow(3) - 1 : 0;
        if (RandomBelow(10) == 0) b.ay = b.ay == 0 ? (int)RandomBelow(3) - 1 : 0;
      }
      const POINT p = b.trail[f];
      Ellipse(dc, p.x - 5, p.y - 5, p.x + 5, p.y + 5);
    }
    WaitUntil(mark + 20);
  }
  if (oldBrush) SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  for (int i = 0; i < count; ++i)
    if (balls[i].brush) DeleteObject(balls[i].brush);
  for (int g = 0; g < 100; ++g) {
    DWORD mark = GetTickCount() - 1000;
    for (int i = 0; i < count; ++i) {
      if (balls[i].endFrame <= g) continue;
      DWORD now = GetTickCount();
      if (now - mark > 500) mark = now;
      const POINT p = balls[i].trail[g];
      RedrawUnder(dc, RECT{p.x - 5, p.y - 5, p.x + 5, p.y + 5});
    }
    WaitUntil(mark + 20);
  }
  ReleaseDC(MainWindow, dc);
}

void RevealBackground() {
  if (!MainWindow) return;
  if (clockFlag) ShowClockTime(MainWindow, gameClock);
  const int W = Board->boardWidth, H = Board->boardHeight;
  HBITMAP background = VisibleBackground();
  HDC dc = GetDC(MainWindow);
  if (background && W > 0 && H > 0) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, background);
    const int cx = W / 2, cy = H / 2;
    for (int i = 0; i < W / 2; ++i) {
      const DWORD started = GetTickCount();
      const int h = (int)((int64_t)i * H / W);
      BitBlt(dc, cx - i, cy - h, 1, 2 * h, memory, cx - i, cy - h, SRCCOPY);
      BitBlt(dc, cx + i, cy - h, 1, 2 * h + 1, memory, cx + i, cy - h, SRCCOPY);
      BitBlt(dc, cx - i, cy - h, 2 * i, 1, memory, cx - i, cy - h, SRCCOPY);
      BitBlt(dc, cx - i, cy + h, 2 * i + 1, 1, memory, cx - i, cy + h, SRCCOPY);
      WaitUntil(started + 10);
    }
    BitBlt(dc, 0, 0, W, H, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  } else {
    RECT all = {0, 0, W, H};
    CopyBackground(dc, all);
  }
  ReleaseDC(MainWindow, dc);
  WaitMilliseconds(500);
}

void FieldAfterGameBrush(int x, int y) {
  if (!MainWindow || Board->gameInProgress != 1 || titleScreenFlag || !IsFieldGameOver()) return;
  if (proMode && explosionCount > 0) return;
  const int W = Board->boardWidth, H = Board->boardHeight;
  RECT r = {x - W / 16, y - H / 16, x + W / 16, y + H / 16};
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > W) r.right = W;
  if (r.bottom > H) r.bottom = H;
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (leftButtonFlag) {
    InvalidateRect(MainWindow, &r, FALSE);
    UpdateWindow(MainWindow);
    return;
  }
  HDC dc = GetDC(MainWindow);
  CopyBackground(dc, r);
  ReleaseDC(MainWindow, dc);
}

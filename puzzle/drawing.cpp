// Painting the main window and redrawing parts of the board.
#include "puzzle/drawing.h"

#include "common/shell_state.h"
#include "common/variant.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/board_hooks.h"

const char kLoadingTextSwap[] =
    "Loading... Why don't you go grab a hard shelled taco with beans, cheese, lettuce, and tomatoes. "
    "Note: My images are extremely squashed. Please wait while my brain cranks away at decompressing them!";
const char kLoadingTextField[] =
    "Loading... Why don't you go grab some buttermilk pancakes made with cornmeal and bananas, with some "
    "nice sweet, fresh blueberries and yogurt on the side. Note: My images are extremely squashed. Please "
    "wait while my brain cranks away at decompressing them!";

void PaintMainWindow(HWND hwnd, void (*drawBoard)(HDC dc)) {
  RECT update;
  if (!GetUpdateRect(hwnd, &update, FALSE)) return;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (readyFlag == 0) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right, h = client.bottom;
    FillRectColor(dc, 0, 0, w, h, 0);
    RECT text{w / 4, h / 3, w + (w / 4 - w) / 3, h};
    SetTextColor(dc, RGB(255, 50, 180));
    SetBkColor(dc, 0);
    DrawTextA(dc, kGameVariant == 0 ? kLoadingTextSwap : kLoadingTextField, -1, &text,
              DT_CENTER | DT_WORDBREAK);
    EndPaint(hwnd, &ps);
    return;
  }
  if (titleScreenFlag) {
    FillRectColor(dc, 0, 0, update.right, update.bottom, 0);
    const int pw = kGameVariant == 0 ? 306 : 340, ph = kGameVariant == 0 ? 190 : 320;
    if (EggBitmap)
      BlitBitmap(dc, EggBitmap, (Board->boardWidth - pw) / 2, (Board->boardHeight - ph) / 2, pw, ph, 0, 0, pw,
                 ph);
  } else {
    drawBoard(dc);
  }
  EndPaint(hwnd, &ps);
}

void DrawBoard(HDC dc) {
  // A record from elsewhere may hold any size: draw only what fits.
  if (Board->columns <= 0 || Board->rows <= 0 || Board->columns > kMaxCells || Board->rows > kMaxCells) return;
  for (int i = 0; i < Board->columns; ++i)
    for (int j = 0; j < Board->rows; ++j)
      DrawCell(dc, i, j, Board->homeColumn[CellIndex(i, j)], Board->homeRow[CellIndex(i, j)]);
}

void DrawCell(HDC dc, int i, int j, int hi, int hj) {
  const RECT dst = CellRect(i, j);
  const int index = j * Board->columns + i;
  const bool home = hi == i && hj == j;
  const bool selected = index == Board->firstSelected || index == Board->secondSelected;
  if (Board->faceDown == 1 && !home && !selected) {
    if (CardBackBitmap)
      BlitBitmap(dc, CardBackBitmap, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, 0, 0,
                 CardBackWidth, CardBackHeight);
    if (HasKeyboardFrame(i, j)) DrawKeyboardFrame(dc, dst);
    return;
  }
  const RECT src = CellRect(hi, hj);
  if (PuzzleBitmap)
    BlitBitmap(dc, PuzzleBitmap, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, src.left, src.top,
               src.right - src.left, src.bottom - src.top);
  if (HasKeyboardFrame(i, j)) DrawKeyboardFrame(dc, dst);
}

void RedrawRect(const RECT& r) {
  HRGN region = CreateRectRgn(r.left, r.top, r.right, r.bottom);
  HDC dc = GetDC(MainWindow);
  SelectClipRgn(dc, region);
  DrawBoard(dc);
  DeleteObject(region);
  ReleaseDC(MainWindow, dc);
}

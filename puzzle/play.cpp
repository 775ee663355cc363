// Selecting, swapping, flipping and winning.
#include "puzzle/play.h"

#include <algorithm>
#include <cstdlib>

#include "common/play_clock.h"
#include "common/shell_state.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/board_hooks.h"
#include "puzzle/drawing.h"
#include "puzzle/statistics.h"
#include "sound/sounds.h"

// The two cells of the swap under way, kept between the clicks.
static RECT g_firstRect, g_secondRect;

static void InvertOnScreen(const RECT& r) {
  HDC dc = GetDC(MainWindow);
  InvertRect(dc, &r);
  ReleaseDC(MainWindow, dc);
}

void HitCell(int x, int y, int* column, int* row) {
  int cw = Board->columns > 0 ? Board->boardWidth / Board->columns : 0;
  int ch = Board->rows > 0 ? Board->boardHeight / Board->rows : 0;
  int c = cw > 0 ? x / cw : 0, r = ch > 0 ? y / ch : 0;
  // Whole-pixel cells end short of the board's edge: the rest belongs to
  // the last column and row.
  if (c >= Board->columns) c = Board->columns - 1;
  if (r >= Board->rows) r = Board->rows - 1;
  *column = std::max(c, 0);
  *row = std::max(r, 0);
}

void RedrawCell(int column, int row) {
  const RECT r = CellRect(column, row);
  RedrawRect(r);
  // An open board marks its selected cell by inverting it on the screen.
  if (Board->faceDown != 1 && Board->firstSelected == row * Board->columns + column) InvertOnScreen(r);
}

void HandleBoardClick(int x, int y) {
  leftButtonFlag = 1;
  generationCancelRequested = 1;
  ShowWindow(MenuStrip, SW_HIDE);
  SendMessageA(MainWindow, WM_PAINT, 0, 0);
  if (Board->gameInProgress != 1) return;
  if (Board->columns <= 0 || Board->rows <= 0 || Board->columns > kMaxCells || Board->rows > kMaxCells) return;

  int column, row;
  HitCell(x, y, &column, &row);
  int cell = row * Board->columns + column;

  if (Board->firstSelected == -1) {
    if (soundFlag) PlaySoundAsync(Sounds.plainBeep);
    Board->firstSelected = cell;
    g_firstRect = CellRect(column, row);
    if (Board->faceDown)
      RedrawRect(g_firstRect);
    else
      InvertOnScreen(g_firstRect);
    return;
  }
  if (cell == Board->firstSelected) {
    if (soundFlag) PlaySoundAsync(Sounds.plainBeep2);
    Board->firstSelected = -1;
    if (Board->faceDown)
      RedrawRect(g_firstRect);
    else
      InvertOnScreen(g_firstRect);
    return;
  }
  g_secondRect = CellRect(column, row);
  Board->secondSelected = cell;
  if (Board->faceDown) RedrawRect(g_secondRect);
  AnimateSwap(g_firstRect, g_secondRect);
}

void AnimateSwap(const RECT& first, const RECT& second) {
  const int n = Board->columns;
  const int i1 = Board->firstSelected % n, j1 = Board->firstSelected / n;
  const int i2 = Board->secondSelected % n, j2 = Board->secondSelected / n;
  if (soundFlag) PlaySoundAsync(Sounds.takeTwo);
  RedrawRect(first);
  SwapPieces(i2, j2, i1, j1);

  const int dx = std::abs(i2 - i1) * Board->boardWidth / Board->columns;
  const int dy = std::abs(j2 - j1) * Board->boardHeight / Board->rows;
  const int distance = std::max(dx, dy);

  HDC dc = GetDC(MainWindow);
  int oldRop = SetROP2(dc, R2_NOTXORPEN);
  LOGBRUSH lb{BS_HOLLOW, 0, 0};
  HBRUSH hollow = CreateBrushIndirect(&lb);
  HGDIOBJ oldBrush = SelectObject(dc, hollow);
  auto mix = [distance](LONG from, LONG to, int t, int s) {
    return (int)(((long long)from * t + (long long)to * s) / distance);
  };
  for (int s = 0; s < distance; s += 25) {
    const int t = distance - s;
    // A travels from the second cell toward the first, B the other way.
    RECT a{mix(second.left, first.left, t, s), mix(second.top, first.top, t, s),
           mix(second.right, first.right, t, s), mix(second.bottom, first.bottom, t, s)};
    RECT b{mix(first.left, second.left, t, s), mix(first.top, second.top, t, s),
           mix(first.right, second.right, t, s), mix(first.bottom, second.bottom, t, s)};
    Rectangle(dc, a.left, a.top, a.right, a.bottom);
    Rectangle(dc, b.left, b.top, b.right, b.bottom);
    WaitMilliseconds(20);
    Rectangle(dc, a.left, a.top, a.right, a.bottom);
    Rectangle(dc, b.left, b.top, b.right, b.bottom);
  }
  SelectObject(dc, oldBrush);
  DeleteObject(hollow);
  SetROP2(dc, oldRop);
  ReleaseDC(MainWindow, dc);

  if (Board->faceDown) {
    RedrawRect(first);
    RedrawRect(second);
    WaitMilliseconds(250);
  }
  Board->firstSelected = Board->secondSelected = -1;
  RedrawRect(first);
  RedrawRect(second);
  if (IsSolved()) EndGame();
  Board->moveCount++;
}

void EndGame() {
  if (Board->gameInProgress == 0) return;
  HideKeyboardFrame();  // the finished picture shows whole
  Board->gameInProgress = 0;
  Board->lastGameSize = Board->boardSize;
  if (!IsSolved()) return;
  const DWORD played = PlayTicks() - Board->startTicks;
  Board->elapsedSeconds = played / 1000;
  if (!generationInProgress) ShowClockTime(MainWindow, played);
  if (soundFlag) PlaySoundAsync(Sounds.congratulations);
  MessageBoxA(MainWindow, "You have won the game!", "Congratulations!", MB_OK);
  if (Board->statsOn == 1) {
    RecordWin();
    InvalidateRect(MainWindow, nullptr, FALSE);
    ShowStatsDialog(MainWindow);
    if (!WriteStatsFile()) TellStatsNotSaved(MainWindow);
  }
}

// The pause of both games: the cover over the board, and the clock that
// stands still meanwhile (common/play_clock.h).
#include "shell/pause.h"

#include "common/play_clock.h"
#include "common/shell_state.h"
#include "common/variant.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "puzzle/play.h"
#include "shell/clock.h"

static const char kPausedWord[] = "Paused";

bool GameInPlay() {
  if (Board->gameInProgress != 1 || titleScreenFlag || generationInProgress) return false;
  return kGameVariant == 0 || !IsFieldGameOver();
}

bool GamePaused() { return PlayClockStopped() && GameInPlay(); }

void PauseGame(HWND hwnd) {
  if (!GameInPlay() || PlayClockStopped()) return;
  StopPlayClock();
  InvalidateRect(hwnd, nullptr, FALSE);
}

void ResumeGame(HWND hwnd) {
  if (!PlayClockStopped()) return;
  const DWORD stood = RunPlayClock();
  InvalidateRect(hwnd, nullptr, FALSE);
  if (!GameInPlay()) return;
  if (kGameVariant == 0)
    Board->startTicks += stood;
  else
    ShiftFieldClock(stood);
  // The board comes back as it was left: an open board marks its picked cell
  // on the screen alone, and the clock shows at once.
  UpdateWindow(hwnd);
  const int pick = Board->firstSelected, columns = Board->columns;
  if (kGameVariant == 0 && Board->faceDown != 1 && pick >= 0 && columns > 0 && columns <= kMaxCells &&
      pick < columns * Board->rows)
    RedrawCell(pick % columns, pick / columns);
  if (clockFlag) DrawClock(hwnd, PlayTicks() - Board->startTicks);
}

void EndPauseOfEndedGame(HWND hwnd) {
  if (!PlayClockStopped() || GameInPlay()) return;
  ResetPlayClock();
  InvalidateRect(hwnd, nullptr, FALSE);
}

// The word, small and white on a black plate, its top edge at `top`.
static void DrawPausedWord(HDC dc, int centreX, int top) {
  RECT size{0, 0, 1000, 100};
  DrawTextA(dc, kPausedWord, -1, &size, DT_CALCRECT | DT_SINGLELINE);
  const int half = size.right / 2 + 12;
  FillRectColor(dc, centreX - half, top - 5, centreX + half, top + size.bottom + 5, RGB(0, 0, 0));
  RECT text{centreX - half, top, centreX + half, top + size.bottom};
  SetTextColor(dc, RGB(230, 230, 230));
  SetBkColor(dc, RGB(0, 0, 0));
  DrawTextA(dc, kPausedWord, -1, &text, DT_CENTER | DT_SINGLELINE);
}

void PaintPausedScreen(HWND hwnd) {
  RECT update;
  if (!GetUpdateRect(hwnd, &update, FALSE)) return;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  const int w = Board->boardWidth, h = Board->boardHeight;
  if (kGameVariant == 0) {
    // The title picture, where the title screen has it.
    const int pw = 306, ph = 190;
    FillRectColor(dc, 0, 0, w, h, RGB(0, 0, 0));
    if (EggBitmap) BlitBitmap(dc, EggBitmap, (w - pw) / 2, (h - ph) / 2, pw, ph, 0, 0, pw, ph);
    DrawPausedWord(dc, w / 2, (h - ph) / 2 + ph + 18);
  } else {
    // The background shows nothing of the squares.
    DrawFieldBackground(dc);
    DrawPausedWord(dc, w / 2, h / 2 - 8);
  }
  EndPaint(hwnd, &ps);
}

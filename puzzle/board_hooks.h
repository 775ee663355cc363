// What the boards ask of the shell above them.  The keyboard frame and the
// running clock are the shell's (shell/keyboard_cursor.cpp, shell/clock.cpp),
// yet a board must tell the frame when a new board starts or a game ends,
// draw it over the cells it draws, and show the clock's time when a game is
// won.  The shell sets the hooks once at start-up; until then each of the
// calls below does nothing (and no cell carries the frame).
#pragma once

#include "platform/win32.h"

struct BoardHooks {
  void (*forgetFrame)();                        // a new board: the frame is forgotten
  void (*hideFrame)();                          // a finished game: the frame leaves, its cell drawn again
  bool (*isFramed)(int column, int row);        // the cell carries the frame
  void (*drawFrame)(HDC dc, const RECT& cell);  // the frame over a cell just drawn
  void (*drawClock)(HWND hwnd, DWORD elapsedMs);
};
void SetBoardHooks(const BoardHooks& hooks);

// The calls the boards (the swap puzzle's and the mine field's) make.
void ForgetKeyboardFrame();
void HideKeyboardFrame();
bool HasKeyboardFrame(int column, int row);
void DrawKeyboardFrame(HDC dc, const RECT& cell);
void ShowClockTime(HWND hwnd, DWORD elapsedMs);

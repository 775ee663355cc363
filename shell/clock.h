// The running clock on the board (its time text is common/time_text.h).  The
// boards show a won game's time through puzzle/board_hooks.h, which start-up
// points at DrawClock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

void DrawClock(HWND hwnd, DWORD elapsedMs);
void DrawClockFace(HDC dc, int x, int y, int w, int h, uint32_t seconds, HBITMAP picture, HBITMAP mask);
// The tip of a hand at position p (0..59) of length factor k.
POINT ClockHandTip(int cx, int cy, int w, int h, uint32_t p, double k);
// The mine-field build's " Time Used: " in the window title.
void ShowTitleBarTime(HWND hwnd, uint32_t seconds);

// The running clock: a 96 x 96 picture drawn through its mask, with a long
// hand for the seconds and a short hand that moves one hour mark a minute.
#include "shell/clock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/shell_state.h"
#include "common/time_text.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"

void DrawClock(HWND hwnd, DWORD elapsedMs) {
  if (generationInProgress) return;
  HDC dc = GetDC(hwnd);
  DrawClockFace(dc, clockX, clockY, 96, 96, elapsedMs / 1000, ClockBitmap, ClockMask);
  ReleaseDC(hwnd, dc);
}

POINT ClockHandTip(int cx, int cy, int w, int h, uint32_t p, double k) {
  double a = ((double)p * 0.03333333333333333 + 7.5) * 3.1415927;
  return POINT{cx + (LONG)std::trunc(std::cos(a) * w * k), cy + (LONG)std::trunc(std::sin(a) * h * k)};
}

static void Stroke(HDC dc, COLORREF color, int x0, int y0, int x1, int y1) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawClockFace(HDC dc, int x, int y, int w, int h, uint32_t s, HBITMAP picture, HBITMAP mask) {
  BlitTransparent(dc, picture, mask, x, y, w, h, 0, 0, 96, 96);
  const int cx = x + w / 2, cy = y + h / 2;
  const uint32_t t = (s / 60) * 300 + (s % 60);
  const uint32_t p1 = t % 60, p2 = (t / 60) % 60;
  const COLORREF white = RGB(255, 255, 255), yellow = RGB(255, 255, 0), green = RGB(0, 255, 0);

  POINT tip = ClockHandTip(cx, cy, w, h, p1, 0.45);
  Stroke(dc, white, cx - 1, cy - 1, tip.x, tip.y);
  Stroke(dc, yellow, cx - 1, cy - 1, tip.x + 1, tip.y);
  Stroke(dc, yellow, cx - 1, cy - 1, tip.x, tip.y + 1);

  tip = ClockHandTip(cx, cy, w, h, p2, 0.25);
  Stroke(dc, white, cx - 1, cy - 1, tip.x, tip.y);
  Stroke(dc, green, cx - 1, cy - 1, tip.x + 1, tip.y);
  Stroke(dc, green, cx - 1, cy - 1, tip.x, tip.y + 1);
  Stroke(dc, green, cx + 1, cy + 1, tip.x + 1, tip.y);
  Stroke(dc, green, cx + 1, cy + 1, tip.x, tip.y + 1);
}

void ShowTitleBarTime(HWND hwnd, uint32_t seconds) {
  char title[150];
  GetWindowTextA(hwnd, title, sizeof title);
  char* at = strstr(title, " Time Used:");
  size_t keep = at ? (size_t)(at - title) : strlen(title);
  char time[32];
  FormatTimeText(time, sizeof time, "", seconds);
  char next[200];
  snprintf(next, sizeof next, "%.*s Time Used: %s", (int)keep, title, time);
  SetWindowTextA(hwnd, next);
}

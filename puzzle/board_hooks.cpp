// The hooks through which the boards reach the shell's keyboard frame and
// clock.
#include "puzzle/board_hooks.h"

static BoardHooks g_hooks{};

void SetBoardHooks(const BoardHooks& hooks) { g_hooks = hooks; }

void ForgetKeyboardFrame() {
  if (g_hooks.forgetFrame) g_hooks.forgetFrame();
}

void HideKeyboardFrame() {
  if (g_hooks.hideFrame) g_hooks.hideFrame();
}

bool HasKeyboardFrame(int column, int row) { return g_hooks.isFramed && g_hooks.isFramed(column, row); }

void DrawKeyboardFrame(HDC dc, const RECT& cell) {
  if (g_hooks.drawFrame) g_hooks.drawFrame(dc, cell);
}

void ShowClockTime(HWND hwnd, DWORD elapsedMs) {
  if (g_hooks.drawClock) g_hooks.drawClock(hwnd, elapsedMs);
}

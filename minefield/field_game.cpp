// The mine-field game.  Its rules, drawing, high scores and options are not
// in this build yet: the build starts and stops like the swap puzzle.
#include "minefield/field_hooks.h"

void ClickSquare(int, int) {}
void ToggleMark(int, int) {}
void StartFieldGame() {}
bool IsFieldGameOver() { return true; }
void RedrawField(HDC) {}
void SetFieldMenuChecks() {}
void LoadStartupBackground() {}
void DispatchFieldCommand(HWND hwnd, UINT id) {
  if (id == 502)
    MessageBoxA(hwnd, "Quillon's Hotfield, Version 1.1\r\n\r\nThe mine field game.", "About Quillon's Hotfield:",
                MB_OK);
}

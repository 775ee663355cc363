// The mine-field game is not part of this build yet: its build starts and
// stops like the swap puzzle, and these entry points do nothing.
#include "minefield/field_hooks.h"

void ClickSquare(int, int) {}
void ToggleMark(int, int) {}
void StartFieldGame() {}
bool IsFieldGameOver() { return true; }
void RedrawField(HDC) {}
void SetFieldMenuChecks() {}
void LoadStartupBackground() {}

// The swap puzzle's build has no mine field: the shell's calls into it do
// nothing here.  The mine-field build defines them in minefield/.
#include "minefield/field_hooks.h"

#if GAME_VARIANT == 0

void ClickSquare(int, int) {}
void ToggleMark(int, int) {}
void StartFieldGame() {}
bool IsFieldGameOver() { return true; }
void RedrawField(HDC) {}
void SetFieldMenuChecks() {}
void LoadStartupBackground() {}
void FieldOptionsBackgroundPath(char* out, size_t size) {
  if (size) out[0] = 0;
}
void DispatchFieldCommand(HWND, UINT) {}
void ReadFieldOptions() {}
bool WriteFieldOptions() { return false; }
void FieldAfterGameBrush(int, int) {}
void UseGeneratedBackground(HDC, int, int) {}
void ResizeFieldBackground() {}
void DrawFieldBackground(HDC) {}
void ShiftFieldClock(DWORD) {}
void ReadFieldScores() {}
void FreeFieldPictures() {}
void FieldGridSize(int* columns, int* rows) { *columns = *rows = 0; }
RECT FieldSquareRect(int, int) { return RECT{0, 0, 0, 0}; }
bool FieldSquareAt(int, int, int*, int*) { return false; }
void RedrawFieldSquare(int, int) {}
#endif

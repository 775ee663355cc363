// The mine field's squares as the keyboard cursor sees them.
#include "common/shell_state.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"

void FieldGridSize(int* columns, int* rows) {
  *columns = fieldColumns;
  *rows = fieldRows;
}

RECT FieldSquareRect(int x, int y) { return SquareRect(x, y); }

bool FieldSquareAt(int px, int py, int* x, int* y) { return SquareAt(px, py, x, y); }

void RedrawFieldSquare(int x, int y) {
  if (!MainWindow || generationInProgress) return;
  HDC dc = GetDC(MainWindow);
  DrawSquare(dc, x, y);
  ReleaseDC(MainWindow, dc);
}

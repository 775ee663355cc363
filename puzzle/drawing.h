// Painting the main window: the loading text, the title picture and the
// board, and the redraw of one rectangle of the board.
#pragma once

#include "platform/win32.h"

// The board itself is drawn by `drawBoard`: the build's board, which the
// shell names (DrawBoard, or the mine field's).
void PaintMainWindow(HWND hwnd, void (*drawBoard)(HDC dc));
void DrawBoard(HDC dc);
void DrawCell(HDC dc, int column, int row, int homeColumn, int homeRow);
void RedrawRect(const RECT& rect);

extern const char kLoadingTextSwap[];
extern const char kLoadingTextField[];

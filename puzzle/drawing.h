// Painting the main window: the loading text, the title picture and the
// board, and the redraw of one rectangle of the board.
#pragma once

#include "platform/win32.h"

void PaintMainWindow(HWND hwnd);
void DrawBoard(HDC dc);
void DrawCell(HDC dc, int column, int row, int homeColumn, int homeRow);
void RedrawRect(const RECT& rect);

extern const char kLoadingTextSwap[];
extern const char kLoadingTextField[];

// Playing with the keyboard alone: the arrow keys move a frame over the
// board's cells (the mine field's squares), and Space or Enter act on the
// framed cell exactly as a left click there does.  The boards below the
// shell reach the frame through puzzle/board_hooks.h, which start-up points
// at HideBoardCursor, ForgetBoardCursor, IsCursorCell and DrawCursorFrame.
#pragma once

#include "platform/win32.h"

// Acts on a key of the board.  Returns false when the key is none of the
// cursor's (the arrows, Home, End, Page Up, Page Down, Space, Enter, and in
// the mine field F for a mark).
bool HandleCursorKey(WPARAM key);
// A mouse click takes the frame away; a new board forgets it.
void HideBoardCursor();
void ForgetBoardCursor();
// Whether cell (column, row) carries the frame; the frame itself is drawn
// over the cell by whoever draws the cell, so it never covers a piece for good.
bool IsCursorCell(int column, int row);
void DrawCursorFrame(HDC dc, const RECT& cell);
constexpr COLORREF kCursorColour = RGB(40, 230, 255);

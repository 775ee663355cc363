// The play: selecting a cell, swapping two pieces with the outline
// animation, the flip of a piece that reaches home, and the end of a game.
#pragma once

#include "platform/win32.h"

void HandleBoardClick(int x, int y);
void AnimateSwap(const RECT& first, const RECT& second);
void EndGame();

// Cell under a client point by the whole-pixel hit test.
void HitCell(int x, int y, int* column, int* row);
// Draws one cell again on the screen, keeping an open board's selection mark.
void RedrawCell(int column, int row);

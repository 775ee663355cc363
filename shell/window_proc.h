// The main window's procedure, the menu strip's dialog procedure and the
// screen modes.
#pragma once

#include "platform/win32.h"

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK StripDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A left click on the board, handed to the build's game: the swap puzzle's
// HandleBoardClick or the mine field's ClickSquare.
void ClickBoard(int x, int y);
void OnMouseMove(HWND hwnd, int x, int y);
// Moves the clock away from (x, y) and keeps it clear of the edges.
void RunClockAway(int x, int y, int width, int height);
void HandleStripKey(WPARAM key);

void SetFullScreenMode(HWND hwnd);
void SetNormalWindowMode(HWND hwnd);
void MinimiseGame(HWND hwnd);

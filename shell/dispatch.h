// Every menu command arrives here, from the strip, from the main window's
// own menu bar or from the program itself.
#pragma once

#include "platform/win32.h"

void DispatchCommand(HWND hwnd, UINT id);

// The title picture takes the board's place and is painted at once, so that
// a dialog the command opens next shows it behind, not the board.
void ShowTitleScreen(HWND hwnd);

// The two questions that protect a game in progress.  True = go on.
bool EndGameGuard(HWND hwnd);
bool PictureChangeGuard(HWND hwnd);

// Rewrites every item whose text depends on the game's state in one
// window's menu (after a fresh menu was attached).
void RefreshRewrittenItems(HWND hwnd);

extern const char kHowToPlayText[];
extern const char kAboutText[];

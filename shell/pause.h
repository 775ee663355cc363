// Pausing a game: the P key, or the game stepping aside by itself when the
// player is called away (the main window minimised, the keyboard gone to
// another program or to the screen lock).  While paused the board is
// covered, the clock face and the title's time stand still, and the next key
// or click only resumes.  The time paused is never counted: the game's start
// tick moves on by it when the game resumes.
#pragma once

#include "platform/win32.h"

// A game the player is in the middle of: not the title, not a finished board.
bool GameInPlay();
// The game in play is paused (its board covered).
bool GamePaused();
// Both do nothing when there is nothing to pause or resume.
void PauseGame(HWND hwnd);
void ResumeGame(HWND hwnd);
// After a command: a pause whose game has ended meanwhile is over too.
void EndPauseOfEndedGame(HWND hwnd);
// WM_PAINT while paused: the cover instead of the board.
void PaintPausedScreen(HWND hwnd);

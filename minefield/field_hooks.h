// The mine-field game's entry points that the shared shell calls.  In the
// swap puzzle build they do nothing; the mine-field build defines them.
#pragma once

#include "platform/win32.h"

void ClickSquare(int x, int y);
void ToggleMark(int x, int y);
void StartFieldGame();
bool IsFieldGameOver();
void RedrawField(HDC dc);
void SetFieldMenuChecks();
void LoadStartupBackground();
// The background start-up shows: the one the mine field's options file
// names, without taking anything else from it, else the built-in one.
void FieldOptionsBackgroundPath(char* out, size_t size);
// The mine field's own menu commands (those the two builds do not share).
void DispatchFieldCommand(HWND hwnd, UINT id);
// The mine field's options file, "hfd.opt".  Writing gives true when the
// whole file was written.
void ReadFieldOptions();
bool WriteFieldOptions();
// Mouse moves over a won board wipe the squares away or paint them back.
void FieldAfterGameBrush(int x, int y);
// What a picture generator painted on `dc` (w x h) becomes the background.
void UseGeneratedBackground(HDC dc, int w, int h);
// The client area changed size: the background follows it.
void ResizeFieldBackground();
// The background alone over the whole board (black where there is none):
// what a paused game shows instead of the squares.
void DrawFieldBackground(HDC dc);
// The game's start tick moves on by `ms`: the time a pause lasted.
void ShiftFieldClock(DWORD ms);
// The high-score file, read once at start-up.
void ReadFieldScores();
// Frees the tile set and the sound chosen for explosions.
void FreeFieldPictures();
// The squares as the keyboard cursor sees them: the layout's size, a
// square's rectangle, the square under a client point, and one square drawn
// again on the screen.
void FieldGridSize(int* columns, int* rows);
RECT FieldSquareRect(int x, int y);
bool FieldSquareAt(int px, int py, int* x, int* y);
void RedrawFieldSquare(int x, int y);

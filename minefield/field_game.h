// The mine field's board, rules and state, shared by its drawing, high
// scores, options and tests.
#pragma once

#include <cstdint>

#include "platform/win32.h"

constexpr int kFieldRowBytes = 12;  // 96 squares per row
constexpr int kFieldMaxColumns = 96;
constexpr int kFieldMaxRows = 50;

// Three bit grids: square (x, y) is bit x mod 8 of byte 12 y + x / 8.
struct FieldBoard {
  uint8_t covered[kFieldMaxRows * kFieldRowBytes];
  uint8_t marked[kFieldMaxRows * kFieldRowBytes];
  uint8_t bomb[kFieldMaxRows * kFieldRowBytes];
};

extern FieldBoard Field;
extern int32_t fieldColumns;
extern int32_t fieldRows;
extern int32_t chosenLevel;
extern int32_t levelInPlay;
extern int32_t bombCount;
extern int32_t uncoveredCount;
extern int32_t explosionCount;
extern uint32_t gameClock;  // start tick while playing; elapsed ms once over
extern int32_t proMode;
extern int32_t explosionChoice;  // which recording an explosion plays, 0..3

bool GetFieldBit(const uint8_t* grid, int x, int y);
void SetFieldBit(uint8_t* grid, int x, int y, bool on);
// The bomb test: 0 for any square outside the layout.
int HasBomb(int x, int y);
int CountAdjacentBombs(int x, int y);
// The square under a client pixel; false when the pixel is off the board.
bool SquareAt(int px, int py, int* x, int* y);

// Entries of the layout and level tables (5 for anything else) and names.
int LayoutIndex(int columns);
int LevelIndex(int level);
const char* LayoutName(int columns);
const char* LevelName(int level);

// Uncovers from a square the way a click does: a square without bombs next to
// it goes on to its neighbours.  Returns the number of squares uncovered.
int ClearFromSquare(int x, int y);
// The end of a won game: reveal, announcement, high-score dialogs.
void EndFieldGame();

// Drawing.
RECT SquareRect(int x, int y);
void DrawSquare(HDC dc, int x, int y);
// Stores the path as the current tile set's and loads it; false (the
// previous tiles kept) when the file gives no picture.
bool LoadTileSet(const char* path);
void PlayExplosion(int x, int y);
void PlayBonusBalls(int x, int y, int count);
void RevealBackground();
HBITMAP VisibleBackground();
extern HBITMAP TileSetBitmap;
extern int32_t BackgroundIsTexture;

// Backgrounds.
// The built-in background, PLANET_R.BKG of the picture folder ("" when that
// path would not fit).
void DefaultBackgroundPath(char* out, size_t size);
int LoadFieldBackground(HWND hwnd, const char* path);
int ChooseFieldBackground(HWND owner);
void LayTiledBackground();

// High scores.
struct FieldScoreTable {
  uint32_t bestTime[36];
  uint32_t bestExplosions[36];
  char holder[36][16];
  uint8_t reserved[440];
};
static_assert(sizeof(FieldScoreTable) == 1304, "hfdscore is 1304 bytes");
extern FieldScoreTable FieldScores;
void ReadFieldScores();
void WriteFieldScores();
int ScoreEntry(int columns, int level);
bool IsFieldRecord(int entry, uint32_t explosions, uint32_t elapsedMs);
// Announcement and dialogs for a finished game.
void ScoreFieldGame(HWND hwnd);

// Help.
void ShowBombInstructions(HWND owner);
void ShowConfusionHelp(HWND owner);

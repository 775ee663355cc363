// The swap puzzle's one record: board size, which piece lies in which cell,
// the selection, counters and flags.  It is also, byte for byte, the saved
// game file, so every word keeps its place.
#pragma once

#include <cstdint>

#include "platform/win32.h"

constexpr int kMaxCells = 25;  // the record has room for 25 x 25 cells

struct BoardRecord {
  int32_t firstSelected;       // 0: cell index, -1 = none
  int32_t secondSelected;      // 1
  int32_t boardWidth;          // 2: pixels
  int32_t boardHeight;         // 3
  int32_t backgroundChoice;    // 4: used by the mine-field build
  int32_t reserved5[100];      // 5..104
  int32_t lastGameSize;        // 105
  int32_t reserved106[11];     // 106..116
  int32_t statsSlot;           // 117
  int32_t reserved118[46];     // 118..163
  int32_t gameInProgress;      // 164
  int32_t statsOn;             // 165
  int32_t homeColumn[625];     // 166..790: [row * 25 + column]
  int32_t homeRow[625];        // 791..1415
  int32_t columns;             // 1416
  int32_t rows;                // 1417
  int32_t reserved1418[2];     // 1418..1419
  int32_t boardSize;           // 1420
  int32_t reserved1421;        // 1421
  int32_t faceDown;            // 1422
  int32_t moveCount;           // 1423
  int32_t reserved1424;        // 1424
  uint32_t startTicks;         // 1425
  uint32_t elapsedSeconds;     // 1426
  int32_t reserved1427;        // 1427
};

static_assert(sizeof(BoardRecord) == 1428 * 4, "the board record is 1428 words");
#define BOARD_WORD(field) (offsetof(BoardRecord, field) / 4)
static_assert(BOARD_WORD(lastGameSize) == 105, "word 105");
static_assert(BOARD_WORD(statsSlot) == 117, "word 117");
static_assert(BOARD_WORD(gameInProgress) == 164, "word 164");
static_assert(BOARD_WORD(statsOn) == 165, "word 165");
static_assert(BOARD_WORD(homeColumn) == 166, "word 166");
static_assert(BOARD_WORD(homeRow) == 791, "word 791");
static_assert(BOARD_WORD(columns) == 1416, "word 1416");
static_assert(BOARD_WORD(rows) == 1417, "word 1417");
static_assert(BOARD_WORD(boardSize) == 1420, "word 1420");
static_assert(BOARD_WORD(faceDown) == 1422, "word 1422");
static_assert(BOARD_WORD(moveCount) == 1423, "word 1423");
static_assert(BOARD_WORD(startTicks) == 1425, "word 1425");
static_assert(BOARD_WORD(elapsedSeconds) == 1426, "word 1426");

// The one board record, reached through this pointer (set first at start-up).
extern BoardRecord* Board;

inline int CellIndex(int column, int row) { return row * kMaxCells + column; }

// The pixel rectangle of cell (i, j) on the current board; right and bottom
// edges are excluded.
RECT CellRect(int column, int row);

void SetBoardDefaults();
void StartNewGame();
void ResetBoard();
void ShuffleBoard();
void AnnounceBestScore();
void SwapPieces(int column1, int row1, int column2, int row2);
bool IsSolved();
// Starts a game of the given size: faceDown 1, or 0 for open play.
void StartSizedGame(int size, int faceDown);

// The row of the statistics tables for a board size (4, 6, 9, 12, 15, 20),
// or -1 for a size that has none.
int SizeRow(int size);

// Statistics of won games per board size and picture: the record that is
// also the statistics file, the dialog that shows it after a win, and the
// menu item that switches them on and off.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

constexpr int kStatsRows = 6;      // one per board size
constexpr int kStatsColumns = 101; // 0 = all pictures, 1..99 = one picture each

#pragma pack(push, 1)
struct StatsRecord {
  uint32_t gamesWon[kStatsRows][kStatsColumns];
  uint32_t totalMoves[kStatsRows][kStatsColumns];
  uint32_t totalSeconds[kStatsRows][kStatsColumns];
  uint32_t bestSeconds[kStatsRows][kStatsColumns];
  uint32_t bestMoves[kStatsRows][kStatsColumns];
  char pictureNames[100][13];
  uint8_t zero1[14];
  uint32_t useStamps[101];
  uint32_t winCounter;
  uint8_t zero2[16272];
};
#pragma pack(pop)
static_assert(sizeof(StatsRecord) == 30114, "the statistics file is 30114 bytes");

extern StatsRecord Stats;

// The slot (1..99) of the puzzle picture, found by the tail of its path; a
// new picture takes the least recently won slot and its counters.
int FindStatsSlot();
// Adds the game just won (board size lastGameSize, slot statsSlot).
void RecordWin();
// The full-picture statistics dialog ("StatsDialog"): updates the best move
// count, speaks the result and returns when the player closes it.
void ShowStatsDialog(HWND owner);
// The record from and to the statistics file path, whole.  Several games may
// keep statistics in one file: a write merges what this program added since
// it last read or wrote the file into what the file holds now (wins add up,
// bests keep the better), and the record becomes the merged one.  False when
// the file could not be written; the record then keeps what is not saved,
// and the next write tries again.
void ReadStatsFile();
bool WriteStatsFile();
// Tells the player that the statistics file could not be written.
void TellStatsNotSaved(HWND owner);
// An empty record, written in place of whatever the file at the statistics
// file path held (a new statistics file).
bool StartStatsFile();
// Asks for the name of a new statistics file ("GetNameDialog"); on OK sets
// the statistics file path and returns 0, on Cancel returns -1.
int AskName(HWND owner);
// True when the file at `path` has exactly the size of a saved game, which
// shares the statistics files' name ending: it must not be taken (and later
// overwritten) as a statistics file.
bool IsSavedGameFile(const char* path);
// The common open dialog with a "|"-separated filter; 1 and the chosen full
// path in `out` (of `outSize` bytes), or 0 when cancelled.
int AskOpenFileName(char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner);

// Best move count and games won on a board size for a picture slot; 0 when
// nothing is recorded.
uint32_t StatsBestMoves(int boardSize, int slot);
uint32_t StatsGamesWon(int boardSize, int slot);

// The statistics dialog's picture (swpstats.tif of the picture folder), read
// the first time the dialog is painted: most sessions never open the dialog,
// and start-up need not wait for it.  0 when the file is missing or damaged.
HBITMAP StatsPictureBitmap(HWND window);

// The statistics dialog's text lines (0..13) as last filled, and its view:
// 1 = this picture, 0 = all pictures.
const char* StatsDialogLine(int line);
int StatsDialogView();

// Rewrites the statistics toggle item (103) as statsOn says, in one window's
// menu or in both menus.
void RewriteStatsItem(HWND hwnd);
void RefreshStatsMenuItem();

// The statistics record.  Counting, the file and the dialog are not in this
// build yet: a win is not recorded, and every table reads as empty.
#include "puzzle/statistics.h"

#include "puzzle/board.h"

StatsRecord Stats;

int FindStatsSlot() { return 1; }

void RecordWin() {}

void ShowStatsDialog(HWND) {}

void ReadStatsFile() {}

void WriteStatsFile() {}

int AskName(HWND) { return -1; }

int AskOpenFileName(char*, size_t, const char*, const char*, HWND) { return 0; }

static bool InTable(int boardSize, int slot, int* row) {
  *row = SizeRow(boardSize);
  return *row >= 0 && slot >= 0 && slot < kStatsColumns;
}

uint32_t StatsBestMoves(int boardSize, int slot) {
  int row;
  return InTable(boardSize, slot, &row) ? Stats.bestMoves[row][slot] : 0;
}

uint32_t StatsGamesWon(int boardSize, int slot) {
  int row;
  return InTable(boardSize, slot, &row) ? Stats.gamesWon[row][slot] : 0;
}

// Saved games: the board record written to a file whole and read back whole.
// A loaded game never counts for the statistics.
#include "puzzle/saved_games.h"

#include <cstring>
#include <string>

#include "common/play_clock.h"
#include "common/shell_state.h"
#include "puzzle/board.h"
#include "puzzle/file_dialogs.h"
#include "puzzle/statistics.h"


static_assert(sizeof(BoardRecord) == kSavedGameSize, "a saved game is the board record");
// The record is copied to and from the file as it lies in memory.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "saved games are little-endian");

const char kSavedGameFilter[] = "Saved Games (*.sw3)|*.sw3|";

namespace {
// A billion swaps is beyond any player; the clock counts milliseconds in 32
// bits, so no game in progress has been played for longer than this.
constexpr int32_t kMaxSavedMoves = 1000000000;
constexpr uint32_t kMaxSavedSeconds = UINT32_MAX / 1000;
}  // namespace

bool IsPlayableSize(int columns, int rows, int boardSize) {
  return columns == boardSize && rows == boardSize && SizeRow(boardSize) >= 0;
}

bool IsPlayableRecord(const BoardRecord& r) {
  if (!IsPlayableSize(r.columns, r.rows, r.boardSize)) return false;
  if ((r.gameInProgress != 0 && r.gameInProgress != 1) || (r.faceDown != 0 && r.faceDown != 1)) return false;
  // Counts no game can reach: the next swap must not run the move count
  // over, and the time played must fit the tick arithmetic of the clock.
  if (r.moveCount < 0 || r.moveCount > kMaxSavedMoves || r.elapsedSeconds > kMaxSavedSeconds) return false;
  bool seen[kMaxCells * kMaxCells] = {};
  for (int j = 0; j < r.rows; ++j)
    for (int i = 0; i < r.columns; ++i) {
      const int c = r.homeColumn[CellIndex(i, j)], w = r.homeRow[CellIndex(i, j)];
      if (c < 0 || c >= r.columns || w < 0 || w >= r.rows) return false;
      bool& piece = seen[CellIndex(c, w)];
      if (piece) return false;
      piece = true;
    }
  return true;
}

int AskSaveFileName(char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner) {
  return AskFileName(true, out, outSize, filter, initialDir, owner);
}

int SaveGameFile(const char* path) {
  // The time played: a pause under way is not part of it.
  Board->elapsedSeconds = (PlayTicks() - Board->startTicks) / 1000;
  OFSTRUCT of;
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE | OF_SHARE_DENY_READ);
  bool ok = file != HFILE_ERROR;
  if (ok) {
    ok = _lwrite(file, reinterpret_cast<const char*>(Board), kSavedGameSize) == (UINT)kSavedGameSize;
    // Only a file closed complete replaces what the name held before.
    if (_lclose(file) != 0) ok = false;
  }
  if (!ok) {
    // The player goes on believing the game is kept unless told otherwise.
    MessageBoxA(MainWindow, "The game could not be saved to that file.", "Sorry:", MB_OK);
    return 0;
  }
  return 1;
}

int SaveGame() {
  char path[256];
  if (!AskSaveFileName(path, sizeof path, kSavedGameFilter, SavedGameDirectory, MainWindow)) return 0;
  return SaveGameFile(path);
}

int LoadGameFile(const char* path) {
  HFILE file = _lopen(path, OF_READ | OF_SHARE_DENY_WRITE);
  if (file == HFILE_ERROR) return 0;
  // One byte more than a saved game, to tell a longer file.
  static char bytes[kSavedGameSize + 1];
  UINT got = _lread(file, bytes, sizeof bytes);
  _lclose(file);
  BoardRecord loaded;
  bool ok = got == (UINT)kSavedGameSize;
  if (ok) {
    memcpy(&loaded, bytes, kSavedGameSize);
    ok = IsPlayableRecord(loaded);
  }
  if (!ok) {
    // A statistics file has the same extension; nor is a damaged file played.
    MessageBoxA(MainWindow, "This file does not hold a saved game.", "Sorry:", MB_OK);
    return 0;
  }

  *Board = loaded;
  Board->statsOn = 0;
  Board->secondSelected = -1;
  Board->firstSelected = -1;
  // The clock goes on from the time already played.
  ResetPlayClock();
  Board->startTicks = GetTickCount() - Board->elapsedSeconds * 1000u;
  // The board fills the window as it is now, not as it was when saved.
  RECT client;
  if (MainWindow && GetClientRect(MainWindow, &client) && client.right > 0 && client.bottom > 0) {
    Board->boardWidth = client.right - client.left;
    Board->boardHeight = client.bottom - client.top;
  }
  titleScreenFlag = 0;
  RefreshStatsMenuItem();
  InvalidateRect(MainWindow, nullptr, FALSE);
  return 1;
}

int LoadGame() {
  char path[256];
  if (!AskOpenFileName(path, sizeof path, kSavedGameFilter, SavedGameDirectory, MainWindow)) return 0;
  return LoadGameFile(path);
}

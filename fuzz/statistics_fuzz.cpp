// A statistics file as the game reads it, and what a win then does with it:
// the picture's slot, the counters and the statistics dialog.
#include "common/paths.h"
#include "common/shell_state.h"
#include "fuzz/fuzz_game.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = PutInput("fuzz.sw3", data, size);
  CopyText(StatsFilePath, sizeof StatsFilePath, path.c_str());
  IsSavedGameFile(path.c_str());
  ReadStatsFile();
  Board->statsSlot = FindStatsSlot();
  Board->lastGameSize = Board->boardSize;
  Board->moveCount = (int32_t)(size % 500);
  Board->elapsedSeconds = (uint32_t)size;
  RecordWin();
  ShowStatsDialog(MainWindow);
  return 0;
}

// The mine field's high-score file "hfdscore" as the game reads it, and the
// announcement and dialogs of a finished game that use it.
#include "common/shell_state.h"
#include "fuzz/fuzz_game.h"
#include "minefield/field_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutInput("hfdscore", data, size);
  ReadFieldScores();
  // A game that sets no record, so that the file is not written back.
  explosionCount = 1000000;
  gameClock = 0xFFFFFFFFu;
  ScoreFieldGame(MainWindow);
  return 0;
}

// A saved game as Load Game reads it, then a swap on the loaded board.
#include "fuzz/fuzz_game.h"
#include "puzzle/board.h"
#include "puzzle/saved_games.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = PutInput("game.sw3", data, size);
  if (!LoadGameFile(path.c_str())) return 0;
  for (int column : {0, 1}) {
    const RECT cell = CellRect(column, 0);
    ClickMainWindow(cell.left, cell.top, cell.right, cell.bottom);
  }
  return 0;
}

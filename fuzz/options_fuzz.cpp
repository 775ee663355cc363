// The options file "swapster.opt" as start-up reads it.
#include "fuzz/fuzz_game.h"
#include "shell/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutInput("swapster.opt", data, size);
  ReadOptions();
  return 0;
}

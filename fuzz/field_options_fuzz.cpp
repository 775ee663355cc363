// The mine field's options file "hfd.opt" as start-up reads it.
#include "fuzz/fuzz_game.h"
#include "minefield/field_hooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutInput("hfd.opt", data, size);
  ReadFieldOptions();
  return 0;
}

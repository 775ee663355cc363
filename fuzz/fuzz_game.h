// What the fuzz targets share.  Before the first input the game (the build
// the target is linked with) is started once, offscreen and with the test
// hooks answering every question, in a fresh folder under /tmp that is
// removed again when the program ends.  Each target then defines only
// LLVMFuzzerTestOneInput.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input as `name` in the program folder and returns its full path.
// Also forgets what the hooks recorded for the previous input.
std::string PutInput(const char* name, const uint8_t* data, size_t size);

// Clicks the main window in the middle of the given rectangle.
void ClickMainWindow(int left, int top, int right, int bottom);

// What the fuzz targets share: the game started once, offscreen and with the
// test hooks answering every question, in a program folder of its own under
// /tmp; and the input handed to a reader as the file it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the build the target is linked with in a fresh temporary folder,
// which is removed again when the program ends.  Call once, first.
void StartGameForFuzzing();

// Writes the input as `name` in the program folder and returns its full path.
// Also forgets what the hooks recorded for the previous input.
std::string PutInput(const char* name, const uint8_t* data, size_t size);

// Clicks the main window in the middle of the given rectangle.
void ClickMainWindow(int left, int top, int right, int bottom);

// Saving a game in progress to a file and loading it again.
#pragma once

#include <cstddef>

#include "platform/win32.h"

// Both return 1 when a file was written or read, else 0.
int SaveGame();
int LoadGame();
// The common save dialog, set up like the open dialog; 1 and the chosen
// full path, or 0 when cancelled.
int AskSaveFileName(char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner);

// The common open and save dialogs as the game uses them.
#pragma once

#include <cstddef>

#include "platform/win32.h"

// Shows the open (save = false) or save dialog with a "name|pattern|..."
// filter and an initial folder; 1 and the chosen full path in `out`, or 0
// when cancelled.  A path that does not fit `out` is refused, not cut.
int AskFileName(bool save, char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner);

// Saving a game in progress to a file and loading it again.  The file is
// the board record, byte for byte.
#pragma once

#include <cstddef>

#include "platform/win32.h"

struct BoardRecord;

constexpr int kSavedGameSize = 5712;
extern const char kSavedGameFilter[];

// Both return 1 when a file was written or read, else 0.
int SaveGame();
int LoadGame();
// The work of both after the file dialog, with the chosen path.
int SaveGameFile(const char* path);
int LoadGameFile(const char* path);
// The common save dialog, set up like the open dialog; 1 and the chosen
// full path, or 0 when cancelled (or when the path does not fit `out`).
int AskSaveFileName(char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner);

// A board the game can be played on: columns = rows = board size, one of the
// six sizes of the menu.
bool IsPlayableSize(int columns, int rows, int boardSize);
// A record that can be played as it stands: a playable size, flags that are
// 0 or 1, and every piece of the board lying in exactly one cell.
bool IsPlayableRecord(const BoardRecord& record);

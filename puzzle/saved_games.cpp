// Saved games are not in this build yet.
#include "puzzle/saved_games.h"

int SaveGame() { return 0; }
int LoadGame() { return 0; }
int AskSaveFileName(char*, size_t, const char*, const char*, HWND) { return 0; }

// The shell's global state with its start values.
#include "common/shell_state.h"

#include <cstdio>
#include <cstring>

HINSTANCE AppInstance = nullptr;
HWND MainWindow = nullptr;
HWND MenuStrip = nullptr;

char ProgramDirectory[160];
char PictureDirectory[260];
char SavedGameDirectory[176];
char StatsFilePath[200];
char MenuName[16] = "MainMenu";
char PuzzlePicturePath[256];
char BackgroundPath[256];

DWORD soundFlag = 1;
DWORD clockFlag = 1;
DWORD menuNoteFlag = 0;
DWORD stripMode = 1;
DWORD stripReady = 1;
DWORD stripShown = 1;
DWORD titleScreenFlag = 1;
DWORD readyFlag = 0;
DWORD generationInProgress = 0;
DWORD generationCancelRequested = 0;
DWORD leftButtonFlag = 0;
DWORD closeWithoutQuestion = 0;
DWORD quitFlag = 0;
DWORD mainWindowGone = 0;
DWORD stripGone = 0;
LONG clockX = 500;
LONG clockY = 300;

HBITMAP EggBitmap = nullptr;
HBITMAP CardBackBitmap = nullptr;
int CardBackWidth = 0;
int CardBackHeight = 0;
HBITMAP ClockBitmap = nullptr;
HBITMAP ClockMask = nullptr;
HBITMAP StatsBitmap = nullptr;
HBITMAP PuzzleBitmap = nullptr;
HBITMAP BombInstBitmap = nullptr;
HBITMAP BackgroundBitmap = nullptr;
HBITMAP TiledBackgroundBitmap = nullptr;
PictureRecord PuzzlePicture;

const char kProductName[] =
#if GAME_VARIANT == 0
    "Quillon's Swapster, Version 4.1!";
#else
    "Quillon's Hotfield, Version 1.1!";
#endif

void CopyText(char* out, size_t outSize, const char* text) {
  if (!out || outSize == 0) return;
  // The text may be the buffer itself or a part of it: move, never print.
  const char* from = text ? text : "";
  const size_t len = strnlen(from, outSize - 1);
  memmove(out, from, len);
  out[len] = 0;
}

void ProgramPath(char* out, size_t outSize, const char* fileName) {
  if (!out || outSize == 0) return;
  snprintf(out, outSize, "%s%s", ProgramDirectory, fileName ? fileName : "");
}

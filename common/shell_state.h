// The shell's state: flags and paths read by many parts of the game, and the
// pictures held for the whole run.
#pragma once

#include "imaging/picture_library.h"
#include "platform/win32.h"

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern HWND MenuStrip;

extern char ProgramDirectory[160];
extern char PictureDirectory[260];
extern char SavedGameDirectory[176];
extern char StatsFilePath[200];
extern char MenuName[16];
extern char PuzzlePicturePath[256];
extern char BackgroundPath[256];

extern DWORD soundFlag;
extern DWORD clockFlag;
extern DWORD menuNoteFlag;
extern DWORD stripMode;  // 1 full screen with the hidden strip, 0 normal window
extern DWORD stripReady;
extern DWORD stripShown;
extern DWORD titleScreenFlag;
extern DWORD readyFlag;
extern DWORD generationInProgress;
extern DWORD generationCancelRequested;
extern DWORD leftButtonFlag;
extern DWORD closeWithoutQuestion;
extern DWORD quitFlag;
extern DWORD mainWindowGone;
extern DWORD stripGone;
extern LONG clockX;
extern LONG clockY;

extern HBITMAP EggBitmap;
extern HBITMAP CardBackBitmap;
extern int CardBackWidth;
extern int CardBackHeight;
extern HBITMAP ClockBitmap;
extern HBITMAP ClockMask;
extern HBITMAP StatsBitmap;
extern HBITMAP PuzzleBitmap;
extern HBITMAP BombInstBitmap;
extern HBITMAP BackgroundBitmap;
extern HBITMAP TiledBackgroundBitmap;
extern PictureRecord PuzzlePicture;

extern const char kProductName[];

// Joins the program directory and a file name into `out` (cut to fit).
void ProgramPath(char* out, size_t outSize, const char* fileName);
// Copies text into a fixed buffer, cutting it to fit; the text may lie in
// the buffer itself.
void CopyText(char* out, size_t outSize, const char* text);

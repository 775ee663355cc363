// The shell's state: flags and paths read by many parts of the game, with the
// main window and the menu strip.  Below every game folder, so that any of
// them may read it; the pictures held for the whole run are imaging's
// (imaging/game_pictures.h).
#pragma once

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

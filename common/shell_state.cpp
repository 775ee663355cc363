// The shell's global state with its start values.
#include "common/shell_state.h"

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

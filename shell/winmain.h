// Start-up, the message pump and shutdown of the game program.
#pragma once

#include "platform/win32.h"

// The window class and the main window's title.
extern const char kProductName[];
extern const char kFirstRunNote[];

void SetUpDirectories(const char* commandLine);
// Everything before the message loop.  Returns -1 to go on into the loop,
// otherwise the exit code to end with at once.
int StartUp(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
// Window initialisation, right after the main window was created and shown.
void InitMainWindow(HWND hwnd);
// Shutdown, on WM_DESTROY of the main window.
void ShutDown(HWND hwnd);
// Fetches and handles one message; sets the quit flag at the end.  Returns
// the quit message's exit code once it arrives.
int PumpOneMessage();

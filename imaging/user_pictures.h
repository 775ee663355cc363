// Pictures the player chooses: any image file as the puzzle picture, the
// built-in pictures, and (mine-field build) the background and its chooser.
#pragma once

#include <cstddef>

#include "platform/win32.h"

// The open dialog for pictures; `folder` (of `folderSize` bytes) is read as
// the initial folder and receives the chosen file's folder.
int OpenImageDialog(char* out, size_t outSize, const char* filter, char* folder, size_t folderSize, HWND owner);
void OpenUserImage(HWND mainWindow);
void LoadUserImage(HWND hwnd, const char* path, int addToList);
int LoadBackgroundPicture(HWND hwnd, const char* path);
int ChooseBkgDialog(HWND owner);

// Pictures the player chooses: any image file as the puzzle picture, from the
// open dialog, the recent list or the built-in pictures.
#pragma once

#include <cstddef>

#include "imaging/picture_library.h"
#include "platform/win32.h"

// The filter of the open-picture dialog, "|"-separated pairs of description
// and patterns.
extern const char kOpenPictureFilter[];

// Widest puzzle picture, in pixels: a wider one is decoded reduced to it.
constexpr int kUserPictureMaxWidth = (int)kPictureWidestKept;

// The open dialog for pictures; `folder` (of `folderSize` bytes) is read as
// the initial folder and receives the chosen file's folder, ending in a
// separator.  `out` (of `outSize` bytes) receives the chosen path.  Returns 1
// when a file was chosen, 0 when the dialog was cancelled or the path does
// not fit (nothing is written then).
int OpenImageDialog(char* out, size_t outSize, const char* filter, char* folder, size_t folderSize, HWND owner);
// Open Image File: asks for a picture, starting in the picture folder's
// "tilesets" folder on the first use of a run and where the last picture was
// chosen after that, and makes it the puzzle picture.
void OpenUserImage(HWND mainWindow);
// Makes the picture file at `path` the puzzle picture and repaints.  With
// `addToList` set the path heads the recent user-picture list.  A picture
// wider than kUserPictureMaxWidth becomes the puzzle picture reduced to that
// width.  A file that is not a picture or cannot be decoded is refused with a
// message and the previous puzzle picture stays.
void LoadUserImage(HWND hwnd, const char* path, int addToList);
// The mine-field build's background and its chooser live with the mine field.
int LoadBackgroundPicture(HWND hwnd, const char* path);
int ChooseBkgDialog(HWND owner);

// Forgets the folder of the last picture chosen, as at the start of a run.
void ResetUserPictureFolder();

// Makes the puzzle's bitmap for the main window's client area from
// PuzzlePicture.  A picture as large as the client area lends its pixels to
// the bitmap instead of keeping a second copy: on a true-colour screen they
// become the bitmap's pixels at once (PictureToLentBitmap); otherwise the
// bitmap is compared with them (ParkInBitmap) at once or, with park false,
// when ParkPuzzlePicture is called (start-up does it once the title is on the
// screen).
void RemakePuzzleBitmap(HWND hwnd, bool park = true);
void ParkPuzzlePicture();
// Gives PuzzlePicture its own pixels back, for a save.
void TakeBackPuzzlePicture();

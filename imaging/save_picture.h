// Saving a picture to a file in one of the eleven formats of the save dialog.
#pragma once

#include "imaging/picture_library.h"
#include "platform/win32.h"

// Asks for a file and a format and writes the picture.  `savedPath`, when
// given (256 bytes), receives the written file's full path.  Returns 1 when
// the file was written.
int SavePictureDialog(HWND owner, PictureRecord* record, char* savedPath);
// Writes the picture in the format of the dialog's type index 1..11.
int SavePictureByType(const char* path, PictureRecord* record, int typeIndex);

// Saving a picture to a file in one of the eleven formats of the save dialog.
#pragma once

#include "imaging/picture_library.h"
#include "platform/win32.h"

// The filter of the "Save Bitmap File" dialog: eleven "|"-separated pairs of
// description and pattern, in type-index order.
extern const char kSavePictureFilter[];
constexpr int kSavePictureTypes = 11;

// Asks for a file and a format and writes the picture.  `savedPath`, when
// given (256 bytes), receives the written file's full path; a path too long
// for it leaves it as it was.  A save that fails is reported to the player
// and leaves any file of that name as it was.  Returns 1 when the file was
// written.  The dialog opens on the type chosen last in the run.
int SavePictureDialog(HWND owner, PictureRecord* record, char* savedPath);
// Writes the picture in the format of the dialog's type index 1..11.
// Returns the encoder's result, 1 meaning success; an unknown index fails.
int SavePictureByType(const char* path, PictureRecord* record, int typeIndex);

// The type the next save dialog opens on (1..11).
int SavePictureTypeIndex();
// Back to type 1, as at the start of a run.
void ResetSavePictureType();

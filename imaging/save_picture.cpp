// Saving pictures is not in this build yet.
#include "imaging/save_picture.h"

int SavePictureDialog(HWND, PictureRecord*, char*) { return 0; }
int SavePictureByType(const char*, PictureRecord*, int) { return 0; }

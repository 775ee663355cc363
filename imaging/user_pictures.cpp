// User pictures are not in this build yet.
#include "imaging/user_pictures.h"

int OpenImageDialog(char*, size_t, const char*, char*, size_t, HWND) { return 0; }
void OpenUserImage(HWND) {}
void LoadUserImage(HWND, const char*, int) {}
int LoadBackgroundPicture(HWND, const char*) { return 0; }
int ChooseBkgDialog(HWND) { return 0; }

// Pictures the player chooses as the puzzle picture.
#include "imaging/user_pictures.h"
#include "imaging/wait_cursor.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "common/paths.h"
#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"

const char kOpenPictureFilter[] =
    "MOST IMAGES|*.bkg;*.tga;*.pcx;*.cmp;*.mac;*.gif;*.bmp;*.jpg;*.tif;*.pcd;*.jtf|ALL FILES|*.*|TGA|*.tga|"
    "TIF|*.tif|CALS|*.cal|MAC|*.mac|PCT|*.pct|GEM IMG|*.img|RAS|*.ras|WPG|*.wpg|MS Paint|*.msp|"
    "Photo CD|*.pcd|EPS|*.eps|PCX|*.pcx|GIF|*.gif|JPEG|*.jpg;*.jff;*.jtf|";

namespace {

const char kLoadFailed[] = "The image load failed.";
const char kPathTooLong[] =
    "The image load failed: the name of the picture file, with its folder, is longer than 255 characters.";

// The folder Open Image File starts in; empty until its first use in a run.
char userPictureFolder[256];
bool userPictureFolderSet = false;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Decodes the picture file at `path` into `record`; a picture wider than a
// puzzle picture may be comes out reduced to that width.  Returns false, with
// the record empty, when the file is not a picture that can be used.
bool DecodeUsablePicture(const char* path, PictureRecord* record) {
  if (!DecodePictureFile(path, record)) {
    ReleaseRecord(record);
    return false;
  }
  return record->width >= 1 && record->width <= kUserPictureMaxWidth;
}

}  // namespace

void ResetUserPictureFolder() {
  userPictureFolder[0] = 0;
  userPictureFolderSet = false;
}

int OpenImageDialog(char* out, size_t outSize, const char* filter, char* folder, size_t folderSize, HWND owner) {
  if (out == nullptr || outSize == 0) return 0;
  // "desc|pattern|..." becomes the "desc\0pattern\0...\0\0" list the dialog takes.
  std::string pairs = filter ? filter : "";
  for (char& c : pairs)
    if (c == '|') c = 0;
  pairs.push_back(0);

  // The initial folder without its trailing separator; the folder itself is
  // left as it is until a file has been chosen.
  std::string initial = folder ? folder : "";
  if (initial.size() > 1 && IsSeparator(initial.back())) initial.pop_back();

  char file[256] = {0};
  char title[256] = {0};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = initial.c_str();
  ofn.lpstrTitle = nullptr;
  ofn.Flags = OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameA(&ofn)) return 0;

  const size_t length = strnlen(file, sizeof file);
  if (length == 0 || length >= sizeof file || length >= outSize) return 0;
  memcpy(out, file, length + 1);
  if (folder != nullptr && folderSize > 0) {
    size_t cut = length;
    while (cut > 0 && !IsSeparator(file[cut - 1])) --cut;
    // Only a folder that fits whole is remembered; the next dialog then opens
    // in the system's default folder rather than in a wrong one.
    if (cut < folderSize) {
      memcpy(folder, file, cut);
      folder[cut] = 0;
    } else {
      folder[0] = 0;
    }
  }
  return 1;
}

void OpenUserImage(HWND mainWindow) {
  if (!userPictureFolderSet) {
    userPictureFolderSet = true;
    int n = snprintf(userPictureFolder, sizeof userPictureFolder, "%stilesets/", PictureDirectory);
    if (n < 0 || (size_t)n >= sizeof userPictureFolder) userPictureFolder[0] = 0;
  }
  char path[256];
  if (OpenImageDialog(path, sizeof path, kOpenPictureFilter, userPictureFolder, sizeof userPictureFolder,
                      mainWindow))
    LoadUserImage(mainWindow, path, 1);
}

void LoadUserImage(HWND hwnd, const char* path, int addToList) {
  // A blank entry of the recent list names no file.
  if (path == nullptr || path[0] == 0) return;
  // The path is copied first: it may be an entry of the list rewritten below.
  char chosen[sizeof PuzzlePicturePath];
  if (strlen(path) >= sizeof chosen) {
    MessageBoxA(hwnd, kPathTooLong, "Sorry:", MB_OK);
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }
  CopyText(chosen, sizeof chosen, path);

  // Decoded aside first, so that a picture that fails leaves the old one.
  PictureRecord fresh;
  bool decoded;
  {
    WaitCursor wait;
    decoded = DecodeUsablePicture(chosen, &fresh);
  }
  if (!decoded) {
    MessageBoxA(hwnd, kLoadFailed, "Sorry:", MB_OK);
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }

  WaitCursor wait;
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  PuzzlePicture = std::move(fresh);
  CopyText(PuzzlePicturePath, sizeof PuzzlePicturePath, chosen);

  if (addToList) {
    PutAtHead(MenuStrip, chosen, kUserPictureList);
    RewriteList(MainWindow, kUserPictureList);
  }

  RemakePuzzleBitmap(MainWindow);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void RemakePuzzleBitmap(HWND hwnd, bool park) {
  TakeBackPuzzlePicture();  // before the bitmap that holds its pixels goes
  DeleteBitmapSlot(&PuzzleBitmap);
  RECT client = {0, 0, 0, 0};
  GetClientRect(hwnd, &client);
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) PuzzleBitmap = PictureToLentBitmap(&PuzzlePicture, hwnd, client);
  if (park) ParkPuzzlePicture();
}

void ParkPuzzlePicture() { ParkInBitmap(&PuzzlePicture, PuzzleBitmap); }

void TakeBackPuzzlePicture() { TakeFromBitmap(&PuzzlePicture, PuzzleBitmap); }

// The mine-field build has its own background loading and chooser.
int LoadBackgroundPicture(HWND, const char*) { return 0; }
int ChooseBkgDialog(HWND) { return 0; }

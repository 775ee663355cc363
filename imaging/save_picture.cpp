// Saving a picture to a file in one of the eleven formats of the save dialog.
#include "imaging/save_picture.h"
#include "imaging/wait_cursor.h"

#include <cstring>
#include <string>

const char kSavePictureFilter[] =
    "Very small, slow (*.bkg)|*.bkg|PCX 24 bit (*.pcx)|*.pcx|Windows BMP 24 bit (*.bmp)|*.bmp|"
    "JFIF (jpg) (*.jpg)|*.jpg|JTIF (jpg variant)|*.jpg|TIF LZW 24 (*.tif)|*.tif|TIF 24 (*.tif)|*.tif|"
    "GIF (8 bit) (*.gif)|*.gif|TGA 24 (*.tga)|*.tga|OS/2 BMP 24 (*.bmp)|*.bmp|"
    "Macintosh PICTURE 24 (*.pct)|*.pct|";

namespace {

// The quality factor of the lossy types: the library's best.
constexpr int kSaveQuality = 2;

struct SaveType {
  int format;
  int bitsPerPixel;
  int quality;
};

// By type index - 1, in the order of the filter.
const SaveType kSaveTypes[kSavePictureTypes] = {
    {PICTURE_FORMAT_COMPACT, 24, kSaveQuality},
    {PICTURE_FORMAT_PCX, 24, 0},
    {PICTURE_FORMAT_BMP, 24, 0},
    {PICTURE_FORMAT_JPEG, 24, kSaveQuality},
    {PICTURE_FORMAT_JPEG_PROGRESSIVE, 24, kSaveQuality},
    {PICTURE_FORMAT_TIFF_LZW, 24, 0},
    {PICTURE_FORMAT_TIFF, 24, 0},
    {PICTURE_FORMAT_GIF, 8, 0},
    {PICTURE_FORMAT_TGA, 24, 0},
    {PICTURE_FORMAT_OS2_BMP, 24, 0},
    {PICTURE_FORMAT_PICT, 24, 0},
};

// The type chosen last in this run.
int saveTypeIndex = 1;

}  // namespace

int SavePictureTypeIndex() { return saveTypeIndex; }
void ResetSavePictureType() { saveTypeIndex = 1; }

int SavePictureByType(const char* path, PictureRecord* record, int typeIndex) {
  if (typeIndex < 1 || typeIndex > kSavePictureTypes) return PICTURE_BAD_ARGUMENT;
  const SaveType& type = kSaveTypes[typeIndex - 1];
  return EncodeFile(path, record, type.format, type.bitsPerPixel, type.quality);
}

int SavePictureDialog(HWND owner, PictureRecord* record, char* savedPath) {
  if (record == nullptr || !(record->flags & PICTURE_HAS_DATA)) {
    MessageBoxA(owner, "There is no picture to save.", "Sorry:", MB_OK);
    return 0;
  }
  std::string pairs = kSavePictureFilter;
  for (char& c : pairs)
    if (c == '|') c = 0;
  pairs.push_back(0);

  char file[260] = {0};
  char title[260] = {0};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = (DWORD)saveTypeIndex;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = "";
  ofn.lpstrTitle = "Save Bitmap File";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  ofn.lpstrDefExt = nullptr;
  if (!GetSaveFileNameA(&ofn)) return 0;
  if (file[0] == 0 || strnlen(file, sizeof file) >= sizeof file) return 0;

  if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= (DWORD)kSavePictureTypes)
    saveTypeIndex = (int)ofn.nFilterIndex;

  int result;
  {
    WaitCursor wait;
    result = SavePictureByType(file, record, saveTypeIndex);
  }
  if (result != PICTURE_SUCCESS) {
    // The encoder writes to a new file that replaces the old one only when
    // complete, so whatever had this name is still there.
    MessageBoxA(owner, "The picture could not be saved.", "Sorry:", MB_OK);
    return 0;
  }
  // The name is used exactly as chosen, so it is stored whole or not at all.
  if (savedPath != nullptr && strlen(file) < 256) memcpy(savedPath, file, strlen(file) + 1);
  return 1;
}

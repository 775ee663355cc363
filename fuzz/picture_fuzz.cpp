// A picture file as the game takes a puzzle picture: its information first,
// the width limit, the decode, and the screen bitmaps made from it.
#include "common/shell_state.h"
#include "fuzz/fuzz_game.h"
#include "imaging/picture_library.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/user_pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Some readers are chosen by the name alone: the last byte picks one.
  static const char* const kNames[] = {"picture.bkg", "picture.tga", "picture.pct", "picture.mac", "picture.pcd"};
  const std::string path = PutInput(kNames[size ? data[size - 1] % 5 : 0], data, size);
  PictureInfo info;
  if (ReadPictureInfo(path.c_str(), &info) != PICTURE_SUCCESS) return 0;
  if (info.width < 1 || info.width > kUserPictureMaxWidth) return 0;
  PictureRecord record;
  PrepareRecord(&record, info.width, info.height, info.bitsPerPixel);
  if (DecodeFile(path.c_str(), &record, info.bitsPerPixel, info.colorOrder) != PICTURE_SUCCESS) return 0;
  HBITMAP stretched = PictureToBitmap(&record, MainWindow, 0, 0, 64, 48);
  DeleteBitmapSlot(&stretched);
  HBITMAP own = PictureToBitmap(&record, MainWindow, -1, 0, 0, 0);
  DeleteBitmapSlot(&own);
  ReleaseRecord(&record);
  return 0;
}

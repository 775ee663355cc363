// A picture file as the game takes a puzzle picture: its information, the
// decode (reduced when it is wide), and the screen bitmaps made from it.
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
  PrefetchedPicture done;
  DecodeFileAsShown(path.c_str(), &done);
  if (done.infoResult != PICTURE_SUCCESS || done.decodeResult != PICTURE_SUCCESS) return 0;
  PictureRecord& record = done.record;
  if (record.width < 1 || record.width > kUserPictureMaxWidth) __builtin_trap();  // never wider than kept
  HBITMAP stretched = PictureToBitmap(&record, MainWindow, 0, 0, 64, 48);
  DeleteBitmapSlot(&stretched);
  HBITMAP own = PictureToBitmap(&record, MainWindow, -1, 0, 0, 0);
  DeleteBitmapSlot(&own);
  ReleaseRecord(&record);
  return 0;
}

// Pictures from files and resources, and their screen bitmaps.
#include "imaging/pictures.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/wait_cursor.h"
#include "platform/platform.h"

namespace {

// The bytes of a TEXT resource, locked for as long as the object lives.
class PictureResource {
 public:
  explicit PictureResource(LPCSTR name) {
    if (name == nullptr || name[0] == 0) return;
    HRSRC found = FindResourceA(AppInstance, name, "TEXT");
    if (found == 0) return;
    size_ = SizeofResource(AppInstance, found);
    handle_ = LoadResource(AppInstance, found);
    if (handle_ != 0) bytes_ = LockResource(handle_);
    if (bytes_ == nullptr) size_ = 0;
  }
  ~PictureResource() {
    if (handle_ != 0) FreeResource(handle_);
  }
  PictureResource(const PictureResource&) = delete;
  PictureResource& operator=(const PictureResource&) = delete;

  const void* bytes() const { return bytes_; }
  DWORD size() const { return size_; }
  bool found() const { return bytes_ != nullptr && size_ > 0; }

 private:
  HGLOBAL handle_ = 0;
  const void* bytes_ = nullptr;
  DWORD size_ = 0;
};

void EnsureScreenDepth(HWND window) {
  if (colourDepth != 0) return;
  HDC dc = GetDC(window);
  colourDepth = (DWORD)(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES));
  ReleaseDC(window, dc);
}

// On palette screens every picture shares one palette; make it from the fixed
// 256-colour palette the first time it is needed.
void EnsureSharedPalette() {
  if (colourDepth > 8 || SharedPalette != 0) return;
  PictureRecord scratch;
  PrepareRecord(&scratch, 32, 32, 24);
  scratch.pixels.words.assign(32 * 32, 0);
  scratch.flags |= PICTURE_HAS_DATA;
  ConvertDepth(&scratch, 8, 1, nullptr, nullptr);
  SharedPalette = DuplicatePalette(scratch.palette);
  ReleaseRecord(&scratch);
}

// More screen pixels than units: a picture drawn at twice its size shows
// sharper there than its own size enlarged.
bool ScreenIsScaled(HWND window) {
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return dpi > 96;
}

// A picture's twice-size form made into a bitmap of half its size, whose
// screen pixels are resampled from it (at a scale of 2 they are its very
// pixels); the record is let go.  0 when the record holds no picture.
HBITMAP HalfSizeBitmap(PictureRecord* sharp, HWND window, int* width, int* height) {
  const int w = sharp->width / 2, h = sharp->height / 2;
  HBITMAP bitmap = 0;
  if ((sharp->flags & PICTURE_HAS_DATA) && w > 0 && h > 0) bitmap = PictureToBitmap(sharp, window, 0, 0, w, h);
  ReleaseRecord(sharp);
  if (bitmap != 0) {
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
  }
  return bitmap;
}

// On a scaled screen, the embedded picture `name` (without a dot) from its
// twice-size form NAME@2x; 0 on other screens or where there is none.
HBITMAP SharpResourceBitmap(LPCSTR name, HWND window, int* width, int* height) {
  if (!ScreenIsScaled(window)) return 0;
  PictureRecord sharp;
  LoadResourcePicture(&sharp, (std::string(name) + "@2x").c_str());
  return HalfSizeBitmap(&sharp, window, width, height);
}

void SelectSharedPalette(HDC dc, bool realise) {
  if (SharedPalette == 0) return;
  SelectPalette(dc, SharedPalette, FALSE);
  if (realise) RealizePalette(dc);
}

}  // namespace

int DecodePictureFile(LPCSTR path, PictureRecord* record) {
  if (record == nullptr) return 0;
  PrefetchedPicture done;
  if (!TakePrefetchedFile(path, &done)) DecodeFileAsShown(path, &done);
  if (done.infoResult != PICTURE_SUCCESS) return 0;
  *record = std::move(done.record);
  // A file whose header reads but whose pixels do not is no picture either.
  return done.decodeResult == PICTURE_SUCCESS ? 1 : 0;
}

void LoadResourcePicture(PictureRecord* record, LPCSTR name) {
  if (record == nullptr) return;
  PictureResource resource(name);
  PrefetchedPicture prefetched;
  PictureInfo info;
  if (resource.found() && TakePrefetchedMemory(resource.bytes(), resource.size(), false, &prefetched)) {
    if (prefetched.infoResult != PICTURE_SUCCESS) {
      PrepareRecord(record, 0, 0, 0);
      return;
    }
    *record = std::move(prefetched.record);
  } else {
    if (!resource.found() ||
        ReadPictureInfoFromMemory(resource.bytes(), &info, resource.size()) != PICTURE_SUCCESS) {
      PrepareRecord(record, 0, 0, 0);
      return;
    }
    PrepareRecord(record, info.width, info.height, info.bitsPerPixel);
    DecodeMemory(resource.bytes(), record, 0, info.colorOrder, resource.size());
  }
  record->view = {0, 0, record->width, record->height};
}

void PrefetchStartupPictures(LPCSTR path, LPCSTR pictureName, std::initializer_list<LPCSTR> bitmapNames) {
  PictureResource picture(pictureName ? pictureName : "");
  if (picture.found()) PrefetchMemory(picture.bytes(), picture.size(), false);
  for (LPCSTR name : bitmapNames) {
    PictureResource bitmap(name[0] == '.' ? name + 1 : name);
    if (bitmap.found()) PrefetchMemory(bitmap.bytes(), bitmap.size(), true);
  }
  PrefetchFile(path);
}

namespace {
void DeleteWords(void* words) { delete static_cast<std::vector<uint32_t>*>(words); }

// Where a copy would reproduce a decoded picture's words exactly (a true-colour
// screen, no palette, a bitmap of the picture's own size), the words
// themselves become the bitmap's pixels: nothing is copied, and a large
// picture is not held twice.  Returns 0, with the record as it was, otherwise.
HBITMAP BitmapOfOwnWords(PictureRecord* record, int width, int height, bool withPalette) {
  if (colourDepth <= 8 || withPalette || width <= 0 || height <= 0 || width != record->width ||
      height != record->height || !(record->flags & PICTURE_HAS_DATA) ||
      record->pixels.words.size() != (size_t)width * (size_t)height)
    return 0;
  auto* words = new (std::nothrow) std::vector<uint32_t>(std::move(record->pixels.words));
  if (words == nullptr) return 0;
  HBITMAP bitmap = CreateBitmapOverWords(width, height, words->data(), DeleteWords, words);
  if (bitmap == 0) {
    record->pixels.words = std::move(*words);
    delete words;
  }
  return bitmap;
}
}  // namespace

HBITMAP LoadPictureBitmap(LPCSTR name, int* width, int* height, HWND window) {
  EnsureScreenDepth(window);
  EnsureSharedPalette();
  if (name == nullptr) return 0;
  if (HBITMAP sharp = SharpResourceBitmap(name[0] == '.' ? name + 1 : name, window, width, height)) return sharp;
  PictureResource resource(name[0] == '.' ? name + 1 : name);
  if (!resource.found()) return 0;
  WaitCursor wait;

  PictureRecord record;
  PrefetchedPicture prefetched;
  if (TakePrefetchedMemory(resource.bytes(), resource.size(), true, &prefetched)) {
    if (prefetched.infoResult != PICTURE_SUCCESS || prefetched.decodeResult < 0) return 0;
    record = std::move(prefetched.record);
  } else {
    PictureInfo info;
    if (ReadPictureInfoFromMemory(resource.bytes(), &info, resource.size()) != PICTURE_SUCCESS) return 0;
    PrepareRecord(&record, info.width, info.height, info.bitsPerPixel);
    if (DecodeMemory24(resource.bytes(), &record, 24, resource.size()) < 0) return 0;
  }
  record.view = {0, 0, record.width, record.height};

  if (colourDepth == 8)
    record.flags |= PICTURE_PAINT_PALETTE;
  else
    record.flags &= ~PICTURE_PAINT_PALETTE;
  record.paintReserved = 0;

  HDC windowDC = GetDC(window);
  if (record.bitsPerPixel <= 8) {
    if (colourDepth <= 8)
      ReduceForPaletteScreen(&record, 3, (int)colourDepth);
    else
      ConvertDepth(&record, (int)colourDepth, record.colorOrder != 0 ? 4 : 0, nullptr, nullptr);
  }
  if (colourDepth <= 8) {
    if (!(record.bitsPerPixel == (LONG)colourDepth && SharedPalette != 0))
      record.palette = MakePaintPalette(windowDC, &record);
    if (SharedPalette == 0) SharedPalette = DuplicatePalette(record.palette);
    SelectSharedPalette(windowDC, true);
  }
  if (width != nullptr) *width = record.width;
  if (height != nullptr) *height = record.height;

  HBITMAP bitmap = BitmapOfOwnWords(&record, record.width, record.height, false);
  if (bitmap == 0) {
    HDC memory = CreateCompatibleDC(windowDC);
    HPALETTE oldPalette = 0;
    if (colourDepth <= 8 && SharedPalette != 0) oldPalette = SelectPalette(memory, SharedPalette, FALSE);
    bitmap = CreateCompatibleBitmap(windowDC, record.width, record.height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT target = {0, 0, record.width, record.height};
    PaintRecord(window, memory, &record, &target, nullptr, nullptr);
    SelectObject(memory, oldBitmap);
    if (oldPalette != 0) SelectPalette(memory, oldPalette, FALSE);
    DeleteDC(memory);
  }
  ReleaseRecord(&record);
  ReleaseDC(window, windowDC);
  return bitmap;
}

HBITMAP ResourcePictureBitmap(LPCSTR name, HWND window) {
  if (name == nullptr) return 0;
  if (HBITMAP sharp = SharpResourceBitmap(name, window, nullptr, nullptr)) return sharp;
  PictureRecord picture;
  LoadResourcePicture(&picture, name);
  return PictureToBitmap(&picture, window, -1, 0, 0, 0);
}

HBITMAP PictureFileBitmap(LPCSTR path, HWND window) {
  if (path == nullptr) return 0;
  if (ScreenIsScaled(window)) {
    // NAME@2x.EXT beside NAME.EXT.
    std::string sharp = path;
    const size_t dot = sharp.find_last_of('.'), slash = sharp.find_last_of("/\\");
    sharp.insert(dot == std::string::npos || (slash != std::string::npos && dot < slash) ? sharp.size() : dot, "@2x");
    PictureRecord record;
    if (DecodePictureFile(sharp.c_str(), &record))
      if (HBITMAP bitmap = HalfSizeBitmap(&record, window, nullptr, nullptr)) return bitmap;
  }
  PictureRecord record;
  return DecodePictureFile(path, &record) ? PictureToBitmap(&record, window, -1, 0, 0, 0) : 0;
}

namespace {
HBITMAP MakePictureBitmap(PictureRecord* record, HWND window, int left, int right, int bottom, bool lend) {
  if (record == nullptr) return 0;
  const bool ownSize = left == -1;
  const bool hasPicture = (record->flags & PICTURE_HAS_DATA) != 0;
  if (ownSize && !hasPicture) return 0;
  const int width = ownSize ? record->width : right;
  const int height = ownSize ? record->height : bottom;
  if (width <= 0 || height <= 0) return 0;

  WaitCursor wait;
  EnsureScreenDepth(window);
  record->flags |= PICTURE_PAINT_CONVERT;
  record->paintReserved = 0;
  const LONG incomingBits = record->bitsPerPixel;

  HDC windowDC = GetDC(window);
  if (hasPicture) {
    if (colourDepth <= 8) {
      if (record->bitsPerPixel >= 8) ReduceForPaletteScreen(record, 3, (int)colourDepth);
    } else {
      ConvertDepth(record, (int)colourDepth, 4, nullptr, nullptr);
    }
  }
  if (colourDepth <= 8) {
    if (record->bitsPerPixel <= 8 || SharedPalette == 0) {
      HPALETTE paint = MakePaintPalette(windowDC, record);
      if (paint != 0) SharedPalette = paint;
    }
    SelectSharedPalette(windowDC, true);
  }

  const bool withPalette = (colourDepth <= 8 || incomingBits <= 8) && SharedPalette != 0;
  RECT target = {0, 0, width, height};
  if (!ownSize) {
    record->view = target;
    record->flags |= PICTURE_PAINT_STRETCH;
    record->stretchSourceX = record->stretchSourceY = 0;
  }
  // The record's own words are taken only where it is let go or lent anyway.
  HBITMAP bitmap = ownSize || lend ? BitmapOfOwnWords(record, width, height, withPalette) : 0;
  if (bitmap != 0) {
    if (!ownSize) record->flags = (record->flags & ~PICTURE_HAS_DATA) | PICTURE_IN_BITMAP;
  } else {
    HDC memory = CreateCompatibleDC(windowDC);
    HPALETTE oldPalette = 0;
    if (withPalette) oldPalette = SelectPalette(memory, SharedPalette, FALSE);
    bitmap = CreateCompatibleBitmap(windowDC, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    if (hasPicture)
      PaintRecord(window, memory, record, &target, nullptr, nullptr);
    else
      FillRectColor(memory, 0, 0, width, height, RGB(0, 0, 0));  // no picture: a black board
    SelectObject(memory, oldBitmap);
    if (withPalette) SelectPalette(memory, oldPalette, FALSE);
    DeleteDC(memory);
  }
  if (ownSize) ReleaseRecord(record);
  ReleaseDC(window, windowDC);
  return bitmap;
}
}  // namespace

HBITMAP PictureToBitmap(PictureRecord* record, HWND window, int left, int, int right, int bottom) {
  return MakePictureBitmap(record, window, left, right, bottom, false);
}

HBITMAP PictureToLentBitmap(PictureRecord* record, HWND window, const RECT& rect) {
  return MakePictureBitmap(record, window, rect.left, rect.right, rect.bottom, true);
}

namespace {
bool SameSize(PictureRecord* record, HBITMAP bitmap) {
  BITMAP bm = {};
  return bitmap != nullptr && GetObjectA(bitmap, sizeof bm, &bm) == (int)sizeof bm && bm.bmWidth == record->width &&
         bm.bmHeight == record->height;
}
}  // namespace

bool ParkInBitmap(PictureRecord* record, HBITMAP bitmap) {
  if (record == nullptr || (record->flags & PICTURE_IN_BITMAP)) return record != nullptr;
  if (!(record->flags & PICTURE_HAS_DATA) || record->bitsPerPixel != 32 || !SameSize(record, bitmap)) return false;
  const size_t width = (size_t)record->width;
  if (record->pixels.words.size() != width * (size_t)record->height) return false;
  // Compared a band of rows at a time, so that the check itself costs
  // next to no memory.
  std::vector<uint32_t> band(width * 64);
  for (LONG row = 0; row < record->height; row += 64) {
    const UINT count = (UINT)std::min<LONG>(64, record->height - row);
    if (!ReadBitmapWords(bitmap, record->width, record->height, (UINT)row, count, band.data()) ||
        memcmp(band.data(), record->pixels.words.data() + (size_t)row * width, (size_t)count * width * 4) != 0)
      return false;
  }
  std::vector<uint32_t>().swap(record->pixels.words);
  record->flags = (record->flags & ~PICTURE_HAS_DATA) | PICTURE_IN_BITMAP;
  return true;
}

bool TakeFromBitmap(PictureRecord* record, HBITMAP bitmap) {
  if (record == nullptr) return false;
  if (!(record->flags & PICTURE_IN_BITMAP)) return (record->flags & PICTURE_HAS_DATA) != 0;
  record->flags &= ~PICTURE_IN_BITMAP;
  std::vector<uint32_t> words((size_t)record->width * (size_t)record->height);
  if (!SameSize(record, bitmap) ||
      !ReadBitmapWords(bitmap, record->width, record->height, 0, (UINT)record->height, words.data()))
    return false;  // the bitmap is gone: the record stays empty
  record->pixels.words = std::move(words);
  record->flags |= PICTURE_HAS_DATA;
  return true;
}

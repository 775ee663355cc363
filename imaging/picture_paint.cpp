// A picture record painted into a device context, and one captured from it.
#include <vector>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {
// Describes 0x00RRGGBB words, top row first, as device-independent bits.
BITMAPINFO TopDownInfo(LONG width, LONG height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

int PaintRecord(HWND, HDC dc, PictureRecord* record, const RECT* rect, void*, void*) {
  if (dc == nullptr || rect == nullptr || !HoldsPixels(record)) return PICTURE_BAD_ARGUMENT;
  const long width = (long)rect->right - rect->left, height = (long)rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return PICTURE_BAD_ARGUMENT;
  if (!SizeAcceptable(width, height)) return PICTURE_TOO_LARGE;
  BITMAPINFO info = TopDownInfo(record->width, record->height);
  // HALFTONE resamples smoothly (averaging when it shrinks, interpolating
  // when it stretches), straight into the bitmap.
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  StretchDIBits(dc, rect->left, rect->top, width, height, 0, 0, record->width, record->height,
                record->pixels.words.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  return PICTURE_SUCCESS;
}

bool ReadBitmapWords(HBITMAP bitmap, LONG width, LONG height, UINT first, UINT count, uint32_t* words) {
  BITMAPINFO info = TopDownInfo(width, height);
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, first, count, words, &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != (int)count) return false;
  for (size_t i = 0; i < (size_t)width * count; ++i) words[i] &= 0x00FFFFFFu;
  return true;
}

int CapturePicture(HDC dc, PictureRecord* record, const RECT* rect) {
  if (dc == nullptr || record == nullptr || rect == nullptr) return PICTURE_BAD_ARGUMENT;
  const long width = (long)rect->right - rect->left, height = (long)rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return PICTURE_BAD_ARGUMENT;
  if (!SizeAcceptable(width, height)) return PICTURE_TOO_LARGE;
  PrepareRecord(record, width, height, 24);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, rect->left, rect->top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  std::vector<uint32_t> words((size_t)width * height);
  const bool read = ReadBitmapWords(bitmap, width, height, 0, (UINT)height, words.data());
  DeleteObject(bitmap);
  if (!read) {
    PrepareRecord(record, 0, 0, 0);
    return PICTURE_FAILURE;
  }
  record->pixels.words = std::move(words);
  record->flags |= PICTURE_HAS_DATA;
  return PICTURE_SUCCESS;
}

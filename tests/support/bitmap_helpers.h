// Reading screen bitmaps back in tests.
#pragma once

#include "platform/win32.h"

// The colour of one pixel of a bitmap.
inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC memory = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  COLORREF c = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  return c;
}

// A bitmap's size; 0 x 0 for no bitmap.
inline void SizeOf(HBITMAP bitmap, int* width, int* height) {
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof info, &info)) info = BITMAP{};
  *width = info.bmWidth;
  *height = info.bmHeight;
}

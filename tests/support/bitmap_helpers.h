// Reading screen bitmaps back in tests.
#pragma once

#include <cstdint>
#include <vector>

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

// A screen bitmap's pixels as 0x00RRGGBB rows.
inline std::vector<uint32_t> BitmapImage(HBITMAP bitmap, int* width, int* height) {
  std::vector<uint32_t> out;
  *width = *height = 0;
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return out;
  *width = info.bmWidth;
  *height = info.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  out.resize((size_t)info.bmWidth * info.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, (UINT)info.bmHeight, out.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (uint32_t& p : out) p &= 0xFFFFFF;
  return out;
}

// Screen bitmaps and the copy operations on them.
#include "common/shell_state.h"
#include "imaging/screen_bitmaps.h"

#include <algorithm>

DWORD colourDepth = 0;
HPALETTE SharedPalette = 0;

namespace {

// The shared palette is only ever selected on a screen of exactly 8 bits.
bool UsePalette() {
  return colourDepth == 8 && SharedPalette != 0;
}

void BitmapSize(HBITMAP bitmap, int* width, int* height) {
  BITMAP info = {};
  if (bitmap == 0 || GetObjectA(bitmap, sizeof info, &info) == 0) {
    *width = *height = 0;
    return;
  }
  *width = info.bmWidth;
  *height = info.bmHeight;
}

// Cuts a source rectangle at the bitmap's right and bottom edges.  Returns
// false when nothing of it is left (a stretch from an empty or mirrored
// rectangle would draw garbage).
bool CutSource(HBITMAP bitmap, int sourceX, int sourceY, int* sourceWidth, int* sourceHeight) {
  int bitmapWidth, bitmapHeight;
  BitmapSize(bitmap, &bitmapWidth, &bitmapHeight);
  *sourceWidth = std::min(*sourceWidth, bitmapWidth - sourceX);
  *sourceHeight = std::min(*sourceHeight, bitmapHeight - sourceY);
  return sourceX >= 0 && sourceY >= 0 && *sourceWidth > 0 && *sourceHeight > 0;
}

}  // namespace

void MeasureScreenDepth() {
  HDC screen = GetDC(0);
  colourDepth = (DWORD)(GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));
  ReleaseDC(0, screen);
}

void BlitBitmap(HDC dc, HBITMAP source, int x, int y, int width, int height, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight) {
  if (dc == 0 || source == 0 || width <= 0 || height <= 0) return;
  if (!CutSource(source, sourceX, sourceY, &sourceWidth, &sourceHeight)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(memory, source);
  if (UsePalette()) {
    SelectPalette(dc, SharedPalette, FALSE);
    RealizePalette(dc);
  }
  if (sourceWidth == width && sourceHeight == height) {
    BitBlt(dc, x, y, width, height, memory, sourceX, sourceY, SRCCOPY);
  } else {
    if (UsePalette()) SelectPalette(memory, SharedPalette, FALSE);
    StretchBlt(dc, x, y, width, height, memory, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
  }
  SelectObject(memory, oldBitmap);
  DeleteDC(memory);
}

void BlitTransparent(HDC dc, HBITMAP image, HBITMAP mask, int x, int y, int width, int height,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
  if (dc == 0 || image == 0 || mask == 0 || width <= 0 || height <= 0) return;
  if (!CutSource(image, sourceX, sourceY, &sourceWidth, &sourceHeight)) return;
  HDC imageDC = CreateCompatibleDC(dc);
  HDC maskDC = CreateCompatibleDC(dc);
  HGDIOBJ oldImage = SelectObject(imageDC, image);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  if (sourceWidth == width && sourceHeight == height) {
    BitBlt(dc, x, y, width, height, maskDC, sourceX, sourceY, SRCAND);
    BitBlt(dc, x, y, width, height, imageDC, sourceX, sourceY, SRCPAINT);
  } else {
    if (UsePalette()) {
      SelectPalette(dc, SharedPalette, FALSE);
      SelectPalette(imageDC, SharedPalette, FALSE);
      SelectPalette(maskDC, SharedPalette, FALSE);
    }
    StretchBlt(dc, x, y, width, height, maskDC, sourceX, sourceY, sourceWidth, sourceHeight, SRCAND);
    StretchBlt(dc, x, y, width, height, imageDC, sourceX, sourceY, sourceWidth, sourceHeight,
               SRCPAINT);
  }
  SelectObject(imageDC, oldImage);
  SelectObject(maskDC, oldMask);
  DeleteDC(imageDC);
  DeleteDC(maskDC);
}

HBITMAP MakeMaskBitmap(HBITMAP source, int width, int height) {
  HDC windowDC = GetDC(MainWindow);
  HDC sourceDC = CreateCompatibleDC(windowDC);
  HDC maskDC = CreateCompatibleDC(windowDC);
  ReleaseDC(MainWindow, windowDC);
  // Colour to monochrome: pixels of the background colour become 1 (white).
  COLORREF oldBackground = SetBkColor(sourceDC, RGB(0, 0, 0));
  HGDIOBJ oldSource = SelectObject(sourceDC, source);
  // A memory DC starts with a monochrome bitmap, so this one is monochrome.
  HBITMAP mask = CreateCompatibleBitmap(maskDC, width, height);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  BitBlt(maskDC, 0, 0, width, height, sourceDC, 0, 0, SRCCOPY);
  SetBkColor(sourceDC, oldBackground);
  SelectObject(sourceDC, oldSource);
  SelectObject(maskDC, oldMask);
  DeleteDC(sourceDC);
  DeleteDC(maskDC);
  return mask;
}

HBITMAP StretchCopyBitmap(HBITMAP source, int width, int height) {
  HDC screen = GetDC(0);
  HPALETTE oldScreenPalette = 0;
  if (UsePalette()) oldScreenPalette = SelectPalette(screen, SharedPalette, FALSE);
  HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
  if (UsePalette()) SelectPalette(screen, oldScreenPalette, FALSE);
  ReleaseDC(0, screen);
  HDC memory = CreateCompatibleDC(0);
  if (UsePalette()) SelectPalette(memory, SharedPalette, FALSE);
  HGDIOBJ old = SelectObject(memory, copy);
  int sourceWidth, sourceHeight;
  BitmapSize(source, &sourceWidth, &sourceHeight);
  BlitBitmap(memory, source, 0, 0, width, height, 0, 0, sourceWidth, sourceHeight);
  SelectObject(memory, old);
  DeleteDC(memory);
  return copy;
}

HBITMAP ResizeBitmap(HBITMAP bitmap, int width, int height) {
  HBITMAP copy = StretchCopyBitmap(bitmap, width, height);
  if (bitmap != 0) DeleteObject(bitmap);
  return copy;
}

HBITMAP CreateTiledBitmap(HWND window, HBITMAP sheet, int width, int height, int tile) {
  const int kTile = 64;
  tile = ((tile % 25) + 25) % 25;  // a negative number would name no tile at all
  const int tileX = kTile * (tile % 5), tileY = kTile * ((tile / 5) % 5);
  HDC windowDC = GetDC(window);
  HPALETTE oldPalette = 0;
  if (UsePalette()) oldPalette = SelectPalette(windowDC, SharedPalette, FALSE);
  HBITMAP tiled = CreateCompatibleBitmap(windowDC, width, height);
  if (UsePalette()) SelectPalette(windowDC, oldPalette, FALSE);
  HDC memory = CreateCompatibleDC(windowDC);
  ReleaseDC(window, windowDC);
  HGDIOBJ old = SelectObject(memory, tiled);
  for (int y = 0; y < height; y += kTile) {
    const int pieceHeight = std::min(kTile, height - y);
    for (int x = 0; x < width; x += kTile) {
      const int pieceWidth = std::min(kTile, width - x);
      BlitBitmap(memory, sheet, x, y, pieceWidth, pieceHeight, tileX, tileY, pieceWidth, pieceHeight);
    }
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  return tiled;
}

void DeleteBitmapSlot(HBITMAP* slot) {
  if (slot == nullptr) return;
  if (*slot != 0) DeleteObject(*slot);
  *slot = 0;
}

void FillRectColor(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ old = SelectObject(dc, brush);
  RECT rect = {left, top, right, bottom};
  FillRect(dc, &rect, brush);
  SelectObject(dc, old);
  DeleteObject(brush);
}

void SizeWindowClient(HWND window, int x, int y, int clientWidth, int clientHeight, BOOL repaint) {
  MoveWindow(window, x, y, clientWidth, clientHeight, FALSE);
  RECT client = {};
  GetClientRect(window, &client);
  const int gotWidth = client.right - client.left, gotHeight = client.bottom - client.top;
  MoveWindow(window, x, y, 2 * clientWidth - gotWidth, 2 * clientHeight - gotHeight, repaint);
}

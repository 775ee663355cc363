// Screen bitmaps: bitmaps compatible with the display that hold every picture
// the game shows, the one copy operation that puts them on a device context,
// and the helpers that make, stretch, tile and mask them.  Also the screen's
// colour depth and the palette shared by all pictures on palette screens.
#pragma once

#include "platform/win32.h"

// Bits per pixel times colour planes of the screen; 0 until measured.
extern DWORD colourDepth;
// The one palette every picture is drawn through when the screen has 8 bits
// or fewer; 0 otherwise.  Never deleted while the program runs.
extern HPALETTE SharedPalette;

// Measures the screen's colour depth into colourDepth.
void MeasureScreenDepth();

// Copies the source rectangle of `source` onto the destination rectangle.  A
// source rectangle reaching past the bitmap's right or bottom edge is cut
// there; equal sizes are copied 1:1, anything else is stretched.
void BlitBitmap(HDC dc, HBITMAP source, int x, int y, int width, int height, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight);

// Like BlitBitmap, but only where `mask` is black: where the mask is white the
// destination is kept.
void BlitTransparent(HDC dc, HBITMAP image, HBITMAP mask, int x, int y, int width, int height,
                     int sourceX, int sourceY, int sourceWidth, int sourceHeight);

// A monochrome mask of the top-left width x height of `source`: white where the
// source is exactly black (RGB 0, 0, 0), black everywhere else.
HBITMAP MakeMaskBitmap(HBITMAP source, int width, int height);

// A new screen bitmap of width x height holding the whole source stretched.
HBITMAP StretchCopyBitmap(HBITMAP source, int width, int height);
// StretchCopyBitmap, then deletes `bitmap`; store the result in its place.
HBITMAP ResizeBitmap(HBITMAP bitmap, int width, int height);

// A width x height bitmap tiled with tile `tile` of a 320 x 320 sheet of 5 x 5
// tiles of 64 x 64: tile k is at column k mod 5, row (k div 5) mod 5.  Tiles
// at the right and bottom edges show the tile's top-left part.
HBITMAP CreateTiledBitmap(HWND window, HBITMAP sheet, int width, int height, int tile);

// Deletes the bitmap a variable holds, if any, and sets the variable to 0.
void DeleteBitmapSlot(HBITMAP* slot);

// Fills left..right-1, top..bottom-1 with a solid colour.
void FillRectColor(HDC dc, int left, int top, int right, int bottom, COLORREF colour);

// Places a window at (x, y) and sizes it so that its client area is exactly
// clientWidth x clientHeight.
void SizeWindowClient(HWND window, int x, int y, int clientWidth, int clientHeight, BOOL repaint);

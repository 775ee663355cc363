// The three picture generators: each paints a new picture straight onto a
// device context, pixel by pixel, and stops early when asked to (the shell's
// generationCancelRequested, which a generator clears when it stops for it).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

// Where a generator's pixels go: the device context it paints on (the
// game's window), or a plain buffer of 0x00BBGGRR words, `stride` to a row,
// for measuring the generators' own arithmetic.
struct PixelSink {
  HDC dc = 0;
  COLORREF* buffer = nullptr;
  int stride = 0;
  PixelSink(HDC surface) : dc(surface) {}
  PixelSink(COLORREF* words, int rowLength) : buffer(words), stride(rowLength) {}
  void Set(int x, int y, COLORREF colour) const {
    if (buffer)
      buffer[(size_t)y * stride + x] = colour;
    else
      SetPixel(dc, x, y, colour);
  }
  // Shows what has been painted so far (a device context only).
  void Show() const;
};

void GenerateLandscape(PixelSink surface, int width, int height);
void GenerateMultiColorLandscape(PixelSink surface, int width, int height);
void GenerateBandedFractal(PixelSink surface, int re0, int im0, int re1, int im1, int width, int height, int left,
                           int top, int right, int bottom);

// ---------------------------------------------------------------- landscape
// A square height map of 513 x 513 heights, row by row: (x, y) is at
// y * kMapSide + x.
constexpr int kMapSide = 513;
constexpr int kMapCells = kMapSide * kMapSide;

// Fills a zeroed map by midpoint displacement from `seed`.
void BuildHeightMap(BYTE* map, DWORD seed);
// Sets (x, y) to the displaced midpoint of the end heights a and b; the value
// depends only on the arguments, never on the random state before the call.
void DisplaceMidpoint(BYTE* map, DWORD seed, int size, int x, int y, int a, int b);
// Draws a width x height landscape from the shape map and the tint map.
void RenderLandscape(const BYTE* shape, const BYTE* tint, PixelSink surface, int width, int height);
// Each channel times num / den; unchanged on screens of fewer than 4 bits.
COLORREF ScaleColor(COLORREF colour, int num, int den);
// The unshaded colour of a point of shape height h; m (the mean of both maps)
// only tints the water.
COLORREF LandscapeBandColor(int h, int m);

// ---------------------------------------------------------------- multi-colour landscape
// The depth rows of the multi-colour landscape.  They outlast a picture: the
// rows below the picture's height start the next picture where this one left
// them.
struct MultiColorRows {
  std::vector<int32_t> red, green, blue;
  std::vector<int8_t> drift;
};
extern MultiColorRows MultiColorState;

// ---------------------------------------------------------------- banded fractal
// One of the fractal's 100 interlaced passes: every pixel of the rectangle at
// row offset rowOffset and column offset columnOffset (0..9) of a 10 x 10 grid.
void PaintBandedPass(PixelSink surface, int re0, int im0, int re1, int im1, int width, int height, int left,
                     int top, int right, int bottom, int rowOffset, int columnOffset);
COLORREF BandedPixelColor(double re, double im);
COLORREF BandColor(double s, int n);

// Paints the picture of generator command 116 (multi-colour landscape), 117
// (landscape) or 118 (banded fractal, its plane drawn from the program's
// random generator) over a width x height surface, with the desktop's input
// only raising the cancel flag meanwhile.
void PaintGeneratedPicture(HDC surface, unsigned command, int width, int height);

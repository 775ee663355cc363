// The landscape generator: two height maps made by midpoint displacement, the
// shape map giving every point its colour band and height on the screen, the
// tint map shading the water; drawn column by column from the far hills to
// the water in front.
#include <memory>
#include <new>

#include "common/random.h"
#include "common/shell_state.h"
#include "generators/generators.h"
#include "generators/paint.h"
#include "imaging/screen_bitmaps.h"

void DisplaceMidpoint(BYTE* map, DWORD seed, int size, int x, int y, int a, int b) {
  // Reseeding from the point itself makes an edge shared by two squares come
  // out the same both times it is computed.
  SeedRandom(seed + (DWORD)size + (DWORD)x + (DWORD)y + (DWORD)a + (DWORD)b);
  const int h = size / 2;
  int r = Draw(h);
  r -= Draw(h);
  r -= Draw(h);
  r += Draw(h);
  if (size > 200) r %= 256;  // keeps the sign
  r = 2 * r / 3;
  map[y * kMapSide + x] = (BYTE)Clamp(r + (a + b) / 2, 0, 255);
}

void BuildHeightMap(BYTE* map, DWORD seed) {
  auto at = [map](int x, int y) -> int { return map[y * kMapSide + x]; };
  SeedRandom(seed);
  // High at the back, low at the front.
  map[0] = (BYTE)(134 + Draw(4));
  map[512] = (BYTE)(134 + Draw(4));
  map[512 * kMapSide] = (BYTE)(44 + Draw(64));
  map[512 * kMapSide + 512] = (BYTE)(44 + Draw(64));
  for (int step = 512; step > 1; step /= 2) {
    for (int x0 = 0; x0 < 512; x0 += step) {
      for (int y0 = 0; y0 < 512; y0 += step) {
        const int x1 = x0 + step, y1 = y0 + step, xm = x0 + step / 2, ym = y0 + step / 2;
        DisplaceMidpoint(map, seed, step, xm, y0, at(x0, y0), at(x1, y0));
        DisplaceMidpoint(map, seed, step, xm, y1, at(x0, y1), at(x1, y1));
        DisplaceMidpoint(map, seed, step, x0, ym, at(x0, y0), at(x0, y1));
        DisplaceMidpoint(map, seed, step, x1, ym, at(x1, y0), at(x1, y1));
        DisplaceMidpoint(map, seed, step, xm, ym, at(xm, y0), at(xm, y1));
      }
    }
  }
}

COLORREF ScaleColor(COLORREF colour, int num, int den) {
  if (colourDepth < 4) return colour;
  return RGB(GetRValue(colour) * num / den, GetGValue(colour) * num / den, GetBValue(colour) * num / den);
}

COLORREF LandscapeBandColor(int h, int m) {
  if (h < 60) {  // water
    const int q = 100 - (h + 2 * m) / 8;
    return RGB(q, q, 255);
  }
  if (h < 63) return RGB(255, 255, 0);                         // sand
  if (h < 68) return RGB(0, (BYTE)(h % 16 - 17), 0);            // bright grass
  if (h < 90) return RGB((6 * h - 384) / 9 + 32, h + 32, (6 * h - 204) / 9);  // forest
  if (h < 105) return RGB(3 * h / 2, 3 * h / 2, 0);
  if (h < 127) return RGB(h / 2, h, 0);
  if (h < 191) return RGB(h / 4, 2 * h / 3, 0);
  return RGB(h / 4 + 190, h / 4 + 190, h / 4 + 190);  // snow
}

void RenderLandscape(const BYTE* shape, const BYTE* tint, PixelSink surface, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const int depth = height + 330;
  for (int x = 0; x < width; ++x) {
    if (generationCancelRequested) {
      generationCancelRequested = 0;
      return;
    }
    int pen = 0;
    const int mx = kMapSide * x / width;
    for (int k = 0; k < depth; ++k) {
      const int my = kMapSide * k / depth;
      const int cell = my * kMapSide + mx;
      const int h = shape[cell];
      COLORREF colour = LandscapeBandColor(h, (shape[cell] + tint[cell]) / 2);
      if (h >= 60) {
        // Points under higher ground to the left and behind lie in shadow now
        // and then; a few are darkened at random, and every other band of
        // four heights a little, which gives the slopes their texture.
        if (mx > 0 && my > 0 && Draw(2) == 1 && shape[cell - 1] > h && shape[cell - kMapSide] > h)
          colour = ScaleColor(colour, 9, 10);
        if (Draw(4) == 1) colour = ScaleColor(colour, 12, 13);
        if ((h / 4) % 2 == 1) colour = ScaleColor(colour, 15, 16);
      }
      // Nearer ground standing higher on the screen covers what lies behind.
      const int y = Clamp(k + 96 - h, 0, height);
      if (y >= pen) PaintSpan(surface, x, pen, y, height, colour);
      pen = y;
    }
    surface.Show();
  }
}

void GenerateLandscape(PixelSink surface, int width, int height) {
  std::unique_ptr<BYTE[]> shape(new (std::nothrow) BYTE[kMapCells]());
  std::unique_ptr<BYTE[]> tint(new (std::nothrow) BYTE[kMapCells]());
  if (!shape || !tint) return;  // no memory: the picture stays as it was
  BuildHeightMap(shape.get(), GetTickCount());
  BuildHeightMap(tint.get(), GetTickCount());
  RenderLandscape(shape.get(), tint.get(), surface, width, height);
}

// The picture generators: reproducibility, colours, painting order, cancel, odd sizes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "common/random.h"
#include "common/shell_state.h"
#include "generators/generators.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "support/game_fixture.h"

namespace {
constexpr uint32_t kBlank = 0x010203;  // no generator paints this colour
uint32_t Rgb(int r, int g, int b) { return ((uint32_t)r << 16) | ((uint32_t)g << 8) | (uint32_t)b; }

struct Canvas {
  HDC dc;
  HBITMAP bitmap, old;
  Canvas(int w, int h) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) SetPixel(dc, x, y, RGB(1, 2, 3));
  }
  ~Canvas() { SelectObject(dc, old), DeleteObject(bitmap), DeleteDC(dc); }
  std::vector<uint32_t> Pixels() const { int w, h; return BitmapImage(bitmap, &w, &h); }
  uint32_t At(int x, int y) const { return ToRgbWord(GetPixel(dc, x, y)); }
  int Blank(int x0, int x1, int h) const {  // in columns x0..x1-1
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = x0; x < x1; ++x) n += At(x, y) == kBlank;
    return n;
  }
};
}  // namespace

TEST(LandscapeMap, SameSeedSameMapHighBehindLowInFront) {
  std::vector<BYTE> a(kMapCells), b(kMapCells);
  BuildHeightMap(a.data(), 0xFFFFFFF0u);
  SeedRandom(5);  // the state before does not matter
  BuildHeightMap(b.data(), 0xFFFFFFF0u);
  ASSERT_EQ(a, b);
  for (int corner : {0, 512}) EXPECT_TRUE(a[corner] >= 134 && a[corner] <= 137) << (int)a[corner];
  for (int corner : {512 * kMapSide, kMapCells - 1}) EXPECT_TRUE(a[corner] >= 44 && a[corner] <= 107);
  int highest = 0;  // large squares move their midpoint by at most 2/3 of 255
  for (DWORD seed = 0; seed < 2000; ++seed) {
    DisplaceMidpoint(a.data(), seed, 768, 1, 0, 0, 0);
    if (a[1] > highest) highest = a[1];
  }
  EXPECT_TRUE(highest > 100 && highest <= 170) << highest;
}

TEST(LandscapeBands, EdgesAndWaterTint) {
  const struct { int h, m; uint32_t rgb; } bands[] = {
      {0, 0, Rgb(100, 100, 255)}, {59, 157, Rgb(54, 54, 255)}, {60, 0, Rgb(255, 255, 0)}, {62, 0, Rgb(255, 255, 0)},
      {63, 0, Rgb(0, 254, 0)},    {64, 0, Rgb(0, 239, 0)},     {68, 0, Rgb(34, 100, 22)}, {89, 0, Rgb(48, 121, 36)},
      {90, 0, Rgb(135, 135, 0)},  {105, 0, Rgb(52, 105, 0)},   {127, 0, Rgb(31, 84, 0)},  {190, 0, Rgb(47, 126, 0)},
      {191, 0, Rgb(237, 237, 237)}, {255, 0, Rgb(253, 253, 253)}};
  for (const auto& b : bands) EXPECT_EQ(ToRgbWord(LandscapeBandColor(b.h, b.m)), b.rgb) << b.h;
}

TEST(LandscapeRender, NearerGroundCoversWhatLiesBehind) {
  const DWORD savedDepth = colourDepth;
  generationCancelRequested = 0;  // as a generator's start clears what clicks and commands left
  colourDepth = 1;  // unshaded
  std::vector<BYTE> shape(kMapCells), tint(kMapCells);
  // 100 rows: steps 0..215 of 430 on map rows 0..256.  Snow behind (250) stays above the top for
  // 155 steps, then fills rows 0..60; snow in front rises over the forest (70) behind from row 62.
  const int cases[2][3] = {{250, 70, 61}, {70, 250, 62}};  // back, front, first row of front
  for (const auto& c : cases) {
    const int back = c[0], front = c[1], edge = c[2];
    for (int i = 0; i < kMapCells; ++i) shape[i] = (BYTE)(i / kMapSide < 257 ? back : front);
    Canvas canvas(9, 100);
    RenderLandscape(shape.data(), tint.data(), canvas.dc, 9, 100);
    for (int y : {0, edge - 1, edge, 99})
      EXPECT_EQ(canvas.At(8, y), ToRgbWord(LandscapeBandColor(y < edge ? back : front, 0))) << y;
  }
  colourDepth = savedDepth;
}

TEST(Generators, SameStateSamePictureAnySizeAndCancel) {
  const std::function<void(HDC, int, int)> generators[] = {
      GenerateLandscape, GenerateMultiColorLandscape,
      [](HDC dc, int w, int h) { GenerateBandedFractal(dc, 3, 4, 900, 1200, w, h, 0, 0, w, h); }};
  const MultiColorRows saved = MultiColorState;
  auto run = [&](int g, const Canvas& c, int w, int h, uint32_t before) {
    MultiColorState = saved;
    SeedRandom(before);
    TestSetTicks(5000);
    generators[g](c.dc, w, h);
  };
  TestSetTickStep(0);
  for (int g = 0; g < 3; ++g) {
    const int firstFull = g == 1 ? 1 : 0;  // the multi-colour column 0 may keep gaps
    for (auto [w, h] : {std::make_pair(1, 1), std::make_pair(7, 5), std::make_pair(600, 9), std::make_pair(3, 1400)}) {
      Canvas first(w, h), second(w, h);
      run(g, first, w, h, 1);
      run(g, second, w, h, 1);
      EXPECT_EQ(first.Pixels(), second.Pixels()) << g << ": " << w << "x" << h;
      EXPECT_EQ(first.Blank(firstFull, w, h), 0) << g << ": " << w << "x" << h;
      if (g == 1 && w > 8) {  // the farthest row's colour is drawn before the reseed
        run(g, second, w, h, 2);
        EXPECT_NE(first.Pixels(), second.Pixels());
      }
    }
    Canvas c(20, 40);
    generationCancelRequested = 1;
    run(g, c, 20, 40, 1);
    EXPECT_EQ(generationCancelRequested, 0u);
    EXPECT_EQ(c.Blank(firstFull, 20, 40), (20 - firstFull) * 40) << g;
  }
}

TEST(Fractal, BandsWorkedPointsFirstPassAndOnePixelWide) {
  // 3 x 0.125 = 0.375: V = 96, V' = 159.  n = 9 is the red-only row.
  const uint32_t want[13] = {0, Rgb(0, 96, 0), Rgb(0, 0, 96), Rgb(96, 96, 0), Rgb(0, 96, 96), Rgb(96, 0, 96),
      Rgb(96, 96, 96), Rgb(159, 96, 96), Rgb(159, 96, 0), Rgb(96, 0, 0), Rgb(0, 96, 0), Rgb(0, 0, 96), Rgb(96, 96, 0)};
  for (int n = 1; n <= 12; ++n) EXPECT_EQ(ToRgbWord(BandColor(0.125, n)), want[n]) << n;
  EXPECT_EQ(ToRgbWord(BandColor(-0.4 / 3, 7)), Rgb(101, 154, 154));  // -102.4 wraps to 154
  EXPECT_EQ(ToRgbWord(BandColor(std::nan(""), 7)), 0u);
  // ln e = 1, ln 1 = 0: r = 1 stops the map at once; 3 sin 1 = 2.524...
  EXPECT_EQ(ToRgbWord(BandedPixelColor(std::exp(1.0), 1.0)), Rgb(0, 134, 0));
  // ln 1 = 0 folds to 0, whose logarithm breaks the second step: black.
  EXPECT_EQ(ToRgbWord(BandedPixelColor(1.0, 20.0)), 0u);
  // The first pass paints one corner of every 10 x 10 block.
  Canvas c(37, 23);
  PaintBandedPass(c.dc, 3, 4, 900, 1200, 37, 23, 0, 0, 37, 23, 0, 0);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(c.At(x, y) != kBlank, x % 10 == 0 && y % 10 == 0) << x << "," << y;
  GenerateBandedFractal(c.dc, 7, 9, 600, 700, 1, 12, 0, 0, 1, 12);  // one pixel wide
  EXPECT_EQ(c.At(0, 0), ToRgbWord(BandedPixelColor(7, 9)));
  EXPECT_EQ(c.At(0, 11), ToRgbWord(BandedPixelColor(7, 700)));
}

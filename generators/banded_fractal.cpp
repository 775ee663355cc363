// The banded fractal: every pixel stands for a point of a rectangle of the
// plane; a short iterated logarithm map runs on the point, and the number of
// steps it takes picks a hue while the sine of its last distance from the
// origin picks the place within a band of rising intensity.
#include <cmath>

#include "common/shell_state.h"
#include "generators/generators.h"

static constexpr double kFold = 2.8;
static constexpr int kMaxSteps = 12;
static constexpr int kSpacing = 10;  // passes interlace on a 10 x 10 grid

// The low byte of v cut toward zero: -102.4 gives 154.
static int Channel(double v) { return (int)(long long)v & 0xFF; }

COLORREF BandColor(double s, int n) {
  const double f = std::fmod(3.0 * s, 1.0);
  // A point whose iteration broke down carries no number: black.
  if (!std::isfinite(f)) return RGB(0, 0, 0);
  const int v = Channel(256.0 * f);
  const int w = Channel(255.0 - 256.0 * f);
  switch (n % 9) {
    case 0: return RGB(v, 0, 0);
    case 1: return RGB(0, v, 0);
    case 2: return RGB(0, 0, v);
    case 3: return RGB(v, v, 0);
    case 4: return RGB(0, v, v);
    case 5: return RGB(v, 0, v);
    case 6: return RGB(v, v, v);
    case 7: return RGB(w, v, v);
    default: return RGB(w, v, 0);
  }
}

COLORREF BandedPixelColor(double re, double im) {
  double a = re, b = im, r = 0.0, w = 0.0;
  int n = 0;
  do {
    const double u = std::log(a), v = std::log(b);
    r = std::sqrt(u * u + v * v);
    w = std::fabs(std::log(r));
    a = std::fmod(std::fabs(u), kFold);
    b = std::fmod(std::fabs(v), kFold);
    ++n;
    w = std::sqrt(w - std::floor(w));
  } while (w > 0.2 && w < 0.8 && n < kMaxSteps);
  return BandColor(std::sin(r), n);
}

namespace {
// Pixel to point.  A picture one pixel wide or high shows the rectangle's
// first edge only.
struct PlaneScale {
  double re0, im0, reStep, imStep;
  PlaneScale(int re0_, int im0_, int re1, int im1, int width, int height)
      : re0(re0_),
        im0(im0_),
        reStep(width > 1 ? (double)(re1 - re0_) / (width - 1) : 0.0),
        imStep(height > 1 ? (double)(im1 - im0_) / (height - 1) : 0.0) {}
};
}  // namespace

static void PaintPass(const PixelSink& surface, const PlaneScale& p, int right, int bottom, int firstRow, int firstColumn) {
  for (int y = firstRow; y < bottom; y += kSpacing) {
    const double im = p.im0 + y * p.imStep;
    for (int x = firstColumn; x < right; x += kSpacing)
      surface.Set(x, y, BandedPixelColor(p.re0 + x * p.reStep, im));
  }
}

void PaintBandedPass(PixelSink surface, int re0, int im0, int re1, int im1, int width, int height, int left, int top,
                     int right, int bottom, int rowOffset, int columnOffset) {
  PaintPass(surface, PlaneScale(re0, im0, re1, im1, width, height), right, bottom, top + rowOffset,
            left + columnOffset);
}

void GenerateBandedFractal(PixelSink surface, int re0, int im0, int re1, int im1, int width, int height, int left,
                           int top, int right, int bottom) {
  const PlaneScale plane(re0, im0, re1, im1, width, height);
  // One pixel of every 10 x 10 block per pass, so the whole picture shows at
  // once, coarse at first, and then fills in.
  for (int i = 0; i < kSpacing; ++i) {
    for (int j = 0; j < kSpacing; ++j) {
      if (generationCancelRequested) {
        generationCancelRequested = 0;
        return;
      }
      PaintPass(surface, plane, right, bottom, top + i, left + j);
      surface.Show();
    }
  }
}

// The multi-colour landscape: no height map, only one colour per depth row
// that wanders at random from one screen column to the next and is smoothed
// against the neighbouring rows.  A row's brightness is its height, so bright
// rows stand up as hills and dark rows lie flat as water.
#include <algorithm>
#include <cstdlib>

#include "common/random.h"
#include "common/shell_state.h"
#include "generators/generators.h"
#include "generators/paint.h"

// Enough for pictures 1270 pixels high; taller ones grow the rows.
static constexpr size_t kDefaultRows = 1600;

MultiColorRows MultiColorState;

// Pattern values added now and then, in a 16 x 16 table whose first row and
// first column stay 0.
static int8_t g_pattern[16][16];

static void MakeRoom(size_t rows) {
  rows = std::max(rows, kDefaultRows);
  MultiColorRows& s = MultiColorState;
  if (s.red.size() >= rows && s.drift.size() >= rows) return;
  s.red.resize(rows, 0);
  s.green.resize(rows, 0);
  s.blue.resize(rows, 0);
  s.drift.resize(rows, 0);
}

// The pattern value at a flat position of the table.  Positions past its end
// read 0.
static int PatternAt(int position) {
  return position >= 0 && position < 256 ? g_pattern[position / 16][position % 16] : 0;
}

// Brightness: darkest rows are water, tinted by how dark they are.
static COLORREF RowColour(int red, int green, int blue) {
  const int s = red + green + blue;
  if (s < 192) {
    const int q = 100 - s / 8;
    return RGB(q, q, 255);
  }
  return RGB(red, green, blue);
}

static void SmoothRow(std::vector<int32_t>& c, int k, int height) {
  if (k < 2)
    c[k] = (c[k + 1] + 3 * c[k]) / 3;  // the farthest rows brighten
  else if (k <= height - 3)
    c[k] = ((c[k + 1] + c[k - 1] + 3 * c[k]) * 2 + c[k + 2] + c[k - 2]) / 12;
  else
    c[k] = (c[k - 1] + 2 * c[k]) / 4;  // the nearest darken into water
}

void GenerateMultiColorLandscape(PixelSink surface, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const int depth = height + 330;
  MakeRoom((size_t)depth);
  std::vector<int32_t>& red = MultiColorState.red;
  std::vector<int32_t>& green = MultiColorState.green;
  std::vector<int32_t>& blue = MultiColorState.blue;
  std::vector<int8_t>& drift = MultiColorState.drift;

  // The farthest row's colour comes from the generator as play left it.
  red[0] = 64 + Draw(128);
  green[0] = 64 + Draw(128);
  blue[0] = 64 + Draw(128);
  SeedRandom(GetTickCount());
  for (int row = 1; row < 16; ++row)
    for (int col = 1; col < 16; ++col) g_pattern[row][col] = (int8_t)(Draw(3) - 1);

  // Column 0: a random walk down the rows, painted as it is.
  for (int k = 1; k < height; ++k) {
    red[k] = Clamp(red[k - 1] + Draw(11) - 5, 0, 255);
    green[k] = Clamp(green[k - 1] + Draw(11) - 5, 0, 255);
    blue[k] = Clamp(blue[k - 1] + Draw(11) - 5, 0, 255);
  }
  int pen = 0;
  for (int k = 1; k < height; ++k) {
    const int s = red[k] + green[k] + blue[k];
    const int y = Clamp(k + 96 - s / 3, 0, height);
    if (y >= pen) PaintSpan(surface, 0, pen, y, height, RGB(red[k], green[k], blue[k]));
    pen = y;
  }

  // Each row drifts one way for a while (about 30 rows) and then another.
  int d = Draw(3) - 1;
  drift[0] = 0;
  for (int k = 1; k < depth; ++k) {
    drift[k] = drift[k - 1];
    if (Draw(30) == 0) drift[k] = (int8_t)(Draw(3) - 1);
  }
  surface.Show();

  const int patternSpan = std::min(width, depth);
  for (int x = 1; x < width; ++x) {
    if (Draw(30) == 0) d = Draw(3) - 1;
    pen = 0;
    for (int k = 0; k < depth; ++k) {
      if (generationCancelRequested) {
        generationCancelRequested = 0;
        return;
      }
      int t = 0;
      if (Draw(2) == 0) {
        const int row = 16 * (x + k) / (width + height + 330);
        const int col = 16 * std::abs(k - x) / patternSpan;
        t = PatternAt(16 * row + col);
      }
      const int e = (k % 2 == 1 && x % 2 == 1) ? 0 : d;
      const int push = drift[k] * e + t;
      for (std::vector<int32_t>* channel : {&red, &green, &blue}) {
        int change = Draw(3);
        change += Draw(3);
        change += Draw(11);
        (*channel)[k] += change - 6 + push;
      }
      for (std::vector<int32_t>* channel : {&red, &green, &blue}) {
        SmoothRow(*channel, k, height);
        (*channel)[k] = Clamp((*channel)[k], 0, 255);
      }
      const int s = red[k] + green[k] + blue[k];
      const int y = Clamp(k + 96 - s / 3, 0, height);
      if (y >= pen) PaintSpan(surface, x, pen, y, height, RowColour(red[k], green[k], blue[k]));
      pen = y;
    }
    surface.Show();
  }
}

// Running one generator over the whole board.
#include "common/random.h"
#include "common/shell_state.h"
#include "generators/generators.h"
#include "platform/platform.h"

void PixelSink::Show() const {
  if (!buffer) FlushScreen();
}

void PaintGeneratedPicture(HDC dc, unsigned command, int w, int h) {
  SetGenerationInput(&generationCancelRequested);
  if (command == 117) {
    GenerateLandscape(dc, w, h);
  } else if (command == 116) {
    GenerateMultiColorLandscape(dc, w, h);
  } else {
    // The fractal's plane: drawn in this order, without reseeding.
    int im1 = 500 + (int)RandomBelow(5000);
    int re1 = 500 + (int)RandomBelow(5000);
    int im0 = 1 + (int)RandomBelow(500);
    int re0 = 1 + (int)RandomBelow(500);
    GenerateBandedFractal(dc, re0, im0, re1, im1, w, h, 0, 0, w, h);
  }
  SetGenerationInput(nullptr);
}

// Small helpers shared by the generators.
#pragma once

#include "common/random.h"
#include "generators/generators.h"

namespace {

// A whole number 0..n-1 from the program's random generator.
inline int Draw(int n) { return (int)RandomBelow((uint32_t)n); }

inline int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// Paints (x, top) .. (x, bottom) inclusive; rows from `height` on lie past
// the surface and are left out.
inline void PaintSpan(const PixelSink& surface, int x, int top, int bottom, int height, COLORREF colour) {
  if (bottom >= height) bottom = height - 1;
  for (int y = top; y <= bottom; ++y) surface.Set(x, y, colour);
}

}  // namespace

// The three picture generators: each paints a new picture straight onto a
// device context, pixel by pixel, and stops early when asked to.
#pragma once

#include "platform/win32.h"

void GenerateLandscape(HDC surface, int width, int height);
void GenerateMultiColorLandscape(HDC surface, int width, int height);
void GenerateBandedFractal(HDC surface, int re0, int im0, int re1, int im1, int width, int height, int left,
                           int top, int right, int bottom);

// The generators are not in this build yet.
#include "generators/generators.h"

void GenerateLandscape(HDC, int, int) {}
void GenerateMultiColorLandscape(HDC, int, int) {}
void GenerateBandedFractal(HDC, int, int, int, int, int, int, int, int, int, int) {}

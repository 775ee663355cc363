// The program's one pseudo-random generator.
#include "common/random.h"

static uint32_t g_randomState = 0;

void SeedRandom(uint32_t seed) { g_randomState = seed; }

uint32_t NextRandom() {
  g_randomState = g_randomState * 214013u + 2531011u;
  return (g_randomState >> 16) & 0x7FFFu;
}

uint32_t RandomBelow(uint32_t n) { return (NextRandom() * n) >> 15; }

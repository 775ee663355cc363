// The program's one pseudo-random generator, shared by the shuffle, the
// clock's dodges, the generators and the mine field.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);
// The next number, 0..32767.
uint32_t NextRandom();
// A number 0..n-1 from the next one.
uint32_t RandomBelow(uint32_t n);

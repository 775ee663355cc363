// Numbers and durations spoken from recorded words.
#pragma once

#include <cstdint>

void LoadNumberWords();
void FreeNumberWords();
void SayBelow100(int32_t value);
void SayBelow1000(int32_t value);
void SayNumber(int32_t value);
void SayTime(int32_t seconds);

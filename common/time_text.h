// A count of seconds as hours:minutes:seconds text.
#pragma once

#include <cstddef>
#include <cstdint>

// "prefix" + hh:mm:ss, hours not reduced to a day; cut to fit `size`.
void FormatTimeText(char* out, size_t size, const char* prefix, uint32_t seconds);

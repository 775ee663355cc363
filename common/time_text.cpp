// A count of seconds as hours:minutes:seconds text.
#include "common/time_text.h"

#include <cstdio>

void FormatTimeText(char* out, size_t size, const char* prefix, uint32_t s) {
  if (!out || size == 0) return;
  uint32_t h = s / 3600, m = (s / 60) % 60, sec = s % 60;
  snprintf(out, size, "%s%02u:%02u:%02u", prefix ? prefix : "", h, m, sec);
}

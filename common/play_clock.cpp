// The clock a game's time is read from, standing still while the game is
// paused.
#include "common/play_clock.h"

static bool g_stopped = false;
static DWORD g_stoppedAt = 0;

DWORD PlayTicks() { return g_stopped ? g_stoppedAt : GetTickCount(); }

bool PlayClockStopped() { return g_stopped; }

void StopPlayClock() {
  if (g_stopped) return;
  g_stoppedAt = GetTickCount();
  g_stopped = true;
}

DWORD RunPlayClock() {
  if (!g_stopped) return 0;
  g_stopped = false;
  return GetTickCount() - g_stoppedAt;
}

void ResetPlayClock() { g_stopped = false; }

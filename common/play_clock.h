// The clock a game's time is read from.  It is the tick count, except while
// the game is paused: then it stands at the tick the pause began, so that
// whatever reads a game's time meanwhile (a saved game, a win) leaves the
// pause out.  When the pause ends, the keeper of the game's start tick moves
// that tick on by the time the clock stood, and the two agree again.
#pragma once

#include "platform/win32.h"

DWORD PlayTicks();
bool PlayClockStopped();
// The pause begins (nothing happens when the clock already stands).
void StopPlayClock();
// The pause ends: the clock runs again.  Returns the milliseconds it stood.
DWORD RunPlayClock();
// A new game, or none: the clock runs and no pause is owed.
void ResetPlayClock();

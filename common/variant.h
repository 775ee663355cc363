// Which game this build is: 0 the picture swap puzzle, 1 the mine field.
#pragma once

#ifndef GAME_VARIANT
#define GAME_VARIANT 0
#endif

constexpr int kGameVariant = GAME_VARIANT;

// Which game this build is: 0 the picture swap puzzle, 1 the mine field.
#pragma once

// The folders built once for both games are built with GAME_VARIANT_FREE.
#ifdef GAME_VARIANT_FREE
#error "this folder is built once for both games: it cannot ask which one it is part of"
#endif

#ifndef GAME_VARIANT
#define GAME_VARIANT 0
#endif

constexpr int kGameVariant = GAME_VARIANT;

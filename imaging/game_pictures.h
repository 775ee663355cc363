// The pictures the game holds for the whole run: made during start-up (the
// statistics picture when first shown) and freed at shutdown.  Whoever
// replaces one deletes the old one first.
#pragma once

#include "imaging/picture_library.h"
#include "platform/win32.h"

extern HBITMAP EggBitmap;
extern HBITMAP CardBackBitmap;
extern int CardBackWidth;
extern int CardBackHeight;
extern HBITMAP ClockBitmap;
extern HBITMAP ClockMask;
extern HBITMAP StatsBitmap;
extern HBITMAP PuzzleBitmap;
extern HBITMAP BombInstBitmap;
extern HBITMAP BackgroundBitmap;
extern HBITMAP TiledBackgroundBitmap;
extern PictureRecord PuzzlePicture;

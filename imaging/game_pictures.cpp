// The pictures the game holds for the whole run, none until they are made.
#include "imaging/game_pictures.h"

HBITMAP EggBitmap = nullptr;
HBITMAP CardBackBitmap = nullptr;
int CardBackWidth = 0;
int CardBackHeight = 0;
HBITMAP ClockBitmap = nullptr;
HBITMAP ClockMask = nullptr;
HBITMAP StatsBitmap = nullptr;
HBITMAP PuzzleBitmap = nullptr;
HBITMAP BombInstBitmap = nullptr;
HBITMAP BackgroundBitmap = nullptr;
HBITMAP TiledBackgroundBitmap = nullptr;
PictureRecord PuzzlePicture;

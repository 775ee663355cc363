// Colour depth and palettes: reducing a picture to few colours, and the
// palette calls of a true-colour screen.
#include <Magick++.h>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

Magick::Image FixedPaletteImage() {
  std::vector<uint32_t> colours(256);
  for (int i = 0; i < 256; ++i) {
    COLORREF c = FixedPaletteColor(i);
    colours[i] = ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
  }
  return Magick::Image(256, 1, "BGRP", Magick::CharPixel, colours.data());
}

}  // namespace

namespace piclib {

void ReduceColours(Magick::Image& image, int bits, bool fixedPalette) {
  if (fixedPalette && bits == 8) {
    image.map(FixedPaletteImage(), true);
    return;
  }
  image.quantizeColors((size_t)1 << bits);
  image.quantizeDither(true);
  image.quantize();
}

}  // namespace piclib

int ConvertDepth(PictureRecord* record, int bitsPerPixel, int option, void*, void*) {
  if (!HoldsPixels(record)) return PICTURE_BAD_ARGUMENT;
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
      break;
    case 15:
    case 16:
    case 24:
    case 32:
      // The data stays true colour; painting brings it to the screen.
      record->bitsPerPixel = bitsPerPixel;
      return PICTURE_SUCCESS;
    default:
      return PICTURE_BAD_ARGUMENT;
  }
  EnsureMagick();
  try {
    Magick::Image image = ImageOf(record);
    ReduceColours(image, bitsPerPixel, option == 1);
    image.write(0, 0, record->width, record->height, "BGRP", Magick::CharPixel,
                record->pixels.words.data());
  } catch (const Magick::Exception&) {
    return PICTURE_FAILURE;
  } catch (const std::bad_alloc&) {
    return PICTURE_TOO_LARGE;
  }
  record->bitsPerPixel = bitsPerPixel;
  return PICTURE_SUCCESS;
}

int ReduceForPaletteScreen(PictureRecord* record, int option, int screenDepth) {
  int bits = screenDepth <= 1 ? 1 : screenDepth <= 4 ? 4 : 8;
  return ConvertDepth(record, bits, 1, nullptr, nullptr);
}

HPALETTE MakePaintPalette(HDC, PictureRecord* record) {
  return record != nullptr ? record->palette : 0;
}

HPALETTE DuplicatePalette(HPALETTE palette) {
  return palette;
}

COLORREF FixedPaletteColor(int index) {
  index &= 255;
  if (index < 216) {
    int r = index / 36, g = (index / 6) % 6, b = index % 6;
    return RGB(r * 51, g * 51, b * 51);
  }
  int grey = (index - 215) * 255 / 41;  // 40 steps strictly between black and white
  return RGB(grey, grey, grey);
}

// What the imaging library's own files share, on ImageMagick.  Not for other
// code: the game uses picture_library.h.  Who owns what:
//
//   picture_library.cpp   set-up and memory (EnsureMagick, AskForLargePages),
//                         the records (MakeEmpty, HoldsPixels, ImageOf)
//   picture_formats.cpp   which reader may see the bytes (ChooseReader)
//   picture_reading.cpp   the untrusted-input read path (ReadFileCapped,
//                         SizeAcceptable, LoadImage, FillInfo, DecodeBytes)
//   picture_prefetch.cpp  the start-up decoding on another thread
//   picture_palettes.cpp  colour reduction and palettes (ReduceColours)
//   picture_paint.cpp     records painted into and captured from a DC
//   picture_writing.cpp   encoding and writing
#pragma once

#include <Magick++.h>

#include <cstddef>
#include <string>
#include <vector>

#include "imaging/picture_library.h"

namespace piclib {

// ImageMagick set up once, before its first use.
void EnsureMagick();
// Large pages for the whole large pages inside a block (a hint only).
void AskForLargePages(void* start, size_t size);

// The record without pixels (PICTURE_HAS_DATA cleared).
void MakeEmpty(PictureRecord* record);
// A record with pixels of its own width x height.
bool HoldsPixels(const PictureRecord* record);
Magick::Image ImageOf(const PictureRecord* record);

std::string ChooseReader(const unsigned char* bytes, size_t count, const char* path);

// A file's bytes, never more than kPictureMaxFileBytes.
int ReadFileCapped(LPCSTR path, std::vector<unsigned char>& bytes);
bool SizeAcceptable(size_t width, size_t height);
int LoadImage(const unsigned char* bytes, size_t count, const char* path, bool pingOnly, Magick::Image& image);
void FillInfo(const Magick::Image& image, PictureInfo* info);
// Decodes bytes into the record at the depth asked for (0: its own).
int DecodeBytes(const unsigned char* bytes, size_t count, const char* path, PictureRecord* record,
                int bitsPerPixel, int colorOrder);

// Reduces the image to at most 2^bits colours.
void ReduceColours(Magick::Image& image, int bits, bool fixedPalette);

}  // namespace piclib

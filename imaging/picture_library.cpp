// The imaging library on ImageMagick: its set-up (the resource limits, the
// coder policy, the memory its large blocks come from) and the picture
// records.  See picture_library.h for the calls, and picture_internal.h for
// which file does what with the pictures' bytes.
#include "imaging/picture_library.h"

#include <Magick++.h>

#include <algorithm>
#include <mutex>

#include <malloc.h>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

// ---------------------------------------------------------------- set-up

// Coders that may ever run: the readers of picture_formats.cpp and the
// writers of EncodeFile.
const char kSecurityPolicy[] =
    "<policymap>"
    "<policy domain=\"delegate\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"path\" rights=\"none\" pattern=\"@*\"/>"
    "<policy domain=\"coder\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"coder\" rights=\"read|write\" "
    "pattern=\"{BMP,BMP2,BMP3,GIF,JPEG,PNG,TIFF,TGA,PCX,PICT,WEBP,CALS,MAC,PCD,SUN}\"/>"
    "</policymap>";

}  // namespace

namespace piclib {

// ---------------------------------------------------------------- memory

// A decode passes through blocks of many megabytes (the file's bytes, the
// decoder's buffers, rows of sums) that are let go of as soon as the picture
// is made.  Blocks from a quarter of a megabyte up are mapped for themselves,
// so that each goes back to the system when it is freed instead of staying
// with the program; and what a decode leaves at the heap's end is trimmed.
// Only ordinary pages are asked for: the kernel clears a large page whole
// before it is first written, which costs more than the page faults saved.
constexpr int kMappedBlockBytes = 256 * 1024;

void GiveBackMemory() { malloc_trim(0); }

// A streamed read (its rows pass through one row's block) still counts a
// whole picture's pixel block against ImageMagick's memory limit, and never
// takes the count back: after a few pictures every read would be refused.
// What it counted and no longer holds is given back here.
void ForgiveUncountedMemory(MagickCore::MagickSizeType bytes) {
  if (bytes > 0) MagickCore::RelinquishMagickResource(MagickCore::MemoryResource, bytes);
}

}  // namespace piclib

namespace {
// ImageMagick's time limit is not used: it counts from the first picture the
// process ever touched, and when it runs out ImageMagick ends the whole
// program.  The size limits bound the work instead.
void SetUpMagick() {
  mallopt(M_MMAP_THRESHOLD, kMappedBlockBytes);
  Magick::InitializeMagick(nullptr);
  MagickCore::ExceptionInfo* exception = MagickCore::AcquireExceptionInfo();
  MagickCore::SetMagickSecurityPolicy(kSecurityPolicy, exception);
  MagickCore::DestroyExceptionInfo(exception);
  using namespace MagickCore;
  SetMagickResourceLimit(WidthResource, kPictureMaxSide);
  SetMagickResourceLimit(HeightResource, kPictureMaxSide);
  // ImageMagick refuses an area equal to its limit; SizeAcceptable() holds
  // the exact, inclusive one.
  SetMagickResourceLimit(AreaResource, kPictureMaxPixels + 1);
  SetMagickResourceLimit(MemoryResource, 256ULL * 1024 * 1024);
  SetMagickResourceLimit(MapResource, 512ULL * 1024 * 1024);
  SetMagickResourceLimit(DiskResource, 0);
  SetMagickResourceLimit(ListLengthResource, 16);
}

}  // namespace

namespace piclib {

void EnsureMagick() {
  static std::once_flag once;
  std::call_once(once, SetUpMagick);
}

void MakeEmpty(PictureRecord* record) {
  record->pixels.words.clear();
  record->pixels.words.shrink_to_fit();
  record->flags &= ~PICTURE_HAS_DATA;
}

// The record's pixels as an ImageMagick picture.
Magick::Image ImageOf(const PictureRecord* record) {
  Magick::Image image(record->width, record->height, "BGRP", Magick::CharPixel,
                      record->pixels.words.data());
  image.depth(8);
  return image;
}

bool HoldsPixels(const PictureRecord* record) {
  return record != nullptr && (record->flags & PICTURE_HAS_DATA) && record->width > 0 &&
         record->height > 0 &&
         record->pixels.words.size() == (size_t)record->width * (size_t)record->height;
}

}  // namespace piclib

// ---------------------------------------------------------------- the calls

void PictureLibraryStartUp() {
  EnsureMagick();
}

int PrepareRecord(PictureRecord* record, int width, int height, int bitsPerPixel) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  MakeEmpty(record);
  record->width = width;
  record->height = height;
  record->bitsPerPixel = bitsPerPixel;
  record->stretchSourceX = record->stretchSourceY = 0;
  record->flags = 0;
  record->palette = 0;
  record->view = {0, 0, width, height};
  record->colorOrder = PICTURE_ORDER_BGR;
  record->paintReserved = 0;
  return PICTURE_SUCCESS;
}

int ReleaseRecord(PictureRecord* record) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  MakeEmpty(record);
  return PICTURE_SUCCESS;
}

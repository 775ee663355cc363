// The imaging library on ImageMagick: its set-up (the resource limits, the
// coder policy, the memory its large blocks come from) and the picture
// records.  See picture_library.h for the calls, and picture_internal.h for
// which file does what with the pictures' bytes.
#include "imaging/picture_library.h"

#include <Magick++.h>

#include <algorithm>
#include <mutex>

#include <sys/mman.h>

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

// A decoded picture passes through blocks of several megabytes (the decoder's
// pixel cache, the picture's own words) that are written whole as soon as
// they exist.  Asking for large pages for them turns a thousand page faults a
// picture into a handful.  The advice covers only the whole large pages inside
// a block and is only a hint: memory is the same either way.
constexpr size_t kLargePage = size_t(2) << 20;

void AskForLargePages(void* start, size_t size) {
  const uintptr_t begin = reinterpret_cast<uintptr_t>(start);
  const uintptr_t from = (begin + kLargePage - 1) & ~(uintptr_t)(kLargePage - 1);
  const uintptr_t to = (begin + size) & ~(uintptr_t)(kLargePage - 1);
  if (start != nullptr && to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace piclib

namespace {
// ImageMagick's aligned blocks (its pixel caches among them).
void* AcquireAligned(size_t size, size_t alignment) {
  void* block = nullptr;
  if (posix_memalign(&block, std::max(alignment, sizeof(void*)), std::max<size_t>(size, 1)) != 0) return nullptr;
  if (size >= kLargePage) AskForLargePages(block, size);
  return block;
}

void RelinquishAligned(void* block) { free(block); }

// ImageMagick's time limit is not used: it counts from the first picture the
// process ever touched, and when it runs out ImageMagick ends the whole
// program.  The size limits bound the work instead.
void SetUpMagick() {
  Magick::InitializeMagick(nullptr);
  MagickCore::SetMagickAlignedMemoryMethods(AcquireAligned, RelinquishAligned);
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

// What the imaging library's own files share, on ImageMagick.  Not for other
// code: the game uses picture_library.h.  Who owns what:
//
//   picture_library.cpp   set-up and memory (EnsureMagick, GiveBackMemory),
//                         the records (MakeEmpty, HoldsPixels, ImageOf)
//   picture_formats.cpp   which reader may see the bytes (ChooseReader)
//   picture_reading.cpp   the untrusted-input read path (ReadFileCapped,
//                         SizeAcceptable, LoadImage, FillInfo, DecodeBytes)
//   picture_shrinking.cpp pictures made smaller as they are decoded (RowShrinker)
//   picture_prefetch.cpp  the start-up decoding on another thread
//   picture_palettes.cpp  colour reduction and palettes (ReduceColours)
//   picture_paint.cpp     records painted into and captured from a DC
//   picture_writing.cpp   encoding and writing
#pragma once

#include <Magick++.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/picture_library.h"

namespace piclib {

// ImageMagick set up once, before its first use.
void EnsureMagick();
// Hands the memory a decode let go of back to the system.
void GiveBackMemory();
// Gives ImageMagick's memory count back what it counted but no longer holds.
void ForgiveUncountedMemory(MagickCore::MagickSizeType bytes);

// The record without pixels (PICTURE_HAS_DATA cleared).
void MakeEmpty(PictureRecord* record);
// A record with pixels of its own width x height.
bool HoldsPixels(const PictureRecord* record);
Magick::Image ImageOf(const PictureRecord* record);

std::string ChooseReader(const unsigned char* bytes, size_t count, const char* path);

// A file's bytes, never more than kPictureMaxFileBytes.
int ReadFileCapped(LPCSTR path, std::vector<unsigned char>& bytes);
bool SizeAcceptable(size_t width, size_t height);

// A picture's bytes as its decoder is given them: a file's own buffer, which
// the read path may rewrite in place to drop what no decoder needs, or a
// caller's block, which is only ever read (a trimmed copy is made when there
// is something to drop).  Nothing else copies them.
struct HeldBytes {
  const unsigned char* bytes = nullptr;
  size_t count = 0;
  std::vector<unsigned char> trimmed;  // a block's trimmed copy
  std::string reader;                  // the coder chosen, once pinged
  HeldBytes() = default;
  HeldBytes(HeldBytes&&) = default;  // a moved vector keeps its bytes where they are
  HeldBytes(const HeldBytes&) = delete;
  HeldBytes& operator=(const HeldBytes&) = delete;
};
HeldBytes HoldFile(std::vector<unsigned char>& bytes);
HeldBytes HoldBlock(const void* bytes, size_t count);

// Pings the held picture (header only) into `image`.  With `maxWidth` above 0
// a JPEG wider than that is also accepted up to kPictureMaxReducedPixels, since
// it will be decoded reduced.
int LoadImage(HeldBytes& held, const char* path, long maxWidth, Magick::Image& image);
void FillInfo(const Magick::Image& image, PictureInfo* info);
// Decodes into the record at the depth asked for (0: its own); a picture wider
// than `maxWidth` (above 0) comes out that wide, its height in proportion.
int DecodeBytes(HeldBytes& held, const char* path, PictureRecord* record, int bitsPerPixel, int colorOrder,
                long maxWidth);
// What DecodeFileAsShown makes of the held bytes of a file.
void DecodeHeldAsShown(HeldBytes& held, const char* path, PrefetchedPicture* out);

// Rows of 0x00RRGGBB words, given top row first, averaged down into `out`
// (toWidth x toHeight words, no larger than the source either way).
class RowShrinker {
 public:
  RowShrinker(size_t fromWidth, size_t fromHeight, size_t toWidth, size_t toHeight, uint32_t* out);
  void Add(const uint32_t* words);  // the next source row, fromWidth words
  // The same from the decoder's own row of a picture in plain colours.
  void Add(const MagickCore::PixelPacket* packets);
  void Finish();  // after the last row

 private:
  struct Split {
    std::vector<uint32_t> first, inside;  // per source pixel
    std::vector<float> scale;             // per result pixel: 1 / its weight
  };
  static Split MakeSplit(size_t from, size_t to);
  template <class Row>
  void AddRow(const Row& source);
  void Emit();

  size_t fromWidth_, fromHeight_, toWidth_, toHeight_;
  uint32_t* out_;
  Split columns_, rows_;
  std::vector<uint32_t> row_, current_, next_;
  size_t y_ = 0, emitted_ = 0;
};
// The height a picture keeps its proportions at when it is made toWidth wide.
size_t ShrunkHeight(size_t fromWidth, size_t fromHeight, size_t toWidth);

// Reduces the image to at most 2^bits colours.
void ReduceColours(Magick::Image& image, int bits, bool fixedPalette);

}  // namespace piclib

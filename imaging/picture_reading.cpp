// The untrusted-input read path of the imaging library: a picture file or
// block checked and decoded into a record.
//
// How untrusted bytes are handled, in order:
//  1. a file is read whole, but never more than kPictureMaxFileBytes, and
//     held once: the decoder reads that buffer itself, never a copy;
//  2. the format is decided from the content alone (the file name is only
//     consulted for the raster formats that carry no signature, such as TGA),
//     and only the raster coders the game offers are accepted, so a vector or
//     script format (SVG, MVG, MSL, PostScript, text, ...) is refused whatever
//     the file is called;
//  3. the chosen coder is forced for the read, so ImageMagick cannot switch to
//     another one on its own, and a security policy installed once also denies
//     every other coder, every delegate program and indirect file names;
//  4. the picture is pinged (header only) and its size checked before any
//     pixel is decoded; only the first frame is read;
//  5. resource limits (width, height, area, memory, map, no disk cache, list
//     length) bound whatever a decoder does with a hostile file;
//  6. a PNG loses its ancillary chunks (text, colour profiles, ...) before any
//     decoder sees it: some of them are compressed, and a few bytes of them
//     can inflate to gigabytes before the first pixel; a JPEG loses its
//     comments and notes, which its decoder would copy out byte by byte;
//  7. a picture wider than it is kept is decoded reduced (a JPEG by its own
//     decoder) and averaged down as its rows arrive, never held whole.
#include <Magick++.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// Keeps the runs of bytes `keep` is given and drops the others, writing what
// is kept to `out` (which may be `bytes` itself: what is kept only moves
// towards the start).  With `out` null only counts.  Returns the kept length.
class Keeper {
 public:
  Keeper(const unsigned char* bytes, unsigned char* out) : bytes_(bytes), out_(out) {}
  void Keep(size_t from, size_t to) {
    if (out_ != nullptr && to > from && out_ + kept_ != bytes_ + from) memmove(out_ + kept_, bytes_ + from, to - from);
    kept_ += to - from;
  }
  size_t kept() const { return kept_; }

 private:
  const unsigned char* bytes_;
  unsigned char* out_;
  size_t kept_ = 0;
};

// A PNG without the chunks the pixels do not need.  What stays: the critical
// chunks (header, palette, data, end), which a decoder cannot do without, and
// the transparency chunk, which changes the colours shown.  A damaged chunk
// structure is left to the decoder from the point where it breaks, unless the
// broken chunk is one of those dropped.
size_t PngPixelChunks(const unsigned char* bytes, size_t count, unsigned char* out) {
  Keeper keeper(bytes, out);
  keeper.Keep(0, sizeof kPngSignature);
  size_t at = sizeof kPngSignature;
  while (at < count) {
    const size_t left = count - at;
    const unsigned char* chunk = bytes + at;
    const bool keep = left < 8 || (chunk[4] & 0x20) == 0 || memcmp(chunk + 4, "tRNS", 4) == 0;
    const size_t size = left < 12 ? left : 12 + (size_t)BigEndian32(chunk);
    if (size > left) {
      if (keep) keeper.Keep(at, count);
      break;
    }
    if (keep) keeper.Keep(at, at + size);
    at += size;
  }
  return keeper.kept();
}

// A JPEG without its comments and the application segments that only carry
// notes about the picture (camera settings, thumbnails, colour profiles,
// editing records): the decoder would copy each of them out byte by byte,
// and a file can hold hundreds.  The JFIF and Adobe segments stay, since
// they say how the colours are coded, and so does everything else.  The
// entropy-coded data between markers is kept as it is; a damaged marker
// structure is left to the decoder from where it breaks.
size_t JpegPixelSegments(const unsigned char* bytes, size_t count, unsigned char* out) {
  Keeper keeper(bytes, out);
  keeper.Keep(0, 2);  // the start of the picture
  size_t at = 2, keptTo = 2;
  while (at + 4 <= count) {
    if (bytes[at] != 0xFF) {
      // Entropy-coded data: find the next marker (0xFF not followed by a
      // stuffed zero, a restart or another 0xFF).
      const void* found = memchr(bytes + at, 0xFF, count - at);
      if (found == nullptr) break;
      at = (size_t)(static_cast<const unsigned char*>(found) - bytes);
      continue;
    }
    const unsigned char marker = bytes[at + 1];
    if (marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      at += marker == 0xFF ? 1 : 2;
      continue;
    }
    if (marker == 0xD8 || marker == 0xD9) break;  // another picture, or the end
    const size_t size = 2 + ((size_t)bytes[at + 2] << 8 | bytes[at + 3]);
    if (size < 4 || at + size > count) break;
    const bool notes = marker == 0xFE || (marker >= 0xE1 && marker <= 0xEF && marker != 0xEE);
    if (notes) {
      keeper.Keep(keptTo, at);
      keptTo = at + size;
    }
    at += size;
  }
  keeper.Keep(keptTo, count);
  return keeper.kept();
}

// The trimmed length of a PNG or JPEG (with `out`, written there), or `count`
// for any other format.
size_t TrimmedPicture(const unsigned char* bytes, size_t count, unsigned char* out) {
  if (count >= sizeof kPngSignature && memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0)
    return PngPixelChunks(bytes, count, out);
  if (count >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return JpegPixelSegments(bytes, count, out);
  return count;
}

// Whether a PNG holds a chunk of this type before its pixel data.
bool HasPngChunk(const unsigned char* bytes, size_t count, const char* type) {
  for (size_t at = sizeof kPngSignature; at + 8 <= count;) {
    const unsigned char* chunk = bytes + at;
    if (memcmp(chunk + 4, type, 4) == 0) return true;
    if (memcmp(chunk + 4, "IDAT", 4) == 0) return false;
    at += 12 + (size_t)BigEndian32(chunk);
  }
  return false;
}

}  // namespace

namespace piclib {

int ReadFileCapped(LPCSTR path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (path == nullptr || path[0] == 0) return PICTURE_BAD_ARGUMENT;
  HFILE file = _lopen(path, OF_READ);
  if (file == HFILE_ERROR) return PICTURE_FILE_ERROR;
  // The first read asks for one byte more than the file holds, so that it
  // ends there; a file that grows meanwhile is read on, within the cap.
  const LONG size = _llseek(file, 0, 2);
  if (size >= 0 && _llseek(file, 0, 0) != 0) {
    _lclose(file);
    return PICTURE_FILE_ERROR;
  }
  size_t chunk = size >= 0 ? std::min<size_t>((size_t)size, kPictureMaxFileBytes) + 1 : (size_t)1 << 20;
  int result = PICTURE_SUCCESS;
  for (;;) {
    size_t used = bytes.size();
    if (used > (size_t)kPictureMaxFileBytes) {
      result = PICTURE_TOO_LARGE;
      break;
    }
    bytes.resize(used + chunk);
    UINT got = _lread(file, bytes.data() + used, (UINT)chunk);
    if (got == (UINT)HFILE_ERROR) {
      result = PICTURE_FILE_ERROR;
      break;
    }
    bytes.resize(used + got);
    if (got < chunk) break;  // the end of the file
    chunk = 1 << 20;
  }
  _lclose(file);
  if (result != PICTURE_SUCCESS) bytes.clear();
  return result;
}

bool SizeAcceptable(size_t width, size_t height) {
  return width >= 1 && height >= 1 && (long)width <= kPictureMaxSide &&
         (long)height <= kPictureMaxSide &&
         (long long)width * (long long)height <= kPictureMaxPixels;
}

HeldBytes HoldFile(std::vector<unsigned char>& bytes) {
  HeldBytes held;
  bytes.resize(TrimmedPicture(bytes.data(), bytes.size(), bytes.data()));
  held.bytes = bytes.data();
  held.count = bytes.size();
  return held;
}

HeldBytes HoldBlock(const void* bytes, size_t count) {
  HeldBytes held;
  held.bytes = static_cast<const unsigned char*>(bytes);
  held.count = bytes != nullptr ? count : 0;
  const size_t kept = held.count > 0 ? TrimmedPicture(held.bytes, held.count, nullptr) : 0;
  if (kept != held.count) {
    held.trimmed.resize(kept);
    TrimmedPicture(held.bytes, held.count, held.trimmed.data());
    held.bytes = held.trimmed.data();
    held.count = kept;
  }
  return held;
}

}  // namespace piclib

namespace {
// The depth a picture has for the game: its palette size when it has one, 8
// for grey pictures, else 24.
LONG DepthOf(const Magick::Image& image) {
  if (image.classType() == Magick::PseudoClass) {
    // Read from the image itself: a damaged file can claim a palette it does
    // not hold, and Magick++ would throw for that.
    size_t colours = image.constImage()->colormap != nullptr ? image.constImage()->colors : 0;
    if (colours >= 1 && colours <= 2) return 1;
    if (colours >= 1 && colours <= 16) return 4;
    if (colours >= 1 && colours <= 256) return 8;
  }
  if (image.colorSpace() == Magick::GRAYColorspace && image.depth() <= 8) return 8;
  return 24;
}

// ImageMagick's records, freed with their owners.
struct MagickFree {
  void operator()(MagickCore::ImageInfo* info) const { MagickCore::DestroyImageInfo(info); }
  void operator()(MagickCore::ExceptionInfo* exception) const { MagickCore::DestroyExceptionInfo(exception); }
};
using ReadInfo = std::unique_ptr<MagickCore::ImageInfo, MagickFree>;
using Exception = std::unique_ptr<MagickCore::ExceptionInfo, MagickFree>;

Exception NewException() { return Exception(MagickCore::AcquireExceptionInfo()); }

// ImageMagick's description of a read of the held bytes: the one coder
// forced, the first frame only.  The bytes themselves are handed over by
// address, never copied.
ReadInfo NewReadInfo(const std::string& reader) {
  ReadInfo info(MagickCore::AcquireImageInfo());
  MagickCore::FormatLocaleString(info->filename, MagickPathExtent, "%s:", reader.c_str());
  MagickCore::SetImageInfo(info.get(), 1, NewException().get());
  info->scene = 0;
  info->number_scenes = 1;
  return info;
}

// The first frame a read made, or an empty image when it failed.  Warnings
// (a damaged file the coder could still make sense of) are no failure.
Magick::Image FirstFrame(MagickCore::Image* images, MagickCore::ExceptionInfo* exception) {
  if (images == nullptr) return Magick::Image();
  if (images->next != nullptr) {
    MagickCore::Image* rest = images->next;
    images->next = nullptr;
    rest->previous = nullptr;
    MagickCore::DestroyImageList(rest);
  }
  Magick::Image image(images);
  if (exception->severity >= MagickCore::ErrorException) return Magick::Image();
  return image;
}

// Whether the size a header claims may be read: within the pixel limit, or a
// sequential JPEG within the reduced limit that is to be decoded reduced.
bool ClaimAcceptable(const Magick::Image& header, const std::string& reader, long maxWidth) {
  const size_t width = header.columns(), height = header.rows();
  if (SizeAcceptable(width, height)) return true;
  return maxWidth > 0 && reader == "JPEG" && (long)width > maxWidth &&
         header.constImage()->interlace == MagickCore::NoInterlace && (long)width <= kPictureMaxSide &&
         (long)height <= kPictureMaxSide && (long long)width * (long long)height <= kPictureMaxReducedPixels;
}

}  // namespace

namespace piclib {

// Pings the picture held in memory (header only) into `image`.  Returns
// PICTURE_SUCCESS or a failure.
int LoadImage(HeldBytes& held, const char* path, long maxWidth, Magick::Image& image) {
  EnsureMagick();
  if (held.bytes == nullptr || held.count == 0) return PICTURE_NOT_A_PICTURE;
  if (held.count > (size_t)kPictureMaxFileBytes) return PICTURE_TOO_LARGE;
  held.reader = ChooseReader(held.bytes, held.count, path);
  if (held.reader.empty()) return PICTURE_NOT_A_PICTURE;
  try {
    ReadInfo info = NewReadInfo(held.reader);
    Exception exception = NewException();
    Magick::Image header = FirstFrame(MagickCore::PingBlob(info.get(), held.bytes, held.count, exception.get()),
                                      exception.get());
    if (!header.isValid()) return PICTURE_NOT_A_PICTURE;
    if (!ClaimAcceptable(header, held.reader, maxWidth)) return PICTURE_TOO_LARGE;
    image = header;
    return PICTURE_SUCCESS;
  } catch (const Magick::Exception&) {
    return PICTURE_NOT_A_PICTURE;
  } catch (const std::bad_alloc&) {
    return PICTURE_TOO_LARGE;
  }
}

void FillInfo(const Magick::Image& image, PictureInfo* info) {
  info->width = (LONG)image.columns();
  info->height = (LONG)image.rows();
  info->bitsPerPixel = DepthOf(image);
  info->colorOrder = PICTURE_ORDER_BGR;
}

}  // namespace piclib

namespace {
// A pixel laid over white by its coverage, the way a viewer shows
// transparent parts.
inline uint32_t OverWhite(unsigned r, unsigned g, unsigned b, unsigned a) {
  r = (r * a + 255 * (255 - a) + 127) / 255;
  g = (g * a + 255 * (255 - a) + 127) / 255;
  b = (b * a + 255 * (255 - a) + 127) / 255;
  return r << 16 | g << 8 | b;
}

// `count` rows of the image from row `y`, as 0x00RRGGBB words.
void ExportRows(Magick::Image& image, size_t y, size_t count, uint32_t* words) {
  const size_t width = image.columns(), n = width * count;
  if (!image.matte()) {
    // Only ask for the alpha channel of pictures that have one: some readers
    // leave it uninitialised otherwise.
    image.write(0, (ssize_t)y, width, count, "BGRP", Magick::CharPixel, words);
    for (size_t i = 0; i < n; ++i) words[i] &= 0x00FFFFFFu;
  } else {
    std::vector<unsigned char> rgba(n * 4);
    image.write(0, (ssize_t)y, width, count, "RGBA", Magick::CharPixel, rgba.data());
    for (size_t i = 0; i < n; ++i) {
      const unsigned char* p = &rgba[i * 4];
      words[i] = OverWhite(p[0], p[1], p[2], p[3]);
    }
  }
}

// The size a picture of width x height is kept at.
void KeptSize(size_t width, size_t height, long maxWidth, size_t* keptWidth, size_t* keptHeight) {
  const bool shrink = maxWidth > 0 && width > (size_t)maxWidth;
  *keptWidth = shrink ? (size_t)maxWidth : width;
  *keptHeight = shrink ? ShrunkHeight(width, height, (size_t)maxWidth) : height;
}

// Copies a decoded image's pixels into the record, averaged down to the kept
// size a band of rows at a time when it is wider than that.
void StorePixels(Magick::Image& image, PictureRecord* record, long maxWidth) {
  if (image.colorSpace() != Magick::sRGBColorspace && image.colorSpace() != Magick::RGBColorspace &&
      image.colorSpace() != Magick::GRAYColorspace)
    image.colorSpace(Magick::sRGBColorspace);
  const size_t width = image.columns(), height = image.rows();
  size_t keptWidth, keptHeight;
  KeptSize(width, height, maxWidth, &keptWidth, &keptHeight);
  std::vector<uint32_t> words(keptWidth * keptHeight);
  if (keptWidth == width) {
    ExportRows(image, 0, height, words.data());
  } else {
    RowShrinker shrinker(width, height, keptWidth, keptHeight, words.data());
    const size_t band = 32;
    std::vector<uint32_t> rows(width * band);
    for (size_t y = 0; y < height; y += band) {
      const size_t count = std::min(band, height - y);
      ExportRows(image, y, count, rows.data());
      for (size_t i = 0; i < count; ++i) shrinker.Add(rows.data() + i * width);
    }
    shrinker.Finish();
  }
  record->pixels.words = std::move(words);
  record->width = (LONG)keptWidth;
  record->height = (LONG)keptHeight;
}

// ---------------------------------------------------------------- streaming

// Where the rows of a streamed decode go: straight into the record's words,
// or through a shrinker when the picture is wider than it is kept.  The
// decoder never holds more than a row.
struct StreamTarget {
  long maxWidth = 0;
  size_t width = 0, height = 0, keptWidth = 0, keptHeight = 0, y = 0;
  bool failed = false;
  std::vector<uint32_t> words, row;
  std::unique_ptr<RowShrinker> shrinker;
};

void ConvertRow(const MagickCore::Image* image, const MagickCore::PixelPacket* p, size_t columns, uint32_t* out) {
  using MagickCore::Quantum;
  using MagickCore::ScaleQuantumToChar;
  const MagickCore::IndexPacket* indexes = MagickCore::GetVirtualIndexQueue(image);
  const bool palette = image->storage_class == MagickCore::PseudoClass && image->colormap != nullptr &&
                       image->colors > 0 && indexes != nullptr;
  const bool alpha = image->matte != MagickCore::MagickFalse;
  if (!palette && !alpha) {  // the common case, a photo
    for (size_t x = 0; x < columns; ++x)
      out[x] = (uint32_t)ScaleQuantumToChar(p[x].red) << 16 | (uint32_t)ScaleQuantumToChar(p[x].green) << 8 |
               ScaleQuantumToChar(p[x].blue);
    return;
  }
  for (size_t x = 0; x < columns; ++x) {
    const MagickCore::PixelPacket* c = p + x;
    if (palette) c = image->colormap + std::min<size_t>((size_t)indexes[x], image->colors - 1);
    const unsigned r = ScaleQuantumToChar(c->red), g = ScaleQuantumToChar(c->green),
                   b = ScaleQuantumToChar(c->blue);
    out[x] = alpha ? OverWhite(r, g, b, ScaleQuantumToChar((Quantum)(QuantumRange - c->opacity)))
                   : r << 16 | g << 8 | b;
  }
}

bool StartStream(StreamTarget* target, const MagickCore::Image* image, size_t columns) {
  if (!SizeAcceptable(image->columns, image->rows) || columns != image->columns) return false;
  target->width = image->columns;
  target->height = image->rows;
  KeptSize(target->width, target->height, target->maxWidth, &target->keptWidth, &target->keptHeight);
  target->words.assign(target->keptWidth * target->keptHeight, 0);
  if (target->keptWidth != target->width) {
    target->row.resize(target->width);
    target->shrinker = std::make_unique<RowShrinker>(target->width, target->height, target->keptWidth,
                                                     target->keptHeight, target->words.data());
  }
  return true;
}

// Called by the decoder with each row it has made (and once with none before
// the first).  Answering 0 stops the decode.
size_t TakeRow(const MagickCore::Image* image, const void* pixels, const size_t columns) {
  auto* target = static_cast<StreamTarget*>(image->client_data);
  if (target == nullptr || target->failed) return 0;
  if (pixels == nullptr) return columns;
  try {
    if (target->width == 0 && !StartStream(target, image, columns)) {
      target->failed = true;
      return 0;
    }
    const bool colours = image->colorspace == MagickCore::sRGBColorspace ||
                         image->colorspace == MagickCore::RGBColorspace || image->colorspace == MagickCore::GRAYColorspace;
    if (columns != target->width || !colours) {
      target->failed = true;
      return 0;
    }
    if (target->y >= target->height) return columns;
    const auto* packets = static_cast<const MagickCore::PixelPacket*>(pixels);
    if (target->shrinker && image->storage_class == MagickCore::DirectClass && !image->matte) {
      target->shrinker->Add(packets);  // a photo's row, averaged as it is
      ++target->y;
      return columns;
    }
    uint32_t* out = target->shrinker ? target->row.data() : target->words.data() + target->y * target->width;
    ConvertRow(image, packets, columns, out);
    if (target->shrinker) target->shrinker->Add(out);
    ++target->y;
    return columns;
  } catch (...) {  // out of memory: nothing may leave the decoder's C code
    target->failed = true;
    return 0;
  }
}

// The readers whose decoders hand over each row once, top row first, in the
// colours the stream takes: those can be streamed.
bool Streamable(const HeldBytes& held, const Magick::Image& header) {
  const Magick::ColorspaceType space = header.colorSpace();
  if (space != Magick::sRGBColorspace && space != Magick::RGBColorspace && space != Magick::GRAYColorspace)
    return false;
  if (held.reader == "JPEG") return true;
  // Of PNGs, the true-colour ones (colour type 2 or 6 in the header): their
  // decoder gives grey and palette pictures their colours, and a
  // transparent colour its transparency, only once every row is in.
  return held.reader == "PNG" && held.count > 25 && (held.bytes[25] == 2 || held.bytes[25] == 6) &&
         !HasPngChunk(held.bytes, held.count, "tRNS");
}

// Decodes the held picture into the record's words and size; `depth`
// receives its depth for the game.
int DecodePixels(HeldBytes& held, const char* path, long maxWidth, PictureRecord* record, LONG* depth) {
  // One decode at a time (the start-up prefetch runs beside the program), so
  // that a streamed read's count of memory is its own.
  static std::mutex turns;
  std::lock_guard<std::mutex> turn(turns);
  Magick::Image header;
  int result = LoadImage(held, path, maxWidth, header);
  if (result != PICTURE_SUCCESS) return result;
  ReadInfo info = NewReadInfo(held.reader);
  char size[64];
  if (held.reader == "JPEG" && maxWidth > 0 && (long)header.columns() > maxWidth) {
    // The decoder's own reduced decoding, to the smallest of its sizes that
    // is still at least as wide as the picture is kept.
    snprintf(size, sizeof size, "%ldx0", maxWidth);
    MagickCore::SetImageOption(info.get(), "jpeg:size", size);
  }
  Exception exception = NewException();
  if (Streamable(held, header)) {
    StreamTarget target;
    target.maxWidth = maxWidth;
    info.get()->client_data = &target;
    MagickCore::SetImageInfoBlob(info.get(), held.bytes, held.count);
    const MagickCore::MagickSizeType counted = MagickCore::GetMagickResource(MagickCore::MemoryResource);
    Magick::Image done = FirstFrame(MagickCore::ReadStream(info.get(), TakeRow, exception.get()), exception.get());
    MagickCore::SetImageInfoBlob(info.get(), nullptr, 0);
    const bool valid = done.isValid();
    const LONG doneDepth = valid ? DepthOf(done) : 24;
    done = Magick::Image();  // the stream's blocks go with it
    // At most a whole block of pixels and indexes at the size the header
    // claims; decodes take turns, so nothing else counted meanwhile.
    const MagickCore::MagickSizeType after = MagickCore::GetMagickResource(MagickCore::MemoryResource);
    const MagickCore::MagickSizeType block = (MagickCore::MagickSizeType)header.columns() * header.rows() *
                                             (sizeof(MagickCore::PixelPacket) + sizeof(MagickCore::IndexPacket));
    ForgiveUncountedMemory(after > counted ? std::min(after - counted, block) : 0);
    if (!valid || target.failed || target.width == 0) return PICTURE_NOT_A_PICTURE;
    if (target.shrinker) target.shrinker->Finish();
    record->pixels.words = std::move(target.words);
    record->width = (LONG)target.keptWidth;
    record->height = (LONG)target.keptHeight;
    *depth = doneDepth;
    return PICTURE_SUCCESS;
  }
  Magick::Image picture =
      FirstFrame(MagickCore::BlobToImage(info.get(), held.bytes, held.count, exception.get()), exception.get());
  if (!picture.isValid() || !SizeAcceptable(picture.columns(), picture.rows())) return PICTURE_NOT_A_PICTURE;
  *depth = DepthOf(picture);
  StorePixels(picture, record, maxWidth);
  return PICTURE_SUCCESS;
}

}  // namespace

namespace piclib {

int DecodeBytes(HeldBytes& held, const char* path, PictureRecord* record, int bitsPerPixel, int colorOrder,
                long maxWidth) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  MakeEmpty(record);
  int result;
  try {
    LONG depth = 24;
    result = DecodePixels(held, path, maxWidth, record, &depth);
    if (result == PICTURE_SUCCESS) {
      if (bitsPerPixel >= 1 && bitsPerPixel <= 8) {
        if (depth > bitsPerPixel) {
          Magick::Image image = ImageOf(record);
          ReduceColours(image, bitsPerPixel, false);
          StorePixels(image, record, 0);
        }
        depth = bitsPerPixel;
      } else if (bitsPerPixel > 8) {
        depth = bitsPerPixel;
      }
      record->bitsPerPixel = depth;
    }
  } catch (const Magick::Exception&) {
    result = PICTURE_FAILURE;
  } catch (const std::bad_alloc&) {
    result = PICTURE_TOO_LARGE;
  }
  GiveBackMemory();
  if (result != PICTURE_SUCCESS) {
    // Nothing decoded: an empty record of no size, so callers that look at the
    // width see that the picture is missing.
    MakeEmpty(record);
    record->width = record->height = record->bitsPerPixel = 0;
    record->view = {0, 0, 0, 0};
    return result;
  }
  record->flags |= PICTURE_HAS_DATA;
  record->view = {0, 0, record->width, record->height};
  record->colorOrder = colorOrder;
  return PICTURE_SUCCESS;
}

void DecodeHeldAsShown(HeldBytes& held, const char* path, PrefetchedPicture* out) {
  Magick::Image header;
  out->infoResult = LoadImage(held, path, kPictureWidestKept, header);
  if (out->infoResult != PICTURE_SUCCESS) return;
  PictureInfo info;
  FillInfo(header, &info);
  PrepareRecord(&out->record, info.width, info.height, info.bitsPerPixel);
  out->decodeResult = DecodeBytes(held, path, &out->record, info.bitsPerPixel, info.colorOrder, kPictureWidestKept);
}

}  // namespace piclib

int ReadPictureInfo(LPCSTR path, PictureInfo* info) {
  if (info == nullptr) return PICTURE_BAD_ARGUMENT;
  std::vector<unsigned char> bytes;
  int result = ReadFileCapped(path, bytes);
  if (result != PICTURE_SUCCESS) return result;
  HeldBytes held = HoldFile(bytes);
  Magick::Image image;
  result = LoadImage(held, path, kPictureWidestKept, image);
  if (result != PICTURE_SUCCESS) return result;
  FillInfo(image, info);
  return PICTURE_SUCCESS;
}

int ReadPictureInfoFromMemory(const void* bytes, PictureInfo* info, DWORD byteCount) {
  if (info == nullptr || bytes == nullptr) return PICTURE_BAD_ARGUMENT;
  HeldBytes held = HoldBlock(bytes, byteCount);
  Magick::Image image;
  int result = LoadImage(held, nullptr, kPictureWidestKept, image);
  if (result != PICTURE_SUCCESS) return result;
  FillInfo(image, info);
  return PICTURE_SUCCESS;
}

int DecodeFileReduced(LPCSTR path, PictureRecord* record, int bitsPerPixel, int colorOrder, LONG maxWidth) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  std::vector<unsigned char> bytes;
  int result = ReadFileCapped(path, bytes);
  if (result != PICTURE_SUCCESS) {
    HeldBytes none;
    DecodeBytes(none, nullptr, record, 0, colorOrder, 0);  // leaves it empty
    return result;
  }
  HeldBytes held = HoldFile(bytes);
  return DecodeBytes(held, path, record, bitsPerPixel, colorOrder, maxWidth);
}

int DecodeFile(LPCSTR path, PictureRecord* record, int bitsPerPixel, int colorOrder) {
  return DecodeFileReduced(path, record, bitsPerPixel, colorOrder, 0);
}

void DecodeFileAsShown(LPCSTR path, PrefetchedPicture* result) {
  if (result == nullptr) return;
  std::vector<unsigned char> bytes;
  result->infoResult = ReadFileCapped(path, bytes);
  result->decodeResult = PICTURE_FAILURE;
  if (result->infoResult != PICTURE_SUCCESS) return;
  HeldBytes held = HoldFile(bytes);
  DecodeHeldAsShown(held, path, result);
}

int DecodeMemory(const void* bytes, PictureRecord* record, int bitsPerPixel, int colorOrder,
                 DWORD byteCount) {
  HeldBytes held = HoldBlock(bytes, byteCount);
  return DecodeBytes(held, nullptr, record, bitsPerPixel, colorOrder, 0);
}

int DecodeMemory24(const void* bytes, PictureRecord* record, int bitsPerPixel, DWORD byteCount) {
  HeldBytes held = HoldBlock(bytes, byteCount);
  return DecodeBytes(held, nullptr, record, bitsPerPixel > 8 ? bitsPerPixel : 24, PICTURE_ORDER_BGR, 0);
}

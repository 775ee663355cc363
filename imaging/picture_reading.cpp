// The untrusted-input read path of the imaging library: a picture file or
// block checked and decoded into a record.
//
// How untrusted bytes are handled, in order:
//  1. a file is read whole, but never more than kPictureMaxFileBytes;
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
//     can inflate to gigabytes before the first pixel.
#include <Magick++.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// The PNG without the chunks the pixels do not need.  What stays: the critical
// chunks (header, palette, data, end), which a decoder cannot do without, and
// the transparency chunk, which changes the colours shown.  A damaged chunk
// structure is left to the decoder from the point where it breaks, unless the
// broken chunk is one of those dropped.
std::vector<unsigned char> PngPixelChunks(const unsigned char* bytes, size_t count) {
  std::vector<unsigned char> kept(bytes, bytes + sizeof kPngSignature);
  size_t at = sizeof kPngSignature;
  while (at < count) {
    const size_t left = count - at;
    const unsigned char* chunk = bytes + at;
    const bool keep = left < 8 || (chunk[4] & 0x20) == 0 || memcmp(chunk + 4, "tRNS", 4) == 0;
    const size_t size = left < 12 ? left : 12 + (size_t)BigEndian32(chunk);
    if (size > left) {
      if (keep) kept.insert(kept.end(), chunk, bytes + count);
      break;
    }
    if (keep) kept.insert(kept.end(), chunk, chunk + size);
    at += size;
  }
  return kept;
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

}  // namespace

namespace piclib {

// Pings (pingOnly) or reads the first frame of a picture held in memory into
// `image`.  Returns PICTURE_SUCCESS or a failure; damaged pictures that the
// decoder could still read come back as success.
int LoadImage(const unsigned char* bytes, size_t count, const char* path, bool pingOnly,
              Magick::Image& image) {
  EnsureMagick();
  if (bytes == nullptr || count == 0) return PICTURE_NOT_A_PICTURE;
  if (count > (size_t)kPictureMaxFileBytes) return PICTURE_TOO_LARGE;
  std::vector<unsigned char> png;
  if (count >= sizeof kPngSignature && memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0) {
    png = PngPixelChunks(bytes, count);
    bytes = png.data();
    count = png.size();
  }
  const std::string reader = ChooseReader(bytes, count, path);
  if (reader.empty()) return PICTURE_NOT_A_PICTURE;
  try {
    Magick::Blob blob(bytes, count);
    Magick::Image header;
    header.magick(reader);
    header.subImage(0);
    header.subRange(1);
    try {
      header.ping(blob);
    } catch (const Magick::Warning&) {
      // A damaged header the coder could still make sense of.
    }
    if (!header.isValid()) return PICTURE_NOT_A_PICTURE;
    if (!SizeAcceptable(header.columns(), header.rows())) return PICTURE_TOO_LARGE;
    if (pingOnly) {
      image = header;
      return PICTURE_SUCCESS;
    }
    Magick::Image picture;
    picture.magick(reader);
    picture.subImage(0);
    picture.subRange(1);
    try {
      picture.read(blob);
    } catch (const Magick::Warning&) {
      // Damaged but readable (a truncated JPEG, say): keep what was decoded.
    }
    if (!picture.isValid() || !SizeAcceptable(picture.columns(), picture.rows()))
      return PICTURE_NOT_A_PICTURE;
    image = picture;
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
// Copies the image's pixels into the record as 0x00RRGGBB words.  Transparent
// parts are laid over white, the way a viewer shows them.
void StorePixels(Magick::Image& image, PictureRecord* record) {
  if (image.colorSpace() != Magick::sRGBColorspace && image.colorSpace() != Magick::RGBColorspace &&
      image.colorSpace() != Magick::GRAYColorspace)
    image.colorSpace(Magick::sRGBColorspace);
  const size_t width = image.columns(), height = image.rows();
  std::vector<uint32_t> words;
  words.reserve(width * height);
  AskForLargePages(words.data(), width * height * sizeof(uint32_t));
  words.resize(width * height);
  if (!image.matte()) {
    // Only ask for the alpha channel of pictures that have one: some readers
    // leave it uninitialised otherwise.
    image.write(0, 0, width, height, "BGRP", Magick::CharPixel, words.data());
    for (uint32_t& w : words) w &= 0x00FFFFFFu;
  } else {
    std::vector<unsigned char> rgba(width * height * 4);
    image.write(0, 0, width, height, "RGBA", Magick::CharPixel, rgba.data());
    for (size_t i = 0; i < words.size(); ++i) {
      const unsigned char* p = &rgba[i * 4];
      unsigned a = p[3];
      unsigned r = (p[0] * a + 255 * (255 - a) + 127) / 255;
      unsigned g = (p[1] * a + 255 * (255 - a) + 127) / 255;
      unsigned b = (p[2] * a + 255 * (255 - a) + 127) / 255;
      words[i] = (r << 16) | (g << 8) | b;
    }
  }
  record->pixels.words = std::move(words);
  record->width = (LONG)width;
  record->height = (LONG)height;
}

}  // namespace

namespace piclib {

int DecodeBytes(const unsigned char* bytes, size_t count, const char* path, PictureRecord* record,
                int bitsPerPixel, int colorOrder) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  MakeEmpty(record);
  Magick::Image image;
  int result = LoadImage(bytes, count, path, false, image);
  try {
    if (result == PICTURE_SUCCESS) {
      LONG depth = DepthOf(image);
      if (bitsPerPixel >= 1 && bitsPerPixel <= 8) {
        if (depth > bitsPerPixel) ReduceColours(image, bitsPerPixel, false);
        depth = bitsPerPixel;
      } else if (bitsPerPixel > 8) {
        depth = bitsPerPixel;
      }
      StorePixels(image, record);
      record->bitsPerPixel = depth;
    }
  } catch (const Magick::Exception&) {
    result = PICTURE_FAILURE;
  } catch (const std::bad_alloc&) {
    result = PICTURE_TOO_LARGE;
  }
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

}  // namespace piclib

int ReadPictureInfo(LPCSTR path, PictureInfo* info) {
  if (info == nullptr) return PICTURE_BAD_ARGUMENT;
  std::vector<unsigned char> bytes;
  int result = ReadFileCapped(path, bytes);
  if (result != PICTURE_SUCCESS) return result;
  Magick::Image image;
  result = LoadImage(bytes.data(), bytes.size(), path, true, image);
  if (result != PICTURE_SUCCESS) return result;
  FillInfo(image, info);
  return PICTURE_SUCCESS;
}

int ReadPictureInfoFromMemory(const void* bytes, PictureInfo* info, DWORD byteCount) {
  if (info == nullptr || bytes == nullptr) return PICTURE_BAD_ARGUMENT;
  Magick::Image image;
  int result = LoadImage(static_cast<const unsigned char*>(bytes), byteCount, nullptr, true, image);
  if (result != PICTURE_SUCCESS) return result;
  FillInfo(image, info);
  return PICTURE_SUCCESS;
}

int DecodeFile(LPCSTR path, PictureRecord* record, int bitsPerPixel, int colorOrder) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  std::vector<unsigned char> bytes;
  int result = ReadFileCapped(path, bytes);
  if (result != PICTURE_SUCCESS) {
    DecodeBytes(nullptr, 0, nullptr, record, 0, colorOrder);  // leaves it empty
    return result;
  }
  return DecodeBytes(bytes.data(), bytes.size(), path, record, bitsPerPixel, colorOrder);
}

int DecodeMemory(const void* bytes, PictureRecord* record, int bitsPerPixel, int colorOrder,
                 DWORD byteCount) {
  return DecodeBytes(static_cast<const unsigned char*>(bytes), byteCount, nullptr, record,
                     bitsPerPixel, colorOrder);
}

int DecodeMemory24(const void* bytes, PictureRecord* record, int bitsPerPixel, DWORD byteCount) {
  return DecodeBytes(static_cast<const unsigned char*>(bytes), byteCount, nullptr, record,
                     bitsPerPixel > 8 ? bitsPerPixel : 24, PICTURE_ORDER_BGR);
}

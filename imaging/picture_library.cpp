// The imaging library on ImageMagick.  See picture_library.h for the calls.
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
#include "imaging/picture_library.h"

#include <Magick++.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>
#include <string>

#include <sys/mman.h>

namespace {

// ---------------------------------------------------------------- set-up

// Coders that may ever run: the readers below and the writers of EncodeFile.
const char kSecurityPolicy[] =
    "<policymap>"
    "<policy domain=\"delegate\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"path\" rights=\"none\" pattern=\"@*\"/>"
    "<policy domain=\"coder\" rights=\"none\" pattern=\"*\"/>"
    "<policy domain=\"coder\" rights=\"read|write\" "
    "pattern=\"{BMP,BMP2,BMP3,GIF,JPEG,PNG,TIFF,TGA,PCX,PICT,WEBP,CALS,MAC,PCD,SUN}\"/>"
    "</policymap>";

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
  // ImageMagick refuses an area equal to its limit; SizeAcceptable() below
  // holds the exact, inclusive one.
  SetMagickResourceLimit(AreaResource, kPictureMaxPixels + 1);
  SetMagickResourceLimit(MemoryResource, 256ULL * 1024 * 1024);
  SetMagickResourceLimit(MapResource, 512ULL * 1024 * 1024);
  SetMagickResourceLimit(DiskResource, 0);
  SetMagickResourceLimit(ListLengthResource, 16);
}

void EnsureMagick() {
  static std::once_flag once;
  std::call_once(once, SetUpMagick);
}

// ---------------------------------------------------------------- formats

// The reader modules accepted, by the module ImageMagick files the detected
// coder under (so "JPE" counts as JPEG and "BMP3" as BMP).  The module name is
// also the coder forced for the read.
const char* const kReadableModules[] = {"BMP", "GIF",  "JPEG", "PNG",  "TIFF", "TGA", "PCX",
                                        "PICT", "WEBP", "CALS", "MAC", "PCD",  "SUN"};

std::string AcceptedModule(const std::string& coder) {
  if (coder.empty()) return "";
  MagickCore::ExceptionInfo* exception = MagickCore::AcquireExceptionInfo();
  const MagickCore::MagickInfo* info = MagickCore::GetMagickInfo(coder.c_str(), exception);
  MagickCore::DestroyExceptionInfo(exception);
  if (info == nullptr || info->magick_module == nullptr) return "";
  std::string module = info->magick_module;
  for (const char* accepted : kReadableModules)
    if (module == accepted) return module;
  return "";
}

// Raster formats without a signature, recognised by the file's extension
// when nothing in the content names a format.
std::string ModuleForExtension(const char* path) {
  if (path == nullptr) return "";
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return "";
  std::string ext;
  for (const char* p = dot + 1; *p; ++p) ext += (char)std::tolower((unsigned char)*p);
  if (ext == "tga" || ext == "icb" || ext == "vda" || ext == "vst") return "TGA";
  if (ext == "mac") return "MAC";
  if (ext == "pct" || ext == "pict") return "PICT";
  if (ext == "pcd") return "PCD";
  return "";
}

// Decides which reader may look at these bytes; "" refuses them.
std::string ChooseReader(const unsigned char* bytes, size_t count, const char* path) {
  const size_t head = std::min<size_t>(count, 8192);
  std::string named;
  MagickCore::ExceptionInfo* exception = MagickCore::AcquireExceptionInfo();
  // The signature table first: it names WebP and PNG precisely, where the
  // coders' own checks answer with container formats (RIFF, APNG).
  const MagickCore::MagicInfo* magic = MagickCore::GetMagicInfo(bytes, head, exception);
  if (magic != nullptr && MagickCore::GetMagicName(magic) != nullptr)
    named = MagickCore::GetMagicName(magic);
  MagickCore::DestroyExceptionInfo(exception);
  if (named.empty()) {
    char coder[MagickPathExtent] = {0};
    if (MagickCore::GetImageMagick(bytes, head, coder) != MagickCore::MagickFalse) named = coder;
  }
  if (!named.empty()) return AcceptedModule(named);  // a known format: only ours pass
  return ModuleForExtension(path);
}

// ---------------------------------------------------------------- reading

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

void MakeEmpty(PictureRecord* record) {
  record->pixels.words.clear();
  record->pixels.words.shrink_to_fit();
  record->flags &= ~PICTURE_HAS_DATA;
}

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

// Reduces the image to at most 2^bits colours.
void ReduceColours(Magick::Image& image, int bits, bool fixedPalette);

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

// ---------------------------------------------------------------- palettes

Magick::Image FixedPaletteImage() {
  std::vector<uint32_t> colours(256);
  for (int i = 0; i < 256; ++i) {
    COLORREF c = FixedPaletteColor(i);
    colours[i] = ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
  }
  return Magick::Image(256, 1, "BGRP", Magick::CharPixel, colours.data());
}

void ReduceColours(Magick::Image& image, int bits, bool fixedPalette) {
  if (fixedPalette && bits == 8) {
    image.map(FixedPaletteImage(), true);
    return;
  }
  image.quantizeColors((size_t)1 << bits);
  image.quantizeDither(true);
  image.quantize();
}

// ---------------------------------------------------------------- writing

int WriteBytes(LPCSTR path, const void* data, size_t count) {
  OFSTRUCT of = {};
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE);
  if (file == HFILE_ERROR) return PICTURE_FILE_ERROR;
  const char* bytes = static_cast<const char*>(data);
  bool complete = true;
  size_t done = 0;
  while (done < count) {
    UINT chunk = (UINT)std::min<size_t>(count - done, 1 << 20);
    UINT written = _lwrite(file, bytes + done, chunk);
    if (written != chunk) {
      complete = false;
      break;
    }
    done += chunk;
  }
  // A write that failed part-way makes the close discard the new file and
  // keep the old one.
  if (_lclose(file) == HFILE_ERROR) complete = false;
  return complete ? PICTURE_SUCCESS : PICTURE_FILE_ERROR;
}

// Quality factor 2 (best) .. 255 (smallest) as an ImageMagick quality.
size_t QualityFor(int factor) {
  if (factor <= 2) return 95;
  if (factor >= 255) return 5;
  return (size_t)(95 - (factor - 2) * 90 / 253);
}

}  // namespace

// ---------------------------------------------------------------- the calls

void PictureLibraryStartUp() {
  EnsureMagick();
}

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

namespace {
using PrefetchResult = std::unique_ptr<PrefetchedPicture>;

// An embedded picture decoded ahead, as LoadResourcePicture (its own depth)
// or LoadPictureBitmap (24 bits) would decode it.
struct PrefetchedBlock {
  const void* bytes = nullptr;
  DWORD byteCount = 0;
  bool as24 = false;
  bool started = false;
  std::shared_ptr<std::promise<PrefetchResult>> promise;
  std::future<PrefetchResult> result;
};

struct Prefetch {
  std::string path;
  std::future<PrefetchResult> result;
  std::vector<PrefetchedBlock> blocks;
};
Prefetch g_prefetch;

// What DecodePictureFile does with a file, from bytes already read.
PrefetchResult DecodeReadFile(const std::vector<unsigned char>& bytes, const std::string& path) {
  auto out = std::make_unique<PrefetchedPicture>();
  Magick::Image header;
  out->infoResult = LoadImage(bytes.data(), bytes.size(), path.c_str(), true, header);
  if (out->infoResult != PICTURE_SUCCESS) return out;
  PictureInfo info;
  FillInfo(header, &info);
  PrepareRecord(&out->record, info.width, info.height, info.bitsPerPixel);
  out->decodeResult = DecodeBytes(bytes.data(), bytes.size(), path.c_str(), &out->record, info.bitsPerPixel,
                                  info.colorOrder);
  return out;
}

PrefetchResult DecodeBlock(const void* bytes, DWORD byteCount, bool as24) {
  auto out = std::make_unique<PrefetchedPicture>();
  PictureInfo info;
  out->infoResult = ReadPictureInfoFromMemory(bytes, &info, byteCount);
  if (out->infoResult != PICTURE_SUCCESS) return out;
  PrepareRecord(&out->record, info.width, info.height, info.bitsPerPixel);
  out->decodeResult = as24 ? DecodeMemory24(bytes, &out->record, 24, byteCount)
                           : DecodeMemory(bytes, &out->record, 0, info.colorOrder, byteCount);
  return out;
}
}  // namespace

namespace {
// The prefetch's result; null when the other thread failed (out of memory,
// say), in which case the caller decodes the file itself.
PrefetchResult FinishPrefetch() {
  PrefetchResult done;
  try {
    if (g_prefetch.result.valid()) done = g_prefetch.result.get();
  } catch (...) {
    done.reset();
  }
  g_prefetch.path.clear();
  return done;
}
}  // namespace

void PrefetchMemory(const void* bytes, DWORD byteCount, bool as24) {
  if (bytes == nullptr || byteCount == 0) return;
  PrefetchedBlock block;
  block.bytes = bytes;
  block.byteCount = byteCount;
  block.as24 = as24;
  block.promise = std::make_shared<std::promise<PrefetchResult>>();
  block.result = block.promise->get_future();
  g_prefetch.blocks.push_back(std::move(block));
}

void PrefetchFile(LPCSTR path) {
  // The file is read here, on the caller's thread, through the same guarded
  // calls as every other read; only the decoding moves to the other thread.
  // A file that cannot be read is left to the decoding call to find so.
  FinishPrefetch();  // one file at a time
  auto bytes = std::make_shared<std::vector<unsigned char>>();
  if (path == nullptr || path[0] == 0 || ReadFileCapped(path, *bytes) != PICTURE_SUCCESS) bytes.reset();
  // One thread does it all: the file first, while little else holds memory
  // (its decoder needs the most), then the embedded pictures in the order
  // named.
  struct Job {
    const void* bytes;
    DWORD byteCount;
    bool as24;
    std::shared_ptr<std::promise<PrefetchResult>> promise;
  };
  auto jobs = std::make_shared<std::vector<Job>>();
  for (PrefetchedBlock& block : g_prefetch.blocks)
    if (!block.started) {
      block.started = true;
      jobs->push_back({block.bytes, block.byteCount, block.as24, block.promise});
    }
  if (jobs->empty() && !bytes) return;
  const std::string name = bytes ? std::string(path) : std::string();
  try {
    auto result = std::async(std::launch::async, [jobs, bytes, name] {
      // The file's result is handed over only when the thread ends, so a
      // failure there is kept until the embedded pictures are done.
      PrefetchResult file;
      std::exception_ptr failure;
      try {
        if (bytes) file = DecodeReadFile(*bytes, name);
      } catch (...) {
        failure = std::current_exception();
      }
      for (Job& job : *jobs) {
        try {
          job.promise->set_value(DecodeBlock(job.bytes, job.byteCount, job.as24));
        } catch (...) {
          job.promise->set_exception(std::current_exception());
        }
      }
      if (failure) std::rethrow_exception(failure);
      return file;
    });
    if (bytes) g_prefetch.path = name;
    g_prefetch.result = std::move(result);
  } catch (const std::system_error&) {
    // No thread to be had: everything is decoded when asked for.
    for (Job& job : *jobs) job.promise->set_value(nullptr);
  }
}

bool TakePrefetchedFile(LPCSTR path, PrefetchedPicture* result) {
  if (!g_prefetch.result.valid() || path == nullptr || result == nullptr || g_prefetch.path.empty() ||
      g_prefetch.path != path)
    return false;
  PrefetchResult done = FinishPrefetch();
  if (done == nullptr) return false;
  *result = std::move(*done);
  return true;
}

bool TakePrefetchedMemory(const void* bytes, DWORD byteCount, bool as24, PrefetchedPicture* result) {
  auto& blocks = g_prefetch.blocks;
  auto it = std::find_if(blocks.begin(), blocks.end(), [&](const PrefetchedBlock& b) {
    return b.bytes == bytes && b.byteCount == byteCount && b.as24 == as24;
  });
  if (it == blocks.end() || result == nullptr) return false;
  PrefetchResult done;
  try {
    if (it->started) done = it->result.get();
  } catch (...) {
    done.reset();
  }
  blocks.erase(it);
  if (done == nullptr) return false;
  *result = std::move(*done);
  return true;
}

void DropPrefetchedFile() {
  FinishPrefetch();
  g_prefetch.blocks.clear();  // the thread is done with them
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

int ReleaseRecord(PictureRecord* record) {
  if (record == nullptr) return PICTURE_BAD_ARGUMENT;
  MakeEmpty(record);
  return PICTURE_SUCCESS;
}

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

namespace {
// Describes 0x00RRGGBB words, top row first, as device-independent bits.
BITMAPINFO TopDownInfo(LONG width, LONG height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
}  // namespace

int PaintRecord(HWND, HDC dc, PictureRecord* record, const RECT* rect, void*, void*) {
  if (dc == nullptr || rect == nullptr || !HoldsPixels(record)) return PICTURE_BAD_ARGUMENT;
  const long width = (long)rect->right - rect->left, height = (long)rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return PICTURE_BAD_ARGUMENT;
  if (!SizeAcceptable(width, height)) return PICTURE_TOO_LARGE;
  BITMAPINFO info = TopDownInfo(record->width, record->height);
  // HALFTONE resamples smoothly (averaging when it shrinks, interpolating
  // when it stretches), straight into the bitmap.
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  StretchDIBits(dc, rect->left, rect->top, width, height, 0, 0, record->width, record->height,
                record->pixels.words.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  return PICTURE_SUCCESS;
}

bool ReadBitmapWords(HBITMAP bitmap, LONG width, LONG height, UINT first, UINT count, uint32_t* words) {
  BITMAPINFO info = TopDownInfo(width, height);
  HDC dc = CreateCompatibleDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, first, count, words, &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != (int)count) return false;
  for (size_t i = 0; i < (size_t)width * count; ++i) words[i] &= 0x00FFFFFFu;
  return true;
}

int CapturePicture(HDC dc, PictureRecord* record, const RECT* rect) {
  if (dc == nullptr || record == nullptr || rect == nullptr) return PICTURE_BAD_ARGUMENT;
  const long width = (long)rect->right - rect->left, height = (long)rect->bottom - rect->top;
  if (width <= 0 || height <= 0) return PICTURE_BAD_ARGUMENT;
  if (!SizeAcceptable(width, height)) return PICTURE_TOO_LARGE;
  PrepareRecord(record, width, height, 24);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, dc, rect->left, rect->top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  std::vector<uint32_t> words((size_t)width * height);
  const bool read = ReadBitmapWords(bitmap, width, height, 0, (UINT)height, words.data());
  DeleteObject(bitmap);
  if (!read) {
    PrepareRecord(record, 0, 0, 0);
    return PICTURE_FAILURE;
  }
  record->pixels.words = std::move(words);
  record->flags |= PICTURE_HAS_DATA;
  return PICTURE_SUCCESS;
}

int EncodeFile(LPCSTR path, PictureRecord* record, int format, int bitsPerPixel, int quality) {
  if (path == nullptr || path[0] == 0 || !HoldsPixels(record)) return PICTURE_BAD_ARGUMENT;
  const char* coder = nullptr;
  switch (format) {
    case PICTURE_FORMAT_PCX: coder = "PCX"; break;
    case PICTURE_FORMAT_GIF: coder = "GIF"; break;
    case PICTURE_FORMAT_TIFF:
    case PICTURE_FORMAT_TIFF_LZW: coder = "TIFF"; break;
    case PICTURE_FORMAT_TGA: coder = "TGA"; break;
    case PICTURE_FORMAT_BMP: coder = "BMP3"; break;     // classic Windows header
    case PICTURE_FORMAT_OS2_BMP: coder = "BMP2"; break; // 12-byte OS/2 header
    case PICTURE_FORMAT_JPEG:
    case PICTURE_FORMAT_JPEG_PROGRESSIVE: coder = "JPEG"; break;
    case PICTURE_FORMAT_COMPACT: coder = "WEBP"; break;
    case PICTURE_FORMAT_PICT: coder = "PICT"; break;
    default: return PICTURE_BAD_ARGUMENT;
  }
  EnsureMagick();
  Magick::Blob blob;
  try {
    Magick::Image image = ImageOf(record);
    if (format == PICTURE_FORMAT_GIF || (bitsPerPixel >= 1 && bitsPerPixel <= 8)) {
      int bits = format == PICTURE_FORMAT_GIF || bitsPerPixel > 8 ? 8 : bitsPerPixel;
      ReduceColours(image, bits, false);
      image.type(Magick::PaletteType);
    } else {
      // Without this, a picture of few colours would be written with a palette.
      image.type(Magick::TrueColorType);
    }
    switch (format) {
      case PICTURE_FORMAT_TIFF: image.compressType(Magick::NoCompression); break;
      case PICTURE_FORMAT_TIFF_LZW: image.compressType(Magick::LZWCompression); break;
      case PICTURE_FORMAT_TGA: image.compressType(Magick::NoCompression); break;
      case PICTURE_FORMAT_JPEG: image.quality(QualityFor(quality)); break;
      case PICTURE_FORMAT_JPEG_PROGRESSIVE:
        image.quality(QualityFor(quality));
        image.interlaceType(Magick::PlaneInterlace);
        break;
      case PICTURE_FORMAT_COMPACT:
        image.quality(QualityFor(quality));
        image.defineValue("webp", "method", "6");  // slowest, smallest
        break;
      default: break;
    }
    image.magick(coder);
    image.write(&blob);
  } catch (const Magick::Exception&) {
    return PICTURE_FAILURE;
  } catch (const std::bad_alloc&) {
    return PICTURE_TOO_LARGE;
  }
  if (blob.length() == 0) return PICTURE_FAILURE;
  return WriteBytes(path, blob.data(), blob.length());
}

// Writing a picture: encoded in memory in the chosen format, then written
// through the crash-safe file calls.
#include <Magick++.h>

#include <algorithm>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

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

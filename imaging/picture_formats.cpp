// Which reader may look at a picture's bytes: the format is decided from the
// content alone (the file name only for the raster formats without a
// signature), and only the raster coders the game offers are accepted.
#include <Magick++.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "imaging/picture_internal.h"

using namespace piclib;

namespace {

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

}  // namespace

namespace piclib {

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

}  // namespace piclib

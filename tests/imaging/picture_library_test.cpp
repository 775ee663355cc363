// The imaging library: hostile and damaged files, reading information without
// decoding, decoding as rows arrive and reduced, the save formats, painting
// and capturing.
#include <gtest/gtest.h>

#include <Magick++.h>

#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "imaging/picture_library.h"
#include "platform/testing.h"

namespace {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/imaging_test_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), (std::streamsize)bytes.size());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A smooth picture, so lossy formats stay close: red across, green down.
void MakeGradient(PictureRecord* record, int width, int height) {
  PrepareRecord(record, width, height, 24);
  record->pixels.words.resize((size_t)width * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      record->pixels.words[(size_t)y * width + x] =
          ((uint32_t)(x * 255 / (width - 1)) << 16) | ((uint32_t)(y * 255 / (height - 1)) << 8) | 0x60;
  record->flags |= PICTURE_HAS_DATA;
}

int Channel(uint32_t word, int shift) { return (int)((word >> shift) & 0xFF); }

double MeanDifference(const PictureRecord& a, const PictureRecord& b) {
  double sum = 0;
  for (size_t i = 0; i < a.pixels.words.size(); ++i)
    for (int shift : {0, 8, 16})
      sum += std::abs(Channel(a.pixels.words[i], shift) - Channel(b.pixels.words[i], shift));
  return sum / (a.pixels.words.size() * 3.0);
}

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = (char)(v >> (8 * i));
}

// A Windows BMP header for a 24-bit picture, followed by `dataBytes` of pixels.
std::string BmpHeader(int32_t width, int32_t height, size_t dataBytes) {
  std::string s(54 + dataBytes, '\0');
  s[0] = 'B';
  s[1] = 'M';
  Put32(s, 2, (uint32_t)s.size());
  Put32(s, 10, 54);
  Put32(s, 14, 40);
  Put32(s, 18, (uint32_t)width);
  Put32(s, 22, (uint32_t)height);
  s[26] = 1;
  s[28] = 24;
  return s;
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutBig32(std::string& s, uint32_t v) {
  for (int i = 3; i >= 0; --i) s += (char)(v >> (8 * i));
}

void PngChunk(std::string& png, const char* type, const std::string& data) {
  std::string body = std::string(type, 4) + data;
  PutBig32(png, (uint32_t)data.size());
  png += body;
  PutBig32(png, Crc32(body));
}

// A zlib stream of `count` zero bytes: one literal, then copies of 258 bytes
// from one byte back, each 13 bits with the fixed Huffman codes.
std::string DeflatedZeros(uint64_t count) {
  std::string out = "\x78\x01";
  uint32_t buffer = 0;
  int used = 0;
  auto bits = [&](uint32_t value, int n) {  // LSB first
    buffer |= value << used;
    used += n;
    while (used >= 8) {
      out += (char)(buffer & 0xFF);
      buffer >>= 8;
      used -= 8;
    }
  };
  auto code = [&](uint32_t value, int n) {  // Huffman codes go MSB first
    for (int i = n - 1; i >= 0; --i) bits((value >> i) & 1, 1);
  };
  bits(1, 1);  // last block
  bits(1, 2);  // fixed codes
  code(0x30, 8);  // literal 0
  uint64_t left = count - 1;
  for (; left >= 258; left -= 258) {
    code(0xC5, 8);  // length 258
    code(0, 5);     // distance 1
  }
  for (; left > 0; --left) code(0x30, 8);
  code(0, 7);  // end of block
  if (used > 0) bits(0, 8 - used);
  PutBig32(out, (uint32_t)((count % 65521) << 16) | 1u);  // Adler-32 of zeros
  return out;
}

// A valid PNG of one-bit grey (or 8-bit RGB) pixels, all zero: tiny on disk,
// huge decoded.
std::string PngBomb(uint32_t width, uint32_t height, bool rgb = false) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBig32(header, width);
  PutBig32(header, height);
  header += rgb ? std::string("\x08\x02\x00\x00\x00", 5) : std::string("\x01\x00\x00\x00\x00", 5);
  PngChunk(png, "IHDR", header);
  PngChunk(png, "IDAT", DeflatedZeros((uint64_t)height * (1 + (rgb ? 3 * width : (width + 7) / 8))));
  PngChunk(png, "IEND", "");
  return png;
}

// A zlib stream holding `data` uncompressed.
std::string StoredZlib(const std::string& data) {
  std::string out = "\x78\x01\x01";
  const uint16_t n = (uint16_t)data.size();
  out += {(char)(n & 0xFF), (char)(n >> 8), (char)(~n & 0xFF), (char)((uint16_t)~n >> 8)};
  out += data;
  uint32_t a = 1, b = 0;
  for (unsigned char c : data) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(out, b << 16 | a);
  return out;
}

uint64_t PeakMemoryKb() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return (uint64_t)use.ru_maxrss;
}

double CpuSeconds() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return use.ru_utime.tv_sec + use.ru_stime.tv_sec + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

std::string EncodeToBytes(PictureRecord* record, const TempDir& dir, const char* name, int format) {
  std::string path = dir.File(name);
  EXPECT_EQ(PICTURE_SUCCESS, EncodeFile(path.c_str(), record, format, 24, 2));
  return ReadFile(path);
}

}  // namespace

// ---------------------------------------------------------------- hostile files

TEST(PictureLibraryHostile, FilesThatAreNotPicturesAreRefused) {
  TempDir dir;
  const std::string svg =
      "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\">"
      "<image href=\"/etc/passwd\"/></svg>";
  const std::string mvg = "push graphic-context\nviewbox 0 0 64 64\nimage over 0,0 0,0 '/etc/passwd'\n";
  const std::string msl = "<?xml version=\"1.0\"?><image><read filename=\"/etc/passwd\"/></image>";
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"svg.bmp", svg},          // content decides, not the name
      {"mvg.tga", mvg},          // even where the name alone would pick a reader
      {"msl.png", msl},
      {"postscript.jpg", "%!PS-Adobe-3.0\n0 0 moveto showpage\n"},
      {"text.gif", "just some words, no picture here\n"},
      {"empty.bmp", ""},
      {"noise.bin", std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(c.name);
    WriteFile(path, c.bytes);
    PictureInfo info;
    EXPECT_NE(PICTURE_SUCCESS, ReadPictureInfo(path.c_str(), &info));
    PictureRecord record;
    EXPECT_NE(PICTURE_SUCCESS, DecodeFile(path.c_str(), &record, 0, 0));
    EXPECT_EQ(0u, record.flags & PICTURE_HAS_DATA);
    EXPECT_NE(PICTURE_SUCCESS,
              ReadPictureInfoFromMemory(c.bytes.data(), &info, (DWORD)c.bytes.size()));
  }
  PictureInfo info;
  EXPECT_EQ(PICTURE_FILE_ERROR, ReadPictureInfo(dir.File("missing.bmp").c_str(), &info));
  // The coder policy holds for direct use of the library too.
  EXPECT_THROW(Magick::Image("xc:red"), Magick::Exception);
  EXPECT_THROW(Magick::Image("msl:" + dir.File("msl.png")), Magick::Exception);
  EXPECT_EQ(PICTURE_FILE_ERROR, ReadPictureInfo(dir.File("").c_str(), &info));  // a folder
}

TEST(PictureLibraryHostile, HeadersClaimingHugePicturesAreRefusedBeforeDecoding) {
  TempDir dir;
  const std::string path = dir.File("huge.bmp");
  WriteFile(path, BmpHeader(60000, 60000, 16));
  PictureInfo info;
  EXPECT_EQ(PICTURE_TOO_LARGE, ReadPictureInfo(path.c_str(), &info));
  PictureRecord record;
  PrepareRecord(&record, 60000, 60000, 24);
  EXPECT_NE(PICTURE_SUCCESS, DecodeFile(path.c_str(), &record, 24, 0));
  EXPECT_EQ(0u, record.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(0, record.width);  // a failed decode leaves a record of no size

  // A compressed bomb: 16000 x 16000 pixels in about 200 KB.
  const std::string bomb = PngBomb(16000, 16000);
  ASSERT_LT(bomb.size(), 300000u);
  EXPECT_EQ(PICTURE_TOO_LARGE, ReadPictureInfoFromMemory(bomb.data(), &info, (DWORD)bomb.size()));
  EXPECT_NE(PICTURE_SUCCESS, DecodeMemory(bomb.data(), &record, 0, 0, (DWORD)bomb.size()));
  EXPECT_EQ(0u, record.flags & PICTURE_HAS_DATA);

  // The same kind of file within the limits is an ordinary picture.
  const std::string small = PngBomb(300, 200);
  ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(small.data(), &record, 0, 0, (DWORD)small.size()));
  EXPECT_EQ(300, record.width);
  EXPECT_EQ(0u, record.pixels.words[0]);  // black
}

TEST(PictureLibraryHostile, CompressedExtrasAreNeverInflated) {
  // Four pixels (red, green, blue, white) whose text, second text and colour
  // profile each inflate to 256 MiB of zeros; green is made transparent.
  const std::string zeros = DeflatedZeros(256u << 20);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBig32(header, 4);
  PutBig32(header, 1);
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  PngChunk(png, "IHDR", header);
  PngChunk(png, "zTXt", std::string("Comment\0\0", 9) + zeros);
  PngChunk(png, "iCCP", std::string("icc\0\0", 5) + zeros);
  PngChunk(png, "tRNS", std::string("\0\0\0\xff\0\0", 6));
  PngChunk(png, "IDAT", StoredZlib(std::string("\0\xff\0\0\0\xff\0\0\0\xff\xff\xff\xff", 13)));
  PngChunk(png, "iTXt", std::string("Comment\0\1\0\0\0", 13) + zeros);
  PngChunk(png, "IEND", "");
  TempDir dir;
  const std::string path = dir.File("bomb.png");
  WriteFile(path, png);

  // Peak memory and processor time of this test's own process: inflating
  // any of the extras would cost hundreds of megabytes and seconds.
  const uint64_t memoryBefore = PeakMemoryKb();
  const double cpuBefore = CpuSeconds();
  PictureInfo info;
  ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(path.c_str(), &info));
  PictureRecord record;
  ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(path.c_str(), &record, 0, 0));
  EXPECT_LT(PeakMemoryKb() - memoryBefore, 100u * 1024);
  EXPECT_LT(CpuSeconds() - cpuBefore, 5.0);
  ASSERT_EQ(4, record.width);
  EXPECT_EQ((std::vector<uint32_t>{0xFF0000, 0xFFFFFF, 0x0000FF, 0xFFFFFF}), record.pixels.words)
      << "the transparency chunk is kept";
}

TEST(PictureLibraryHostile, OversizedFilesAreNotReadIntoMemory) {
  TempDir dir;
  const std::string path = dir.File("big.png");
  WriteFile(path, PngBomb(16, 16));
  ASSERT_EQ(0, truncate(path.c_str(), kPictureMaxFileBytes + 1));  // sparse: cheap to make
  PictureInfo info;
  EXPECT_EQ(PICTURE_TOO_LARGE, ReadPictureInfo(path.c_str(), &info));
  ASSERT_EQ(0, truncate(path.c_str(), kPictureMaxFileBytes));
  EXPECT_NE(PICTURE_TOO_LARGE, ReadPictureInfo(path.c_str(), &info)) << "the cap itself is allowed";
}

TEST(PictureLibraryHostile, DamagedFilesAreReadSafelyOrRefused) {
  TempDir dir;
  PictureRecord picture;
  MakeGradient(&picture, 120, 90);
  const std::string jpeg = EncodeToBytes(&picture, dir, "whole.jpg", PICTURE_FORMAT_JPEG);
  const std::string webp = EncodeToBytes(&picture, dir, "whole.bkg", PICTURE_FORMAT_COMPACT);
  const std::string gif = EncodeToBytes(&picture, dir, "whole.gif", PICTURE_FORMAT_GIF);

  // A JPEG cut short is still a picture: the decoder warns and fills the rest.
  const std::string cutJpeg = dir.File("cut.jpg");
  WriteFile(cutJpeg, jpeg.substr(0, jpeg.size() * 6 / 10));
  PictureRecord record;
  ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(cutJpeg.c_str(), &record, 0, 0));
  EXPECT_EQ(120, record.width);
  EXPECT_EQ(90, record.height);
  EXPECT_EQ(120u * 90u, record.pixels.words.size());

  // Others cut at various points: whatever the answer, a success is a whole
  // picture of the right size.
  for (const std::string* bytes : {&jpeg, &webp, &gif}) {
    for (size_t keep : {(size_t)12, (size_t)40, bytes->size() / 2, bytes->size() - 3}) {
      SCOPED_TRACE(keep);
      if (DecodeMemory(bytes->data(), &record, 0, 0, (DWORD)keep) == PICTURE_SUCCESS) {
        EXPECT_EQ(120, record.width);
        EXPECT_EQ(record.pixels.words.size(), (size_t)record.width * record.height);
      } else {
        EXPECT_EQ(0u, record.flags & PICTURE_HAS_DATA);
      }
    }
  }
}

TEST(PictureLibraryHostile, OnlyTheFirstFrameIsDecoded) {
  PictureLibraryStartUp();
  std::vector<Magick::Image> frames;
  for (uint32_t colour : {0x00FF0000u, 0x000000FFu, 0x0000FF00u}) {
    std::vector<uint32_t> pixels(20 * 10, colour);
    frames.emplace_back(20, 10, "BGRP", Magick::CharPixel, pixels.data());
    frames.back().magick("GIF");
    frames.back().animationDelay(10);
  }
  Magick::Blob blob;
  Magick::writeImages(frames.begin(), frames.end(), &blob, true);
  PictureRecord record;
  ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(blob.data(), &record, 0, 0, (DWORD)blob.length()));
  EXPECT_EQ(20, record.width);
  EXPECT_EQ(0x00FF0000u, record.pixels.words[0]);
}

TEST(PictureLibraryHostile, LargeLegalPicturesStillDecode) {
  // The widest puzzle picture the game takes, and a tall one near the pixel
  // limit: the limits must not refuse these.  A picture of exactly the most
  // pixels allowed is taken; one more row is not.
  for (int rows : {4096, 4097}) {
    const std::string png = PngBomb(4096, rows, true);
    PictureRecord record;
    EXPECT_EQ(rows == 4096 ? PICTURE_SUCCESS : PICTURE_TOO_LARGE,
              DecodeMemory(png.data(), &record, 0, 0, (DWORD)png.size()));
  }
  TempDir dir;
  for (const auto& size : {std::make_pair(2048, 1536), std::make_pair(1024, 16000)}) {
    PictureRecord picture;
    MakeGradient(&picture, size.first, size.second);
    const std::string path = dir.File("large.bmp");
    ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(path.c_str(), &picture, PICTURE_FORMAT_BMP, 24, 0));
    PictureRecord back;
    ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(path.c_str(), &back, 0, 0));
    EXPECT_EQ(size.first, back.width);
    EXPECT_EQ(size.second, back.height);
    EXPECT_EQ(picture.pixels.words[12345], back.pixels.words[12345]);
  }
}

// ---------------------------------------------------------------- information

TEST(PictureLibraryInfo, InformationComesFromTheHeaderAlone) {
  TempDir dir;
  // The header is whole but the pixels are missing: decoding cannot work, yet
  // the information reads.
  const std::string path = dir.File("headeronly.bmp");
  WriteFile(path, BmpHeader(200, 100, 10));
  PictureInfo info;
  ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(path.c_str(), &info));
  EXPECT_EQ(200, info.width);
  EXPECT_EQ(100, info.height);
  EXPECT_EQ(24, info.bitsPerPixel);

  // Palette pictures report their depth.
  PictureRecord picture;
  MakeGradient(&picture, 40, 30);
  const std::string gifPath = dir.File("palette.gif");
  ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(gifPath.c_str(), &picture, PICTURE_FORMAT_GIF, 8, 0));
  ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(gifPath.c_str(), &info));
  EXPECT_EQ(8, info.bitsPerPixel);
  EXPECT_EQ(40, info.width);
}

// ---------------------------------------------------------------- saving

TEST(PictureLibraryEncode, EverySaveFormatRoundTrips) {
  TempDir dir;
  PictureRecord picture;
  MakeGradient(&picture, 64, 48);
  struct Case {
    int format;
    const char* name;
    double tolerance;  // mean difference per channel
    int depth;         // what the file says it holds
  } cases[] = {
      {PICTURE_FORMAT_COMPACT, "compact.bkg", 3, 24},
      {PICTURE_FORMAT_PCX, "p.pcx", 0, 24},
      {PICTURE_FORMAT_BMP, "w.bmp", 0, 24},
      {PICTURE_FORMAT_JPEG, "j.jpg", 3, 24},
      {PICTURE_FORMAT_JPEG_PROGRESSIVE, "jt.jpg", 3, 24},
      {PICTURE_FORMAT_TIFF_LZW, "lzw.tif", 0, 24},
      {PICTURE_FORMAT_TIFF, "plain.tif", 0, 24},
      {PICTURE_FORMAT_GIF, "g.gif", 6, 8},
      {PICTURE_FORMAT_TGA, "t.tga", 0, 24},
      {PICTURE_FORMAT_OS2_BMP, "os2.bmp", 0, 24},
      {PICTURE_FORMAT_PICT, "m.pct", 0, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(c.name);
    ASSERT_EQ(PICTURE_SUCCESS,
              EncodeFile(path.c_str(), &picture, c.format, c.format == PICTURE_FORMAT_GIF ? 8 : 24, 2));
    PictureInfo info;
    ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(path.c_str(), &info));
    EXPECT_EQ(c.depth, info.bitsPerPixel);
    PictureRecord back;
    ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(path.c_str(), &back, 0, 0));
    ASSERT_EQ(64, back.width);
    ASSERT_EQ(48, back.height);
    EXPECT_LE(MeanDifference(picture, back), c.tolerance);
  }
}

TEST(PictureLibraryEncode, BitmapsAreTrueColourEvenWithFewColours) {
  TempDir dir;
  // Few colours, which an encoder left to itself would write with a palette.
  PictureRecord flat;
  PrepareRecord(&flat, 32, 32, 24);
  flat.pixels.words.assign(32 * 32, 0x00FFFFFF);
  flat.pixels.words[5] = 0x00000000;
  flat.flags |= PICTURE_HAS_DATA;

  const std::string bmp = EncodeToBytes(&flat, dir, "w.bmp", PICTURE_FORMAT_BMP);
  ASSERT_GT(bmp.size(), 30u);
  EXPECT_EQ(40, bmp[14]);  // the Windows header
  EXPECT_EQ(24, bmp[28]);  // true colour even for two colours
  const std::string os2 = EncodeToBytes(&flat, dir, "o.bmp", PICTURE_FORMAT_OS2_BMP);
  ASSERT_GT(os2.size(), 30u);
  EXPECT_EQ(12, os2[14]);  // the OS/2 header
  EXPECT_EQ(24, os2[24]);

}

TEST(PictureLibraryEncode, FailedSavesReportFailureAndKeepTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("keep.bmp");
  WriteFile(path, "old contents");
  PictureRecord picture;
  MakeGradient(&picture, 64, 48);

  TestFailWritesAfter(100);  // the disk fills up part-way
  int result = EncodeFile(path.c_str(), &picture, PICTURE_FORMAT_BMP, 24, 0);
  TestFailWritesAfter(-1);
  EXPECT_NE(PICTURE_SUCCESS, result);
  EXPECT_EQ("old contents", ReadFile(path));

  PictureRecord empty;
  EXPECT_EQ(PICTURE_BAD_ARGUMENT, EncodeFile(path.c_str(), &empty, PICTURE_FORMAT_BMP, 24, 0));
  EXPECT_EQ(PICTURE_BAD_ARGUMENT, EncodeFile(path.c_str(), &picture, 99, 24, 0));
  EXPECT_NE(PICTURE_SUCCESS,
            EncodeFile(dir.File("no/such/folder.bmp").c_str(), &picture, PICTURE_FORMAT_BMP, 24, 0));
  EXPECT_EQ("old contents", ReadFile(path));
}

// ---------------------------------------------------------------- depth

TEST(PictureLibraryDepth, FixedPaletteConversionUsesOnlyPaletteColours) {
  PictureRecord picture;
  MakeGradient(&picture, 64, 48);
  ASSERT_EQ(PICTURE_SUCCESS, ConvertDepth(&picture, 8, 1, nullptr, nullptr));
  EXPECT_EQ(8, picture.bitsPerPixel);
  std::vector<uint32_t> palette;
  for (int i = 0; i < 256; ++i) {
    COLORREF c = FixedPaletteColor(i);
    palette.push_back(((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c));
  }
  for (uint32_t word : picture.pixels.words)
    ASSERT_NE(palette.end(), std::find(palette.begin(), palette.end(), word)) << std::hex << word;

  // Deeper targets keep the pixels.
  MakeGradient(&picture, 64, 48);
  std::vector<uint32_t> before = picture.pixels.words;
  ASSERT_EQ(PICTURE_SUCCESS, ConvertDepth(&picture, 32, 4, nullptr, nullptr));
  EXPECT_EQ(32, picture.bitsPerPixel);
  EXPECT_EQ(before, picture.pixels.words);
}

// ---------------------------------------------------------------- painting and capture

TEST(PictureLibraryPaint, PaintsOneToOneAndStretchedAndCapturesBack) {
  HDC screen = GetDC(0);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
  ReleaseDC(0, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);

  // Four flat quadrants.
  PictureRecord picture;
  PrepareRecord(&picture, 4, 4, 24);
  picture.pixels.words = {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00,  //
                          0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00,  //
                          0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF,  //
                          0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF};
  picture.flags |= PICTURE_HAS_DATA;

  RECT same = {1, 2, 5, 6};
  ASSERT_EQ(PICTURE_SUCCESS, PaintRecord(0, memory, &picture, &same, nullptr, nullptr));
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(memory, 1, 2));
  EXPECT_EQ(RGB(0, 255, 0), GetPixel(memory, 4, 2));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(memory, 1, 5));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(memory, 4, 5));
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(memory, 5, 6));  // nothing outside the rectangle

  RECT wide = {10, 0, 40, 30};
  ASSERT_EQ(PICTURE_SUCCESS, PaintRecord(0, memory, &picture, &wide, nullptr, nullptr));
  auto near = [&](int x, int y, int r, int g, int b) {
    COLORREF c = GetPixel(memory, x, y);
    EXPECT_NEAR(r, GetRValue(c), 12) << x << "," << y;
    EXPECT_NEAR(g, GetGValue(c), 12) << x << "," << y;
    EXPECT_NEAR(b, GetBValue(c), 12) << x << "," << y;
  };
  near(11, 1, 255, 0, 0);
  near(38, 1, 0, 255, 0);
  near(11, 28, 0, 0, 255);
  near(38, 28, 255, 255, 255);

  RECT part = {1, 2, 5, 6};
  PictureRecord captured;
  ASSERT_EQ(PICTURE_SUCCESS, CapturePicture(memory, &captured, &part));
  EXPECT_EQ(4, captured.width);
  EXPECT_EQ(4, captured.height);
  EXPECT_EQ(24, captured.bitsPerPixel);
  EXPECT_EQ(picture.pixels.words, captured.pixels.words);

  RECT empty = {5, 5, 5, 9};
  EXPECT_NE(PICTURE_SUCCESS, PaintRecord(0, memory, &picture, &empty, nullptr, nullptr));
  PictureRecord none;
  EXPECT_NE(PICTURE_SUCCESS, PaintRecord(0, memory, &none, &same, nullptr, nullptr));

  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

// ---------------------------------------------------------------- decoding as rows arrive

namespace {
// What a whole decode of the bytes gives, laid over white as the library lays
// transparent parts: the yardstick the library's own decoding must match.
std::vector<uint32_t> WholeDecode(const Magick::Blob& blob) {
  Magick::Image image(blob);
  if (image.colorSpace() != Magick::sRGBColorspace && image.colorSpace() != Magick::GRAYColorspace)
    image.colorSpace(Magick::sRGBColorspace);
  std::vector<unsigned char> rgba(image.columns() * image.rows() * 4);
  image.write(0, 0, image.columns(), image.rows(), "RGBA", Magick::CharPixel, rgba.data());
  std::vector<uint32_t> words(image.columns() * image.rows());
  for (size_t i = 0; i < words.size(); ++i) {
    const unsigned char* p = &rgba[i * 4];
    const unsigned a = image.matte() ? p[3] : 255;
    auto over = [&](unsigned c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    words[i] = over(p[0]) << 16 | over(p[1]) << 8 | over(p[2]);
  }
  return words;
}

Magick::Blob Encoded(Magick::Image image, const char* magick) {
  image.magick(magick);
  Magick::Blob blob;
  image.write(&blob);
  return blob;
}

// A JPEG written by the toolkit, as a camera or an editor would write one.
std::string ToolkitJpeg(const std::string& path, int width, int height, bool progressive) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = qRgb(x * 255 / (width - 1), y * 255 / (height - 1), 0x60);
  }
  QImageWriter writer(QString::fromStdString(path), "jpeg");
  writer.setQuality(90);
  writer.setProgressiveScanWrite(progressive);
  EXPECT_TRUE(writer.write(picture));
  return path;
}
}  // namespace

TEST(PictureLibraryRows, EveryKindOfPngAndJpegDecodesAsAWholeDecodeWould) {
  PictureLibraryStartUp();
  PictureRecord gradient;
  MakeGradient(&gradient, 97, 61);
  Magick::Image base(97, 61, "BGRP", Magick::CharPixel, gradient.pixels.words.data());
  base.depth(8);
  std::vector<std::pair<const char*, Magick::Blob>> cases;
  cases.emplace_back("rgb png", Encoded(base, "PNG"));
  Magick::Image palette = base;
  palette.quantizeColors(16);
  palette.quantize();
  palette.type(Magick::PaletteType);
  cases.emplace_back("palette png", Encoded(palette, "PNG"));
  Magick::Image grey = base;
  grey.type(Magick::GrayscaleType);
  cases.emplace_back("grey png", Encoded(grey, "PNG"));
  cases.emplace_back("grey jpeg", Encoded(grey, "JPEG"));
  Magick::Image alpha = base;
  alpha.matte(true);
  alpha.opacity(0x6000);
  alpha.depth(16);
  cases.emplace_back("16-bit rgba png", Encoded(alpha, "PNG"));
  Magick::Image interlaced = base;
  interlaced.interlaceType(Magick::LineInterlace);
  cases.emplace_back("interlaced png", Encoded(interlaced, "PNG"));
  cases.emplace_back("progressive jpeg", Encoded(interlaced, "JPEG"));
  cases.emplace_back("jpeg", Encoded(base, "JPEG"));
  Magick::Image cmyk = base;
  cmyk.colorSpace(Magick::CMYKColorspace);
  cases.emplace_back("cmyk jpeg", Encoded(cmyk, "JPEG"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    PictureRecord record;
    ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(c.second.data(), &record, 0, 0, (DWORD)c.second.length()));
    ASSERT_EQ(97, record.width);
    EXPECT_EQ(WholeDecode(c.second), record.pixels.words);
  }
  // A picture the size of the whole pixel limit, again and again: each decode
  // gives back all it took.
  const std::string png = PngBomb(4096, 4096, true);
  for (int i = 0; i < 4; ++i) {
    PictureRecord record;
    ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(png.data(), &record, 0, 0, (DWORD)png.size())) << i;
  }
}

TEST(PictureLibraryRows, WideJpegsAreDecodedReducedAndOnlyThen) {
  TempDir dir;
  const std::string photo = ToolkitJpeg(dir.File("photo.jpg"), 6000, 4000, false);
  PictureInfo info;
  ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(photo.c_str(), &info));
  EXPECT_EQ(6000, info.width);
  PictureRecord record;
  EXPECT_EQ(PICTURE_TOO_LARGE, DecodeFile(photo.c_str(), &record, 0, 0)) << "too large at its own size";
  ASSERT_EQ(PICTURE_SUCCESS, DecodeFileReduced(photo.c_str(), &record, 0, 0, 2048));
  ASSERT_EQ(2048, record.width);
  ASSERT_EQ(1365, record.height);
  // An area average of the gradient: red grows across, green down.
  for (int x : {0, 700, 1400, 2047})
    EXPECT_NEAR((x + 0.5) * 255 / 2048, Channel(record.pixels.words[(size_t)680 * 2048 + x], 16), 4) << x;
  EXPECT_NEAR(127, Channel(record.pixels.words[(size_t)682 * 2048 + 1000], 8), 4);

  // A progressive JPEG is held whole by its decoder at any size: refused.
  const std::string progressive = ToolkitJpeg(dir.File("progressive.jpg"), 6000, 4000, true);
  EXPECT_EQ(PICTURE_TOO_LARGE, ReadPictureInfo(progressive.c_str(), &info));
  EXPECT_EQ(PICTURE_TOO_LARGE, DecodeFileReduced(progressive.c_str(), &record, 0, 0, 2048));
  // Other formats are never reduced beyond the pixel limit.
  const std::string bmp = dir.File("huge.bmp");
  WriteFile(bmp, BmpHeader(6000, 4000, 16));
  EXPECT_EQ(PICTURE_TOO_LARGE, DecodeFileReduced(bmp.c_str(), &record, 0, 0, 2048));
}

TEST(PictureLibraryHostile, FilesFullOfNotesOrFramesAreReadForTheirPictureAlone) {
  TempDir dir;
  PictureRecord picture;
  MakeGradient(&picture, 64, 48);
  const std::string jpeg = EncodeToBytes(&picture, dir, "plain.jpg", PICTURE_FORMAT_JPEG);
  PictureRecord plain;
  ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(jpeg.data(), &plain, 0, 0, (DWORD)jpeg.size()));
  // 900 comments and 20 application notes of 64 KB each after the start:
  // near the file cap.
  std::string notes;
  auto segment = [&](unsigned char marker, const std::string& head) {
    std::string body = head + std::string(65533 - head.size(), 'n');
    notes += {'\xFF', (char)marker, '\xFF', '\xFF'};
    notes += body;
  };
  for (int i = 0; i < 900; ++i) segment(0xFE, "");
  for (int i = 0; i < 20; ++i) segment(0xE1, "Exif");
  const std::string noted = jpeg.substr(0, 2) + notes + jpeg.substr(2);
  ASSERT_LT(noted.size(), (size_t)kPictureMaxFileBytes);
  const std::string path = dir.File("noted.jpg");
  WriteFile(path, noted);
  PictureRecord record;
  ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(path.c_str(), &record, 0, 0));
  EXPECT_EQ(plain.pixels.words, record.pixels.words);
  ASSERT_EQ(PICTURE_SUCCESS, DecodeMemory(noted.data(), &record, 0, 0, (DWORD)noted.size()));
  EXPECT_EQ(plain.pixels.words, record.pixels.words);

  // A GIF of two and a half million frames of one pixel: the first is the picture.
  std::string gif = std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13) + std::string("\xFF\x00\x00\x00\x00\xFF", 6);
  const std::string frame("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
  gif.reserve(gif.size() + frame.size() * 2500000 + 1);
  for (int i = 0; i < 2500000; ++i) gif += frame;
  gif += ';';
  const std::string gifPath = dir.File("frames.gif");
  WriteFile(gifPath, gif);
  ASSERT_EQ(PICTURE_SUCCESS, DecodeFile(gifPath.c_str(), &record, 0, 0));
  EXPECT_EQ(1, record.width);
  EXPECT_EQ(0xFF0000u, record.pixels.words[0]);
}

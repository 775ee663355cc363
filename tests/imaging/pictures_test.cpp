// Pictures from resources and files, and the screen bitmaps made from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "platform/testing.h"
#include "support/bitmap_helpers.h"

namespace {

COLORREF ColourOf(uint32_t word) {
  return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

// A picture whose every pixel differs from its neighbours.
void MakePattern(PictureRecord* record, int width, int height) {
  PrepareRecord(record, width, height, 24);
  record->pixels.words.resize((size_t)width * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      record->pixels.words[(size_t)y * width + x] = ((uint32_t)(x & 0xFF) << 16) |
                                                    ((uint32_t)(y & 0xFF) << 8) | ((x + y) & 0xFF);
  record->flags |= PICTURE_HAS_DATA;
}

class PicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pictures_test_XXXXXX";
    dir_ = mkdtemp(pattern);
    if (colourDepth == 0) MeasureScreenDepth();
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string File(const char* name) const { return dir_ + "/" + name; }

  std::string dir_;
};

}  // namespace

TEST_F(PicturesTest, ResourcePicturesBecomeBitmapsOfTheirOwnSize) {
  HCURSOR before = LoadCursorA(0, IDC_ARROW);
  SetCursor(before);

  int width = 0, height = 0;
  HBITMAP cardBack = LoadPictureBitmap(".cardback", &width, &height, 0);
  ASSERT_NE(nullptr, cardBack);
  EXPECT_EQ(256, width);
  EXPECT_EQ(192, height);
  int bitmapWidth, bitmapHeight;
  SizeOf(cardBack, &bitmapWidth, &bitmapHeight);
  EXPECT_EQ(256, bitmapWidth);
  EXPECT_EQ(192, bitmapHeight);

  // The bitmap holds the picture exactly: no conversion, no resampling.
  PictureRecord decoded;
  LoadResourcePicture(&decoded, "CARDBACK");
  ASSERT_TRUE(decoded.flags & PICTURE_HAS_DATA);
  for (int y : {0, 77, 191})
    for (int x : {0, 130, 255})
      EXPECT_EQ(ColourOf(decoded.pixels.words[(size_t)y * 256 + x]), PixelOf(cardBack, x, y));
  DeleteObject(cardBack);

  // Names are matched without regard to case; the size pointers are optional.
  HBITMAP egg = LoadPictureBitmap(".EgG", nullptr, &height, 0);
  ASSERT_NE(nullptr, egg);
  EXPECT_EQ(190, height);
  SizeOf(egg, &bitmapWidth, &bitmapHeight);
  EXPECT_EQ(306, bitmapWidth);
  DeleteObject(egg);

  width = height = -7;
  EXPECT_EQ(nullptr, LoadPictureBitmap(".nosuchpicture", &width, &height, 0));
  EXPECT_EQ(-7, width);
  EXPECT_EQ(-7, height);

  EXPECT_EQ(before, SetCursor(before));  // the wait cursor is gone again

  PictureRecord clock;
  LoadResourcePicture(&clock, "clock");
  EXPECT_EQ(96, clock.width);
  EXPECT_EQ(96, clock.view.bottom);
  LoadResourcePicture(&clock, "missing");
  EXPECT_FALSE(clock.flags & PICTURE_HAS_DATA);
}

// Decoding at start-up may be started early on another thread; what the
// game gets must be the same either way.
class DecodePictureFileTest : public PicturesTest, public ::testing::WithParamInterface<bool> {
 protected:
  int Decode(const std::string& path, PictureRecord* record) {
    if (GetParam()) PrefetchFile(path.c_str());
    return DecodePictureFile(path.c_str(), record);
  }
};

TEST_P(DecodePictureFileTest, SucceedsOnlyForWholePictures) {
  PictureRecord source;
  MakePattern(&source, 50, 40);
  const std::string good = File("good.tif");
  ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(good.c_str(), &source, PICTURE_FORMAT_TIFF_LZW, 24, 0));

  PictureRecord record;
  ASSERT_EQ(1, Decode(good, &record));
  EXPECT_EQ(50, record.width);
  EXPECT_EQ(40, record.height);
  EXPECT_EQ(24, record.bitsPerPixel);
  EXPECT_EQ(source.pixels.words, record.pixels.words);

  // Not a picture: the record is left as it was.
  const std::string text = File("notes.tif");
  std::ofstream(text) << "not a picture";
  EXPECT_EQ(0, Decode(text, &record));
  EXPECT_EQ(0, Decode(File("missing.tif"), &record));
  EXPECT_TRUE(record.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(50, record.width);

  // A header that reads over pixels that do not: reported as a failure, and
  // the record holds nothing rather than a half-made picture.
  std::string bmp(54 + 30, '\0');
  const unsigned char header[] = {'B', 'M', 84, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                  200, 0, 0, 0, 100, 0, 0, 0, 1, 0, 24, 0};
  bmp.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  const std::string damaged = File("damaged.bmp");
  std::ofstream(damaged, std::ios::binary) << bmp;
  PictureInfo info;
  ASSERT_EQ(PICTURE_SUCCESS, ReadPictureInfo(damaged.c_str(), &info));
  EXPECT_EQ(0, Decode(damaged, &record));
  EXPECT_FALSE(record.flags & PICTURE_HAS_DATA);
  EXPECT_TRUE(record.pixels.words.empty());
}

TEST_P(DecodePictureFileTest, WidePicturesComeOutAtTheWidestKept) {
  // Decoded whole and then averaged (a bitmap file), and averaged as its rows
  // arrive (a JPEG): both 2048 wide, the height in proportion.
  PictureRecord wide;
  MakePattern(&wide, 4100, 60);
  for (int x = 0; x < 4100; ++x)
    for (int y = 0; y < 60; ++y) wide.pixels.words[(size_t)y * 4100 + x] = x < 2050 ? 0xFF0000 : 0x0000FF;
  for (const auto& format : {std::make_pair("wide.bmp", PICTURE_FORMAT_BMP), std::make_pair("wide.jpg", PICTURE_FORMAT_JPEG)}) {
    SCOPED_TRACE(format.first);
    const std::string path = File(format.first);
    ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(path.c_str(), &wide, format.second, 24, 2));
    PictureRecord record;
    ASSERT_EQ(1, Decode(path, &record));
    ASSERT_EQ((LONG)kPictureWidestKept, record.width);
    EXPECT_EQ(30, record.height);
    EXPECT_EQ(record.pixels.words.size(), (size_t)2048 * 30);
    EXPECT_EQ(record.pixels.words[15 * 2048 + 10] & 0xF0F0F0, 0xF00000u);
    EXPECT_EQ(record.pixels.words[15 * 2048 + 2040] & 0xF0F0F0, 0x0000F0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Both, DecodePictureFileTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Prefetched" : "Direct"; });

TEST_F(PicturesTest, APrefetchServesOnlyItsOwnFile) {
  PictureRecord a, b;
  MakePattern(&a, 30, 20);
  MakePattern(&b, 20, 30);
  const std::string first = File("first.png"), second = File("second.png");
  ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(first.c_str(), &a, PICTURE_FORMAT_TIFF, 24, 0));
  ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(second.c_str(), &b, PICTURE_FORMAT_TIFF, 24, 0));
  PrefetchFile(first.c_str());
  // Another file is decoded on its own, and the prefetch waits for its own
  // file until it is dropped.
  PictureRecord record;
  ASSERT_EQ(1, DecodePictureFile(second.c_str(), &record));
  EXPECT_EQ(b.pixels.words, record.pixels.words);
  ASSERT_EQ(1, DecodePictureFile(first.c_str(), &record));
  EXPECT_EQ(a.pixels.words, record.pixels.words);
  PrefetchFile(first.c_str());
  DropPrefetchedFile();
  PrefetchedPicture stale;
  EXPECT_FALSE(TakePrefetchedFile(first.c_str(), &stale));
  // A second prefetch replaces the first.
  PrefetchFile(second.c_str());
  PrefetchFile(first.c_str());
  ASSERT_EQ(1, DecodePictureFile(first.c_str(), &record));
  EXPECT_EQ(a.pixels.words, record.pixels.words);
}

TEST_F(PicturesTest, PicturesDecodedAheadFromMemoryAreServedOnceToTheirOwnKindOfCall) {
  PictureRecord a;
  MakePattern(&a, 24, 16);
  const std::string path = File("block.png");
  ASSERT_EQ(PICTURE_SUCCESS, EncodeFile(path.c_str(), &a, PICTURE_FORMAT_TIFF, 24, 0));
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PrefetchMemory(bytes.data(), (DWORD)bytes.size(), false);
  PrefetchFile(nullptr);  // no file: the thread decodes the block alone
  PrefetchedPicture taken;
  EXPECT_FALSE(TakePrefetchedMemory(bytes.data(), (DWORD)bytes.size(), true, &taken));  // the 24-bit call
  ASSERT_TRUE(TakePrefetchedMemory(bytes.data(), (DWORD)bytes.size(), false, &taken));
  EXPECT_EQ(PICTURE_SUCCESS, taken.infoResult);
  EXPECT_EQ(a.pixels.words, taken.record.pixels.words);
  EXPECT_FALSE(TakePrefetchedMemory(bytes.data(), (DWORD)bytes.size(), false, &taken));  // only once
  // Named but never started, a block is not waited for.
  PrefetchMemory(bytes.data(), (DWORD)bytes.size(), true);
  EXPECT_FALSE(TakePrefetchedMemory(bytes.data(), (DWORD)bytes.size(), true, &taken));

  // The embedded pictures of start-up come out as the loading calls make them.
  PictureRecord direct, ahead;
  LoadResourcePicture(&direct, "clock");
  HBITMAP eggDirect = LoadPictureBitmap(".egg", nullptr, nullptr, nullptr);
  PrefetchStartupPictures(path.c_str(), "clock", {".egg", ".cardback"});
  LoadResourcePicture(&ahead, "clock");
  HBITMAP eggAhead = LoadPictureBitmap(".egg", nullptr, nullptr, nullptr);
  DropPrefetchedFile();  // the card back and the file were not asked for
  ASSERT_TRUE(direct.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(direct.width, ahead.width);
  EXPECT_EQ(direct.bitsPerPixel, ahead.bitsPerPixel);
  EXPECT_EQ(direct.pixels.words, ahead.pixels.words);
  int w1, h1, w2, h2;
  SizeOf(eggDirect, &w1, &h1);
  SizeOf(eggAhead, &w2, &h2);
  ASSERT_EQ(w1, w2);
  ASSERT_EQ(h1, h2);
  for (int y = 0; y < h1; y += 3)
    for (int x = 0; x < w1; x += 3) ASSERT_EQ(PixelOf(eggDirect, x, y), PixelOf(eggAhead, x, y)) << x << "," << y;
  DeleteObject(eggDirect);
  DeleteObject(eggAhead);
}

TEST_F(PicturesTest, StretchedBitmapOfTheSameSizeIsExactAndKeepsTheRecord) {
  PictureRecord picture;
  MakePattern(&picture, 320, 320);
  const std::vector<uint32_t> original = picture.pixels.words;

  HBITMAP bitmap = PictureToBitmap(&picture, 0, 0, 0, 320, 320);
  ASSERT_NE(nullptr, bitmap);
  int width, height;
  SizeOf(bitmap, &width, &height);
  EXPECT_EQ(320, width);
  EXPECT_EQ(320, height);
  for (int y = 0; y < 320; y += 7)
    for (int x = 0; x < 320; x += 5)
      ASSERT_EQ(ColourOf(original[(size_t)y * 320 + x]), PixelOf(bitmap, x, y)) << x << "," << y;
  DeleteObject(bitmap);

  EXPECT_TRUE(picture.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(original, picture.pixels.words);
  EXPECT_EQ(32, picture.bitsPerPixel);  // converted to the screen's depth
  EXPECT_EQ(320, picture.view.right);
}

TEST_F(PicturesTest, APictureLendsItsPixelsOnlyToAnExactBitmapAndGetsThemBack) {
  PictureRecord picture;
  MakePattern(&picture, 300, 200);
  HBITMAP same = PictureToBitmap(&picture, 0, 0, 0, 300, 200);
  const std::vector<uint32_t> original = picture.pixels.words;

  // Another size, or a bitmap that differs in one pixel, keeps the words.
  HBITMAP other = PictureToBitmap(&picture, 0, 0, 0, 150, 100);
  EXPECT_FALSE(ParkInBitmap(&picture, other));
  HBITMAP touched = PictureToBitmap(&picture, 0, 0, 0, 300, 200);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, touched);
  SetPixel(dc, 299, 199, ColourOf(original.back()) ^ 0x000001);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_FALSE(ParkInBitmap(&picture, touched));
  EXPECT_EQ(original, picture.pixels.words);

  ASSERT_TRUE(ParkInBitmap(&picture, same));
  EXPECT_TRUE(picture.pixels.words.empty());
  EXPECT_FALSE(picture.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(300, picture.width);
  EXPECT_TRUE(ParkInBitmap(&picture, same));  // lent once, not twice

  ASSERT_TRUE(TakeFromBitmap(&picture, same));
  EXPECT_TRUE(picture.flags & PICTURE_HAS_DATA);
  EXPECT_FALSE(picture.flags & PICTURE_IN_BITMAP);
  EXPECT_EQ(original, picture.pixels.words);

  // A bitmap that is gone gives nothing back: the record is empty, not torn.
  ASSERT_TRUE(ParkInBitmap(&picture, same));
  DeleteObject(same);
  EXPECT_FALSE(TakeFromBitmap(&picture, same));
  EXPECT_FALSE(picture.flags & (PICTURE_HAS_DATA | PICTURE_IN_BITMAP));
  DeleteObject(other);
  DeleteObject(touched);
}

TEST_F(PicturesTest, APictureTheBitmapsSizeBecomesItsPixelsAndOnlyThen) {
  PictureRecord picture;
  MakePattern(&picture, 300, 200);
  const std::vector<uint32_t> original = picture.pixels.words;

  // Another size, or a scaled screen, copies: the record keeps its words.
  HBITMAP smaller = PictureToLentBitmap(&picture, 0, RECT{0, 0, 150, 100});
  ASSERT_NE(nullptr, smaller);
  EXPECT_TRUE(picture.flags & PICTURE_HAS_DATA);
  EXPECT_EQ(original, picture.pixels.words);
  TestSetScale(2.0);
  HBITMAP scaled = PictureToLentBitmap(&picture, 0, RECT{0, 0, 300, 200});
  TestSetScale(1.0);
  ASSERT_NE(nullptr, scaled);
  EXPECT_EQ(original, picture.pixels.words);

  HBITMAP lent = PictureToLentBitmap(&picture, 0, RECT{0, 0, 300, 200});
  ASSERT_NE(nullptr, lent);
  EXPECT_TRUE(picture.pixels.words.empty());
  EXPECT_EQ(PICTURE_IN_BITMAP, picture.flags & (PICTURE_HAS_DATA | PICTURE_IN_BITMAP));
  EXPECT_EQ(300, picture.view.right);
  std::vector<uint32_t> shown(original.size());
  ASSERT_TRUE(ReadBitmapWords(lent, 300, 200, 0, 200, shown.data()));
  EXPECT_EQ(original, shown);
  EXPECT_TRUE(ParkInBitmap(&picture, lent));  // already lent

  // Drawing on the bitmap draws on the picture it holds.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, lent);
  SetPixel(dc, 10, 20, RGB(1, 2, 3));
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_TRUE(TakeFromBitmap(&picture, lent));
  std::vector<uint32_t> expected = original;
  expected[20 * 300 + 10] = 0x00010203;
  EXPECT_EQ(expected, picture.pixels.words);
  DeleteObject(lent);  // its words go with it
  DeleteObject(scaled);
  DeleteObject(smaller);
}

TEST_F(PicturesTest, StretchedAndOwnSizeBitmaps) {
  PictureRecord picture;
  PrepareRecord(&picture, 2, 1, 24);
  picture.pixels.words = {0x00FF0000, 0x000000FF};  // red, blue
  picture.flags |= PICTURE_HAS_DATA;

  // Stretched to any rectangle, proportions not kept; the record stays.
  HBITMAP wide = PictureToBitmap(&picture, 0, 0, 0, 200, 30);
  int width, height;
  SizeOf(wide, &width, &height);
  EXPECT_EQ(200, width);
  EXPECT_EQ(30, height);
  EXPECT_NEAR(255, GetRValue(PixelOf(wide, 2, 15)), 8);
  EXPECT_NEAR(255, GetBValue(PixelOf(wide, 197, 15)), 8);
  EXPECT_EQ(0, picture.view.left);
  EXPECT_EQ(200, picture.view.right);
  EXPECT_EQ(30, picture.view.bottom);
  EXPECT_TRUE(picture.flags & PICTURE_HAS_DATA);
  DeleteObject(wide);

  // Its own size: the record's data is freed afterwards.
  HBITMAP own = PictureToBitmap(&picture, 0, -1, 0, 0, 0);
  SizeOf(own, &width, &height);
  EXPECT_EQ(2, width);
  EXPECT_EQ(1, height);
  EXPECT_EQ(RGB(0, 0, 255), PixelOf(own, 1, 0));
  EXPECT_FALSE(picture.flags & PICTURE_HAS_DATA);
  EXPECT_TRUE(picture.pixels.words.empty());
  DeleteObject(own);

  // With nothing decoded: no own-size bitmap; a stretched one is black.
  EXPECT_EQ(nullptr, PictureToBitmap(&picture, 0, -1, 0, 0, 0));
  HBITMAP black = PictureToBitmap(&picture, 0, 0, 0, 40, 30);
  ASSERT_NE(nullptr, black);
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(black, 20, 15));
  DeleteObject(black);
}

// A desktop scaled by 2: the game's coordinates stay desktop units while the
// window's image holds the screen's own pixels, so a picture as large as the
// screen shows every one of its pixels.
#include <Magick++.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "support/game_fixture.h"

namespace {

constexpr int kUnitsW = 960, kUnitsH = 540, kScale = 2;

// A 24-bit picture of random pixels, stored as a BMP file.
std::vector<uint32_t> WriteNoisePicture(const std::string& path, int w, int h) {
  std::vector<uint32_t> pixels((size_t)w * h);
  std::mt19937 random(7);
  for (uint32_t& p : pixels) p = random() & 0xFFFFFF;
  const int stride = (w * 3 + 3) & ~3;
  const uint32_t dataSize = (uint32_t)stride * h, fileSize = 54 + dataSize;
  std::vector<uint8_t> bytes(fileSize, 0);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes[at + i] = (uint8_t)(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, fileSize, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, (uint32_t)w, 4);
  put(22, (uint32_t)h, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, dataSize, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = pixels[(size_t)y * w + x];
      const size_t at = 54 + (size_t)(h - 1 - y) * stride + (size_t)x * 3;
      bytes[at] = (uint8_t)p;
      bytes[at + 1] = (uint8_t)(p >> 8);
      bytes[at + 2] = (uint8_t)(p >> 16);
    }
  FILE* f = fopen(path.c_str(), "wb");
  if (f) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  return pixels;
}

class ScaledDesktop : public GameFixture {
 protected:
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = kUnitsW;
    o.desktopHeight = kUnitsH;
    o.commandLine = pictures_;
    return o;
  }
  void SetUp() override {
    char folder[] = "/tmp/scaledXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    pictures_ = std::string(folder) + "/";
    picture_ = WriteNoisePicture(pictures_ + "cathedra.bkg", kUnitsW * kScale, kUnitsH * kScale);
    TestSetScale(kScale);
    GameFixture::SetUp();
  }
  void TearDown() override {
    GameFixture::TearDown();
    TestSetScale(1);
    for (const char* name : {"cathedra.bkg", "swpstats.tif", "swpstats@2x.tif"}) unlink((pictures_ + name).c_str());
    rmdir(pictures_.c_str());
  }
  std::string pictures_;
  std::vector<uint32_t> picture_;
};

TEST_F(ScaledDesktop, CellsShowThePicturesOwnPixelsAndTheWindowCoversTheDesktop) {
  RECT window, desktop;
  GetWindowRect(MainWindow, &window);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(window.right, desktop.right);
  EXPECT_EQ(window.bottom, desktop.bottom);
  EXPECT_EQ(Board->boardWidth, kUnitsW) << "the game counts in desktop units";

  clockFlag = 0;
  command(5106);  // open play: every piece shows
  ASSERT_EQ(Board->faceDown, 0);
  int w, h;
  std::vector<uint32_t> screen = TestWindowImage(MainWindow, &w, &h);
  ASSERT_EQ(w, kUnitsW * kScale);
  ASSERT_EQ(h, kUnitsH * kScale);

  // 960 / 6 and 540 / 6 are whole: every piece lies in a cell of its own size.
  int exact = 0, pairs = 0, differing = 0;
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      const RECT d = CellRect(i, j);
      const RECT s = CellRect(Board->homeColumn[CellIndex(i, j)], Board->homeRow[CellIndex(i, j)]);
      bool same = true;
      for (int y = d.top * kScale; y < d.bottom * kScale; ++y)
        for (int x = d.left * kScale; x < d.right * kScale; ++x) {
          const uint32_t shown = screen[(size_t)y * w + x];
          const int py = y - d.top * kScale + s.top * kScale, px = x - d.left * kScale + s.left * kScale;
          if (shown != picture_[(size_t)py * w + px]) same = false;
          if (x % 2 == 0) {
            ++pairs;
            if (shown != screen[(size_t)y * w + x + 1]) ++differing;
          }
        }
      exact += same;
    }
  EXPECT_EQ(exact, 36) << "every cell shows its piece pixel for pixel";
  EXPECT_GT(differing, pairs * 9 / 10) << "neighbouring screen pixels differ as the picture's do, not doubled";
}

// The pictures the game draws at twice their size show those pixels one to
// one: the title, the clock face and the statistics picture.
TEST_F(ScaledDesktop, TheTitleClockAndStatisticsPicturesShowTheirTwiceSizePixels) {
  for (const char* name : {"swpstats.tif", "swpstats@2x.tif"})
    std::filesystem::copy_file(DataDirectory() + "/" + name, pictures_ + name);
  const std::string resources = DataDirectory() + "/../resources/pictures/";
  const std::pair<HBITMAP, std::string> pictures[] = {{EggBitmap, resources + "EGG@2x.png"},
                                                      {ClockBitmap, resources + "CLOCK@2x.png"},
                                                      {StatsPictureBitmap(MainWindow), pictures_ + "swpstats@2x.tif"}};
  for (const auto& [bitmap, file] : pictures) {
    SCOPED_TRACE(file);
    ASSERT_NE(bitmap, nullptr);
    Magick::Image sharp(file);
    const int pw = (int)sharp.columns(), ph = (int)sharp.rows();
    std::vector<uint8_t> rgb((size_t)pw * ph * 3);
    sharp.write(0, 0, pw, ph, "RGB", Magick::CharPixel, rgb.data());
    HDC dc = GetDC(MainWindow);
    BlitBitmap(dc, bitmap, 0, 0, pw / 2, ph / 2, 0, 0, pw / 2, ph / 2);
    ReleaseDC(MainWindow, dc);
    int w, h, differing = 0;
    const std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
    for (int y = 0; y < ph; ++y)
      for (int x = 0; x < pw; ++x) {
        const uint8_t* p = &rgb[((size_t)y * pw + x) * 3];
        differing += screen[(size_t)y * w + x] != ((uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]);
      }
    EXPECT_EQ(differing, 0);
  }
  // The figures of the statistics dialog sit in the middle of their boxes
  // here as well.
  std::vector<std::string> offCentre{"no dialog"};
  TestQueueDialogScript([&](HWND d) { offCentre = StatsFiguresOffCentre(d, kScale); });
  Board->lastGameSize = 6;
  Board->elapsedSeconds = 75;
  ShowStatsDialog(MainWindow);
  EXPECT_EQ(offCentre, std::vector<std::string>());
}

}  // namespace

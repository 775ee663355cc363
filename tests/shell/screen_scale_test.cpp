// A desktop scaled by 2: the game's coordinates stay desktop units while the
// window's image holds the screen's own pixels, so a picture as large as the
// screen shows every one of its pixels.
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "puzzle/board.h"
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
    unlink((pictures_ + "cathedra.bkg").c_str());
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

}  // namespace

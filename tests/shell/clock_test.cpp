// The running clock: its hands, when it is drawn, how it runs from the mouse,
// and the time text.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/shell_state.h"
#include "common/time_text.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "shell/clock.h"
#include "shell/window_proc.h"
#include "support/game_fixture.h"

namespace {

std::string TimeText(uint32_t s) {
  char text[32];
  FormatTimeText(text, sizeof text, "", s);
  return text;
}

TEST(TimeText, HoursMinutesAndSecondsInTwoDigitFields) {
  EXPECT_EQ(TimeText(0), "00:00:00");
  EXPECT_EQ(TimeText(59), "00:00:59");
  EXPECT_EQ(TimeText(60), "00:01:00");
  EXPECT_EQ(TimeText(600), "00:10:00");
  EXPECT_EQ(TimeText(3725), "01:02:05");
  EXPECT_EQ(TimeText(3900), "01:05:00");
  EXPECT_EQ(TimeText(86399), "23:59:59");
  EXPECT_EQ(TimeText(86400), "24:00:00") << "hours are not reduced to a day";
  EXPECT_EQ(TimeText(360000), "100:00:00");
  char text[32];
  FormatTimeText(text, sizeof text, "Took ", 61);
  EXPECT_STREQ(text, "Took 00:01:01");
  // A short buffer is cut, never overrun.
  char small[6];
  memset(small, 'x', sizeof small);
  FormatTimeText(small, sizeof small, "", 3725);
  EXPECT_EQ(small[5], 0);
}

TEST(ClockHands, TipsPointWhereTheClockReads) {
  // A 96 x 96 clock centred on (48, 48): long hand 43 pixels, short hand 24.
  auto tip = [](uint32_t p, double k) { return ClockHandTip(48, 48, 96, 96, p, k); };
  auto same = [](POINT a, int x, int y) { return a.x == x && a.y == y; };
  EXPECT_TRUE(same(tip(0, 0.45), 48, 5)) << "0 seconds: straight up";
  EXPECT_TRUE(same(tip(15, 0.45), 91, 48)) << "15 seconds: three o'clock";
  EXPECT_TRUE(same(tip(30, 0.45), 48, 91)) << "30 seconds: straight down";
  EXPECT_TRUE(same(tip(45, 0.45), 5, 48)) << "45 seconds: nine o'clock";
  EXPECT_TRUE(same(tip(0, 0.25), 48, 25));
  EXPECT_TRUE(same(tip(5, 0.25), 60, 28)) << "one minute: the one o'clock mark";
  EXPECT_TRUE(same(tip(15, 0.25), 71, 48)) << "three minutes: three o'clock";
  EXPECT_TRUE(same(tip(10, 0.25), 68, 37));
  // Off the origin the tips move with the centre.
  POINT far = ClockHandTip(548, 348, 96, 96, 15, 0.45);
  EXPECT_EQ(far.x, 591);
  EXPECT_EQ(far.y, 348);
}

// Draws only the hands (no picture) on black and finds the pixel of a colour
// that lies farthest from the centre.
struct HandDrawing {
  std::vector<uint32_t> image;
  int w = 0, h = 0;
  explicit HandDrawing(uint32_t seconds) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 96, 96);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRectColor(dc, 0, 0, 96, 96, 0);
    DrawClockFace(dc, 0, 0, 96, 96, seconds, nullptr, nullptr);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    image = BitmapImage(bitmap, &w, &h);
    DeleteObject(bitmap);
  }
  bool Farthest(COLORREF colour, POINT* out) const {
    const uint32_t want = ToRgbWord(colour);
    int best = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (image[(size_t)y * w + x] == want) {
          int d = (x - 47) * (x - 47) + (y - 47) * (y - 47);
          if (d > best) {
            best = d;
            *out = POINT{x, y};
          }
        }
    return best >= 0;
  }
};

void ExpectNear(POINT got, POINT want, const char* what, uint32_t s) {
  EXPECT_LE(std::abs(got.x - want.x) + std::abs(got.y - want.y), 2)
      << what << " at " << s << " s ends at " << got.x << "," << got.y << ", not near " << want.x << ","
      << want.y;
}

TEST(ClockHands, TheDrawnHandsEndAtTheirTips) {
  struct Case {
    uint32_t seconds;
    POINT longTip, shortTip;
  } cases[] = {
      {0, {48, 5}, {48, 25}},  {15, {91, 48}, {48, 25}},  {60, {48, 5}, {60, 28}},
      {180, {48, 5}, {71, 48}}, {720, {48, 5}, {48, 25}}, {150, {48, 91}, {68, 37}},
  };
  for (const Case& c : cases) {
    HandDrawing d(c.seconds);
    POINT p;
    ASSERT_TRUE(d.Farthest(RGB(255, 255, 0), &p)) << "no long hand at " << c.seconds;
    ExpectNear(p, c.longTip, "long hand", c.seconds);
    ASSERT_TRUE(d.Farthest(RGB(0, 255, 0), &p)) << "no short hand at " << c.seconds;
    ExpectNear(p, c.shortTip, "short hand", c.seconds);
  }
}

class ClockGame : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    NewGame();
    Pump();
  }
  // True when any pixel of the clock's square changed from `before`.
  bool ClockSquareChanged(const std::vector<uint32_t>& before, LONG x0, LONG y0) {
    int w, h;
    std::vector<uint32_t> now = WindowImage(MainWindow, &w, &h);
    for (int y = y0; y < y0 + 96; ++y)
      for (int x = x0; x < x0 + 96; ++x)
        if (now[(size_t)y * w + x] != before[(size_t)y * w + x]) return true;
    return false;
  }
};

TEST_F(ClockGame, NoClockWhileAPictureIsGeneratedOrTheClockIsOff) {
  int w, h;
  std::vector<uint32_t> board = WindowImage(MainWindow, &w, &h);

  generationInProgress = 1;
  TestAdvanceTicks(1000);
  Pump();
  DrawClock(MainWindow, 5000);
  generationInProgress = 0;
  EXPECT_FALSE(ClockSquareChanged(board, clockX, clockY)) << "no clock while a picture is generated";

  clockFlag = 0;
  TestAdvanceTicks(1000);
  Pump();
  EXPECT_FALSE(ClockSquareChanged(board, clockX, clockY)) << "the clock is switched off";
}

TEST_F(ClockGame, TheTickShowsTheTimeSinceTheGameStarted) {
  int w, h;
  std::vector<uint32_t> board = WindowImage(MainWindow, &w, &h);
  // The face of 75 seconds drawn over the same part of the board.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP expected = CreateCompatibleBitmap(screen, 96, 96);
  HGDIOBJ old = SelectObject(dc, expected);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) {
      uint32_t p = board[(size_t)(clockY + y) * w + clockX + x];
      SetPixel(dc, x, y, RGB((p >> 16) & 255, (p >> 8) & 255, p & 255));
    }
  DrawClockFace(dc, 0, 0, 96, 96, 75, ClockBitmap, ClockMask);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  int ew, eh;
  std::vector<uint32_t> face = BitmapImage(expected, &ew, &eh);
  DeleteObject(expected);

  TestAdvanceTicks(75000 + 999);  // the face shows whole seconds
  Pump();
  std::vector<uint32_t> now = WindowImage(MainWindow, &w, &h);
  int bad = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x)
      if (now[(size_t)(clockY + y) * w + clockX + x] != face[(size_t)y * 96 + x]) ++bad;
  EXPECT_EQ(bad, 0);
}

TEST_F(ClockGame, TheClockIsNotDrawnOnceTheGameHasEnded) {
  TestQueueMessageBoxAnswer(IDYES);
  command(103);  // ends the game without a win
  ASSERT_EQ(Board->gameInProgress, 0);
  int w, h;
  std::vector<uint32_t> title = WindowImage(MainWindow, &w, &h);
  TestAdvanceTicks(1000);
  Pump();
  EXPECT_FALSE(ClockSquareChanged(title, clockX, clockY));
  mouseMove(clockX + 48, clockY + 48);
  EXPECT_EQ(clockX, 500) << "no game, no running away";
}

TEST_F(ClockGame, RunningFromTheMouseWipesTheOldPlace) {
  int w, h;
  std::vector<uint32_t> board = WindowImage(MainWindow, &w, &h);
  TestAdvanceTicks(1000);
  Pump();
  ASSERT_TRUE(ClockSquareChanged(board, 500, 300));

  // The mouse up-left of the centre: the clock steps 10 down-right.
  mouseMove(540, 340);
  EXPECT_EQ(clockX, 510);
  EXPECT_EQ(clockY, 310);
  std::vector<uint32_t> now = WindowImage(MainWindow, &w, &h);
  int stale = 0;
  for (int y = 300; y < 396; ++y)
    for (int x = 500; x < 596; ++x) {
      bool underNew = x >= 510 && y >= 310;
      if (!underNew && now[(size_t)y * w + x] != board[(size_t)y * w + x]) ++stale;
    }
  EXPECT_EQ(stale, 0) << "the board is drawn back where the clock was";
  EXPECT_TRUE(ClockSquareChanged(board, 510, 310));

  // Far from the mouse it stays.
  mouseMove(10, 10);
  EXPECT_EQ(clockX, 510);
  EXPECT_EQ(clockY, 310);
}

TEST_F(ClockGame, TheClockNeverSettlesNearAnEdge) {
  RECT client;
  GetClientRect(MainWindow, &client);
  const int W = client.right, H = client.bottom;
  int jumps = 0;
  // Chase the clock from each side in turn, driving it toward every edge.
  const int offsets[4][2] = {{5, 5}, {-5, -5}, {5, -5}, {-5, 5}};
  for (int round = 0; round < 400; ++round) {
    const int* o = offsets[(round / 100) % 4];
    LONG beforeX = clockX, beforeY = clockY;
    int x = std::max(0, std::min(W - 1, (int)clockX + 48 + o[0]));
    int y = std::max(0, std::min(H - 1, (int)clockY + 48 + o[1]));
    mouseMove(x, y);
    if (std::abs(clockX - beforeX) > 10 || std::abs(clockY - beforeY) > 10) ++jumps;
    ASSERT_GE(clockX, 20) << "round " << round;
    ASSERT_GE(clockY, 20) << "round " << round;
    ASSERT_LE(clockX + 96, W - 20) << "round " << round;
    ASSERT_LE(clockY + 96, H - 20) << "round " << round;
  }
  EXPECT_GT(jumps, 4) << "the clock was sent to a random place at the edges";

  // While a picture is generated the mouse moves nothing.
  generationInProgress = 1;
  LONG x = clockX, y = clockY;
  mouseMove(x + 48, y + 48);
  generationInProgress = 0;
  EXPECT_EQ(clockX, x);
  EXPECT_EQ(clockY, y);

  // Nor when the clock is switched off.
  clockFlag = 0;
  mouseMove(x + 48, y + 48);
  EXPECT_EQ(clockX, x);
}

class SmallWindowClock : public GameFixture {
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 120;
    o.desktopHeight = 120;
    return o;
  }
};

TEST_F(SmallWindowClock, RelocationEndsInAWindowWithNoRoom) {
  NewGame();
  clockX = 30;
  clockY = 10;
  mouseMove(60, 60);  // returns only if the relocation ends
  EXPECT_GE(clockX, 0);
  EXPECT_GE(clockY, 0);
  EXPECT_LE(clockX + 96, 120);
  EXPECT_LE(clockY + 96, 120);

  for (int size : {0, 50, 96, 100, 135}) {
    clockX = 0;
    clockY = 0;
    RunClockAway(5, 5, size, size);
    EXPECT_GE(clockX, 0) << size;
    EXPECT_GE(clockY, 0) << size;
  }
  // Exactly room for one place: it is found.
  clockX = 0;
  clockY = 0;
  RunClockAway(5, 5, 136, 136);
  EXPECT_EQ(clockX, 20);
  EXPECT_EQ(clockY, 20);
}

}  // namespace

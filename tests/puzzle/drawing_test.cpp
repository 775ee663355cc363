// What the main window shows: the title picture between games, card backs and
// face-up pieces in their cells, and cells of uneven width.
#include <vector>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "support/game_fixture.h"

namespace {

// Pixels that are not the title picture at (left, top) on black.
int TitleMismatches(int left, int top) {
  int ew, eh;
  std::vector<uint32_t> egg = BitmapImage(EggBitmap, &ew, &eh);
  EXPECT_EQ(ew, 306);
  EXPECT_EQ(eh, 190);
  int w, h;
  std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
  int bad = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool in = x >= left && x < left + ew && y >= top && y < top + eh;
      uint32_t want = in ? egg[(size_t)(y - top) * ew + (x - left)] : 0;
      if (screen[(size_t)y * w + x] != want) ++bad;
    }
  return bad;
}

using TitleTest = GameFixture;

TEST_F(TitleTest, TheTitlePictureIsCentredOnBlack) {
  // (1024 - 306) / 2 = 359, (768 - 190) / 2 = 289.
  EXPECT_EQ(TitleMismatches(359, 289), 0);
  int w, h;
  std::vector<uint32_t> title = WindowImage(MainWindow, &w, &h);

  // A game's board, then back to the title: the board is gone again.
  NewGame();
  EXPECT_NE(WindowImage(MainWindow, &w, &h), title);
  TestQueueMessageBoxAnswer(IDYES);
  command(103);
  EXPECT_EQ(titleScreenFlag, 1u);
  EXPECT_EQ(TitleMismatches(359, 289), 0);
}

class OddTitle : public GameFixture {
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 801;
    o.desktopHeight = 601;
    return o;
  }
};

TEST_F(OddTitle, HalvingDropsTheRemainder) {
  // (801 - 306) / 2 = 247, (601 - 190) / 2 = 205.
  EXPECT_EQ(TitleMismatches(247, 205), 0);
}

// 1000 x 750 on 6 x 6: columns 166, 167, 167, 166, 167, 167 wide, rows 125.
class BoardDrawing : public GameFixture {
 protected:
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 1000;
    o.desktopHeight = 750;
    return o;
  }
  void SetUp() override {
    GameFixture::SetUp();
    clockFlag = 0;
    puzzle_ = BitmapImage(PuzzleBitmap, &pw_, &ph_);
    cardBack_ = BitmapImage(CardBackBitmap, &cw_, &ch_);
  }
  // What cell (i, j) should show: the card back stretched into it, or the
  // piece's part of the picture stretched from its own cell (nearest pixel).
  uint32_t Expected(int i, int j, int x, int y) {
    RECT d = CellRect(i, j);
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int hi = Board->homeColumn[CellIndex(i, j)], hj = Board->homeRow[CellIndex(i, j)];
    const bool home = hi == i && hj == j;
    const bool selected = j * Board->columns + i == Board->firstSelected;
    if (Board->faceDown && !home && !selected)
      return cardBack_[(size_t)((y - d.top) * ch_ / dh) * cw_ + (x - d.left) * cw_ / dw];
    RECT s = CellRect(hi, hj);
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    return puzzle_[(size_t)(s.top + (y - d.top) * sh / dh) * pw_ + s.left + (x - d.left) * sw / dw];
  }
  int Mismatches() {
    int w, h;
    std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
    int bad = 0;
    for (int i = 0; i < Board->columns; ++i)
      for (int j = 0; j < Board->rows; ++j) {
        RECT d = CellRect(i, j);
        for (int y = d.top; y < d.bottom; ++y)
          for (int x = d.left; x < d.right; ++x)
            if (screen[(size_t)y * w + x] != Expected(i, j, x, y)) ++bad;
      }
    return bad;
  }
  std::vector<uint32_t> puzzle_, cardBack_;
  int pw_ = 0, ph_ = 0, cw_ = 0, ch_ = 0;
};

TEST_F(BoardDrawing, AFreshBoardShowsCardBacksAndOnlyHomePiecesFaceUp) {
  NewGame();
  EXPECT_EQ(Mismatches(), 0);
  // Row 0 home, every other piece away: each home piece fills exactly its
  // uneven cell, and its neighbours below start with the card back.
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      Board->homeColumn[CellIndex(i, j)] = j == 0 ? i : (i + 1) % 6;
      Board->homeRow[CellIndex(i, j)] = j;
    }
  InvalidateRect(MainWindow, nullptr, FALSE);
  Pump();
  EXPECT_EQ(Mismatches(), 0);
  int w, h;
  std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
  const int lefts[7] = {0, 166, 333, 500, 666, 833, 1000};
  for (int i = 0; i < 6; ++i) {
    for (int x = lefts[i]; x < lefts[i + 1]; ++x)
      ASSERT_EQ(screen[(size_t)60 * w + x], puzzle_[(size_t)60 * pw_ + x]) << "column " << i << " x " << x;
    EXPECT_EQ(screen[(size_t)125 * w + lefts[i]], cardBack_[0]) << "card back starts at column " << i;
    const int width = lefts[i + 1] - lefts[i];
    EXPECT_EQ(screen[(size_t)125 * w + lefts[i + 1] - 1], cardBack_[(size_t)((width - 1) * cw_ / width)])
        << "and ends with it";
  }
}

TEST_F(BoardDrawing, OpenPlayShowsEveryPieceAndLooksSolvedWhenItIs) {
  command(5106);
  ASSERT_EQ(Board->faceDown, 0);
  EXPECT_EQ(Mismatches(), 0);
  LayOutSolved();
  int w, h;
  EXPECT_EQ(WindowImage(MainWindow, &w, &h), puzzle_);
  Exchange(0, 0, 1, 0);  // 166 and 167 wide: the pieces are stretched
  EXPECT_EQ(Mismatches(), 0);
  EXPECT_NE(WindowImage(MainWindow, &w, &h), puzzle_);
}

TEST_F(BoardDrawing, EveryBoardSizeCoversTheWholeWindow) {
  for (UINT id : {5004u, 5009u, 5012u, 5015u, 5020u}) {
    Board->statsOn = 0;  // change sizes without questions
    command(id);
    ASSERT_EQ(Board->columns, (int)id - 5000);
    EXPECT_EQ(Mismatches(), 0) << id - 5000 << " x " << id - 5000;
    EXPECT_EQ(CellRect(Board->columns - 1, Board->rows - 1).right, 1000);
    EXPECT_EQ(CellRect(Board->columns - 1, Board->rows - 1).bottom, 750);
  }
}

}  // namespace

// Play on the real board: selecting, deselecting, swapping with the outline
// animation, the flip, the win, and a whole recorded game.
#include <string>
#include <vector>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "shell/keyboard_cursor.h"
#include "support/game_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// The cell that holds the piece whose home is (i, j).
bool FindPieceOf(int i, int j, int* column, int* row) {
  for (int y = 0; y < Board->rows; ++y)
    for (int x = 0; x < Board->columns; ++x)
      if (Board->homeColumn[CellIndex(x, y)] == i && Board->homeRow[CellIndex(x, y)] == j) {
        *column = x;
        *row = y;
        return true;
      }
  return false;
}

// 960 x 720: every cell of a 6 x 6 board is 160 x 120, so a piece shows its
// part of the picture 1:1 wherever it lies.
class PlayTest : public GameFixture {
 protected:
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 960;
    o.desktopHeight = 720;
    return o;
  }
  void SetUp() override {
    GameFixture::SetUp();
    clockFlag = 0;  // keep the clock off the pixels
    NewGame();
    puzzle_ = BitmapImage(PuzzleBitmap, &pw_, &ph_);
    cardBack_ = BitmapImage(CardBackBitmap, &cw_, &ch_);
    ASSERT_EQ(pw_, 960);
    ASSERT_GT(cw_, 0);
  }

  // Pixels of cell (i, j) on the screen that differ from the piece
  // (hi, hj)'s part of the picture.
  int PieceMismatches(int i, int j, int hi, int hj) {
    int w, h;
    std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
    RECT d = CellRect(i, j), s = CellRect(hi, hj);
    int bad = 0;
    for (int y = d.top; y < d.bottom; ++y)
      for (int x = d.left; x < d.right; ++x)
        if (screen[(size_t)y * w + x] != puzzle_[(size_t)(y - d.top + s.top) * pw_ + (x - d.left + s.left)]) ++bad;
    return bad;
  }
  // Pixels of cell (i, j) that differ from the card back stretched into it.
  int CardBackMismatches(int i, int j) {
    int w, h;
    std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
    RECT d = CellRect(i, j);
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    int bad = 0;
    for (int y = d.top; y < d.bottom; ++y)
      for (int x = d.left; x < d.right; ++x) {
        int sx = (x - d.left) * cw_ / dw, sy = (y - d.top) * ch_ / dh;
        if (screen[(size_t)y * w + x] != cardBack_[(size_t)sy * cw_ + sx]) ++bad;
      }
    return bad;
  }
  bool ShowsPiece(int i, int j, int hi, int hj) { return PieceMismatches(i, j, hi, hj) == 0; }
  bool ShowsCardBack(int i, int j) { return CardBackMismatches(i, j) == 0; }
  // The screen equals what a full repaint draws (no outline left behind).
  bool ScreenIsClean() {
    int w, h;
    std::vector<uint32_t> before = WindowImage(MainWindow, &w, &h);
    InvalidateRect(MainWindow, nullptr, FALSE);
    Pump();
    return WindowImage(MainWindow, &w, &h) == before;
  }
  int Cell(int i, int j) const { return j * Board->columns + i; }
  // The last swap of a game with neither sounds nor statistics.
  void WinQuietly() {
    soundFlag = 0;
    Board->statsOn = 0;
    LayOutSolved();
    Exchange(3, 0, 3, 1);
    ClickCell(3, 0);
    ClickCell(3, 1);
  }

  std::vector<uint32_t> puzzle_, cardBack_;
  int pw_ = 0, ph_ = 0, cw_ = 0, ch_ = 0;
};

TEST_F(PlayTest, SelectingShowsThePieceAndClickingAgainHidesItWithoutAMove) {
  LayOutSolved();
  Exchange(2, 2, 3, 3);
  ASSERT_TRUE(ShowsCardBack(2, 2));
  ASSERT_TRUE(ShowsPiece(1, 1, 1, 1)) << "a home piece lies face up";

  ClickCell(2, 2);
  EXPECT_EQ(Board->firstSelected, Cell(2, 2));
  EXPECT_TRUE(ShowsPiece(2, 2, 3, 3)) << "the selected piece shows face up away from home";
  ClickCell(2, 2);
  EXPECT_EQ(Board->firstSelected, -1);
  EXPECT_TRUE(ShowsCardBack(2, 2));
  EXPECT_EQ(Board->moveCount, 0);
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "plain_beep2"}));
  EXPECT_EQ(TestRectangleCalls(), 0);

  // A home piece may be selected too; nothing changes on the screen.
  ClickCell(1, 1);
  EXPECT_EQ(Board->firstSelected, Cell(1, 1));
  EXPECT_TRUE(ShowsPiece(1, 1, 1, 1));
  EXPECT_TRUE(ScreenIsClean());
}

TEST_F(PlayTest, SwappingTwoPiecesThatBelongInEachOthersCellsLeavesBothFaceUp) {
  LayOutSolved();
  Exchange(0, 0, 1, 0);
  Exchange(4, 4, 5, 5);
  ClearRecords();
  ClickCell(0, 0);
  ClickCell(1, 0);
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "take_two"}));
  EXPECT_EQ(Board->moveCount, 1);
  EXPECT_EQ(Board->firstSelected, -1);
  EXPECT_EQ(Board->secondSelected, -1);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_TRUE(ShowsPiece(0, 0, 0, 0));
  EXPECT_TRUE(ShowsPiece(1, 0, 1, 0));
  EXPECT_TRUE(ShowsCardBack(4, 4));
  EXPECT_TRUE(ScreenIsClean()) << "the outlines are all erased";
  // 160 pixels apart: outlines at 0, 25, ... 150, four rectangles each;
  // 20 ms a frame and the pause face up.
  EXPECT_EQ(TestRectangleCalls(), 7 * 4);
  EXPECT_EQ(TestWaitedMilliseconds(), 7u * 20u + 250u);
}

TEST_F(PlayTest, APieceSwappedAwayFromHomeTurnsFaceDown) {
  LayOutSolved();
  Exchange(2, 2, 3, 3);
  ClickCell(4, 4);  // home, face up
  ClickCell(2, 2);
  EXPECT_EQ(Board->homeColumn[CellIndex(4, 4)], 3);
  EXPECT_EQ(Board->homeColumn[CellIndex(2, 2)], 4);
  EXPECT_TRUE(ShowsCardBack(4, 4));
  EXPECT_TRUE(ShowsCardBack(2, 2));
  EXPECT_TRUE(ShowsCardBack(3, 3));
  EXPECT_TRUE(ShowsPiece(0, 0, 0, 0));
  EXPECT_TRUE(ScreenIsClean());
  // Diagonal: the larger of the two distances, 320 across, 240 down.
  EXPECT_EQ(TestRectangleCalls(), 13 * 4);

  // A swap that puts one piece home flips just that one.
  ClickCell(4, 4);
  ClickCell(3, 3);
  EXPECT_TRUE(ShowsPiece(3, 3, 3, 3));
  EXPECT_TRUE(ShowsCardBack(4, 4));
  EXPECT_EQ(Board->moveCount, 2);
}

TEST_F(PlayTest, TheWinningSwapEndsTheGameWithTheCongratulations) {
  LayOutSolved();
  Exchange(0, 0, 5, 5);
  Exchange(1, 1, 2, 1);
  ClickCell(1, 1);
  ClickCell(2, 1);
  ASSERT_EQ(Board->moveCount, 1);
  ClearRecords();
  TestAdvanceTicks(61000);
  const DWORD started = Board->startTicks;

  ClickCell(5, 5);
  ClickCell(0, 0);
  // Then the statistics dialog says the count without the winning swap.
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "take_two", "kcongrat", "gametook_wav!", "n1!", "moves_wav!"}));
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].owner, MainWindow);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Congratulations!");
  EXPECT_EQ(TestMessageBoxes()[0].text, "You have won the game!");
  EXPECT_EQ(TestMessageBoxes()[0].type, (UINT)MB_OK);
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(Board->lastGameSize, 6);
  EXPECT_EQ(Board->moveCount, 2) << "the winning swap is counted too, after the win";
  EXPECT_EQ(Board->elapsedSeconds, (GetTickCount() - started) / 1000);
  // 61 s waited, plus the two swaps: 7 frames and 32 frames of 20 ms, each
  // with its 250 ms pause.
  EXPECT_EQ(Board->elapsedSeconds, 62u);

  // The finished picture stays on the screen.
  EXPECT_TRUE(ShowsPiece(0, 0, 0, 0));
  EXPECT_TRUE(ShowsPiece(5, 5, 5, 5));
  EXPECT_TRUE(ScreenIsClean());

  // Clicks after the win are ignored.
  ClearRecords();
  ClickCell(3, 3);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(Board->firstSelected, -1);
}

TEST_F(PlayTest, AQuietUncountedWinShowsTheFinalTimeOnThePicture) {
  WinQuietly();
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(Board->gameInProgress, 0);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Congratulations!");

  // The clock is drawn once with the final time even though it is switched
  // off; the rest of the screen is the finished picture.
  int w, h;
  std::vector<uint32_t> screen = WindowImage(MainWindow, &w, &h);
  int offPicture = 0, clockPixels = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool inClock = x >= clockX && x < clockX + 96 && y >= clockY && y < clockY + 96;
      bool differs = screen[(size_t)y * w + x] != puzzle_[(size_t)y * pw_ + x];
      if (inClock && differs) ++clockPixels;
      if (!inClock && differs) ++offPicture;
    }
  EXPECT_EQ(offPicture, 0);
  EXPECT_GT(clockPixels, 0);
}

TEST_F(PlayTest, AfterAWinAFileDialogOpensOverTheTitleNotTheFinishedBoard) {
  WinQuietly();
  ASSERT_EQ(Board->gameInProgress, 0);
  ASSERT_TRUE(ShowsPiece(0, 0, 0, 0));
  TestFileDialogs().clear();
  // Handled on the spot, with nothing pumped afterwards: what the window
  // holds now is what the dialog opened over.
  SendMessageA(MainWindow, WM_COMMAND, 200, 0);
  ASSERT_EQ(TestFileDialogs().size(), 1u);
  EXPECT_EQ(TestWindowPixel(MainWindow, 5, 5), RGB(0, 0, 0)) << "the title screen";
  EXPECT_FALSE(ShowsPiece(0, 0, 0, 0));
}

TEST_F(PlayTest, OpenPlayMarksTheSelectionByInvertingIt) {
  TestQueueMessageBoxAnswer(IDYES);  // end the running game
  command(5106);                     // open play on 6 x 6
  ASSERT_EQ(Board->faceDown, 0);
  LayOutSolved();
  Exchange(0, 2, 1, 2);
  ASSERT_TRUE(ShowsPiece(0, 2, 1, 2)) << "in open play every piece shows";
  ClearRecords();

  ClickCell(0, 2);
  RECT r = CellRect(0, 2);
  int inverted = 0, total = 0;
  for (int y = r.top; y < r.bottom; y += 7)
    for (int x = r.left; x < r.right; x += 7) {
      ++total;
      RECT s = CellRect(1, 2);
      uint32_t piece = puzzle_[(size_t)(y - r.top + s.top) * pw_ + (x - r.left + s.left)];
      if (ToRgbWord(pixel(x, y)) == (~piece & 0xFFFFFF)) ++inverted;
    }
  EXPECT_EQ(inverted, total);
  ClickCell(0, 2);
  EXPECT_TRUE(ShowsPiece(0, 2, 1, 2)) << "inverting again removes the mark";

  ClickCell(0, 2);
  ClickCell(1, 2);
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "plain_beep2", "plain_beep", "take_two", "kcongrat", "gametook_wav!",
                               "n0!", "moves_wav!"}));
  EXPECT_TRUE(ShowsPiece(0, 2, 0, 2));
  EXPECT_TRUE(ShowsPiece(1, 2, 1, 2));
  // No face-down pause in open play.
  EXPECT_EQ(TestWaitedMilliseconds(), 7u * 20u);
}

// A 640 x 480 board: neighbouring cells are 106 pixels apart across and 80
// down.
class SmallBoardPlay : public GameFixture {
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 640;
    o.desktopHeight = 480;
    return o;
  }
};

TEST_F(SmallBoardPlay, OutlineFramesFollowTheDistance) {
  clockFlag = 0;
  NewGame();
  struct Case {
    int i1, j1, i2, j2, frames;
  } cases[] = {
      {0, 0, 1, 0, 5},   // 106: 0, 25, 50, 75, 100
      {0, 0, 0, 1, 4},   // 80: 0 .. 75
      {0, 0, 1, 1, 5},   // the larger distance counts
      {0, 0, 2, 0, 9},   // 2 x 640 / 6 = 213: 0 .. 200
      {5, 0, 0, 0, 22},  // 533: 0 .. 525
  };
  for (const Case& c : cases) {
    LayOutSolved();
    Exchange(c.i1, c.j1, c.i2, c.j2);
    Exchange(4, 4, 4, 5);  // keeps the board from being solved
    ClearRecords();
    ClickCell(c.i1, c.j1);
    ClickCell(c.i2, c.j2);
    ASSERT_EQ(Board->gameInProgress, 1);
    EXPECT_EQ(TestRectangleCalls(), c.frames * 4) << c.i1 << "," << c.j1 << " to " << c.i2 << "," << c.j2;
    EXPECT_EQ(TestWaitedMilliseconds(), (DWORD)(c.frames * 20 + 250));
  }
}

TEST_F(SmallBoardPlay, ARecordedGamePlaysItsSoundsInOrder) {
  command(5004);
  ASSERT_EQ(Board->columns, 4);
  ClearRecords();
  Strings expected;
  int swaps = 0;

  // Undo one selection on the way.
  ClickCell(2, 2);
  ClickCell(2, 2);
  expected = {"plain_beep", "plain_beep2"};

  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      if (Board->homeColumn[CellIndex(i, j)] == i && Board->homeRow[CellIndex(i, j)] == j) continue;
      int fi, fj;
      ASSERT_TRUE(FindPieceOf(i, j, &fi, &fj));
      ClickCell(i, j);
      ClickCell(fi, fj);
      ++swaps;
      expected.push_back("plain_beep");
      expected.push_back("take_two");
      ASSERT_EQ(Board->homeColumn[CellIndex(i, j)], i);
    }
  expected.push_back("kcongrat");
  // The statistics dialog: at most 15 swaps on 4 x 4, so the count is one word.
  expected.insert(expected.end(), {"gametook_wav!", "n" + std::to_string(swaps - 1) + "!", "moves_wav!"});
  EXPECT_EQ(Sounds(), expected);
  EXPECT_EQ(Board->moveCount, swaps);
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(Board->lastGameSize, 4);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Congratulations!");
}

// 1000 pixels across: the drawn cells are 166 or 167 wide, the hit cells 166.
class UnevenBoardPlay : public GameFixture {
  GameStartOptions StartOptions() const override {
    GameStartOptions o;
    o.desktopWidth = 1000;
    o.desktopHeight = 750;
    return o;
  }
};

TEST_F(UnevenBoardPlay, TheLastPixelFallsInTheLastCell) {
  clockFlag = 0;
  NewGame();
  click(999, 749);
  EXPECT_EQ(Board->firstSelected, 5 * 6 + 5);
  click(996, 745);  // 996 / 166 = 6: still the last column
  EXPECT_EQ(Board->firstSelected, -1);
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "plain_beep2"}));
  click(332, 0);  // drawn in column 1, hit in column 2
  EXPECT_EQ(Board->firstSelected, 2);
}

// Keyboard play: the cursor is a frame drawn over the cell by the cell's own
// drawing, and Space acts as a click on the framed cell.
class KeyboardPlay : public PlayTest {
 protected:
  // Takes the cursor to a cell from wherever it is, the way a player would:
  // Home and Page Up to the corner, then the arrows.
  void MoveCursorTo(int i, int j) {
    key(VK_HOME);
    key(VK_PRIOR);
    for (int k = 0; k < i; ++k) key(VK_RIGHT);
    for (int k = 0; k < j; ++k) key(VK_DOWN);
  }
  // Pixels of the cell's frame band in the cursor's colour.
  int FramePixels(int i, int j) {
    RECT r = CellRect(i, j);
    int frame = 0;
    for (int x = r.left; x < r.right; ++x)
      for (int y = r.top; y < r.top + 14; ++y)
        if (pixel(x, y) == kCursorColour) ++frame;
    return frame;
  }
};

TEST_F(KeyboardPlay, TheFrameStartsAtThePointerMovesWithTheKeysAndLeavesNoTrace) {
  // The pointer over cell (1, 1): the first arrow shows the frame one cell on.
  TestSetCursorPos(CellRect(1, 1).left + 10, CellRect(1, 1).top + 10);
  key(VK_RIGHT);
  EXPECT_GT(FramePixels(2, 1), 100);
  EXPECT_EQ(FramePixels(1, 1), 0);
  EXPECT_EQ(CardBackMismatches(1, 1), 0);
  EXPECT_TRUE(Sounds().empty()) << "moving selects nothing";

  key(VK_END);
  key(VK_NEXT);
  EXPECT_GT(FramePixels(5, 5), 100);
  EXPECT_EQ(CardBackMismatches(2, 1), 0) << "the old cell is whole again";
  key(VK_DOWN);  // stays at the edge
  key(VK_RIGHT);
  EXPECT_GT(FramePixels(5, 5), 100);

  // A click takes the frame away and does its own work.
  ClickCell(0, 0);
  EXPECT_EQ(FramePixels(5, 5), 0);
  EXPECT_EQ(CardBackMismatches(5, 5), 0);
  EXPECT_EQ(Board->firstSelected, 0);
  EXPECT_TRUE(ScreenIsClean());

  // Off the board the frame starts from the middle cell.
  TestSetCursorPos(-500, -500);
  key(VK_UP);
  EXPECT_GT(FramePixels(3, 2), 100);
}

TEST_F(KeyboardPlay, AWholeGameIsWonWithKeysAlone) {
  TestSetCursorPos(-500, -500);
  command(5004);
  ASSERT_EQ(Board->columns, 4);
  ClearRecords();
  int swaps = 0;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      if (Board->homeColumn[CellIndex(i, j)] == i && Board->homeRow[CellIndex(i, j)] == j) continue;
      int fi, fj;
      ASSERT_TRUE(FindPieceOf(i, j, &fi, &fj));
      MoveCursorTo(i, j);
      key(VK_SPACE);
      ASSERT_EQ(Board->firstSelected, j * 4 + i);
      MoveCursorTo(fi, fj);
      key(VK_RETURN);
      ++swaps;
      ASSERT_EQ(Board->firstSelected, -1);
      ASSERT_EQ(Board->homeColumn[CellIndex(i, j)], i);
    }
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(Board->moveCount, swaps);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Congratulations!");
  ASSERT_FALSE(TestDialogsShown().empty());
  EXPECT_EQ(TestDialogsShown().back(), "StatsDialog");
  EXPECT_EQ(leftButtonFlag, 0u) << "a key click lets go of the button again";
  // Keys after the win change nothing.
  const auto before = Board->moveCount;
  key(VK_LEFT);
  key(VK_SPACE);
  EXPECT_EQ(Board->moveCount, before);
}

TEST_F(KeyboardPlay, OpenPlayKeepsTheSelectionMarkUnderTheMovingFrame) {
  TestQueueMessageBoxAnswer(IDYES);
  command(5106);
  ASSERT_EQ(Board->faceDown, 0);
  LayOutSolved();
  Exchange(0, 2, 1, 2);
  MoveCursorTo(0, 2);
  key(VK_SPACE);
  ASSERT_EQ(Board->firstSelected, 2 * 6);
  key(VK_RIGHT);  // the frame leaves the inverted cell: it stays inverted
  RECT r = CellRect(0, 2), s = CellRect(1, 2);
  const int x = r.left + 60, y = r.top + 60;
  EXPECT_EQ(ToRgbWord(pixel(x, y)), ~puzzle_[(size_t)(y - r.top + s.top) * pw_ + (x - r.left + s.left)] & 0xFFFFFF);
  key(VK_LEFT);
  key(VK_SPACE);  // deselects: the piece shows plainly again
  key(VK_DOWN);
  EXPECT_TRUE(ShowsPiece(0, 2, 1, 2));
}

}  // namespace

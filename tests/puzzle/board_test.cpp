// The board record's layout, the random generator, the shuffle, the solved
// test and the cell geometry shared by drawing and clicking.
#include <cstring>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "common/random.h"
#include "platform/testing.h"
#include "puzzle/board.h"
#include "puzzle/play.h"

namespace {

// The record is also the saved-game file: every field keeps its word.
TEST(BoardRecord, AFileImageLandsWordForWordInTheRecord) {
  ASSERT_EQ(sizeof(BoardRecord), 5712u);
  // Word k of the image holds k * 2654435761, little-endian.
  std::vector<uint8_t> file(5712);
  auto word = [](size_t k) { return (uint32_t)(k * 2654435761u); };
  for (size_t k = 0; k < 1428; ++k)
    for (int b = 0; b < 4; ++b) file[k * 4 + b] = (uint8_t)(word(k) >> (8 * b));
  BoardRecord r;
  memcpy(&r, file.data(), sizeof r);
  EXPECT_EQ((uint32_t)r.firstSelected, word(0));
  EXPECT_EQ((uint32_t)r.secondSelected, word(1));
  EXPECT_EQ((uint32_t)r.boardWidth, word(2));
  EXPECT_EQ((uint32_t)r.boardHeight, word(3));
  EXPECT_EQ((uint32_t)r.lastGameSize, word(105));
  EXPECT_EQ((uint32_t)r.statsSlot, word(117));
  EXPECT_EQ((uint32_t)r.gameInProgress, word(164));
  EXPECT_EQ((uint32_t)r.statsOn, word(165));
  EXPECT_EQ((uint32_t)r.homeColumn[0], word(166));
  EXPECT_EQ((uint32_t)r.homeColumn[24 * 25 + 24], word(790));
  EXPECT_EQ((uint32_t)r.homeRow[0], word(791));
  EXPECT_EQ((uint32_t)r.homeRow[624], word(1415));
  EXPECT_EQ((uint32_t)r.columns, word(1416));
  EXPECT_EQ((uint32_t)r.rows, word(1417));
  EXPECT_EQ((uint32_t)r.boardSize, word(1420));
  EXPECT_EQ((uint32_t)r.faceDown, word(1422));
  EXPECT_EQ((uint32_t)r.moveCount, word(1423));
  EXPECT_EQ(r.startTicks, word(1425));
  EXPECT_EQ(r.elapsedSeconds, word(1426));
  // And back, reserved words included.
  std::vector<uint8_t> back(5712);
  memcpy(back.data(), &r, sizeof r);
  EXPECT_EQ(back, file);
}

TEST(Random, TheGeneratorGivesItsKnownSequence) {
  SeedRandom(0);
  EXPECT_EQ(NextRandom(), 38u);
  EXPECT_EQ(NextRandom(), 7719u);
  EXPECT_EQ(NextRandom(), 21238u);
  EXPECT_EQ(NextRandom(), 2437u);
  EXPECT_EQ(NextRandom(), 8855u);
  SeedRandom(0);
  EXPECT_EQ(RandomBelow(4), 0u);

  SeedRandom(12345);
  EXPECT_EQ(NextRandom(), 7584u);
  EXPECT_EQ(NextRandom(), 19164u);
  EXPECT_EQ(NextRandom(), 25795u);
  EXPECT_EQ(NextRandom(), 22125u);
  EXPECT_EQ(RandomBelow(65536), 11656u);
  EXPECT_EQ(RandomBelow(6), 4u);
  EXPECT_EQ(RandomBelow(1), 0u);

  // Results stay in range for every size the game asks for.
  SeedRandom(0xFFFFFFFFu);
  for (int k = 0; k < 20000; ++k) {
    ASSERT_LT(NextRandom(), 32768u);
    ASSERT_LT(RandomBelow(20), 20u);
    ASSERT_LT(RandomBelow(65536), 65536u);
  }
}

void Shuffle(int n, DWORD ticks) {
  Board->columns = Board->rows = Board->boardSize = n;
  TestSetTicks(ticks);
  ShuffleBoard();
}

TEST(Shuffle, GivesTheLayoutOfItsSeed) {
  // The shuffle seeds itself from the tick count.
  Shuffle(4, 100000);
  const int expected[4][4][2] = {
      {{2, 0}, {0, 1}, {2, 3}, {0, 3}},
      {{3, 2}, {0, 2}, {3, 3}, {0, 0}},
      {{1, 3}, {1, 1}, {1, 0}, {3, 0}},
      {{2, 1}, {1, 2}, {2, 2}, {3, 1}},
  };
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Board->homeColumn[CellIndex(i, j)], expected[j][i][0]) << "cell " << i << "," << j;
      EXPECT_EQ(Board->homeRow[CellIndex(i, j)], expected[j][i][1]) << "cell " << i << "," << j;
    }
}

TEST(Shuffle, IsAPermutationThatPutsNoPieceHome) {
  for (int n : {4, 6, 9, 20}) {
    int home = 0;
    const int seeds = n <= 6 ? 2000 : 200;
    for (int s = 1; s <= seeds; ++s) {
      Shuffle(n, (DWORD)s * 7919u);
      std::set<int> pieces;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
          int hc = Board->homeColumn[CellIndex(i, j)], hr = Board->homeRow[CellIndex(i, j)];
          ASSERT_TRUE(hc >= 0 && hc < n && hr >= 0 && hr < n);
          pieces.insert(hr * n + hc);
          if (hc == i && hr == j) ++home;
        }
      ASSERT_EQ(pieces.size(), (size_t)(n * n)) << "every piece once, seed " << s;
      ASSERT_FALSE(IsSolved());
    }
    // A piece stays home only when no swap ever touched its cell: on these
    // seeds that never happens.
    EXPECT_EQ(home, 0) << n << " x " << n;
  }
}

TEST(Shuffle, IsSolvedFollowsTheLayout) {
  Board->columns = Board->rows = 6;
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      Board->homeColumn[CellIndex(i, j)] = i;
      Board->homeRow[CellIndex(i, j)] = j;
    }
  // Cells beyond the board do not count.
  Board->homeColumn[CellIndex(7, 7)] = 3;
  EXPECT_TRUE(IsSolved());
  SwapPieces(5, 5, 5, 4);
  EXPECT_FALSE(IsSolved());
  EXPECT_EQ(Board->homeColumn[CellIndex(5, 5)], 5);
  EXPECT_EQ(Board->homeRow[CellIndex(5, 5)], 4);
  SwapPieces(5, 4, 5, 5);
  EXPECT_TRUE(IsSolved());
  // Only the row differs: still not solved.
  Board->homeRow[CellIndex(2, 3)] = 4;
  EXPECT_FALSE(IsSolved());
  Board->columns = Board->rows = 0;
  EXPECT_TRUE(IsSolved()) << "a board with no columns counts as solved";
  Board->columns = Board->rows = 6;
}

TEST(CellGeometry, CellsShareEdgesAndCoverTheBoard) {
  Board->columns = Board->rows = 6;
  Board->boardWidth = 1000;
  Board->boardHeight = 750;
  const int widths[6] = {166, 167, 167, 166, 167, 167};
  int x = 0;
  for (int i = 0; i < 6; ++i) {
    RECT r = CellRect(i, 0);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.right - r.left, widths[i]) << "column " << i;
    EXPECT_EQ(r.bottom - r.top, 125);
    x = r.right;
  }
  EXPECT_EQ(x, 1000);
  EXPECT_EQ(CellRect(5, 5).bottom, 750);
}

TEST(CellGeometry, TheHitTestUsesWholePixelCellsAndClampsToTheLastCell) {
  Board->columns = Board->rows = 6;
  Board->boardWidth = 1000;
  Board->boardHeight = 750;
  int c, r;
  HitCell(999, 749, &c, &r);
  EXPECT_EQ(c, 5);
  EXPECT_EQ(r, 5);
  HitCell(996, 0, &c, &r);  // 996 / 166 = 6: beyond the last column
  EXPECT_EQ(c, 5);
  HitCell(332, 0, &c, &r);  // drawn in column 1, hit in column 2
  EXPECT_EQ(c, 2);
  HitCell(165, 124, &c, &r);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(r, 0);
  HitCell(166, 125, &c, &r);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(r, 1);

  Board->columns = Board->rows = 20;
  Board->boardWidth = 1019;  // cells of 50: 20 x 50 = 1000, the rest is the last column
  Board->boardHeight = 1019;
  HitCell(1018, 1018, &c, &r);
  EXPECT_EQ(c, 19);
  EXPECT_EQ(r, 19);
  HitCell(-3, -3, &c, &r);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(r, 0);
}

}  // namespace

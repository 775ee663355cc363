// The mine field's rules as a player meets them.
#include <cstring>

#include "common/random.h"
#include "common/shell_state.h"
#include "field_fixture.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"

namespace {

using Field_ = FieldFixture;

int CountBombs() {
  int n = 0;
  for (int y = 0; y < fieldRows; ++y)
    for (int x = 0; x < fieldColumns; ++x) n += HasBomb(x, y);
  return n;
}

TEST_F(Field_, NewGamesPlaceOneBombPerLevelSquares) {
  struct Case {
    UINT layout;
    UINT level;
    int bombs;
  } cases[] = {{6001, 6108, 24}, {6001, 6106, 32}, {6005, 6103, 666}, {6000, 6110, 9}};
  for (const Case& c : cases) {
    command(c.level);
    command(c.layout);
    EXPECT_EQ(bombCount, c.bombs);
    EXPECT_EQ(CountBombs(), c.bombs);
  }
  EXPECT_EQ(TestMessageBoxes().size(), 4u);
  EXPECT_EQ(TestMessageBoxes()[0].text, "This change will take effect next game.");
}

TEST_F(Field_, SquaresTileTheBoardWithSpreadRounding) {
  Board->boardWidth = 1024;
  fieldColumns = 30;
  EXPECT_EQ(SquareRect(0, 0).left, 0);
  EXPECT_EQ(SquareRect(0, 0).right, 34);
  EXPECT_EQ(SquareRect(14, 0).left, 477);
  EXPECT_EQ(SquareRect(14, 0).right, 512);
  EXPECT_EQ(SquareRect(29, 0).right, 1024);
  int x, y;
  EXPECT_FALSE(SquareAt(-1, 5, &x, &y));
  EXPECT_FALSE(SquareAt(1024, 5, &x, &y));
}

TEST_F(Field_, ZeroSquareClearsItsRegionAndBorderOnly) {
  // A wall of bombs down column 3 keeps the clearing on the left.
  LayBoard(12, 8, {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7}});
  SetFieldBit(Field.marked, 1, 4, true);
  ClickAt(0, 0);
  EXPECT_EQ(uncoveredCount, 24);  // columns 0..2: zeros and the numbered border
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_FALSE(GetFieldBit(Field.covered, x, y));
    for (int x = 3; x < 12; ++x) EXPECT_TRUE(GetFieldBit(Field.covered, x, y));
  }
  EXPECT_FALSE(GetFieldBit(Field.marked, 1, 4)) << "a safe marked square loses its mark";
  // Clicking an uncovered square again clears nothing.
  ClickAt(0, 0);
  EXPECT_EQ(uncoveredCount, 24);
}

TEST_F(Field_, LargestBoardClearsInOneChainWithoutRecursion) {
  LayBoard(50, 40, {{49, 39}});
  ClickAt(0, 0);
  EXPECT_EQ(uncoveredCount, 1999);
  EXPECT_TRUE(IsFieldGameOver());
  // Won: the high-score dialogs ran (a record on an empty table).
  EXPECT_EQ(TestDialogsShown(), (std::vector<std::string>{"HfdSetHSDialog", "HfdHSDialog"}));
}

TEST_F(Field_, MarksFlipOnCoveredSquaresOnly) {
  LayBoard(12, 8, {{5, 5}});
  RightClickAt(5, 5);
  EXPECT_TRUE(GetFieldBit(Field.marked, 5, 5));
  RightClickAt(5, 5);
  EXPECT_FALSE(GetFieldBit(Field.marked, 5, 5));
  ClickAt(4, 4);
  RightClickAt(4, 4);
  EXPECT_FALSE(GetFieldBit(Field.marked, 4, 4));
}

TEST_F(Field_, TenthExplosionOffersHelpOnce) {
  std::vector<std::pair<int, int>> bombs;
  for (int x = 0; x < 12; ++x) bombs.push_back({x, 0});
  LayBoard(12, 8, bombs);
  for (int x = 0; x < 9; ++x) ClickAt(x, 0);
  EXPECT_TRUE(TestMessageBoxes().empty());
  ClickAt(0, 0);  // already blown: changes nothing
  EXPECT_EQ(explosionCount, 9);
  ClickAt(9, 0);
  ClickAt(10, 0);
  EXPECT_EQ(explosionCount, 11);
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Ending the Confusion:", "Ending the Confusion 2:"}));
}

TEST_F(Field_, ProModeFreezesAtTheFirstExplosion) {
  command(6121);
  LayBoard(12, 8, {{0, 0}, {11, 7}});
  ClickAt(0, 0);
  EXPECT_TRUE(IsFieldGameOver());
  const int before = uncoveredCount;
  ClickAt(5, 5);
  EXPECT_EQ(uncoveredCount, before);
  EXPECT_TRUE(TestDialogsShown().empty()) << "no score for a game ended by an explosion";
}

// A seed whose first draw below 60 is `want`.
uint32_t SeedDrawing(uint32_t want) {
  for (uint32_t seed = 1;; ++seed) {
    SeedRandom(seed);
    if (RandomBelow(60) == want) return seed;
  }
}

TEST_F(Field_, TimeBonusTurnsTheClockBackButNotBelowZero) {
  LayBoard(12, 8, {{0, 0}, {11, 7}});
  TestAdvanceTicks(20000);
  uint32_t started = gameClock;
  SeedRandom(SeedDrawing(0));
  ClickAt(1, 0);  // a numbered square: no clearing beyond itself
  EXPECT_EQ(gameClock, started + 8000);
  EXPECT_EQ(Board->startTicks, gameClock);
  LayBoard(12, 8, {{0, 0}, {11, 7}});
  SeedRandom(SeedDrawing(2));
  ClickAt(1, 1);
  EXPECT_EQ(GetTickCount() - gameClock, 0u) << "11 s back from a younger clock stops at zero";
}

}  // namespace

// The mine field played with the keyboard alone.
#include "common/shell_state.h"
#include "field_fixture.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "shell/keyboard_cursor.h"

namespace {

class FieldKeys : public FieldFixture {
 protected:
  void key(WPARAM vk) {
    PostMessageA(MainWindow, WM_KEYDOWN, vk, 0);
    Pump();
  }
  void MoveCursorTo(int x, int y) {
    key(VK_HOME);
    key(VK_PRIOR);
    for (int k = 0; k < x; ++k) key(VK_RIGHT);
    for (int k = 0; k < y; ++k) key(VK_DOWN);
  }
};

TEST_F(FieldKeys, AGameIsPlayedToItsEndWithKeysAlone) {
  TestSetCursorPos(-500, -500);
  const std::vector<std::pair<int, int>> bombs = {{3, 0}, {7, 2}, {0, 5}, {11, 7}, {5, 5}};
  LayBoard(12, 8, bombs);
  // Marks: F, and Shift with Space.
  MoveCursorTo(3, 0);
  key('F');
  EXPECT_TRUE(GetFieldBit(Field.marked, 3, 0));
  MoveCursorTo(7, 2);
  TestSetShiftDown(true);
  key(VK_SPACE);
  TestSetShiftDown(false);
  EXPECT_TRUE(GetFieldBit(Field.marked, 7, 2));
  EXPECT_EQ(explosionCount, 0);
  EXPECT_TRUE(IsCursorCell(7, 2));

  // Every safe square still covered is cleared with Space or Enter.
  bool enter = false;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) {
      if (HasBomb(x, y) || !GetFieldBit(Field.covered, x, y)) continue;
      MoveCursorTo(x, y);
      key((enter = !enter) ? VK_RETURN : VK_SPACE);
      ASSERT_FALSE(GetFieldBit(Field.covered, x, y)) << x << "," << y;
    }
  EXPECT_EQ(explosionCount, 0);
  EXPECT_TRUE(IsFieldGameOver());
  EXPECT_FALSE(IsCursorCell(11, 7)) << "the frame leaves the finished field";
  EXPECT_EQ(leftButtonFlag, 0u);
  // The end of a won game ran: a record on an empty table asks for a name.
  EXPECT_FALSE(TestDialogsShown().empty());

  // Keys on a finished field do nothing.
  const int cleared = uncoveredCount;
  key(VK_LEFT);
  key(VK_SPACE);
  EXPECT_EQ(uncoveredCount, cleared);
}

TEST_F(FieldKeys, ClearingABombWithTheKeysExplodesItLikeAClick) {
  TestSetCursorPos(-500, -500);
  LayBoard(12, 8, {{0, 0}, {11, 7}});
  MoveCursorTo(0, 0);
  key(VK_SPACE);
  EXPECT_EQ(explosionCount, 1);
  EXPECT_FALSE(GetFieldBit(Field.covered, 0, 0));
}

}  // namespace

// The menu strip at the corner pixel and on the keys, and the screen modes.
#include <string>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "support/game_fixture.h"

namespace {

using StripTest = GameFixture;

std::string MenuText(HWND hwnd, UINT id) {
  char text[128] = "";
  HMENU menu = GetMenu(hwnd);
  if (!menu) return "<no menu>";
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

TEST_F(StripTest, TheCornerPixelShowsTheStripOnlyWhileTheBoardHasTheFocus) {
  ASSERT_TRUE(IsWindowVisible(MenuStrip));

  // The strip still holds the focus after start-up: the corner does nothing.
  mouseMove(5, 5);
  EXPECT_TRUE(IsWindowVisible(MenuStrip));

  SetFocus(MainWindow);
  mouseMove(1, 0);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(stripShown, 0u);
  mouseMove(0, 0);
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(stripShown, 1u);
  mouseMove(0, 0);
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  mouseMove(0, 1);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  mouseMove(0, 0);
  mouseMove(1, 0);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(stripShown, 0u);

  // A left click hides it too, also on the title screen.
  mouseMove(0, 0);
  ASSERT_TRUE(IsWindowVisible(MenuStrip));
  click(0, 0);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(Board->gameInProgress, 0) << "a click on the title screen starts nothing";
}

TEST_F(StripTest, KeysShowAndHideTheStripAndStartOrEndTheGame) {
  SetFocus(MainWindow);
  key('A');
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  key('M');
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(stripShown, 1u);
  key(VK_SPACE);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  key(VK_SUBTRACT);
  EXPECT_TRUE(IsWindowVisible(MenuStrip));

  // N starts at once, also over a running game, without a question.
  key('N');
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(titleScreenFlag, 0u);
  ClickCell(0, 0);
  ClickCell(5, 5);
  ASSERT_EQ(Board->moveCount, 1);
  key(VK_DECIMAL);
  EXPECT_EQ(Board->moveCount, 0);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_TRUE(TestMessageBoxes().empty());

  // F1 explains the game even with the strip hidden.
  key(VK_F1);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "How to Play Swapster:");
  EXPECT_EQ(Board->gameInProgress, 1) << "help does not end the game";

  // X closes, asking first about the counted game.
  TestQueueMessageBoxAnswer(IDNO);
  key('X');
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(TestMessageBoxes()[1].caption, "Game in Progress:");
  EXPECT_TRUE(IsWindow(MainWindow));
  EXPECT_EQ(Board->gameInProgress, 1);
  TestQueueMessageBoxAnswer(IDYES);
  key(VK_F9);
  EXPECT_EQ(TestMessageBoxes().size(), 3u);
  EXPECT_TRUE(TestQuitPosted());
}

TEST_F(StripTest, NormalWindowModeHasItsOwnMenuAndIgnoresTheCorner) {
  NewGame();
  command(2100);
  EXPECT_EQ((DWORD)GetWindowLongA(MainWindow, GWL_STYLE), (DWORD)(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN));
  ASSERT_NE(GetMenu(MainWindow), nullptr);
  EXPECT_EQ(stripMode, 0u);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  RECT client;
  GetClientRect(MainWindow, &client);
  EXPECT_LT(client.bottom, 768) << "the menu bar takes its height";
  EXPECT_GT(client.bottom, 700);
  EXPECT_EQ(Board->boardWidth, client.right);
  EXPECT_EQ(Board->boardHeight, client.bottom);
  int w, h;
  BitmapImage(PuzzleBitmap, &w, &h);
  EXPECT_EQ(w, client.right) << "the puzzle picture is scaled to the new client area";
  EXPECT_EQ(h, client.bottom);
  EXPECT_EQ(Board->gameInProgress, 1) << "a mode switch keeps the game";

  // The main window's own menu shows the statistics state too.
  EXPECT_EQ(MenuText(MainWindow, 103), "&Stats Toggle (Stats are On)");

  SetFocus(MainWindow);
  mouseMove(0, 0);
  EXPECT_FALSE(IsWindowVisible(MenuStrip)) << "no strip at the corner in a normal window";
  key('M');
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  key('Q');
  EXPECT_FALSE(IsWindowVisible(MenuStrip));

  command(2101);
  EXPECT_EQ((DWORD)GetWindowLongA(MainWindow, GWL_STYLE), (DWORD)(WS_POPUP | WS_CLIPCHILDREN));
  EXPECT_EQ(GetMenu(MainWindow), nullptr);
  EXPECT_EQ(stripMode, 1u);
  EXPECT_EQ(stripShown, 1u);
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  GetClientRect(MainWindow, &client);
  EXPECT_EQ(client.right, 1024);
  EXPECT_EQ(client.bottom, 768);
  EXPECT_EQ(Board->boardWidth, 1024);
  EXPECT_EQ(Board->boardHeight, 768);
  BitmapImage(PuzzleBitmap, &w, &h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);

  SetFocus(MainWindow);
  mouseMove(3, 3);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  mouseMove(0, 0);
  EXPECT_TRUE(IsWindowVisible(MenuStrip)) << "the corner works again in full screen";

  // Each switch replaces the window's menu bar: the old ones are gone once
  // the loop is idle, however often the player switches.
  Pump();
  const int widgets = TestLiveWidgets();
  for (int round = 0; round < 10; ++round) {
    command(2100);
    command(2101);
    Pump();
  }
  EXPECT_EQ(TestLiveWidgets(), widgets);
}

}  // namespace

// The command dispatcher: the questions in front of the commands and what
// each answer leaves behind, the statistics item, sound and clock switches,
// help and about, and the colour-depth refusal of the generators.
#include <string>

#include "common/shell_state.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "shell/dispatch.h"
#include "support/game_fixture.h"

namespace {

using DispatchTest = GameFixture;

std::string MenuText(HWND hwnd, UINT id) {
  char text[128] = "";
  HMENU menu = GetMenu(hwnd);
  if (!menu) return "<no menu>";
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// A fingerprint of the layout, to see that a refused command left it alone.
long LayoutSum() {
  long sum = 0;
  for (int k = 0; k < 625; ++k) sum += (k + 1) * (Board->homeColumn[k] * 31 + Board->homeRow[k]);
  return sum;
}

TEST_F(DispatchTest, BoardSizeCommandsAskOnlyAboutACountedGame) {
  NewGame();
  ClickCell(0, 0);
  ClickCell(2, 1);
  const long layout = LayoutSum();

  // Statistics on: No keeps the running game and its size.
  TestQueueMessageBoxAnswer(IDNO);
  command(5009);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Game in Progress:");
  EXPECT_EQ(TestMessageBoxes()[0].text, "Would you like to end the current game?");
  EXPECT_EQ(TestMessageBoxes()[0].type, (UINT)MB_YESNO);
  EXPECT_EQ(Board->columns, 6);
  EXPECT_EQ(Board->rows, 6);
  EXPECT_EQ(Board->boardSize, 6);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(Board->moveCount, 1);
  EXPECT_EQ(LayoutSum(), layout);
  EXPECT_EQ(titleScreenFlag, 0u);

  // Yes: a new 9 x 9 face-down game.
  TestQueueMessageBoxAnswer(IDYES);
  command(5009);
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(Board->columns, 9);
  EXPECT_EQ(Board->rows, 9);
  EXPECT_EQ(Board->boardSize, 9);
  EXPECT_EQ(Board->faceDown, 1);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(Board->moveCount, 0);
  EXPECT_EQ(Board->lastGameSize, 6) << "the 6 x 6 game was ended";
  EXPECT_FALSE(IsSolved());
  EXPECT_EQ(titleScreenFlag, 0u);

  // Statistics off: the game ends silently and the new size starts.
  Board->statsOn = 0;
  command(5004);
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(Board->columns, 4);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(Board->lastGameSize, 9);

  // The hidden open-play commands.
  command(5115);
  EXPECT_EQ(Board->columns, 15);
  EXPECT_EQ(Board->rows, 15);
  EXPECT_EQ(Board->faceDown, 0);
  command(5020);
  EXPECT_EQ(Board->columns, 20);
  EXPECT_EQ(Board->faceDown, 1);
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
}

TEST_F(DispatchTest, StartNewGameAsksOnlyOverARunningGame) {
  command(104);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_EQ(Board->gameInProgress, 1);
  ClickCell(1, 1);
  ClickCell(3, 4);
  const long layout = LayoutSum();

  TestQueueMessageBoxAnswer(IDNO);
  command(104);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Are You Sure?");
  EXPECT_EQ(TestMessageBoxes()[0].text, "Are you sure you want to end this game?");
  EXPECT_EQ(TestMessageBoxes()[0].type, (UINT)MB_YESNO);
  EXPECT_EQ(Board->moveCount, 1);
  EXPECT_EQ(LayoutSum(), layout);

  // With statistics off the question is still asked.
  Board->statsOn = 0;
  TestQueueMessageBoxAnswer(IDYES);
  command(104);
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(Board->moveCount, 0);
  EXPECT_EQ(Board->gameInProgress, 1);
}

TEST_F(DispatchTest, TheStatisticsToggleAsksEndsTheGameAndRewritesBothMenus) {
  EXPECT_EQ(MenuText(MenuStrip, 103), "&Stats Toggle (Stats are On)");

  NewGame();
  TestQueueMessageBoxAnswer(IDNO);
  command(103);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].text, "Would you like to end the current game?");
  EXPECT_EQ(Board->statsOn, 1);
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(MenuText(MenuStrip, 103), "&Stats Toggle (Stats are On)");

  TestQueueMessageBoxAnswer(IDYES);
  command(103);
  EXPECT_EQ(Board->statsOn, 0);
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(titleScreenFlag, 1u);
  EXPECT_EQ(MenuText(MenuStrip, 103), "&Stats Toggle (Stats are Off)");

  // In a normal window both menus follow.
  command(2100);
  EXPECT_EQ(MenuText(MainWindow, 103), "&Stats Toggle (Stats are Off)");
  command(103);
  EXPECT_EQ(TestMessageBoxes().size(), 2u) << "no game: no question";
  EXPECT_EQ(Board->statsOn, 1);
  EXPECT_EQ(MenuText(MainWindow, 103), "&Stats Toggle (Stats are On)");
  EXPECT_EQ(MenuText(MenuStrip, 103), "&Stats Toggle (Stats are On)");
}

TEST_F(DispatchTest, SoundAndClockSwitches) {
  command(212);
  EXPECT_EQ(soundFlag, 0u);
  command(212);
  EXPECT_EQ(soundFlag, 1u);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"soundoff", "soundon"}));

  // With sound off a game is silent.
  command(212);
  ClearRecords();
  NewGame();
  ClickCell(0, 0);
  ClickCell(0, 0);
  ClickCell(0, 0);
  ClickCell(4, 4);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(Board->moveCount, 1);

  command(121);
  EXPECT_EQ(clockFlag, 0u);
  command(121);
  EXPECT_EQ(clockFlag, 1u);
  EXPECT_EQ(Board->gameInProgress, 1) << "switches leave the game running";
  EXPECT_EQ(titleScreenFlag, 0u);
}

TEST_F(DispatchTest, AnyCommandAfterAGameBringsTheTitleBack) {
  NewGame();
  LayOutSolved();
  Exchange(0, 0, 1, 0);
  ClickCell(0, 0);
  ClickCell(1, 0);
  ASSERT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(titleScreenFlag, 0u) << "the finished picture stays on the screen";
  command(212);
  EXPECT_EQ(titleScreenFlag, 1u);
}

TEST_F(DispatchTest, HelpAndAboutBoxes) {
  command(500);
  command(502);
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  const TestMessageBox& help = TestMessageBoxes()[0];
  EXPECT_EQ(help.owner, MainWindow);
  EXPECT_EQ(help.caption, "How to Play Swapster:");
  EXPECT_EQ(help.type, (UINT)MB_OK);
  EXPECT_EQ(help.text,
            "Objective: Reassemble the image by swapping any two pieces. When you get a piece into the right place "
            "it will flip over and remain visible.\r\n\r\nAdvice: Once you get a few pieces in the right place, the "
            "puzzle will start to come together. If you play the same image over and over, you'll find that you "
            "can become an expert at a particular image.");
  const TestMessageBox& about = TestMessageBoxes()[1];
  EXPECT_EQ(about.caption, "About Quillon's Swapster:");
  EXPECT_NE(about.text.find("Swapster"), std::string::npos);
  EXPECT_NE(about.text.find("4.1"), std::string::npos);
}

TEST_F(DispatchTest, LandscapesAreRefusedOnPaletteScreens) {
  const DWORD depth = colourDepth;
  colourDepth = 8;
  NewGame();
  command(117);
  command(116);
  colourDepth = depth;
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  for (const TestMessageBox& box : TestMessageBoxes()) {
    EXPECT_EQ(box.caption, "I'm Sorry:");
    EXPECT_EQ(box.text,
              "The landscape generators are intended for machines that are set for higher than 256 colors. Your "
              "machine is set for 256 or less colors. You may wish to change your video driver and try making a "
              "landscape later.");
  }
  EXPECT_EQ(Board->gameInProgress, 1) << "a refusal leaves the game alone";
  EXPECT_EQ(Board->statsOn, 1);
}

TEST_F(DispatchTest, UnknownCommandsDoNothing) {
  NewGame();
  const long layout = LayoutSum();
  command(0);
  command(9999);
  command(0x10000 | 104);  // a notification code in the high word is not a menu command
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_EQ(LayoutSum(), layout);
  EXPECT_EQ(Board->gameInProgress, 1);
}

TEST_F(DispatchTest, StripCommandsAreDispatchedAndHideTheStrip) {
  ASSERT_TRUE(IsWindowVisible(MenuStrip));
  SendMessageA(MenuStrip, WM_COMMAND, 104, 0);
  Pump();
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
  EXPECT_EQ(titleScreenFlag, 0u);
}

}  // namespace

// Pausing the swap puzzle: paused time is never counted, the game pauses by
// itself when the player is called away, a paused board is covered and takes
// no play, and the commands of the strip keep or end the pause as they should.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/play_clock.h"
#include "common/shell_state.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "shell/pause.h"
#include "support/game_fixture.h"

namespace {

class PauseTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    NewGame();
  }
  std::vector<uint32_t> Screen() {
    int w, h;
    return WindowImage(MainWindow, &w, &h);
  }
  // The seconds a saved game file says were played.
  uint32_t SavedSeconds(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    return bytes.size() == 5712 ? *reinterpret_cast<const uint32_t*>(bytes.data() + 5704) : 0;
  }
};

TEST_F(PauseTest, TenMinutesPausedAreLeftOutOfTheWonGame) {
  LayOutSolved();
  Exchange(0, 0, 1, 0);
  TestAdvanceTicks(30000);
  key('P');
  ASSERT_TRUE(GamePaused());
  TestAdvanceTicks(600000);
  Pump();
  key('N');  // any key goes on, and does nothing else: no new game
  EXPECT_FALSE(GamePaused());
  TestAdvanceTicks(15000);
  ClickCell(0, 0);
  ClickCell(1, 0);
  ASSERT_EQ(Board->gameInProgress, 0) << "won";
  const int row = SizeRow(6);
  EXPECT_EQ(Board->elapsedSeconds, 45u);
  EXPECT_EQ(Stats.totalSeconds[row][0], 45u);
  EXPECT_EQ(Stats.bestSeconds[row][Board->statsSlot], 45u);
  EXPECT_STREQ(StatsDialogLine(12), "00:00:45");

  // A finished board, like the title screen, has nothing to pause.
  key('P');
  EXPECT_FALSE(PlayClockStopped());
  command(502);  // any command brings the title back
  key('P');
  EXPECT_FALSE(PlayClockStopped());
}

TEST_F(PauseTest, MinimisingOrLosingTheKeyboardPausesUntilAKeyOrClick) {
  command(2102);  // Reduce Game to Icon
  ShowWindow(MainWindow, SW_SHOW);
  Pump();
  EXPECT_TRUE(GamePaused()) << "back from the icon, the game waits for the player";
  key(VK_LEFT);
  EXPECT_FALSE(GamePaused());

  // The keyboard passing between the game's own windows for a moment is no
  // loss; another program keeping it is.
  ClickCell(2, 2);
  for (DWORD away : {100, 1000}) {
    TestSetApplicationActive(false);
    TestAdvanceTicks(away);
    Pump();
    TestSetApplicationActive(true);
    Pump();
  }
  ASSERT_TRUE(GamePaused());

  // Clicks on the covered board swap nothing: the first only brings it back.
  const BoardRecord before = *Board;
  ClickCell(3, 3);
  EXPECT_FALSE(GamePaused());
  EXPECT_EQ(memcmp(Board, &before, sizeof before), 0);
  ClickCell(3, 3);
  EXPECT_EQ(Board->moveCount, 1);
}

TEST_F(PauseTest, TheCoverHidesTheBoardAndTheClockAndTheBoardComesBackUnchanged) {
  ClickCell(1, 1);
  TestAdvanceTicks(1000);
  Pump();  // the clock is on the board
  const std::vector<uint32_t> board = Screen();
  key('P');
  const std::vector<uint32_t> cover = Screen();
  // Black above the title picture, where the cells and the clock were; the
  // word under the picture.
  const int below = (768 - 190) / 2 + 190;
  EXPECT_EQ(std::vector<uint32_t>(cover.begin(), cover.begin() + 1024 * (below - 190)),
            std::vector<uint32_t>(1024 * (below - 190), 0u));
  EXPECT_GT(std::count(cover.begin() + 1024 * (below + 18), cover.begin() + 1024 * (below + 34), 0xE6E6E6u), 20);
  TestAdvanceTicks(5000);
  Pump();
  EXPECT_EQ(Screen(), cover) << "the clock stands still under the cover";
  command(2100);  // other screen modes keep it covered
  EXPECT_EQ(pixel(10, 10), RGB(0, 0, 0));
  command(2101);
  EXPECT_EQ(Screen(), cover);
  key(VK_ESCAPE);
  EXPECT_EQ(Screen(), board);
}

TEST_F(PauseTest, ASavedGameKeepsThePlayedTimeAndQuestionsKeepThePause) {
  const std::string paused = folder_ + "paused.sw3", later = folder_ + "later.sw3";
  TestAdvanceTicks(125000);
  key('P');
  TestAdvanceTicks(600000);
  TestQueueMessageBoxAnswer(IDYES);  // the statistics note
  TestQueueFileDialogAnswer(paused);
  command(107);
  TestQueueMessageBoxAnswer(IDNO);
  command(104);  // Start New Game?  No
  EXPECT_TRUE(GamePaused());
  key('A');
  TestAdvanceTicks(10000);
  TestQueueMessageBoxAnswer(IDYES);
  TestQueueFileDialogAnswer(later);
  command(107);
  EXPECT_EQ(SavedSeconds(paused), 125u) << "saved while paused";
  EXPECT_EQ(SavedSeconds(later), 135u) << "saved after a pause";

  // Loading while paused ends the paused game; the loaded one runs.
  key('P');
  TestQueueFileDialogAnswer(paused);
  command(106);
  EXPECT_FALSE(PlayClockStopped());
  EXPECT_EQ(GetTickCount() - Board->startTicks, 125000u);
  // A question answered Yes ends the game and its pause.
  key('P');
  TestQueueMessageBoxAnswer(IDYES);
  command(104);
  EXPECT_FALSE(PlayClockStopped());
}

}  // namespace

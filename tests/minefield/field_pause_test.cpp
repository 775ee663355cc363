// Pausing the mine field: the background covers the squares, clicks only
// resume, the title's time stands still, and the paused time is left out
// of the score, the spoken time and the high score.
#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
#include "common/shell_state.h"
#include "field_fixture.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "shell/pause.h"
#include "support/bitmap_helpers.h"

namespace {

using FieldPause = FieldFixture;

std::string Title() {
  char text[160];
  GetWindowTextA(MainWindow, text, sizeof text);
  return text;
}

TEST_F(FieldPause, TenMinutesPausedAreLeftOutOfTheScore) {
  Stop();
  pictureFolder_ = FieldDataFolder();  // with its background
  Start();
  command(2100);  // a window with a title
  LayBoard(12, 8, {{0, 0}});
  TestAdvanceTicks(20000);
  Pump();
  const std::string title = Title();
  ASSERT_NE(title.find("Time Used: 00:00:20"), std::string::npos) << title;

  // Gone to another program: paused after a moment; the squares give way to
  // the background, and the title's time stands still.
  TestSetApplicationActive(false);
  TestAdvanceTicks(300);
  Pump();
  TestAdvanceTicks(600000);
  Pump();
  TestSetApplicationActive(true);
  ASSERT_TRUE(GamePaused());
  const RECT square = SquareRect(6, 6);
  ASSERT_TRUE(VisibleBackground());
  EXPECT_EQ(TestWindowPixel(MainWindow, square.left + 3, square.top + 3),
            PixelOf(VisibleBackground(), square.left + 3, square.top + 3));
  EXPECT_EQ(Title(), title);

  ClickAt(6, 6);  // only brings the field back
  EXPECT_EQ(uncoveredCount, 0);
  EXPECT_FALSE(GamePaused());

  PostMessageA(MainWindow, WM_KEYDOWN, 'P', 0);
  Pump();
  TestAdvanceTicks(600000);
  PostMessageA(MainWindow, WM_KEYDOWN, VK_SPACE, 0);
  Pump();
  TestAdvanceTicks(5000);
  // No time bonus: the first draw after the clearing is 3 or more.
  uint32_t seed = 1;
  for (SeedRandom(seed); RandomBelow(60) < 3; SeedRandom(++seed)) {
  }
  SeedRandom(seed);
  TestSoundsPlayed().clear();
  ClickAt(6, 6);  // clears the whole field: a perfect game
  ASSERT_TRUE(IsFieldGameOver());
  const uint32_t played = 25300 + 95 * 25;  // and a tick of 25 ms for each square
  EXPECT_EQ(gameClock, played);
  EXPECT_EQ(FieldScores.bestTime[ScoreEntry(12, 8)], played);
  const std::vector<std::string> said = TestSoundsPlayed();
  const size_t at = std::find(said.begin(), said.end(), "yourscorewas_wav!") - said.begin();
  ASSERT_LE(at + 4, said.size());
  EXPECT_EQ(std::vector<std::string>(said.begin() + at + 1, said.begin() + at + 4),
            (std::vector<std::string>{"n20!", "n7!", "SECONDS_WAV!"}));
}

}  // namespace

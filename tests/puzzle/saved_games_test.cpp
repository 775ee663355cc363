// Saving a game in progress and taking it up again.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "puzzle/board.h"
#include "puzzle/saved_games.h"
#include "shell/shell_state.h"
#include "support/game_fixture.h"

namespace {

using SavedGameTest = GameFixture;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(SavedGameTest, ASavedGameComesBackWithItsLayoutAndTimeButNoStatistics) {
  command(5106);  // open 6 x 6 play, statistics on
  Board->moveCount = 17;
  Board->firstSelected = 3;
  BoardRecord saved = *Board;
  saved.elapsedSeconds = 125;
  TestAdvanceTicks(125400);
  const std::string path = folder_ + "game.sw3";
  TestQueueFileDialogAnswer(path);
  TestQueueMessageBoxAnswer(IDYES);  // the statistics note
  command(107);
  EXPECT_EQ(TestFileDialogs().at(0).initialDir, folder_);
  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 5712u);
  EXPECT_EQ(memcmp(bytes.data(), &saved, 5712), 0) << "the record, byte for byte";

  TestQueueMessageBoxAnswer(IDYES);
  command(5012);  // a 12 x 12 game meanwhile
  TestAdvanceTicks(3000);
  ClearRecords();
  TestQueueFileDialogAnswer(path);
  command(106);
  // The record as saved, with the selection cleared, statistics off and the
  // clock moved back by the time already played.
  saved.statsOn = 0;
  saved.firstSelected = -1;
  saved.startTicks = GetTickCount() - 125000;
  EXPECT_EQ(memcmp(Board, &saved, sizeof saved), 0);
  EXPECT_EQ(titleScreenFlag, 0u);
}

TEST_F(SavedGameTest, FilesThatAreNoSavedGameAreRefusedAndAFailedSaveSaysSo) {
  NewGame();
  const std::string path = folder_ + "game.sw3";
  ASSERT_EQ(SaveGameFile(path.c_str()), 1);
  const std::string good = ReadAll(path);
  auto refused = [&](std::string bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const BoardRecord before = *Board;
    ClearRecords();
    EXPECT_EQ(LoadGameFile(path.c_str()), 0);
    EXPECT_EQ(memcmp(&before, Board, sizeof before), 0) << "the board is untouched";
    EXPECT_EQ(TestMessageBoxes().size(), 1u);
  };
  auto patched = [&](size_t at, const std::string& with) { return std::string(good).replace(at, with.size(), with); };
  refused(good.substr(0, 5000));
  refused(good + "x");
  refused(patched(5664, "\x1e"));  // 30 columns
  refused(patched(664, "\x07"));   // a piece's home outside the board
  refused(patched(3168, good.substr(3164, 4)).replace(668, 4, good.substr(664, 4)));  // one piece in two cells
  ClearRecords();
  EXPECT_EQ(SaveGameFile((folder_ + "no/such/folder.sw3").c_str()), 0);
  EXPECT_EQ(TestMessageBoxes().size(), 1u);
}

}  // namespace

// Saving a game in progress and taking it up again.
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/shell_state.h"
#include "puzzle/board.h"
#include "puzzle/saved_games.h"
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
  refused(patched(5692, "\xff\xff\xff\x7f"));  // a move count the next swap would run over
  refused(patched(5692, "\xff\xff\xff\xff"));  // fewer than no moves
  refused(patched(5704, std::string("\0\0\0\x80", 4)));  // played for longer than the clock can count
  ClearRecords();
  EXPECT_EQ(SaveGameFile((folder_ + "no/such/folder.sw3").c_str()), 0);
  EXPECT_EQ(TestMessageBoxes().size(), 1u);
}

TEST_F(SavedGameTest, APathTooLongToKeepIsRefusedWithAWordAndTheDialogAsksAgain) {
  NewGame();
  Board->statsOn = 0;  // no note before the dialog
  const BoardRecord before = *Board;
  const std::string folder = folder_ + "saved games/";
  std::filesystem::create_directories(folder);
  auto named = [&](size_t length) { return folder + std::string(length - folder.size() - 4, 's') + ".sw3"; };
  TestQueueFileDialogTyped(named(256));
  TestQueueFileDialogTyped(named(257));
  TestQueueFileDialogTyped(named(255));
  command(107);
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  for (const TestMessageBox& box : TestMessageBoxes()) EXPECT_EQ(box.caption, "Sorry:");
  EXPECT_FALSE(std::filesystem::exists(named(256)));
  EXPECT_FALSE(std::filesystem::exists(named(257)));
  EXPECT_EQ(ReadAll(named(255)).size(), 5712u);
  EXPECT_EQ(memcmp(&before, Board, offsetof(BoardRecord, elapsedSeconds)), 0) << "the game goes on as it was";
}

}  // namespace

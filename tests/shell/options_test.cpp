// The options file and the recent-file lists, across runs of the game.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "puzzle/board.h"
#include "shell/options.h"
#include "support/game_fixture.h"

namespace {

using OptionsTest = GameFixture;
using ListTest = GameFixture;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string MenuText(HWND hwnd, UINT id) {
  char text[256] = "";
  GetMenuStringA(GetMenu(hwnd), id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

TEST_F(OptionsTest, SettingsTheReservedBytesAndTheScreenModeSurviveRestarts) {
  const std::string opt = folder_ + "swapster.opt";
  command(5109);  // 9 x 9 open play
  command(121);   // clock off
  command(209);
  std::string bytes = ReadAll(opt);
  ASSERT_EQ(bytes.size(), 1554u);
  // Full screen, 9 x 9, statistics on, open play, note not dismissed, clock off.
  EXPECT_EQ(bytes.substr(516, 38), std::string("valid\0\0\0\0\0\x09\0\0\0\x01\0\0\0\0\0\0\0\x09\0\0\0\x09\0\0\0", 30) +
                                      std::string(8, '\0'));
  for (size_t i = 554; i < bytes.size(); ++i) bytes[i] = (char)(i * 7);
  WriteAll(opt, bytes);

  GameStartOptions cancel;
  cancel.noteAnswer = IDCANCEL;  // dismissing the note writes the options again
  RestartGame(cancel);
  ASSERT_EQ(startBoxes_.size(), 1u);
  EXPECT_EQ(Board->boardSize * 100 + Board->columns * 10 + Board->faceDown, 990);
  EXPECT_EQ(clockFlag, 0u);
  command(2100);
  command(209);
  const std::string again = ReadAll(opt);
  EXPECT_EQ(again[522], 1) << "normal window";
  EXPECT_EQ(again.substr(554), bytes.substr(554)) << "reserved bytes go back as read";

  RestartGame(GameStartOptions());
  EXPECT_TRUE(startBoxes_.empty()) << "the note is gone for good";
  EXPECT_EQ(stripMode, 0u);
  EXPECT_FALSE(IsWindowVisible(MenuStrip));
}

TEST_F(OptionsTest, DamagedFilesGiveOnlyWhatIsSound) {
  std::string bytes(1554, '\0');  // sound off
  memcpy(&bytes[260], "pic.bmp", 8);
  memcpy(&bytes[516], "valiD", 6);  // no marker: the size is not taken...
  bytes[526] = bytes[538] = bytes[542] = 9;
  bytes[546] = 1;  // ...but the note is
  WriteAll(folder_ + "swapster.opt", bytes);
  RestartGame(GameStartOptions());
  EXPECT_EQ(soundFlag, 0u);
  EXPECT_EQ(std::string(PuzzlePicturePath), "pic.bmp");
  EXPECT_EQ(Board->columns, 6);
  EXPECT_TRUE(startBoxes_.empty());

  memcpy(&bytes[516], "valid", 6);
  bytes[526] = bytes[538] = bytes[542] = 30;  // no 30 x 30 board
  memset(&bytes[260], 'x', 256);              // a path without its end
  WriteAll(folder_ + "swapster.opt", bytes.substr(0, 1000));
  RestartGame(GameStartOptions());
  EXPECT_EQ(Board->columns * 10 + Board->rows, 66);
  EXPECT_EQ(std::string(PuzzlePicturePath), folder_ + "cathedra.bkg");
}

TEST_F(ListTest, EntriesMoveToTheHeadTheOldestDropsAndTheListsAreKept) {
  for (int i = 0; i < 11; ++i) PutAtHead(MenuStrip, ("/p/" + std::to_string(i)).c_str(), kUserPictureList);
  PutAtHead(MenuStrip, "/p/7", kUserPictureList);  // entry 3
  std::string order;
  for (int i = 0; i < 10; ++i) order += std::string(RecentEntry(kUserPictureList, i)).substr(3) + " ";
  EXPECT_EQ(order, "7 10 9 8 6 5 4 3 2 1 ") << "entry 3 to the head, /p/0 dropped";
  EXPECT_EQ(MenuText(MenuStrip, 7004), "/p/6");
  PutAtHead(MenuStrip, "", kStatsFileList);
  PutAtHead(MenuStrip, std::string(200, 'x').c_str(), kStatsFileList);
  EXPECT_EQ(std::string(RecentEntry(kStatsFileList, 0)), "") << "neither empty nor too long paths are kept";
  PutAtHead(MenuStrip, "/s/a.sw3", kStatsFileList);

  RestartGame(GameStartOptions());
  EXPECT_EQ(MenuText(MenuStrip, 7040), "/s/a.sw3");
  std::string lists = ReadAll(folder_ + "swpflist");
  ASSERT_EQ(lists.size(), 6000u);
  memset(&lists[4000], 'y', 200);  // an entry without its end
  WriteAll(folder_ + "swpflist", lists);
  ReadLists("swpflist");
  EXPECT_EQ(std::string(RecentEntry(kStatsFileList, 0)), "");
  EXPECT_EQ(std::string(RecentEntry(kUserPictureList, 1)), "/p/10");
}

TEST_F(ListTest, TwoGamesEndingAtOnceKeepEveryEntryTheyPicked) {
  PutAtHead(nullptr, "/p/old1", kUserPictureList);
  PutAtHead(nullptr, "/p/old0", kUserPictureList);
  ASSERT_EQ(WriteLists("swpflist"), 1);
  ReadLists("swpflist");
  // Both started from these lists.  Each picks pictures of its own, the
  // first an old one again, the second a statistics file as well; the first
  // ends a little later.
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      for (int i = 0; i < 3; ++i)
        PutAtHead(nullptr, ("/p/" + std::to_string(c) + "-" + std::to_string(i)).c_str(), kUserPictureList);
      if (c == 1) PutAtHead(nullptr, "/s/one.sw3", kStatsFileList);
      if (c == 0) {
        PutAtHead(nullptr, "/p/old1", kUserPictureList);  // picked again
        usleep(300 * 1000);
      }
      _exit(WriteLists("swpflist") == 1 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ReadLists("swpflist");
  std::string order;
  for (int i = 0; i < 10; ++i) order += std::string(RecentEntry(kUserPictureList, i)) + " ";
  EXPECT_EQ(order, "/p/old1 /p/0-2 /p/0-1 /p/0-0 /p/1-2 /p/1-1 /p/1-0 /p/old0   ");
  EXPECT_EQ(std::string(RecentEntry(kStatsFileList, 0)), "/s/one.sw3") << "kept by the game that picked none";
}

TEST_F(ListTest, TheListFileIsWrittenAtEveryShutdown) {
  RestartGame(GameStartOptions());  // a run that changed no list
  const std::string lists = ReadAll(folder_ + "swpflist");
  EXPECT_EQ(lists, std::string(6000, '\0'));
}

TEST_F(ListTest, EmptyListsKeepTheMenuShape) {
  // The Stats menu of a first run: three items, the separator and ten items
  // with empty text, as in the template; choosing an empty one does nothing.
  std::vector<std::string> stats = TestMenuShown(MenuStrip, 2);
  ASSERT_EQ(stats.size(), 14u);
  EXPECT_EQ(stats[3], "-");
  EXPECT_EQ(std::vector<std::string>(stats.begin() + 4, stats.end()), std::vector<std::string>(10, ""));
  command(7040);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_STREQ(StatsFilePath, (folder_ + "default.sw3").c_str());
}

TEST_F(ListTest, TheStatisticsItemNamesTheFileShortly) {
  char out[64];
  StatsShortName("/d/abcdefghijklmnopqrstuvwxyz12.sw3", out, sizeof out);
  EXPECT_STREQ(out, "defghijklmnopqrstuvwxyz12.sw3");
  StatsShortName("/home/me/mine.sw3", out, sizeof out);
  EXPECT_STREQ(out, "mine.sw3");
  // 29 bytes from the end falls inside "ä": the whole character goes.
  StatsShortName("/d/Bäumeabcdefghijklmnopqrstu.sw3", out, sizeof out);
  EXPECT_STREQ(out, "umeabcdefghijklmnopqrstu.sw3");
  SetStatsItemText("D:\\GAMES\\MYSTATS.sw3", 111, MainWindow, MenuStrip);
  EXPECT_EQ(MenuText(MenuStrip, 111), "&Open Stat File (Currently Loaded: MYSTATS.sw3)");
}

}  // namespace

// Statistics: picture slots, a won game counted, spoken and written, the
// dialog's picture and views, damaged files, and naming a statistics file.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "support/game_fixture.h"

namespace {

using Strings = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), (std::streamsize)size);
}

class StatsTest : public GameFixture {
 protected:
  // What EndGame does after a counted win, without playing the game.
  void Win(int size, int moves, uint32_t seconds) {
    Board->lastGameSize = size;
    Board->moveCount = moves;
    Board->elapsedSeconds = seconds;
    RecordWin();
    ShowStatsDialog(MainWindow);
  }
  int SlotOf(const char* path) {
    CopyText(PuzzlePicturePath, sizeof PuzzlePicturePath, path);
    return FindStatsSlot();
  }
  // A won 6 x 6 game with a picture, counted and written as EndGame does,
  // without the dialog.
  bool WinAndWrite(const char* picture, int moves, uint32_t seconds) {
    Board->statsSlot = SlotOf(picture);
    Board->lastGameSize = 6;
    Board->moveCount = moves;
    Board->elapsedSeconds = seconds;
    RecordWin();
    return WriteStatsFile();
  }
  static StatsRecord FileRecord(const std::string& path) {
    StatsRecord r{};
    const std::string bytes = ReadBytes(path);
    memcpy(&r, bytes.data(), std::min(bytes.size(), sizeof r));
    return r;
  }
};

TEST_F(StatsTest, PicturesAreKnownByTheTailOfTheirPath) {
  memset(&Stats, 0, sizeof Stats);
  EXPECT_EQ(SlotOf("D:\\A\\PICTURE1.BMP"), 1);
  EXPECT_EQ(SlotOf("E:\\B\\PICTURE1.BMP"), 1) << "the same last 12 characters share a slot";
  Stats.winCounter = 10;
  Stats.useStamps[1] = 5;
  EXPECT_EQ(SlotOf("/home/player/pictures/tiger.png"), 2) << "a free slot is no better than a named one";
  EXPECT_STREQ(Stats.pictureNames[2], "es/tiger.png");

  // The least recently won slot is taken, counters and all.
  for (int k = 1; k <= 99; ++k) Stats.useStamps[k] = k == 40 ? 7 : 100 + k;
  Stats.winCounter = 500;
  Stats.gamesWon[1][40] = 3;
  EXPECT_EQ(SlotOf("new.bmp"), 40);
  EXPECT_EQ(StatsGamesWon(6, 40), 3u);

  // Damaged: names without terminators count by their first 12 bytes; a
  // stamp later than the win counter counts as the latest.
  memset(Stats.pictureNames, 'x', sizeof Stats.pictureNames);
  EXPECT_EQ(SlotOf("/pics/xxxxxxxxxxxx"), 1);
  for (int k = 1; k <= 99; ++k) Stats.useStamps[k] = k == 60 ? 499 : UINT32_MAX;
  EXPECT_EQ(SlotOf("other.bmp"), 60);
}

TEST_F(StatsTest, AWonGameIsCountedSpokenAndWritten) {
  NewGame();
  LayOutSolved();
  Exchange(0, 0, 1, 0);
  Board->moveCount = 40;
  TestAdvanceTicks(300000);
  ClearRecords();
  ClickCell(0, 0);
  ClickCell(1, 0);
  EXPECT_EQ(Sounds(), (Strings{"plain_beep", "take_two", "kcongrat", "gametook_wav!", "n40!", "moves_wav!"}));
  EXPECT_EQ(ReadBytes(folder_ + "default.sw3"), std::string((const char*)&Stats, sizeof Stats));

  ClearRecords();
  Win(6, 35, 200);
  EXPECT_EQ(Sounds(), (Strings{"gametook_wav!", "n30!", "n5!", "newrecor_wav!"}));
  ClearRecords();
  Win(6, 41, 200);
  EXPECT_EQ(Sounds(), (Strings{"gametook_wav!", "n40!", "n1!", "movesrec_wav!", "n30!", "n5!"}));
  Strings lines;
  for (int i = 0; i < 14; ++i) lines.push_back(StatsDialogLine(i));
  EXPECT_EQ(lines, (Strings{"6 x 6", "3", "38", "00:03:53", "35", "00:03:20", "cathedra.bkg", "3", "38", "00:03:53",
                            "35", "00:03:20", "00:03:20", "41"}));
}

TEST_F(StatsTest, TheDialogWritesTheValuesIntoThePicturesBoxes) {
  NewGame();
  std::vector<uint32_t> views[2];
  TestQueueDialogScript([&](HWND d) {
    int w, h;
    views[1] = WindowImage(d, &w, &h);
    SendMessageA(d, WM_COMMAND, 3000, 0);
    TestPumpMessages();
    views[0] = WindowImage(d, &w, &h);
  });
  Win(6, 20, 90);
  int pw, ph;
  const std::vector<uint32_t> picture = BitmapImage(StatsBitmap, &pw, &ph);
  ASSERT_EQ(pw * ph, 620 * 440);
  // Box tops; all are 22 high and end at 600, the name's starts at 260.
  const int tops[] = {20, 65, 135, 178, 223, 268, 313, 358, 403};
  std::vector<int> offPicture(2), differs(9);
  for (size_t at = 0; at < picture.size(); ++at) {
    const int x = (int)(at % 620), y = (int)(at / 620);
    int box = -1;
    for (int b = 0; b < 9; ++b)
      if (x >= (b == 2 ? 260 : 500) && x < 600 && y >= tops[b] && y < tops[b] + 22) box = b;
    for (int v = 0; v < 2; ++v) offPicture[v] += box < 0 && views[v][at] != picture[at];
    if (box >= 0) differs[box] += views[0][at] != views[1][at];
  }
  EXPECT_EQ(offPicture, std::vector<int>(2, 0));
  // The picture's name, then "All Images"; the time of this game stays.
  EXPECT_EQ(std::vector<bool>({differs[0] > 0, differs[2] > 0}), std::vector<bool>({0, 1}));
}

// The keyboard starts on the view button, so that a stray Space only turns
// the view, and Tab goes between the two buttons alone; every figure sits in
// the middle of its box in both views.
TEST_F(StatsTest, TheKeyboardStartsOnTheViewButtonAndTheFiguresSitMidBox) {
  NewGame();
  std::vector<int> stops;
  Strings offCentre;
  TestQueueDialogScript([&](HWND d) {
    stops = TestDialogTabStops(d);
    for (int view = 0; view < 2; ++view) {
      for (const std::string& box : StatsFiguresOffCentre(d, 1)) offCentre.push_back(box);
      SendMessageA(d, WM_COMMAND, 3000, 0);
      TestPumpMessages();
    }
  });
  Win(6, 20, 90);
  EXPECT_EQ(stops, (std::vector<int>{3000, IDOK}));
  EXPECT_EQ(offCentre, Strings());
}

TEST_F(StatsTest, DamagedFilesAndImpossibleCountsAreReadSafely) {
  // A short file fills the record from its start; the rest is empty, not
  // what the previous file left in memory.
  memset(&Stats, 0xAB, sizeof Stats);
  const uint32_t head[2] = {7, 8};
  WriteBytes(StatsFilePath, head, sizeof head);
  ReadStatsFile();
  EXPECT_EQ(Stats.gamesWon[0][1], 8u);
  EXPECT_EQ(+Stats.winCounter, 0u);  // by value: the packed field is not aligned

  // Totals with no game won, then counters at their top: no division by
  // zero, nothing wraps round.
  NewGame();
  Stats.totalMoves[1][0] = Stats.winCounter = UINT32_MAX;
  Board->lastGameSize = 6;
  ShowStatsDialog(MainWindow);
  EXPECT_STREQ(StatsDialogLine(2), "0");
  Win(6, 10, 10);
  EXPECT_EQ(Stats.totalMoves[1][0], UINT32_MAX);
  EXPECT_EQ(+Stats.winCounter, UINT32_MAX);
  EXPECT_STREQ(StatsDialogLine(2), "4294967295");

  // The hidden commands show a size that has no row: zeros, nothing changed.
  const std::string before((const char*)&Stats, sizeof Stats);
  command(1001);
  EXPECT_EQ(Strings({StatsDialogLine(0), StatsDialogLine(1), std::string((const char*)&Stats, sizeof Stats)}),
            (Strings{"1 x 1", "0", before}));
}

TEST_F(StatsTest, AWriteKeepsWhatAnotherGameWroteMeanwhile) {
  ReadStatsFile();  // no file yet
  // Another copy of the game won two games with its picture since then, in
  // the slot this one is about to give its own picture.
  static StatsRecord other;
  other = StatsRecord{};
  for (int column : {0, 1}) {
    other.gamesWon[1][column] = 2;
    other.totalMoves[1][column] = 100;
    other.bestSeconds[1][column] = 50;
  }
  strcpy(other.pictureNames[1], "other.bkg");
  other.useStamps[1] = other.winCounter = 2;
  WriteBytes(StatsFilePath, &other, sizeof other);

  ASSERT_TRUE(WinAndWrite("mine.bkg", 40, 70));
  const StatsRecord file = FileRecord(StatsFilePath);
  const int mine = Board->statsSlot;
  EXPECT_NE(mine, 1) << "this game's picture moved to a slot of its own";
  EXPECT_STREQ(file.pictureNames[1], "other.bkg");
  EXPECT_STREQ(file.pictureNames[mine], "mine.bkg");
  EXPECT_EQ((std::vector<uint32_t>{file.gamesWon[1][0], file.totalMoves[1][0], file.bestSeconds[1][0],
                                   file.gamesWon[1][1], file.gamesWon[1][mine], file.totalMoves[1][mine],
                                   file.winCounter, file.useStamps[mine]}),
            (std::vector<uint32_t>{3, 140, 50, 2, 1, 40, 3, 3}));
  EXPECT_EQ(ReadBytes(StatsFilePath), std::string((const char*)&Stats, sizeof Stats)) << "the game sees both";

  // A file that has gone is written again whole, as this game knows it.
  unlink(StatsFilePath);
  ASSERT_TRUE(WinAndWrite("mine.bkg", 30, 60));
  EXPECT_EQ(FileRecord(StatsFilePath).gamesWon[1][0], 4u);
}

TEST_F(StatsTest, TwoGamesWinningIntoOneFileAtOnceLoseNoWin) {
  ReadStatsFile();
  constexpr int kWins = 20;
  const char* const pictures[2] = {"/pics/first.bkg", "/pics/second.bkg"};
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      bool ok = true;
      for (int i = 0; i < kWins; ++i) ok = WinAndWrite(pictures[c], 30 + i, 100 + 10 * c + i) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ReadStatsFile();
  EXPECT_EQ(StatsGamesWon(6, 0), 2u * kWins);
  EXPECT_EQ(+Stats.winCounter, 2u * kWins);
  EXPECT_EQ(Stats.totalMoves[1][0], 2u * (30 * kWins + kWins * (kWins - 1) / 2));
  EXPECT_EQ(Stats.bestSeconds[1][0], 100u);
  const int first = SlotOf(pictures[0]), second = SlotOf(pictures[1]);
  EXPECT_NE(first, second);
  EXPECT_EQ((std::vector<uint32_t>{StatsGamesWon(6, first), StatsGamesWon(6, second), Stats.bestSeconds[1][second]}),
            (std::vector<uint32_t>{kWins, kWins, 110}));
}

TEST_F(StatsTest, AWinWhoseStatisticsCannotBeWrittenSaysSoOnceAndIsKept) {
  auto win = [&] {
    NewGame();
    LayOutSolved();
    Exchange(0, 0, 1, 0);
    ClearRecords();
    ClickCell(0, 0);
    ClickCell(1, 0);
  };
  size_t boxesDuringDialog = 0;
  TestQueueDialogScript([&](HWND d) {
    boxesDuringDialog = TestMessageBoxes().size();
    SendMessageA(d, WM_COMMAND, IDOK, 0);
  });
  TestFailWritesAfter(0);  // a full disk
  win();
  TestFailWritesAfter(-1);
  EXPECT_EQ(boxesDuringDialog, 1u) << "only the congratulations came before the statistics";
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(TestMessageBoxes()[1].caption, "Sorry:");
  EXPECT_NE(TestMessageBoxes()[1].text.find("'default.sw3'"), std::string::npos) << TestMessageBoxes()[1].text;
  EXPECT_TRUE(IsWindow(MainWindow));
  EXPECT_EQ(ReadBytes(StatsFilePath), "");

  // The next win goes in with the one before it, and says nothing.
  win();
  EXPECT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(FileRecord(StatsFilePath).gamesWon[1][0], 2u);
}

TEST_F(StatsTest, CreateAndOpenNameTheStatisticsFile) {
  TestQueueDialogScript([](HWND d) {
    for (const char* refused : {"ab", "", "toolongname", "a/b"}) {
      SetDlgItemTextA(d, 3000, refused);
      SendMessageA(d, WM_COMMAND, IDOK, 0);
      EXPECT_TRUE(IsWindowVisible(d)) << refused;
    }
    SetDlgItemTextA(d, 3000, "mystats");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
  });
  Stats.gamesWon[0][0] = 9;
  command(110);
  EXPECT_EQ(TestMessageBoxes().size(), 4u);
  EXPECT_EQ(std::string(StatsFilePath), folder_ + "mystats.sw3");
  EXPECT_EQ(ReadBytes(StatsFilePath), std::string(sizeof Stats, '\0'));

  // Open reads the chosen file.
  const uint32_t won = 2;
  WriteBytes(folder_ + "other.sw3", &won, sizeof won);
  TestQueueFileDialogAnswer(folder_ + "other.sw3");
  command(111);
  EXPECT_EQ(Stats.gamesWon[0][0], 2u);
  const TestFileDialog& f = TestFileDialogs().back();
  EXPECT_EQ(f.filter + " " + std::to_string(f.filterIndex), "Stat Files (*.sw3)|*.sw3 1");

  // A saved game shares the name ending but is never taken as statistics:
  // the next win would overwrite it.
  const std::string saved = folder_ + "saved.sw3";
  WriteBytes(saved, Board, sizeof *Board);
  TestQueueFileDialogAnswer(saved);
  TestMessageBoxes().clear();
  command(111);
  EXPECT_EQ(std::string(StatsFilePath), folder_ + "other.sw3");
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Sorry:");
  EXPECT_EQ(ReadBytes(saved).size(), sizeof *Board);
}

}  // namespace

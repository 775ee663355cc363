// High scores and options: the records, their files and the dialogs.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/shell_state.h"
#include "field_fixture.h"
#include "imaging/pictures.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "support/bitmap_helpers.h"

namespace {

using Scores = FieldFixture;
using Options = FieldFixture;

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

int32_t WordAt(const std::vector<uint8_t>& b, size_t at) {
  int32_t v;
  memcpy(&v, b.data() + at, 4);
  return v;
}

// A tile-set file's pixels as the game makes them into a bitmap.
std::vector<uint32_t> TileSetPixels(const std::string& file) {
  PictureRecord record;
  if (!DecodePictureFile(file.c_str(), &record)) return {};
  HBITMAP bitmap = PictureToBitmap(&record, MainWindow, -1, 0, 0, 0);
  int w, h;
  std::vector<uint32_t> pixels = BitmapImage(bitmap, &w, &h);
  DeleteObject(bitmap);
  return pixels;
}

std::vector<uint32_t> PiecePixels() {
  int w, h;
  return BitmapImage(TileSetBitmap, &w, &h);
}

TEST_F(Scores, RecordRulesAgainstTheEmptyTable) {
  const int k = ScoreEntry(16, 8);
  EXPECT_EQ(k, 1 + 6 * 1);
  EXPECT_TRUE(IsFieldRecord(k, 999, 0));
  EXPECT_FALSE(IsFieldRecord(k, 1000, 0));
  FieldScores.bestExplosions[k] = 3;
  FieldScores.bestTime[k] = 1000;
  EXPECT_TRUE(IsFieldRecord(k, 0, 50000)) << "a perfect game beats any explosions";
  FieldScores.bestExplosions[k] = 0;
  EXPECT_FALSE(IsFieldRecord(k, 0, 1000)) << "an equal time is no record";
  EXPECT_EQ(ScoreEntry(17, 7), 35);
}

TEST_F(Scores, WonGameTakesTheNameAndShowsOldThenNewBest) {
  std::string oldBest, newBest, holder;
  TestQueueDialogScript([&](HWND d) {
    char text[64];
    GetDlgItemTextA(d, 3000, text, sizeof text);
    oldBest = text;
    SetDlgItemTextA(d, 3002, "ABCDEFGHIJKLMNOPQRST");
    SendMessageA(d, WM_COMMAND, IDOK, 0);
  });
  TestQueueDialogScript([&](HWND d) {
    char text[64];
    GetDlgItemTextA(d, 3000, text, sizeof text);
    newBest = text;
    GetDlgItemTextA(d, 3001, text, sizeof text);
    holder = text;
    SendMessageA(d, WM_COMMAND, IDOK, 0);
  });
  LayBoard(12, 8, {{0, 0}});
  ClickAt(0, 0);  // one explosion
  ClickAt(6, 6);  // clears the rest
  EXPECT_EQ(oldBest, "1000 explosions");
  EXPECT_EQ(newBest, "1 explosions");
  EXPECT_EQ(holder, "ABCDEFGHIJKLM");

  auto file = ReadAll(folder_ + "hfdscore");
  ASSERT_EQ(file.size(), 1304u);
  const int k = ScoreEntry(12, 8);
  EXPECT_EQ(WordAt(file, 144 + 4 * k), 1);
  EXPECT_EQ(std::string((const char*)&file[288 + 16 * k]), "ABCDEFGHIJKLM");

  // The spoken score came before the dialogs, the best as it stood before.
  std::vector<std::string> said = TestSoundsPlayed();
  auto at = std::find(said.begin(), said.end(), "yourscorewas_wav!");
  ASSERT_NE(at, said.end());
  EXPECT_NE(std::find(at, said.end(), "new_rec_wav!"), said.end());
}

TEST_F(Scores, AFileOfAnotherSizeCountsAsMissingAndTheNextRecordIsWritten) {
  const int k = ScoreEntry(16, 8);
  for (size_t size : {0, 3, 200, 1303, 1305}) {
    WriteAll(folder_ + "hfdscore", std::vector<uint8_t>(size, size == 200 ? 'x' : 0));
    ReadFieldScores();
    EXPECT_EQ((std::vector<uint32_t>{FieldScores.bestExplosions[0], FieldScores.bestExplosions[35],
                                     FieldScores.bestTime[k]}),
              (std::vector<uint32_t>{1000, 1000, 320000000}))
        << size << " bytes give the empty table";
    EXPECT_TRUE(IsFieldRecord(k, 999, 0)) << size;
  }
  FieldScores.bestExplosions[k] = 4;
  WriteFieldScores();
  auto file = ReadAll(folder_ + "hfdscore");
  ASSERT_EQ(file.size(), 1304u);
  EXPECT_EQ(WordAt(file, 144 + 4 * k), 4);

  std::vector<uint8_t> bytes(1304, 'y');  // names without an end
  WriteAll(folder_ + "hfdscore", bytes);
  ReadFieldScores();
  EXPECT_EQ(strlen(FieldScores.holder[35]), 13u);
}

TEST_F(Scores, TwoGamesSettingRecordsAtOnceKeepEveryOne) {
  // Each sets 15 records of its own, and both keep bettering one more.
  constexpr int kRounds = 15, kShared = 35;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      for (int i = 0; i < kRounds; ++i) {
        const int own = 15 * c + i;
        FieldScores.bestExplosions[own] = (uint32_t)(10 + c);
        snprintf(FieldScores.holder[own], 14, "player %d", c);
        FieldScores.bestExplosions[kShared] = (uint32_t)(100 - 2 * i - c);
        snprintf(FieldScores.holder[kShared], 14, "round %d of %d", i, c);
        WriteFieldScores();
      }
      _exit(0);
    }
  }
  for (pid_t child : children) waitpid(child, nullptr, 0);
  ReadFieldScores();
  for (int k = 0; k < 2 * kRounds; ++k) {
    EXPECT_EQ(FieldScores.bestExplosions[k], k < kRounds ? 10u : 11u) << k;
    EXPECT_STREQ(FieldScores.holder[k], k < kRounds ? "player 0" : "player 1") << k;
  }
  EXPECT_EQ(FieldScores.bestExplosions[kShared], 100u - 2 * (kRounds - 1) - 1);
  EXPECT_STREQ(FieldScores.holder[kShared], "round 14 of 1");
  EXPECT_EQ(FieldScores.bestExplosions[31], 1000u) << "an entry neither changed stays empty";
}

TEST_F(Options, SavedSettingsComeBackNextRun) {
  command(6004);
  command(6104);
  command(6121);
  TestQueueMessageBoxAnswer(IDOK);
  command(209);
  auto file = ReadAll(folder_ + "hfd.opt");
  ASSERT_EQ(file.size(), 1546u);
  EXPECT_EQ(std::string((const char*)&file[516]), "valid");
  EXPECT_EQ(WordAt(file, 526), 40);
  EXPECT_EQ(WordAt(file, 534), 0) << "saved full screen";
  EXPECT_EQ(WordAt(file, 546), 1);
  EXPECT_EQ(file[259], 0);
  EXPECT_EQ(file[515], 0);

  Stop();
  Start();
  EXPECT_EQ(fieldColumns, 40);
  EXPECT_EQ(chosenLevel, 4);
  EXPECT_EQ(proMode, 1);
  EXPECT_EQ(stripMode, 1u);

  command(2100);
  TestQueueMessageBoxAnswer(IDOK);
  command(209);
  EXPECT_EQ(WordAt(ReadAll(folder_ + "hfd.opt"), 534), 1) << "saved from a normal window";
  Stop();
  Start();
  EXPECT_EQ(stripMode, 0u) << "the next run opens in a normal window";
}

TEST_F(Options, SettingsThatCannotBeSavedAreNotReportedSaved) {
  // A full disk, then a folder where the file should be.
  TestMessageBoxes().clear();
  TestFailWritesAfter(0);
  command(209);
  TestFailWritesAfter(-1);
  ASSERT_EQ(mkdir((folder_ + "hfd.opt").c_str(), 0700), 0);
  command(209);
  EXPECT_EQ(BoxCaptions(), (std::vector<std::string>{"Sorry:", "Sorry:"}));
  EXPECT_NE(TestMessageBoxes().back().text.find("'hfd.opt'"), std::string::npos);
  rmdir((folder_ + "hfd.opt").c_str());
  command(209);
  EXPECT_EQ(BoxCaptions().back(), "Options Saved:");
}

TEST_F(Options, UnmarkedOrImpossibleSettingsAreIgnored) {
  std::vector<uint8_t> bytes(1546, 0);
  auto put = [&](size_t at, int32_t v) { memcpy(&bytes[at], &v, 4); };
  memcpy(&bytes[516], "vaLid", 6);
  put(522, 3);
  put(526, 50);
  put(530, 40);
  put(542, 0);
  WriteAll(folder_ + "hfd.opt", bytes);
  Stop();
  Start();
  EXPECT_EQ(fieldColumns, 16);
  EXPECT_EQ(chosenLevel, 8);
  EXPECT_EQ(clockFlag, 1u);

  memcpy(&bytes[516], "valid", 6);
  put(522, 0);     // no bombs per zero squares
  put(526, 5000);  // wider than the board record
  put(542, 7);
  WriteAll(folder_ + "hfd.opt", bytes);
  Stop();
  Start();
  EXPECT_EQ(chosenLevel, 8);
  EXPECT_EQ(fieldColumns, 16);
  EXPECT_EQ(clockFlag, 1u);
  command(6100);
  EXPECT_EQ(bombCount, 24);
}

TEST_F(Options, ChosenPieceImagesStayThroughRestartsAndSaves) {
  Stop();
  pictureFolder_ = FieldDataFolder();
  Start();
  const std::string electron = pictureFolder_ + "electron.hfd";
  command(8110);  // Hot Electrons
  TestQueueMessageBoxAnswer(IDOK);
  command(209);
  for (int run = 0; run < 2; ++run) {
    Stop();
    Start();
    ASSERT_EQ(std::string(PuzzlePicturePath), electron) << "run " << run;
  }
  EXPECT_EQ(PiecePixels(), TileSetPixels(electron));

  TestQueueMessageBoxAnswer(IDOK);
  command(209);
  EXPECT_EQ(std::string((const char*)&ReadAll(folder_ + "hfd.opt")[260]), electron) << "saved again, not emptied";
}

TEST_F(Options, AStoredSetThatCannotBeReadGivesTheDefaultSet) {
  std::vector<uint8_t> bytes(1546, 0);
  const std::string missing = folder_ + "gone.hfd";
  memcpy(&bytes[260], missing.c_str(), missing.size() + 1);
  WriteAll(folder_ + "hfd.opt", bytes);
  Stop();
  pictureFolder_ = FieldDataFolder();
  Start();
  EXPECT_EQ(std::string(PuzzlePicturePath), pictureFolder_ + "rosewood.hfd");
  EXPECT_EQ(PiecePixels(), TileSetPixels(pictureFolder_ + "rosewood.hfd"));
}

TEST_F(Options, FilesThatArePipesCountAsMissingAndNeverHoldTheGame) {
  alarm(30);  // a reader that blocked would never come back
  Stop();
  for (const char* name : {"hfd.opt", "hfdscore", "hfdflist", "rosewood.hfd", "PLANET_R.BKG"}) {
    unlink((folder_ + name).c_str());  // the run just ended wrote its list
    ASSERT_EQ(mkfifo((folder_ + name).c_str(), 0600), 0);
  }
  Start();
  EXPECT_TRUE(IsWindow(MainWindow));
  alarm(0);
}

}  // namespace

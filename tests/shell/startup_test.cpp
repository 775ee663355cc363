// Start-up in an empty folder, the loading text, the picture folder from the
// command line, and shutdown.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "shell/winmain.h"
#include "support/game_fixture.h"

namespace fs = std::filesystem;

namespace {

const char kNoteText[] =
    "The menu only appears when you point to the upper left hand corner of the screen. This allows the nicest "
    "screen view during the game.\r\n\r\nClick cancel to rid yourself of this message for good!";

using StartUpTest = GameFixture;

TEST_F(StartUpTest, FirstStartInAnEmptyFolderUsesTheDefaultsAndShowsTheNote) {
  EXPECT_EQ(startResult_, -1) << "start-up goes on into the message loop";

  ASSERT_EQ(startBoxes_.size(), 1u);
  EXPECT_EQ(startBoxes_[0].owner, MainWindow);
  EXPECT_EQ(startBoxes_[0].caption, "Critical Note:");
  EXPECT_EQ(startBoxes_[0].text, kNoteText);
  EXPECT_EQ(startBoxes_[0].type, (UINT)MB_OKCANCEL);

  // The start-up sound is played to its end whatever the sound flag says.
  ASSERT_FALSE(startSounds_.empty());
  EXPECT_EQ(startSounds_[0], "deepexpl!");

  EXPECT_EQ(std::string(ProgramDirectory), folder_);
  EXPECT_EQ(std::string(PictureDirectory), folder_);
  EXPECT_EQ(std::string(SavedGameDirectory), folder_);
  EXPECT_EQ(std::string(StatsFilePath), folder_ + "default.sw3");
  EXPECT_EQ(std::string(PuzzlePicturePath), folder_ + "cathedra.bkg");

  EXPECT_EQ(soundFlag, 1u);
  EXPECT_EQ(clockFlag, 1u);
  EXPECT_EQ(stripMode, 1u);
  EXPECT_EQ(titleScreenFlag, 1u);
  EXPECT_EQ(readyFlag, 1u);
  EXPECT_EQ(menuNoteFlag, 0u) << "OK keeps the note for the next start";
  EXPECT_EQ(Board->columns, 6);
  EXPECT_EQ(Board->rows, 6);
  EXPECT_EQ(Board->boardSize, 6);
  EXPECT_EQ(Board->faceDown, 1);
  EXPECT_EQ(Board->statsOn, 1);
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_EQ(Board->firstSelected, -1);
  EXPECT_EQ(Board->secondSelected, -1);

  // Exactly the desktop, no caption, no border, no menu of its own.
  RECT r;
  GetWindowRect(MainWindow, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.bottom, 768);
  EXPECT_EQ((DWORD)GetWindowLongA(MainWindow, GWL_STYLE), (DWORD)(WS_POPUP | WS_CLIPCHILDREN));
  EXPECT_EQ(GetMenu(MainWindow), nullptr);
  GetClientRect(MainWindow, &r);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.bottom, 768);
  EXPECT_EQ(Board->boardWidth, 1024);
  EXPECT_EQ(Board->boardHeight, 768);

  // The strip is up, holds the menu and the keyboard.
  EXPECT_TRUE(IsWindowVisible(MenuStrip));
  EXPECT_NE(GetMenu(MenuStrip), nullptr);
  EXPECT_EQ(GetFocus(), MenuStrip);

  // Every picture the run needs is there.
  EXPECT_NE(EggBitmap, nullptr);
  EXPECT_NE(CardBackBitmap, nullptr);
  EXPECT_GT(CardBackWidth, 0);
  EXPECT_GT(CardBackHeight, 0);
  EXPECT_NE(ClockBitmap, nullptr);
  EXPECT_NE(ClockMask, nullptr);
  // The statistics picture waits for the dialog.
  EXPECT_EQ(StatsBitmap, nullptr);
  EXPECT_NE(StatsPictureBitmap(MainWindow), nullptr);
  ASSERT_NE(PuzzleBitmap, nullptr);
  int w, h;
  BitmapImage(PuzzleBitmap, &w, &h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
}

TEST_F(StartUpTest, OkKeepsTheFolderUntouchedAndCancelRidsTheNote) {
  // OK: nothing is written.
  EXPECT_FALSE(fs::exists(folder_ + "swapster.opt"));

  GameStartOptions again;
  again.noteAnswer = IDCANCEL;
  RestartGame(again);
  ASSERT_EQ(startBoxes_.size(), 1u);
  EXPECT_EQ(startBoxes_[0].caption, "Critical Note:");
  EXPECT_EQ(menuNoteFlag, 1u);
  // If the options file is written it is the whole record.
  if (fs::exists(folder_ + "swapster.opt")) {
    EXPECT_EQ(fs::file_size(folder_ + "swapster.opt"), 1554u);
  }
  // The first run's shutdown wrote the recent lists.
  EXPECT_EQ(fs::file_size(folder_ + "swpflist"), 6000u);
  for (const auto& e : fs::directory_iterator(folder_)) {
    const std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "cathedra.bkg" || name == "fire_eng.bkg" || name == "swpstats.tif" ||
                name == "swapster.opt" || name == "swpflist")
        << "unexpected file " << name;
  }
}

TEST_F(StartUpTest, TheLoadingTextIsPaintedWhileTheGameIsNotReady) {
  readyFlag = 0;
  InvalidateRect(MainWindow, nullptr, FALSE);
  SendMessageA(MainWindow, WM_PAINT, 0, 0);
  readyFlag = 1;

  // Text rectangle for 1024 x 768: 256, 256 to 768, 768.
  int w, h;
  std::vector<uint32_t> img = WindowImage(MainWindow, &w, &h);
  ASSERT_EQ(w, 1024);
  ASSERT_EQ(h, 768);
  const uint32_t pink = ToRgbWord(RGB(255, 50, 180));
  int inside = 0, strayOutside = 0, minX = w, maxX = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t p = img[(size_t)y * w + x];
      bool in = x >= 256 && x < 768 && y >= 256 && y < 768;
      if (!in && p != 0) ++strayOutside;
      if (in && p == pink) {
        ++inside;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    }
  EXPECT_GT(inside, 200) << "the text is drawn in its colour";
  EXPECT_EQ(strayOutside, 0) << "black outside the text rectangle";
  // Word-wrapped and centred in its rectangle.
  EXPECT_LT(maxX - minX, 512);
  EXPECT_GT(maxX - minX, 300);
  EXPECT_NEAR((minX + maxX) / 2, 512, 12);
}

TEST_F(StartUpTest, ClosingPostsQuitWithCodeZeroAfterTheGoodbye) {
  PostMessageA(MainWindow, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(startBoxes_.size() == 1 && TestMessageBoxes().empty()) << "no game, no question";
  EXPECT_FALSE(IsWindow(MainWindow));
  EXPECT_FALSE(IsWindow(MenuStrip));
  EXPECT_TRUE(TestQuitPosted());
  EXPECT_EQ(TestQuitCode(), 0);
  ASSERT_FALSE(Sounds().empty());
  EXPECT_EQ(Sounds().back(), "goodbye!");
  EXPECT_EQ(PuzzleBitmap, nullptr) << "pictures are freed at shutdown";
  EXPECT_EQ(EggBitmap, nullptr);

  // The message loop ends with the quit message's code.
  int code = -1, guard = 0;
  while (!quitFlag && guard++ < 10) code = PumpOneMessage();
  EXPECT_EQ(quitFlag, 1u);
  EXPECT_EQ(code, 0);
}

TEST_F(StartUpTest, ClosingWithSoundOffIsSilent) {
  soundFlag = 0;
  SendMessageA(MainWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TestQuitPosted());
  EXPECT_TRUE(Sounds().empty());
}

TEST_F(StartUpTest, ClosingDuringACountedGameAsksFirst) {
  NewGame();
  const int layout = Board->homeColumn[0] * 100 + Board->homeRow[0];

  TestQueueMessageBoxAnswer(IDNO);
  SendMessageA(MainWindow, WM_CLOSE, 0, 0);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Game in Progress:");
  EXPECT_EQ(TestMessageBoxes()[0].text,
            "There is a game in progress. Are you sure that you would like to exit now without finishing your "
            "game?");
  EXPECT_EQ(TestMessageBoxes()[0].type, (UINT)MB_YESNO);
  EXPECT_TRUE(IsWindow(MainWindow)) << "No cancels the close";
  EXPECT_FALSE(TestQuitPosted());
  EXPECT_EQ(Board->gameInProgress, 1);
  EXPECT_EQ(Board->homeColumn[0] * 100 + Board->homeRow[0], layout);

  TestQueueMessageBoxAnswer(IDYES);
  SendMessageA(MainWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(Board->gameInProgress, 0);
  EXPECT_TRUE(TestQuitPosted());
  // An unsolved game is not won: only the two questions were asked.
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
}

TEST_F(StartUpTest, ClosingWithStatisticsOffOrTheCloseCommandAsksNothing) {
  NewGame();
  Board->statsOn = 0;
  SendMessageA(MainWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_TRUE(TestQuitPosted());
  EXPECT_EQ(Board->gameInProgress, 1) << "with statistics off the game is not ended first";

  RestartGame(GameStartOptions());
  NewGame();
  command(112);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_TRUE(TestQuitPosted());
}

TEST_F(StartUpTest, ClosingTheStripClosesTheGameOnce) {
  NewGame();
  // No to the question: the strip is gone, the game goes on.
  TestQueueMessageBoxAnswer(IDNO);
  SendMessageA(MenuStrip, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(MenuStrip));
  EXPECT_EQ(stripGone, 1u);
  EXPECT_TRUE(IsWindow(MainWindow));
  EXPECT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(Board->gameInProgress, 1);
  // Keys and the corner must not reach for the strip that is gone.
  SetFocus(MainWindow);
  key('M');
  mouseMove(0, 0);
  mouseMove(4, 4);

  // The exit command closes the main window without a second round.
  TestQueueMessageBoxAnswer(IDYES);
  command(108);
  EXPECT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_FALSE(IsWindow(MainWindow));
  EXPECT_TRUE(TestQuitPosted());
  const std::vector<std::string> sounds = Sounds();
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "goodbye!"), 1);
}

TEST_F(StartUpTest, ThePictureFolderComesFromTheCommandLine) {
  const std::string pictures = folder_ + "pics/";
  fs::create_directory(pictures);
  for (const char* name : {"cathedra.bkg", "swpstats.tif"}) {
    fs::rename(folder_ + name, pictures + name);
  }
  GameStartOptions o;
  o.copyData = false;
  o.commandLine = pictures;
  RestartGame(o);
  EXPECT_EQ(std::string(PictureDirectory), pictures);
  EXPECT_EQ(std::string(PuzzlePicturePath), pictures + "cathedra.bkg");
  EXPECT_EQ(std::string(ProgramDirectory), folder_);
  EXPECT_EQ(std::string(StatsFilePath), folder_ + "default.sw3");
  EXPECT_NE(PuzzleBitmap, nullptr);
  EXPECT_NE(StatsPictureBitmap(MainWindow), nullptr);
}

TEST_F(StartUpTest, AFolderWithoutPicturesStillStartsAndPlays) {
  for (const char* name : {"cathedra.bkg", "fire_eng.bkg", "swpstats.tif"}) fs::remove(folder_ + name);
  GameStartOptions o;
  o.copyData = false;
  RestartGame(o);
  EXPECT_EQ(PuzzleBitmap, nullptr);
  EXPECT_EQ(StatsPictureBitmap(MainWindow), nullptr);
  EXPECT_EQ(readyFlag, 1u);
  NewGame();
  ClickCell(0, 0);
  ClickCell(1, 0);
  EXPECT_EQ(Board->moveCount, 1);
  EXPECT_TRUE(IsWindow(MainWindow));
}

TEST_F(StartUpTest, FilesThatArePipesCountAsMissingAndNeverHoldTheGame) {
  // A reader that blocked would never come back; the alarm ends the test.
  alarm(30);
  const std::string pipe = folder_ + "pipe.sw3";
  for (const char* name : {"swapster.opt", "swpflist", "default.sw3", "cathedra.bkg", "pipe.sw3"}) {
    fs::remove(folder_ + name);
    ASSERT_EQ(mkfifo((folder_ + name).c_str(), 0600), 0);
  }
  GameStartOptions options;
  options.copyData = false;
  RestartGame(options);
  EXPECT_EQ(startResult_, -1);

  // A saved game that cannot be opened is passed over without a word.
  TestQueueFileDialogAnswer(pipe);
  command(106);
  EXPECT_TRUE(TestMessageBoxes().empty());
  EXPECT_EQ(titleScreenFlag, 1u);
  TestQueueFileDialogAnswer(pipe);
  command(200);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  EXPECT_EQ(TestMessageBoxes()[0].text, "The image load failed.");
  alarm(0);
}

}  // namespace

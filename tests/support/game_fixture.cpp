// The offscreen game fixture.
#include "support/game_fixture.h"

#include "imaging/save_picture.h"
#include "imaging/user_pictures.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/paths.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"
#include "shell/winmain.h"
#include "sound/sounds.h"

namespace fs = std::filesystem;

namespace {

// An answer no button gives: queued last, it shows where the test's own
// answers end.
constexpr int kAnswerSentinel = 0x5A5A;

void ResetShellState() {
  AppInstance = nullptr;
  MainWindow = nullptr;
  MenuStrip = nullptr;
  ProgramDirectory[0] = 0;
  PictureDirectory[0] = 0;
  SavedGameDirectory[0] = 0;
  StatsFilePath[0] = 0;
  CopyText(MenuName, sizeof MenuName, "MainMenu");
  PuzzlePicturePath[0] = 0;
  BackgroundPath[0] = 0;

  soundFlag = 1;
  clockFlag = 1;
  menuNoteFlag = 0;
  stripMode = 1;
  stripReady = 1;
  stripShown = 1;
  titleScreenFlag = 1;
  readyFlag = 0;
  generationInProgress = 0;
  generationCancelRequested = 0;
  leftButtonFlag = 0;
  closeWithoutQuestion = 0;
  quitFlag = 0;
  mainWindowGone = 0;
  stripGone = 0;
  clockX = 500;
  clockY = 300;

  // Whatever a previous run left behind is not ours to delete any more: the
  // desktop layer forgets windows, and the run's own shutdown freed the rest.
  EggBitmap = CardBackBitmap = ClockBitmap = ClockMask = StatsBitmap = PuzzleBitmap = nullptr;
  BombInstBitmap = BackgroundBitmap = TiledBackgroundBitmap = nullptr;
  CardBackWidth = CardBackHeight = 0;
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  PuzzlePicture.flags = 0;

  Sounds = GameSounds{};
  memset(&Stats, 0, sizeof Stats);
  SetBoardDefaults();
  memset(Board->homeColumn, 0, sizeof Board->homeColumn);
  memset(Board->homeRow, 0, sizeof Board->homeRow);
}

void ResetRecords() {
  TestMessageBoxes().clear();
  TestSoundsPlayed().clear();
  TestFileDialogs().clear();
  TestResetWaited();
  TestResetRectangleCalls();
}

// Takes every message box answer a test queued but did not use, so that it
// cannot answer a box of the next test.  Returns how many there were.
int DrainUnusedAnswers() {
  TestQueueMessageBoxAnswer(kAnswerSentinel);
  int left = 0;
  while (MessageBoxA(nullptr, "", "", MB_OK) != kAnswerSentinel && left < 1000) ++left;
  TestMessageBoxes().clear();
  return left;
}

}  // namespace

std::string DataDirectory() {
  // The data files live in data/ at the top of the source tree; the build
  // folder holds copies beside the programs.
  fs::path source = fs::path(__FILE__).parent_path().parent_path().parent_path() / "data";
  if (fs::exists(source / "cathedra.bkg")) return source.string();
  char* cwd = getcwd(nullptr, 0);
  std::string here = cwd ? cwd : ".";
  free(cwd);
  return here;
}

std::vector<uint32_t> WindowImage(HWND hwnd, int* width, int* height) {
  return TestWindowImage(hwnd, width, height);
}

std::vector<std::string> StatsFiguresOffCentre(HWND dialog, int scale) {
  std::vector<std::string> out;
  int w = 0, h = 0;
  const std::vector<uint32_t> image = TestWindowImage(dialog, &w, &h);
  for (int top : {20, 65, 135, 178, 223, 268, 313, 358, 403}) {
    const int left = (top == 135 ? 260 : 500) * scale, right = 600 * scale;
    const int y0 = top * scale, y1 = (top + 22) * scale;
    int first = -1, last = -1;
    for (int y = y0; y < y1 && y < h; ++y)
      for (int x = left; x < right && x < w; ++x)
        if (image[(size_t)y * w + x] != 0x800000) {
          if (first < 0) first = y;
          last = y;
        }
    if (first < 0) continue;
    const int above = first - y0, below = y1 - 1 - last;
    if (std::abs(above - below) > 2 * scale)
      out.push_back("top " + std::to_string(top) + ": " + std::to_string(above) + " above, " +
                    std::to_string(below) + " below");
  }
  return out;
}

void GameFixture::SetUp() {
  char* cwd = getcwd(nullptr, 0);
  previousDir_ = cwd ? cwd : "/";
  free(cwd);
  // Short: the program folder has to fit the game's 120-byte limit.
  char pattern[] = "/tmp/swapgame-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  folder_ = std::string(pattern) + "/";
  ASSERT_EQ(chdir(pattern), 0);
  StartGame(StartOptions());
}

void GameFixture::TearDown() {
  StopGame();
  EXPECT_EQ(DrainUnusedAnswers(), 0) << "message box answers were queued but never asked for";
  TestSetDesktopSize(0, 0);
  TestSetTickStep(0);
  std::error_code unchanged;
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, unchanged);
  if (!folder_.empty()) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
}

void GameFixture::StartGame(const GameStartOptions& o) {
  ResetShellState();
  // What a run remembers of the picture dialogs starts afresh too.
  ResetUserPictureFolder();
  ResetSavePictureType();
  TestResetWindows();
  TestSetApplicationActive(true);
  DrainUnusedAnswers();
  ResetRecords();
  TestSetTickStep(0);
  TestSetTicks(o.ticks);
  TestSetDesktopSize(o.desktopWidth, o.desktopHeight);
  if (o.copyData) {
    for (const auto& entry : fs::directory_iterator(DataDirectory())) {
      const std::string name = entry.path().filename().string();
      if (name == "cathedra.bkg" || name == "fire_eng.bkg" || name == "swpstats.tif")
        fs::copy_file(entry.path(), fs::path(folder_) / name, fs::copy_options::overwrite_existing);
    }
  }
  TestQueueMessageBoxAnswer(o.noteAnswer);
  std::vector<char> line(o.commandLine.begin(), o.commandLine.end());
  line.push_back(0);
  startResult_ = StartUp(reinterpret_cast<HINSTANCE>(1), nullptr, line.data(), SW_SHOW);
  running_ = true;
  Pump();
  startBoxes_ = TestMessageBoxes();
  startSounds_ = TestSoundsPlayed();
  // An answer the start did not ask for (a note that was not shown) must
  // not answer the test's first box.
  DrainUnusedAnswers();
  ResetRecords();
}

void GameFixture::StopGame() {
  if (!running_) return;
  running_ = false;
  // The game's own shutdown frees what it holds, as on WM_DESTROY.
  if (MainWindow && IsWindow(MainWindow)) DestroyWindow(MainWindow);
  TestResetWindows();
  MainWindow = nullptr;
  MenuStrip = nullptr;
}

void GameFixture::RestartGame(const GameStartOptions& options) {
  StopGame();
  StartGame(options);
}

void GameFixture::Pump() { TestPumpMessages(); }

void GameFixture::click(int x, int y) {
  PostMessageA(MainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  PostMessageA(MainWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump();
}

void GameFixture::mouseMove(int x, int y) {
  PostMessageA(MainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  Pump();
}

void GameFixture::key(WPARAM vk) {
  PostMessageA(MainWindow, WM_KEYDOWN, vk, 0);
  Pump();
}

void GameFixture::command(UINT id) {
  PostMessageA(MainWindow, WM_COMMAND, id, 0);
  Pump();
}

COLORREF GameFixture::pixel(int x, int y) const { return TestWindowPixel(MainWindow, x, y); }

void GameFixture::ClearRecords() { ResetRecords(); }

void GameFixture::NewGame() {
  ASSERT_EQ(Board->gameInProgress, 0);
  command(104);
  ASSERT_EQ(Board->gameInProgress, 1);
}

void GameFixture::LayOutSolved() {
  for (int i = 0; i < Board->columns; ++i)
    for (int j = 0; j < Board->rows; ++j) {
      Board->homeColumn[CellIndex(i, j)] = i;
      Board->homeRow[CellIndex(i, j)] = j;
    }
  InvalidateRect(MainWindow, nullptr, FALSE);
  Pump();
}

void GameFixture::Exchange(int i1, int j1, int i2, int j2) {
  SwapPieces(i1, j1, i2, j2);
  InvalidateRect(MainWindow, nullptr, FALSE);
  Pump();
}

void GameFixture::ClickCell(int i, int j) {
  RECT r = CellRect(i, j);
  click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

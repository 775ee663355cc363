#include "field_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "minefield/field_game.h"
#include "puzzle/board.h"
#include "shell/winmain.h"
#include "sound/sounds.h"

namespace fs = std::filesystem;

static void ResetState() {
  AppInstance = nullptr;
  MainWindow = MenuStrip = nullptr;
  ProgramDirectory[0] = PictureDirectory[0] = SavedGameDirectory[0] = StatsFilePath[0] = 0;
  PuzzlePicturePath[0] = BackgroundPath[0] = 0;
  soundFlag = clockFlag = 1;
  menuNoteFlag = 0;
  stripMode = stripReady = stripShown = 1;
  titleScreenFlag = 1;
  readyFlag = generationInProgress = generationCancelRequested = leftButtonFlag = 0;
  closeWithoutQuestion = quitFlag = mainWindowGone = stripGone = 0;
  clockX = 500;
  clockY = 300;
  EggBitmap = CardBackBitmap = ClockBitmap = ClockMask = StatsBitmap = PuzzleBitmap = nullptr;
  BombInstBitmap = BackgroundBitmap = TiledBackgroundBitmap = TileSetBitmap = nullptr;
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  PuzzlePicture.flags = 0;
  Sounds = GameSounds{};
  fieldColumns = 16;
  fieldRows = 12;
  chosenLevel = levelInPlay = 8;
  proMode = 0;
  explosionCount = uncoveredCount = bombCount = 0;
  SetBoardDefaults();
}

std::string FieldDataFolder() {
  return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "data").string() + "/";
}

void FieldFixture::SetUp() {
  char* cwd = getcwd(nullptr, 0);
  previousDir_ = cwd ? cwd : "/";
  free(cwd);
  char pattern[] = "/tmp/fieldgame-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  folder_ = std::string(pattern) + "/";
  ASSERT_EQ(chdir(pattern), 0);
  Start();
}

void FieldFixture::TearDown() {
  Stop();
  TestSetDesktopSize(0, 0);
  TestSetTickStep(0);
  std::error_code unchanged;
  if (!previousDir_.empty()) std::filesystem::current_path(previousDir_, unchanged);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void FieldFixture::Start() {
  ResetState();
  TestResetWindows();
  TestSetApplicationActive(true);
  TestMessageBoxes().clear();
  TestSoundsPlayed().clear();
  TestSetTicks(100000);
  TestSetDesktopSize(960, 720);
  TestQueueMessageBoxAnswer(IDOK);  // the first-run note
  std::vector<char> line(pictureFolder_.begin(), pictureFolder_.end());
  line.push_back(0);
  StartUp(reinterpret_cast<HINSTANCE>(1), nullptr, line.data(), SW_SHOW);
  running_ = true;
  Pump();
  TestMessageBoxes().clear();
  TestSoundsPlayed().clear();
  TestDialogsShown().clear();
}

void FieldFixture::Stop() {
  if (!running_) return;
  running_ = false;
  if (MainWindow && IsWindow(MainWindow)) DestroyWindow(MainWindow);
  TestResetWindows();
  MainWindow = MenuStrip = nullptr;
}

void FieldFixture::Pump() { TestPumpMessages(); }

void FieldFixture::command(UINT id) {
  PostMessageA(MainWindow, WM_COMMAND, id, 0);
  Pump();
}

void FieldFixture::ClickAt(int x, int y) {
  RECT r = SquareRect(x, y);
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(MainWindow, WM_LBUTTONDOWN, 0, at);
  PostMessageA(MainWindow, WM_LBUTTONUP, 0, at);
  Pump();
}

void FieldFixture::RightClickAt(int x, int y) {
  RECT r = SquareRect(x, y);
  PostMessageA(MainWindow, WM_RBUTTONDOWN, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  Pump();
}

void FieldFixture::LayBoard(int columns, int rows, const std::vector<std::pair<int, int>>& bombs) {
  fieldColumns = columns;
  fieldRows = rows;
  command(6100);
  memset(Field.bomb, 0, sizeof Field.bomb);
  for (auto [x, y] : bombs) SetFieldBit(Field.bomb, x, y, true);
  bombCount = (int32_t)bombs.size();
}

std::vector<std::string> FieldFixture::BoxCaptions() const {
  std::vector<std::string> out;
  for (const TestMessageBox& b : TestMessageBoxes()) out.push_back(b.caption);
  return out;
}

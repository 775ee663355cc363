// The mine field: its board, the rules of a click and a mark, a new game and
// the end of a won one, and the commands of its menu.
#include "minefield/field_game.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/paths.h"
#include "common/play_clock.h"
#include "common/random.h"
#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/picture_library.h"
#include "imaging/save_picture.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/board_hooks.h"
#include "sound/sounds.h"

FieldBoard Field;
int32_t fieldColumns = 16;
int32_t fieldRows = 12;
int32_t chosenLevel = 8;
int32_t levelInPlay = 8;
int32_t bombCount = 0;
int32_t uncoveredCount = 0;
int32_t explosionCount = 0;
uint32_t gameClock = 0;
int32_t proMode = 0;
int32_t explosionChoice = 0;  // 0..3 for commands 8200..8203

static HGLOBAL LoadedExplosion = nullptr;  // the chosen recording other than "explode"

static HGLOBAL ExplosionSound() { return explosionChoice == 0 ? Sounds.explode : LoadedExplosion; }

bool GetFieldBit(const uint8_t* grid, int x, int y) {
  if (x < 0 || y < 0 || x >= kFieldMaxColumns || y >= kFieldMaxRows) return false;
  return (grid[kFieldRowBytes * y + x / 8] >> (x % 8)) & 1;
}

void SetFieldBit(uint8_t* grid, int x, int y, bool on) {
  if (x < 0 || y < 0 || x >= kFieldMaxColumns || y >= kFieldMaxRows) return;
  uint8_t& b = grid[kFieldRowBytes * y + x / 8];
  const uint8_t bit = (uint8_t)(1u << (x % 8));
  b = on ? (uint8_t)(b | bit) : (uint8_t)(b & ~bit);
}

static bool InLayout(int x, int y) { return x >= 0 && y >= 0 && x < fieldColumns && y < fieldRows; }

int HasBomb(int x, int y) { return InLayout(x, y) && GetFieldBit(Field.bomb, x, y) ? 1 : 0; }

int CountAdjacentBombs(int x, int y) {
  return HasBomb(x - 1, y - 1) + HasBomb(x - 1, y) + HasBomb(x - 1, y + 1) + HasBomb(x, y - 1) +
         HasBomb(x + 1, y - 1) + HasBomb(x + 1, y) + HasBomb(x + 1, y + 1) + HasBomb(x, y + 1);
}

bool SquareAt(int px, int py, int* x, int* y) {
  const int w = Board->boardWidth, h = Board->boardHeight;
  if (w <= 0 || h <= 0 || px < 0 || py < 0 || px >= w || py >= h) return false;
  *x = (int)((int64_t)px * fieldColumns / w);
  *y = (int)((int64_t)py * fieldRows / h);
  return InLayout(*x, *y);
}

static const int kLayoutColumns[6] = {12, 16, 20, 30, 40, 50};
static const int kLayoutRows[6] = {8, 12, 16, 24, 30, 40};
static const char* const kLayoutNames[6] = {"12x8", "16x12", "20x16", "30x24", "40x30", "50x40"};
static const int kLevels[5] = {10, 8, 6, 4, 3};
static const char* const kLevelNames[5] = {"Easy", "Memium", "Advanced", "Expert", "Impossible"};

int LayoutIndex(int columns) {
  for (int i = 0; i < 6; ++i)
    if (kLayoutColumns[i] == columns) return i;
  return 5;
}

const char* LayoutName(int columns) {
  for (int i = 0; i < 6; ++i)
    if (kLayoutColumns[i] == columns) return kLayoutNames[i];
  return "Unknown";
}

int LevelIndex(int level) {
  for (int i = 0; i < 5; ++i)
    if (kLevels[i] == level) return i;
  return 5;
}

const char* LevelName(int level) {
  int i = LevelIndex(level);
  return i < 5 ? kLevelNames[i] : "Unknown";
}

bool IsFieldGameOver() {
  if (proMode && explosionCount > 0) return true;
  return uncoveredCount + bombCount == fieldColumns * fieldRows;
}

static void CheckInMenu(HMENU menu, UINT id, bool on) {
  if (menu) CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void SetFieldMenuChecks() {
  const int layout = LayoutIndex(fieldColumns);
  for (HWND owner : {MainWindow, MenuStrip}) {
    HMENU menu = owner ? GetMenu(owner) : nullptr;
    if (!menu) continue;
    CheckInMenu(menu, 6120, !proMode);
    CheckInMenu(menu, 6121, proMode != 0);
    for (int i = 0; i < 6; ++i) CheckInMenu(menu, 6000 + i, i == layout);
    // The level of the game in play: a level chosen since moves its mark at
    // the next game.
    for (int level : kLevels) CheckInMenu(menu, 6100 + level, level == levelInPlay);
    for (UINT id = 8200; id <= 8203; ++id)
      CheckInMenu(menu, id, (int)(id - 8200) == explosionChoice);
  }
}

// The play clock of the game in play: the shell's clock and title read it.
static void SetGameClock(uint32_t ticks) {
  gameClock = ticks;
  Board->startTicks = ticks;
}

void ShiftFieldClock(DWORD ms) { SetGameClock(gameClock + ms); }

void StartFieldGame() {
  levelInPlay = chosenLevel >= 2 ? chosenLevel : 8;
  SetFieldMenuChecks();
  SeedRandom(GetTickCount());
  explosionCount = 0;
  bombCount = fieldColumns * fieldRows / levelInPlay;
  memset(Field.covered, 0xFF, sizeof Field.covered);
  memset(Field.marked, 0, sizeof Field.marked);
  memset(Field.bomb, 0, sizeof Field.bomb);
  for (int placed = 0; placed < bombCount;) {
    int x = (int)RandomBelow((uint32_t)fieldColumns);
    int y = (int)RandomBelow((uint32_t)fieldRows);
    if (GetFieldBit(Field.bomb, x, y)) continue;
    SetFieldBit(Field.bomb, x, y, true);
    ++placed;
  }
  uncoveredCount = 0;
  Board->gameInProgress = 1;
  titleScreenFlag = 0;
  ForgetKeyboardFrame();
  ResetPlayClock();
  SetGameClock(GetTickCount());
  if (MainWindow) InvalidateRect(MainWindow, nullptr, FALSE);
}

static void RedrawSquare(int x, int y) {
  if (!MainWindow) return;
  HDC dc = GetDC(MainWindow);
  DrawSquare(dc, x, y);
  ReleaseDC(MainWindow, dc);
}

void ToggleMark(int px, int py) {
  if (Board->gameInProgress != 1 || titleScreenFlag) return;
  int x, y;
  if (!SquareAt(px, py, &x, &y) || !GetFieldBit(Field.covered, x, y)) return;
  SetFieldBit(Field.marked, x, y, !GetFieldBit(Field.marked, x, y));
  RedrawSquare(x, y);
}

// Uncovers one square with its tick; true when it may go on to its neighbours.
static bool UncoverSquare(int x, int y) {
  SetFieldBit(Field.marked, x, y, false);
  SetFieldBit(Field.covered, x, y, false);
  ++uncoveredCount;
  if (soundFlag) PlaySoundAsync(Sounds.tick);
  WaitMilliseconds(25);
  RedrawSquare(x, y);
  return CountAdjacentBombs(x, y) == 0;
}

// Depth first, one square at a time, in the order that sends the clearing
// visibly across the board.  The squares still to visit are kept on a stack
// of our own: a large board can chain thousands of zero squares.
int ClearFromSquare(int x, int y) {
  static const int kStep[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {0, -1}, {1, 1}, {1, 0}, {1, -1}};
  struct Frame {
    int x, y, next;
  };
  const int before = uncoveredCount;
  if (!InLayout(x, y) || !GetFieldBit(Field.covered, x, y)) return 0;
  std::vector<Frame> stack;
  if (UncoverSquare(x, y)) stack.push_back({x, y, 0});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == 8) {
      stack.pop_back();
      continue;
    }
    const int nx = top.x + kStep[top.next][0], ny = top.y + kStep[top.next][1];
    ++top.next;
    if (!InLayout(nx, ny) || !GetFieldBit(Field.covered, nx, ny)) continue;
    if (UncoverSquare(nx, ny)) stack.push_back({nx, ny, 0});  // `top` is not used after this
  }
  return uncoveredCount - before;
}

static void TimeBonus(int x, int y, int balls, uint32_t ms, HGLOBAL sound) {
  PlayBonusBalls(x, y, balls);
  const uint32_t now = PlayTicks();
  uint32_t clock = gameClock + ms;
  if (now < clock) clock = now;
  SetGameClock(clock);
  if (soundFlag) PlaySoundSync(sound);
}

void ClickSquare(int px, int py) {
  if (Board->gameInProgress != 1 || titleScreenFlag || IsFieldGameOver()) return;
  int x, y;
  if (!SquareAt(px, py, &x, &y)) return;
  if (GetFieldBit(Field.bomb, x, y)) {
    // A bomb already blown shows as such; clicking it again changes nothing.
    if (!GetFieldBit(Field.covered, x, y)) return;
    ++explosionCount;
    SetFieldBit(Field.marked, x, y, false);
    if (soundFlag) PlaySoundAsync(ExplosionSound());
    PlayExplosion(x, y);
    SetFieldBit(Field.covered, x, y, false);
    RedrawSquare(x, y);
    if (explosionCount == 10 && MainWindow) SendMessageA(MainWindow, WM_COMMAND, 506, 0);
    return;
  }
  const bool wasCovered = GetFieldBit(Field.covered, x, y);
  ClearFromSquare(x, y);
  if (wasCovered) {
    const uint32_t r = RandomBelow(60);
    if (r < 2)
      TimeBonus(x, y, 1, 8000, Sounds.bonus);
    else if (r == 2)
      TimeBonus(x, y, 4, 11000, Sounds.bonus2);
  }
  if (IsFieldGameOver()) EndFieldGame();
}

void EndFieldGame() {
  leftButtonFlag = 0;
  HideKeyboardFrame();
  gameClock = PlayTicks() - gameClock;  // now the time the game took
  RevealBackground();
  if (MainWindow) ScoreFieldGame(MainWindow);
}

// ------------------------------------------------------------------ commands

static const char kLevelNotice[] = "This change will take effect next game.";
static const char kOptionsSavedText[] =
    "Your current settings have been saved in the file 'hfd.opt'. You may delete this file if you want to "
    "return to the original settings.";
static const char kTimeBonusText[] =
    "The time bonuses crawl out from under the tiles at random. The more tiles you click, the more likely "
    "you'll get one. You should notice the clock turning back a little each time you hit one!";
static const char kAboutFieldText[] =
    "Quillon's Hotfield, Version 1.1\r\n\r\nThe mine field game: clear the field while exploding as few bombs "
    "as possible.";
struct TileSetFile {
  UINT id;
  const char* file;
};
static const TileSetFile kTileSets[] = {
    {8100, "hotmetal.hfd"}, {8101, "stone3d.hfd"},  {8102, "darkcirc.hfd"}, {8103, "rosewood.hfd"},
    {8104, "radglow.hfd"},  {8105, "tubeflwr.hfd"}, {8106, "aluminum.hfd"}, {8107, "mutants.hfd"},
    {8108, "meters.hfd"},   {8109, "arrows.hfd"},   {8110, "electron.hfd"}, {8111, "sampler.hfd"},
};

static void ChooseExplosion(UINT id) {
  static const char* const kNames[4] = {"explode", "explode_nuclear", "explode_goshdarn", "explode_awshucks"};
  FreeSound(LoadedExplosion);
  LoadedExplosion = nullptr;
  explosionChoice = (int32_t)(id - 8200);
  if (explosionChoice != 0) LoadedExplosion = LoadSound(kNames[explosionChoice]);
  SetFieldMenuChecks();
}

void FreeFieldPictures() {
  DeleteBitmapSlot(&TileSetBitmap);
  FreeSound(LoadedExplosion);
  LoadedExplosion = nullptr;
  explosionChoice = 0;
}

// The background path heads the background list in both menus.
static void AnnounceBackground() {
  PutAtHead(MenuStrip, BackgroundPath, kBackgroundList);
  RewriteList(MainWindow, kBackgroundList);
}

static void ChooseBackgroundTile(HWND hwnd) {
  Board->backgroundChoice = ChooseFieldBackground(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
  AnnounceBackground();
  LayTiledBackground();
}

// The background as it shows on the board, saved as a picture file.
static void SaveBackgroundPicture(HWND hwnd) {
  HBITMAP visible = VisibleBackground();
  BITMAP info{};
  if (!visible || !GetObjectA(visible, sizeof info, &info)) return;
  HDC screen = GetDC(hwnd);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, visible);
  RECT all = {0, 0, info.bmWidth, info.bmHeight};
  PictureRecord record;
  CapturePicture(memory, &record, &all);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(hwnd, screen);
  SavePictureDialog(hwnd, &record, BackgroundPath);
  ReleaseRecord(&record);
}

void DispatchFieldCommand(HWND hwnd, UINT id) {
  if (id >= 6000 && id <= 6005) {
    fieldColumns = kLayoutColumns[id - 6000];
    fieldRows = kLayoutRows[id - 6000];
    StartFieldGame();
    return;
  }
  if (id >= 8200 && id <= 8203) {
    ChooseExplosion(id);
    return;
  }
  for (const TileSetFile& set : kTileSets) {
    if (set.id != id) continue;
    char path[300];
    snprintf(path, sizeof path, "%s%s", PictureDirectory, set.file);
    LoadTileSet(path);
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }
  if (id >= 7020 && id <= 7029) {
    // The list entry is copied: loading rewrites the list.
    char path[256];
    CopyText(path, sizeof path, RecentEntry(kBackgroundList, (int)id - 7020));
    if (!path[0] || !LoadFieldBackground(hwnd, path)) return;
    AnnounceBackground();
    if (!BackgroundIsTexture) {
      DeleteBitmapSlot(&TiledBackgroundBitmap);
      InvalidateRect(hwnd, nullptr, FALSE);
      return;
    }
    ChooseBackgroundTile(hwnd);
    return;
  }
  switch (id) {
    case 6100:
    case 104: StartFieldGame(); return;
    case 6103: case 6104: case 6106: case 6108: case 6110:
      chosenLevel = (int32_t)id - 6100;
      MessageBoxA(hwnd, kLevelNotice, "Notice:", MB_OK);
      return;
    case 6120:
    case 6121:
      proMode = id == 6121 ? 1 : 0;
      SetFieldMenuChecks();
      return;
    case 115: ChooseBackgroundTile(hwnd); return;
    case 119: SaveBackgroundPicture(hwnd); return;
    case 209:
      if (WriteFieldOptions())
        MessageBoxA(hwnd, kOptionsSavedText, "Options Saved:", MB_OK);
      else
        MessageBoxA(hwnd, "Your settings could not be saved in the file 'hfd.opt'.", "Sorry:", MB_OK);
      return;
    case 500: ShowBombInstructions(hwnd); return;
    case 502: MessageBoxA(hwnd, kAboutFieldText, "About Quillon's Hotfield:", MB_OK); return;
    case 505: MessageBoxA(hwnd, kTimeBonusText, "Time Bonuses:", MB_OK); return;
    case 506: ShowConfusionHelp(hwnd); return;
    default: return;
  }
}

// The statistics record and file, the slot of each picture, the record of a
// won game, the full-picture statistics dialog with its spoken result, and
// the two dialogs that name a statistics file.
#include "puzzle/statistics.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/shell_state.h"
#include "common/time_text.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/file_dialogs.h"
#include "sound/sounds.h"
#include "sound/speech.h"

StatsRecord Stats;

namespace {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 99;
constexpr size_t kNameLength = 12;  // a name entry holds 13 bytes with its terminator

constexpr int kViewButton = 3000;
constexpr int kNameField = 3000;
constexpr int kPictureWidth = 620;
constexpr int kPictureHeight = 440;
constexpr int kDialogHeight = 480;  // the picture and the row of buttons under it

constexpr int kLineCount = 14;
constexpr int kLineSize = 50;
constexpr int kNameLine = 6;

// Where each line goes on the statistics picture, beside its caption.  Lines
// 1 to 5 (all pictures) and 7 to 11 (this picture) share the value boxes.
const RECT kLineRects[kLineCount] = {
    {500, 178, 600, 200},  // 0 board size
    {500, 223, 600, 245},  // 1 games won
    {500, 268, 600, 290},  // 2 average moves
    {500, 313, 600, 335},  // 3 average time
    {500, 358, 600, 380},  // 4 best moves
    {500, 403, 600, 425},  // 5 best time
    {260, 135, 600, 157},  // 6 picture name
    {500, 223, 600, 245},  // 7 .. 11 as 1 .. 5, for the picture
    {500, 268, 600, 290},
    {500, 313, 600, 335},
    {500, 358, 600, 380},
    {500, 403, 600, 425},
    {500, 20, 600, 42},  // 12 time for this game
    {500, 65, 600, 87},  // 13 moves for this game
};

int g_viewFlag = 1;  // 1: this picture's statistics, 0: all pictures'
// Kept between dialogs: lines 12 and 13 stay as they were when there is no
// new game time to show.
char g_lines[kLineCount][kLineSize];

bool ValidSlot(int slot) { return slot >= kFirstSlot && slot <= kLastSlot; }

// Counters stop at their top instead of wrapping round to small numbers.
uint32_t AddCapped(uint32_t a, uint32_t b) { return a > UINT32_MAX - b ? UINT32_MAX : a + b; }

// The record is packed and several of its numbers lie off their natural
// alignment, so its fields are only ever read and written by value, never
// through a reference or a pointer to them.

// 0 means "no best yet", so a zero is never stored as a best.
uint32_t Best(uint32_t best, uint32_t value) { return value != 0 && (best == 0 || best > value) ? value : best; }

// A name entry read from a file may lack its terminator: only its first 12
// bytes count.
size_t NameLength(int slot) { return strnlen(Stats.pictureNames[slot], kNameLength); }

// A use stamp later than the win counter cannot be: it counts as the latest.
uint32_t UseStamp(int slot) {
  const uint32_t stamp = Stats.useStamps[slot], counter = Stats.winCounter;
  return stamp < counter ? stamp : counter;
}

uint32_t MovesOfGame() { return Board->moveCount > 0 ? (uint32_t)Board->moveCount : 0; }

// Element [row][column] of the table at byte `table` of the record.
uint32_t Cell(size_t table, int row, int column) {
  if (row < 0 || row >= kStatsRows || column < 0 || column >= kStatsColumns) return 0;
  uint32_t value;
  memcpy(&value, reinterpret_cast<const char*>(&Stats) + table + 4 * ((size_t)row * kStatsColumns + column), 4);
  return value;
}

uint32_t Average(uint32_t total, uint32_t count) { return count ? total / count : 0; }

void NumberLine(int line, uint32_t value) { snprintf(g_lines[line], kLineSize, "%u", value); }
void TimeLine(int line, uint32_t seconds) { FormatTimeText(g_lines[line], kLineSize, "", seconds); }

// The picture's name without the folders a short path left in it.
void NameLine(int slot) {
  char name[kNameLength + 1] = "";
  if (ValidSlot(slot)) memcpy(name, Stats.pictureNames[slot], NameLength(slot));
  const char* shown = name;
  for (int i = 0; i < 10 && name[i]; ++i)
    if (name[i] == '\\' || name[i] == '/') shown = name + i + 1;
  // The tail of a path may begin inside a character of several bytes.
  while ((*shown & 0xC0) == 0x80) ++shown;
  CopyText(g_lines[kNameLine], kLineSize, shown);
}

// Lines `first` to first + 4: games won, average moves, average time, best
// moves and best time of one column.
void ColumnLines(int first, int row, int column) {
  const uint32_t won = Cell(offsetof(StatsRecord, gamesWon), row, column);
  NumberLine(first, won);
  NumberLine(first + 1, Average(Cell(offsetof(StatsRecord, totalMoves), row, column), won));
  TimeLine(first + 2, Average(Cell(offsetof(StatsRecord, totalSeconds), row, column), won));
  NumberLine(first + 3, Cell(offsetof(StatsRecord, bestMoves), row, column));
  TimeLine(first + 4, Cell(offsetof(StatsRecord, bestSeconds), row, column));
}

void FillLines(int row, int slot) {
  snprintf(g_lines[0], kLineSize, "%d x %d", Board->lastGameSize, Board->lastGameSize);
  ColumnLines(1, row, 0);
  NameLine(slot);
  ColumnLines(7, row, ValidSlot(slot) ? slot : -1);
  if (Board->elapsedSeconds != 0) {
    TimeLine(12, Board->elapsedSeconds);
    NumberLine(13, MovesOfGame());
  }
}

void SayCount(uint32_t value) { SayNumber((int32_t)std::min<uint32_t>(value, INT32_MAX)); }

// "The game took N moves", and how that compares with the best before it.
void SpeakResult(uint32_t previousBest) {
  if (!soundFlag) return;
  const uint32_t moves = MovesOfGame();
  PlaySoundSync(Sounds.gameTook);
  SayCount(moves);
  if (moves < previousBest) {
    PlaySoundSync(Sounds.newRecord);
  } else if (previousBest != 0) {
    PlaySoundSync(Sounds.movesRecord);
    SayCount(previousBest);
  } else {
    PlaySoundSync(Sounds.moves);
  }
}

void InitStatsDialog(HWND dialog) {
  g_viewFlag = 1;
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int dw = desktop.right - desktop.left, dh = desktop.bottom - desktop.top;
  // The buttons sit under the picture where the template puts them.
  SizeWindowClient(dialog, (dw - kPictureWidth) / 2, (dh - kDialogHeight) / 2, kPictureWidth, kDialogHeight,
                   FALSE);
  ShowWindow(dialog, SW_SHOW);

  const int row = SizeRow(Board->lastGameSize);
  const int slot = Board->statsSlot;
  // Only a real board size and picture slot have counters; the dialog can
  // also be opened for neither, and then shows zeros.
  const bool counted = row >= 0 && ValidSlot(slot);
  const uint32_t previousBest = counted ? Stats.bestMoves[row][slot] : 0;
  if (counted) {
    for (int column : {0, slot}) {
      Stats.bestMoves[row][column] = Best(Stats.bestMoves[row][column], MovesOfGame());
      Stats.bestSeconds[row][column] = Best(Stats.bestSeconds[row][column], Board->elapsedSeconds);
    }
  }
  FillLines(row, slot);
  // The player reads the results while they are spoken.
  InvalidateRect(dialog, nullptr, FALSE);
  UpdateWindow(dialog);
  SpeakResult(previousBest);
}

}  // namespace

HBITMAP StatsPictureBitmap(HWND window) {
  if (StatsBitmap == nullptr) {
    char path[300];
    snprintf(path, sizeof path, "%sswpstats.tif", PictureDirectory);
    StatsBitmap = PictureFileBitmap(path, window);
  }
  return StatsBitmap;
}

namespace {

void PaintStatsDialog(HWND dialog) {
  HBITMAP picture = StatsPictureBitmap(dialog);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  BlitBitmap(dc, picture, 0, 0, kPictureWidth, kPictureHeight, 0, 0, kPictureWidth, kPictureHeight);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(128, 0, 0));
  SetBkMode(dc, OPAQUE);
  for (int i = 0; i < kLineCount; ++i) {
    const bool general = i >= 1 && i <= 5, picture = i >= 7 && i <= 11;
    if ((general && g_viewFlag == 1) || (picture && g_viewFlag == 0)) continue;
    const char* text = (i == kNameLine && g_viewFlag == 0) ? "All Images" : g_lines[i];
    // Each value sits in the middle of its box, as far from its top as from
    // its bottom.
    RECT r = kLineRects[i], need = r;
    const int height = DrawTextA(dc, text, -1, &need, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    if (height > 0 && height < r.bottom - r.top) r.top += (r.bottom - r.top - height) / 2;
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_WORDBREAK);
  }
  EndPaint(dialog, &ps);
}

INT_PTR CALLBACK StatsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitStatsDialog(dialog);
      return TRUE;
    case WM_PAINT:
      PaintStatsDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kViewButton) {
        g_viewFlag = 1 - g_viewFlag;
        SetDlgItemTextA(dialog, kViewButton,
                        g_viewFlag ? "&Show General Statistics" : "&Show Image-Specific Statistics");
        InvalidateRect(dialog, nullptr, FALSE);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void CentreOnDesktop(HWND dialog) {
  RECT desktop{}, own{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(dialog, &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  MoveWindow(dialog, (desktop.right - desktop.left - w) / 2, (desktop.bottom - desktop.top - h) / 2, w, h, FALSE);
}

// The name typed becomes <program folder><name>.sw3, or the dialog says why
// not and stays open.
void TakeName(HWND dialog) {
  // Room for more than is allowed, so that a long name is refused rather
  // than cut short without a word.
  char name[64];
  GetDlgItemTextA(dialog, kNameField, name, sizeof name);
  const size_t length = strlen(name);
  if (length < 3 || length > 8) {
    MessageBoxA(dialog, "The name must be at least 3 letters, and no more than 8 letters.", "Not Yet:", MB_OK);
    return;
  }
  // The file lives in the program folder; a name must not lead out of it.
  if (strpbrk(name, "/\\")) {
    MessageBoxA(dialog, "The name may not contain a slash or a backslash.", "Not Yet:", MB_OK);
    return;
  }
  char path[sizeof StatsFilePath];
  const int written = snprintf(path, sizeof path, "%s%s.sw3", ProgramDirectory, name);
  if (written < 0 || (size_t)written >= sizeof path) {
    MessageBoxA(dialog, "The folder of the game has too long a path for a statistics file.", "Sorry:", MB_OK);
    return;
  }
  CopyText(StatsFilePath, sizeof StatsFilePath, path);
  EndDialog(dialog, 0);
}

// The plain face of a dialog, under its text and controls.
void PaintDialogFace(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  RECT client{};
  GetClientRect(dialog, &client);
  FillRectColor(dc, client.left, client.top, client.right, client.bottom, RGB(239, 239, 239));
  EndPaint(dialog, &ps);
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CentreOnDesktop(dialog);
      return TRUE;
    case WM_PAINT:
      PaintDialogFace(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        TakeName(dialog);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, -1);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, -1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int FindStatsSlot() {
  const char* path = PuzzlePicturePath;
  const size_t length = strnlen(path, sizeof PuzzlePicturePath);
  // A picture is known by the tail of its path: the whole path, or its last
  // 12 characters when it is longer.
  for (int k = kFirstSlot; k <= kLastSlot; ++k) {
    const size_t n = NameLength(k);
    if (n > 0 && n <= length && memcmp(path + length - n, Stats.pictureNames[k], n) == 0) return k;
  }
  // A new picture takes the slot won with least recently, counters and all.
  int slot = kFirstSlot;
  for (int k = kFirstSlot + 1; k <= kLastSlot; ++k)
    if (UseStamp(k) < UseStamp(slot)) slot = k;
  const size_t keep = std::min(length, kNameLength);
  memset(Stats.pictureNames[slot], 0, sizeof Stats.pictureNames[slot]);
  memcpy(Stats.pictureNames[slot], path + length - keep, keep);
  return slot;
}

void RecordWin() {
  const int row = SizeRow(Board->lastGameSize);
  const int slot = Board->statsSlot;
  if (row < 0 || !ValidSlot(slot)) return;
  Stats.winCounter = AddCapped(Stats.winCounter, 1);
  Stats.useStamps[slot] = Stats.winCounter;
  for (int column : {slot, 0}) {
    Stats.gamesWon[row][column] = AddCapped(Stats.gamesWon[row][column], 1);
    Stats.totalMoves[row][column] = AddCapped(Stats.totalMoves[row][column], MovesOfGame());
    Stats.totalSeconds[row][column] = AddCapped(Stats.totalSeconds[row][column], Board->elapsedSeconds);
    Stats.bestSeconds[row][column] = Best(Stats.bestSeconds[row][column], Board->elapsedSeconds);
  }
}

void ShowStatsDialog(HWND owner) { DialogBoxParamA(AppInstance, "StatsDialog", owner, StatsDialogProc, 0); }

int AskName(HWND owner) {
  return DialogBoxParamA(AppInstance, "GetNameDialog", owner, NameDialogProc, 0) == 0 ? 0 : -1;
}

int AskOpenFileName(char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner) {
  return AskFileName(false, out, outSize, filter, initialDir, owner);
}

const char* StatsDialogLine(int line) { return line >= 0 && line < kLineCount ? g_lines[line] : ""; }

int StatsDialogView() { return g_viewFlag; }

void RewriteStatsItem(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  if (!menu) return;
  ModifyMenuA(menu, 103, MF_BYCOMMAND | MF_STRING, 103,
              Board->statsOn ? "&Stats Toggle (Stats are On)" : "&Stats Toggle (Stats are Off)");
}

void RefreshStatsMenuItem() {
  RewriteStatsItem(MenuStrip);
  RewriteStatsItem(MainWindow);
}

static bool InTable(int boardSize, int slot, int* row) {
  *row = SizeRow(boardSize);
  return *row >= 0 && slot >= 0 && slot < kStatsColumns;
}

uint32_t StatsBestMoves(int boardSize, int slot) {
  int row;
  return InTable(boardSize, slot, &row) ? Stats.bestMoves[row][slot] : 0;
}

uint32_t StatsGamesWon(int boardSize, int slot) {
  int row;
  return InTable(boardSize, slot, &row) ? Stats.gamesWon[row][slot] : 0;
}

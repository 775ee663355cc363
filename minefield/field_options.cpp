// The mine field's options file "hfd.opt" and its help: the detector
// picture dialog and the help message boxes.
#include <cstring>

#include <cstdio>

#include "common/paths.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"

// hfd.opt: sound flag, background path, tile-set path, then this record.
constexpr size_t kRecordSize = 1030;
constexpr size_t kLevelAt = 6, kColumnsAt = 10, kRowsAt = 14, kWindowModeAt = 18, kNoteAt = 22, kClockAt = 26,
                 kProModeAt = 30;
static uint8_t FieldOptionsRecord[kRecordSize];

static int32_t RecordWord(size_t at) {
  int32_t v;
  memcpy(&v, FieldOptionsRecord + at, 4);
  return v;
}

static void PutRecordWord(size_t at, int32_t v) { memcpy(FieldOptionsRecord + at, &v, 4); }

static bool IsFlag(int32_t v) { return v == 0 || v == 1; }

static bool IsLayout(int32_t columns, int32_t rows) {
  return columns >= 2 && columns <= kFieldMaxColumns && rows >= 2 && rows <= kFieldMaxRows;
}

void FieldOptionsBackgroundPath(char* out, size_t size) {
  if (size == 0) return;
  out[0] = 0;
  HFILE file = _lopen(ProgramDirectoryPath("hfd.opt"), OF_READ);
  if (file == HFILE_ERROR) return;
  char path[sizeof BackgroundPath] = {0};
  uint32_t sound;
  if (_lread(file, &sound, 4) == 4) _lread(file, path, sizeof path);
  _lclose(file);
  path[sizeof path - 1] = 0;
  if (strlen(path) < size) memcpy(out, path, strlen(path) + 1);
  if (!out[0]) DefaultBackgroundPath(out, size);
}

void ReadFieldOptions() {
  memset(FieldOptionsRecord, 0, sizeof FieldOptionsRecord);
  menuNoteFlag = 0;
  HFILE file = _lopen(ProgramDirectoryPath("hfd.opt"), OF_READ);
  if (file == HFILE_ERROR) {
    BackgroundPath[0] = 0;
    PuzzlePicturePath[0] = 0;
  } else {
    uint32_t sound = soundFlag;
    if (_lread(file, &sound, 4) == 4 && IsFlag((int32_t)sound)) soundFlag = sound;
    _lread(file, BackgroundPath, sizeof BackgroundPath);
    _lread(file, PuzzlePicturePath, sizeof PuzzlePicturePath);
    _lread(file, FieldOptionsRecord, sizeof FieldOptionsRecord);
    _lclose(file);
    BackgroundPath[sizeof BackgroundPath - 1] = 0;
    PuzzlePicturePath[sizeof PuzzlePicturePath - 1] = 0;
    proMode = RecordWord(kProModeAt) == 1 ? 1 : 0;
    menuNoteFlag = RecordWord(kNoteAt) == 1 ? 1 : 0;
    if (memcmp(FieldOptionsRecord, "valid", 6) == 0) {
      // Values no menu can choose are not taken: the built-in ones stay.
      if (IsFlag(RecordWord(kClockAt))) clockFlag = (DWORD)RecordWord(kClockAt);
      const int32_t level = RecordWord(kLevelAt);
      if (level >= 2 && level <= 100) chosenLevel = level;
      if (IsLayout(RecordWord(kColumnsAt), RecordWord(kRowsAt))) {
        fieldColumns = RecordWord(kColumnsAt);
        fieldRows = RecordWord(kRowsAt);
      }
      if (RecordWord(kWindowModeAt) == 1 && MainWindow) {
        ShowWindow(MenuStrip, SW_HIDE);
        SendMessageA(MainWindow, WM_COMMAND, 2100, 0);
      }
    }
  }
  // The stored set, or the default one (in the picture folder) when none is
  // stored or the stored one cannot be read: the field never starts without
  // its pieces.
  if (!PuzzlePicturePath[0] || !LoadTileSet(PuzzlePicturePath)) {
    char path[300];
    snprintf(path, sizeof path, "%srosewood.hfd", PictureDirectory);
    LoadTileSet(path);
  }
}

bool WriteFieldOptions() {
  OFSTRUCT info;
  HFILE file = OpenFile(ProgramDirectoryPath("hfd.opt"), &info, OF_CREATE | OF_WRITE);
  if (file == HFILE_ERROR) return false;
  BackgroundPath[sizeof BackgroundPath - 1] = 0;
  PuzzlePicturePath[sizeof PuzzlePicturePath - 1] = 0;
  uint32_t sound = soundFlag;
  bool ok = _lwrite(file, reinterpret_cast<LPCSTR>(&sound), 4) == 4;
  ok = _lwrite(file, BackgroundPath, sizeof BackgroundPath) == sizeof BackgroundPath && ok;
  ok = _lwrite(file, PuzzlePicturePath, sizeof PuzzlePicturePath) == sizeof PuzzlePicturePath && ok;
  memcpy(FieldOptionsRecord, "valid", 6);
  PutRecordWord(kClockAt, (int32_t)clockFlag);
  PutRecordWord(kNoteAt, (int32_t)menuNoteFlag);
  PutRecordWord(kLevelAt, chosenLevel);
  PutRecordWord(kColumnsAt, fieldColumns);
  PutRecordWord(kRowsAt, fieldRows);
  PutRecordWord(kProModeAt, proMode);
  RECT client{}, desktop{};
  if (MainWindow) GetClientRect(MainWindow, &client);
  GetWindowRect(GetDesktopWindow(), &desktop);
  PutRecordWord(kWindowModeAt, client.right == desktop.right && client.bottom == desktop.bottom ? 0 : 1);
  ok = _lwrite(file, reinterpret_cast<LPCSTR>(FieldOptionsRecord), sizeof FieldOptionsRecord) ==
           sizeof FieldOptionsRecord && ok;
  // The file replaces the old one only when it was closed complete.
  if (_lclose(file) != 0) ok = false;
  return ok;
}

// ------------------------------------------------------------------ help

static const char kHowToPlayTitle[] = "How to Play with Hotfield:";
static const char kHowToPlayText[] =
    "Objective: Try to clear the hotfield field while exploding as few bombs as possible.\r\n\r\nHow to Play: "
    "Click on any square on the screen, and hope it is not a bomb. The square will indicate how many bombs are in "
    "squares next to the one you clicked. There are up to 8 adjacent squares, and so there are 8 images that "
    "represent the number of adjacent bombs, sometimes by number, and sometimes by color. Different people prefer "
    "different image sets, so choose the ones you like.";
static const char kHowToWinTitle[] = "How to Win Hotfield:";
static const char kHowToWinText[] =
    "This is a true mental challenge! Using your brain like never before, you will discover ways to figure out "
    "where there is a bomb, and where there can't be one. For example, if a square indicates only 1 bomb is "
    "nearby, and only one space could be a bomb, mark it as a bomb!\r\n\r\nMarking Bombs: You can mark squares as "
    "bombs by clicking the right mouse button. But be careful, if you mark one wrong, you'll regret it later!";
static const char kClearingTitle[] = "Clearing the Field:";
static const char kClearingText[] =
    "When you click on a space that has zero bombs next to it, it automatically clicks all of the spaces next to "
    "it for you. If one of them is also zero, it clicks those too. This is why you will see it rifle across the "
    "screen opening up whole sections.";
static const char kConfusionText[] =
    "CLEAR THE AREA: If you seem to be exploding to many bombs, perhaps you need a little help. When you click on "
    "a space that has no bombs next to it, that square and all the ones next to it will open up.\r\n\r\nLOOK FOR "
    "'ONES': At this point, you will probably see at least one square that has only ONE bomb next to it, and only "
    "ONE covered (hidden) square next to it.\r\n\r\nMARK THE BOMBS: Click the only possible bomb with the right "
    "button to mark it as a bomb.\r\n\r\n";
static const char kConfusion2Text[] =
    "USING SOME LOGIC: Now you may have a bomb next to a square marked 'ONE'. Since there can only be one bomb "
    "next to it, you can now click all the other squares around it, knowing they all must be free!\r\n\r\n"
    "BECOMING AN EXPERT: There are many more complex strategies in this game, but you'll have to crank up a few "
    "neurons and find them for yourself. Good luck!";

void ShowConfusionHelp(HWND owner) {
  MessageBoxA(owner, kConfusionText, "Ending the Confusion:", MB_OK);
  MessageBoxA(owner, kConfusion2Text, "Ending the Confusion 2:", MB_OK);
}

static INT_PTR CALLBACK BombInstProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      SizeWindowClient(dialog, 150, 50, 360, 380, FALSE);
      MoveWindow(GetDlgItem(dialog, 1), 0, 320, 160, 60, FALSE);
      MoveWindow(GetDlgItem(dialog, 3000), 160, 320, 200, 60, FALSE);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      if (BombInstBitmap) BlitBitmap(dc, BombInstBitmap, 0, 0, 360, 320, 0, 0, 360, 320);
      if (TileSetBitmap)
        for (int t = 0; t < 8; ++t) BlitBitmap(dc, TileSetBitmap, 12, 40 * t, 40, 40, 96 * t, 0, 96, 96);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == 3000) {
        MessageBoxA(dialog, kHowToPlayText, kHowToPlayTitle, MB_OK);
        MessageBoxA(dialog, kHowToWinText, kHowToWinTitle, MB_OK);
        MessageBoxA(dialog, kClearingText, kClearingTitle, MB_OK);
        EndDialog(dialog, 0);
      } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
      }
      return TRUE;
    case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
  }
}

void ShowBombInstructions(HWND owner) { DialogBoxParamA(AppInstance, "BombInstDialog", owner, BombInstProc, 0); }

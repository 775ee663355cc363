// Start-up, the message loop and shutdown.
#include "shell/winmain.h"

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/random.h"
#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "common/variant.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/user_pictures.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/board_hooks.h"
#include "puzzle/statistics.h"
#include "resources/templates.h"
#include "shell/clock.h"
#include "shell/dispatch.h"
#include "shell/keyboard_cursor.h"
#include "shell/options.h"
#include "shell/window_proc.h"
#include "sound/sounds.h"
#include "sound/speech.h"

const char kProductName[] =
#if GAME_VARIANT == 0
    "Quillon's Swapster, Version 4.1!";
#else
    "Quillon's Hotfield, Version 1.1!";
#endif

const char kFirstRunNote[] =
    "The menu only appears when you point to the upper left hand corner of the screen. This allows the "
    "nicest screen view during the game.\r\n\r\nClick cancel to rid yourself of this message for good!";

static const char* ListFileName() { return kGameVariant == 0 ? "swpflist" : "hfdflist"; }

// The desktop asks the game to end: close as the close-without-question
// command does, or, when that cannot run right now, keep the recent lists.
static void CloseOnRequest() {
  if (MainWindow) SendMessageA(MainWindow, WM_COMMAND, 112, 0);
}
static void SaveOnRequest() { WriteLists(ListFileName()); }

// The directories: the program's own files live in the current directory,
// the built-in pictures where the command line says.
void SetUpDirectories(const char* commandLine) {
  char cwd[120];
  if (_getcwd(cwd, sizeof cwd) && strlen(cwd) + 2 <= sizeof ProgramDirectory) {
    CopyText(ProgramDirectory, sizeof ProgramDirectory, cwd);
    if (ProgramDirectory[0] && ProgramDirectory[strlen(ProgramDirectory) - 1] != '/')
      strcat(ProgramDirectory, "/");
  } else {
    // A directory too long to hold is named relatively: it is the current one.
    CopyText(ProgramDirectory, sizeof ProgramDirectory, "./");
  }
  const char* cmd = commandLine ? commandLine : "";
  size_t n = strlen(cmd);
  if (n > 0 && n + 2 <= sizeof PictureDirectory) {
    CopyText(PictureDirectory, sizeof PictureDirectory, cmd);
    char last = PictureDirectory[n - 1];
    if (last != '/' && last != '\\') strcat(PictureDirectory, "/");
  } else {
    // No directory given, or one too long to use: the pictures beside the
    // program serve.
    CopyText(PictureDirectory, sizeof PictureDirectory, ProgramDirectory);
  }
  CopyText(SavedGameDirectory, sizeof SavedGameDirectory, ProgramDirectory);
  ProgramPath(StatsFilePath, sizeof StatsFilePath, "default.sw3");
}

// The built-in puzzle picture, used when the options name none.
static void DefaultPuzzlePicturePath(char* out, size_t size) {
  // A picture folder too long for the path is not cut into another name.
  const char* folder = strlen(PictureDirectory) + 13 <= size ? PictureDirectory : ProgramDirectory;
  snprintf(out, size, "%.*scathedra.bkg", (int)(size - 13), folder);
}

// The pictures start-up decodes (the clock, the title and card back, and the
// puzzle picture or the mine field's background) are decoded on the second
// processor while the desktop connection is made and the window comes up;
// InitMainWindow's loading calls take them.
static void PrefetchStartupPicture() {
  char picture[sizeof PuzzlePicturePath];
  if (kGameVariant == 0) {
    OptionsPicturePath(picture, sizeof picture);
    if (!picture[0]) DefaultPuzzlePicturePath(picture, sizeof picture);
  } else {
    FieldOptionsBackgroundPath(picture, sizeof picture);
  }
  // The embedded pictures InitMainWindow loads come first, in its order.
  if (kGameVariant == 0)
    PrefetchStartupPictures(picture, "clock", {".egg", ".cardback"});
  else
    PrefetchStartupPictures(picture, "hfdclock", {".egg2", ".BombInst"});
}

// Before the desktop connection is made: the start-up pictures begin
// decoding at once, with the directories the command line gives.
static bool prefetchStarted = false;
void PreStartUp(const char* commandLine) {
  RegisterGameResources();
  SetUpDirectories(commandLine);
  PrefetchStartupPicture();
  prefetchStarted = true;
}

const char* DesktopEntryName() {
  return kGameVariant == 0 ? "io.github.swapster.Swapster" : "io.github.swapster.Hotfield";
}

int StartUp(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  // The boards reach the keyboard frame and the clock through these.
  SetBoardHooks({ForgetBoardCursor, HideBoardCursor, IsCursorCell, DrawCursorFrame, DrawClock});
  RegisterGameResources();
  PuzzlePicture.flags &= ~PICTURE_HAS_DATA;
  AppInstance = instance;
  SetUpDirectories(commandLine);
  if (!previous && !prefetchStarted) PrefetchStartupPicture();
  RemoveStaleTempFiles(ProgramDirectory);
  MeasureScreenDepth();
  SetBoardDefaults();
  if (kGameVariant == 0)
    ReadStatsFile();
  else
    ReadFieldScores();
  CopyText(MenuName, sizeof MenuName, kGameVariant == 0 ? "MainMenu" : "HfdMenu");
  if (previous) return 0;

  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "swicon");
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kProductName;
  RegisterClassA(&wc);

  ReadLists(ListFileName());
  // From here on an ending run keeps the lists it read.
  SetEndRequestHandlers(CloseOnRequest, SaveOnRequest);

  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  Board->boardWidth = desktop.right - desktop.left;
  Board->boardHeight = desktop.bottom - desktop.top;

  MainWindow = CreateWindowExA(0, kProductName, kProductName, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                               Board->boardWidth, Board->boardHeight, nullptr, nullptr, instance, nullptr);
  if (!MainWindow) return 1;
  ShowWindow(MainWindow, showCommand);
  UpdateWindow(MainWindow);
  InitMainWindow(MainWindow);

  MenuStrip = CreateDialogParamA(instance, "MenuDialog", nullptr, StripDialogProc, 0);
  HMENU stripMenu = LoadMenuA(instance, MenuName);
  SetMenu(MenuStrip, stripMenu);
  if (stripMode == 1) ShowWindow(MenuStrip, SW_SHOW);

  if (kGameVariant == 0) {
    RewriteList(MenuStrip, kUserPictureList);
    RewriteList(MainWindow, kUserPictureList);
    RewriteList(MenuStrip, kStatsFileList);
    RewriteList(MainWindow, kStatsFileList);
    SetStatsItemText(StatsFilePath, 111, MainWindow, MenuStrip);
  } else {
    RewriteList(MenuStrip, kBackgroundList);
    RewriteList(MainWindow, kBackgroundList);
    SetFieldMenuChecks();
  }

  SendMessageA(MainWindow, WM_PAINT, 0, 0);
  // The puzzle picture's second copy, and what the decoders used, go once
  // the title is on the screen.
  if (kGameVariant == 0) ParkPuzzlePicture();
  ReturnFreedMemory();
  PlayResourceToEnd("deepexpl");

  // What the game was started with says the player's results cannot be kept.
  if (const char* note = StartUpNote()) MessageBoxA(MainWindow, note, "Sorry:", MB_OK);
  if (menuNoteFlag != 1) {
    if (MessageBoxA(MainWindow, kFirstRunNote, "Critical Note:", MB_OKCANCEL) == IDCANCEL) {
      menuNoteFlag = 1;
      if (kGameVariant == 0)
        WriteOptions();
      else
        WriteFieldOptions();
    }
  }
  RefreshStatsMenuItem();
  SetFocus(MenuStrip);
  return -1;
}

void InitMainWindow(HWND hwnd) {
  PuzzlePicturePath[0] = 0;
  BackgroundPath[0] = 0;
  if (kGameVariant == 0)
    ReadOptions();
  else
    ReadFieldOptions();
  if (kGameVariant == 0) {
    if (!PuzzlePicturePath[0]) DefaultPuzzlePicturePath(PuzzlePicturePath, sizeof PuzzlePicturePath);
  }
  // The statistics picture and the number words are loaded when first
  // needed (the dialog, the first spoken number), not before the title.
  if (kGameVariant != 0) LoadStartupBackground();

  // Each game has a clock face of its own.
  ClockBitmap = ResourcePictureBitmap(kGameVariant == 0 ? "clock" : "hfdclock", hwnd);
  ClockMask = ClockBitmap ? MakeMaskBitmap(ClockBitmap, 96, 96) : nullptr;

  if (kGameVariant == 0) {
    EggBitmap = LoadPictureBitmap(".egg", nullptr, nullptr, hwnd);
    CardBackBitmap = LoadPictureBitmap(".cardback", &CardBackWidth, &CardBackHeight, hwnd);
    if (DecodePictureFile(PuzzlePicturePath, &PuzzlePicture)) RemakePuzzleBitmap(hwnd, false);
  } else {
    EggBitmap = LoadPictureBitmap(".egg2", nullptr, nullptr, hwnd);
    BombInstBitmap = LoadPictureBitmap(".BombInst", nullptr, nullptr, hwnd);
  }

  SeedRandom(GetTickCount());
  if (kGameVariant == 0)
    ResetBoard();
  else
    StartFieldGame();
  Board->statsOn = 1;
  Board->gameInProgress = 0;
  titleScreenFlag = 1;
  SetTimer(hwnd, 104, 1000, nullptr);
  // A prefetch start-up did not use is not kept for a later, changed file.
  DropPrefetchedFile();
  readyFlag = 1;
}

void ShutDown(HWND hwnd) {
  WriteLists(ListFileName());
  FreeNumberWords();
  if (kGameVariant != 0) FreeFieldPictures();
  mainWindowGone = 1;
  if (!stripGone && MenuStrip) SendMessageA(MenuStrip, WM_CLOSE, 0, 0);
  KillTimer(hwnd, 104);
  DeleteBitmapSlot(&TiledBackgroundBitmap);
  DeleteBitmapSlot(&PuzzleBitmap);
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  DeleteBitmapSlot(&BombInstBitmap);
  DeleteBitmapSlot(&EggBitmap);
  DeleteBitmapSlot(&ClockBitmap);
  DeleteBitmapSlot(&ClockMask);
  DeleteBitmapSlot(&CardBackBitmap);
  DeleteBitmapSlot(&BackgroundBitmap);
  DeleteBitmapSlot(&StatsBitmap);
  FreeGameSounds();
  PostQuitMessage(0);
}

int PumpOneMessage() {
  MSG msg;
  if (!GetMessageA(&msg, nullptr, 0, 0)) {
    quitFlag = 1;
    return (int)msg.wParam;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  int early = StartUp(instance, previous, commandLine, showCommand);
  if (early >= 0) return early;
  int code = 0;
  while (!quitFlag) code = PumpOneMessage();
  return code;
}

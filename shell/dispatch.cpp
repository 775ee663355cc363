// The command dispatcher and its guards.
#include "shell/dispatch.h"

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "common/variant.h"
#include "generators/generators.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/save_picture.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/user_pictures.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/play.h"
#include "puzzle/saved_games.h"
#include "puzzle/statistics.h"
#include "shell/options.h"
#include "shell/window_proc.h"
#include "sound/sounds.h"

const char kHowToPlayText[] =
    "Objective: Reassemble the image by swapping any two pieces. When you get a piece into the right place it "
    "will flip over and remain visible.\r\n\r\nAdvice: Once you get a few pieces in the right place, the puzzle "
    "will start to come together. If you play the same image over and over, you'll find that you can become an "
    "expert at a particular image.";

const char kAboutText[] =
    "Quillon's Swapster, Version 4.1\r\n\r\nThe picture swap puzzle: swap any two pieces until the picture is "
    "whole again.";

static const char kGeneratorDepthRefusal[] =
    "The landscape generators are intended for machines that are set for higher than 256 colors. Your machine "
    "is set for 256 or less colors. You may wish to change your video driver and try making a landscape later.";

static const char kCaptureSuggestion[] =
    "If you are capturing this screen for use in advertising or a news article, you may want to set your "
    "Windows driver to a higher number of colors. This game looks much nicer in 65,536 colors (16 bit) or 16 "
    "million colors (24 or 32 bit).";

bool EndGameGuard(HWND hwnd) {
  if (Board->gameInProgress == 1 && Board->statsOn == 1) {
    if (MessageBoxA(hwnd, "Would you like to end the current game?", "Game in Progress:", MB_YESNO) == IDNO)
      return false;
  }
  EndGame();
  titleScreenFlag = 1;
  InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

void ShowTitleScreen(HWND hwnd) {
  titleScreenFlag = 1;
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

bool PictureChangeGuard(HWND hwnd) {
  if (Board->gameInProgress == 1) {
    if (MessageBoxA(hwnd,
                    "Changing the image will end the game in progress. Are you sure you want to end it?",
                    "Game in Progress:", MB_YESNO) == IDNO)
      return false;
    EndGame();
  }
  ShowTitleScreen(hwnd);
  return true;
}

void RefreshRewrittenItems(HWND hwnd) {
  if (kGameVariant == 0) {
    RewriteStatsItem(hwnd);
    RewriteList(hwnd, kUserPictureList);
    RewriteList(hwnd, kStatsFileList);
    SetStatsItemText(StatsFilePath, 111, MainWindow, MenuStrip);
  } else {
    RewriteList(hwnd, kBackgroundList);
  }
}

static const char kSaveGameNote[] =
    "Games that are loaded do not affect the statistics I keep. This game will, however, affect the statistics "
    "when you are finished, even if it has been saved.\r\n\r\nDo you still want to save the game?";

static const char kOptionsSaved[] =
    "Your current settings have been saved in the file 'swapster.opt'. You may delete this file if you want to "
    "return to the original settings.";

static const char kStatsTurnedOff[] =
    "The stats are being turned off. I only keep stats when you are playing with an image that is saved, so you "
    "can play it many times.\r\n\r\nYou may save this image, and then turn the stats back on again.";

static const char kNotStatistics[] =
    "That file holds a saved game, not statistics. The statistics file in use stays as it was.";

// The built-in pictures of the Image menu, by command.
struct BuiltInPicture {
  UINT id;
  const char* file;
};
static const BuiltInPicture kBuiltInPictures[] = {
    {8000, "cathedra.bkg"}, {8001, "gameroom.bkg"}, {8002, "ult_deck.bkg"}, {8003, "orbquest.bkg"},
    {8004, "fire_eng.bkg"}, {8005, "bluebird.bkg"}, {8006, "giantcat.bkg"}, {8007, "stained.bkg"},
};

// The statistics file path changed: it heads the recent list in both menus
// and names the Open item.
static void AnnounceStatsFile() {
  PutAtHead(MenuStrip, StatsFilePath, kStatsFileList);
  RewriteList(MainWindow, kStatsFileList);
  SetStatsItemText(StatsFilePath, 111, MainWindow, MenuStrip);
}

static void StatsCommand(HWND hwnd, UINT id) {
  if (!EndGameGuard(hwnd)) return;
  Board->statsOn = 1;
  RefreshStatsMenuItem();
  if (id == 110) {
    if (AskName(hwnd) != 0) return;
    StartStatsFile();
  } else if (id == 111) {
    WriteStatsFile();
    // A path that does not fit the statistics path is refused, not cut.
    char chosen[sizeof StatsFilePath];
    if (AskOpenFileName(chosen, sizeof chosen, "Stat Files (*.sw3)|*.sw3", ProgramDirectory, hwnd)) {
      if (IsSavedGameFile(chosen))
        MessageBoxA(hwnd, kNotStatistics, "Sorry:", MB_OK);
      else
        CopyText(StatsFilePath, sizeof StatsFilePath, chosen);
    }
    ReadStatsFile();
  } else {
    const char* entry = RecentEntry(kStatsFileList, (int)id - 7040);
    if (IsSavedGameFile(entry)) {
      MessageBoxA(hwnd, kNotStatistics, "Sorry:", MB_OK);
      return;
    }
    CopyText(StatsFilePath, sizeof StatsFilePath, entry);
    ReadStatsFile();
  }
  AnnounceStatsFile();
}

// Paints a new picture straight onto the board: the swap puzzle plays with
// it, the mine field shows it under its uncovered squares.  Any click, key or
// command meanwhile stops the generator early.
static void RunGenerator(HWND hwnd, UINT id) {
  if (!PictureChangeGuard(hwnd)) return;
  titleScreenFlag = 1;
  if (Board->statsOn) {
    MessageBoxA(hwnd, kStatsTurnedOff, "Notice:", MB_OK);
    SendMessageA(hwnd, WM_COMMAND, 103, 0);
  }
  generationInProgress = 1;
  generationCancelRequested = 0;
  ShowWindow(MenuStrip, SW_HIDE);
  HDC dc = GetDC(hwnd);
  const int w = Board->boardWidth, h = Board->boardHeight;
  PaintGeneratedPicture(dc, id, w, h);
  if (kGameVariant == 0) {
    RECT client;
    GetClientRect(hwnd, &client);
    if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
    CapturePicture(dc, &PuzzlePicture, &client);
    RemakePuzzleBitmap(hwnd);
  } else {
    UseGeneratedBackground(dc, w, h);
  }
  ReleaseDC(hwnd, dc);
  InvalidateRect(hwnd, nullptr, FALSE);
  generationInProgress = 0;
}

static void CaptureScreen(HWND hwnd) {
  ShowWindow(MenuStrip, SW_HIDE);
  InvalidateRect(hwnd, nullptr, FALSE);
  SendMessageA(hwnd, WM_PAINT, 0, 0);
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = GetDC(hwnd);
  PictureRecord capture;
  CapturePicture(dc, &capture, &client);
  ReleaseDC(hwnd, dc);
  SavePictureDialog(hwnd, &capture, nullptr);
  ReleaseRecord(&capture);
  if (colourDepth <= 8) MessageBoxA(hwnd, kCaptureSuggestion, "Important Suggestion:", MB_OK);
}

static void DispatchSwapCommand(HWND hwnd, UINT id) {
  switch (id) {
    case 104:
      if (Board->gameInProgress == 1 &&
          MessageBoxA(hwnd, "Are you sure you want to end this game?", "Are You Sure?", MB_YESNO) != IDYES)
        return;
      StartNewGame();
      return;
    case 5004: case 5006: case 5009: case 5012: case 5015: case 5020:
      if (!EndGameGuard(hwnd)) return;
      StartSizedGame((int)id - 5000, 1);
      return;
    case 5104: case 5106: case 5109: case 5115: case 5120:
      if (!EndGameGuard(hwnd)) return;
      StartSizedGame((int)id - 5100, 0);
      return;
    case 2101: SetFullScreenMode(hwnd); return;
    case 2100: SetNormalWindowMode(hwnd); return;
    case 2102: MinimiseGame(hwnd); return;
    case 121:
      clockFlag = !clockFlag;
      InvalidateRect(hwnd, nullptr, FALSE);
      return;
    case 212: ToggleSound(); return;
    case 106:
      EndGame();
      LoadGame();
      InvalidateRect(hwnd, nullptr, FALSE);
      return;
    case 107:
      if (Board->gameInProgress == 0) {
        MessageBoxA(hwnd, "No game is in play!", "Sorry", MB_OK);
        return;
      }
      if (Board->statsOn == 1 && MessageBoxA(hwnd, kSaveGameNote, "Important Note:", MB_YESNO) == IDNO) return;
      SaveGame();
      return;
    case 120: CaptureScreen(hwnd); return;
    case 209:
      if (SaveOptionsFile())
        MessageBoxA(hwnd, kOptionsSaved, "Options Saved:", MB_OK);
      else
        MessageBoxA(hwnd, "Your settings could not be saved in the file 'swapster.opt'.", "Sorry:", MB_OK);
      return;
    case 108: SendMessageA(hwnd, WM_CLOSE, 0, 0); return;
    case 112:
      closeWithoutQuestion = 1;
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return;
    case 103:
      if (!EndGameGuard(hwnd)) return;
      Board->statsOn = 1 - Board->statsOn;
      RefreshStatsMenuItem();
      return;
    case 110:
    case 111: StatsCommand(hwnd, id); return;
    case 1000: case 1001: case 1002:
      Board->lastGameSize = (int)id - 1000;
      ShowStatsDialog(hwnd);
      return;
    case 117:
    case 116:
      if (colourDepth <= 8) {
        MessageBoxA(hwnd, kGeneratorDepthRefusal, "I'm Sorry:", MB_OK);
        return;
      }
      RunGenerator(hwnd, id);
      return;
    case 118: RunGenerator(hwnd, id); return;
    case 119:
      TakeBackPuzzlePicture();
      SavePictureDialog(hwnd, &PuzzlePicture, BackgroundPath);
      ParkInBitmap(&PuzzlePicture, PuzzleBitmap);
      return;
    case 200:
      if (!PictureChangeGuard(hwnd)) return;
      OpenUserImage(hwnd);
      return;
    case 500: MessageBoxA(hwnd, kHowToPlayText, "How to Play Swapster:", MB_OK); return;
    case 502: MessageBoxA(hwnd, kAboutText, "About Quillon's Swapster:", MB_OK); return;
    default: break;
  }
  // A blank entry of a recent list names no file: choosing it does nothing.
  if (id >= 7040 && id <= 7049) {
    if (!RecentEntry(kStatsFileList, (int)id - 7040)[0]) return;
    StatsCommand(hwnd, id);
    return;
  }
  if (id >= 7000 && id <= 7009) {
    if (!RecentEntry(kUserPictureList, (int)id - 7000)[0]) return;
    if (!PictureChangeGuard(hwnd)) return;
    // The list entry is copied: loading rewrites the list.
    char path[256];
    CopyText(path, sizeof path, RecentEntry(kUserPictureList, (int)id - 7000));
    LoadUserImage(hwnd, path, 1);
    return;
  }
  for (const BuiltInPicture& p : kBuiltInPictures) {
    if (p.id != id) continue;
    if (!PictureChangeGuard(hwnd)) return;
    char path[300];
    snprintf(path, sizeof path, "%s%s", PictureDirectory, p.file);
    LoadUserImage(hwnd, path, 0);
    return;
  }
}

void DispatchCommand(HWND hwnd, UINT id) {
  if (kGameVariant == 0) {
    DispatchSwapCommand(hwnd, id);
    return;
  }
  // The mine-field build shares the screen, sound, clock and exit commands,
  // the generators and the statistics switch they use.
  switch (id) {
    case 2100: case 2101: case 2102: case 121: case 212: case 108: case 112:
    case 116: case 117: case 118: case 103:
      DispatchSwapCommand(hwnd, id);
      return;
    default: DispatchFieldCommand(hwnd, id); return;
  }
}

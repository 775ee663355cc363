// The command dispatcher and its guards.
#include "shell/dispatch.h"

#include "imaging/screen_bitmaps.h"
#include "puzzle/board.h"
#include "puzzle/play.h"
#include "puzzle/statistics.h"
#include "shell/options.h"
#include "shell/shell_state.h"
#include "shell/variant.h"
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

bool PictureChangeGuard(HWND hwnd) {
  if (Board->gameInProgress == 1) {
    if (MessageBoxA(hwnd,
                    "Changing the image will end the game in progress. Are you sure you want to end it?",
                    "Game in Progress:", MB_YESNO) == IDNO)
      return false;
    EndGame();
  }
  titleScreenFlag = 1;
  InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

static void RewriteStatsItem(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  if (!menu) return;
  ModifyMenuA(menu, 103, MF_BYCOMMAND | MF_STRING, 103,
              Board->statsOn ? "&Stats Toggle (Stats are On)" : "&Stats Toggle (Stats are Off)");
}

void RefreshStatsMenuItem() {
  RewriteStatsItem(MenuStrip);
  RewriteStatsItem(MainWindow);
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
      // The landscape generators are not in this build yet.
      return;
    case 118: return;  // the fractal generator is not in this build yet
    case 120:
      // Saving a capture is not in this build yet; the colour advice stands.
      if (colourDepth <= 8) MessageBoxA(hwnd, kCaptureSuggestion, "Important Suggestion:", MB_OK);
      return;
    case 500: MessageBoxA(hwnd, kHowToPlayText, "How to Play Swapster:", MB_OK); return;
    case 502: MessageBoxA(hwnd, kAboutText, "About Quillon's Swapster:", MB_OK); return;
    default:
      // Saved games (106, 107), options (209), statistics files (110, 111,
      // 7040-7049), pictures (8000-8007, 119, 200, 7000-7009) come with
      // their own parts of the game; until then they do nothing.
      return;
  }
}

void DispatchCommand(HWND hwnd, UINT id) {
  if (kGameVariant == 0) {
    DispatchSwapCommand(hwnd, id);
    return;
  }
  // The mine-field build shares the screen, sound, clock and exit commands.
  switch (id) {
    case 2100: case 2101: case 2102: case 121: case 212: case 108: case 112:
      DispatchSwapCommand(hwnd, id);
      return;
    case 502:
      MessageBoxA(hwnd, "Quillon's Hotfield, Version 1.1\r\n\r\nThe mine field game.", "About Quillon's Hotfield:",
                  MB_OK);
      return;
    default: return;
  }
}

// The main window procedure and the menu strip.
#include "shell/window_proc.h"

#include <cstdlib>

#include "common/random.h"
#include "common/shell_state.h"
#include "common/variant.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/user_pictures.h"
#include "minefield/field_hooks.h"
#include "puzzle/board.h"
#include "puzzle/drawing.h"
#include "puzzle/play.h"
#include "shell/clock.h"
#include "shell/dispatch.h"
#include "shell/keyboard_cursor.h"
#include "shell/pause.h"
#include "shell/winmain.h"
#include "sound/sounds.h"

// The build's board, drawn whole on `dc` (clipped as the caller chose).
static void DrawGameBoard(HDC dc) {
  if (kGameVariant == 0)
    DrawBoard(dc);
  else
    RedrawField(dc);
}

void ClickBoard(int x, int y) {
  if (kGameVariant == 0) {
    HandleBoardClick(x, y);
    return;
  }
  leftButtonFlag = 1;
  generationCancelRequested = 1;
  ClickSquare(x, y);
}

static const char kExitQuestion[] =
    "There is a game in progress. Are you sure that you would like to exit now without finishing your game?";

static void OnSize(HWND hwnd, WPARAM kind) {
  // A player who puts the game away is not playing.
  if (kind == SIZE_MINIMIZED) PauseGame(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  Board->boardWidth = client.right - client.left;
  Board->boardHeight = client.bottom - client.top;
  // A minimised window has no client area to scale the picture to.
  if (Board->boardWidth <= 0 || Board->boardHeight <= 0) return;
  RemakePuzzleBitmap(hwnd);
  if (kGameVariant != 0) ResizeFieldBackground();
}

static void OnClose(HWND hwnd) {
  if (!closeWithoutQuestion && kGameVariant == 0 && Board->gameInProgress == 1 && Board->statsOn) {
    if (MessageBoxA(hwnd, kExitQuestion, "Game in Progress:", MB_YESNO) == IDNO) return;
    EndGame();
  }
  if (soundFlag) PlayResourceToEnd("goodbye");
  DestroyWindow(hwnd);
}

static void OnTimer(HWND hwnd, WPARAM id) {
  // A paused game's clock face and title time stand still.
  if (Board->gameInProgress != 1 || GamePaused()) return;
  if (kGameVariant == 0) {
    if (clockFlag) DrawClock(hwnd, GetTickCount() - Board->startTicks);
  } else {
    if (id == 104 && Board->statsOn) ShowTitleBarTime(hwnd, (GetTickCount() - Board->startTicks) / 1000);
    // The clock flag shows or hides the face; the title keeps its time.
    if (clockFlag && !IsFieldGameOver()) DrawClock(hwnd, GetTickCount() - Board->startTicks);
  }
}

void RunClockAway(int x, int y, int width, int height) {
  clockX += (clockX + 48 > x) ? 10 : -10;
  clockY += (clockY + 48 > y) ? 10 : -10;
  auto tooNear = [&]() {
    return clockX < 20 || width - 20 < clockX + 96 || clockY < 20 || height - 20 < clockY + 96;
  };
  if (!tooNear()) return;
  if (width < 136 || height < 136) {
    // No place keeps 20 pixels from every edge: centre it instead.
    clockX = width > 96 ? (width - 96) / 2 : 0;
    clockY = height > 96 ? (height - 96) / 2 : 0;
    return;
  }
  do {
    clockX = (LONG)RandomBelow((uint32_t)(width - 96));
    clockY = (LONG)RandomBelow((uint32_t)(height - 96));
  } while (tooNear());
}

void OnMouseMove(HWND hwnd, int x, int y) {
  if (generationInProgress) return;
  RECT client;
  GetClientRect(hwnd, &client);
  const int w = client.right - client.left, h = client.bottom - client.top;
  if (Board->gameInProgress == 1 && clockFlag && !GamePaused() && std::abs(clockX + 48 - x) < 145 && std::abs(clockY + 48 - y) < 145) {
    const bool draw = kGameVariant == 0 || !IsFieldGameOver();
    if (draw) {
      HDC dc = GetDC(hwnd);
      HRGN region = CreateRectRgn(clockX, clockY, clockX + 96, clockY + 96);
      SelectClipRgn(dc, region);
      DrawGameBoard(dc);
      DeleteObject(region);
      ReleaseDC(hwnd, dc);
    }
    RunClockAway(x, y, w, h);
    if (draw) DrawClock(hwnd, GetTickCount() - Board->startTicks);
  }
  if (GetFocus() == hwnd && stripMode == 1 && stripReady == 1) {
    if (x == 0 && y == 0) {
      stripShown = 1;
      ShowWindow(MenuStrip, SW_SHOW);
    } else if (stripShown) {
      stripShown = 0;
      ShowWindow(MenuStrip, SW_HIDE);
    }
  }
  if (kGameVariant != 0) FieldAfterGameBrush(x, y);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: LoadGameSounds(); return 0;
    case WM_DESTROY: ShutDown(hwnd); return 0;
    case WM_SIZE: OnSize(hwnd, wParam); return 0;
    case WM_PAINT:
      if (GamePaused())
        PaintPausedScreen(hwnd);
      else
        PaintMainWindow(hwnd, DrawGameBoard);
      return 0;
    case WM_ACTIVATEAPP:
      // The keyboard went to another program, or to the screen lock.
      if (!wParam) PauseGame(hwnd);
      return 0;
    case WM_CLOSE: OnClose(hwnd); return 0;
    case WM_KEYDOWN: SendMessageA(MenuStrip, WM_KEYDOWN, wParam, lParam); return 0;
    case WM_COMMAND:
      generationCancelRequested = 1;
      if (Board->gameInProgress != 1) ShowTitleScreen(hwnd);
      DispatchCommand(hwnd, (UINT)wParam);
      EndPauseOfEndedGame(hwnd);
      return 0;
    case WM_TIMER: OnTimer(hwnd, wParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(hwnd, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_LBUTTONDOWN:
      // A click on a paused game only brings the board back.
      if (GamePaused()) {
        ResumeGame(hwnd);
        return 0;
      }
      leftButtonFlag = 1;
      generationCancelRequested = 1;
      HideBoardCursor();
      ClickBoard((short)LOWORD(lParam), (short)HIWORD(lParam));
      return 0;
    case WM_LBUTTONUP: leftButtonFlag = 0; return 0;
    case WM_RBUTTONDOWN:
      if (GamePaused())
        ResumeGame(hwnd);
      else if (kGameVariant != 0) ToggleMark((short)LOWORD(lParam), (short)HIWORD(lParam));
      return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void HandleStripKey(WPARAM key) {
  ShowWindow(MenuStrip, SW_HIDE);
  // Any key brings a paused game back, and does nothing else.
  if (GamePaused()) {
    ResumeGame(MainWindow);
    return;
  }
  switch (key) {
    case VK_F1: SendMessageA(MainWindow, WM_COMMAND, 500, 0); break;
    case 'N':
    case VK_DECIMAL:
      if (kGameVariant == 0)
        StartNewGame();
      else
        DispatchCommand(MainWindow, 6100);
      break;
    case 'X':
    case VK_F9: SendMessageA(MainWindow, WM_CLOSE, 0, 0); break;
    case 'P': PauseGame(MainWindow); break;
    case 'M':
    case VK_SUBTRACT:
      stripShown = 1;
      ShowWindow(MenuStrip, SW_SHOW);
      break;
    default: HandleCursorKey(key); break;
  }
}

INT_PTR CALLBACK StripDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg & 0xFFFF) {
    case WM_INITDIALOG:
      SetParent(hwnd, MainWindow);
      stripReady = 1;
      return TRUE;
    case WM_COMMAND:
      if (Board->gameInProgress != 1) ShowTitleScreen(MainWindow);
      DispatchCommand(MainWindow, LOWORD(wParam));
      EndPauseOfEndedGame(MainWindow);
      ShowWindow(hwnd, SW_HIDE);
      return FALSE;
    case WM_KEYDOWN: HandleStripKey(wParam); return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      stripGone = 1;
      if (!mainWindowGone) SendMessageA(MainWindow, WM_CLOSE, 0, 0);
      return TRUE;
    default: return FALSE;
  }
}

// Hides the main window, gives it a new style and shows it again over the
// whole desktop.
static void RestyleMainWindow(HWND hwnd, DWORD style) {
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  ShowWindow(hwnd, SW_HIDE);
  SetWindowLongA(hwnd, GWL_STYLE, (LONG)style);
  MoveWindow(hwnd, 0, 0, desktop.right, desktop.bottom, TRUE);
  ShowWindow(hwnd, SW_SHOW);
}

// Takes the main window's own menu bar away and frees it: every switch to the
// normal window loads a fresh one.
static void DropWindowMenu(HWND hwnd) {
  HMENU old = GetMenu(hwnd);
  SetMenu(hwnd, nullptr);
  if (old) DestroyMenu(old);
}

void SetFullScreenMode(HWND hwnd) {
  RestyleMainWindow(hwnd, WS_POPUP | WS_CLIPCHILDREN);
  DropWindowMenu(hwnd);
  ShowWindow(MenuStrip, SW_SHOW);
  stripShown = 1;
  stripMode = 1;
}

void SetNormalWindowMode(HWND hwnd) {
  RestyleMainWindow(hwnd, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  DropWindowMenu(hwnd);
  SetMenu(hwnd, LoadMenuA(AppInstance, MenuName));
  ShowWindow(MenuStrip, SW_HIDE);
  stripMode = 0;
  // A fresh menu: bring its rewritten items up to date.
  RefreshRewrittenItems(hwnd);
}

void MinimiseGame(HWND hwnd) { ShowWindow(hwnd, SW_SHOWMINIMIZED); }

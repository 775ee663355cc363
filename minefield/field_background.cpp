// The mine field's background: the picture that uncovered squares without
// bombs next to them show, either a full-size picture or one tile of a
// 320 x 320 texture sheet laid over the whole board; and its chooser.
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/shell_state.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "platform/platform.h"
#include "puzzle/board.h"

int32_t BackgroundIsTexture = 0;

static const char kBackgroundFilter[] =
    "Backgrounds|*.bkg|MOST IMAGES|*.tga;*.pcx;*.cmp;*.mac;*.gif;*.bmp;*.jpg;*.tif;*.pcd;*.jtf|ALL FILES|*.*|TGA|"
    "*.tga|TIF|*.tif|CALS|*.cal|MAC|*.mac|PCT|*.pct|GEM IMG|*.img|RAS|*.ras|WPG|*.wpg|MS Paint|*.msp|Photo "
    "CD|*.pcd|EPS|*.eps|PCX|*.pcx|GIF|*.gif|JPEG|*.jpg;*.jff;*.jtf|";

static char BackgroundFolder[256];

static bool IsTextureSheet(const PictureRecord& record) { return record.width == 320 && record.height == 320; }

// Makes the background bitmap from the decoded picture in PuzzlePicture and
// frees the picture: the background is not kept decoded.
static void TakeBackground(HWND window) {
  RECT client;
  GetClientRect(MainWindow, &client);
  DeleteBitmapSlot(&BackgroundBitmap);
  if (IsTextureSheet(PuzzlePicture)) {
    BackgroundBitmap = PictureToBitmap(&PuzzlePicture, window, 0, 0, 320, 320);
    BackgroundIsTexture = 1;
  } else {
    BackgroundIsTexture = 0;
    if (PuzzlePicture.flags & PICTURE_HAS_DATA) BackgroundBitmap = PictureToBitmap(&PuzzlePicture, window, client);
  }
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
}

void LayTiledBackground() {
  DeleteBitmapSlot(&TiledBackgroundBitmap);
  if (!BackgroundIsTexture || !BackgroundBitmap) return;
  if (Board->backgroundChoice < 0 || Board->backgroundChoice > 24) Board->backgroundChoice = 0;
  const int w = Board->boardWidth, h = Board->boardHeight;
  if (w > 0 && h > 0)
    TiledBackgroundBitmap = CreateTiledBitmap(MainWindow, BackgroundBitmap, w, h, Board->backgroundChoice);
}

void DefaultBackgroundPath(char* out, size_t size) {
  if (size == 0) return;
  out[0] = 0;
  if (strlen(PictureDirectory) + 13 <= size) snprintf(out, size, "%sPLANET_R.BKG", PictureDirectory);
}

void LoadStartupBackground() {
  if (!BackgroundPath[0]) DefaultBackgroundPath(BackgroundPath, sizeof BackgroundPath);
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  DecodePictureFile(BackgroundPath, &PuzzlePicture);
  TakeBackground(MainWindow);
  LayTiledBackground();
}

int LoadFieldBackground(HWND hwnd, const char* path) {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  if (!DecodePictureFile(path, &PuzzlePicture)) {
    MessageBoxA(hwnd, "The image load failed.", "Sorry:", MB_OK);
    SetCursor(previous);
    return 0;
  }
  if (PuzzlePicture.width <= 0) {
    ReleaseRecord(&PuzzlePicture);
    SetCursor(previous);
    return 1;
  }
  CopyText(BackgroundPath, sizeof BackgroundPath, path);
  TakeBackground(MainWindow);
  SetCursor(previous);
  return 1;
}

void UseGeneratedBackground(HDC dc, int w, int h) {
  if (w <= 0 || h <= 0) return;
  HBITMAP picture = CreateCompatibleBitmap(dc, w, h);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteBitmapSlot(&BackgroundBitmap);
  DeleteBitmapSlot(&TiledBackgroundBitmap);
  BackgroundBitmap = picture;
  BackgroundIsTexture = 0;
}

void ResizeFieldBackground() {
  const int w = Board->boardWidth, h = Board->boardHeight;
  if (w <= 0 || h <= 0) return;
  if (BackgroundIsTexture)
    LayTiledBackground();
  else if (BackgroundBitmap)
    BackgroundBitmap = ResizeBitmap(BackgroundBitmap, w, h);
}

// The open dialog for a background file; true when one was chosen.
static bool AskBackgroundFile(HWND owner, char* out, size_t outSize) {
  static bool firstUse = true;
  if (firstUse) {
    firstUse = false;
    CopyText(BackgroundFolder, sizeof BackgroundFolder, PictureDirectory);
  }
  char filter[sizeof kBackgroundFilter + 1];
  memcpy(filter, kBackgroundFilter, sizeof kBackgroundFilter);
  filter[sizeof kBackgroundFilter] = 0;
  for (char& c : filter)
    if (c == '|') c = 0;
  char folder[256];
  CopyText(folder, sizeof folder, BackgroundFolder);
  size_t n = strlen(folder);
  if (n > 1 && (folder[n - 1] == '/' || folder[n - 1] == '\\')) folder[n - 1] = 0;
  char file[256] = {0};
  char title[256] = {0};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = folder;
  ofn.Flags = OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameA(&ofn) || !file[0]) return false;
  CopyText(BackgroundFolder, sizeof BackgroundFolder, file);
  char* cut = nullptr;
  for (char* p = BackgroundFolder; *p; ++p)
    if (*p == '/' || *p == '\\') cut = p;
  if (cut) cut[1] = 0;
  CopyText(out, outSize, file);
  return true;
}

static INT_PTR CALLBACK ChooseBkgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG:
      SizeWindowClient(dialog, 100, 10, 320, 345, FALSE);
      MoveWindow(GetDlgItem(dialog, 3002), 0, 320, 320, 25, FALSE);
      if (BackgroundIsTexture) return TRUE;
      PostMessageA(dialog, WM_COMMAND, 3002, 0);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      if (BackgroundBitmap) {
        if (BackgroundIsTexture) {
          BlitBitmap(dc, BackgroundBitmap, 0, 0, 320, 320, 0, 0, 320, 320);
        } else {
          RECT client;
          GetClientRect(dialog, &client);
          BlitBitmap(dc, BackgroundBitmap, 0, 0, client.right, client.bottom, 0, 0, Board->boardWidth,
                     Board->boardHeight);
        }
      }
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
      if (x < 0 || y < 0 || x >= 320) return TRUE;
      const int row = y / 64;
      if (row < 5) EndDialog(dialog, row * 5 + x / 64);
      return TRUE;
    }
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id == 3002) {
        // The chooser shows the background beside the file dialog.
        UpdateWindow(dialog);
        char path[256];
        if (!AskBackgroundFile(dialog, path, sizeof path)) {
          EndDialog(dialog, 0);
          return TRUE;
        }
        LoadFieldBackground(dialog, path);
        InvalidateRect(dialog, nullptr, FALSE);
        if (!BackgroundIsTexture) EndDialog(dialog, 0);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
      }
      return TRUE;
    }
    case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
  }
}

int ChooseFieldBackground(HWND owner) {
  INT_PTR r = DialogBoxParamA(AppInstance, "ChooseBkgDialog", owner, ChooseBkgProc, 0);
  return r >= 0 && r <= 24 ? (int)r : 0;
}

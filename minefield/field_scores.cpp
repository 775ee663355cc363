// The mine field's high scores: one best result per layout and level, kept in
// "hfdscore", announced aloud after a won game and shown in two dialogs.
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/shell_state.h"
#include "common/time_text.h"
#include "imaging/screen_bitmaps.h"
#include "minefield/field_game.h"
#include "minefield/field_hooks.h"
#include "sound/sounds.h"
#include "sound/speech.h"

FieldScoreTable FieldScores;

static void EmptyScoreTable() {
  memset(&FieldScores, 0, sizeof FieldScores);
  for (int i = 0; i < 36; ++i) {
    FieldScores.bestExplosions[i] = 1000;
    FieldScores.bestTime[i] = 320000000;
  }
}

void ReadFieldScores() {
  HFILE file = _lopen(ProgramDirectoryPath("hfdscore"), OF_READ);
  if (file == HFILE_ERROR) {
    EmptyScoreTable();
    return;
  }
  memset(&FieldScores, 0, sizeof FieldScores);
  _lread(file, &FieldScores, sizeof FieldScores);
  _lclose(file);
  // A name is at most 13 characters, whatever the file holds.
  for (auto& name : FieldScores.holder) memset(name + 13, 0, sizeof name - 13);
}

void WriteFieldScores() {
  OFSTRUCT info;
  HFILE file = OpenFile(ProgramDirectoryPath("hfdscore"), &info, OF_CREATE | OF_WRITE);
  if (file == HFILE_ERROR) return;
  _lwrite(file, reinterpret_cast<LPCSTR>(&FieldScores), sizeof FieldScores);
  _lclose(file);
}

int ScoreEntry(int columns, int level) { return LayoutIndex(columns) + 6 * LevelIndex(level); }

bool IsFieldRecord(int k, uint32_t explosions, uint32_t elapsedMs) {
  return FieldScores.bestExplosions[k] > explosions || (explosions == 0 && FieldScores.bestTime[k] > elapsedMs);
}

static void CountText(char* out, size_t size, uint32_t n) { snprintf(out, size, "%u explosions", n); }

static void TimeText(char* out, size_t size, uint32_t ms) { FormatTimeText(out, size, "", ms / 1000); }

// The best score of an entry: its explosions, or its time for a perfect game.
static void BestText(char* out, size_t size, int k) {
  if (FieldScores.bestExplosions[k] != 0)
    CountText(out, size, FieldScores.bestExplosions[k]);
  else
    TimeText(out, size, FieldScores.bestTime[k]);
}

static void GameText(char* out, size_t size) {
  if (explosionCount != 0)
    CountText(out, size, (uint32_t)explosionCount);
  else
    TimeText(out, size, gameClock);
}

static int ScoredEntry() { return ScoreEntry(fieldColumns, levelInPlay); }

// The score dialogs have no picture of their own: a plain face under the texts.
static bool PaintDialogFace(HWND dialog, UINT msg) {
  if (msg != WM_PAINT) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  RECT client;
  GetClientRect(dialog, &client);
  FillRectColor(dc, 0, 0, client.right, client.bottom, RGB(212, 208, 200));
  EndPaint(dialog, &ps);
  return true;
}

static INT_PTR CALLBACK HighScoreProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (PaintDialogFace(dialog, msg)) return TRUE;
  if (msg == WM_INITDIALOG) {
    const int k = ScoredEntry();
    char text[160];
    snprintf(text, sizeof text, "High Score for %s %s Layout:", LevelName(levelInPlay), LayoutName(fieldColumns));
    SetWindowTextA(dialog, text);
    SetDlgItemTextA(dialog, 3100, FieldScores.bestExplosions[k] != 0 ? "Best Score:" : "Best Perfect Game Score:");
    BestText(text, sizeof text, k);
    SetDlgItemTextA(dialog, 3000, text);
    SetDlgItemTextA(dialog, 3001, FieldScores.holder[k]);
    SetDlgItemTextA(dialog, 3101, explosionCount != 0 ? "Your Score:" : "Your Perfect Game Score:");
    GameText(text, sizeof text);
    SetDlgItemTextA(dialog, 3002, text);
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  if (msg == WM_CLOSE) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

static INT_PTR CALLBACK SetHighScoreProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  const int k = ScoredEntry();
  if (PaintDialogFace(dialog, msg)) return TRUE;
  if (msg == WM_INITDIALOG) {
    char text[64];
    SetDlgItemTextA(dialog, 3100,
                    FieldScores.bestExplosions[k] != 0 ? "Old Best Score:" : "Old Best Perfect Game Score:");
    BestText(text, sizeof text, k);
    SetDlgItemTextA(dialog, 3000, text);
    SetDlgItemTextA(dialog, 3101, explosionCount != 0 ? "New Best Score:" : "New Best Perfect Game Score:");
    GameText(text, sizeof text);
    SetDlgItemTextA(dialog, 3001, text);
    return TRUE;
  }
  if ((msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) || msg == WM_CLOSE) {
    char name[14] = {0};
    GetDlgItemTextA(dialog, 3002, name, sizeof name);
    memset(FieldScores.holder[k], 0, sizeof FieldScores.holder[k]);
    memcpy(FieldScores.holder[k], name, strnlen(name, 13));
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

static void Say(HGLOBAL sound) { PlaySoundSync(sound); }

void ScoreFieldGame(HWND hwnd) {
  const int k = ScoredEntry();
  const uint32_t e = (uint32_t)explosionCount, t = gameClock;
  const bool record = IsFieldRecord(k, e, t);
  if (soundFlag) {
    Say(Sounds.yourScoreWas);
    if (e > 0) {
      SayNumber((int32_t)e);
      Say(Sounds.explosions);
    } else {
      SayTime((int32_t)(t / 1000));
    }
    if (record) Say(Sounds.newRec);
    Say(Sounds.recordMoves);
    if (FieldScores.bestExplosions[k] != 0) {
      SayNumber((int32_t)FieldScores.bestExplosions[k]);
      Say(Sounds.explosions);
    } else {
      SayTime((int32_t)(FieldScores.bestTime[k] / 1000));
    }
  }
  if (record) {
    DialogBoxParamA(AppInstance, "HfdSetHSDialog", hwnd, SetHighScoreProc, 0);
    if (e == 0) FieldScores.bestTime[k] = t;
    FieldScores.bestExplosions[k] = e;
    WriteFieldScores();
  }
  DialogBoxParamA(AppInstance, "HfdHSDialog", hwnd, HighScoreProc, 0);
}

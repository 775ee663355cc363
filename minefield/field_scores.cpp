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
#include "platform/platform.h"
#include "sound/sounds.h"
#include "sound/speech.h"

FieldScoreTable FieldScores;

// The table as this program last read or wrote it: what changed since is
// what this program adds when it writes.
static FieldScoreTable g_knownScores;

static void EmptyScoreTable(FieldScoreTable* table) {
  memset(table, 0, sizeof *table);
  for (int i = 0; i < 36; ++i) {
    table->bestExplosions[i] = 1000;
    table->bestTime[i] = 320000000;
  }
}

// The table in hfdscore; false when there is none, which is also what a file
// of another size holds: its zero entries could never be beaten, and no
// record would be written again.
static bool ReadScoreFile(FieldScoreTable* table) {
  HFILE file = _lopen(ProgramDirectoryPath("hfdscore"), OF_READ);
  if (file == HFILE_ERROR) return false;
  static char bytes[sizeof(FieldScoreTable) + 1];
  const UINT n = _lread(file, bytes, sizeof bytes);
  _lclose(file);
  if (n != sizeof(FieldScoreTable)) return false;
  memcpy(table, bytes, sizeof *table);
  // A name is at most 13 characters, whatever the file holds.
  for (auto& name : table->holder) memset(name + 13, 0, sizeof name - 13);
  return true;
}

void ReadFieldScores() {
  if (!ReadScoreFile(&FieldScores)) EmptyScoreTable(&FieldScores);
  g_knownScores = FieldScores;
}

static bool SameEntry(const FieldScoreTable& a, const FieldScoreTable& b, int k) {
  return a.bestTime[k] == b.bestTime[k] && a.bestExplosions[k] == b.bestExplosions[k] &&
         memcmp(a.holder[k], b.holder[k], sizeof a.holder[k]) == 0;
}

// Another copy of the game may have set records in the file since this one
// read it: each entry this program changed goes in only where it beats what
// the file holds now, and the other entries stay as the file has them.
static void MergeScores(FieldScoreTable* file, const FieldScoreTable& mine) {
  for (int k = 0; k < 36; ++k) {
    if (SameEntry(g_knownScores, mine, k)) continue;
    const uint32_t e = mine.bestExplosions[k], t = mine.bestTime[k];
    if (file->bestExplosions[k] > e || (e == 0 && file->bestTime[k] > t)) {
      file->bestExplosions[k] = e;
      file->bestTime[k] = t;
      memcpy(file->holder[k], mine.holder[k], sizeof file->holder[k]);
    }
  }
}

void WriteFieldScores() {
  const char* path = ProgramDirectoryPath("hfdscore");
  HFILE lock = LockFileUpdate(path);
  static FieldScoreTable table;
  // A file that has gone (or never held a table) gets the table as this
  // program knows it.
  if (ReadScoreFile(&table))
    MergeScores(&table, FieldScores);
  else
    table = FieldScores;
  memset(table.reserved, 0, sizeof table.reserved);
  OFSTRUCT info;
  HFILE file = OpenFile(path, &info, OF_CREATE | OF_WRITE);
  bool ok = file != HFILE_ERROR;
  if (ok) {
    ok = _lwrite(file, reinterpret_cast<LPCSTR>(&table), sizeof table) == sizeof table;
    if (_lclose(file) != 0) ok = false;
  }
  UnlockFileUpdate(lock);
  // Unwritten, the new record stays in memory, and goes in with the next one.
  if (!ok) return;
  FieldScores = table;
  g_knownScores = table;
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

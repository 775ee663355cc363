// The statistics file: read whole, and written back with what this program
// added since it last read or wrote it merged into what the file holds now,
// so that two games keeping statistics in one file both have every win
// counted.  Wins add up, bests keep the better one, and a picture keeps its
// slot in the file or is given one there by the file's own least recently
// won slot.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/shell_state.h"
#include "platform/platform.h"
#include "puzzle/board.h"
#include "puzzle/statistics.h"

namespace {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 99;
constexpr size_t kNameLength = 12;

// The file as this program last read or wrote it, and which file that was:
// what this program changed since is the difference between it and Stats.
StatsRecord g_known;
char g_knownPath[sizeof StatsFilePath];

// The tables that count (games won, moves and seconds) and those that keep a
// best (0 = none yet), by their place in the record.
const size_t kCountTables[] = {offsetof(StatsRecord, gamesWon), offsetof(StatsRecord, totalMoves),
                               offsetof(StatsRecord, totalSeconds)};
const size_t kBestTables[] = {offsetof(StatsRecord, bestSeconds), offsetof(StatsRecord, bestMoves)};

// The record is packed: its numbers are read and written by copy.
size_t CellAt(size_t table, int row, int column) { return table + 4 * ((size_t)row * kStatsColumns + column); }
uint32_t Get(const StatsRecord& r, size_t at) {
  uint32_t v;
  memcpy(&v, reinterpret_cast<const char*>(&r) + at, 4);
  return v;
}
void Set(StatsRecord& r, size_t at, uint32_t v) { memcpy(reinterpret_cast<char*>(&r) + at, &v, 4); }

uint32_t AddCapped(uint32_t a, uint32_t b) { return a > UINT32_MAX - b ? UINT32_MAX : a + b; }
uint32_t Best(uint32_t best, uint32_t value) { return value != 0 && (best == 0 || best > value) ? value : best; }

bool SameName(const StatsRecord& a, int i, const StatsRecord& b, int j) {
  const size_t n = strnlen(a.pictureNames[i], kNameLength);
  return n == strnlen(b.pictureNames[j], kNameLength) && memcmp(a.pictureNames[i], b.pictureNames[j], n) == 0;
}

bool ColumnChanged(const StatsRecord& known, const StatsRecord& mine, int column) {
  for (size_t table : kCountTables)
    for (int row = 0; row < kStatsRows; ++row)
      if (Get(known, CellAt(table, row, column)) != Get(mine, CellAt(table, row, column))) return true;
  for (size_t table : kBestTables)
    for (int row = 0; row < kStatsRows; ++row)
      if (Get(known, CellAt(table, row, column)) != Get(mine, CellAt(table, row, column))) return true;
  return known.useStamps[column] != mine.useStamps[column] || !SameName(known, column, mine, column);
}

// What this program did to column `from` (games added, bests bettered) done
// to column `to` of the file.
void MergeColumn(StatsRecord& file, const StatsRecord& known, const StatsRecord& mine, int from, int to) {
  for (int row = 0; row < kStatsRows; ++row) {
    for (size_t table : kCountTables) {
      const uint32_t was = Get(known, CellAt(table, row, from)), now = Get(mine, CellAt(table, row, from));
      if (now > was) Set(file, CellAt(table, row, to), AddCapped(Get(file, CellAt(table, row, to)), now - was));
    }
    for (size_t table : kBestTables) {
      const uint32_t was = Get(known, CellAt(table, row, from)), now = Get(mine, CellAt(table, row, from));
      if (now != was) Set(file, CellAt(table, row, to), Best(Get(file, CellAt(table, row, to)), now));
    }
  }
}

uint32_t UseStamp(const StatsRecord& r, int slot) {
  const uint32_t stamp = r.useStamps[slot], counter = r.winCounter;
  return stamp < counter ? stamp : counter;
}

// The file's slot for the picture this program has in slot `s`: the one that
// holds its name; else slot s itself when the file still names there what
// this program found there; else the file's least recently won slot that no
// other picture of this program took.
int TargetSlot(const StatsRecord& file, const StatsRecord& known, const StatsRecord& mine, int s,
               const bool taken[kStatsColumns]) {
  if (strnlen(mine.pictureNames[s], kNameLength) == 0) return s;
  for (int k = kFirstSlot; k <= kLastSlot; ++k)
    if (SameName(file, k, mine, s)) return k;
  if (!taken[s] && SameName(file, s, known, s)) return s;
  int slot = -1;
  for (int k = kFirstSlot; k <= kLastSlot; ++k)
    if (!taken[k] && (slot < 0 || UseStamp(file, k) < UseStamp(file, slot))) slot = k;
  return slot < 0 ? s : slot;
}

// `file` (what the file holds now) takes what this program changed since
// `known`; slotOf[s] is where the picture of this program's slot s went.
void MergeStats(StatsRecord& file, const StatsRecord& known, const StatsRecord& mine, int slotOf[kStatsColumns]) {
  const uint32_t fileCounter = file.winCounter, knownCounter = known.winCounter;
  if (mine.winCounter > knownCounter) file.winCounter = AddCapped(fileCounter, mine.winCounter - knownCounter);
  for (int c = 0; c < kStatsColumns; ++c) slotOf[c] = c;
  for (int column : {0, kStatsColumns - 1}) MergeColumn(file, known, mine, column, column);
  bool taken[kStatsColumns] = {};
  for (int s = kFirstSlot; s <= kLastSlot; ++s) {
    if (!ColumnChanged(known, mine, s)) continue;
    const int to = TargetSlot(file, known, mine, s, taken);
    taken[to] = true;
    slotOf[s] = to;
    memcpy(file.pictureNames[to], mine.pictureNames[s], sizeof file.pictureNames[to]);
    MergeColumn(file, known, mine, s, to);
    if (mine.useStamps[s] != known.useStamps[s]) {
      // A stamp is a win counter value: this program's wins come after the
      // file's.
      const int64_t counter = file.winCounter, had = file.useStamps[to];
      const int64_t stamp = (int64_t)mine.useStamps[s] + fileCounter - knownCounter;
      file.useStamps[to] = (uint32_t)std::max(had, std::min(std::max(stamp, (int64_t)0), counter));
    }
  }
}

// The record in the file at `path`; false when there is none to read.  A
// short file fills the record from its start and leaves the rest empty;
// bytes past the record's end are not read.
bool ReadRecord(const char* path, StatsRecord* out) {
  HFILE file = _lopen(path, OF_READ);
  if (file == HFILE_ERROR) return false;
  memset(out, 0, sizeof *out);
  _lread(file, out, sizeof *out);
  _lclose(file);
  return true;
}

bool WriteRecord(const char* path, const StatsRecord& record) {
  OFSTRUCT info;
  HFILE file = OpenFile(path, &info, OF_CREATE | OF_WRITE);
  if (file == HFILE_ERROR) return false;
  bool ok = _lwrite(file, reinterpret_cast<LPCSTR>(&record), sizeof record) == sizeof record;
  if (_lclose(file) != 0) ok = false;
  return ok;
}

void Know(const StatsRecord& record) {
  g_known = record;
  CopyText(g_knownPath, sizeof g_knownPath, StatsFilePath);
}

// Writes the record; with `merge`, what this program changed goes into what
// the file holds now, and the record becomes the merged one.
bool Write(bool merge) {
  HFILE lock = LockFileUpdate(StatsFilePath);
  static StatsRecord result;
  int slotOf[kStatsColumns];
  // A file this program has not read, or one that has gone, gets the record
  // as this program knows it.
  merge = merge && strcmp(g_knownPath, StatsFilePath) == 0 && ReadRecord(StatsFilePath, &result);
  if (merge)
    MergeStats(result, g_known, Stats, slotOf);
  else
    result = Stats;
  const bool ok = WriteRecord(StatsFilePath, result);
  UnlockFileUpdate(lock);
  // A write that fails leaves the file as it was and the record as it is:
  // the next write takes this program's changes again.
  if (!ok) return false;
  if (merge && Board->statsSlot >= kFirstSlot && Board->statsSlot <= kLastSlot)
    Board->statsSlot = slotOf[Board->statsSlot];
  Stats = result;
  Know(result);
  return true;
}

}  // namespace

void ReadStatsFile() {
  // What another file left in memory never mixes with this one.
  static StatsRecord fresh;
  if (!ReadRecord(StatsFilePath, &fresh)) memset(&fresh, 0, sizeof fresh);
  Stats = fresh;
  Know(fresh);
}

bool WriteStatsFile() { return Write(true); }

bool StartStatsFile() {
  memset(&Stats, 0, sizeof Stats);
  return Write(false);
}

bool IsSavedGameFile(const char* path) {
  HFILE file = path && path[0] ? _lopen(path, OF_READ) : HFILE_ERROR;
  if (file == HFILE_ERROR) return false;
  static char probe[sizeof(BoardRecord) + 1];
  UINT n = _lread(file, probe, sizeof probe);
  _lclose(file);
  return n == sizeof(BoardRecord);
}

void TellStatsNotSaved(HWND owner) {
  const char* name = StatsFilePath;
  for (const char* c = StatsFilePath; *c; ++c)
    if (*c == '/' || *c == '\\') name = c + 1;
  char text[sizeof StatsFilePath + 160];
  snprintf(text, sizeof text,
           "The statistics of this game could not be saved in the file '%s'. The game keeps them and saves them "
           "with your next win.",
           name);
  MessageBoxA(owner, text, "Sorry:", MB_OK);
}

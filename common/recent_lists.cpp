// The recent-file lists "swpflist" (the mine field's "hfdflist"): three lists
// of ten 200-byte entries, the most recent first, in one fixed-size file in
// the program directory.
#include "common/recent_lists.h"

#include <cstring>

#include "common/paths.h"
#include "platform/platform.h"

namespace {

using Entries = char[kListEntries][kListEntrySize];
using Lists = Entries[3];

Lists g_lists;
// The lists as this program last read or wrote them: what this program put
// at their heads since is what it adds to the file when it writes.
Lists g_known;

bool ValidList(int list) { return list >= 0 && list < 3; }

UINT ListCommand(int list, int index) { return (UINT)(7000 + 20 * list + index); }

// The lists in the file at `path`; false when there is no file to read.
bool ReadListFile(const char* path, Lists& lists) {
  memset(lists, 0, sizeof lists);
  HFILE file = path[0] ? _lopen(path, OF_READ | OF_SHARE_DENY_WRITE) : HFILE_ERROR;
  if (file == HFILE_ERROR) return false;
  UINT read = _lread(file, lists, sizeof lists);
  _lclose(file);
  if (read == HFILE_WRITE_ERROR) memset(lists, 0, sizeof lists);
  // An entry without its terminator is no path: it is dropped, not cut.
  for (auto& list : lists)
    for (auto& entry : list)
      if (!memchr(entry, 0, sizeof entry)) memset(entry, 0, sizeof entry);
  return true;
}

void PutEntryAtHead(Entries& entries, const char* path) {
  // An empty path or one longer than an entry is not remembered.
  const size_t len = path ? strnlen(path, kListEntrySize) : 0;
  if (len == 0 || len >= (size_t)kListEntrySize) return;
  int found = kListEntries - 1;  // not found: the oldest entry drops out
  for (int k = 0; k < kListEntries; ++k) {
    if (strcmp(entries[k], path) == 0) {
      found = k;
      break;
    }
  }
  if (found > 0 || strcmp(entries[0], path) != 0) {
    memmove(entries[1], entries[0], (size_t)found * kListEntrySize);
    memset(entries[0], 0, kListEntrySize);
    memcpy(entries[0], path, len);
  }
}

// How many of the first entries of `mine` this program put at the head of
// the list since it was `known`: the fewest that, put at the head of
// `known` again, oldest first, give `mine`.
int PicksSince(const Entries& known, const Entries& mine) {
  for (int picks = 0; picks < kListEntries; ++picks) {
    static Entries trial;
    memcpy(trial, known, sizeof trial);
    for (int i = picks - 1; i >= 0; --i) PutEntryAtHead(trial, mine[i]);
    if (memcmp(trial, mine, sizeof trial) == 0) return picks;
  }
  return kListEntries;
}

}  // namespace

int ReadLists(const char* fileName) {
  const bool read = ReadListFile(ProgramDirectoryPath(fileName), g_lists);
  memcpy(g_known, g_lists, sizeof g_known);
  return read ? 1 : 0;
}

int WriteLists(const char* fileName) {
  const char* path = ProgramDirectoryPath(fileName);
  if (!path[0]) return 0;
  // Another copy of the game may have written the lists since this one read
  // them: what this one picked goes at the head of what the file holds now,
  // its newest first, and the file's own entries follow.  A file that has
  // gone counts as holding what this program last knew of it.
  HFILE lock = LockFileUpdate(path);
  static Lists merged;
  if (!ReadListFile(path, merged)) memcpy(merged, g_known, sizeof merged);
  for (int list = 0; list < 3; ++list)
    for (int i = PicksSince(g_known[list], g_lists[list]) - 1; i >= 0; --i)
      PutEntryAtHead(merged[list], g_lists[list][i]);
  OFSTRUCT of;
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE | OF_SHARE_DENY_READ);
  bool ok = file != HFILE_ERROR;
  if (ok) {
    ok = _lwrite(file, (const char*)merged, sizeof merged) == sizeof merged;
    if (_lclose(file) != 0) ok = false;
  }
  UnlockFileUpdate(lock);
  if (!ok) return 0;
  memcpy(g_lists, merged, sizeof g_lists);
  memcpy(g_known, merged, sizeof g_known);
  return 1;
}

void PutAtHead(HWND hwnd, const char* path, int list) {
  if (!ValidList(list)) return;
  PutEntryAtHead(g_lists[list], path);
  RewriteList(hwnd, list);
}

void RewriteList(HWND hwnd, int list) {
  if (!ValidList(list) || !hwnd) return;
  HMENU menu = GetMenu(hwnd);
  if (!menu) return;
  for (int i = 0; i < kListEntries; ++i) {
    const UINT id = ListCommand(list, i);
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, g_lists[list][i]);
  }
}

const char* RecentEntry(int list, int index) {
  if (!ValidList(list) || index < 0 || index >= kListEntries) return "";
  return g_lists[list][index];
}

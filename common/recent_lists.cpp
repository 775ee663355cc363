// The recent-file lists "swpflist" (the mine field's "hfdflist"): three lists
// of ten 200-byte entries, the most recent first, in one fixed-size file in
// the program directory.
#include "common/recent_lists.h"

#include <cstring>

#include "common/paths.h"

namespace {

char g_lists[3][kListEntries][kListEntrySize];

bool ValidList(int list) { return list >= 0 && list < 3; }

UINT ListCommand(int list, int index) { return (UINT)(7000 + 20 * list + index); }

}  // namespace

int ReadLists(const char* fileName) {
  memset(g_lists, 0, sizeof g_lists);
  const char* path = ProgramDirectoryPath(fileName);
  HFILE file = path[0] ? _lopen(path, OF_READ | OF_SHARE_DENY_WRITE) : HFILE_ERROR;
  if (file == HFILE_ERROR) return 0;
  UINT read = _lread(file, g_lists, sizeof g_lists);
  _lclose(file);
  if (read == HFILE_WRITE_ERROR) memset(g_lists, 0, sizeof g_lists);
  // An entry without its terminator is no path: it is dropped, not cut.
  for (auto& list : g_lists)
    for (auto& entry : list)
      if (!memchr(entry, 0, sizeof entry)) memset(entry, 0, sizeof entry);
  return 1;
}

int WriteLists(const char* fileName) {
  const char* path = ProgramDirectoryPath(fileName);
  if (!path[0]) return 0;
  OFSTRUCT of;
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE | OF_SHARE_DENY_READ);
  if (file == HFILE_ERROR) return 0;
  bool ok = _lwrite(file, (const char*)g_lists, sizeof g_lists) == sizeof g_lists;
  if (_lclose(file) != 0) ok = false;
  return ok ? 1 : 0;
}

void PutAtHead(HWND hwnd, const char* path, int list) {
  if (!ValidList(list)) return;
  // An empty path or one longer than an entry is not remembered.
  const size_t len = path ? strnlen(path, kListEntrySize) : 0;
  if (len > 0 && len < (size_t)kListEntrySize) {
    char(&entries)[kListEntries][kListEntrySize] = g_lists[list];
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

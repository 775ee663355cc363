// Options and recent-file lists.  Saving settings and remembering files is
// not in this build yet: every start uses the defaults and the lists stay
// empty.
#include "shell/options.h"

#include "shell/shell_state.h"

const char* ProgramDirectoryPath(const char* name) {
  static char path[264];
  ProgramPath(path, sizeof path, name);
  return path;
}

void ReadOptions() {}
void WriteOptions() {}
int ReadLists(const char*) { return 0; }
int WriteLists(const char*) { return 0; }
void PutAtHead(HWND, const char*, int) {}
void RewriteList(HWND, int) {}
void SetStatsItemText(const char*, UINT, HWND, HWND) {}
const char* RecentEntry(int, int) { return ""; }

// The recent-file lists: the user pictures, the mine field's backgrounds and
// the statistics files, ten paths each, the most recent first.  They are kept
// in one file in the program directory and shown as items of the menus.
#pragma once

#include "platform/win32.h"

constexpr int kUserPictureList = 0;  // commands 7000..7009
constexpr int kBackgroundList = 1;   // commands 7020..7029
constexpr int kStatsFileList = 2;    // commands 7040..7049

constexpr int kListEntries = 10;
constexpr int kListEntrySize = 200;  // bytes, terminator included
constexpr int kListFileSize = 3 * kListEntries * kListEntrySize;

int ReadLists(const char* fileName);
int WriteLists(const char* fileName);
void PutAtHead(HWND hwnd, const char* path, int list);
void RewriteList(HWND hwnd, int list);
// Entry `index` (0..9) of a recent-file list; "" when empty or out of range.
const char* RecentEntry(int list, int index);

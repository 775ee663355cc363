// The options file and the recent-file lists.
#pragma once

#include "platform/win32.h"

// The program directory followed by `name`, in one shared buffer that the
// next call overwrites.  A name that does not fit gives "" (no file), never
// a shortened name.
const char* ProgramDirectoryPath(const char* name);
void ReadOptions();
// The puzzle picture path the options file names, without taking any other
// setting from it; "" when it names none.
void OptionsPicturePath(char* out, size_t outSize);
void WriteOptions();
// WriteOptions with its result: 1 when the whole options file was written.
int SaveOptionsFile();
int ReadLists(const char* fileName);
int WriteLists(const char* fileName);
void PutAtHead(HWND hwnd, const char* path, int list);
void RewriteList(HWND hwnd, int list);
void SetStatsItemText(const char* statsPath, UINT id, HWND first, HWND second);
// Entry `index` (0..9) of a recent-file list; "" when empty or out of range.
const char* RecentEntry(int list, int index);
// What the Open Statistics File item shows of a path: its last component,
// or the path's last 29 characters when that component is longer than 28.
void StatsShortName(const char* path, char* out, size_t outSize);

constexpr int kUserPictureList = 0;  // commands 7000..7009
constexpr int kBackgroundList = 1;   // commands 7020..7029
constexpr int kStatsFileList = 2;    // commands 7040..7049

constexpr int kListEntries = 10;
constexpr int kListEntrySize = 200;  // bytes, terminator included
constexpr int kOptionsFileSize = 1554;
constexpr int kListFileSize = 3 * kListEntries * kListEntrySize;

// The options file, and the menu texts that name the statistics file.  The
// recent-file lists are common/recent_lists.h.
#pragma once

#include <cstddef>

#include "platform/win32.h"

void ReadOptions();
// The puzzle picture path the options file names, without taking any other
// setting from it; "" when it names none.
void OptionsPicturePath(char* out, size_t outSize);
void WriteOptions();
// WriteOptions with its result: 1 when the whole options file was written.
int SaveOptionsFile();
void SetStatsItemText(const char* statsPath, UINT id, HWND first, HWND second);
// What the Open Statistics File item shows of a path: its last component,
// or the path's last 29 characters when that component is longer than 28.
void StatsShortName(const char* path, char* out, size_t outSize);

constexpr int kOptionsFileSize = 1554;

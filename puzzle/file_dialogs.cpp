// The common open and save dialogs as the game uses them.
#include "puzzle/file_dialogs.h"

#include <algorithm>
#include <cstring>
#include <string>

int AskFileName(bool save, char* out, size_t outSize, const char* filter, const char* initialDir, HWND owner) {
  if (!out || outSize == 0) return 0;
  // "name|pattern|name|pattern" becomes pairs of zero-terminated texts ended
  // by an empty one.
  std::string pairs = filter ? filter : "";
  std::replace(pairs.begin(), pairs.end(), '|', '\0');
  pairs.push_back('\0');
  pairs.push_back('\0');

  char file[256] = "";
  char title[256] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = pairs.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = initialDir;
  ofn.Flags = OFN_OVERWRITEPROMPT;
  if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn))) return 0;
  const size_t length = strnlen(file, sizeof file);
  if (length == 0 || length == sizeof file || length + 1 > outSize) return 0;
  memcpy(out, file, length + 1);
  return 1;
}

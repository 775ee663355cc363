// Paths in the program directory, and text copied into fixed buffers.
#include "common/paths.h"

#include <cstdio>
#include <cstring>

#include "common/shell_state.h"

void CopyText(char* out, size_t outSize, const char* text) {
  if (!out || outSize == 0) return;
  // The text may be the buffer itself or a part of it: move, never print.
  const char* from = text ? text : "";
  const size_t len = strnlen(from, outSize - 1);
  memmove(out, from, len);
  out[len] = 0;
}

void ProgramPath(char* out, size_t outSize, const char* fileName) {
  if (!out || outSize == 0) return;
  snprintf(out, outSize, "%s%s", ProgramDirectory, fileName ? fileName : "");
}

const char* ProgramDirectoryPath(const char* name) {
  static char path[264];
  const char* n = name ? name : "";
  if (strlen(ProgramDirectory) + strlen(n) + 1 > sizeof path) {
    path[0] = 0;
    return path;
  }
  ProgramPath(path, sizeof path, n);
  return path;
}

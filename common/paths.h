// Paths in the program directory, and text copied into fixed buffers.
#pragma once

#include <cstddef>

// Joins the program directory and a file name into `out` (cut to fit).
void ProgramPath(char* out, size_t outSize, const char* fileName);
// The program directory followed by `name`, in one shared buffer that the
// next call overwrites.  A name that does not fit gives "" (no file), never
// a shortened name.
const char* ProgramDirectoryPath(const char* name);
// Copies text into a fixed buffer, cutting it to fit; the text may lie in
// the buffer itself.
void CopyText(char* out, size_t outSize, const char* text);

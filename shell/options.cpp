// The options file "swapster.opt", and the menu texts that name the
// statistics file.
//
// The options file is a fixed-size little-endian record in the program
// directory: the sound flag, two 256-byte paths and a 1038-byte block that
// starts with the marker "valid"; its last 1000 bytes are not ours and are
// written back exactly as they were read.
#include "shell/options.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "common/paths.h"
#include "common/shell_state.h"
#include "common/variant.h"
#include "puzzle/board.h"
#include "puzzle/saved_games.h"


namespace {

const char kOptionsFileName[] = "swapster.opt";
constexpr int kPathField = 256;

// Offsets in the options file.
constexpr int kSoundAt = 0;
constexpr int kBackgroundAt = 4;
constexpr int kPictureAt = 260;
constexpr int kBlockAt = 516;
constexpr int kBlockSize = kOptionsFileSize - kBlockAt;  // 1038

// Offsets in the block.
constexpr int kMarkerAt = 0;  // "valid" and its zero
constexpr int kScreenModeAt = 6;
constexpr int kBoardSizeAt = 10;
constexpr int kStatsOnAt = 14;
constexpr int kFaceDownAt = 18;
constexpr int kColumnsAt = 22;
constexpr int kRowsAt = 26;
constexpr int kMenuNoteAt = 30;
constexpr int kClockAt = 34;
const char kMarker[6] = "valid";

// The block as last read (zero when no file was read); the reserved bytes
// at its end go back to the file unchanged.
uint8_t g_block[kBlockSize];

uint32_t GetWord(const uint8_t* p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void PutWord(uint8_t* p, uint32_t v) {
  p[0] = (uint8_t)v;
  p[1] = (uint8_t)(v >> 8);
  p[2] = (uint8_t)(v >> 16);
  p[3] = (uint8_t)(v >> 24);
}

// A path field of `size` bytes of which `got` were read: the path when its
// terminator was among them, else "" (a path without its end is not a name).
void TakePathField(char* out, size_t outSize, const uint8_t* field, long got, size_t size) {
  out[0] = 0;
  if (got <= 0) return;
  size_t n = (size_t)got < size ? (size_t)got : size;
  const void* end = memchr(field, 0, n);
  if (!end) return;
  size_t len = (size_t)((const uint8_t*)end - field);
  if (len + 1 > outSize) return;
  memcpy(out, field, len + 1);
}

// Copies a path into a file field, zero-filled; a path too long for the
// field is written as "".
void PutPathField(uint8_t* field, size_t size, const char* path) {
  memset(field, 0, size);
  size_t len = strnlen(path, size);
  if (len < size) memcpy(field, path, len);
}

}  // namespace

// Reads up to `size` bytes of the options file; how many were read, or -1
// when there is no file to read.
static long ReadOptionsBytes(uint8_t* bytes, size_t size) {
  const char* path = ProgramDirectoryPath(kOptionsFileName);
  HFILE file = path[0] ? _lopen(path, OF_READ | OF_SHARE_DENY_WRITE) : HFILE_ERROR;
  if (file == HFILE_ERROR) return -1;
  UINT read = _lread(file, bytes, (UINT)size);
  _lclose(file);
  return read == HFILE_WRITE_ERROR ? 0 : (long)read;
}

void OptionsPicturePath(char* out, size_t outSize) {
  if (outSize == 0) return;
  out[0] = 0;
  if (kGameVariant != 0) return;
  uint8_t bytes[kPictureAt + kPathField];
  const long got = ReadOptionsBytes(bytes, sizeof bytes);
  TakePathField(out, outSize, bytes + kPictureAt, got - kPictureAt, kPathField);
}

void ReadOptions() {
  // The mine-field build keeps its settings in a file of its own.
  if (kGameVariant != 0) return;
  memset(g_block, 0, sizeof g_block);
  menuNoteFlag = 0;
  BackgroundPath[0] = 0;
  PuzzlePicturePath[0] = 0;

  uint8_t bytes[kOptionsFileSize];
  const long got = ReadOptionsBytes(bytes, sizeof bytes);
  if (got < 0) return;

  // What the file holds takes effect up to its end; the rest stays as it was.
  if (got >= kSoundAt + 4) soundFlag = GetWord(bytes + kSoundAt) != 0;
  TakePathField(BackgroundPath, sizeof BackgroundPath, bytes + kBackgroundAt, got - kBackgroundAt, kPathField);
  TakePathField(PuzzlePicturePath, sizeof PuzzlePicturePath, bytes + kPictureAt, got - kPictureAt, kPathField);
  if (got > kBlockAt) memcpy(g_block, bytes + kBlockAt, (size_t)(got - kBlockAt));

  // The note is remembered even by a block without its marker.
  menuNoteFlag = GetWord(g_block + kMenuNoteAt);
  if (memcmp(g_block + kMarkerAt, kMarker, sizeof kMarker) != 0) return;

  clockFlag = GetWord(g_block + kClockAt) != 0;
  const int32_t size = (int32_t)GetWord(g_block + kBoardSizeAt);
  const int32_t columns = (int32_t)GetWord(g_block + kColumnsAt);
  const int32_t rows = (int32_t)GetWord(g_block + kRowsAt);
  // A size the board cannot be played with keeps the default size.
  if (IsPlayableSize(columns, rows, size)) {
    Board->boardSize = size;
    Board->columns = columns;
    Board->rows = rows;
  }
  Board->statsOn = GetWord(g_block + kStatsOnAt) != 0;
  Board->faceDown = GetWord(g_block + kFaceDownAt) != 0;
  if (GetWord(g_block + kScreenModeAt) == 1 && MainWindow) SendMessageA(MainWindow, WM_COMMAND, 2100, 0);
}

int SaveOptionsFile() {
  if (kGameVariant != 0) return 0;
  uint8_t bytes[kOptionsFileSize];
  PutWord(bytes + kSoundAt, soundFlag);
  PutPathField(bytes + kBackgroundAt, kPathField, BackgroundPath);
  PutPathField(bytes + kPictureAt, kPathField, PuzzlePicturePath);

  memcpy(g_block + kMarkerAt, kMarker, sizeof kMarker);
  PutWord(g_block + kClockAt, clockFlag);
  PutWord(g_block + kMenuNoteAt, menuNoteFlag);
  PutWord(g_block + kBoardSizeAt, (uint32_t)Board->boardSize);
  PutWord(g_block + kStatsOnAt, (uint32_t)Board->statsOn);
  PutWord(g_block + kFaceDownAt, (uint32_t)Board->faceDown);
  PutWord(g_block + kColumnsAt, (uint32_t)Board->columns);
  PutWord(g_block + kRowsAt, (uint32_t)Board->rows);
  // The mode is seen from the window: a client area as large as the desktop
  // is full screen.  A minimised window counts as the mode it returns to.
  uint32_t mode = stripMode == 1 ? 0 : 1;
  if (MainWindow && !IsIconic(MainWindow)) {
    RECT client, desktop;
    GetClientRect(MainWindow, &client);
    GetWindowRect(GetDesktopWindow(), &desktop);
    mode = client.right == desktop.right && client.bottom == desktop.bottom ? 0 : 1;
  }
  PutWord(g_block + kScreenModeAt, mode);
  memcpy(bytes + kBlockAt, g_block, sizeof g_block);

  const char* path = ProgramDirectoryPath(kOptionsFileName);
  if (!path[0]) return 0;
  OFSTRUCT of;
  HFILE file = OpenFile(path, &of, OF_CREATE | OF_WRITE | OF_SHARE_DENY_READ);
  if (file == HFILE_ERROR) return 0;
  bool ok = _lwrite(file, (const char*)bytes, sizeof bytes) == sizeof bytes;
  // The file replaces the old one only when it was closed complete.
  if (_lclose(file) != 0) ok = false;
  return ok ? 1 : 0;
}

void WriteOptions() { SaveOptionsFile(); }

void StatsShortName(const char* path, char* out, size_t outSize) {
  if (!out || outSize == 0) return;
  const char* p = path ? path : "";
  const size_t len = strlen(p);
  const char* tail = p;
  for (const char* c = p; *c; ++c)
    if (*c == '/' || *c == '\\') tail = c + 1;
  const char* shown = strlen(tail) <= 28 ? tail : p + (len > 29 ? len - 29 : 0);
  // The cut never falls inside a character of several bytes.
  while ((*shown & 0xC0) == 0x80) ++shown;
  CopyText(out, outSize, shown);
}

void SetStatsItemText(const char* statsPath, UINT id, HWND first, HWND second) {
  char name[32];
  StatsShortName(statsPath, name, sizeof name);
  char text[80];
  snprintf(text, sizeof text, "&Open Stat File (Currently Loaded: %s)", name);
  for (HWND w : {first, second}) {
    HMENU menu = w ? GetMenu(w) : nullptr;
    if (menu) ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING, id, text);
  }
}

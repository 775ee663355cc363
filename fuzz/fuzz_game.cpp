#include "fuzz/fuzz_game.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/shell_state.h"
#include "platform/testing.h"
#include "shell/winmain.h"

int PlatformInitForTests(int argc, char** argv);

namespace {
std::string g_folder;

void RemoveFolder() {
  std::error_code ignored;
  if (!g_folder.empty()) std::filesystem::remove_all(g_folder, ignored);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Never a window on a real screen, never a sound on a real device.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  PlatformInitForTests(1, argv);
  TestEnable();
  // Waits end by themselves; every question gets its first answer.
  TestSetTickStep(1);
  TestSetDesktopSize(800, 600);

  char pattern[] = "/tmp/swapster-fuzz-XXXXXX";
  if (!mkdtemp(pattern)) {
    perror("mkdtemp");
    exit(1);
  }
  g_folder = pattern;
  atexit(RemoveFolder);
  // The game takes the current folder as its own; the caller's is restored.
  char* previous = getcwd(nullptr, 0);
  if (chdir(pattern) != 0) exit(1);
  char line[] = "";
  StartUp(reinterpret_cast<HINSTANCE>(1), nullptr, line, SW_SHOW);
  TestPumpMessages();
  if (previous && chdir(previous) != 0) exit(1);
  free(previous);
  return 0;
}

std::string PutInput(const char* name, const uint8_t* data, size_t size) {
  // What the previous input left queued is handled, and what it let go of
  // deleted, as the game's own loop would between two commands: otherwise
  // every replaced menu bar and closed dialog stays until the program ends.
  TestPumpMessages();
  TestMessageBoxes().clear();
  TestSoundsPlayed().clear();
  TestDialogsShown().clear();
  TestFileDialogs().clear();
  const std::string path = std::string(ProgramDirectory) + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), (std::streamsize)size);
  return path;
}

void ClickMainWindow(int left, int top, int right, int bottom) {
  const LPARAM at = MAKELPARAM((left + right) / 2, (top + bottom) / 2);
  PostMessageA(MainWindow, WM_LBUTTONDOWN, 0, at);
  PostMessageA(MainWindow, WM_LBUTTONUP, 0, at);
  TestPumpMessages();
}

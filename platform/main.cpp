// The program's entry: the desktop application object, then the game's
// WinMain with the command line as one string.
#include <QApplication>
#include <string>

#include "platform/win32.h"

int PlatformInit(int& argc, char** argv);

int main(int argc, char** argv) {
  PlatformInit(argc, argv);
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  static char instance;
  return WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, &commandLine[0], SW_SHOW);
}

// The program's entry: the desktop application object, then the game's
// WinMain with the command line as one string.
#include <QApplication>
#include <string>

#include "platform/win32.h"

int PlatformInit(int& argc, char** argv);
std::string CommandLineOf(int argc, char** argv);

int main(int argc, char** argv) {
  PlatformInit(argc, argv);
  // The toolkit has taken its own options out of the arguments by now.
  std::string commandLine = CommandLineOf(argc, argv);
  static char instance;
  return WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, &commandLine[0], SW_SHOW);
}

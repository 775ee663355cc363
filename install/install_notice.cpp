// The install notice program: at most two message boxes and an exit code.
#include "install/install_notice.h"

#include <vector>

#include "platform/platform.h"
#include "platform/win32.h"

const char kFloppyNoticeCaption[] = "Notice";
const char kFloppyNoticeText[] =
    "This program is currently uncompressed and residing on a floppy diskette. You may copy it "
    "onto your hard drive or leave it on the floppy and run it directly from there.\r\n"
    "\r\n"
    "This program will not copy Memory-Swapster to your hard drive, you must do that with either "
    "the File Manager or the xcopy command in DOS.\r\n"
    "\r\n"
    "Example:\r\n"
    "\r\n"
    "1) C:\r\n"
    "2) MD SWAPSTER\r\n"
    "3) CD SWAPSTER\r\n"
    "4) XCOPY A: (or B: if it is the B drive)\r\n"
    "\r\n"
    "Would you like to proceed with the installation instructions now?";
const char kInstructionsCaption[] = "Installation Instructions:";
const char kGameProgramName[] = "SWAPST95";

int DriveNumber(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return 0;
  char letter = path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z') return 0;
  return letter - 'A' + 1;
}

std::string GameProgramPath(const std::string& directory) {
  if (directory.empty()) return kGameProgramName;
  const bool backslashes =
      directory.find('\\') != std::string::npos && directory.find('/') == std::string::npos;
  const char separator = backslashes ? '\\' : '/';
  std::string path = directory;
  if (path.back() != separator) path += separator;
  return path + kGameProgramName;
}

std::string InstructionsText(const std::string& directory) {
  std::string text =
      "Memory-Swapster does not really need an installation program. All you need to do is run "
      "this program using the 'Start' menu, and selecting 'Run'.\r\n"
      "\r\n"
      "You should then type '";
  text += GameProgramPath(directory);
  text +=
      "'.\r\n"
      "\r\n"
      "Then click 'OK' to run the game, or 'Browse' to open a Browse window. From the Browse "
      "window, you can click the game icon and drag it down and drop it on your Start menu for "
      "easy access.";
  return text;
}

std::string CurrentDirectory() {
  // Directories can be far longer than any fixed buffer: grow until it fits.
  for (std::size_t size = 256; size <= (std::size_t{1} << 20); size *= 2) {
    std::vector<char> buffer(size, '\0');
    if (_getcwd(buffer.data(), static_cast<int>(size))) {
      buffer[size - 1] = '\0';
      return buffer.data();
    }
  }
  return std::string();
}

int RunInstallNotice(const std::string& directory) {
  const int drive = DriveNumber(directory);
  if (drive == 1 || drive == 2) {
    if (MessageBoxA(nullptr, kFloppyNoticeText, kFloppyNoticeCaption, MB_YESNO) == IDNO) return 0;
  }
  const std::string text = InstructionsText(directory);
  return MessageBoxA(nullptr, text.c_str(), kInstructionsCaption, MB_OK);
}

// The notice shows two boxes and nothing else: it starts no program and asks
// no service of the desktop for anything.
bool AsksNoDesktopServices() { return true; }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunInstallNotice(CurrentDirectory()); }

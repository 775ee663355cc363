// The install notice program: at most two message boxes and an exit code.
#include "install/install_notice.h"

#include <vector>

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

std::string CutToBuffer(const std::string& text, std::size_t bufferBytes) {
  if (bufferBytes == 0) return std::string();
  std::size_t length = text.size();
  if (length < bufferBytes) return text;
  length = bufferBytes - 1;
  // Step back over continuation bytes so that no character is split.
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return text.substr(0, length);
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

std::string RuntimeDirectory() {
  char buffer[kRuntimeDirectoryBytes] = {};
  if (_getcwd(buffer, static_cast<int>(sizeof buffer))) {
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
  }
  // Too long for the buffer (or gone): nothing trustworthy was written into
  // it, so cut the whole directory to the same size instead.
  return CutToBuffer(CurrentDirectory(), kRuntimeDirectoryBytes);
}

int RunInstallNotice(const std::string& currentDirectory, const std::string& runtimeDirectory) {
  const int drive = DriveNumber(currentDirectory);
  if (drive == 1 || drive == 2) {
    if (MessageBoxA(nullptr, kFloppyNoticeText, kFloppyNoticeCaption, MB_YESNO) == IDNO) return 0;
  }
  const std::string text = InstructionsText(runtimeDirectory);
  return MessageBoxA(nullptr, text.c_str(), kInstructionsCaption, MB_OK);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunInstallNotice(CurrentDirectory(), RuntimeDirectory());
}

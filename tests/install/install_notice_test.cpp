// The install notice: drive letters, the path to type, and the boxes the
// program shows, answered from a script.
#include "install/install_notice.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/testing.h"

namespace {

const char kNotice[] =
    "This program is currently uncompressed and residing on a floppy diskette. You may copy it "
    "onto your hard drive or leave it on the floppy and run it directly from there.\r\n\r\n"
    "This program will not copy Memory-Swapster to your hard drive, you must do that with either "
    "the File Manager or the xcopy command in DOS.\r\n\r\nExample:\r\n\r\n1) C:\r\n"
    "2) MD SWAPSTER\r\n3) CD SWAPSTER\r\n4) XCOPY A: (or B: if it is the B drive)\r\n\r\n"
    "Would you like to proceed with the installation instructions now?";

std::string Instructions(const std::string& pathToType) {
  return "Memory-Swapster does not really need an installation program. All you need to do is "
         "run this program using the 'Start' menu, and selecting 'Run'.\r\n\r\n"
         "You should then type '" +
         pathToType +
         "'.\r\n\r\nThen click 'OK' to run the game, or 'Browse' to open a Browse window. From "
         "the Browse window, you can click the game icon and drag it down and drop it on your "
         "Start menu for easy access.";
}

std::string Cwd() { return std::filesystem::current_path().string(); }

// Runs each test in a fresh folder under /tmp and goes back afterwards.
class InstallNotice : public ::testing::Test {
 protected:
  void SetUp() override {
    TestMessageBoxes().clear();
    home_ = Cwd();
    char name[] = "/tmp/install_notice_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    ASSERT_EQ(chdir(folder_.c_str()), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(home_.c_str()), 0);
    std::filesystem::remove_all(folder_);
  }

  // Makes and enters nested folders until the current directory is exactly
  // `length` bytes long.
  std::string EnterDirectoryOfLength(std::size_t length) {
    std::string here = Cwd();
    while (here.size() < length) {
      std::size_t missing = length - here.size();
      std::size_t name = missing - 1 > 200 ? 100 : missing - 1;
      EXPECT_GE(name, 1u);
      std::string component(name, 'd');
      EXPECT_TRUE(std::filesystem::create_directory(component));
      EXPECT_EQ(chdir(component.c_str()), 0);
      here = Cwd();
    }
    EXPECT_EQ(here.size(), length);
    return here;
  }

  int RunWinMain() { return WinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL); }

  std::string home_;
  std::string folder_;
};

TEST(InstallNoticeRules, DriveNumberFromPath) {
  EXPECT_EQ(DriveNumber("A:\\"), 1);
  EXPECT_EQ(DriveNumber("a:\\"), 1);
  EXPECT_EQ(DriveNumber("B:\\"), 2);
  EXPECT_EQ(DriveNumber("C:\\GAMES"), 3);
  // No drive letter: network paths, this system's paths, nothing at all.
  EXPECT_EQ(DriveNumber("\\\\server\\share"), 0);
  EXPECT_EQ(DriveNumber("/home/x"), 0);
  EXPECT_EQ(DriveNumber("/"), 0);
  EXPECT_EQ(DriveNumber(""), 0);
  EXPECT_EQ(DriveNumber("A"), 0);
  // A colon after something that is not a letter is no drive either.
  EXPECT_EQ(DriveNumber("1:\\"), 0);
  EXPECT_EQ(DriveNumber("@:\\"), 0);
}

TEST(InstallNoticeRules, PathToTypeUsesTheDirectorysSeparator) {
  EXPECT_EQ(GameProgramPath("/home/x"), "/home/x/SWAPST95");
  EXPECT_EQ(GameProgramPath("/home/x/"), "/home/x/SWAPST95");
  EXPECT_EQ(GameProgramPath("/"), "/SWAPST95");
  EXPECT_EQ(GameProgramPath("C:\\GAMES"), "C:\\GAMES\\SWAPST95");
  EXPECT_EQ(GameProgramPath("B:\\"), "B:\\SWAPST95");
  EXPECT_EQ(GameProgramPath("\\\\server\\share"), "\\\\server\\share\\SWAPST95");
  // A folder name holding a backslash on this system is still joined with "/".
  EXPECT_EQ(GameProgramPath("/home/odd\\name"), "/home/odd\\name/SWAPST95");
  EXPECT_EQ(GameProgramPath(""), "SWAPST95");
}

TEST_F(InstallNotice, OrdinaryFolderShowsOnlyTheInstructions) {
  TestQueueMessageBoxAnswer(IDOK);
  EXPECT_EQ(RunWinMain(), IDOK);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  const TestMessageBox& box = TestMessageBoxes()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, "Installation Instructions:");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(box.text, Instructions(Cwd() + "/SWAPST95"));
}

// However long the folder's path, and whatever its characters, the text names
// the whole of it and then the program.
TEST_F(InstallNotice, TheWholeDirectoryIsShownWhateverItsLength) {
  for (const std::string name : {"", "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"}) {
    for (std::size_t length : {std::size_t{119}, std::size_t{120}, std::size_t{700}}) {
      SCOPED_TRACE(name + " " + std::to_string(length));
      ASSERT_EQ(chdir(folder_.c_str()), 0);
      if (!name.empty()) {
        std::filesystem::create_directories(name);
        ASSERT_EQ(chdir(name.c_str()), 0);
      }
      const std::string directory = EnterDirectoryOfLength(length);
      TestMessageBoxes().clear();
      TestQueueMessageBoxAnswer(IDOK);
      EXPECT_EQ(RunWinMain(), IDOK);
      ASSERT_EQ(TestMessageBoxes().size(), 1u);
      EXPECT_EQ(TestMessageBoxes()[0].text, Instructions(directory + "/SWAPST95"));
    }
  }
}

TEST_F(InstallNotice, HardDiskAndNetworkPathsSkipTheNotice) {
  for (const char* directory : {"C:\\GAMES", "\\\\server\\share"}) {
    SCOPED_TRACE(directory);
    TestMessageBoxes().clear();
    TestQueueMessageBoxAnswer(IDOK);
    EXPECT_EQ(RunInstallNotice(directory), IDOK);
    ASSERT_EQ(TestMessageBoxes().size(), 1u);
    EXPECT_EQ(TestMessageBoxes()[0].caption, "Installation Instructions:");
  }
}

TEST_F(InstallNotice, NoAtTheFloppyNoticeEndsAtOnce) {
  for (const char* directory : {"A:\\", "B:\\"}) {
    SCOPED_TRACE(directory);
    TestMessageBoxes().clear();
    TestQueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(RunInstallNotice(directory), 0);
    ASSERT_EQ(TestMessageBoxes().size(), 1u);
    const TestMessageBox& box = TestMessageBoxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Notice");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(box.text, kNotice);
  }
}

TEST_F(InstallNotice, YesAtTheFloppyNoticeGoesOnToTheInstructions) {
  TestQueueMessageBoxAnswer(IDYES);
  TestQueueMessageBoxAnswer(IDOK);
  EXPECT_EQ(RunInstallNotice("B:\\"), IDOK);
  ASSERT_EQ(TestMessageBoxes().size(), 2u);
  EXPECT_EQ(TestMessageBoxes()[0].caption, "Notice");
  EXPECT_EQ(TestMessageBoxes()[1].caption, "Installation Instructions:");
  EXPECT_EQ(TestMessageBoxes()[1].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(TestMessageBoxes()[1].text, Instructions("B:\\SWAPST95"));
}

}  // namespace

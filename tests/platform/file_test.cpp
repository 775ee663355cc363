// The write path must never leave a torn or empty file: a failed write, a
// full disk or a killed process leaves the old file or the complete new one.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "platform/testing.h"

namespace {
std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteRaw(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

bool SaveThroughPlatform(const std::string& path, const std::string& bytes) {
  OFSTRUCT of;
  HFILE f = OpenFile(path.c_str(), &of, OF_CREATE | OF_WRITE);
  if (f == HFILE_ERROR) return false;
  bool ok = _lwrite(f, bytes.data(), (UINT)bytes.size()) == bytes.size();
  return _lclose(f) == 0 && ok;
}

int CountEntries(const std::string& dir) {
  int n = 0;
  std::string cmd = "ls -A '" + dir + "' | wc -l";
  FILE* p = popen(cmd.c_str(), "r");
  if (p && fscanf(p, "%d", &n) != 1) n = -1;
  if (p) pclose(p);
  return n;
}

int TempFiles(const std::string& dir) {
  int n = 0;
  DIR* d = opendir(dir.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) n += strncmp(e->d_name, ".swtmp-", 7) == 0;
  if (d) closedir(d);
  return n;
}

// Makes every temporary file of the folder look an hour old.
void AgeTempFiles(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  const timeval hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  while (dirent* e = d ? readdir(d) : nullptr)
    if (strncmp(e->d_name, ".swtmp-", 7) == 0) utimes((dir + "/" + e->d_name).c_str(), hourAgo);
  if (d) closedir(d);
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/swfileXXXXXX";
    dir = mkdtemp(tmpl);
    path = dir + "/record.dat";
    TestFailWritesAfter(-1);
  }
  void TearDown() override {
    TestFailWritesAfter(-1);
    umount2(dir.c_str(), MNT_DETACH);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string dir, path;
};
}  // namespace

TEST_F(FileTest, WritesReplaceWholeAndKeepPermissions) {
  WriteRaw(path, "old contents");
  chmod(path.c_str(), 0600);
  ASSERT_TRUE(SaveThroughPlatform(path, std::string(5000, 'n')));
  EXPECT_EQ(ReadAll(path), std::string(5000, 'n'));
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(CountEntries(dir), 1) << "no temporary file is left behind";

  HFILE f = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(f, HFILE_ERROR);
  char buf[6000];
  EXPECT_EQ(_lread(f, buf, sizeof buf), 5000u);
  _lclose(f);
  EXPECT_EQ(_lopen((dir + "/missing").c_str(), OF_READ), HFILE_ERROR);
  EXPECT_EQ(_lopen(dir.c_str(), OF_READ), HFILE_ERROR) << "a folder is not a file";
}

TEST_F(FileTest, AWriteFailingHalfWayLeavesTheOldFile) {
  const std::string old = "the old record, byte for byte";
  WriteRaw(path, old);
  TestFailWritesAfter(100);
  OFSTRUCT of;
  HFILE f = OpenFile(path.c_str(), &of, OF_CREATE | OF_WRITE);
  ASSERT_NE(f, HFILE_ERROR);
  std::string big(1000, 'x');
  EXPECT_EQ(_lwrite(f, big.data(), (UINT)big.size()), HFILE_WRITE_ERROR);
  EXPECT_EQ(_lclose(f), HFILE_ERROR) << "the failure is reported, not hidden";
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(CountEntries(dir), 1);
}

TEST_F(FileTest, AFullDiskLeavesTheOldFile) {
  if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a small disk here";
  const std::string old(20000, 'o');
  WriteRaw(path, old);
  ASSERT_EQ(ReadAll(path), old);
  // Larger than what is left on the disk.
  EXPECT_FALSE(SaveThroughPlatform(path, std::string(60000, 'N')));
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(CountEntries(dir), 1);
  // And a save that fits still works afterwards.
  EXPECT_TRUE(SaveThroughPlatform(path, std::string(30000, 'S')));
  EXPECT_EQ(ReadAll(path), std::string(30000, 'S'));
}

TEST_F(FileTest, AKilledWriterLeavesTheOldOrTheNewFileNeverATornOne) {
  const std::string old(30000, 'o'), next(30000, 'n');
  for (int round = 0; round < 12; ++round) {
    WriteRaw(path, old);
    pid_t child = fork();
    if (child == 0) {
      // Writes in small pieces, slowly, so the kill lands in the middle.
      OFSTRUCT of;
      HFILE f = OpenFile(path.c_str(), &of, OF_CREATE | OF_WRITE);
      for (size_t at = 0; at < next.size(); at += 1000) {
        _lwrite(f, next.data() + at, 1000);
        usleep(300);
      }
      _lclose(f);
      _exit(0);
    }
    usleep(1000 + round * 900);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    std::string now = ReadAll(path);
    EXPECT_TRUE(now == old || now == next) << "round " << round << ": " << now.size() << " bytes";
  }
  // What a killed writer left behind is cleared at the next start, once it
  // is old enough not to belong to a writer that is just starting.
  RemoveStaleTempFiles(dir.c_str());
  EXPECT_EQ(CountEntries(dir), 1 + TempFiles(dir));
  AgeTempFiles(dir);
  RemoveStaleTempFiles(dir.c_str());
  EXPECT_EQ(CountEntries(dir), 1);
}

TEST_F(FileTest, PipesAndDevicesAreNeitherReadNorReplaced) {
  // A reader that blocked would never come back; the alarm ends the test.
  alarm(20);
  const std::string pipe = dir + "/swapster.opt";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(_lopen(pipe.c_str(), OF_READ), HFILE_ERROR);
  EXPECT_EQ(_lopen(pipe.c_str(), OF_WRITE), HFILE_ERROR);
  EXPECT_EQ(_lopen("/dev/null", OF_READ), HFILE_ERROR);
  EXPECT_FALSE(SaveThroughPlatform(pipe, "options"));
  struct stat st;
  ASSERT_EQ(stat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "what is not a file is not ours to replace";
  EXPECT_EQ(CountEntries(dir), 1);
  alarm(0);
}

TEST_F(FileTest, NamesUpToTheLongestLegalOneCanBeWritten) {
  for (size_t length : {243, 250, 255}) {
    const std::string name = dir + "/" + std::string(length - 4, 'n') + ".sw3";
    EXPECT_TRUE(SaveThroughPlatform(name, "game " + std::to_string(length))) << length;
    EXPECT_EQ(ReadAll(name), "game " + std::to_string(length));
    unlink(name.c_str());
  }
  EXPECT_EQ(CountEntries(dir), 0);
}

TEST_F(FileTest, AWriteClearsAbandonedTemporaryFilesOfItsFolderOnly) {
  // What a killed save left beside a saved game far from the program folder.
  const std::string abandoned = dir + "/.swtmp-Ab3dE9", young = dir + "/.swtmp-Young1",
                    held = dir + "/.swtmp-Held22";
  for (const std::string& name : {abandoned, young, held}) WriteRaw(name, "half a record");
  // Names that only look like ours, and a folder of our form.
  for (const char* other : {"/notes.swtmp-abcdef", "/.swtmp-abc", "/.swtmp-ab_de!", "/keep.sw3"})
    WriteRaw(dir + other, "someone else's");
  ASSERT_EQ(mkdir((dir + "/.swtmp-Folder").c_str(), 0700), 0);
  AgeTempFiles(dir);
  utimes(young.c_str(), nullptr);
  // Another game running right now holds its temporary file.
  int other = open(held.c_str(), O_RDONLY);
  ASSERT_EQ(flock(other, LOCK_EX), 0);

  ASSERT_TRUE(SaveThroughPlatform(dir + "/game.sw3", "the new game"));
  EXPECT_NE(access(abandoned.c_str(), F_OK), 0) << "nothing else would ever remove it";
  EXPECT_EQ(access(young.c_str(), F_OK), 0);
  EXPECT_EQ(access(held.c_str(), F_OK), 0);
  EXPECT_EQ(CountEntries(dir), 8);
  close(other);
}

TEST_F(FileTest, CurrentDirectoryQueryNeverOverflows) {
  char small[8];
  memset(small, 'z', sizeof small);
  EXPECT_EQ(_getcwd(small, 2), nullptr);
  char buf[4096];
  ASSERT_NE(_getcwd(buf, sizeof buf), nullptr);
  EXPECT_EQ(buf[0], '/');
}

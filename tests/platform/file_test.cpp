// The write path must never leave a torn or empty file: a failed write, a
// full disk or a killed process leaves the old file or the complete new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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
    std::string cmd = "rm -rf '" + dir + "'";
    (void)system(cmd.c_str());
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
  // What a killed writer left behind is cleared at the next start.
  RemoveStaleTempFiles(dir.c_str());
  EXPECT_EQ(CountEntries(dir), 1);
}

TEST_F(FileTest, CurrentDirectoryQueryNeverOverflows) {
  char small[8];
  memset(small, 'z', sizeof small);
  EXPECT_EQ(_getcwd(small, 2), nullptr);
  char buf[4096];
  ASSERT_NE(_getcwd(buf, sizeof buf), nullptr);
  EXPECT_EQ(buf[0], '/');
}

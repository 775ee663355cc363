// File calls.  Reading is plain; writing goes to a temporary file beside the
// target that replaces it only when it was closed complete, so that a crash,
// a full disk or a failed write never leaves a torn or empty file behind.
// Programs that share a folder take its update lock while they re-read a file
// and write it back with their own changes merged in.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>
#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {
// A temporary file is named by the mark and six random letters or digits
// alone, so that its name fits whatever the target's name is.  The writer
// holds a lock on it for as long as it may still become the target.
const char kTempMark[] = ".swtmp-";
constexpr size_t kTempRandom = 6;
// A temporary file younger than this may belong to a writer that has not
// taken its lock yet.
constexpr time_t kStaleSeconds = 60;

struct PendingWrite {
  std::string target;
  std::string temp;
  int lock = -1;  // a second descriptor that keeps the lock until the rename
  bool failed = false;
};
std::map<int, PendingWrite> g_writes;
long g_failAfter = -1;
long g_written = 0;

// The update locks this program holds, by folder: a second lock on a folder
// it already holds only counts, as a second open of the folder would wait
// for the first.
struct FolderLock {
  dev_t device;
  ino_t inode;
  int fd;
  int count;
};
std::vector<FolderLock> g_folderLocks;
// A writer holds the lock for a read and a write of a small file; one that
// holds it much longer than this is stopped or stuck, and waiting on would
// only stop this program too.
constexpr int kLockWaitMilliseconds = 10000;

std::string Directory(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

bool IsTempName(const char* name) {
  const size_t markLength = sizeof(kTempMark) - 1;
  if (strncmp(name, kTempMark, markLength) != 0 || strlen(name) != markLength + kTempRandom) return false;
  for (const char* p = name + markLength; *p; ++p)
    if (!isalnum((unsigned char)*p)) return false;
  return true;
}

// A temporary file of ours that no writer holds any more: a regular file of
// this user, old enough, and not locked.
bool IsAbandonedTemp(int dirFd, const char* name) {
  struct stat st;
  if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid())
    return false;
  if (time(nullptr) - st.st_mtime < kStaleSeconds) return false;
  int fd = openat(dirFd, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}
}  // namespace

HFILE _lopen(LPCSTR path, int mode) {
  if (!path) return HFILE_ERROR;
  int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
  // Not blocking: a named pipe or a device would otherwise hold the game
  // before the check below could refuse it.
  int fd = open(path, flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return HFILE_ERROR;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return HFILE_ERROR;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
  if (file < 0 || !buffer) return HFILE_WRITE_ERROR;
  UINT done = 0;
  char* p = static_cast<char*>(buffer);
  while (done < bytes) {
    ssize_t n = read(file, p + done, bytes - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done ? done : HFILE_WRITE_ERROR;
    if (n == 0) break;
    done += (UINT)n;
  }
  return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
  if (file < 0 || origin < 0 || origin > 2) return HFILE_ERROR;
  const off_t at = lseek(file, offset, origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END);
  return at < 0 || at > 0x7FFFFFFF ? HFILE_ERROR : (LONG)at;
}

HFILE OpenFile(LPCSTR path, OFSTRUCT* info, UINT style) {
  if (!path) return HFILE_ERROR;
  if (info) {
    memset(info, 0, sizeof(*info));
    info->cBytes = sizeof(*info);
    snprintf(info->szPathName, sizeof(info->szPathName), "%s", path);
  }
  if (!(style & OF_CREATE)) return _lopen(path, style);
  std::string target = path;
  // Only a file is replaced: a pipe, a device or a folder of that name stays.
  struct stat st;
  const bool exists = stat(path, &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    if (info) info->nErrCode = (WORD)EEXIST;
    return HFILE_ERROR;
  }
  // What an earlier, interrupted write left in this folder goes now: nothing
  // else would ever remove it.
  const std::string dir = Directory(target);
  RemoveStaleTempFiles(dir.c_str());
  std::string temp = (dir == "/" ? "" : dir) + "/" + kTempMark + std::string(kTempRandom, 'X');
  int fd = mkostemp(&temp[0], O_CLOEXEC);
  if (fd < 0) {
    if (info) info->nErrCode = (WORD)errno;
    return HFILE_ERROR;
  }
  // Where the file system has no locks, the file's age alone keeps it.
  int lock = dup(fd);
  if (lock >= 0) flock(lock, LOCK_EX);
  // Keep the permissions of the file being replaced; a new file gets the
  // usual ones.
  mode_t mode = 0666;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  fchmod(fd, mode);
  g_writes[fd] = PendingWrite{target, temp, lock, false};
  return fd;
}

UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes) {
  auto it = g_writes.find(file);
  if (file < 0 || !buffer) return HFILE_WRITE_ERROR;
  UINT done = 0;
  while (done < bytes) {
    size_t chunk = bytes - done;
    if (g_failAfter >= 0) {
      if (g_written >= g_failAfter) {
        errno = ENOSPC;
        if (it != g_writes.end()) it->second.failed = true;
        return HFILE_WRITE_ERROR;
      }
      chunk = std::min<size_t>(chunk, (size_t)(g_failAfter - g_written));
    }
    ssize_t n = write(file, buffer + done, chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (it != g_writes.end()) it->second.failed = true;
      return HFILE_WRITE_ERROR;
    }
    done += (UINT)n;
    g_written += n;
  }
  return done;
}

HFILE _lclose(HFILE file) {
  if (file < 0) return HFILE_ERROR;
  auto it = g_writes.find(file);
  if (it == g_writes.end()) return close(file) == 0 ? 0 : HFILE_ERROR;
  PendingWrite w = it->second;
  g_writes.erase(it);
  bool ok = !w.failed;
  if (ok && fsync(file) != 0) ok = false;
  if (close(file) != 0) ok = false;
  if (ok && rename(w.temp.c_str(), w.target.c_str()) != 0) ok = false;
  if (!ok) unlink(w.temp.c_str());
  if (w.lock >= 0) close(w.lock);
  if (!ok) return HFILE_ERROR;
  SyncDirectory(Directory(w.target));
  return 0;
}

HFILE LockFileUpdate(LPCSTR path) {
  if (!path || !*path) return HFILE_ERROR;
  // The file itself is replaced by every write, and a lock on it would go
  // with the old file; its folder stays.
  int fd = open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return HFILE_ERROR;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return HFILE_ERROR;
  }
  for (FolderLock& held : g_folderLocks) {
    if (held.device == st.st_dev && held.inode == st.st_ino) {
      close(fd);
      ++held.count;
      return held.fd;
    }
  }
  int waited = 0;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kLockWaitMilliseconds) {
      close(fd);
      return HFILE_ERROR;
    }
    const timespec pause = {0, 2 * 1000 * 1000};
    nanosleep(&pause, nullptr);
    waited += 2;
  }
  g_folderLocks.push_back(FolderLock{st.st_dev, st.st_ino, fd, 1});
  return fd;
}

void UnlockFileUpdate(HFILE lock) {
  for (size_t i = 0; i < g_folderLocks.size(); ++i) {
    if (g_folderLocks[i].fd != lock) continue;
    if (--g_folderLocks[i].count == 0) {
      close(lock);  // and with it the lock
      g_folderLocks.erase(g_folderLocks.begin() + (long)i);
    }
    return;
  }
}

void RemoveStaleTempFiles(const char* directory) {
  std::string dir = directory && *directory ? directory : ".";
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  const int dirFd = dirfd(d);
  while (dirent* e = readdir(d))
    if (IsTempName(e->d_name) && IsAbandonedTemp(dirFd, e->d_name)) unlinkat(dirFd, e->d_name, 0);
  closedir(d);
}

char* _getcwd(char* buffer, int maxLength) {
  if (!buffer || maxLength <= 0) return nullptr;
  std::string cwd;
  std::vector<char> tmp(4096);
  while (!getcwd(tmp.data(), tmp.size())) {
    if (errno != ERANGE || tmp.size() > (1u << 20)) return nullptr;
    tmp.resize(tmp.size() * 2);
  }
  cwd = tmp.data();
  if ((int)cwd.size() + 1 > maxLength) {
    errno = ERANGE;
    return nullptr;
  }
  memcpy(buffer, cwd.c_str(), cwd.size() + 1);
  return buffer;
}

void TestFailWritesAfter(long bytes) {
  g_failAfter = bytes;
  g_written = 0;
}

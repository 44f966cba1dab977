#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kv {
namespace {

#if defined(_WIN32)
using Stat = struct _stat64;
int open_read(const char* path) { return _open(path, _O_RDONLY | _O_BINARY); }
int stat_of(int fd, Stat* st) { return _fstat64(fd, st); }
bool is_folder(const Stat& st) { return (st.st_mode & _S_IFMT) == _S_IFDIR; }
bool is_regular(const Stat& st) { return (st.st_mode & _S_IFMT) == _S_IFREG; }
long read_some(int fd, char* buf, size_t n) {
  return _read(fd, buf, static_cast<unsigned>(n > (1u << 30) ? (1u << 30) : n));
}
long write_some(int fd, const char* buf, size_t n) {
  return _write(fd, buf, static_cast<unsigned>(n > (1u << 30) ? (1u << 30) : n));
}
int close_file(int fd) { return _close(fd); }
int sync_file(int fd) { return _commit(fd); }
#else
using Stat = struct stat;
// Without O_NONBLOCK the open of a FIFO waits for a writer.
int open_read(const char* path) { return open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY); }
int stat_of(int fd, Stat* st) { return fstat(fd, st); }
bool is_folder(const Stat& st) { return S_ISDIR(st.st_mode); }
bool is_regular(const Stat& st) { return S_ISREG(st.st_mode); }
long read_some(int fd, char* buf, size_t n) { return static_cast<long>(read(fd, buf, n)); }
long write_some(int fd, const char* buf, size_t n) { return static_cast<long>(write(fd, buf, n)); }
int close_file(int fd) { return close(fd); }
int sync_file(int fd) { return fsync(fd); }
#endif

FileError open_error(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return FileError::Missing;
    case EISDIR:
      return FileError::Folder;
    case ENOMEM:
      return FileError::OutOfMemory;
    default:
      return FileError::Unreadable;
  }
}

FileError read_open(int fd, size_t limit, std::string* text) {
  Stat st;
  if (stat_of(fd, &st) != 0) return FileError::Unreadable;
  if (is_folder(st)) return FileError::Folder;
  if (!is_regular(st)) return FileError::NotRegular;
  if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > limit)
    return FileError::TooLarge;
  try {
    text->assign(static_cast<size_t>(st.st_size) + 1, '\0');
  } catch (const std::bad_alloc&) {
    return FileError::OutOfMemory;
  }
  // One byte more than the size, to see a file that grew meanwhile.
  size_t got = 0;
  while (got < text->size()) {
    const long r = read_some(fd, &(*text)[got], text->size() - got);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return FileError::Unreadable;
    if (r == 0) break;
    got += static_cast<size_t>(r);
    if (got > limit) return FileError::TooLarge;
    if (got == text->size()) {
      char more;
      long extra;
      do {
        extra = read_some(fd, &more, 1);
      } while (extra < 0 && errno == EINTR);
      if (extra != 0) return extra > 0 ? FileError::TooLarge : FileError::Unreadable;
    }
  }
  text->resize(got);
  return FileError::None;
}

// The file a new version is written to before it is renamed: the name with
// a suffix made unique by the process and a counter.
int open_temporary(const std::string& path, std::string* tmp) {
#if defined(_WIN32)
  static long counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".tmp%d.%ld", _getpid(), ++counter);
    *tmp = path + suffix;
    const int fd =
        _open(tmp->c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
#else
  *tmp = path + ".XXXXXX";
  const int fd = mkstemp(&(*tmp)[0]);
  if (fd >= 0) {
    // mkstemp makes the file private; a wisdom file is not secret. The mode
    // of the file it replaces, else what the umask lets through.
    Stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      fchmod(fd, st.st_mode & 07777);
    } else {
      fchmod(fd, 0644);
    }
  }
  return fd;
#endif
}

bool rename_over(const char* from, const char* to) {
#if defined(_WIN32)
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from, to) == 0;
#endif
}

// The folder's own entry, so that the rename survives a crash too.
void sync_folder(const std::string& path) {
#if !defined(_WIN32)
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "."
                          : slash == 0               ? "/"
                                                     : path.substr(0, slash);
  const int fd = open(dir.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
#else
  static_cast<void>(path);
#endif
}

}  // namespace

FileError read_small_file(const char* path, size_t limit, std::string* text) {
  text->clear();
  if (path == nullptr || *path == '\0') return FileError::Missing;
  const int fd = open_read(path);
  if (fd < 0) return open_error(errno);
  const FileError e = read_open(fd, limit, text);
  close_file(fd);
  if (e != FileError::None) text->clear();
  return e;
}

FileError replace_file(const char* path, const char* data, size_t size) {
  if (path == nullptr || *path == '\0') return FileError::Unwritable;
  std::string target, tmp;
  try {
    target = path;
  } catch (const std::bad_alloc&) {
    return FileError::OutOfMemory;
  }
  Stat st;
#if defined(_WIN32)
  if (_stat64(path, &st) == 0 && is_folder(st)) return FileError::Folder;
#else
  if (stat(path, &st) == 0 && S_ISDIR(st.st_mode)) return FileError::Folder;
#endif
  int fd = -1;
  try {
    fd = open_temporary(target, &tmp);
  } catch (const std::bad_alloc&) {
    return FileError::OutOfMemory;
  }
  if (fd < 0)
    return errno == ENOENT || errno == ENOTDIR ? FileError::Missing : FileError::Unwritable;
  bool ok = true;
  for (size_t done = 0; ok && done < size;) {
    const long w = write_some(fd, data + done, size - done);
    if (w < 0 && errno == EINTR) continue;
    ok = w > 0;
    if (ok) done += static_cast<size_t>(w);
  }
  ok = ok && sync_file(fd) == 0;
  ok = close_file(fd) == 0 && ok;
  ok = ok && rename_over(tmp.c_str(), path);
  if (!ok) {
    std::remove(tmp.c_str());
    return FileError::Unwritable;
  }
  sync_folder(target);
  return FileError::None;
}

}  // namespace kv

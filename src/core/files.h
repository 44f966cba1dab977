// Small files read and written safely: a read that never blocks and never
// takes more than it was allowed (a FIFO, a device or a huge file named by
// mistake is refused at once), and a write that replaces a file whole or
// not at all (a crash or a full disk leaves the old file, never half of the
// new one).
#pragma once

#include <cstddef>
#include <string>

namespace kv {

enum class FileError : int {
  None = 0,
  Missing,      // no such file, or a folder on its path is missing
  Folder,       // the name is a folder
  NotRegular,   // a device, a FIFO or a socket
  TooLarge,     // more bytes than allowed
  Unreadable,   // no permission, or a read failed
  Unwritable,   // the folder cannot take a new file, or writing it failed
  OutOfMemory,  // no room for the contents
};

// Reads the regular file at `path`, at most `limit` bytes, into *text. The
// file is opened without blocking and checked before a byte is read; a file
// that grows past `limit` while it is read is refused too.
FileError read_small_file(const char* path, size_t limit, std::string* text);

// Writes `size` bytes to the file at `path` through a new file in the same
// folder, flushed to the disk and then renamed over `path`. On failure
// `path` is as it was and nothing else is left behind.
FileError replace_file(const char* path, const char* data, size_t size);

}  // namespace kv

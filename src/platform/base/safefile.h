#pragma once
// The one way the program writes a file the user named (data files, text
// reports, PDFs): the new contents go to a temporary file beside the real
// target and take its name only once they are complete on the disk.
//
// - A symbolic link is followed: the file it points to gets the new contents
//   and the link stays a link.
// - A target that is not a regular file (a device, a pipe, a folder) is
//   refused, and so is a file the user may not write; for root, who may write
//   anything, a file without any write permission counts as one the user
//   marked read-only.
// - A file written over keeps its permissions (and, where allowed, its owner).
// - Every write, the final flush, the sync and the close are checked before
//   the rename (QSaveFile::commit() of Qt 6.4 reports success after a failed
//   flush, so a full disk went unnoticed). On any failure the temporary file
//   is removed and the old file is exactly as it was.
#include <cstddef>
#include <functional>
#include <string>

namespace safefile {

enum class Problem {
  None,
  NotRegular,  // the target is a device, a pipe, a folder, a socket
  ReadOnly,    // the user may not write the target
  LinkLoop,    // the links do not end in a file
  Create,      // no temporary file beside the target (missing or read-only folder)
  Write,       // a write, the flush, the sync or the close failed (a full disk)
  Incomplete,  // the contents' own check found them unfinished
  Rename,      // the temporary file could not take the target's name
};

class SafeFile {
 public:
  explicit SafeFile(std::string path);
  ~SafeFile();  // an unfinished file is dropped
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // Checks the target and creates the temporary file; false (and problem())
  // when the target cannot be written.
  bool open();
  // Appends bytes; false once anything failed.
  bool write(const void* data, std::size_t size);
  bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
  // Makes the temporary file the target: flush, sync and close are checked,
  // then `complete` (if given) looks at the finished temporary file by its
  // name. False: the temporary file is gone and the target is untouched.
  bool commit(const std::function<bool(const std::string& tempPath)>& complete = {});
  // Drops the temporary file.
  void cancel();

  // The file that takes the contents (links followed) and the temporary file
  // that holds them until commit(); a writer that opens files by name (the
  // PDF engine) writes into tempPath().
  const std::string& target() const { return target_; }
  const std::string& tempPath() const { return temp_; }
  Problem problem() const { return problem_; }
  // errno of the failure, 0 when there was none or it had no system cause.
  int error() const { return error_; }

 private:
  bool fail(Problem p, int err);
  bool flushBuffer();
  std::string path_, target_, temp_;
  std::string buffer_;
  int fd_ = -1;
  Problem problem_ = Problem::None;
  int error_ = 0;
};

// The path a chain of symbolic links ends at (the last one may not exist
// yet: a link to a file still to be written); false when the links do not end.
bool followLinks(std::string path, std::string& target);

// A write past a file-size limit (ulimit -f) fails like one on a full disk
// instead of ending the program; every writer calls this first.
void ignoreFileSizeSignal();

// Whether the effective user may write over the existing file `path` (see
// above for root).
bool mayWrite(const std::string& path);

// Reads the first `limit` bytes of the plain file `path` (links followed).
// What is opened is what is judged: the name is opened without waiting and
// read only when the file opened is a plain file, so a pipe or a device put
// under the name after a look at it holds nothing up. `size` gets the whole
// length of the file read. Returns 0, ENOENT or ENOTDIR when there is no
// such file, EISDIR when it is no plain file (a folder, a pipe, a device),
// or the error that stopped the read.
int readPlainFile(const std::string& path, std::size_t limit, std::string& bytes, long long* size = nullptr);

}  // namespace safefile

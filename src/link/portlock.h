#pragma once
// The conventional serial lock files ("LCK..<name>") that terminal programs,
// modem tools and the port library leave in the lock folders. Those folders
// are writable by everyone, so a name there may be anything: it is looked at
// without following links or waiting, and only a plain file's first bytes
// are read.
#include <sys/types.h>

#include <string>
#include <vector>

namespace radiolink::portlock {

// What the lock files of a device say.
struct Finding {
  enum Kind {
    kFree,        // no lock, or only locks whose process has ended (removed)
    kHeld,        // a lock names a process that runs
    kUnreadable,  // a lock name that is no plain file, or cannot be read
    kNoProcess,   // a plain file whose bytes name no process
  };
  Kind kind = kFree;
  std::string file;  // the lock file that holds the device, cannot be read or names no process
  long long pid = 0;  // kHeld: the running process it names
};

// The processes a lock's bytes name: the number at the start of the first
// line (blanks before it; a blank, a line end, a zero byte or the end after
// it, and whatever follows that, the program's name and user, ignored),
// whatever the file's length. Four bytes whose last one is zero are the old
// binary id, and may be text as well: "12\0\0" is process 12849 as an old
// binary lock and process 12 as a C string with its terminator, and nothing
// tells the two apart. Such a lock names both, its binary id first.
// kEmpty: nothing in it yet; kNoProcess: bytes that name no process.
struct LockContent {
  enum Kind { kEmpty, kProcess, kNoProcess };
  Kind kind = kEmpty;
  std::vector<long long> pids;  // kProcess: one, or two for a lock that reads both ways
};
LockContent parse(const std::string& bytes);

// The lock names of the device at `path` (as the port opens it): the path
// under /dev with '/' as '_' (as the port names its own; for a link, the
// link's path), the last name the path was given by (a terminal program opened
// through a link names its lock so), and for the device the path leads to,
// that name and the device's last name.
std::vector<std::string> names(const std::string& path);

// Looks for the device's locks in the lock folders; the first one that keeps
// the port closed ends the search.
Finding look(const std::string& path);

// The lock this process holds for the device at `path`, as the port library
// made it when it opened the port (in whichever lock folder it chose): a
// plain file of this user's under the port's own lock name that names this
// process. Empty `file` when there is none.
struct OwnLock {
  std::string file;
  dev_t device = 0;
  ino_t inode = 0;
  std::string head;  // its first bytes, as read
};
OwnLock own(const std::string& path);

// The lock folders: those the port library chooses from, in its order, and
// the user's temporary folder, its last resort. Other programs keep their
// locks in the first of them. Tests use their own; {} restores these.
void setFolders(std::vector<std::string> folders);
const std::vector<std::string>& folders();

}  // namespace radiolink::portlock

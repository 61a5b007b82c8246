#pragma once
// The conventional serial lock files ("LCK..<name>") that terminal programs
// and modem tools leave in the lock folders. Those folders are writable by
// everyone, so a name there may be anything: it is looked at without
// following links or waiting, and only a plain file's first bytes are read.
#include <string>
#include <vector>

namespace radiolink::portlock {

// What the lock files of a device say.
struct Finding {
  enum Kind {
    kFree,        // no lock, or only locks whose process has ended (removed)
    kHeld,        // a lock names a process that runs
    kUnreadable,  // a lock name that is no plain file or cannot be read
  };
  Kind kind = kFree;
  std::string file;  // the lock file that holds the device or cannot be read
};

// The lock names of the device at `path` (as the port opens it): the path
// under /dev with '/' as '_' (as the port names its own; for a link, the
// link's path), the last name the path was given by (a terminal program opened
// through a link names its lock so), and for the device the path leads to,
// that name and the device's last name.
std::vector<std::string> names(const std::string& path);

// Looks for the device's locks in the lock folders; the first one that keeps
// the port closed ends the search.
Finding look(const std::string& path);

// The folders looked in (normally /run/lock and /var/lock); tests use their own.
void setFolders(std::vector<std::string> folders);

}  // namespace radiolink::portlock

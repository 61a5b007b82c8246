#pragma once
// Shared test fixtures: a message service that answers from a script and
// records what was shown, a temporary folder, and a fresh shared model.
#include <sys/types.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/msgservice.h"

struct ShownBox {
  std::string text;
  int style = 0;
  std::string title;
};

class RecordingMessages : public MessageService {
 public:
  RecordingMessages();
  ~RecordingMessages() override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void playWave(const std::string& path) override;

  std::vector<ShownBox> boxes;
  std::vector<std::string> waves;
  std::deque<int> answers;  // answers in turn; OK when empty
};

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Resets the shared model to a fresh run and points the settings store at a
// file in `dir`.
void freshModel(const TempDir& dir);
// Sets up a family the way the start-up page's Next does: family tables,
// image sized, loaded from the family's initial file.
bool setUpFamily(const std::string& family);

std::vector<uint8_t> readFileBytes(const std::string& path);
// How many files this process holds open now.
size_t openDescriptors();
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// What an ordinary user meets where the test may run as root, who passes
// every access check: runs `body` and returns what it returned. As an
// ordinary user, here; as root, in a child process that first becomes
// uid and gid 65534 in no other group, so `body` tells what it saw by what
// it returns, never by EXPECT (a child's failures are not the test's). The
// child first checks that it reaches `folder`, the test's own. A child that
// cannot become that user, cannot reach the folder, ends without returning
// or is still busy after 30 s (then ended) returns a text in [] that says so.
std::string asOrdinaryUser(const std::string& folder, const std::function<std::string()>& body);
// Runs `body` in a child process and returns what it returned, or a text in
// [] that says how the child failed (it is ended after 30 s).
std::string inChild(const std::function<std::string()>& body);
// Makes the namespaces `namespaces` (CLONE_NEW* flags) this process's own;
// an ordinary user's in a user namespace of its own, as the same user.
bool unshareAsSameUser(int namespaces);
// Runs `body` as the first process of a process-id namespace of its own,
// where startWithProcessId may choose ids; returns what it returned, or a
// text in [] that says why it could not run.
std::string inOwnProcessIds(const std::function<std::string()>& body);
// There: a child that waits until it is ended, with the process id `id`;
// -1 where that id cannot be given.
pid_t startWithProcessId(pid_t id);
// Where the test runs as root, gives `path` and all beneath it (links
// themselves, not their targets) to the user asOrdinaryUser becomes, as the
// user's own files are in a run as an ordinary user; otherwise leaves them
// as they are. False if that failed.
bool ownedByOrdinaryUser(const std::string& path);

// In a child the test ends by a signal, before it runs the program: the end
// signals as a terminal gives them. A test run started as a background job
// of a script ignores SIGINT and SIGQUIT, and a child inherits that: Ctrl-C
// would then end nothing. Only what a signal handler may call.
void endSignalsAsDefault();

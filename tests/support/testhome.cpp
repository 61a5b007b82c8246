// Linked into every test and benchmark program: before anything else runs,
// the program gets a home of its own, a fresh temporary folder with its XDG
// folders, so that no test reads or writes the user's home (Qt's file dialog
// keeps its history in ~/.config/QtProject.conf, the program makes its data
// folder under ~/.local/share). Programs a test starts (the program itself,
// the simulated radio) inherit it. The folder goes when the program ends.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
class OwnHome {
 public:
  OwnHome() {
    // A test program a test started again (to be ended by a signal, say)
    // lives in the home of the one that started it: its own would stay
    // behind whenever it does not end by returning.
    if (const char* given = std::getenv("VELMORA_TEST_HOME"); given && *given) {
      struct stat st {};
      if (::stat(given, &st) == 0 && S_ISDIR(st.st_mode)) return;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-home-XXXXXX";
    if (!::mkdtemp(folder.data()) || ::mkdir((folder + "/runtime").c_str(), 0700) != 0) {
      std::perror("a temporary home for the tests");
      std::_Exit(1);
    }
    folder_ = folder;
    owner_ = ::getpid();
    ::setenv("VELMORA_TEST_HOME", folder.c_str(), 1);
    ::setenv("HOME", (folder + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder + "/home/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder + "/home/.local/share").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (folder + "/home/.cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (folder + "/runtime").c_str(), 1);
    std::filesystem::create_directories(folder + "/home");
  }
  ~OwnHome() {
    // Not in a child a test forked: the folder is its parent's.
    if (folder_.empty() || ::getpid() != owner_) return;
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

 private:
  std::string folder_;
  pid_t owner_ = 0;
};

const OwnHome home;
}  // namespace

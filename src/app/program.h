#pragma once
// The program's controller: its run, its end, the command line, and the
// pages plugged into it. Pages depend on it; it knows no page of its own,
// only the factories main() registers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QApplication;
class Page;

// Runs the program: message service, string table, the registered start
// page, event loop; returns the exit status. `arguments` are those after the
// program's name, as the shell passed them.
int runProgram(QApplication& application, std::vector<std::string> arguments);

namespace program {

// Called before the application object exists: an unattended write (`/F`)
// started where no screen can be opened (no display at all, as from cron; a
// display that does not answer or lets us not in, as after a dropped ssh
// forwarding) runs on Qt's offscreen platform, so its messages go to standard
// error and its exit status tells the result, instead of Qt ending the
// program because it cannot open the display. An interactive run needs an X
// display that answers and lets us in, or a Wayland compositor that answers
// and a Qt Wayland plugin: without either it returns false, and main() ends
// the run with sayNoScreen(). A platform the user chose is kept (true).
bool chooseScreen(const std::vector<std::string>& arguments);
// Says on standard error, in the program's language, that the screen cannot
// be opened and that `/F` writes without one; returns the exit status, 1.
int sayNoScreen();
// On around the making of the application object: a platform Qt cannot start
// after all (one the user chose with QT_QPA_PLATFORM, a display that answered
// but whose plugin fails) ends the run with that message and status 1, not
// with Qt's abort and core dump.
void watchScreenStart(bool on);

// An unattended write (`/F`) answers with its exit status and says only what
// failed: what Qt itself says along the way (a platform plugin's remarks, a
// runtime folder that is not set, as from cron) is kept from the start of
// the run, before the application object exists, and said on standard error
// only when the run fails (sayHeldMessages with a status other than 0, or a
// start that fails), after the run's own words, so that a script's success
// leaves it empty.
void holdQtMessages(const std::vector<std::string>& arguments);
// Says what was kept when `status` is a failure; returns `status`.
int sayHeldMessages(int status);

// Ends the program: every page is closed without its unload handler and the
// event loop stops with `status`. Callers return right after.
void End(int status = 0);
bool ended();
int exitStatus();
// Tests start each run afresh.
void resetEnded();

// The command line the start-up page parses: the arguments after the
// program's name, one token each (never joined and split again, so a name
// holding blanks stays whole).
void setArguments(std::vector<std::string> arguments);
const std::vector<std::string>& arguments();

// Pages the main menu opens, by button index 0..10 (0 Channel Menu,
// 1 Miscellaneous, 2 Encode Set, 3 Scan Set, 4 Memory Encode, 5 Priority CH
// Set, 6 Decode Set, 7 Channel Name, 8 File Utility, 9 Programming, 10 Print
// Out). A subsystem plugs its page in with one line before runProgram, e.g.
//   program::registerMainMenuPage(9, [] { return std::make_unique<FrmProgramming>(); });
// A button without an opener stays disabled. The command-line road hands over
// to the opener of button 9 (the link page).
using PageFactory = std::function<std::unique_ptr<Page>()>;
// The first page of a run (the start-up page), registered by main() before
// runProgram; the page hands over to the next one and deletes itself.
void registerStartPage(PageFactory factory);
constexpr int kMainMenuButtons = 11;
constexpr int kProgrammingButton = 9;
void registerMainMenuPage(int index, PageFactory factory);
void unregisterMainMenuPages();
bool hasMainMenuPage(int index);
std::unique_ptr<Page> makeMainMenuPage(int index);

}  // namespace program

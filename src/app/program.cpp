#include "app/program.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QWidget>
#include <array>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/gui/qtmessages.h"
#include "platform/gui/vbui.h"

namespace program {
namespace {
bool g_ended = false;
int g_status = 0;
std::vector<std::string> g_arguments;
PageFactory& startPage() {
  static PageFactory f;
  return f;
}
std::array<PageFactory, kMainMenuButtons>& factories() {
  static std::array<PageFactory, kMainMenuButtons> f;
  return f;
}

bool envSet(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// Whether an X server answers on DISPLAY and lets us in. Asked through
// libxcb, the library Qt's own X plugin opens: a server that is not there
// (a dropped ssh forwarding) or that refuses us (no cookie, as from cron)
// fails here as it would fail Qt, without a library the program must link.
bool xServerAnswers() {
  if (!envSet("DISPLAY")) return false;
  void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!xcb) return false;
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
  const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
  const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
  bool answers = false;
  if (connect && hasError && disconnect) {
    void* connection = connect(nullptr, nullptr);
    answers = hasError(connection) == 0;
    disconnect(connection);
  }
  ::dlclose(xcb);
  return answers;
}

// Whether a Wayland compositor listens on WAYLAND_DISPLAY (a name in
// XDG_RUNTIME_DIR, or a whole path).
bool waylandAnswers() {
  if (!envSet("WAYLAND_DISPLAY")) return false;
  std::string path = std::getenv("WAYLAND_DISPLAY");
  if (path[0] != '/') {
    if (!envSet("XDG_RUNTIME_DIR")) return false;
    path = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" + path;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

// Whether Qt has a Wayland platform plugin where it looks for one (the
// plugin is a package of its own and often not installed).
bool waylandPluginInstalled() {
  QStringList folders;
  if (envSet("QT_QPA_PLATFORM_PLUGIN_PATH")) folders << qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
  for (const QString& path : qEnvironmentVariable("QT_PLUGIN_PATH").split(':', Qt::SkipEmptyParts))
    folders << path + "/platforms";
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";
  folders << QString::fromStdString(app::path()) + "/platforms";
  for (const QString& folder : folders)
    if (!QDir(folder).entryList({"libqwayland*.so"}, QDir::Files).isEmpty()) return true;
  return false;
}

// The environment the screen was looked for in, one "NAME=value" line each.
std::string screenSettings(std::initializer_list<const char*> names) {
  std::string lines;
  for (const char* name : names)
    if (envSet(name)) lines += std::string("\n") + name + "=" + std::getenv(name);
  return lines;
}

std::string g_noScreen;
QtMessageHandler g_qtHandler = nullptr;

// Whether the arguments ask for an unattended write.
bool unattendedWrite(const std::vector<std::string>& arguments) {
  for (const std::string& a : arguments)
    if (a.size() >= 2 && a[0] == '/' && (a[1] == 'F' || a[1] == 'f')) return true;
  return false;
}

// Qt's messages of an unattended run, kept until its end. Qt may say
// something from any of its threads.
std::mutex& heldLock() {
  static auto* m = new std::mutex;
  return *m;
}
std::string& held() {
  static auto* h = new std::string;
  return *h;
}

void sayHeld() {
  std::lock_guard<std::mutex> hold(heldLock());
  std::fputs(held().c_str(), stderr);
  std::fflush(stderr);
  held().clear();
}

void keep(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  std::lock_guard<std::mutex> hold(heldLock());
  held() += qFormatLogMessage(type, context, message).toLocal8Bit().toStdString() + "\n";
}

void holdingHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  keep(type, context, message);
  // Qt ends the program after a fatal message: the run has failed.
  if (type == QtFatalMsg) sayHeld();
}

// While the application object is made: Qt ends the program with a fatal
// message (and a core dump) when the platform plugin cannot start; the run
// says why in its own words and ends with status 1 instead.
void screenStartHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (g_qtHandler) g_qtHandler(type, context, message);
    return;
  }
  // The run's own words first, then what Qt said on the way, its last
  // message among them, as a failed unattended write says them.
  std::fprintf(stderr, "%s\n", g_noScreen.c_str());
  std::fflush(stderr);
  if (g_qtHandler == holdingHandler) {
    keep(type, context, message);
    sayHeld();
  }
  std::_Exit(1);
}

std::string noScreenText() {
  strtable::load();
  return std::string(app::kTitle) + ": " + LoadResString(10106);
}
}  // namespace

void End(int status) {
  g_ended = true;
  g_status = status;
  // Hide every window; no unload handler runs, as when a program ends.
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(status);
}
bool ended() { return g_ended; }
int exitStatus() { return g_status; }
void resetEnded() {
  g_ended = false;
  g_status = 0;
}

void holdQtMessages(const std::vector<std::string>& arguments) {
  if (unattendedWrite(arguments)) qInstallMessageHandler(holdingHandler);
}

int sayHeldMessages(int status) {
  if (status != 0) sayHeld();
  return status;
}

bool chooseScreen(const std::vector<std::string>& arguments) {
  if (envSet("QT_QPA_PLATFORM")) return true;
  for (const std::string& a : arguments)
    if (a == "-platform" || a == "--platform") return true;  // Qt's own option: the user's choice
  if (xServerAnswers()) return true;
  // Qt would end the run (status 134) on a screen it cannot open; an
  // unattended write goes on without one and answers with its own status.
  if (unattendedWrite(arguments)) {
    ::setenv("QT_QPA_PLATFORM", waylandAnswers() ? "wayland;offscreen" : "offscreen", 1);
    return true;
  }
  // An interactive run needs a screen: a Wayland compositor Qt can talk to,
  // else none at all.
  return waylandAnswers() && waylandPluginInstalled();
}

int sayNoScreen() {
  std::fprintf(stderr, "%s%s\n", noScreenText().c_str(), screenSettings({"DISPLAY", "WAYLAND_DISPLAY"}).c_str());
  return 1;
}

void watchScreenStart(bool on) {
  if (on) {
    g_noScreen = noScreenText() + screenSettings({"QT_QPA_PLATFORM"});
    g_qtHandler = qInstallMessageHandler(screenStartHandler);
  } else {
    qInstallMessageHandler(g_qtHandler);
  }
}

void setArguments(std::vector<std::string> arguments) { g_arguments = std::move(arguments); }
const std::vector<std::string>& arguments() { return g_arguments; }

void registerStartPage(PageFactory factory) { startPage() = std::move(factory); }

void registerMainMenuPage(int index, PageFactory factory) {
  if (index >= 0 && index < kMainMenuButtons) factories()[static_cast<size_t>(index)] = std::move(factory);
}
void unregisterMainMenuPages() {
  for (auto& f : factories()) f = nullptr;
}
bool hasMainMenuPage(int index) {
  return index >= 0 && index < kMainMenuButtons && static_cast<bool>(factories()[static_cast<size_t>(index)]);
}
std::unique_ptr<Page> makeMainMenuPage(int index) {
  if (!hasMainMenuPage(index)) return nullptr;
  return factories()[static_cast<size_t>(index)]();
}

}  // namespace program

int runProgram(QApplication& application, std::vector<std::string> arguments) {
  static QtMessageService messages;
  setMessageService(&messages);
  strtable::load();
  installPlatformDialogTexts(strtable::language());
  application.setApplicationName("velmora");
  program::setArguments(std::move(arguments));
  program::resetEnded();

  // The start-up page hands over to the next page and deletes itself; the
  // program then runs until the last page closes or a page ends it.
  if (!program::startPage()) return 1;
  Page* start = program::startPage()().release();
  start->Show();
  if (program::ended()) return program::exitStatus();
  if (!Page::front()) return 0;
  const int status = application.exec();
  return program::ended() ? program::exitStatus() : status;
}

#include "app/program.h"

#include <QApplication>
#include <QWidget>
#include <array>
#include <cstdlib>

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

void chooseScreen(const std::vector<std::string>& arguments) {
  const auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return;
  for (const std::string& a : arguments)
    if (a.size() >= 2 && a[0] == '/' && (a[1] == 'F' || a[1] == 'f')) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      return;
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

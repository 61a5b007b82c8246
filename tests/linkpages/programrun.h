#pragma once
// The program itself, started as a shell starts it: a real argument list, a
// home and temporary folder of the test's own, no screen, no runtime folder
// (as from cron), and port 1 pointed at `device` (an empty `device` leaves
// every port number to the port map alone).
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <string>

#include "platform/base/appinfo.h"
#include "support/testsupport.h"

struct ProgramRun {
  int exitCode = -1;  // -1: still running at the time limit (killed); -2: crashed
  std::string errors;
};

// The environment of such a run.
inline QProcessEnvironment programEnvironment(const TempDir& home, const std::string& device) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(home.str()));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
  env.insert("XDG_DATA_HOME", QString::fromStdString(home.file("data")));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.remove("XDG_RUNTIME_DIR");
  // Qt's remarks as Qt makes them, whatever the user's rules for them.
  env.remove("QT_LOGGING_RULES");
  env.remove("QT_MESSAGE_PATTERN");
  // Qt then makes a runtime folder of its own in the temporary folder: the
  // test's, so that none is left behind in the machine's.
  env.insert("TMPDIR", QString::fromStdString(home.str()));
  for (int n = 1; n <= 16; ++n) env.remove(QString("VELMORA_COM%1").arg(n));
  if (!device.empty()) env.insert("VELMORA_COM1", QString::fromStdString(device));
  return env;
}

inline ProgramRun runProgram(const TempDir& home, const std::string& device, const QStringList& args,
                             int waitMs = 60000, const std::function<void(QProcessEnvironment&)>& adjust = {}) {
  QProcess program;
  QProcessEnvironment env = programEnvironment(home, device);
  if (adjust) adjust(env);
  program.setProcessEnvironment(env);
  program.setWorkingDirectory(QString::fromStdString(home.str()));
  program.start(QString::fromStdString(app::path() + "/velmora"), args);
  ProgramRun r;
  if (!program.waitForFinished(waitMs)) {
    program.kill();
    program.waitForFinished();
    return r;
  }
  r.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
  r.errors = program.readAllStandardError().toStdString();
  return r;
}

#include "simprocess.h"

#include <QElapsedTimer>

SimProcess::~SimProcess() { stop(); }

bool SimProcess::start(const std::string& program, int family, const std::string& memoryFile,
                       const std::vector<std::string>& extra) {
  QStringList args = {"--family", QString::number(family)};
  if (!memoryFile.empty()) args << "--memory" << QString::fromStdString(memoryFile);
  for (const auto& e : extra) args << QString::fromStdString(e);
  proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  proc.start(QString::fromStdString(program), args);
  if (!proc.waitForStarted(5000)) return false;
  QElapsedTimer t;
  t.start();
  while (port.empty() && t.elapsed() < 5000) {
    proc.waitForReadyRead(100);
    drain();
  }
  return !port.empty();
}

void SimProcess::drain() {
  buffered += proc.readAllStandardOutput().toStdString();
  size_t nl;
  while ((nl = buffered.find('\n')) != std::string::npos) {
    std::string line = buffered.substr(0, nl);
    buffered.erase(0, nl + 1);
    if (line.rfind("PORT ", 0) == 0)
      port = line.substr(5);
    else if (line.rfind("RADIO: ", 0) == 0)
      seen.push_back(line.substr(7));
  }
}

std::vector<std::string> SimProcess::lines() {
  drain();
  return seen;
}

bool SimProcess::waitForLine(const std::string& text, int ms) {
  QElapsedTimer t;
  t.start();
  for (;;) {
    drain();
    for (const auto& l : seen)
      if (l.find(text) != std::string::npos) return true;
    if (t.elapsed() >= ms || proc.state() == QProcess::NotRunning) return false;
    proc.waitForReadyRead(50);
  }
}

void SimProcess::stop() {
  if (proc.state() == QProcess::NotRunning) return;
  proc.terminate();
  if (!proc.waitForFinished(5000)) {
    proc.kill();
    proc.waitForFinished(2000);
  }
  drain();
}

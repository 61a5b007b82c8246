#pragma once
// Runs the simulated radio program as a child process and tells where its
// pseudo-terminal is (used by the end-to-end tests and the benchmark).
#include <QProcess>
#include <string>
#include <vector>

class SimProcess {
 public:
  ~SimProcess();
  // Starts `program` for the family with the memory file and extra options;
  // false when it does not announce its port within 5 s.
  bool start(const std::string& program, int family, const std::string& memoryFile,
             const std::vector<std::string>& extra = {});
  const std::string& device() const { return port; }
  // Event lines ("RADIO: ..." stripped) seen so far.
  std::vector<std::string> lines();
  // Waits up to `ms` for a line containing `text`.
  bool waitForLine(const std::string& text, int ms);
  // Ends it (SIGTERM); it saves its memory on the way out.
  void stop();
  qint64 pid() const { return proc.processId(); }

 private:
  void drain();
  QProcess proc;
  std::string port;
  std::string buffered;
  std::vector<std::string> seen;
};

#include "link/linktrace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/modpublic.h"
#include "platform/base/safefile.h"

namespace radiolink {

LinkTrace::LinkTrace() {
  clock = [] {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
  };
}

LinkTrace::~LinkTrace() { close(); }

void LinkTrace::open() {
  close();
  if (modPublic.intDebugLog != 1) return;
  // A folder that cannot be written leaves the write untraced, and so does a
  // name that is no plain file: opening a pipe would wait for a reader for
  // ever and hold the write up with it.
  safefile::ignoreFileSizeSignal();  // a full disk leaves the trace short, the write goes on
  fd = ::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, O_APPEND) != 0) close();
}

void LinkTrace::line(const std::string& text) {
  if (fd < 0) return;
  // One write a line: it is in the file when this returns.
  const std::string whole = text + "\r\n";
  size_t done = 0;
  while (done < whole.size()) {
    const ssize_t n = ::write(fd, whole.data() + done, whole.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      // A full disk ends the trace where it stopped; the write goes on
      // untraced, and no later line lands behind a cut one.
      close();
      return;
    }
  }
}

void LinkTrace::close() {
  if (fd < 0) return;
  ::close(fd);
  fd = -1;
}

std::string LinkTrace::dateTime() const {
  const std::tm t = clock();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec);
  return buf;
}

std::string LinkTrace::num(int64_t value) {
  return (value < 0 ? std::string() : std::string(" ")) + std::to_string(value) + " ";
}

std::string LinkTrace::hex(uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", value);
  return buf;
}

std::string LinkTrace::send(const uint8_t* bytes, int count) {
  std::string s = "Send=";
  for (int i = 0; i < count; ++i) {
    if (i) s += ' ';
    s += hex(bytes[i]);
  }
  return s;
}

}  // namespace radiolink

#pragma once
// The write trace "velmora.out": plain text lines ending CR LF, appended while
// "/DEBUG" is on. A trace that cannot be opened is skipped, never an error.
// Each line goes to the file whole as it is written, unbuffered, so a write
// the program did not finish (a signal, a crash) leaves every line it traced,
// down to the frame it was sending. A line that cannot be written (a full
// disk) ends the trace there.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

namespace radiolink {

class LinkTrace {
 public:
  LinkTrace();
  ~LinkTrace();
  LinkTrace(const LinkTrace&) = delete;
  LinkTrace& operator=(const LinkTrace&) = delete;

  // The file, in the current folder unless a folder is given.
  std::string fileName = "velmora.out";
  // The clock for the date and time pieces (local time by default).
  std::function<std::tm()> clock;

  // Opens for appending when tracing is on (modPublic.intDebugLog = 1).
  void open();
  bool active() const { return fd >= 0; }
  void line(const std::string& text);
  void close();

  // Pieces of a line.
  std::string dateTime() const;                 // "yyyy-mm-dd h:nn:ss"
  static std::string num(int64_t value);        // " 1000 ", "-5 "
  static std::string hex(uint32_t value);       // "FF", "0", "1AE"
  static std::string send(const uint8_t* bytes, int count);  // "Send=69 F8 1 0"

 private:
  int fd = -1;
};

}  // namespace radiolink

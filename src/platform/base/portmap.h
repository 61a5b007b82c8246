#pragma once
// Serial port numbers 1..16 (as the pages name them, "COM1".."COM16") and the
// device paths they stand for on Linux.
//
// Default map, stable across runs:
//   1..4   -> /dev/ttyS0 .. /dev/ttyS3     (built-in ports)
//   5..12  -> /dev/ttyUSB0 .. /dev/ttyUSB7 (USB serial adapters)
//   13..16 -> /dev/ttyACM0 .. /dev/ttyACM3 (USB modem-class adapters)
// Any number can be pointed at any path, without editing code:
//   - environment variable VELMORA_COM<n>, e.g. VELMORA_COM1=/dev/pts/7, or
//   - a line "COM<n>=<path>" in the file "ports.conf" in the user's
//     config folder (~/.config/velmora/ports.conf).
// The environment wins over the file, the file over the default; within the
// file a later line wins over an earlier one.
//
// A setting that cannot be understood never sends bytes anywhere: a line
// whose number is not COM1..COM16 ("COM01" counts as COM1), whose path is
// empty or holds a control character (a NUL, say), a file saved as UTF-16,
// or a VELMORA_COM<n> value with a control character is reported (problems()).
// As it may have meant any number, while there is one no number falls back
// to its default device (devicePath() gives ""): only numbers that the
// environment or a line that can be read sets are available. An empty
// VELMORA_COM<n> that the file does not make up for is reported as well, but
// takes only its own number away.
#include <string>
#include <vector>

namespace portmap {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// The device path of a port number; "" outside 1..16, and for a number no
// readable setting names while the map holds one it cannot read.
std::string devicePath(int port);
// The file a device setting stands for, as the port library opens it: a
// name that does not start with "/", "./" or "../" ("ttyUSB1") is the
// device of that name under /dev, whatever the working folder holds.
std::string openedPath(const std::string& device);
// The default path, ignoring overrides.
std::string defaultPath(int port);
// Whether the port's device is there now, found without opening it (opening
// a port raises its modem lines, which resets many USB-serial boards and
// disturbs a port another program uses). The path must be a character
// device; the kernel's tty attributes then decide: a UART slot with no UART
// behind it (type 0) is not a port, a tty backed by hardware is, and a
// virtual terminal (a pseudo-terminal, say) counts only where the user
// pointed the number at it.
bool present(int port);
// Whether the number's path comes from the environment or ports.conf.
bool userMapped(int port);
// Tests point the map at their own file, and the tty attributes at their own
// folder (normally /sys/class/tty).
void setConfigFile(const std::string& path);
std::string configFile();
void setTtyAttributesFolder(const std::string& path);

// A setting of the map that cannot be understood.
struct Problem {
  std::string where;  // the file, or the environment variable
  int line = 0;       // 1.. in the file; 0 for the whole file or a variable
  std::string text;   // the line as read (control bytes as \xNN), or what is wrong
  int port = 0;       // the number it meant to set; 0 when none can be told
};
std::vector<Problem> problems();
// One problem as a message names it: what is wrong, where, and the line.
std::string problemText(const Problem& problem);
// What is wrong, then every problem's place and line ("" when the map is sound).
std::string problemsText();
// Why a number is not available ("" when it is): every setting the map
// cannot read, with its place.
std::string unavailable(int port);

}  // namespace portmap

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
// The environment wins over the file, the file over the default.
#include <string>
#include <vector>

namespace portmap {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 16;

// The device path of a port number; "" outside 1..16.
std::string devicePath(int port);
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

}  // namespace portmap

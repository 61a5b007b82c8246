// Opening the real port: a device that cannot be opened says why.
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "link/portlock.h"
#include "link/qtlink.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "support/devices.h"
#include "support/testsupport.h"

using radiolink::QtSerialPort;

namespace {
// The serial lock files of the folders the port may keep them in, for the
// device named `device` only: other programs (and other tests running at the
// same time) hold locks of their own.
std::set<std::string> lockFiles(const std::string& device) {
  const std::string number = std::filesystem::path(device).filename().string();
  std::set<std::string> out;
  for (const std::string& folder : radiolink::portlock::folders()) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("LCK..", 0) != 0 || name.size() <= number.size() + 5) continue;
      const size_t at = name.size() - number.size();
      if (name.compare(at, std::string::npos, number) == 0 && !std::isdigit(static_cast<unsigned char>(name[at - 1])))
        out.insert(std::filesystem::weakly_canonical(e.path(), ec).string());
    }
  }
  return out;
}

const std::string kNoDevice = "Cause: the device does not exist";
}  // namespace

TEST(PortOpen, AFailedOpenNamesItsCause) {
  TempDir dir;
  const radiolink::LineSettings line;
  QtSerialPort port;
  EXPECT_FALSE(port.open(dir.file("no-such-device"), line));
  EXPECT_EQ(port.openFailure(), "Cause: the device " + dir.file("no-such-device") + " does not exist");
  // A bare name is the device of that name under /dev, as the port opens it,
  // whatever the working folder holds under that name.
  {
    const std::string bare = "velmora-no-such-port-" + std::to_string(::getpid());
    writeFileBytes(dir.file(bare), {1});
    const auto was = std::filesystem::current_path();
    std::filesystem::current_path(dir.str());
    EXPECT_FALSE(port.open(bare, line));
    std::filesystem::current_path(was);
    EXPECT_EQ(port.openFailure(), "Cause: the device /dev/" + bare + " does not exist");
  }

  writeFileBytes(dir.file("plain"), {1});
  EXPECT_FALSE(port.open(dir.file("plain"), line));
  EXPECT_EQ(port.openFailure(), "Cause: the path is not a serial port");
  // A control character never reaches the device or its lock file.
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const auto locksBefore = lockFiles(pty.slave);
  for (const std::string& bad : {pty.slave + std::string("\0x", 2), pty.slave + "\x01", std::string("\0", 1)}) {
    EXPECT_FALSE(port.open(bad, line));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.openFailure(), kNoDevice);
  }
  EXPECT_EQ(lockFiles(pty.slave), locksBefore);

  // A device another program holds.
  ASSERT_TRUE(port.open(pty.slave, line)) << port.device().errorString().toStdString();
  EXPECT_EQ(port.openFailure(), "");
  EXPECT_EQ(lockFiles(pty.slave).size(), locksBefore.size() + 1);  // the lock looked for is the port's own
  QtSerialPort other;
  EXPECT_FALSE(other.open(pty.slave, line));
  const std::string inUse = "Cause: the port is in use by another program (process " + std::to_string(::getpid()) +
                            ", lock file ";
  const std::string said = other.openFailure();
  ASSERT_EQ(said.substr(0, inUse.size()), inUse);
  ASSERT_EQ(said.back(), ')');
  std::error_code ec;
  const std::string named =
      std::filesystem::weakly_canonical(said.substr(inUse.size(), said.size() - inUse.size() - 1), ec).string();
  EXPECT_TRUE(lockFiles(pty.slave).count(named) && !locksBefore.count(named)) << said;
  port.close();
  EXPECT_EQ(lockFiles(pty.slave), locksBefore);

  // A character device that is no terminal says the same, not the system's
  // "Inappropriate ioctl for device": a null device of the test's own.
  if (!std::filesystem::exists("/sys/dev/char/1:3")) GTEST_SKIP() << "the kernel lists no null device (1:3)";
  if (!makeNullNode(dir.file("null"))) GTEST_SKIP() << "only root may make the device node a non-terminal needs";
  EXPECT_FALSE(port.open(dir.file("null"), line));
  EXPECT_EQ(port.openFailure(), "Cause: the path is not a serial port");
}

// Permission denied asks to join the device's group only where that would let
// the user in (the group may use it; the user is neither in it nor the owner);
// otherwise it names the owner, the group and the permissions.
TEST(PortOpen, PermissionDeniedAsksToJoinTheGroupOnlyWhereThatHelps) {
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  struct stat tty {};
  ASSERT_EQ(::stat(pty.slave.c_str(), &tty), 0);
  const auto groupName = [](gid_t gid) {
    const group* g = ::getgrgid(gid);
    return g ? std::string(g->gr_name) : std::to_string(gid);
  };
  if (::geteuid() != 0) {  // the user's own pseudo-terminal, closed to everyone
    ASSERT_EQ(::chmod(pty.slave.c_str(), 0), 0);
    QtSerialPort port;
    EXPECT_FALSE(port.open(pty.slave, radiolink::LineSettings{}));
    EXPECT_EQ(port.openFailure(), "Cause: permission denied: " + pty.slave + " belongs to the user " +
                                      ::getpwuid(::geteuid())->pw_name + " and the group " + groupName(tty.st_gid) +
                                      ", with the permissions c---------");
    return;
  }
  // Root may open anything: root's nodes in the test's own folder, looked at
  // by a child that is an ordinary user in no group.
  TempDir dir;
  ASSERT_EQ(::chmod(dir.str().c_str(), 0755), 0);
  const std::string joinable = dir.file("joinable"), rootOnly = dir.file("root-only");
  if (::mknod(joinable.c_str(), S_IFCHR | 0660, tty.st_rdev) != 0) GTEST_SKIP() << "no device nodes here";
  ASSERT_EQ(::chown(joinable.c_str(), 0, 54321), 0);
  ASSERT_EQ(::chmod(joinable.c_str(), 0660), 0);
  ASSERT_EQ(::mknod(rootOnly.c_str(), S_IFCHR | 0600, tty.st_rdev), 0);
  const std::string said = asOrdinaryUser(dir.str(), [&] {
    return QtSerialPort::openCause(joinable, QSerialPort::PermissionError, "") + "\n" +
           QtSerialPort::openCause(rootOnly, QSerialPort::PermissionError, "");
  });
  const std::string group = groupName(54321);
  EXPECT_EQ(said, "Cause: permission denied. Your user must be a member of the group " + group + " (sudo adduser <user> " +
                      group + ", then log in again)\nCause: permission denied: " + rootOnly +
                      " belongs to the user root and the group " + groupName(0) + ", with the permissions crw-------");
}

namespace {
// The lock folders of a test, and the processes it started: both go back
// however the test ends.
class LockFolders {
 public:
  explicit LockFolders(const std::string& folder) { QtSerialPort::setLockFolders({folder}); }
  ~LockFolders() {
    for (const pid_t child : children) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    QtSerialPort::setLockFolders({});
  }
  LockFolders(const LockFolders&) = delete;
  LockFolders& operator=(const LockFolders&) = delete;
  // Another program: a process that runs until the test ends.
  pid_t startProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
      ::sleep(60);
      ::_exit(0);
    }
    if (child > 0) children.push_back(child);
    return child;
  }

 private:
  std::vector<pid_t> children;
};

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }
// A lock as terminal programs write it: the id in ten characters, and after
// it, on the same line, what some of them add (their name and user).
std::vector<uint8_t> tenCharacters(long long pid, const std::string& after = "") {
  const std::string id = std::to_string(pid);
  return bytesOf(std::string(10 - id.size(), ' ') + id + after + "\n");
}

// Bytes this process has read from files so far.
long long bytesRead() {
  const auto io = readFileBytes("/proc/self/io");
  const std::string text(io.begin(), io.end());
  const size_t at = text.find("rchar: ");
  return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + 7);
}
}  // namespace

// Another program's lock file, as terminal programs and modem tools write it,
// keeps the port closed while its process runs, whatever that process's
// program is called now and whoever it belongs to, and is never removed then;
// a lock whose process has ended is removed.
TEST(PortOpen, AnotherProgramsLockIsRespectedAndAStaleOneIsNot) {
  TempDir locks;
  LockFolders folders(locks.str());
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const std::string number = std::filesystem::path(pty.slave).filename().string();
  const pid_t other = folders.startProcess();
  ASSERT_GT(other, 0);
  const pid_t gone = ::fork();  // one that has ended
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const std::string link = locks.file("radio");
  std::filesystem::create_symlink(pty.slave, link);
  const radiolink::LineSettings line;
  const auto inUse = [](long long pid, const std::string& file) {
    return "Cause: the port is in use by another program (process " + std::to_string(pid) + ", lock file " + file + ")";
  };
  QtSerialPort port;

  // Held: by the name under /dev, and in the old binary form by the device's
  // last name, also when the port is opened through a link.
  const std::string held = locks.file("LCK..pts_" + number);
  writeFileBytes(held, tenCharacters(other));
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), inUse(other, held));
  EXPECT_EQ(readFileBytes(held), tenCharacters(other));  // left as it was
  std::filesystem::remove(held);
  const int32_t pid = other;
  std::vector<uint8_t> binary(4);
  std::memcpy(binary.data(), &pid, 4);
  writeFileBytes(locks.file("LCK.." + number), binary);
  EXPECT_FALSE(port.open(link, line));
  EXPECT_EQ(port.openFailure(), inUse(other, locks.file("LCK.." + number)));
  std::filesystem::remove(locks.file("LCK.." + number));

  // Held by the name the port was opened by: a terminal program opened
  // through the link names its lock after the link's own last name.
  writeFileBytes(locks.file("LCK..radio"), tenCharacters(other));
  EXPECT_FALSE(port.open(link, line));
  EXPECT_EQ(port.openFailure(), inUse(other, locks.file("LCK..radio")));
  EXPECT_TRUE(std::filesystem::exists(locks.file("LCK..radio")));
  std::filesystem::remove(locks.file("LCK..radio"));

  // Held whatever the process's program is called now (an upgrade replaced
  // it while it runs): the lock names another program than the running one.
  const std::vector<uint8_t> named = bytesOf(std::to_string(::getpid()) + "\nsomeprog\nhost\n");
  writeFileBytes(held, named);
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), inUse(::getpid(), held));
  EXPECT_EQ(readFileBytes(held), named);
  // As terminal programs write it, with their name and user after the id,
  // under the port's own name and under the device's last name.
  for (const std::string& name : {"LCK..pts_" + number, "LCK.." + number}) {
    const std::vector<uint8_t> terminal = tenCharacters(other, " minicom root");
    writeFileBytes(locks.file(name), terminal);
    EXPECT_FALSE(port.open(pty.slave, line)) << name;
    EXPECT_EQ(port.openFailure(), inUse(other, locks.file(name)));
    EXPECT_EQ(readFileBytes(locks.file(name)), terminal);
    std::filesystem::remove(locks.file(name));
  }
  // Text of four bytes is text, not a binary id: a carriage return or a tab
  // beside the number. Process 1 runs in every system.
  for (const std::string& shortText : {std::string(" 1\r\n"), std::string("\t 1\n")}) {
    writeFileBytes(held, bytesOf(shortText));
    EXPECT_FALSE(port.open(pty.slave, line)) << shortText;
    EXPECT_EQ(port.openFailure(), inUse(1, held));
    EXPECT_EQ(readFileBytes(held), bytesOf(shortText));
  }
  // A big plain file under a lock's name: only a lock's first bytes are read.
  writeFileBytes(held, tenCharacters(other, " minicom root"));
  std::filesystem::resize_file(held, 256 << 20);
  const long long readBefore = bytesRead();
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), inUse(other, held));
  EXPECT_LT(bytesRead() - readBefore, 1 << 20);
  std::filesystem::remove(held);

  // Held by another user's process, which may not even be looked at ("not
  // permitted"). Root may look at any: an ordinary user, a child of root's,
  // judges a lock that names root's process.
  const std::vector<uint8_t> others = tenCharacters(::geteuid() == 0 ? other : 1, " someprog root");
  writeFileBytes(held, others);
  ASSERT_EQ(::chmod(held.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(locks.str().c_str(), 0755), 0);
  EXPECT_EQ(asOrdinaryUser(locks.str(), [&] {
              std::string said;
              return QtSerialPort::heldByAnotherProgram(pty.slave, &said) ? said : "not held";
            }),
            inUse(::geteuid() == 0 ? other : 1, held));
  EXPECT_EQ(readFileBytes(held), others);
  EXPECT_FALSE(port.isOpen());

  // A lock with bytes that name no process (words, binary bytes that are no
  // id, a number that is no process's) is no lock any program of ours could
  // take for stale: it keeps the port closed, is named, and stays.
  const std::string noProcess =
      "Cause: the lock file " + held + " names no process; it may be removed once no program uses the port";
  for (const std::string& bytes :
       {std::string("minicom\n"), std::string("1234x root\n"), std::string("\x01\x02\x03\x04\x05\x06", 6),
        std::string("         0\n"), std::string("99999999999\n"), std::string("18446744073709551617\n"),
        std::string("-12\n"), std::string("+12\n")}) {
    writeFileBytes(held, bytesOf(bytes));
    EXPECT_FALSE(port.open(pty.slave, line)) << bytes;
    EXPECT_EQ(port.openFailure(), noProcess) << bytes;
    EXPECT_EQ(readFileBytes(held), bytesOf(bytes));
  }

  // An empty lock, under the port's own name or the device's, also when the
  // port is opened through a link (the port library's own name is then the
  // link's path): no process can be read from it, so it keeps the port
  // closed, is named, and stays.
  std::string linkOwn = link;
  std::replace(linkOwn.begin(), linkOwn.end(), '/', '_');
  linkOwn = locks.file("LCK.." + linkOwn);
  const auto namesNoProcess = [](const std::string& file) {
    return "Cause: the lock file " + file + " names no process; it may be removed once no program uses the port";
  };
  for (const auto& [empty, opened] : {std::pair{held, pty.slave}, std::pair{held, link},
                                      std::pair{locks.file("LCK.." + number), link}, std::pair{linkOwn, link}}) {
    SCOPED_TRACE(empty + " opened as " + opened);
    writeFileBytes(empty, {});
    EXPECT_FALSE(port.open(opened, line));
    EXPECT_EQ(port.openFailure(), namesNoProcess(empty));
    EXPECT_TRUE(std::filesystem::is_regular_file(empty));
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);
    std::filesystem::remove(empty);
  }
  // One being written is judged by what it says once written: here a
  // running process, written a moment after our first look found it empty.
  writeFileBytes(held, {});
  std::jthread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    writeFileBytes(held + ".new", tenCharacters(other));
    std::filesystem::rename(held + ".new", held);
  });
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), inUse(other, held));
  writer.join();

  // The cause in Japanese names the process and the file too.
  strtable::load(app::path(), "ja");
  EXPECT_FALSE(port.open(pty.slave, line));
  const std::string japanese = port.openFailure();
  strtable::load(app::path(), "en");
  EXPECT_EQ(japanese,
            "原因: ポートは他のプログラムが使用中です (プロセス " + std::to_string(other) + "、ロックファイル " + held + ")");
  std::filesystem::remove(held);

  // Stale: a process that has ended, however its lock was written.
  for (const auto& stale : {tenCharacters(gone), tenCharacters(gone, " minicom root")}) {
    writeFileBytes(held, stale);
    EXPECT_TRUE(port.open(link, line)) << port.openFailure();
    EXPECT_FALSE(std::filesystem::exists(held));
    port.close();
  }
}

// What a lock's bytes name, laid out by hand. The old binary form is four
// bytes of the machine's order whose last is zero, whatever its low bytes
// look like (digits, a line end); such bytes may be text ended by a zero byte
// as well, and then name both processes, the binary id first. Text is the
// number at the start, however it is padded; anything else names no process.
TEST(PortLock, BinaryIdsAreKnownByTheirZeroLastByteAndTextByItsNumber) {
  if constexpr (std::endian::native != std::endian::little) GTEST_SKIP() << "the binary ids below are little-endian";
  using radiolink::portlock::LockContent;
  using radiolink::portlock::parse;
  const struct {
    std::string bytes;
    LockContent::Kind kind;
    std::vector<long long> pids;
  } cases[] = {
      {{"\x38\x39\0\0", 4}, LockContent::kProcess, {14648, 89}},  // "89" and zero bytes
      {{"\x39\x30\0\0", 4}, LockContent::kProcess, {12345, 90}},  // "90"
      {{"\x39\x0a\0\0", 4}, LockContent::kProcess, {2617, 9}},    // "9\n"
      {{"\x35\0\0\0", 4}, LockContent::kProcess, {53, 5}},        // "5"
      {{"\x30\0\0\0", 4}, LockContent::kProcess, {48}},           // "0": no process as text
      {{"123\0", 4}, LockContent::kProcess, {3355185, 123}},      // a C string with its terminator
      {{"12\0\0", 4}, LockContent::kProcess, {12849, 12}},
      {{"7\0\0\0", 4}, LockContent::kProcess, {55, 7}},
      {{"1\n\0\0", 4}, LockContent::kProcess, {2609, 1}},
      {{"55\0\0", 4}, LockContent::kProcess, {13621, 55}},
      {{"\x60\xF0\x3F\0", 4}, LockContent::kProcess, {4190304}},
      {{"\0\0\0\0", 4}, LockContent::kNoProcess, {}},
      {{"\x01\x02\x03\x04", 4}, LockContent::kNoProcess, {}},
      {{"\0\0\x50\0", 4}, LockContent::kNoProcess, {}},  // past any process id
      {{"x1\n\0", 4}, LockContent::kProcess, {668024}},   // no text
      {" 1\r\n", LockContent::kProcess, {1}},
      {"\t42\n", LockContent::kProcess, {42}},
      {" 42\n", LockContent::kProcess, {42}},
      {"42\r\n", LockContent::kProcess, {42}},
      {"7", LockContent::kProcess, {7}},
      {"42\n", LockContent::kProcess, {42}},
      {{"42\0", 3}, LockContent::kProcess, {42}},
      {{"4242\0", 5}, LockContent::kProcess, {4242}},
      {"      4242 minicom root\n", LockContent::kProcess, {4242}},
      {{"4242\0\0\0\0\0\0", 10}, LockContent::kProcess, {4242}},
      {{"      4242\0\n", 12}, LockContent::kProcess, {4242}},
      {"2147483647\n", LockContent::kProcess, {2147483647}},
      {"-12\n", LockContent::kNoProcess, {}},
      {"+12\n", LockContent::kNoProcess, {}},
      {"         0\n", LockContent::kNoProcess, {}},
      {"2147483648\n", LockContent::kNoProcess, {}},
      {"18446744073709551617\n", LockContent::kNoProcess, {}},  // 2^64 + 1: process 1, were it let wrap
      {"1234x root\n", LockContent::kNoProcess, {}},
      {"minicom\n", LockContent::kNoProcess, {}},
      {"", LockContent::kEmpty, {}},
  };
  for (const auto& c : cases) {
    const LockContent content = parse(c.bytes);
    EXPECT_EQ(content.kind, c.kind) << testing::PrintToString(c.bytes);
    EXPECT_EQ(content.pids, c.pids) << testing::PrintToString(c.bytes);
  }
}

// Four bytes whose last is zero are an old binary id and may be text ended
// by a zero byte as well: the lock holds the port and stays while either
// process runs, and is removed only once neither does. The processes are
// given the ids they need in a process-id namespace, whose first process
// (the one that looks) is process 1.
TEST(PortOpen, ALockThatReadsTwoWaysHoldsWhileEitherProcessRuns) {
  using namespace std::string_literals;
  TempDir locks;
  LockFolders folders(locks.str());
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const std::string held = locks.file("LCK..pts_" + std::filesystem::path(pty.slave).filename().string());
  const auto asBinary = [](int32_t id) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &id, 4);
    return bytes;
  };
  const struct {
    std::vector<uint8_t> bytes;
    std::vector<pid_t> running;  // besides process 1
  } cases[] = {
      // Old binary locks of running holders, whose bytes read as a short
      // number of a process that does not run.
      {asBinary(14648), {14648}},  // "89"
      {asBinary(12345), {12345}},  // "90"
      {asBinary(2617), {2617}},    // "9\n"
      {asBinary(53), {53}},        // "5"
      {asBinary(48), {48}},        // "0"
      // Running holders' ids written as C strings: their binary ids
      // (3355185, 12849, 55) do not run.
      {bytesOf(std::string("123\0", 4)), {123}},
      {bytesOf(std::string("12\0\0", 4)), {12}},
      {bytesOf(std::string("7\0\0\0", 4)), {7}},
      // Binary 2609 has ended, but as text it names process 1.
      {bytesOf(std::string("1\n\0\0", 4)), {}},
      // Neither 13621 nor 55 runs: removed.
      {bytesOf(std::string("55\0\0", 4)), {}},
  };
  const std::string said = inOwnProcessIds([&]() -> std::string {
    std::string out;
    for (const auto& c : cases) {
      std::vector<pid_t> holders;
      for (const pid_t id : c.running) {
        const pid_t holder = startWithProcessId(id);
        if (holder < 0) return "[process id " + std::to_string(id) + " cannot be given: " + std::strerror(errno) + "]";
        holders.push_back(holder);
      }
      writeFileBytes(held, c.bytes);
      QtSerialPort port;
      const bool opened = port.open(pty.slave, radiolink::LineSettings{});
      out += testing::PrintToString(std::string(c.bytes.begin(), c.bytes.end())) + ": " +
             (opened ? "opened" : port.openFailure());
      out += !std::filesystem::exists(held)     ? ", its lock removed\n"
             : readFileBytes(held) == c.bytes ? "\n"
                                               : ", its lock changed\n";
      port.close();
      std::filesystem::remove(held);
      for (const pid_t holder : holders) {
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
      }
    }
    return out;
  });
  if (said.rfind("[no process-id namespace", 0) == 0 || said.rfind("[process id", 0) == 0) GTEST_SKIP() << said;
  const auto inUse = [&](const std::string& bytes, int pid) {
    return testing::PrintToString(bytes) + ": Cause: the port is in use by another program (process " +
           std::to_string(pid) + ", lock file " + held + ")\n";
  };
  const std::string expected =
      inUse("89\0\0"s, 14648) + inUse("90\0\0"s, 12345) + inUse("9\n\0\0"s, 2617) + inUse("5\0\0\0"s, 53) +
      inUse("0\0\0\0"s, 48) + inUse("123\0"s, 123) + inUse("12\0\0"s, 12) + inUse("7\0\0\0"s, 7) +
      inUse("1\n\0\0"s, 1) + testing::PrintToString("55\0\0"s) + ": opened, its lock removed\n";
  EXPECT_EQ(said, expected);
}

// Anyone may put anything under a lock's name in the shared lock folders. A
// name that is no plain file (a pipe that would hold the open for ever, a
// link to something that never ends, a folder) or that cannot be read keeps
// the port closed and is named, at once, and is left where it is.
TEST(PortOpen, ALockNameThatIsNoPlainFileKeepsThePortClosed) {
  TempDir locks;
  LockFolders folders(locks.str());
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const std::string lock = locks.file("LCK..pts_" + std::filesystem::path(pty.slave).filename().string());
  const std::string refused = "Cause: the lock file " + lock + " is not a plain file or cannot be read";
  const radiolink::LineSettings line;
  QtSerialPort port;

  // A pipe without a writer: an open that waits in it is let go after a
  // while (a writer comes and goes), so that the test fails instead of hanging.
  ASSERT_EQ(::mkfifo(lock.c_str(), 0666), 0);
  std::mutex mutex;
  std::condition_variable cv;
  bool opened = false, rescued = false;
  std::jthread rescue([&] {
    std::unique_lock<std::mutex> hold(mutex);
    if (cv.wait_for(hold, std::chrono::seconds(10), [&] { return opened; })) return;
    rescued = true;
    for (int tries = 0; tries < 100; ++tries) {
      const int fd = ::open(lock.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        ::close(fd);
        break;
      }
      cv.wait_for(hold, std::chrono::milliseconds(50));
    }
  });
  const bool pipeOpened = port.open(pty.slave, line);
  {
    std::lock_guard<std::mutex> hold(mutex);
    opened = true;
  }
  cv.notify_all();
  rescue.join();
  EXPECT_FALSE(rescued) << "the open waited in the pipe";
  EXPECT_FALSE(pipeOpened);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.openFailure(), refused);
  EXPECT_TRUE(std::filesystem::is_fifo(lock));
  std::filesystem::remove(lock);

  // A link to a file of the test's own that never ends as a lock does.
  const std::string big = locks.file("big");
  writeFileBytes(big, {});
  std::filesystem::resize_file(big, 64 << 20);
  std::filesystem::create_symlink(big, lock);
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), refused);
  EXPECT_TRUE(std::filesystem::is_symlink(lock));
  std::filesystem::remove(lock);

  // A folder.
  std::filesystem::create_directory(lock);
  EXPECT_FALSE(port.open(pty.slave, line));
  EXPECT_EQ(port.openFailure(), refused);
  EXPECT_TRUE(std::filesystem::is_directory(lock));
  std::filesystem::remove(lock);
  EXPECT_FALSE(port.isOpen());

  // A lock the user may not read; root may read any, so an ordinary user in
  // no group, a child of root's, looks at it there.
  writeFileBytes(lock, tenCharacters(::getpid()));
  ASSERT_EQ(::chmod(lock.c_str(), 0), 0);
  if (::geteuid() != 0) {
    EXPECT_FALSE(port.open(pty.slave, line));
    EXPECT_EQ(port.openFailure(), refused);
  } else {
    ASSERT_EQ(::chmod(locks.str().c_str(), 0755), 0);
    const std::string said = asOrdinaryUser(locks.str(), [&] {
      std::string said;
      if (!QtSerialPort::heldByAnotherProgram(pty.slave, &said)) said = "not held";
      return said;
    });
    EXPECT_EQ(said, refused);
  }
  EXPECT_EQ(std::filesystem::status(lock).permissions(), std::filesystem::perms::none);
}

// Ended by SIGINT, SIGTERM or SIGHUP while its main thread is held outside the
// event loop, the program still ends within about a second, by that signal
// (a shell sees it so), says its line on the way once, and lets go of the
// port it holds: the lock the port made goes, and only while it is still
// that file; another lock naming the program, a port opened and let go of
// before are not touched. A second signal ends the program at once, by the
// second, and says the line too. The program is this test binary's blocked
// child (see main.cpp), which would block five seconds and exit 0.
TEST(PortEnd, ASignalEndsTheProgramWhileItsMainThreadIsBlocked) {
  std::string self = QCoreApplication::applicationFilePath().toStdString();
  std::string option = "--blocked-child";
  std::string readOnly = "--first-lock-folder-read-only";
  // The last: the port library's first lock folder is not writable, and it
  // makes its lock in a later one.
  const struct {
    std::vector<int> sent;
    bool firstFolderReadOnly = false;
  } cases[] = {{{SIGINT}}, {{SIGTERM}}, {{SIGHUP}}, {{SIGINT, SIGTERM}}, {{SIGINT}, true}};
  for (const auto& [sent, firstFolderReadOnly] : cases) {
    const int ender = sent.back();
    std::string trace = "signals";
    for (int signal : sent) trace += " " + std::to_string(signal);
    SCOPED_TRACE(trace + (firstFolderReadOnly ? ", the first lock folder read-only" : ""));
    Pty gone, held, another;
    ASSERT_FALSE(gone.slave.empty() || held.slave.empty() || another.slave.empty());
    const auto goneBefore = lockFiles(gone.slave);
    const auto heldBefore = lockFiles(held.slave);
    int out[2], err[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(err, O_CLOEXEC), 0);
    std::vector<char*> argv = {self.data(), option.data(), gone.slave.data(), held.slave.data()};
    if (firstFolderReadOnly) argv.push_back(readOnly.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::dup2(err[1], STDERR_FILENO);
      endSignalsAsDefault();
      ::execv(self.c_str(), argv.data());
      ::_exit(127);
    }
    ASSERT_GT(child, 0);
    ::close(out[1]);
    ::close(err[1]);
    pollfd said{out[0], POLLIN, 0};
    char word[16] = {};
    const bool blocked = ::poll(&said, 1, 20000) == 1 && ::read(out[0], word, sizeof word - 1) > 0 &&
                         std::string(word) == "blocked\n";
    if (std::string(word) == "no namespace\n") {
      ::waitpid(child, nullptr, 0);
      ::close(out[0]);
      ::close(err[0]);
      GTEST_SKIP() << "no mount namespace here, in which the first lock folder could be made read-only";
    }
    // The lock the port made, and a lock of the same user beside it that
    // names the program too (for another device). Once, the port's lock is
    // replaced by a copy: another file under its name.
    std::set<std::string> own;
    for (const std::string& file : lockFiles(held.slave))
      if (!heldBefore.count(file)) own.insert(file);
    const std::string ownLock = own.size() == 1 ? *own.begin() : "";
    const std::string beside = std::filesystem::path(ownLock).parent_path().string() + "/LCK..pts_" +
                               std::filesystem::path(another.slave).filename().string();
    const auto namesChild = [&] {
      const std::string text = std::to_string(child) + "\nvelmora\nhost\n";
      return std::vector<uint8_t>(text.begin(), text.end());
    };
    const bool replaced = ender == SIGTERM && sent.size() == 1;
    if (!ownLock.empty()) {
      writeFileBytes(beside, namesChild());
      if (replaced) {
        writeFileBytes(ownLock + ".copy", readFileBytes(ownLock));
        std::filesystem::rename(ownLock + ".copy", ownLock);
      }
    }
    const auto signalled = std::chrono::steady_clock::now();
    for (int signal : sent) ::kill(child, blocked ? signal : SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - signalled).count();
    std::string errors;
    char buffer[256];
    for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) errors.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    ::close(err[0]);
    ASSERT_TRUE(blocked) << word;
    EXPECT_EQ(own.size(), 1u);
    const std::string first = std::filesystem::weakly_canonical(radiolink::portlock::folders().front()).string();
    EXPECT_EQ(std::filesystem::path(ownLock).parent_path() == first, !firstFolderReadOnly) << ownLock;
    const bool bySignal = WIFSIGNALED(status);
    EXPECT_TRUE(bySignal) << "exit status " << WEXITSTATUS(status);
    if (bySignal) {
      EXPECT_EQ(WTERMSIG(status), ender);
    }
    EXPECT_EQ(errors, "partly written\n");
    if (sent.size() == 1) {  // the event loop had its second, then the program ended
      EXPECT_GE(took, 0.9);
      EXPECT_LE(took, 2.0);
    } else {
      EXPECT_LT(took, 0.9);
    }
    EXPECT_EQ(lockFiles(gone.slave), goneBefore);
    EXPECT_EQ(readFileBytes(beside), namesChild());
    std::filesystem::remove(beside);
    auto heldAfter = lockFiles(held.slave);
    if (sent.size() == 1 && !replaced) {
      EXPECT_EQ(heldAfter, heldBefore);
    }
    if (replaced) {
      EXPECT_TRUE(heldAfter.count(ownLock));
    }
    // Ended at once, the program left its lock behind; it names a process
    // that has ended, which the next open removes. This test removes it, and
    // the copy.
    for (const std::string& left : heldAfter)
      if (!heldBefore.count(left)) std::filesystem::remove(left);
  }
}

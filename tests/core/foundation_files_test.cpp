#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <QSettings>

#include "core/filecontrol.h"
#include "core/modpublic.h"
#include "platform/base/appinfo.h"
#include "platform/base/settings.h"
#include "support/devices.h"
#include "support/disklimit.h"
#include "support/testsupport.h"

namespace {
class Files : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  TempDir dir;
  RecordingMessages msgs;
  clsFileControl files;
};

// What a folder holds, by name: a save leaves no temporary file behind.
std::vector<std::string> entries(const TempDir& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<uint8_t> counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}
}  // namespace

TEST(FullPath, OneSeparatorWhateverTheFolderEndsWith) {
  std::string a, b;
  objSimpleFunc().w_zMakeFullPath("/tmp/x", "f.dat", a);
  objSimpleFunc().w_zMakeFullPath("/tmp/x/", "f.dat", b);
  EXPECT_EQ(a, "/tmp/x/f.dat");
  EXPECT_EQ(b, a);
}

TEST_F(Files, ShortFileIsZeroPaddedInBothArraysAndMissingFileChangesNothing) {
  writeFileBytes(dir.file("short.dat"), counting(2048));
  std::vector<uint8_t> a(kImageSize, 0x55), b(kImageSize, 0x66);
  ASSERT_TRUE(files.blnGetBinaryData(dir.str(), "short.dat", a, b, kImageLast));
  EXPECT_EQ(std::vector<uint8_t>(a.begin(), a.begin() + 2048), counting(2048));
  EXPECT_EQ(a, b);
  for (size_t i = 2048; i < a.size(); ++i) ASSERT_EQ(a[i], 0) << i;

  std::vector<uint8_t> c(kImageSize, 0x77), d = c;
  EXPECT_FALSE(files.blnGetBinaryData(dir.str(), "none.dat", c, d, kImageLast));
  EXPECT_FALSE(files.blnGetEEPROMData(dir.str(), "none.dat", c, d, kImageLast));
  EXPECT_EQ(c, std::vector<uint8_t>(kImageSize, 0x77));
  EXPECT_TRUE(msgs.boxes.empty());

  // A pipe put under the name between the look at the file and its read
  // holds nothing up: what was opened is judged. A thread puts the pipe and
  // the file there in turn, as fast as it can, while the name is read; a
  // read that waits in the pipe is let go after a while, so that the test
  // fails instead of hanging.
  const std::string name = dir.file("swap.dat"), pipe = dir.file("pipe"), file = dir.file("short.dat");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::atomic<bool> done{false}, rescued{false};
  std::thread swapper([&] {
    for (int turn = 0; !done; ++turn) {
      const std::string next = dir.file("next");
      if (::link((turn % 2 ? pipe : file).c_str(), next.c_str()) == 0) ::rename(next.c_str(), name.c_str());
    }
  });
  std::thread rescue([&] {
    for (int waited = 0; !done; waited += 10) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (waited < 5000) continue;
      const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) {
        rescued = true;
        ::close(writer);
      }
    }
  });
  int reads = 0;
  for (const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
       std::chrono::steady_clock::now() < until;) {
    std::vector<uint8_t> x(kImageSize, 0x55), y = x;
    if (files.blnGetBinaryData(dir.str(), "swap.dat", x, y, kImageLast)) {
      ++reads;
      EXPECT_EQ(std::vector<uint8_t>(x.begin(), x.begin() + 2048), counting(2048));
    }
  }
  done = true;
  swapper.join();
  rescue.join();
  EXPECT_FALSE(rescued) << "a read waited in the pipe";
  EXPECT_GT(reads, 0);
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(Files, EmptyFolderMeansTheProgramFolder) {
  std::vector<uint8_t> a(kImageSize), b(kImageSize);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const bool ok = files.blnGetBinaryData("", "InitialP2RB.dat", a, b, kImageLast);
  std::filesystem::current_path(cwd);
  ASSERT_TRUE(ok);
  EXPECT_EQ(files.strFullPath, app::path() + "/InitialP2RB.dat");
  EXPECT_EQ(a[0], 0xFF);
}

TEST_F(Files, SaveWritesExactlyTheFamilysBytesAndReplacesAtomically) {
  modPublic.lngDataLast = 2047;
  const auto image = counting(kImageSize);
  writeFileBytes(dir.file("radio.R2B"), std::vector<uint8_t>(6888, 0xEE));  // a longer old file
  ASSERT_TRUE(files.blnPutBinaryData(dir.str(), "radio.R2B", image));
  EXPECT_EQ(readFileBytes(dir.file("radio.R2B")), std::vector<uint8_t>(image.begin(), image.begin() + 2048));

  // A save that cannot complete (the disk fills up) leaves the old file
  // exactly as it was and says so once.
  const auto old = readFileBytes(dir.file("radio.R2B"));
  modPublic.lngDataLast = 6887;
  {
    FileSizeLimit full(4096);
    ASSERT_TRUE(full.ok());
    EXPECT_FALSE(files.blnPutBinaryData(dir.str(), "radio.R2B", std::vector<uint8_t>(kImageSize, 1)));
  }
  EXPECT_EQ(readFileBytes(dir.file("radio.R2B")), old);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified passing is not found\r\rPath:" + dir.str());
  EXPECT_EQ(msgs.boxes[0].title, "blnPutBinaryData");
  EXPECT_EQ(msgs.boxes[0].style, 16);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"radio.R2B"});
}

TEST_F(Files, SaveFollowsALinkKeepsPermissionsAndRefusesWhatIsNoWritableFile) {
  namespace fs = std::filesystem;
  modPublic.lngDataLast = 2559;
  const auto image = counting(kImageSize);
  const std::vector<uint8_t> saved(image.begin(), image.begin() + 2560);
  fs::create_directory(dir.file("radios"));
  writeFileBytes(dir.file("radios/base.R3D"), std::vector<uint8_t>(2560, 0xEE));
  ASSERT_EQ(::chmod(dir.file("radios/base.R3D").c_str(), 0600), 0);
  fs::create_symlink("radios/base.R3D", dir.file("base.R3D"));
  ASSERT_TRUE(files.blnPutBinaryData(dir.str(), "base.R3D", image));
  EXPECT_TRUE(fs::is_symlink(dir.file("base.R3D")));
  EXPECT_EQ(readFileBytes(dir.file("radios/base.R3D")), saved);
  EXPECT_EQ(fs::status(dir.file("radios/base.R3D")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(msgs.boxes.empty());

  // A pipe, a link to a device, a folder and a read-only file are refused
  // with the save's failure message, and stay what they were.
  ASSERT_EQ(::mkfifo(dir.file("pipe.R3D").c_str(), 0644), 0);
  Pty pty;
  const std::string device = ownCharacterDevice(dir.file("radios/null"), pty);
  if (device.empty()) GTEST_SKIP() << "no device of the test's own: no mknod and no pseudo-terminal";
  fs::create_symlink(device, dir.file("null.R3D"));
  fs::create_directory(dir.file("folder.R3D"));
  writeFileBytes(dir.file("locked.R3D"), {1, 2, 3});
  ASSERT_EQ(::chmod(dir.file("locked.R3D").c_str(), 0444), 0);
  for (const char* name : {"pipe.R3D", "null.R3D", "folder.R3D", "locked.R3D"}) {
    msgs.boxes.clear();
    EXPECT_FALSE(files.blnPutBinaryData(dir.str(), name, image)) << name;
    ASSERT_EQ(msgs.boxes.size(), 1u) << name;
    EXPECT_EQ(msgs.boxes[0].text, "The specified passing is not found\r\rPath:" + dir.str());
  }
  EXPECT_TRUE(fs::is_fifo(dir.file("pipe.R3D")));
  EXPECT_TRUE(fs::is_character_file(dir.file("null.R3D")));
  EXPECT_TRUE(fs::is_directory(dir.file("folder.R3D")));
  EXPECT_EQ(readFileBytes(dir.file("locked.R3D")), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"base.R3D", "folder.R3D", "locked.R3D", "null.R3D",
                                                    "pipe.R3D", "radios"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("radios")), fs::directory_iterator()),
            device == pty.slave ? 1 : 2);
}

TEST_F(Files, SaveIntoAMissingFolderFails) {
  modPublic.lngDataLast = 2559;
  EXPECT_FALSE(files.blnPutBinaryData(dir.file("no/such"), "x.R3D", std::vector<uint8_t>(kImageSize)));
  ASSERT_EQ(msgs.boxes.size(), 1u);
}

TEST_F(Files, DeleteRemovesTheFileOrReports) {
  writeFileBytes(dir.file("old.R1A"), {1, 2, 3});
  EXPECT_TRUE(files.blnDelFile(dir.str(), "old.R1A"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("old.R1A")));
  EXPECT_FALSE(files.blnDelFile(dir.str(), "old.R1A"));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text,
            "Deleted file is not found\rProcessing is discontinued\rFile:" + dir.file("old.R1A"));
  EXPECT_EQ(msgs.boxes[0].title, "blnDelFile");
}

TEST_F(Files, ToneTableLayoutAndShortFiles) {
  app::setPath(dir.str());
  // Three elements: "", "67.0", and an ANSI character outside ASCII.
  std::vector<uint8_t> bytes = {0, 0, 4, 0, '6', '7', '.', '0', 2, 0, 'A', 0xB5};
  writeFileBytes(dir.file("tones.dat"), bytes);
  std::vector<std::string> table(3, "keep");
  ASSERT_TRUE(files.blnGetStringData("/ignored", "tones.dat", table, 2));
  EXPECT_EQ(table, (std::vector<std::string>{"", "67.0", "A\xC2\xB5"}));
  // Asking for more elements than the file holds is a missing table, not garbage.
  std::vector<std::string> more(4, "keep");
  EXPECT_FALSE(files.blnGetStringData("", "tones.dat", more, 3));
  EXPECT_EQ(more, std::vector<std::string>(4, "keep"));
  // A count running past the end of the file as well.
  bytes.back() = 'B';
  bytes[8] = 9;
  writeFileBytes(dir.file("tones.dat"), bytes);
  EXPECT_FALSE(files.blnGetStringData("", "tones.dat", table, 2));
  app::setPath("");
}

TEST(SettingsStore, AStoreThatIsAPipeReadsAsDefaultsAndHoldsNothingUp) {
  // Reading a pipe waits for a writer; the unattended write then never ended.
  TempDir dir;
  const std::string before = settings::storeFile();
  const std::string pipe = dir.file("velmora-settings.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  settings::setStoreFile(pipe);
  std::atomic<bool> done{false};
  std::string got;
  std::thread user([&] {
    settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "2");
    got = settings::GetSetting("velmora", "STARTUP", "RadioSelect", "0");
    done = true;
  });
  for (int i = 0; i < 200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(done) << "held up by the pipe";
  // Set a held-up reader free, so that a failure ends.
  while (!done) {
    const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  user.join();
  EXPECT_EQ(got, "0");
  struct stat st {};
  ASSERT_EQ(::stat(pipe.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));  // not replaced by a file of ours
  settings::setStoreFile(before);
}

namespace {
std::string fileText(const std::string& path) {
  const auto bytes = readFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// An environment variable set for one test, put back afterwards.
class SetEnv {
 public:
  SetEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~SetEnv() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};
}  // namespace

TEST(SettingsStore, AStoreWrittenByHandKeepsItsSectionsAndEveryValueComesBackAsStored) {
  TempDir dir;
  const std::string before = settings::storeFile();
  // A new user: neither the home's config folder nor ours is there yet; the
  // first setting stored makes them.
  SetEnv home("HOME", dir.file("home"));
  SetEnv config("XDG_CONFIG_HOME", dir.file("home/.config"));
  settings::setStoreFile("");
  const std::string store = dir.file("home/.config/velmora/velmora-settings.ini");
  ASSERT_EQ(settings::storeFile(), store);
  ASSERT_FALSE(std::filesystem::exists(dir.file("home")));
  ::testing::internal::CaptureStderr();
  settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "1");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(fileText(store), "[STARTUP]\nRadioSelect=1\n");
  EXPECT_EQ(settings::GetSetting("velmora", "STARTUP", "RadioSelect", "2"), "1");

  // Edited in an editor that starts the file with a UTF-8 byte-order mark
  // and ends lines with CR LF: the first section stays a section.
  const std::string edited =
      "\xEF\xBB\xBF[CONFIGURATION]\r\nDirectory=/srv/radios/\r\nDrive=/\r\n\r\n[STARTUP]\r\nRadioSelect=1\r\n";
  writeFileBytes(store, std::vector<uint8_t>(edited.begin(), edited.end()));
  EXPECT_EQ(settings::GetSetting("velmora", "CONFIGURATION", "Directory"), "/srv/radios/");
  settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "2");
  const std::string saved = "[CONFIGURATION]\nDirectory=/srv/radios/\nDrive=/\n\n[STARTUP]\nRadioSelect=2\n";
  EXPECT_EQ(fileText(store), saved);
  EXPECT_EQ(settings::GetSetting("velmora", "CONFIGURATION", "Directory"), "/srv/radios/");
  EXPECT_EQ(settings::GetSetting("velmora", "STARTUP", "RadioSelect"), "2");

  // Values whose escapes must end where they should: a blank at the end, a
  // control byte before a hex digit, a backslash, a tab and the text "\x41".
  const std::string blank = "/srv/old radios ", hex = std::string("a\x01") + "1", mixed = "C:\\radios\tx\\x41";
  settings::SaveSetting("velmora", "NOTES", "Blank", blank);
  settings::SaveSetting("velmora", "NOTES", "Hex", hex);
  settings::SaveSetting("velmora", "NOTES", "Mixed", mixed);
  EXPECT_EQ(fileText(store),
            "[CONFIGURATION]\nDirectory=/srv/radios/\nDrive=/\n\n"
            "[NOTES]\nBlank=\"/srv/old radios \"\nHex=a\\x1\\x31\nMixed=C:\\\\radios\\tx\\\\x41\n\n"
            "[STARTUP]\nRadioSelect=2\n");
  EXPECT_EQ(settings::GetSetting("velmora", "NOTES", "Blank"), blank);
  EXPECT_EQ(settings::GetSetting("velmora", "NOTES", "Hex"), hex);
  EXPECT_EQ(settings::GetSetting("velmora", "NOTES", "Mixed"), mixed);
  // Qt reads the same file alike.
  const QSettings qt(QString::fromStdString(store), QSettings::IniFormat);
  EXPECT_EQ(qt.value("NOTES/Blank").toString().toStdString(), blank);
  EXPECT_EQ(qt.value("NOTES/Hex").toString().toStdString(), hex);
  EXPECT_EQ(qt.value("NOTES/Mixed").toString().toStdString(), mixed);
  EXPECT_EQ(qt.value("CONFIGURATION/Directory").toString().toStdString(), "/srv/radios/");
  EXPECT_EQ(qt.value("STARTUP/RadioSelect").toString().toStdString(), "2");
  settings::setStoreFile(before);
}

TEST(SettingsStore, AFileSizeLimitLeavesTheSettingsUnstoredAndTheProgramRunning) {
  // Under "ulimit -f" the first setting stored ended the program with
  // SIGXFSZ, an unattended write before it sent a byte; later the store was
  // cut at the limit, mid-line, and a link's target emptied, without a word.
  TempDir dir;
  const std::string before = settings::storeFile();
  const std::string store = dir.file("velmora-settings.ini");
  std::string old = "[CONFIGURATION]\nDirectory=\"/home/tech/my radios, 2024/\"\nDrive=/\n\n[EXTRA]\n";
  // Longer than any one read of it: it is read whole and written back whole.
  for (int i = 1000; i < 2500; ++i) old += "Note" + std::to_string(i) + "=" + std::string(40, 'x') + "\n";
  old += "\n[STARTUP]\nRadioSelect=0\nStartUpTop=100\n";
  ASSERT_GT(old.size(), 64u * 1024);
  writeFileBytes(store, std::vector<uint8_t>(old.begin(), old.end()));
  settings::setStoreFile(store);
  settings::setFailureShownInBox(false);  // as in an unattended write
  const std::string said = "velmora: The settings could not be stored; the settings file keeps what it held:\n" + store;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int err = ::open(dir.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(err, 2);
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "2");
    settings::SaveSetting("velmora", "STARTUP", "StartUpTop", "250");
    ::_exit(7);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
  const auto kept = readFileBytes(store);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), old);
  const auto err = readFileBytes(dir.file("stderr"));
  EXPECT_EQ(std::string(err.begin(), err.end()), said + "\nCause: " + std::strerror(EFBIG) + "\n");  // once

  // Without the limit only the line of the setting changes. Neither the
  // read nor the write of the store leaves a descriptor open.
  const size_t open = openDescriptors();
  EXPECT_EQ(settings::GetSetting("velmora", "STARTUP", "StartUpTop"), "100");
  settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "2");
  EXPECT_EQ(openDescriptors(), open);
  std::string now = old;
  now.replace(now.find("RadioSelect=0"), 13, "RadioSelect=2");
  auto got = readFileBytes(store);
  EXPECT_EQ(std::string(got.begin(), got.end()), now);

  // A store that is a link: the file it leads to keeps its bytes, the link stays.
  std::filesystem::create_directory(dir.file("real"));
  std::filesystem::rename(store, dir.file("real/settings.ini"));
  std::filesystem::create_symlink("real/settings.ini", store);
  settings::setStoreFile(store);
  ::testing::internal::CaptureStderr();
  {
    FileSizeLimit full(1024);
    ASSERT_TRUE(full.ok());
    settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "1");
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), said + "\nCause: " + std::strerror(EFBIG) + "\n");
  got = readFileBytes(dir.file("real/settings.ini"));
  EXPECT_EQ(std::string(got.begin(), got.end()), now);
  EXPECT_TRUE(std::filesystem::is_symlink(store));

  // A read-only store stays as it is, mode and bytes, for root as well.
  ASSERT_EQ(::chmod(dir.file("real/settings.ini").c_str(), 0400), 0);
  settings::setStoreFile(store);
  ::testing::internal::CaptureStderr();
  settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "1");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), said + "\nCause: " + std::strerror(EACCES) + "\n");
  got = readFileBytes(dir.file("real/settings.ini"));
  EXPECT_EQ(std::string(got.begin(), got.end()), now);
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("real/settings.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0400u);
  EXPECT_EQ(settings::GetSetting("velmora", "CONFIGURATION", "Directory"), "/home/tech/my radios, 2024/");

  // Where someone attends the run it is said in one box, not on a terminal
  // nobody reads.
  settings::setStoreFile(store);
  settings::setFailureShownInBox(true);
  RecordingMessages boxes;
  ::testing::internal::CaptureStderr();
  settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "1");
  settings::SaveSetting("velmora", "STARTUP", "StartUpTop", "1");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  settings::setFailureShownInBox(false);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, said.substr(std::string("velmora: ").size()) + "\nCause: " + std::strerror(EACCES));

  // A store the user may not read: its settings read as their defaults, and
  // it is not written over with only the new one; said once. Root reads any:
  // as root, an ordinary user whose store and folders they are tries it.
  settings::setStoreFile(before);
  ASSERT_EQ(::chmod(dir.file("real/settings.ini").c_str(), 0200), 0);
  ASSERT_TRUE(ownedByOrdinaryUser(dir.str()));
  const std::string seen = asOrdinaryUser(dir.str(), [&] {
    settings::setStoreFile(store);
    ::testing::internal::CaptureStderr();
    std::string seen = "StartUpTop " + settings::GetSetting("velmora", "STARTUP", "StartUpTop", "-200") + "\n";
    settings::SaveSetting("velmora", "STARTUP", "RadioSelect", "1");
    settings::SaveSetting("velmora", "STARTUP", "StartUpTop", "1");
    seen += ::testing::internal::GetCapturedStderr();
    settings::setStoreFile(before);
    return seen;
  });
  EXPECT_EQ(seen, "StartUpTop -200\n" + said + "\nCause: " + std::strerror(EACCES) + "\n");
  ASSERT_EQ(::stat(dir.file("real/settings.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0200u);
  ASSERT_EQ(::chmod(dir.file("real/settings.ini").c_str(), 0600), 0);
  got = readFileBytes(dir.file("real/settings.ini"));
  EXPECT_EQ(std::string(got.begin(), got.end()), now);
  EXPECT_TRUE(std::filesystem::is_symlink(store));
  settings::setStoreFile(before);
}

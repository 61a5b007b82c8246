// The one writer of every file the user names: a full disk, links, things
// that are not files, permissions. Real links, fifos and a real file-size
// limit; no root and no mount needed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/base/safefile.h"
#include "support/devices.h"
#include "support/disklimit.h"
#include "support/testsupport.h"

namespace fs = std::filesystem;

namespace {
std::vector<uint8_t> bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 13);
  return v;
}

bool save(const std::string& path, const std::vector<uint8_t>& data, safefile::Problem* problem = nullptr) {
  safefile::SafeFile file(path);
  const bool ok = file.open() && file.write(data.data(), data.size()) && file.commit();
  if (problem) *problem = file.problem();
  return ok;
}

std::vector<std::string> names(const TempDir& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir.path())) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}
}  // namespace

TEST(SafeFile, AFullDiskIsAFailureAndTheOldFileSurvives) {
  TempDir dir;
  const std::string report = dir.file("report.txt");
  const auto old = bytes(13473, 1);
  writeFileBytes(report, old);
  {
    // 8 KB fit on the "disk": the bytes wait in the buffer, and only the
    // final flush of the commit finds the disk full.
    FileSizeLimit full(8192);
    ASSERT_TRUE(full.ok());
    safefile::SafeFile small(report);
    ASSERT_TRUE(small.open());
    const auto data = bytes(13473, 2);
    EXPECT_TRUE(small.write(data.data(), data.size()));
    EXPECT_FALSE(small.commit());
    EXPECT_EQ(small.problem(), safefile::Problem::Write);
  }
  EXPECT_EQ(readFileBytes(report), old);
  EXPECT_EQ(names(dir), std::vector<std::string>{"report.txt"});

  // Larger than the buffer: the failure comes from a write on the way, and
  // the commit after it fails too.
  safefile::SafeFile big(report);
  {
    FileSizeLimit full(100000);
    ASSERT_TRUE(big.open());
    int writes = 0;
    bool written = true;
    while (written && writes < 40) written = big.write(std::string(10000, 'x')), ++writes;
    EXPECT_FALSE(written);
    EXPECT_LT(writes, 40);
    EXPECT_FALSE(big.commit());
  }
  EXPECT_EQ(big.problem(), safefile::Problem::Write);
  EXPECT_EQ(big.error(), EFBIG);
  EXPECT_EQ(readFileBytes(report), old);
  EXPECT_EQ(names(dir), std::vector<std::string>{"report.txt"});

  // The rename itself fails: the target turned into a folder while the file
  // was written. The commit says so; the folder and what it holds stay.
  safefile::SafeFile renamed(report);
  ASSERT_TRUE(renamed.open());
  ASSERT_TRUE(renamed.write(std::string(100, 'y')));
  fs::rename(report, dir.file("old.txt"));
  fs::create_directory(report);
  fs::rename(dir.file("old.txt"), report + "/old.txt");
  EXPECT_FALSE(renamed.commit());
  EXPECT_EQ(renamed.problem(), safefile::Problem::Rename);
  EXPECT_TRUE(fs::is_directory(report));
  EXPECT_EQ(readFileBytes(report + "/old.txt"), old);
  EXPECT_EQ(names(dir), std::vector<std::string>{"report.txt"});
  fs::remove_all(report);
  writeFileBytes(report, old);

  // The same data without the limit is saved whole.
  EXPECT_TRUE(save(report, bytes(13473, 2)));
  EXPECT_EQ(readFileBytes(report), bytes(13473, 2));
}

TEST(SafeFile, ALinkIsFollowedAndStaysALink) {
  TempDir dir;
  fs::create_directory(dir.file("real"));
  const std::string target = dir.file("real/radio.R3D");
  writeFileBytes(target, bytes(100, 1));
  fs::create_symlink("real/radio.R3D", dir.file("radio.R3D"));  // relative, as ln -s makes it
  fs::create_symlink(dir.file("radio.R3D"), dir.file("again.R3D"));  // a link to the link
  ASSERT_TRUE(save(dir.file("again.R3D"), bytes(2560, 5)));
  EXPECT_TRUE(fs::is_symlink(dir.file("radio.R3D")));
  EXPECT_TRUE(fs::is_symlink(dir.file("again.R3D")));
  EXPECT_EQ(fs::read_symlink(dir.file("radio.R3D")), "real/radio.R3D");
  EXPECT_EQ(readFileBytes(target), bytes(2560, 5));
  EXPECT_EQ(names(dir), (std::vector<std::string>{"again.R3D", "radio.R3D", "real"}));

  // A link to a file not written yet makes that file.
  fs::create_symlink("real/new.R3D", dir.file("new.R3D"));
  ASSERT_TRUE(save(dir.file("new.R3D"), bytes(10, 9)));
  EXPECT_TRUE(fs::is_symlink(dir.file("new.R3D")));
  EXPECT_EQ(readFileBytes(dir.file("real/new.R3D")), bytes(10, 9));
  size_t inReal = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.file("real"))) ++inReal;
  EXPECT_EQ(inReal, 2u);  // the two files, no temporary one

  // Links in a circle lead to no file.
  fs::create_symlink("b", dir.file("a"));
  fs::create_symlink("a", dir.file("b"));
  safefile::Problem problem{};
  EXPECT_FALSE(save(dir.file("a"), bytes(10, 1), &problem));
  EXPECT_EQ(problem, safefile::Problem::LinkLoop);
}

TEST(SafeFile, OnlyARegularFileIsWrittenOver) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
  fs::create_directory(dir.file("folder"));
  Pty pty;
  const std::string device = ownCharacterDevice(dir.file("folder/null"), pty);
  if (device.empty()) GTEST_SKIP() << "no device of the test's own: no mknod and no pseudo-terminal";
  fs::create_symlink(device, dir.file("null.R1A"));
  fs::create_symlink("pipe", dir.file("piped.txt"));
  for (const char* name : {"pipe", "folder", "null.R1A", "piped.txt"}) {
    safefile::Problem problem{};
    // A fifo must not even be opened: with no reader it would block.
    EXPECT_FALSE(save(dir.file(name), bytes(10, 1), &problem)) << name;
    EXPECT_EQ(problem, safefile::Problem::NotRegular) << name;
  }
  EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
  EXPECT_TRUE(fs::is_directory(dir.file("folder")));
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_TRUE(fs::is_symlink(dir.file("null.R1A")));
  EXPECT_EQ(names(dir), (std::vector<std::string>{"folder", "null.R1A", "pipe", "piped.txt"}));

  safefile::Problem problem{};
  EXPECT_FALSE(save(dir.file("no/such/folder.txt"), bytes(10, 1), &problem));
  EXPECT_EQ(problem, safefile::Problem::Create);
}

TEST(SafeFile, PermissionsStayAndAReadOnlyFileIsRefused) {
  TempDir dir;
  for (mode_t mode : {0600, 0640, 0664}) {
    const std::string path = dir.file("kept" + std::to_string(mode));
    writeFileBytes(path, bytes(10, 1));
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_TRUE(save(path, bytes(20, 2)));
    EXPECT_EQ(modeOf(path), mode);
    EXPECT_EQ(readFileBytes(path), bytes(20, 2));
  }
  // A file the user made read-only is refused, for root as well (who passes
  // every access check), and stays as it was.
  const std::string locked = dir.file("locked.R2B");
  writeFileBytes(locked, bytes(10, 1));
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  safefile::Problem problem{};
  EXPECT_FALSE(save(locked, bytes(20, 2), &problem));
  EXPECT_EQ(problem, safefile::Problem::ReadOnly);
  EXPECT_EQ(readFileBytes(locked), bytes(10, 1));
  EXPECT_EQ(modeOf(locked), 0444u);
  EXPECT_FALSE(safefile::mayWrite(locked));

  // A file writable by its group only: root may write it, an ordinary user
  // as the system's access check says.
  const std::string group = dir.file("group.R2B");
  writeFileBytes(group, bytes(10, 1));
  ASSERT_EQ(::chmod(group.c_str(), 0060), 0);
  if (::geteuid() == 0) EXPECT_TRUE(safefile::mayWrite(group));
  else EXPECT_EQ(safefile::mayWrite(group), ::access(group.c_str(), W_OK) == 0);

  // A writable file in a folder where no file can be made: no temporary
  // file, so no write at all; never one in place, which a failure half-way
  // would leave cut. Root makes files in any folder: as root, an ordinary
  // user whose file and folders they are tries it.
  fs::create_directory(dir.file("shut"));
  const std::string inShut = dir.file("shut/radio.R3D");
  writeFileBytes(inShut, bytes(100, 3));
  ASSERT_EQ(::chmod(inShut.c_str(), 0644), 0);
  ASSERT_TRUE(ownedByOrdinaryUser(dir.str()));
  ASSERT_EQ(::chmod(dir.file("shut").c_str(), 0555), 0);
  const std::string said = asOrdinaryUser(dir.str(), [&] {
    if (::access(inShut.c_str(), W_OK) != 0) return std::string("the file is not writable: ") + std::strerror(errno);
    safefile::SafeFile shut(inShut);
    const auto more = bytes(20, 4);
    std::string seen = "open " + std::to_string(shut.open());
    seen += ", problem " + std::to_string(static_cast<int>(shut.problem())) + ", " + std::strerror(shut.error());
    seen += ", write " + std::to_string(shut.write(more.data(), more.size()));
    return seen + ", commit " + std::to_string(shut.commit());
  });
  EXPECT_EQ(said, "open 0, problem " + std::to_string(static_cast<int>(safefile::Problem::Create)) + ", " +
                      std::strerror(EACCES) + ", write 0, commit 0");
  EXPECT_EQ(readFileBytes(inShut), bytes(100, 3));
  EXPECT_EQ(modeOf(inShut), 0644u);
  ASSERT_EQ(::chmod(dir.file("shut").c_str(), 0755), 0);
  size_t inFolder = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.file("shut"))) ++inFolder;
  EXPECT_EQ(inFolder, 1u);
}

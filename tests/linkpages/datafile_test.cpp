#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <functional>
#include <filesystem>
#include <mutex>

#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/settingkeys.h"
#include "link/datafile.h"
#include "link/pages/frmfiledelet.h"
#include "link/pages/frmfileutility.h"
#include "platform/base/strtable.h"
#include "platform/gui/filedialogs.h"
#include "support/testsupport.h"

namespace {
// A file that changes between the look at its length and its read, as one
// an editor saves in place does: armed with a file and a length, the next
// look at that file (by its inode) through fstat gives it that length.
// With a length to end at, the file then gets that length back once a read of
// it finds its end: an editor's save done before the length is looked at
// again.
std::mutex g_changeLock;
std::string g_changeFile;
std::atomic<ino_t> g_changeInode{0};
std::atomic<ino_t> g_restoreInode{0};
off_t g_changeTo = 0;
off_t g_restoreTo = -1;

void changeAfterTheLook(const std::string& file, off_t length, off_t endsAt = -1) {
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  std::lock_guard<std::mutex> hold(g_changeLock);
  g_changeFile = file;
  g_changeTo = length;
  g_restoreTo = endsAt;
  g_changeInode = st.st_ino;
}

template <typename Function>
Function realFunction(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}
}  // namespace

// Stand in for the system's fstat and read in this test program; pass every
// call on, and change an armed file once, right after it was looked at, and
// once more after a read found its end.
extern "C" int fstat(int fd, struct stat* st) {
  static const auto real = realFunction<int (*)(int, struct stat*)>("fstat");
  const int result = real(fd, st);
  if (result == 0 && g_changeInode != 0 && st->st_ino == g_changeInode) {
    std::lock_guard<std::mutex> hold(g_changeLock);
    if (g_changeInode.exchange(0) != 0 && ::truncate(g_changeFile.c_str(), g_changeTo) != 0) std::abort();
    if (g_restoreTo >= 0) g_restoreInode = st->st_ino;
  }
  return result;
}

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static const auto real = realFunction<ssize_t (*)(int, void*, size_t)>("read");
  const ssize_t result = real(fd, buffer, count);
  struct stat st {};
  if (result == 0 && g_restoreInode != 0 && fstat(fd, &st) == 0 && st.st_ino == g_restoreInode) {
    std::lock_guard<std::mutex> hold(g_changeLock);
    if (g_restoreInode.exchange(0) != 0 && ::truncate(g_changeFile.c_str(), g_restoreTo) != 0) std::abort();
  }
  return result;
}

namespace {
class DataFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    setFileDialogHook([this](const FileDialogRequest& r) {
      requests.push_back(r);
      if (answers.empty()) return std::string();
      std::string a = answers.front();
      answers.erase(answers.begin());
      return a;
    });
  }
  void TearDown() override { setFileDialogHook({}); }
  std::vector<uint8_t> pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 13 + seed);
    return v;
  }
  TempDir dir;
  RecordingMessages msgs;
  std::vector<FileDialogRequest> requests;
  std::vector<std::string> answers;
};
}  // namespace

TEST_F(DataFiles, ExtensionsAndFiltersFollowFamilyAndRadioType) {
  ASSERT_TRUE(setUpFamily("0"));
  EXPECT_EQ(datafile::dialogFilter(), "velmora(*.R1A)|*.R1A");
  ASSERT_TRUE(setUpFamily("1"));
  modPublic.bytRadioData[1017] = 1;
  EXPECT_EQ(datafile::dialogFilter(), "velmora-ZR330(*.R2B)|*.R2B");
  modPublic.bytRadioData[1017] = 2;
  EXPECT_EQ(datafile::filePattern(), "*.R2C");
  modPublic.bytRadioData[1017] = 9;
  EXPECT_EQ(datafile::dialogFilter(), "");
  EXPECT_EQ(datafile::filePattern(), "");
  ASSERT_TRUE(setUpFamily("2"));
  EXPECT_EQ(datafile::dialogFilter(), "velmora(*.R3D)|*.R3D");
  EXPECT_EQ(qtFilter("velmora(*.R3D)|*.R3D"), "velmora(*.R3D)");
}

TEST_F(DataFiles, SaveThenOpenRoundTripsEveryFamily) {
  for (const char* family : {"0", "1", "2"}) {
    ASSERT_TRUE(setUpFamily(family));
    const size_t n = static_cast<size_t>(modPublic.lngDataLast) + 1;
    auto image = pattern(kImageSize, static_cast<uint8_t>(family[0]));
    image[1017] = 2;
    image[1016] = 3;
    std::copy(image.begin(), image.begin() + static_cast<long>(n), modPublic.bytRadioData.begin());
    FrmFileUtility page;
    page.Show();
    const std::string ext = datafile::extension();
    answers = {dir.file(std::string("radio") + family + ext)};
    page.comReadWrite_Click(1);
    EXPECT_EQ("." + requests.back().defaultSuffix, ext);
    const auto saved = readFileBytes(dir.file(std::string("radio") + family + ext));
    ASSERT_EQ(saved.size(), n) << family;
    EXPECT_EQ(std::string(saved.begin() + (family[0] == '0' ? 2 : 2016), saved.begin() + (family[0] == '0' ? 14 : 2028)),
              "velmora 1.00");
    if (family[0] != '0') {
      uint32_t sum = 0;
      for (size_t k = 0; k < 1023; ++k) sum += saved[2 * k] + 256u * saved[2 * k + 1];
      EXPECT_EQ(saved[2046], sum & 0xFF);
      EXPECT_EQ(saved[2047], (sum >> 8) & 0xFF);
    } else {
      EXPECT_EQ(saved[2046], image[2046]);  // no sum for this family
    }
    EXPECT_EQ(msgs.boxes.back().text, "Writing success");
    EXPECT_EQ(readSetting(keys::ConfigDirectory), dir.str() + "/");
    EXPECT_EQ(readSetting(keys::ConfigDrive), "/");
    EXPECT_EQ(requests.back().title, "velmora-File Save");
    EXPECT_EQ(requests.back().filter, datafile::dialogFilter());

    // Saving twice writes the same file; opening it brings the same bytes back.
    answers = {dir.file(std::string("radio") + family + ext)};
    page.comReadWrite_Click(1);
    EXPECT_EQ(readFileBytes(dir.file(std::string("radio") + family + ext)), saved);
    std::fill(modPublic.bytRadioData.begin(), modPublic.bytRadioData.end(), 0x5A);
    modPublic.blnRadioWritten = true;
    answers = {dir.file(std::string("radio") + family + ext)};
    page.comReadWrite_Click(0);
    EXPECT_EQ(requests.back().defaultSuffix, "");
    EXPECT_EQ(msgs.boxes.back().text, "Reading success");
    EXPECT_EQ(msgs.boxes.back().title, "subFileRead");
    for (size_t i = 0; i < n; ++i) {
      if (family[0] == '0' && (i == 64 || i == 65)) {
        ASSERT_EQ(modPublic.bytRadioData[i], 0);  // kill status cleared on open
        continue;
      }
      ASSERT_EQ(modPublic.bytRadioData[i], saved[i]) << family << " byte " << i;
    }
    if (n < modPublic.bytRadioData.size()) {
      EXPECT_EQ(modPublic.bytRadioData[n], 0x5A) << "bytes beyond the image stay";
    }
    EXPECT_EQ(modPublic.blnRadioWritten, family[0] == '1');
    page.Unload();
  }
}

TEST_F(DataFiles, SavingANameTypedWithoutExtensionAsksBeforeOverwritingTheRealFile) {
  ASSERT_TRUE(setUpFamily("2"));
  const std::vector<uint8_t> existing(2560, 0x77);
  writeFileBytes(dir.file("radio.R3D"), existing);
  saveSetting(keys::ConfigDirectory, dir.str() + "/");
  setFileDialogHook({});  // the real dialog
  FrmFileUtility page;
  page.Show();
  QString question;
  // Type the bare name and save; answer the overwrite question with No, then cancel.
  std::function<void()> drive = [&] {
    QWidget* front = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(front)) {
      question = box->text();
      box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->reject();
      QTimer::singleShot(0, drive);
    } else if (auto* chooser = qobject_cast<QFileDialog*>(front)) {
      if (question.isEmpty()) {
        chooser->selectFile("radio");
        QMetaObject::invokeMethod(chooser, "accept", Qt::QueuedConnection);
        QTimer::singleShot(10, drive);
      } else {
        chooser->reject();
      }
    } else {
      QTimer::singleShot(10, drive);
    }
  };
  QTimer::singleShot(0, drive);
  page.comReadWrite_Click(1);
  EXPECT_TRUE(question.contains("radio.R3D")) << question.toStdString();
  EXPECT_EQ(readFileBytes(dir.file("radio.R3D")), existing);
  EXPECT_FALSE(std::filesystem::exists(dir.file("radio")));
  page.Unload();
}

TEST_F(DataFiles, ShortFileIsRefusedAndCancelChangesNothing) {
  ASSERT_TRUE(setUpFamily("2"));
  const auto before = modPublic.bytRadioData;
  writeFileBytes(dir.file("short.R3D"), std::vector<uint8_t>(2048, 1));
  FrmFileUtility page;
  page.Show();
  answers = {dir.file("short.R3D")};
  page.subFileRead();
  EXPECT_EQ(modPublic.bytRadioData, before);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The file is 2048 bytes long but the radio's data is 2560 bytes (a data file must be "
                                "exactly as long): nothing was read\rFile:" + dir.file("short.R3D"));
  {  // in the program's language, with both lengths in their places
    struct BackToEnglish {
      ~BackToEnglish() { strtable::load(std::string(), "en"); }
    } back;
    ASSERT_TRUE(strtable::load(std::string(), "ja"));
    msgs.boxes.clear();
    answers = {dir.file("short.R3D")};
    page.subFileRead();
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "ファイルの長さは 2048 バイトですが、無線機のデータは 2560 バイトです "
                                  "(データファイルは同じ長さでなければなりません)。読み込みませんでした\rFile:" +
                                      dir.file("short.R3D"));
  }
  EXPECT_EQ(modPublic.bytRadioData, before);

  // A file exactly as long is read whole.
  const auto whole = pattern(2560, 7);
  writeFileBytes(dir.file("whole.R3D"), whole);
  answers = {dir.file("whole.R3D")};
  page.subFileRead();
  EXPECT_TRUE(std::equal(whole.begin(), whole.end(), modPublic.bytRadioData.begin()));

  saveSetting(keys::ConfigDirectory, "/keep/");
  const auto now = modPublic.bytRadioData;
  page.subFileRead();  // cancelled
  page.subFileSave();  // cancelled
  EXPECT_EQ(modPublic.bytRadioData, now);
  EXPECT_EQ(readSetting(keys::ConfigDirectory), "/keep/");
}

// A file of any length but the radio's data is not this radio's: another
// radio's image (or one cut or grown by a byte), or one a byte too long, is
// refused with its length and the radio's, nothing read, no success. A file
// of exactly the radio's length is still read.
TEST_F(DataFiles, AFileOfAnotherLengthThanTheRadiosIsRefused) {
  struct Case {
    const char* family;
    const char* ext;
    size_t size;
    size_t need;
  } cases[] = {{"2", ".R3D", 2561, 2560}, {"2", ".R3D", 6887, 2560}, {"2", ".R3D", 6888, 2560},
               {"2", ".R3D", 6889, 2560}, {"1", ".R2B", 2049, 2048}, {"1", ".R2B", 2560, 2048},
               {"1", ".R2B", 2561, 2048}, {"1", ".R2B", 6888, 2048}, {"1", ".R2B", 6889, 2048},
               {"0", ".R1A", 2560, 6888}, {"0", ".R1A", 6887, 6888}, {"0", ".R1A", 6889, 6888}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + c.ext);
    ASSERT_TRUE(setUpFamily(c.family));
    modPublic.bytRadioData[1017] = 1;
    const auto before = modPublic.bytRadioData;
    const std::string name = dir.file("other" + std::string(c.ext));
    writeFileBytes(name, pattern(c.size, 3));
    FrmFileUtility page;
    page.Show();
    msgs.boxes.clear();
    answers = {name};
    page.subFileRead();
    EXPECT_EQ(modPublic.bytRadioData, before);
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "The file is " + std::to_string(c.size) + " bytes long but the radio's data is " +
                                      std::to_string(c.need) +
                                      " bytes (a data file must be exactly as long): nothing was read\rFile:" + name);
    EXPECT_EQ(msgs.boxes[0].title, "subFileRead");

    auto whole = pattern(c.need, 5);
    whole[64] = whole[65] = 0;  // a ZR310's read clears them
    writeFileBytes(name, whole);
    msgs.boxes.clear();
    answers = {name};
    page.subFileRead();
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), modPublic.bytRadioData.begin()));
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "Reading success");
    page.Unload();
  }

  // A file of the radio's length that is emptied, cut or grown between the
  // look at its length and the read: nothing is read, and the message gives
  // the length it has now. Each read leaves no descriptor open.
  ASSERT_TRUE(setUpFamily("2"));
  const std::string name = dir.file("saving.R3D");
  FrmFileUtility page;
  page.Show();
  // One emptied, read short, then written back to its full length before its
  // length is looked at again, gives the length it was read with.
  const struct {
    off_t now, endsAt;
  } changes[] = {{0, -1}, {1000, -1}, {2559, -1}, {2600, -1}, {0, 2560}};
  for (const auto [now, endsAt] : changes) {
    SCOPED_TRACE(std::to_string(now) + " then " + std::to_string(endsAt));
    const auto before = modPublic.bytRadioData;
    writeFileBytes(name, pattern(2560, 9));
    const size_t descriptors = openDescriptors();
    changeAfterTheLook(name, now, endsAt);
    msgs.boxes.clear();
    answers = {name};
    page.subFileRead();
    EXPECT_EQ(g_changeInode, 0u) << "the file was never looked at";
    EXPECT_EQ(g_restoreInode, 0u) << "the file was never read to its end";
    g_restoreInode = 0;
    EXPECT_EQ(modPublic.bytRadioData, before);
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "The file is " + std::to_string(now) +
                                      " bytes long but the radio's data is 2560 bytes (a data file must be exactly "
                                      "as long): nothing was read\rFile:" + name);
    EXPECT_EQ(openDescriptors(), descriptors);
  }
  page.Unload();
}

TEST_F(DataFiles, ASaveWhoseRenameFailsSaysSoOnceAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(setUpFamily("2"));
  // The name is taken by a folder: the new file is written, but cannot
  // replace it.
  std::filesystem::create_directories(dir.file("taken.R3D/inside"));
  FrmFileUtility page;
  page.Show();
  answers = {dir.file("taken.R3D")};
  page.comReadWrite_Click(1);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified passing is not found\r\rPath:" + dir.str() + "/");
  EXPECT_EQ(msgs.boxes[0].title, "blnPutBinaryData");
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp~"), std::string::npos) << "left " << e.path();
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.R3D/inside")));
}

TEST_F(DataFiles, OpenDerivesTheBaseStationIfAndTheFirstRow) {
  ASSERT_TRUE(setUpFamily("2"));
  auto image = modPublic.bytRadioData;
  image[937] = 0;
  image[948] = 5;
  image[4 * 40] = 0x33;  // channel 21 RX row
  image[4 * 40 + 1] = 0x12;
  writeFileBytes(dir.file("a.R3D"), std::vector<uint8_t>(image.begin(), image.begin() + 2560));
  FrmFileUtility page;
  page.Show();
  answers = {dir.file("a.R3D")};
  page.subFileRead();
  EXPECT_EQ(modPublic.udtModelTable2[1].sngIFOffset, 21.6f);
  EXPECT_EQ(modPublic.udtModelTable2[12].sngIFOffset, -73.35f);
  EXPECT_EQ(modPublic.intTopRow, 40);
  // No channel in use: the first channel's RX row.
  ASSERT_TRUE(setUpFamily("2"));
  writeFileBytes(dir.file("b.R3D"), std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2560));
  answers = {dir.file("b.R3D")};
  page.subFileRead();
  EXPECT_EQ(modPublic.intTopRow, 0);
}

TEST_F(DataFiles, DeletePageDeletesExactlyTheFileItNamed) {
  ASSERT_TRUE(setUpFamily("0"));
  std::filesystem::create_directories(dir.file("other"));
  for (const char* f : {"a.R1A", "b.R1A", "c.R1A", "note.txt"}) writeFileBytes(dir.file(f), {1});
  writeFileBytes(dir.file("other/z.R1A"), {1});
  saveSetting(keys::ConfigDirectory, dir.str() + "/");
  FrmFileDelet page;
  page.Show();
  ASSERT_EQ(page.filSetUpFile->count(), 3);  // only the family's files
  EXPECT_EQ(page.selectedFile(), "a.R1A");

  page.filSetUpFile->setCurrentRow(2);
  msgs.answers = {2};  // Cancel
  page.CmdAction_Click(0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("c.R1A")));
  EXPECT_EQ(msgs.boxes.back().text, "Is it good to delete the file?\rFileName:c.R1A");

  page.CmdAction_Click(0);  // OK: the last entry goes, the new last is selected
  EXPECT_FALSE(std::filesystem::exists(dir.file("c.R1A")));
  EXPECT_EQ(msgs.boxes.back().text, "The file was deleted");
  EXPECT_EQ(page.filSetUpFile->currentRow(), 1);
  EXPECT_EQ(page.selectedFile(), "b.R1A");

  // In another folder the question and the delete name the file selected there.
  page.setDirPath(dir.file("other"));
  EXPECT_EQ(readSetting(keys::ConfigDirectory), dir.file("other") + "/");
  page.filSetUpFile->setCurrentRow(0);
  page.CmdAction_Click(0);
  EXPECT_EQ(msgs.boxes[msgs.boxes.size() - 2].text, "Is it good to delete the file?\rFileName:z.R1A");
  EXPECT_FALSE(std::filesystem::exists(dir.file("other/z.R1A")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("b.R1A")));
  EXPECT_EQ(page.filSetUpFile->currentRow(), -1);
  const size_t shown = msgs.boxes.size();
  page.CmdAction_Click(0);  // nothing selected: nothing asked
  EXPECT_EQ(msgs.boxes.size(), shown);
}

TEST_F(DataFiles, DeletePageShowsALongFolderElidedInTheMiddle) {
  ASSERT_TRUE(setUpFamily("2"));
  const std::string deep = dir.file(std::string(40, 'a') + "/" + std::string(40, 'b') + "/radio-files");
  std::filesystem::create_directories(deep);
  saveSetting(keys::ConfigDirectory, deep + "/");
  FrmFileDelet page;
  page.Show();
  QCoreApplication::sendPostedEvents();
  const QString shown = page.LabChangePath->text();
  EXPECT_EQ(page.LabChangePath->toolTip().toStdString(), deep);
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(shown.startsWith("/")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("radio-files")) << shown.toStdString();
  EXPECT_LE(page.LabChangePath->fontMetrics().horizontalAdvance(shown), page.LabChangePath->width());
  EXPECT_FALSE(page.LabChangePath->geometry().intersects(page.filSetUpFile->geometry()));  // nothing covers it
  // Both lists read out what they list: the folder list its whole folder,
  // the file list the caption above it.
  auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).toStdString(); };
  EXPECT_EQ(name(page.Dir1), deep);
  EXPECT_EQ(name(page.filSetUpFile), "File List");
  page.setDirPath(dir.str());
  EXPECT_EQ(name(page.Dir1), dir.str());
  page.Unload();
}

TEST_F(DataFiles, DeletePageFallsBackWhenTheDriveIsNotReady) {
  ASSERT_TRUE(setUpFamily("2"));
  saveSetting(keys::ConfigDrive, "/no/such/drive");
  FrmFileDelet page;
  page.Show();
  ASSERT_FALSE(msgs.boxes.empty());
  EXPECT_EQ(msgs.boxes[0].text, "Not Ready Reading Drive/no/such/drive");
  EXPECT_EQ(msgs.boxes[0].title, "Drive1_Change");
  EXPECT_EQ(msgs.boxes[0].style, 48);
}

TEST_F(DataFiles, DeletePageActionFrameComesFromTheLanguagesTable) {
  ASSERT_TRUE(setUpFamily("1"));
  strtable::load(std::string(), "ja");
  FrmFileDelet page;
  strtable::load(std::string(), "en");
  QStringList titles;
  for (const QGroupBox* frame : page.findChildren<QGroupBox*>()) titles << frame->title();
  EXPECT_TRUE(titles.contains(QString::fromUtf8("操作"))) << titles.join("|").toStdString();
}

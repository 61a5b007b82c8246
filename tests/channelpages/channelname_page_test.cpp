// The channel-name page driven headless with real key events: entry per
// family, page moves, short last pages, names the set cannot hold, pastes.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "channel/names.h"
#include "channel/pages/frmchannelname.h"
#include "core/identity.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "platform/gui/helpviewer.h"
#include "support/testsupport.h"

namespace {
using Bytes = std::vector<uint8_t>;

class NamePage : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  void TearDown() override { page.reset(); }

  // The family as the main menu leaves it (family "1" with the name option on).
  void family(const std::string& f) {
    ASSERT_TRUE(setUpFamily(f));
    if (f == "1") subSwitchChannelNames(true);
    dimChannelArrays();
  }
  void open() {
    page = std::make_unique<FrmChannelName>();
    page->Show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    QCoreApplication::processEvents();
  }
  QLineEdit* box(int i) { return page->txtChannelMenu[static_cast<size_t>(i)]; }
  bool focused(int i) { return QApplication::focusWidget() == box(i); }
  void type(int i, const QString& keys) {
    box(i)->setFocus();
    QTest::keyClicks(box(i), keys);
  }
  void key(int i, Qt::Key k) { QTest::keyClick(box(i), k); }
  void putName(int at, const Bytes& b) { std::copy(b.begin(), b.end(), modPublic.bytRadioData.begin() + at); }
  Bytes bytes(int at, int n = 8) {
    return Bytes(modPublic.bytRadioData.begin() + at, modPublic.bytRadioData.begin() + at + n);
  }

  TempDir dir;
  RecordingMessages msgs;
  std::unique_ptr<FrmChannelName> page;
};
}  // namespace

TEST_F(NamePage, TypedNamesAreWrittenAtTheFamilysPlaceAndNothingElseChanges) {
  struct Case {
    const char* family;
    int offset;  // name 1
    QString typed, shown;
  };
  for (const Case& c : {Case{"0", 784, "ab~c", "abc"}, Case{"1", 400, "ab.c", "ABC"}, Case{"2", 1024, "a.b/", "a.b"}}) {
    SCOPED_TRACE(c.family);
    family(c.family);
    const Bytes before = modPublic.bytRadioData;
    open();
    EXPECT_TRUE(focused(0));
    type(0, c.typed);
    EXPECT_EQ(box(0)->text(), c.shown);
    EXPECT_EQ(modPublic.strChannelName[0], c.shown.toStdString());
    key(0, Qt::Key_Return);
    EXPECT_TRUE(focused(1));
    type(1, "12345678");  // the eighth character moves on
    EXPECT_TRUE(focused(2));
    type(1, "9");  // a full box takes nothing
    EXPECT_EQ(box(1)->text(), "12345678");
    page->CmdAction_Click(0);
    EXPECT_FALSE(page->isLoaded());

    Bytes expected = before;
    const std::string first = c.shown.toStdString() + std::string(8 - c.shown.size(), ' ');
    std::copy(first.begin(), first.end(), expected.begin() + c.offset);
    const int second = names::nameOffset(std::stoi(c.family), 1);
    for (int k = 0; k < 8; ++k) expected[static_cast<size_t>(second + k)] = static_cast<uint8_t>('1' + k);
    EXPECT_EQ(modPublic.bytRadioData, expected);
    page.reset();
  }
}

TEST_F(NamePage, PagesMoveWithTheKeysAndShortLastPagesHideTheirEmptyBoxes) {
  family("1");
  open();
  // The eighth character typed into box 49 shows page 2; the name stays on page 1.
  type(49, "ABCDEFGH");
  EXPECT_EQ(page->currentPage(), 1);
  EXPECT_EQ(page->cboPageNo->currentIndex(), 1);
  EXPECT_TRUE(focused(0));
  EXPECT_EQ(page->labChannelName[0]->text(), " 51");
  EXPECT_EQ(box(49)->text(), "");
  key(0, Qt::Key_Up);
  EXPECT_EQ(page->currentPage(), 0);
  EXPECT_TRUE(focused(49));
  EXPECT_EQ(box(49)->text(), "ABCDEFGH");
  EXPECT_EQ(page->cboPageNo->count(), 2);
  page->Unload();
  EXPECT_EQ(bytes(400 + 8 * 49), Bytes({'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
  page.reset();

  family("0");
  open();
  EXPECT_EQ(page->cboPageNo->count(), 6);
  page->cboPageNo->setCurrentIndex(5);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(box(i)->isVisible(), i < 5) << i;
  EXPECT_EQ(page->labChannelName[4]->text(), " 255");
  type(4, "Z");
  key(4, Qt::Key_Return);
  EXPECT_TRUE(focused(4));  // the last name keeps the focus
  key(4, Qt::Key_Right);
  EXPECT_TRUE(focused(4));
  page->Unload();
  EXPECT_EQ(bytes(784 + 24 * 254), Bytes({'Z', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
  page.reset();

  family("2");
  open();
  page->cboPageNo->setCurrentIndex(1);
  EXPECT_FALSE(box(49)->isVisible());
  EXPECT_TRUE(box(48)->isVisible());
  box(48)->setFocus();
  key(48, Qt::Key_Down);
  EXPECT_TRUE(focused(48));
  box(39)->setFocus();
  key(39, Qt::Key_Right);
  EXPECT_TRUE(focused(39));
  box(9)->setFocus();
  key(9, Qt::Key_Left);
  EXPECT_TRUE(focused(48));  // the end of the row above
}

TEST_F(NamePage, NamesTheSetCannotHoldAreShownKeptAndReportedOnce) {
  family("2");
  const Bytes tilde = {'A', 'B', 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E};
  const Bytes nul = {'A', 0x00, 'B', ' ', 0xFF, 0xFF, 0xFF, 0xFF};
  putName(1024, tilde);
  putName(1024 + 8 * 5, nul);
  putName(1024 + 8 * 6, nul);
  putName(1024 + 8 * 60, {0xFF, 'X', 'Y', 0x01, 0x02, 0x03, 0x04, 0x05});  // reads as empty
  const Bytes before = modPublic.bytRadioData;
  open();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text,
            "Names holding characters outside the name set are kept as stored unless you edit them. "
            "Channels:\r1, 6-7");
  EXPECT_EQ(msgs.boxes[0].style, 64);
  EXPECT_EQ(box(0)->text(), "AB~~~~~~");
  EXPECT_EQ(box(5)->text(), QString::fromUtf8("A\u2400B"));

  // Coming to the front again reads the names again but warns no more.
  modPublic.strChannelName[1] = "STALE";
  Page over;
  over.Show();
  over.Unload();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(modPublic.strChannelName[1], "");
  EXPECT_EQ(msgs.boxes.size(), 1u);
  page->Unload();
  EXPECT_EQ(modPublic.bytRadioData, before);
  page.reset();

  // Editing such a name writes it, the stored control byte included.
  open();
  box(5)->setFocus();
  box(5)->setCursorPosition(3);
  QTest::keyClicks(box(5), "c");
  box(0)->setFocus();
  box(0)->end(false);
  key(0, Qt::Key_Backspace);
  EXPECT_EQ(modPublic.strChannelName[0], "AB~~~~~");
  page->Unload();
  EXPECT_EQ(bytes(1024), Bytes({'A', 'B', 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, ' '}));
  EXPECT_EQ(bytes(1024 + 40), Bytes({'A', 0x00, 'B', 'c', ' ', ' ', ' ', ' '}));
  EXPECT_EQ(bytes(1024 + 48), nul);
}

// Names the page did not write, odd but as a radio may hold them (padding
// that is not blanks, bytes after an empty name's first byte, control and
// DEL bytes, lower case in family "1"): walked through and left, every byte
// stays.
TEST_F(NamePage, ALookAtStoredNamesChangesNoByte) {
  for (const char* f : {"0", "1", "2"}) {
    SCOPED_TRACE(f);
    family(f);
    const int fam = std::stoi(f);
    putName(names::nameOffset(fam, 0), {'a', 'b', 0x00, 0x00, 0xFF, ' ', 0x7F, 0x1F});
    putName(names::nameOffset(fam, 1), {0xFF, 'X', 'Y', 0x01, 0x02, 0x03, 0x04, 0x05});
    putName(names::nameOffset(fam, 2), {0x00, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47});
    putName(names::nameOffset(fam, 3), {'A', ' ', ' ', 'B', 0xFF, 0xFF, 0x00, 0x00});
    const Bytes before = modPublic.bytRadioData;
    open();
    for (int i = 0; i < 5; ++i) key(i, Qt::Key_Return);
    key(5, Qt::Key_Up);
    page->CmdAction_Click(0);
    EXPECT_FALSE(page->isLoaded());
    EXPECT_EQ(modPublic.bytRadioData, before);
    page.reset();
  }
}

TEST_F(NamePage, PastedTextPassesTheTypingRules) {
  family("1");
  open();
  type(3, "XY");
  QApplication::clipboard()->setText("ab-c");
  box(3)->selectAll();
  QTest::keyClick(box(3), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box(3)->text(), "AB-C");
  EXPECT_EQ(modPublic.strChannelName[3], "AB-C");

  QApplication::clipboard()->setText("A.B");
  box(3)->selectAll();
  QTest::keyClick(box(3), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error\r\"A.B\"");
  EXPECT_EQ(msgs.boxes[0].style, 64);
  EXPECT_EQ(msgs.boxes[0].title, "txtChannelMenu_Change");
  EXPECT_TRUE(msgs.waves.empty());
  EXPECT_EQ(box(3)->text(), "AB-C");  // the name stays as it was
  // A screen reader or test tool sets the text without a key: the same rules.
  QAccessible::queryAccessibleInterface(box(7))->setText(QAccessible::Value, "sr-1");
  EXPECT_EQ(box(7)->text(), "SR-1");
  EXPECT_EQ(modPublic.strChannelName[7], "SR-1");
  page->Unload();
  EXPECT_EQ(bytes(400 + 24), Bytes({'A', 'B', '-', 'C', ' ', ' ', ' ', ' '}));
  EXPECT_EQ(bytes(400 + 56), Bytes({'S', 'R', '-', '1', ' ', ' ', ' ', ' '}));
  page.reset();

  // A box hidden beyond the family's last name takes nothing.
  family("0");
  open();
  page->cboPageNo->setCurrentIndex(5);
  QAccessible::queryAccessibleInterface(box(20))->setText(QAccessible::Value, "LOST");
  EXPECT_EQ(box(20)->text(), "");
  EXPECT_EQ(modPublic.strChannelName.size(), 255u);
  page->Unload();

  std::string help;
  EXPECT_TRUE(help::topicText(help::locate("evelmora.hlp"), "Channel Name Menu", help));
}

TEST_F(NamePage, HelpMenuComesFromTheLanguagesTable) {
  family("2");
  strtable::load(std::string(), "ja");
  open();
  strtable::load(std::string(), "en");
  EXPECT_EQ(page->mnuHelp->text().toStdString(), "ヘルプ(&H)");
}

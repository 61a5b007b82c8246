// The initialise / clear dialog: the empty channel patterns per family and
// the reload from the initial file.
#include <QLabel>
#include <QPushButton>

#include "core/pages/frmclearselect.h"
#include "startup_fixture.h"

namespace {
using Bytes = std::vector<uint8_t>;
}

class ClearDialog : public StartupRoad {
 protected:
  void scribble() {
    for (size_t i = 0; i < image().size(); ++i) image()[i] = static_cast<uint8_t>(i * 7 + 3);
  }
  void expectRows(int from, int to, Bytes row) {
    for (int a = from; a <= to; a += 4) ASSERT_EQ(bytes(a, 4), row) << a;
  }
  void expectKept(const Bytes& before, int from, int to) {
    EXPECT_TRUE(std::equal(before.begin() + from, before.begin() + to + 1, image().begin() + from)) << from << "-" << to;
  }
};

TEST_F(ClearDialog, ChannelClearWritesEachFamilysEmptyPattern) {
  family("0");
  scribble();
  put(801, {0x00});
  Bytes before = image();
  const Bytes base = modPublic.bytRadioBase;
  modPublic.intTopRow = 40;
  modPublic.blnRadioRead = true;
  modPublic.blnRadioWritten = true;
  FrmClearSelect dialog(nullptr);
  dialog.Show();
  dialog.cmdChannelClear_Click();
  expectKept(before, 0, 767);
  EXPECT_EQ(bytes(768, 255 * 24), Bytes(255 * 24, 0));
  expectKept(before, 768 + 255 * 24, 6887);
  EXPECT_EQ(modPublic.bytRadioBase, base);
  EXPECT_EQ(modPublic.intTopRow, 0);
  EXPECT_FALSE(modPublic.blnRadioRead);
  EXPECT_TRUE(modPublic.blnRadioWritten);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Initialization Completion");
  EXPECT_EQ(msgs.boxes[0].style, 64);
  EXPECT_EQ(msgs.boxes[0].title, "cmdAllDataClear_Click");

  family("1");  // channel names on: rows 0-199
  scribble();
  put(801, {0x02});
  before = image();
  modPublic.blnRadioRead = modPublic.blnRadioWritten = true;
  FrmClearSelect::subClearChannels();
  expectRows(0, 396, {0xFF, 0x3F, 0x7F, 0x00});
  expectKept(before, 400, 1023);
  expectRows(1024, 1420, {0xFF, 0x3F, 0x7F, 0x00});
  expectKept(before, 1424, 2047);

  put(801, {0x00});  // names off: rows 0-399
  before = image();
  FrmClearSelect::subClearChannels();
  expectRows(0, 796, {0xFF, 0x3F, 0x7F, 0x00});
  expectKept(before, 800, 1023);
  expectRows(1024, 1820, {0xFF, 0x3F, 0x7F, 0x00});
  expectKept(before, 1824, 2047);

  family("2");
  scribble();
  before = image();
  modPublic.blnRadioWritten = true;
  FrmClearSelect dialog2(nullptr);
  dialog2.Show();
  dialog2.cmdChannelClear_Click();
  expectRows(0, 788, {0xF9, 0x3F, 0x7F, 0x00});
  expectKept(before, 792, 6887);
  EXPECT_FALSE(modPublic.blnRadioWritten);
}

TEST_F(ClearDialog, AllDataClearReloadsOrLeavesEverythingWhenTheFileIsMissing) {
  family("2");
  scribble();
  modPublic.bytRadioBase.assign(modPublic.bytRadioBase.size(), 0xAA);
  FrmClearSelect dialog(nullptr);
  dialog.Show();
  dialog.cmdAllDataClear_Click();
  const Bytes file = readFileBytes(app::path() + "/InitialP3RC.dat");
  ASSERT_EQ(file.size(), 2560u);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), image().begin()));
  EXPECT_TRUE(std::equal(file.begin(), file.end(), modPublic.bytRadioBase.begin()));
  EXPECT_EQ(image()[2560], static_cast<uint8_t>(2560 * 7 + 3));  // beyond the family's last byte
  EXPECT_EQ(msgs.boxes.at(0).text, "Initialization Completion");

  scribble();
  const Bytes before = image();
  modPublic.strInitialFile = "NoSuchInitial.dat";
  msgs.boxes.clear();
  dialog.cmdAllDataClear_Click();
  EXPECT_EQ(image(), before);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Failed in the Initialization of data ");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(msgs.boxes[0].title, "cmdAllDataClear_Click");
  dialog.cmdExit_Click();
  EXPECT_FALSE(dialog.isLoaded());
}

TEST_F(ClearDialog, PlacedByItsOwnerAndNeverOffScreen) {
  family("1");
  Page owner;
  owner.Move(3000, 1500);
  FrmClearSelect dialog(&owner);
  dialog.Show();
  EXPECT_EQ(dialog.windowTitle(), "velmora-ClearSelect");
  EXPECT_EQ(dialog.cmdChannelClear->text(), "Channel Data initialize");
  EXPECT_EQ(dialog.Left(), 5100);
  EXPECT_EQ(dialog.Top(), 3000);
  dialog.Unload();
  owner.Move(-4500, -3000);
  FrmClearSelect dialog2(&owner);
  dialog2.Show();
  EXPECT_EQ(dialog2.Left(), 0);
  EXPECT_EQ(dialog2.Top(), 0);
}

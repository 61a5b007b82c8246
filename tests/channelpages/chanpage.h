#pragma once
// The channel editor opened on a family's image and driven through its real
// widgets: keys go to the focused widget, as a user's would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "channel/pages/frmchannel.h"
#include "core/controldata.h"
#include "core/identity.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "app/program.h"
#include "fullimage.h"
#include "support/testsupport.h"

class ChannelPage : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    program::resetEnded();
  }
  void TearDown() override {
    if (page && page->isLoaded()) page->Unload();
    page.reset();
    FrmChannel::setAutoSetOpener(nullptr);
  }

  // The family's initial image with model code `model`; `names` sets the
  // family-"1" channel-name layout (100 channels).
  void family(const std::string& f, int model, bool names = false) {
    ASSERT_TRUE(blnGetControlData());
    ASSERT_TRUE(setUpFamily(f));
    image()[f == "0" ? 14 : 1016] = static_cast<uint8_t>(model);
    if (f != "0") image()[1017] = 2;
    if (names) image()[801] |= 2;
    else if (f == "1") image()[801] &= static_cast<uint8_t>(~2);
    dimChannelArrays();
    modPublic.intTopRow = 0;
  }

  void fillChannels(int64_t baseHz) { ASSERT_TRUE(fillAllChannels(baseHz)); }
  // Family "0": channel c's RX row holds a DCS index beyond the family's
  // table, a code the editor cannot show, without INV.
  void hiddenDcs(int channel) {
    const auto rx = image().begin() + 768 + 24 * (channel - 1);
    rx[0] |= 4;
    rx[3] = 100;
  }

  // Opens the editor as the main menu does, in front and focused.
  FrmChannel& open() {
    page = std::make_unique<FrmChannel>();
    page->Show();
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
    QApplication::processEvents();
    return *page;
  }
  void close() {
    page->Unload();
    page.reset();
  }

  QWidget* focused() const { return QApplication::focusWidget(); }
  QLineEdit* cell(int nav, int row) const { return page->cell(nav, row); }
  std::string text(int nav, int row) const { return page->cellText(nav, row); }
  int top() const { return page->vscChanPara->value(); }
  // Keys to the focused widget.
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(focused(), k, m);
    QApplication::processEvents();
  }
  void type(const char* s) {
    QTest::keyClicks(focused(), s);
    QApplication::processEvents();
  }
  void focus(int nav, int row) {
    cell(nav, row)->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }
  std::vector<uint8_t>& image() { return modPublic.bytRadioData; }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> t;
    for (const auto& b : msgs.boxes) t.push_back(b.text);
    return t;
  }

  TempDir dir;
  RecordingMessages msgs;
  std::unique_ptr<FrmChannel> page;
};

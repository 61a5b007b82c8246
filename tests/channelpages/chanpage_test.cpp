// The channel editor driven through its widgets: paging, the jump box, the
// keys at the edges, deletion, the frequency cell, closing, and what the
// image holds afterwards.
#include <QClipboard>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <functional>

#include "chanpage.h"
#include "channel/tonetables.h"
#include "platform/base/appinfo.h"

namespace {
using Nav = FrmChannel::Nav;
constexpr int kFreq = FrmChannel::kFreq;
const std::string& grid(int row, int col) { return modPublic.strChanPara(row, col); }

// The 24-byte record of a family-"0" channel.
// Whether changed bits `diff` of image byte `at` belong to channel 3 (RX row
// 4, TX row 5): its rows and its bits in the per-channel areas.
bool channel3Bits(int family, int at, int diff) {
  switch (family) {
    case 0: return at >= 768 + 48 && at < 768 + 72;
    case 1: return (at >= 16 && at < 24) || ((at == 982 || at == 996 || at == 1856) && diff == 4);
    default:
      return (at >= 16 && at < 24) || at == 2050 || at == 2418 || at == 1818 ||
             ((at == 1920 || at == 1952) && (diff & ~0x30) == 0) || ((at == 1984 || at == 2000) && diff == 4);
  }
}

std::vector<uint8_t> record0(const std::vector<uint8_t>& image, int channel) {
  const auto at = image.begin() + 768 + 24 * (channel - 1);
  return {at, at + 24};
}
}  // namespace

TEST_F(ChannelPage, PagingShowsEveryRowOnceAndFollowsTheLayout) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  EXPECT_EQ(page->windowTitle(), "velmora-ChannelMenu");
  EXPECT_EQ(page->labTitle->text(), "Channel Parameter Edit");
  EXPECT_EQ(page->Labinfo[1]->text(), "IF : [ + 48.5 ]");
  EXPECT_EQ(page->vscChanPara->maximum(), 494);
  EXPECT_EQ(focused(), cell(kFreq, 0));
  EXPECT_FALSE(page->mnuAutoSet->isEnabled());  // no auto channel-set dialog yet
  key(Qt::Key_End);
  EXPECT_EQ(top(), 494);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(page->labChanParaNo[static_cast<size_t>(i)]->text().toStdString(), i % 2 ? "" : std::to_string(248 + i / 2));
    EXPECT_EQ(page->labChanParaTxRx[static_cast<size_t>(i)]->text(), i % 2 ? "TX" : "RX");
    EXPECT_EQ(text(kFreq, i), grid(494 + i, 2));
    EXPECT_EQ(text(FrmChannel::kDCS, i), grid(494 + i, 9));
    EXPECT_EQ(text(FrmChannel::kPMFM, i), grid(494 + i, 8));
  }
  EXPECT_EQ(cell(kFreq, 15)->accessibleName(), "Frequency 255 TX");
  // The RX/TX rules follow the label, also after a one-row scroll.
  key(Qt::Key_Home);
  focus(kFreq, 15);
  key(Qt::Key_Down);
  EXPECT_EQ(top(), 1);
  EXPECT_EQ(page->labChanParaTxRx[0]->text(), "TX");
  EXPECT_FALSE(cell(FrmChannel::kScan, 0)->isEnabled());
  EXPECT_TRUE(cell(FrmChannel::kTxPower, 0)->isEnabled());
  EXPECT_FALSE(cell(FrmChannel::kSH, 0)->isEnabled());
  EXPECT_TRUE(cell(FrmChannel::kSH, 1)->isEnabled());
  EXPECT_FALSE(cell(FrmChannel::kMode, 1)->isEnabled());
  // INV follows its DCS cell.
  for (int i = 0; i < 16; ++i) EXPECT_EQ(cell(FrmChannel::kINV, i)->isEnabled(), !text(FrmChannel::kDCS, i).empty()) << i;
  close();

  // Family "2": 99 channels; the TX rows have no W/N or mode.
  family("2", 5);
  fillChannels(140'000'000);
  open();
  EXPECT_EQ(page->vscChanPara->maximum(), 182);
  EXPECT_EQ(page->Labinfo[1]->text(), "IF : [ + 48.50 ]");
  EXPECT_FALSE(cell(FrmChannel::kWN, 1)->isEnabled());
  EXPECT_TRUE(cell(FrmChannel::kMode, 0)->isEnabled());
  EXPECT_FALSE(page->labChanParaEdit[12]->isEnabled());
  close();
}

TEST_F(ChannelPage, Family1SizesItsGridFromTheImage) {
  family("1", 2);
  fillChannels(140'000'000);
  modPublic.intTopRow = 380;
  open();
  EXPECT_EQ(page->vscChanPara->maximum(), 384);
  EXPECT_EQ(top(), 380);
  EXPECT_EQ(page->labChanParaNo[0]->text(), "191");
  close();

  // The channel-name layout switched on after the main menu sized the grid for
  // 200 channels: the page takes 100 from the image and starts at the top.
  image()[801] |= 2;
  modPublic.intTopRow = 102;
  open();
  EXPECT_EQ(modPublic.chanParaLastRow(), 199);
  EXPECT_EQ(page->vscChanPara->maximum(), 184);
  EXPECT_EQ(top(), 0);
  close();
  modPublic.intTopRow = 100;
  open();
  EXPECT_EQ(top(), 100);
  key(Qt::Key_End);
  EXPECT_EQ(page->labChanParaNo[14]->text(), "100");
  close();
}

TEST_F(ChannelPage, JumpBoxGoesToTheChannelOrItsLastPage) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  auto jump = [&](const char* number) {
    focus(kFreq, 3);
    key(Qt::Key_F11);
    EXPECT_TRUE(page->txtInputChannel->isVisible());
    EXPECT_EQ(focused(), page->txtInputChannel);
    type(number);
    key(Qt::Key_Return);
  };
  EXPECT_FALSE(page->txtInputChannel->isVisible());
  jump("247");
  EXPECT_EQ(page->LabChannelRange->text(), "(No. 1 - 255)");
  EXPECT_EQ(top(), 492);
  EXPECT_FALSE(page->txtInputChannel->isVisible());
  EXPECT_EQ(focused(), cell(kFreq, 0));
  for (const char* n : {"248", "255"}) {
    jump(n);
    EXPECT_EQ(top(), 494) << n;
  }
  jump("1");
  EXPECT_EQ(top(), 0);
  for (const char* n : {"0", "256"}) {
    jump(n);
    ASSERT_FALSE(msgs.boxes.empty());
    EXPECT_EQ(msgs.boxes.back().text, "Input value range outside error");
    EXPECT_EQ(msgs.boxes.back().title, "txtInputChannel_KeyDown");
    EXPECT_EQ(msgs.boxes.back().style, 48);
    EXPECT_EQ(page->txtInputChannel->text(), "");
    EXPECT_EQ(focused(), page->txtInputChannel);
    EXPECT_EQ(top(), 0);
  }
  type("1x2");  // letters never get in
  EXPECT_EQ(page->txtInputChannel->text(), "12");
  page->txtInputChannel->clear();
  key(Qt::Key_Return);  // empty: nothing
  EXPECT_EQ(focused(), page->txtInputChannel);
  focus(kFreq, 2);  // leaving an empty box hides it
  EXPECT_FALSE(page->txtInputChannel->isVisible());
  close();

  family("2", 5);
  fillChannels(140'000'000);
  open();
  jump("91");
  EXPECT_EQ(page->LabChannelRange->text(), "(No. 1 - 99)");
  EXPECT_EQ(top(), 180);
  jump("92");
  EXPECT_EQ(top(), 182);
  close();
}

TEST_F(ChannelPage, PagingKeysStopAtTheEdges) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(FrmChannel::kDCS, 5);
  key(Qt::Key_PageUp);  // at the top: nothing
  EXPECT_EQ(top(), 0);
  EXPECT_EQ(focused(), cell(FrmChannel::kDCS, 5));
  key(Qt::Key_PageDown);
  EXPECT_EQ(top(), 16);
  EXPECT_EQ(focused(), cell(kFreq, 5));
  key(Qt::Key_End);
  EXPECT_EQ(top(), 494);
  EXPECT_EQ(focused(), cell(kFreq, 4));
  key(Qt::Key_PageDown);
  EXPECT_EQ(top(), 494);
  focus(kFreq, 15);
  key(Qt::Key_Down);
  EXPECT_EQ(top(), 494);
  EXPECT_EQ(focused(), cell(kFreq, 15));
  page->vscChanPara->setValue(17);
  key(Qt::Key_PageUp);
  EXPECT_EQ(top(), 0);
  page->vscChanPara->setValue(18);
  key(Qt::Key_PageUp);
  EXPECT_EQ(top(), 2);
  focus(kFreq, 0);
  key(Qt::Key_Up);
  EXPECT_EQ(top(), 1);
  key(Qt::Key_Up);
  key(Qt::Key_Up);
  EXPECT_EQ(top(), 0);
  key(Qt::Key_Down);
  EXPECT_EQ(focused(), cell(kFreq, 1));
  // Down from an SH cell of an RX row: the TX row's SH is disabled, the
  // nearest enabled cell to its left takes the focus.
  focus(FrmChannel::kSH, 2);
  key(Qt::Key_Down);
  ASSERT_FALSE(cell(FrmChannel::kINV, 3)->isEnabled());  // no DCS code in that row
  EXPECT_EQ(focused(), cell(FrmChannel::kDCS, 3));
  // With the key help shown, a key only closes it.
  key(Qt::Key_F1);
  EXPECT_TRUE(page->fraHelp->isVisible());
  key(Qt::Key_Down);
  EXPECT_FALSE(page->fraHelp->isVisible());
  EXPECT_FALSE(page->picShadow->isVisible());
  EXPECT_EQ(focused(), cell(FrmChannel::kDCS, 3));
  // F2 shows the code table of a tone cell only.
  focus(FrmChannel::kCTCSS, 6);
  key(Qt::Key_F2);
  EXPECT_TRUE(page->fraCTC[0]->isVisible());
  key(Qt::Key_Right);
  EXPECT_FALSE(page->fraCTC[0]->isVisible());
  close();
}

TEST_F(ChannelPage, RightwardWrapNeverPassesTheLastPage) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  key(Qt::Key_End);
  focus(kFreq, 0);
  key(Qt::Key_Up);
  ASSERT_EQ(top(), 493);
  focus(FrmChannel::kPMFM, 15);
  key(Qt::Key_X);  // another key's release never scrolls
  EXPECT_EQ(top(), 493);
  key(Qt::Key_Right);
  EXPECT_EQ(top(), 494);
  EXPECT_EQ(focused(), cell(kFreq, 15));
  focus(FrmChannel::kPMFM, 15);
  key(Qt::Key_Right);  // the end of the grid: nowhere to go
  EXPECT_EQ(top(), 494);
  EXPECT_EQ(focused(), cell(FrmChannel::kPMFM, 15));
  focus(FrmChannel::kPMFM, 3);
  key(Qt::Key_Right);
  EXPECT_EQ(focused(), cell(kFreq, 4));
  close();
}

TEST_F(ChannelPage, CtrlDDeletesTheChannelOrItsTxRow) {
  family("0", 4);
  fillChannels(145'000'000);
  const auto before = image();
  open();
  focus(FrmChannel::kWN, 4);  // channel 3, RX row
  key(Qt::Key_D, Qt::ControlModifier);
  for (int r : {4, 5}) {
    for (int k = 0; k < 13; ++k) EXPECT_EQ(text(k, r), "") << r << " " << k;
    for (int c = 0; c < 13; ++c) EXPECT_EQ(grid(r, c), "") << r << " " << c;
    EXPECT_FALSE(page->tabStop(FrmChannel::kWN, r));
  }
  EXPECT_EQ(grid(6, 2), "145.03750");
  focus(kFreq, 9);  // channel 5, TX row: the RX row stays
  key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(grid(9, 2), "");
  EXPECT_EQ(grid(8, 2), "145.05000");
  page->vscChanPara->setValue(21);  // channel 19's RX row in visible row 15
  focus(kFreq, 15);
  key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(grid(36, 2), "");
  EXPECT_EQ(grid(37, 0), "");  // its TX row, not on screen, goes too
  EXPECT_EQ(grid(38, 2), "145.23750");
  close();
  for (int c = 1; c <= 255; ++c) {
    std::vector<uint8_t> expected = record0(before, c);
    if (c == 3 || c == 19) std::fill(expected.begin(), expected.begin() + 16, 0);
    if (c == 5) std::fill(expected.begin() + 8, expected.begin() + 16, 0);
    EXPECT_EQ(record0(image(), c), expected) << "channel " << c;
  }
  EXPECT_TRUE(std::equal(image().begin(), image().begin() + 768, before.begin()));
}

TEST_F(ChannelPage, FrequencyCellChecksFormatsAndFillsDefaults) {
  family("2", 5);
  open();
  focus(kFreq, 0);
  type("14a5.5");  // letters cannot be typed
  EXPECT_EQ(text(kFreq, 0), "145.5");
  key(Qt::Key_Return);
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(text(kFreq, 0), "145.50000");
  const std::vector<std::string> rx = {"64", "12.50", "145.50000", "WID", "Simp", "OFF", "", "", "PM", "", "", "", ""};
  for (int c = 0; c < 13; ++c) EXPECT_EQ(grid(0, c), rx[static_cast<size_t>(c)]) << c;
  key(Qt::Key_Down);
  type("150.0125");
  key(Qt::Key_Tab);  // leaving checks too
  const std::vector<std::string> tx = {"64", "12.50", "150.01250", "", "", "", "HI", "", "PM", "", "", "", ""};
  for (int c = 0; c < 13; ++c) EXPECT_EQ(grid(1, c), tx[static_cast<size_t>(c)]) << c;

  // Refused and malformed entries give their message and the text back.
  focus(kFreq, 0);
  cell(kFreq, 0)->selectAll();
  type("1000");
  key(Qt::Key_Return);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Frequency input error");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(msgs.boxes[0].title, "txtFrequency_KeyUp");
  EXPECT_EQ(text(kFreq, 0), "145.50000");
  EXPECT_EQ(grid(0, 2), "145.50000");
  cell(kFreq, 0)->selectAll();
  type("145.5.2");
  key(Qt::Key_Return);  // the release after the message box is skipped first
  key(Qt::Key_Return);
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].text, "Input value range outside error\rThe decimal point overlaps");
  EXPECT_EQ(msgs.boxes[1].style, 64);
  EXPECT_EQ(text(kFreq, 0), "145.50000");
  // Leaving a refused edit: message, text back, the focus stays.
  cell(kFreq, 0)->selectAll();
  type("999");
  key(Qt::Key_Tab);
  ASSERT_EQ(msgs.boxes.size(), 3u);
  EXPECT_EQ(msgs.boxes[2].title, "txtFrequency_LostFocus");
  EXPECT_EQ(focused(), cell(kFreq, 0));
  EXPECT_EQ(grid(0, 2), "145.50000");
  // Emptying the RX frequency deletes the channel, TX row included.
  cell(kFreq, 0)->selectAll();
  key(Qt::Key_Backspace);
  EXPECT_EQ(grid(0, 0), "");
  EXPECT_EQ(grid(1, 2), "");
  close();
}

TEST_F(ChannelPage, TypedTextIsDroppedByPagingAndCheckedOnClosing) {
  family("0", 4);
  fillChannels(145'000'000);
  const auto before = image();
  open();
  focus(kFreq, 2);
  cell(kFreq, 2)->selectAll();
  type("146");
  EXPECT_EQ(grid(2, 2), "146");
  key(Qt::Key_PageDown);
  key(Qt::Key_PageUp);
  EXPECT_EQ(grid(2, 2), "145.01250");
  EXPECT_EQ(text(kFreq, 2), "145.01250");
  // Closing with a refused, never checked text: message, the text before it.
  focus(kFreq, 4);
  cell(kFreq, 4)->selectAll();
  type("999");
  close();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Frequency input error");
  EXPECT_EQ(msgs.boxes[0].title, "Form_Unload");
  EXPECT_EQ(image(), before);
  // An acceptable one is checked and kept.
  open();
  focus(kFreq, 4);
  cell(kFreq, 4)->selectAll();
  type("146.5");
  close();
  EXPECT_EQ(grid(4, 2), "146.50000");
  EXPECT_NE(record0(image(), 3), record0(before, 3));
  for (int c : {1, 2, 4, 255}) EXPECT_EQ(record0(image(), c), record0(before, c));
}

TEST_F(ChannelPage, UnchangedFrequencyThatNoLongerChecksKeepsItsChannel) {
  family("0", 4);
  fillChannels(145'000'000);
  // Channel 2's TX row: 30 MHz on a 12.5 kHz step with prescaler 64 (N below
  // 64 x 64), as a radio may hold it but the check refuses.
  const uint8_t row[] = {0x01, 0xA4, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00};
  std::copy(std::begin(row), std::end(row), image().begin() + 768 + 24 + 8);
  const auto before = image();
  open();
  EXPECT_EQ(text(kFreq, 3), "30.00000");
  focus(kFreq, 3);
  key(Qt::Key_Tab);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Frequency input error");
  EXPECT_EQ(text(kFreq, 3), "30.00000");
  EXPECT_NE(focused(), cell(kFreq, 3));  // tabbing goes on
  EXPECT_EQ(grid(3, 0), "64");
  // The same row brought under a focused frequency cell by a one-row scroll
  // is the cell's own, unchanged text: leaving keeps it too.
  page->vscChanPara->setValue(4);
  focus(kFreq, 0);
  key(Qt::Key_Up);
  ASSERT_EQ(text(kFreq, 0), "30.00000");
  key(Qt::Key_Tab);
  EXPECT_EQ(grid(3, 2), "30.00000");
  EXPECT_NE(focused(), cell(kFreq, 0));
  msgs.boxes.erase(msgs.boxes.begin() + 1, msgs.boxes.end());
  close();
  // Nobody changed the channel: no message, no byte.
  EXPECT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(image(), before);

  // A family-"1" memory of zeros (never programmed): every RX row reads as
  // minus the IF, every TX row as 0 MHz. Looked at, nothing changes; rows
  // edited without a frequency that checks cannot be encoded, keep their
  // bytes, and one message names their channels.
  family("1", 2);
  std::fill(image().begin(), image().begin() + 1016, 0);
  std::fill(image().begin() + 1017, image().begin() + 2048, 0);
  const uint8_t empty[] = {0xFF, 0x3F, 0x7F, 0x00};
  std::copy(empty, empty + 4, image().begin() + 24);  // channel 4 not in use
  std::copy(empty, empty + 4, image().begin() + 28);
  const auto zeros = image();
  open();
  EXPECT_EQ(text(kFreq, 0), "-48.50000");  // shown with its sign, never as 48.5 MHz
  EXPECT_EQ(text(kFreq, 1), "0.00000");
  focus(kFreq, 0);
  key(Qt::Key_Tab);  // an unchanged text that does not check: it stays
  EXPECT_EQ(grid(0, 2), "-48.50000");
  close();
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].text, "Frequency input error");
  EXPECT_EQ(image(), zeros);

  // A width edited keeps the counters the row was read with (N = 0 here).
  open();
  focus(FrmChannel::kWN, 2);
  type("2");
  ASSERT_EQ(grid(2, 3), "NRW");
  close();
  auto narrow = zeros;
  narrow[9] = 0x80;
  EXPECT_EQ(image(), narrow);
  // Rows no check let through that cannot be encoded (put straight into the
  // grid here) keep their bytes, and one message names their channels: two
  // neighbours as two, not as a run.
  open();
  const size_t shown = msgs.boxes.size();
  for (int row : {0, 2}) modPublic.strChanPara(row, 2) = "145.00100";  // off every step
  close();
  ASSERT_EQ(msgs.boxes.size(), shown + 1);
  EXPECT_EQ(msgs.boxes.back().text,
            "The frequency of these channels cannot be set; they keep their previous data. CH: 1, 2");
  EXPECT_EQ(image(), narrow);
}

TEST_F(ChannelPage, OpeningAndClosingChangesOnlyWhatWasEdited) {
  struct Case {
    const char* family;
    int model;
    bool names;
    int64_t base;
  };
  for (const Case& c : {Case{"0", 4, false, 145'000'000}, Case{"1", 2, false, 140'000'000},
                        Case{"1", 2, true, 140'000'000}, Case{"2", 5, false, 140'000'000}}) {
    SCOPED_TRACE(std::string("family ") + c.family + (c.names ? " names" : ""));
    family(c.family, c.model, c.names);
    fillChannels(c.base);
    const auto before = image();
    open();
    key(Qt::Key_PageDown);
    key(Qt::Key_End);
    close();
    EXPECT_EQ(image(), before);
    EXPECT_TRUE(msgs.boxes.empty());

    // One channel (3, RX row) edited: only its bytes change.
    modPublic.intTopRow = 0;
    open();
    focus(kFreq, 4);
    cell(kFreq, 4)->selectAll();
    type("141.5");
    key(Qt::Key_Return);
    close();
    EXPECT_EQ(grid(4, 2), "141.50000");
    for (size_t i = 0; i < before.size(); ++i) {
      const int diff = image()[i] ^ before[i];
      if (diff) {
        EXPECT_TRUE(channel3Bits(modPublic.family(), static_cast<int>(i), diff)) << "byte " << i;
      }
    }
    EXPECT_NE(image(), before);
  }
}

// A radio's memory the encoder did not write: channel 3 holds a prescaler
// the check would not choose (the check takes 64 below 300 MHz, and 64 for
// family "1" above 60 MHz), step codes above the list, W/N code 3 and bits
// the radio leaves zero; channel 4 is empty with leftovers and flag bits;
// channel 5 of families "1" and "2" was never programmed (00 00 00 00, its
// TX row reads "0.00000"). Looking at them, in every way a user looks,
// changes no byte.
TEST_F(ChannelPage, ALookAtChannelsTheEncoderDidNotWriteChangesNoByte) {
  struct Case {
    const char* family;
    int model;
    int64_t base;
    void (*odd)(std::vector<uint8_t>&);
  };
  const Case cases[] = {
      {"0", 4, 145'000'000,
       [](std::vector<uint8_t>& m) {
         const uint8_t ch3[] = {0x5B, 0xAD, 0xC4, 0x0C, 0xDE, 0x11, 0x22, 0x33,   // RX: 506.1125 MHz, "64"
                                0x00, 0x5A, 0x45, 0x05, 0xFF, 0x1F, 0x01, 0x02};  // TX: 145.0125 MHz, "128"
         const uint8_t ch4[] = {0x00, 0x00, 0x22, 0x05, 0x04, 0x09, 0x00, 0x00,
                                0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
         std::copy(std::begin(ch3), std::end(ch3), m.begin() + 768 + 48);
         std::copy(std::begin(ch4), std::end(ch4), m.begin() + 768 + 72);
       }},
      {"1", 2, 140'000'000,
       [](std::vector<uint8_t>& m) {
         const uint8_t ch3tx[] = {0xA7, 0x15, 0x44, 0x05};  // 145.0125 MHz with prescaler "32"
         const uint8_t ch4[] = {0xFF, 0x3F, 0x12, 0x34, 0xFF, 0x3F, 0xAB, 0xCD};
         std::copy(std::begin(ch3tx), std::end(ch3tx), m.begin() + 20);
         std::copy(std::begin(ch4), std::end(ch4), m.begin() + 24);
         m[982] |= 0x08;  // SR and SH of empty channel 4
         m[996] |= 0x08;
         m[1856] |= 0x08;
         m[995] = 0xF0;   // bits no channel owns
         std::fill(m.begin() + 32, m.begin() + 40, 0);
         std::fill(m.begin() + 152, m.begin() + 160, 0);  // channel 20 as well
       }},
      {"2", 5, 140'000'000,
       [](std::vector<uint8_t>& m) {
         const uint8_t ch3tx[] = {0x86, 0x96, 0x45, 0x05};  // 145.0125 MHz with "128", bits 1-2 set
         const uint8_t ch4[] = {0xFF, 0x3F, 0x12, 0x34, 0xFF, 0x3F, 0xAB, 0xCD};
         std::copy(std::begin(ch3tx), std::end(ch3tx), m.begin() + 20);
         std::copy(std::begin(ch4), std::end(ch4), m.begin() + 24);
         m[2050] = 0x95;   // step codes 5 and 9
         m[1952] |= 0x30;  // W/N code 3
         m[1952] |= 0xC0;  // and flags of empty channel 4
         m[1984] |= 0x08;
         m[2419] = 0x55;   // band codes as stored
         m[1818] = 0x66;
         std::fill(m.begin() + 32, m.begin() + 40, 0);
         std::fill(m.begin() + 152, m.begin() + 160, 0);  // channel 20 as well
       }},
  };
  int opened = 0;
  FrmChannel::setAutoSetOpener([&](FrmChannel&) { ++opened; });
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("family ") + c.family);
    family(c.family, c.model);
    fillChannels(c.base);
    c.odd(image());
    const auto before = image();
    modPublic.intTopRow = 5;  // channel 3's TX row on top
    open();
    ASSERT_EQ(text(kFreq, 0), "145.01250");
    ASSERT_EQ(text(FrmChannel::kPres, 0), c.family == std::string("1") ? "32" : "128");
    // The page's own first focus, then Exit clicked.
    ASSERT_EQ(focused(), cell(kFreq, 0));
    QTest::mouseClick(page->CmdAction[0], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(page->isLoaded());
    page.reset();
    EXPECT_EQ(image(), before);

    modPublic.intTopRow = 0;
    open();
    // Through channel 3's cells with Tab, Enter in its unchanged
    // frequencies, F3 there, a jump away with F11, and the pages.
    for (int row : {4, 5}) {
      focus(kFreq, row);
      key(Qt::Key_Return);
      for (int i = 0; i < 12; ++i) key(Qt::Key_Tab);
    }
    focus(kFreq, 5);
    key(Qt::Key_F3);
    focus(kFreq, 6);  // the empty channel 4
    key(Qt::Key_Tab);
    // A channel's option cells focused and passed with Tab, Enter in its
    // frequency cells.
    const auto passChannel = [&](int rxRow) {
      for (int row : {rxRow, rxRow + 1}) {
        focus(FrmChannel::kWN, row);
        for (int i = 0; i < 12; ++i) key(Qt::Key_Tab);
        focus(kFreq, row);
        key(Qt::Key_Return);
      }
    };
    passChannel(8);  // channel 5
    focus(kFreq, 5);
    key(Qt::Key_F11);
    type("40");
    key(Qt::Key_Return);
    key(Qt::Key_PageDown);
    key(Qt::Key_Home);
    if (c.family != std::string("0")) {
      // Channel 20, never programmed too, two pages down: the same look
      // there, then once more with its rows brought up by a one-row scroll.
      focus(kFreq, 0);
      key(Qt::Key_PageDown);
      key(Qt::Key_PageDown);
      ASSERT_EQ(top(), 32);
      ASSERT_EQ(page->labChanParaNo[6]->text(), "20");
      ASSERT_EQ(text(kFreq, 7), "0.00000");
      passChannel(6);
      focus(kFreq, 15);
      key(Qt::Key_Down);
      ASSERT_EQ(top(), 33);
      ASSERT_EQ(text(kFreq, 6), "0.00000");
      focus(kFreq, 6);
      key(Qt::Key_Tab);
      focus(kFreq, 5);
      key(Qt::Key_Return);
      EXPECT_EQ(grid(39, 2), "0.00000");
      key(Qt::Key_Home);
    }
    // Closed from the empty channel 4's frequency cell after a look at a
    // PM/FM cell.
    focus(FrmChannel::kPMFM, 0);
    focus(kFreq, 6);
    close();
    EXPECT_EQ(image(), before);
  }
  EXPECT_EQ(opened, 3);
  // Family "0"'s RX row of channel 3 (506.1125 MHz) fails its check with the
  // 48.5 MHz IF added: the message is the only thing its look brings.
  for (const auto& b : msgs.boxes) EXPECT_EQ(b.text, "Frequency input error");
}

TEST_F(ChannelPage, ClipboardIsLeftAloneAndPasteIsFiltered) {
  family("0", 4);
  QApplication::clipboard()->setText("14a6.5x");
  open();
  focus(kFreq, 0);
  focus(FrmChannel::kCTCSS, 0);
  focus(kFreq, 0);
  EXPECT_EQ(QApplication::clipboard()->text(), "14a6.5x");
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(text(kFreq, 0), "146.5");
  EXPECT_EQ(QApplication::clipboard()->text(), "14a6.5x");
  close();
}

TEST_F(ChannelPage, RefusesAModelOutsideItsTableAndEndsWithoutToneTables) {
  family("2", 5);
  const auto before = image();
  image()[1016] = 200;
  page = std::make_unique<FrmChannel>();
  page->showModal();
  EXPECT_FALSE(page->isLoaded());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The radio model in the data is not in the model table: the channel menu cannot open");
  image()[1016] = 5;
  EXPECT_EQ(image(), before);

  // A program folder without the family's DCS table.
  TempDir folder;
  std::filesystem::copy(app::path() + "/" + tones::ctcFile(2), folder.file(tones::ctcFile(2)));
  app::setPath(folder.str());
  page = std::make_unique<FrmChannel>();
  page->showModal();
  app::setPath(std::string());
  EXPECT_FALSE(page->isLoaded());
  EXPECT_TRUE(program::ended());
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].text,
            "Configuration file is not found\rFileName:DCSP3RCFixedData.dat\rProcessing is discontinued");
  EXPECT_EQ(msgs.boxes[1].style, 16);
  EXPECT_EQ(msgs.boxes[1].title, "blnChanIniSet");
  EXPECT_EQ(image(), before);
}

TEST_F(ChannelPage, AutoSetCommitsTheFocusedFrequencyBeforeItOpens) {
  family("2", 5);
  std::vector<std::string> seen;  // row 0's texts when the dialog opens
  FrmChannel::setAutoSetOpener([&](FrmChannel& p) {
    std::string texts;
    for (int k = 0; k < 13; ++k) texts += p.cellText(k, 0) + "|";
    seen.push_back(texts);
  });
  open();
  EXPECT_TRUE(page->mnuAutoSet->isEnabled());
  type("145.5");
  key(Qt::Key_F3);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "64|12.50|145.50000|WID|Simp|OFF|||||||PM|");  // in cursor order, PM/FM last
  EXPECT_TRUE(msgs.boxes.empty());
  focus(kFreq, 2);
  for (const char* typed : {"145.5.5", "1000"}) {
    type(typed);
    key(Qt::Key_F3);
    EXPECT_EQ(text(kFreq, 2), "") << typed;
    EXPECT_EQ(grid(2, 2), "") << typed;
    EXPECT_EQ(focused(), cell(kFreq, 2));
  }
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Input value range outside error\rThe decimal point overlaps",
                                                  "Frequency input error"}));
  EXPECT_EQ(msgs.boxes[0].title, "mnuAutoSet_Click");
  key(Qt::Key_F3);  // an empty row opens the dialog at once
  EXPECT_EQ(seen.size(), 2u);
  // A frequency typed over a channel in use is checked as a new one, not
  // taken as the row's own: it gets its own prescaler and format.
  focus(kFreq, 0);
  cell(kFreq, 0)->selectAll();
  type("350");
  key(Qt::Key_F3);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2], "128|12.50|350.00000|WID|Simp|OFF|||||||PM|");
  close();
}

// Commands that reach the page while its own message box is open (a screen
// reader acts past the box) wait: the check that showed the box finishes first.
TEST_F(ChannelPage, NoCommandRunsWhileTheMessageBoxIsOpen) {
  struct Reentrant : RecordingMessages {
    std::function<void()> during;
    int msgBox(const std::string& text, int style, const std::string& title) override {
      if (auto f = std::exchange(during, nullptr)) f();
      return RecordingMessages::msgBox(text, style, title);
    }
  } boxes;
  family("0", 4);
  fillChannels(145'000'000);
  const auto before = image();
  open();
  focus(kFreq, 9);
  cell(kFreq, 9)->selectAll();
  type("151.00625");  // not on the row's 12.5 kHz step
  boxes.during = [&] {
    page->CmdAction_Click(0);
    page->close();
    page->mnuFreqDel_Click();
    page->vscChanPara->setValue(100);
  };
  key(Qt::Key_Tab);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "txtFrequency_LostFocus");
  EXPECT_TRUE(page->isLoaded());
  EXPECT_EQ(top(), 0);
  EXPECT_EQ(grid(9, 2), "150.05000");
  EXPECT_EQ(focused(), cell(kFreq, 9));
  close();
  EXPECT_EQ(image(), before);
}

// A tone the tables cannot show (a DCS index beyond the family's table) is
// kept while its channel stays; a channel deleted and typed anew in the same
// visit is a new channel without it.
TEST_F(ChannelPage, AChannelTypedAnewHasNoToneOfTheDeletedOne) {
  family("0", 4);
  fillChannels(145'000'000);
  for (int channel : {2, 4}) hiddenDcs(channel);
  open();
  ASSERT_EQ(text(FrmChannel::kDCS, 2), "");
  ASSERT_EQ(text(FrmChannel::kCTCSS, 2), "");
  focus(FrmChannel::kWN, 2);  // channel 2
  key(Qt::Key_D, Qt::ControlModifier);
  focus(kFreq, 2);
  type("146.5");
  key(Qt::Key_Return);
  focus(kFreq, 3);
  type("151.5");
  key(Qt::Key_Return);
  close();
  const auto channel2 = record0(image(), 2);
  EXPECT_EQ(channel2[0] & 4, 0);
  EXPECT_EQ(channel2[3], 0);
  EXPECT_EQ(channel2[8 + 3], 0);
  // Channel 4, not deleted, keeps its tone bits.
  const auto channel4 = record0(image(), 4);
  EXPECT_EQ(channel4[0] & 4, 4);
  EXPECT_EQ(channel4[3], 100);
}

// Tab and Shift+Tab walk the visible grid both ways: no cell takes the focus
// only to hand it back (the prescaler to the step, the step of a row in use
// to its frequency, an option of an empty row to its frequency).
TEST_F(ChannelPage, TabWalksTheGridBothWays) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(kFreq, 2);
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(FrmChannel::kPMFM, 1));
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(FrmChannel::kSR, 1));
  focus(kFreq, 2);
  key(Qt::Key_Tab);
  EXPECT_EQ(focused(), cell(FrmChannel::kWN, 2));
  // A channel deleted: its row is entered at the step and the frequency.
  focus(kFreq, 4);
  key(Qt::Key_D, Qt::ControlModifier);
  focus(kFreq, 6);
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(kFreq, 5));
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(FrmChannel::kRef, 5));
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(kFreq, 4));
  close();

  // A memory without channels, on another page: every row is entered at its
  // step and frequency only.
  family("0", 4);
  open();
  key(Qt::Key_PageDown);
  focus(FrmChannel::kRef, 3);
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(kFreq, 2));
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), cell(FrmChannel::kRef, 2));
  key(Qt::Key_Tab);
  key(Qt::Key_Tab);
  EXPECT_EQ(focused(), cell(FrmChannel::kRef, 3));
  close();

  // Past the last visible cell Tab goes on to Exit and the pop-up of the
  // cell left goes with the focus; Tab never chooses an option nor moves the
  // grid, however often it goes round, nor does Shift+Tab.
  for (const std::string f : {"1", "2"}) {
    SCOPED_TRACE("family " + f);
    family(f, f == "1" ? 2 : 5);
    fillChannels(140'000'000);
    const auto before = image();
    open();
    const int lastCell = f == "1" ? FrmChannel::kSR : FrmChannel::kPMFM;
    QGroupBox* popup = f == "1" ? page->fraSR : page->fraPMFM;
    focus(lastCell, 15);
    ASSERT_TRUE(popup->isVisible());
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), page->CmdAction[0]);
    EXPECT_FALSE(popup->isVisible());
    for (int i = 0; i < 240; ++i) {
      key(Qt::Key_Tab);
      ASSERT_FALSE(qobject_cast<QRadioButton*>(focused())) << i;
    }
    focus(lastCell, 15);
    for (int i = 0; i < 240; ++i) key(Qt::Key_Backtab);
    EXPECT_EQ(top(), 0);
    close();
    EXPECT_EQ(image(), before);
  }
  // The step pop-up of an empty first row: Shift+Tab from its cell reaches
  // its last option and chooses nothing; an arrow key there chooses.
  family("0", 4);
  open();
  focus(FrmChannel::kRef, 0);
  ASSERT_TRUE(page->fraReference->isVisible());
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused(), page->optReference[4]);
  EXPECT_EQ(text(FrmChannel::kRef, 0), "");
  key(Qt::Key_Up);
  EXPECT_EQ(text(FrmChannel::kRef, 0), "10.00");
  EXPECT_EQ(focused(), cell(kFreq, 0));
  close();
}

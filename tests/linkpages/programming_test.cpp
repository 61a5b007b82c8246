#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>

#include "app/program.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "fakeline.h"
#include "link/pages/frmprogramming.h"
#include "platform/base/portmap.h"
#include "platform/gui/helpviewer.h"
#include "simradio.h"
#include "support/testsupport.h"

using namespace radiolink;

namespace {
// A radio whose memory is the family's blank image with one channel in use.
std::vector<uint8_t> radioMemory(const std::string& family, uint8_t seed) {
  std::vector<uint8_t> mem(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + modPublic.lngDataLast + 1);
  for (size_t i = 0; i < mem.size(); i += 97) mem[i] = static_cast<uint8_t>(mem[i] ^ seed);
  if (family == "0") {
    mem[768] = 0x40;  // channel 1 record
    mem[769] = 0x12;
    mem[32] = 1;
    mem[64] = 'L';
    mem[65] = 'K';
  } else {
    mem[0] = 0x55;  // channel 1 RX row
    mem[1] = 0x12;
    mem[849] = 0xA3;
    mem[1017] = 2;
    mem[810] = 7;
    mem[834] = 7;
  }
  if (family == "0") {
    mem[42] = 0;
    mem[66] = 0;
  }
  return mem;
}

class LinkPage : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  void TearDown() override { page.reset(); }
  void start(const std::string& family, uint8_t seed = 0x5A) {
    page.reset();  // before the line it talks to goes
    ASSERT_TRUE(setUpFamily(family));
    modPublic.intCommPort = 1;
    radio = std::make_unique<sim::Radio>(modPublic.family(), radioMemory(family, seed));
    line = std::make_unique<FakeLine>(radio.get());
    page = std::make_unique<FrmProgramming>(*line, *line);
    page->Show();
    line->reset();
  }
  std::vector<uint8_t> image() const {
    return {modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + modPublic.lngDataLast + 1};
  }
  const std::string& lastText() const { return msgs.boxes.back().text; }

  TempDir dir;
  RecordingMessages msgs;
  std::unique_ptr<sim::Radio> radio;
  std::unique_ptr<FakeLine> line;
  std::unique_ptr<FrmProgramming> page;
};
}  // namespace

TEST_F(LinkPage, CaptionsFollowTheFamily) {
  start("2");
  EXPECT_EQ(page->comReadWrite[2]->text(), "Compulsion Write");
  EXPECT_EQ(page->comExit->text(), "Exit");
  EXPECT_FALSE(page->prbProcessRate->isVisible());
  start("1");
  EXPECT_EQ(page->comReadWrite[2]->text(), "Program Delete");
  EXPECT_EQ(page->windowTitle(), "velmora-Programming");
}

TEST_F(LinkPage, ButtonsStayWhereTheyAreThroughAnOperation) {
  for (const char* family : {"1", "2"}) {
    SCOPED_TRACE(family);
    start(family);
    auto layout = [&] {
      QCoreApplication::sendPostedEvents();
      page->layout()->activate();
      std::vector<QRect> g;
      for (QPushButton* b : page->comReadWrite) g.push_back(b->geometry());
      g.push_back(page->comExit->geometry());
      g.push_back(page->rect());
      return g;
    };
    const std::vector<QRect> idle = layout();
    page->subBusyState();
    EXPECT_TRUE(page->prbProcessRate->isVisible());
    EXPECT_EQ(layout(), idle);
    page->subIdleState();
    page->comReadWrite_Click(0);  // a whole read, result message included
    EXPECT_FALSE(page->prbProcessRate->isVisible());
    EXPECT_EQ(layout(), idle);
  }
}

TEST_F(LinkPage, HelpFromTheModalPageIsBesideItAndClosesByItself) {
  start("2");
  page->hide();
  page->setModal(true);  // as the main menu shows it
  page->show();
  page->move(0, 0);
  page->mnuHelp_Click();
  QDialog* help = help::viewer();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  // Its own window, owned by the modal page, which blocks every other window.
  EXPECT_TRUE(help->isWindow());
  EXPECT_EQ(help->parentWidget(), page.get());
  EXPECT_EQ(help->windowTitle(), "velmora Help - Program Menu");
  auto* text = help->findChild<QTextBrowser*>();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->font(), QFont());  // no table in this topic: the ordinary font

  // Beside the page: to its right where there is room, else to its left.
  help->resize(200, 200);
  page->mnuHelp_Click();
  const QRect at = page->frameGeometry();
  EXPECT_EQ(help->frameGeometry().left(), at.right() + 1 + 8);
  EXPECT_EQ(help->frameGeometry().top(), at.top());
  const QRect screen = page->screen()->availableGeometry();
  page->move(screen.right() + 1 - at.width(), 0);
  page->mnuHelp_Click();
  EXPECT_LT(help->frameGeometry().right(), page->frameGeometry().left());

  // Escape closes the help, not the page; so does its Close button.
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(help, &escape);
  EXPECT_FALSE(help->isVisible());
  EXPECT_TRUE(page->isVisible());
  EXPECT_TRUE(page->isLoaded());
  page->mnuHelp_Click();
  auto* close = help->findChild<QPushButton*>("helpClose");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), "Close");
  close->click();
  EXPECT_FALSE(help->isVisible());
  EXPECT_TRUE(page->isLoaded());

  // A topic with columns is set in a font whose characters all advance
  // alike (whatever the font database calls fixed-pitch).
  help::showTopic(modPublic.strHelpFile, "StartUp Menu", page.get());
  EXPECT_EQ(text->font(), help::tableFont());
  const QFontMetricsF table(text->font());
  for (QChar c : QStringLiteral("i W.m<|"))
    EXPECT_DOUBLE_EQ(table.horizontalAdvance(c), table.horizontalAdvance(QLatin1Char('0'))) << QString(c).toStdString();
  EXPECT_TRUE(help::showsTable("  /R<model>   start directly"));
  EXPECT_FALSE(help::showsTable("Plain text, one blank.\n  - an indented item"));
  help->hide();
}

// The read meets a busy machine: one frame's last byte comes 300 ms after
// the rest, well within the time the page gives a frame's bytes.
TEST_F(LinkPage, Family2ReadThenWriteSendsOnlyTheChangedWords) {
  start("2");
  const auto mem = radio->memory();
  auto& d = modPublic.bytRadioData;
  auto frames4 = std::make_shared<int>(0);
  line->setAnswerer([r = radio.get(), frames4](uint8_t b, int64_t ms) {
    std::vector<sim::Chunk> out;
    for (sim::Chunk& c : r->receive(b, ms)) {
      if (c.bytes.size() == 4 && ++*frames4 == 6) {
        out.push_back({c.gapMs, {c.bytes.begin(), c.bytes.end() - 1}, false});
        out.push_back({300, {c.bytes.back()}, false});
      } else {
        out.push_back(c);
      }
    }
    return out;
  });
  page->comReadWrite_Click(0);
  line->setRadio(radio.get());
  EXPECT_GT(*frames4, 6);
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(image(), mem);
  EXPECT_EQ(modPublic.bytRadioBase, modPublic.bytRadioData);
  EXPECT_TRUE(modPublic.blnRadioWritten);
  EXPECT_EQ(modPublic.udtModelTable2[0].sngIFOffset, mem[937] == 0 ? 21.6f : 73.35f);

  d[100] ^= 0xFF;  // word 50
  line->reset();
  page->comReadWrite_Click(1);
  EXPECT_EQ(lastText(), "Processing completion");
  // Command, word 50, the stamp's words 1008..1013, the sum word 1279, the end frame.
  const size_t frames = (line->sent.size() - 1) / 4;
  EXPECT_EQ(line->sent.size() % 4, 1u);
  EXPECT_LE(frames, 1u + 6u + 1u + 1u + 1u);  // word 849 changes too: its kill nibble is cleared
  EXPECT_EQ(line->sent[0], 0x5A);
  EXPECT_EQ(std::vector<uint8_t>(line->sent.end() - 4, line->sent.end()), (std::vector<uint8_t>{0xFF, 0xFF, 0xAB, 0xCD}));
  EXPECT_EQ(radio->memory(), image());
  EXPECT_EQ(d[849], 0x03);
  EXPECT_EQ(modPublic.bytRadioBase, d);
}

TEST_F(LinkPage, Family0ReadKeepsTheRadioInformationAndCompulsionSendsEverything) {
  start("0");
  page->comReadWrite_Click(0);
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(std::string(modPublic.bytRadioInfo.begin(), modPublic.bytRadioInfo.end()), "ZR310SIM0001");
  EXPECT_TRUE(modPublic.blnRadioRead);
  EXPECT_EQ(modPublic.intTopRow, 0);

  // After the read only what changed goes out; the compulsion write sends all.
  modPublic.bytRadioData[770] ^= 0x10;
  line->reset();
  page->comReadWrite_Click(1);
  EXPECT_EQ(lastText(), "Processing completion");
  const size_t changedOnly = line->sent.size();
  EXPECT_EQ(modPublic.bytRadioData[64], 0);  // the kill status is never written back
  EXPECT_EQ(radio->memory()[64], 0);
  EXPECT_EQ(radio->memory(), image());

  line->reset();
  page->comReadWrite_Click(2);
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(radio->memory(), image());
  EXPECT_GT(line->sent.size(), changedOnly);
}

TEST_F(LinkPage, FailedWritesKeepTheKillStatusAndTheFlags) {
  start("0");
  page->comReadWrite_Click(0);
  ASSERT_TRUE(modPublic.blnRadioRead);
  modPublic.bytRadioData[200] ^= 1;
  radio->faults.silent = true;
  line->reset();
  page->comReadWrite_Click(1);
  EXPECT_EQ(page->lngCommState(), kStateFrameTimeout);  // the command frame got no echo
  EXPECT_EQ(lastText(), "Reception time-out\rPORT : 1 (" + portmap::devicePath(1) + ")");
  EXPECT_EQ(modPublic.bytRadioData[64], 'L');
  EXPECT_EQ(modPublic.bytRadioData[65], 'K');
  EXPECT_FALSE(modPublic.blnRadioRead);  // the next write sends every word

  start("2");
  page->comReadWrite_Click(0);
  ASSERT_TRUE(modPublic.blnRadioWritten);
  modPublic.bytRadioData[849] = 0xB7;  // the user's own edit of the low nibble
  modPublic.bytRadioData[300] ^= 1;
  radio->faults.wrongEchoAt = 1;
  radio->faults.wrongEchoAlways = true;
  line->reset();
  page->comReadWrite_Click(1);
  EXPECT_EQ(page->lngCommState(), kStateCollation);
  EXPECT_EQ(modPublic.bytRadioData[849], 0xB7);  // put back from the image, not the baseline
  EXPECT_FALSE(modPublic.blnRadioWritten);       // the next write sends everything
  EXPECT_EQ(lastText(), "It is a collation result of transferred data error");
}

TEST_F(LinkPage, Family1WritesEverythingErasesAndRefusesUnknownRadioTypes) {
  start("1");
  page->comReadWrite_Click(0);
  ASSERT_EQ(image(), radio->memory());
  modPublic.bytRadioData[500] = 0x42;
  line->reset();
  page->comReadWrite_Click(1);
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(line->sent[0], 0xE6);
  EXPECT_EQ(radio->memory(), image());
  EXPECT_EQ(modPublic.bytRadioData[849], 0x03);

  line->reset();
  msgs.answers = {vb::vbYes};
  page->comReadWrite_Click(2);
  EXPECT_EQ(line->sent, std::vector<uint8_t>{0x4D});
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(2048, 0xFF));

  // A type byte naming neither radio: each button refuses with one message
  // and sends nothing.
  modPublic.bytRadioData[1017] = 5;
  for (int button = 0; button < 3; ++button) {
    SCOPED_TRACE(button);
    line->reset();
    const size_t shown = msgs.boxes.size();
    page->comReadWrite_Click(button);
    EXPECT_TRUE(line->sent.empty());
    ASSERT_EQ(msgs.boxes.size(), shown + 1);
    EXPECT_EQ(lastText(), "The radio type in the data is neither ZR320 nor ZR330: nothing was sent");
    EXPECT_NE(page->lngCommState(), kStateOk);
    EXPECT_FALSE(page->busy());
    EXPECT_TRUE(page->comReadWrite[0]->isEnabled());
  }
}

TEST_F(LinkPage, ChecksStopAWriteBeforeAnyExchange) {
  start("2");
  std::fill(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 792, 0);
  for (int r = 0; r < 198; ++r) {
    modPublic.bytRadioData[static_cast<size_t>(4 * r)] = 0xF9;
    modPublic.bytRadioData[static_cast<size_t>(4 * r + 1)] = 0x3F;
  }
  page->comReadWrite_Click(2);
  ASSERT_EQ(msgs.boxes.size(), 1u);  // the check's own message, no result message
  EXPECT_EQ(lastText(), "No Frequency Data. Please Set !");
  EXPECT_TRUE(line->sent.empty());
  EXPECT_FALSE(page->busy());
  EXPECT_TRUE(page->comReadWrite[0]->isEnabled());
}

TEST_F(LinkPage, StopDuringATransferLeavesTheImageAndIgnoresOtherClicks) {
  start("2");
  const auto before = image();
  line->stopAtMs = line->nowMs() + 200;
  line->onStop = [this] {
    EXPECT_TRUE(page->busy());
    EXPECT_FALSE(page->comReadWrite[1]->isEnabled());
    EXPECT_EQ(page->comExit->text(), "stop");
    page->comReadWrite_Click(1);  // ignored while busy
    page->comExit_Click();        // the stop request
  };
  page->comReadWrite_Click(0);
  EXPECT_EQ(page->lngCommState(), kStateStopped);
  EXPECT_EQ(lastText(), "Processing was interrupted by the user");
  EXPECT_EQ(image(), before);
  EXPECT_FALSE(page->busy());
  EXPECT_EQ(page->comExit->text(), "Exit");
  EXPECT_EQ(line->sent.front(), 0x5C);
  EXPECT_EQ(std::count(line->sent.begin(), line->sent.end(), 0x5A), 0) << "no write started";
}

namespace {
// Low 16 bits of the sum of the first `words` little-endian words.
unsigned wordSum(const std::vector<uint8_t>& bytes, int words) {
  uint32_t sum = 0;
  for (int k = 0; k < words; ++k) sum += bytes[2 * k] + 256u * bytes[2 * k + 1];
  return sum & 0xFFFF;
}
}  // namespace

TEST_F(LinkPage, EveryOperationRunsAtTheFamilysLineSettings) {
  for (const char* family : {"0", "1", "2"}) {
    const int baud = std::string(family) == "1" ? 4800 : 9600;
    for (int op = 0; op < 3; ++op) {
      start(family);
      EXPECT_EQ(line->line.baud, 4800) << family << " at load";
      std::copy(radio->memory().begin(), radio->memory().end(), modPublic.bytRadioData.begin());
      const int opens = line->opens;
      msgs.answers = {vb::vbYes};  // family "1" asks before its delete
      page->comReadWrite_Click(op);
      EXPECT_EQ(lastText(), "Processing completion") << family << " op " << op;
      ASSERT_FALSE(line->sent.empty());
      // Families "0" and "2" reopen the port for every operation; "1" keeps
      // the port opened at load.
      EXPECT_EQ(line->opens, opens + (baud == 9600 ? 1 : 0)) << family << " op " << op;
      EXPECT_EQ(line->line.baud, baud) << family << " op " << op;
      EXPECT_EQ(line->line.parity, 'n');
      EXPECT_EQ(line->line.dataBits, 8);
      EXPECT_EQ(line->line.stopBits, 1);
    }
  }
}

TEST_F(LinkPage, ProgramDeleteStartsAfreshAfterAFailure) {
  // A read the radio does not answer, then the delete: it is sent.
  start("1");
  radio->faults.silent = true;
  page->comReadWrite_Click(0);
  EXPECT_EQ(lastText(), "Reception time-out\rPORT : 1 (" + portmap::devicePath(1) + ")");
  radio->faults.silent = false;
  line->reset();
  msgs.answers = {vb::vbYes};
  page->comReadWrite_Click(2);
  EXPECT_EQ(line->sent, std::vector<uint8_t>{0x4D});
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(2048, 0xFF));

  // A write that a port fault ended: the delete opens the port again.
  start("1");
  std::copy(radio->memory().begin(), radio->memory().end(), modPublic.bytRadioData.begin());
  line->failWriteAt = 10;
  page->comReadWrite_Click(1);
  EXPECT_NE(page->lngCommState(), kStateOk);
  line->reset();
  const int opens = line->opens;
  msgs.answers = {vb::vbYes};
  page->comReadWrite_Click(2);
  EXPECT_EQ(line->opens, opens + 1);
  EXPECT_EQ(line->sent, std::vector<uint8_t>{0x4D});
  EXPECT_EQ(lastText(), "Processing completion");
}

TEST_F(LinkPage, NoEchoToTheCommandKeepsTheFlagsAndAFailedWriteTheKillBits) {
  // A family-"0" read without a header: the flag stays as it was.
  start("0");
  modPublic.blnRadioRead = true;
  const auto before = image();
  radio->faults.silent = true;
  page->comReadWrite_Click(0);
  EXPECT_EQ(page->lngCommState(), kStateCommandTimeout);
  EXPECT_TRUE(modPublic.blnRadioRead);
  EXPECT_EQ(image(), before);

  // A family-"2" write whose command gets no echo: nothing was sent, so the
  // baseline still equals the radio and the kill bits are back.
  start("2");
  page->comReadWrite_Click(0);
  ASSERT_TRUE(modPublic.blnRadioWritten);
  modPublic.bytRadioData[300] ^= 1;
  radio->faults.silent = true;
  page->comReadWrite_Click(1);
  EXPECT_EQ(page->lngCommState(), kStateCommandTimeout);
  EXPECT_TRUE(modPublic.blnRadioWritten);
  EXPECT_EQ(modPublic.bytRadioData[849], 0xA3);

  // Family "1": the kill bits cleared for the write come back when it fails.
  start("1");
  page->comReadWrite_Click(0);
  ASSERT_EQ(modPublic.bytRadioData[849], 0xA3);
  radio->faults.wrongEchoAt = 5;
  radio->faults.wrongEchoAlways = true;
  page->comReadWrite_Click(1);
  EXPECT_EQ(page->lngCommState(), kStateCollation);
  EXPECT_EQ(modPublic.bytRadioData[849], 0xA3);
}

TEST_F(LinkPage, FullWritesReplaceAnOldSum) {
  // The radio's bytes 2558/2559 hold the sum of some other image.
  auto check = [this](int button, bool radioWritten) {
    start("2");
    page->comReadWrite_Click(0);
    ASSERT_NE(wordSum(image(), 1279), image()[2558] + 256u * image()[2559]);
    modPublic.bytRadioData[1500] ^= 0x21;
    modPublic.blnRadioWritten = radioWritten;  // false, as after a data-file open
    page->comReadWrite_Click(button);
    EXPECT_EQ(lastText(), "Processing completion");
    const auto& mem = radio->memory();
    EXPECT_EQ(mem[2558] + 256u * mem[2559], wordSum(mem, 1279)) << button;
    EXPECT_EQ(mem, image());
  };
  check(2, true);   // Compulsion Write
  check(1, false);  // Program Write sending every word
}

TEST_F(LinkPage, ClosingThePageDuringATransferStopsItThenCloses) {
  start("2");
  const auto before = image();
  line->stopAtMs = line->nowMs() + 200;
  line->onStop = [this] {
    page->close();
    EXPECT_TRUE(page->isLoaded());  // not while the transfer runs
  };
  page->comReadWrite_Click(0);
  EXPECT_EQ(lastText(), "Processing was interrupted by the user");
  EXPECT_EQ(image(), before);
  QCoreApplication::processEvents();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_FALSE(line->isOpen());
}

TEST_F(LinkPage, APortThatDoesNotOpenIsNamedWithItsDevice) {
  portmap::setConfigFile(dir.file("ports.conf"));
  ASSERT_TRUE(setUpFamily("2"));
  FakeLine refusing;
  refusing.refuseOpen = true;
  for (int port : {3, 0}) {
    modPublic.intCommPort = static_cast<int16_t>(port);
    FrmProgramming p(refusing, refusing);
    p.Show();
    ASSERT_FALSE(msgs.boxes.empty());
    EXPECT_EQ(msgs.boxes.back().text, "The communication port was not able to be opened\rPORT : " +
                                          std::string(port ? "3 (/dev/ttyS2)" : "none chosen"));
    EXPECT_EQ(msgs.boxes.back().title, "Form_Load");
    p.Unload();
  }

  // Unattended, a port that does not open when the page loads ends the run
  // there with a failure: nothing is sent, even though the port comes free
  // a moment later, when the write would open it again.
  const auto memory = radioMemory("2", 0x5A);
  std::copy(memory.begin(), memory.end(), modPublic.bytRadioData.begin());
  modPublic.strCmdFileName = "site";
  modPublic.intCommPort = 1;
  sim::Radio radio(2, std::vector<uint8_t>(memory.size(), 0x77));
  FakeLine freed(&radio);
  freed.refuseNextOpens = 1;
  msgs.boxes.clear();
  program::resetEnded();
  {
    FrmProgramming p(freed, freed);
    p.Show();
  }
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 1);
  program::resetEnded();
  EXPECT_EQ(freed.opens, 1);
  EXPECT_TRUE(freed.sent.empty()) << freed.sent.size() << " bytes sent";
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The communication port was not able to be opened\rPORT : 1 (/dev/ttyS0)");
}

// A radio without a channel in use opens the editor on the first channel's
// RX row, whatever row was shown before.
TEST_F(LinkPage, AReadWithoutChannelsShowsTheFirstChannelFirst) {
  for (const std::string family : {"0", "1", "2"}) {
    start(family);
    std::vector<uint8_t> blank = image();  // the family's initial image: no channel in use
    if (family == "1") blank[1017] = 2;
    page.reset();
    radio = std::make_unique<sim::Radio>(modPublic.family(), blank);
    line = std::make_unique<FakeLine>(radio.get());
    page = std::make_unique<FrmProgramming>(*line, *line);
    page->Show();
    modPublic.intTopRow = 7;
    page->comReadWrite_Click(0);
    EXPECT_EQ(lastText(), "Processing completion") << family;
    EXPECT_EQ(modPublic.intTopRow, 0) << family;
  }
}

TEST_F(LinkPage, ProgramDeleteAsksFirstAndNoSendsNothing) {
  start("1");
  const auto before = radio->memory();
  msgs.answers = {vb::vbNo};
  page->comReadWrite_Click(2);
  ASSERT_EQ(msgs.boxes.size(), 1u);  // the question alone: nothing ran, so no result
  EXPECT_EQ(msgs.boxes[0].text, "Program Delete erases all configuration data in the radio\rAre You Sure ?");
  EXPECT_EQ(msgs.boxes[0].style, vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2);
  EXPECT_EQ(msgs.boxes[0].title, "comReadWrite_Click");
  EXPECT_TRUE(line->sent.empty());
  EXPECT_EQ(radio->memory(), before);
  EXPECT_FALSE(page->busy());
  EXPECT_TRUE(page->comReadWrite[2]->isEnabled());

  msgs.answers = {vb::vbYes};
  page->comReadWrite_Click(2);
  EXPECT_EQ(line->sent, std::vector<uint8_t>{0x4D});
  EXPECT_EQ(lastText(), "Processing completion");
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(2048, 0xFF));

  // Families "0" and "2": element 2 is the compulsion write, which asks nothing.
  start("2");
  std::copy(radio->memory().begin(), radio->memory().end(), modPublic.bytRadioData.begin());
  msgs.boxes.clear();
  page->comReadWrite_Click(2);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(lastText(), "Processing completion");
}

TEST_F(LinkPage, AStoppedWriteSaysTheRadioMustBeWrittenAgainAndTheStopButtonSaysWhatItDoes) {
  start("2");
  std::copy(radio->memory().begin(), radio->memory().end(), modPublic.bytRadioData.begin());
  modPublic.bytRadioData[300] ^= 1;
  EXPECT_EQ(page->prbProcessRate->accessibleName(), "Progress");
  EXPECT_EQ(page->comExit->toolTip(), "Close this menu");
  line->stopAtMs = line->nowMs() + 400;
  line->onStop = [this] {
    EXPECT_EQ(page->comExit->toolTip(), "Stop the transfer at click");
    page->comExit_Click();
  };
  page->comReadWrite_Click(1);
  EXPECT_EQ(page->lngCommState(), kStateStopped);
  EXPECT_EQ(lastText(), "Processing was interrupted by the user\r"
                        "The radio may now hold a partly written memory: write it again before using it");
  EXPECT_EQ(page->comExit->toolTip(), "Close this menu");
  EXPECT_EQ(page->comExit->text(), "Exit");

  // "Write all" (the compulsion write of families "0" and "2") stopped: the same warning.
  for (const std::string family : {"0", "2"}) {
    start(family);
    std::copy(radio->memory().begin(), radio->memory().end(), modPublic.bytRadioData.begin());
    line->stopAtMs = line->nowMs() + 400;
    line->onStop = [this] { page->comExit_Click(); };
    page->comReadWrite_Click(2);
    EXPECT_EQ(page->lngCommState(), kStateStopped) << family;
    EXPECT_EQ(lastText(), "Processing was interrupted by the user\r"
                          "The radio may now hold a partly written memory: write it again before using it")
        << family;
  }

  // A read that was stopped changed nothing in the radio: the message alone.
  start("2");
  line->stopAtMs = line->nowMs() + 200;
  line->onStop = [this] { page->comExit_Click(); };
  page->comReadWrite_Click(0);
  EXPECT_EQ(lastText(), "Processing was interrupted by the user");
}

TEST_F(LinkPage, EnterPressesTheFocusedButton) {
  start("2");
  for (int k : {Qt::Key_Return, Qt::Key_Enter}) {
    const size_t shown = msgs.boxes.size();
    QKeyEvent press(QEvent::KeyPress, k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(page->comReadWrite[0], &press);
    ASSERT_EQ(msgs.boxes.size(), shown + 1) << "one read, one result";
    EXPECT_EQ(lastText(), "Processing completion");
  }
  EXPECT_EQ(image(), radio->memory());
}

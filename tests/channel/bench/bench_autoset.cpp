// bench_autoset: all 255 family-"0" channels filled from a two-row template
// through the auto channel-set dialog and the channel editor below it. Prints
// the time of the Set click (dry run, fill with the editor's paging, final
// refresh) and of closing the editor (encoding the filled grid). Run from the
// program folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>

#include "channel/pages/frmautoset.h"
#include "channel/pages/frmchannel.h"
#include "channelpages/fullimage.h"
#include "core/controldata.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "support/testsupport.h"

namespace {
double msSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  strtable::load(std::string(), "en");
  TempDir dir;
  freshModel(dir);
  RecordingMessages messages;
  if (!blnGetControlData() || !setUpFamily("0")) {
    std::fprintf(stderr, "set-up failed (run from the program folder)\n");
    return 1;
  }
  modPublic.bytRadioData[14] = 4;  // 136-174 MHz
  if (!fillAllChannels(140'000'000)) {
    std::fprintf(stderr, "could not fill the channel table\n");
    return 1;
  }

  FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
  auto editor = std::make_unique<FrmChannel>();
  editor->Show();
  QApplication::processEvents();

  double set = -1;
  bool closed = false;
  Page::setModalHook([&](Page& p) {
    auto& d = static_cast<FrmAutoSet&>(p);
    d.show();
    QApplication::processEvents();
    d.txtFrequency[0]->setText("146.0000");
    d.txtFrequency[1]->setText("151.0000");
    for (int r = 0; r < 2; ++r) d.blnChkFrequency(r);
    d.txtCTCSS[0]->setText("88.5");
    d.txtDCS[1]->setText("023");
    d.txtValue->setText("0.01250");
    d.txtStartNo->setText("1");
    d.txtEndNo->setText("255");
    QElapsedTimer t;
    t.start();
    d.CmdAction_Click(1);
    QApplication::processEvents();
    set = msSince(t);
    closed = !d.isLoaded();
  });
  editor->mnuAutoSet_Click();
  if (!closed || !messages.boxes.empty()) {
    std::fprintf(stderr, "the fill did not complete%s%s\n", messages.boxes.empty() ? "" : ": ",
                 messages.boxes.empty() ? "" : messages.boxes.back().text.c_str());
    return 1;
  }
  const std::string last = modPublic.strChanPara(509, 2);

  QElapsedTimer t;
  t.start();
  editor->Unload();
  QApplication::processEvents();
  const double close = msSince(t);

  std::printf("auto channel set, family \"0\", channels 1-255 from a two-row template (channel 255 TX: %s)\n",
              last.c_str());
  std::printf("%-40s %10.3f ms\n", "Set (dry run, fill, editor paging)", set);
  std::printf("%-40s %10.3f ms\n", "close the editor (encode)", close);
  return 0;
}

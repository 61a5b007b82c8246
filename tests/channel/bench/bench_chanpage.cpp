// bench_chanpage: the channel editor opened on a full family-"0" image (255
// channels), paged through every row, and closed. Prints the time to open,
// the mean and worst time of a page step (Page Down through the table, then
// Down on the last row, one row at a time, to its end) and the time to close.
// A step is the key's handlers and the repaint that follows; the handlers'
// share is printed too. Run from the program folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "channel/pages/frmchannel.h"
#include "channelpages/fullimage.h"
#include "core/controldata.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "support/testsupport.h"

namespace {
struct Steps {
  std::vector<double> ms;
  void print(const char* what) const {
    if (ms.empty()) return;
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-34s %4zu steps  mean %6.3f ms  worst %6.3f ms\n", what, ms.size(), sum / static_cast<double>(ms.size()),
                *std::max_element(ms.begin(), ms.end()));
  }
};

double msSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  strtable::load(std::string(), "en");
  TempDir dir;
  freshModel(dir);
  modPublic.strRadioFamily = "0";
  if (!blnGetControlData() || !setUpFamily("0")) {
    std::fprintf(stderr, "set-up failed (run from the program folder)\n");
    return 1;
  }
  modPublic.bytRadioData[14] = 4;  // 136-174 MHz
  if (!fillAllChannels(145'000'000)) {
    std::fprintf(stderr, "could not fill the channel table\n");
    return 1;
  }

  QElapsedTimer t;
  t.start();
  auto page = std::make_unique<FrmChannel>();
  page->Show();
  page->activateWindow();
  QApplication::processEvents();
  const double open = msSince(t);
  if (!QTest::qWaitForWindowActive(page.get())) std::fprintf(stderr, "the page did not become active\n");
  QApplication::processEvents();

  const int last = page->vscChanPara->maximum();
  Steps pageDown, pageDownKey, rowDown, rowDownKey;
  // One step: the key's handlers (cells refilled), then the repaint.
  auto step = [&](Qt::Key key, Steps& handled, Steps& total) {
    t.restart();
    QTest::keyClick(QApplication::focusWidget(), key);
    handled.ms.push_back(msSince(t));
    QApplication::processEvents();
    total.ms.push_back(msSince(t));
  };
  while (page->vscChanPara->value() < last) step(Qt::Key_PageDown, pageDownKey, pageDown);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
  page->cell(FrmChannel::kFreq, 15)->setFocus();
  QApplication::processEvents();
  while (page->vscChanPara->value() < last) step(Qt::Key_Down, rowDownKey, rowDown);

  t.restart();
  page->Unload();
  QApplication::processEvents();
  const double close = msSince(t);

  std::printf("channel editor, family \"0\", %d grid rows\n", page->intMaxRow + 1);
  std::printf("%-34s %10.3f ms\n", "open (load, decode, first paint)", open);
  pageDown.print("Page Down through the table");
  pageDownKey.print("  of which the key's handlers");
  rowDown.print("Down on the last row, every row");
  rowDownKey.print("  of which the key's handlers");
  std::printf("%-34s %10.3f ms\n", "close (checks, encode)", close);
  return 0;
}

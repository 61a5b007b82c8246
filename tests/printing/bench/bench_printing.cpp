// The family-"0" all-data report of a full radio (255 channels, 255 names)
// as a text file and as a PDF through QPrinter. Aim: text under 50 ms, PDF
// under 1 s.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>

#include "core/modpublic.h"
#include "printing/pages/qtprintsurface.h"
#include "printing/reports.h"
#include "printtest.h"
#include "support/testsupport.h"

namespace {

bool fullRadio(const TempDir& dir) {
  freshModel(dir);
  if (!printtest::radioF0(1, 1)) return false;
  std::vector<printtest::Channel> channels;
  for (int c = 1; c <= 255; ++c) {
    const std::string mhz = std::to_string(140 + c / 10) + "." + std::to_string(c % 10) + "0000";
    channels.push_back({c, mhz, mhz, "NRW", "ON", "LO", "88.5", "", "", "1", "1", "FM"});
  }
  if (!printtest::putChannels(channels)) return false;
  for (int c = 0; c < 255; ++c) printtest::putText(784 + 24 * c, "CH" + std::to_string(1000 + c));
  return true;
}

void TextFile(benchmark::State& state) {
  TempDir dir;
  if (!fullRadio(dir)) {
    state.SkipWithError("radio set-up failed");
    return;
  }
  printing::clsPrintP1RA report;
  for (auto _ : state)
    if (!report.blnPrintAllData(dir.file("all.txt"), 1)) state.SkipWithError("report failed");
}

void Pdf(benchmark::State& state) {
  TempDir dir;
  if (!fullRadio(dir)) {
    state.SkipWithError("radio set-up failed");
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("all.pdf")));
  printing::setPrinterSurfaceFactory([&] { return std::make_unique<printing::QtPrintSurface>(printer); });
  printing::clsPrintP1RA report;
  for (auto _ : state) {
    if (!report.blnPrintAllData("", 0)) state.SkipWithError("report failed");
    state.counters["pages"] = report.engine.intPage;
  }
}

}  // namespace

BENCHMARK(TextFile)->Unit(benchmark::kMillisecond);
BENCHMARK(Pdf)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

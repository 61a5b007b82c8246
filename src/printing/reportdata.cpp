#include "printing/reportdata.h"

#include <QDateTime>
#include <QLocale>
#include <utility>

#include "channel/chanpara.h"
#include "channel/names.h"
#include "platform/base/ansi.h"

namespace printing {
namespace {
ReportClock& clockHook() {
  static ReportClock clock;
  return clock;
}

bool controlByte(uint8_t b) { return b < 0x20 || b == 0x7F; }
}  // namespace

bool decodeChannelGrid(ChannelGrid& grid, std::string& failedFile) {
  ModPublic& m = modPublic;
  // The codec decodes into the shared grid: lend it the grid for the
  // decoding and give the user's grid back untouched afterwards.
  ChannelGrid working{std::move(m.chanParaRows), std::move(m.strChanParaNo), std::move(m.strChanParaTxRx)};
  m.chanParaRows.clear();
  m.strChanParaNo.clear();
  m.strChanParaTxRx.clear();
  ChannelData data;
  float sngIF = 0;
  channelModelIf(sngIF);
  const bool ok = blnChanIniSet(data, sngIF, &failedFile) && blnGetChanPara(data);
  grid = ChannelGrid{std::move(m.chanParaRows), std::move(m.strChanParaNo), std::move(m.strChanParaTxRx)};
  m.chanParaRows = std::move(working.rows);
  m.strChanParaNo = std::move(working.no);
  m.strChanParaTxRx = std::move(working.txRx);
  if (!ok) grid = {};
  return ok;
}

std::string printableText(const uint8_t* bytes, std::size_t n) {
  std::string raw(reinterpret_cast<const char*>(bytes), n);
  for (char& c : raw)
    if (controlByte(static_cast<uint8_t>(c))) c = ' ';
  return ansi::toUtf8(raw);
}

std::vector<std::string> printableNames(const std::vector<uint8_t>& image, int family) {
  std::vector<std::string> names = names::subSetIniData(image, family);
  // The name codec shows a control byte as its control picture (U+2400 +
  // byte, U+2421 for 0x7F), three bytes E2 90 80..A1 in UTF-8.
  for (std::string& name : names) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const auto b = static_cast<uint8_t>(name[i]);
      if (b == 0xE2 && i + 2 < name.size() && static_cast<uint8_t>(name[i + 1]) == 0x90 &&
          (static_cast<uint8_t>(name[i + 2]) <= 0x9F || static_cast<uint8_t>(name[i + 2]) == 0xA1)) {
        out += ' ';
        i += 2;
      } else {
        out += name[i];
      }
    }
    name = std::move(out);
  }
  return names;
}

void setReportClock(ReportClock clock) { clockHook() = std::move(clock); }

void reportDateTime(std::string& date, std::string& time) {
  if (clockHook()) {
    clockHook()(date, time);
    return;
  }
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  // The long time form without its time-zone name: hours, minutes, seconds.
  const QString timeFormat = locale.timeFormat(QLocale::LongFormat).remove('t').trimmed();
  date = locale.toString(now.date(), QLocale::ShortFormat).toStdString();
  time = locale.toString(now.time(), timeFormat).toStdString();
}

}  // namespace printing

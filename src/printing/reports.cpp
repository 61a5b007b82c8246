#include "printing/reports.h"

#include <cmath>
#include <exception>

#include "core/modeltables.h"
#include "core/soundmsg.h"
#include "options/misc.h"
#include "options/scan.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "printing/textsurface.h"
#include "selcall/decode.h"
#include "selcall/digits.h"
#include "selcall/encode.h"

namespace printing {
namespace {

const std::string kEmpty;

const std::string& field(const PrintTexts& texts, const char* name) {
  const auto it = texts.find(name);
  return it == texts.end() ? kEmpty : it->second;
}

// Format letters of the lists: 5-tone, DTMF, 5-tone ANI, DTMF ANI.
constexpr unsigned T = 1, D = 2, TA = 4, DA = 8, All = T | D | TA | DA;
// How a list value is bracketed: "[v]", "[vsec]", or "[]" when empty and
// "[vsec]" otherwise.
enum class Form { Plain, Sec, SecOrEmpty };

struct ListLine {
  int caption;
  const char* field;
  unsigned formats;
  Form form = Form::Plain;
  bool keyTime = false;  // "Emergency-Key Time": its own value column
};

const std::vector<ListLine>& encodeLines(int family) {
  static const std::vector<ListLine> f0 = {
      {520, "strPrt5ToneSet", T | TA},       {521, "strPrtEncodeDigit", T},
      {522, "strPrtEncodeNo", T},            {523, "strPrtTonePeriod", All},
      {524, "strPrtEncodeDelay", All},       {525, "strPrtFirstToneTime", T | D},
      {526, "strPrtRepeatToneNo", T | TA},   {527, "strPrtCallingTime", T},
      {528, "strPrtEncodeFormat", T},        {529, "strPrtApauseTime", T},
      {530, "strPrtREncodeNo", T},           {531, "strPrtRFirstToneTime", T},
      {532, "strPrtBpauseTime", T},          {533, "strPrtAniEncodeNo", All},
      {534, "strPrtAniEncodeMode", All},     {535, "strPrtAniIntervalTime", All, Form::Sec},
      {536, "strPrtEmergencyNo", All},       {537, "strPrtEmergencyMode", All},
      {538, "strPrtEmergencyChannel", All},  {539, "strPrtEmergencyTime", All},
      {540, "strPrtEmergencyAlarm", All},    {548, "strPrtEmergencySpeaker", All},
      {549, "strPrtEmergencyKeyTime", All, Form::Sec, true},
      {541, "strPrtCallRepeaterNo", T},      {545, "strPrtDtmfEncode", T},
      {546, "strPrtAttachDecodeNo", D}};
  static const std::vector<ListLine> f1 = {
      {520, "strPrt5ToneSet", T | TA},       {521, "strPrtEncodeDigit", T},
      {522, "strPrtEncodeNo", T},            {523, "strPrtTonePeriod", All},
      {524, "strPrtEncodeDelay", All},       {525, "strPrtFirstToneTime", T | D},
      {526, "strPrtRepeatToneNo", T | TA},   {527, "strPrtCallingTime", T},
      {528, "strPrtEncodeFormat", T},        {529, "strPrtApauseTime", T},
      {530, "strPrtREncodeNo", T},           {531, "strPrtRFirstToneTime", T},
      {532, "strPrtBpauseTime", T},          {533, "strPrtAniEncodeNo", All},
      {534, "strPrtAniEncodeMode", All},     {535, "strPrtAniIntervalTime", All, Form::Sec},
      {536, "strPrtEmergencyNo", All},       {537, "strPrtEmergencyMode", All},
      {538, "strPrtEmergencyChannel", All},  {539, "strPrtEmergencyTime", All},
      {540, "strPrtEmergencyAlarm", All},    {541, "strPrtCallRepeaterNo", T},
      {542, "strPrtTransferChannel", T | TA}, {543, "strPrtTransferNo", T | TA},
      {544, "strPrtLcdClearbyPtt", T | TA},  {545, "strPrtDtmfEncode", T},
      {546, "strPrtAttachDecodeNo", D},      {548, "strPrtEmergencySpeaker", All}};
  static const std::vector<ListLine> f2 = {
      {520, "strPrt5ToneSet", T},            {523, "strPrtTonePeriod", T | D},
      {524, "strPrtEncodeDelay", T | D},     {525, "strPrtFirstToneTime", T | D},
      {526, "strPrtRepeatToneNo", T},        {527, "strPrtCallingTime", T},
      {528, "strPrtEncodeFormat", T},        {529, "strPrtApauseTime", T},
      {530, "strPrtREncodeNo", T},           {531, "strPrtRFirstToneTime", T},
      {532, "strPrtBpauseTime", T},          {533, "strPrtAniEncodeNo", T | D},
      {534, "strPrtAniEncodeMode", T | D},   {535, "strPrtAniIntervalTime", T | D, Form::SecOrEmpty},
      {545, "strPrtDtmfEncode", T},          {541, "strPrtCallRepeaterNo", T},
      {546, "strPrtAttachDecodeNo", D},      {547, "strPrtAutoAniEncode", T | D}};
  return family == 0 ? f0 : family == 1 ? f1 : f2;
}

const std::vector<ListLine>& decodeLines(int family) {
  static const std::vector<ListLine> f0 = {
      {910, "strPrtDecodeNo", T | D},     {911, "strPrtBeepTime", T | D},
      {912, "strPrtGroupNo", T | D},      {913, "strPrtGroupMode", T | D},
      {914, "strPrtGroupDigit", T | D},   {915, "strPrtMonitorOutMode", T | D},
      {916, "strPrtAnswerNo", T},         {917, "strPrtAnswerTime", D},
      {918, "strPrtAutoResetTime", T | D}, {919, "strPrtAutoResetMode", T | D},
      {920, "strPrtResetNo", T | D},      {921, "strPrtDisplayDigit", T},
      {923, "strPrtFixDisplayDigit", T},  {924, "strPrtLimitedDecode", T},
      {929, "strPrtKillNo", T | D},       {930, "strPrtKillStatus", T | D}};
  auto shared = [](Form autoReset) {
    return std::vector<ListLine>{
        {910, "strPrtDecodeNo", T | D},     {911, "strPrtBeepTime", T | D},
        {912, "strPrtGroupNo", T | D},      {913, "strPrtGroupMode", T | D},
        {914, "strPrtGroupDigit", T | D},   {915, "strPrtMonitorOutMode", T | D},
        {916, "strPrtAnswerNo", T},         {917, "strPrtAnswerTime", D},
        {918, "strPrtAutoResetTime", T | D, autoReset},
        {919, "strPrtAutoResetMode", T | D}, {920, "strPrtResetNo", T | D},
        {921, "strPrtDisplayDigit", T | D}, {923, "strPrtFixDisplayDigit", T},
        {924, "strPrtLimitedDecode", T},    {925, "strPrtAniReceive", T | D},
        {926, "strPrtAniDisplayDigit", T | D}, {927, "strPrtCallReceive", T | D},
        {928, "strPrtEmgReceiveDigit", T | D}, {929, "strPrtKillNo", T | D},
        {930, "strPrtKillStatus", T | D}};
  };
  static const std::vector<ListLine> f1 = shared(Form::Plain);
  static const std::vector<ListLine> f2 = shared(Form::SecOrEmpty);
  return family == 0 ? f0 : family == 1 ? f1 : f2;
}

std::string bracketed(const std::string& value, Form form) {
  if (form == Form::Plain) return "[" + value + "]";
  if (form == Form::SecOrEmpty && value.empty()) return "[]";
  return "[" + value + "sec]";
}

// The width of a text as the text file's columns count it; the values of a
// list line up by it.
int length(const std::string& text) { return static_cast<int>(TextFileSurface::columns(text)); }

}  // namespace

std::string rightAligned3(int number) {
  const std::string s = "  " + vb::Format(number, "##0");
  return s.substr(s.size() - 3);
}

std::string nibbleNumber(const std::vector<uint8_t>& image, int first, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) {
    const uint8_t b = image.at(static_cast<std::size_t>(first + i));
    for (int nibble : {b & 0x0F, b >> 4}) {
      if (nibble == 15) return digits;
      digits += std::to_string(nibble);
    }
  }
  return digits;
}

std::string ifOffsetText(double mhz) {
  return (mhz < 0 ? "- " : "+ ") + vb::Format(std::fabs(mhz), "##0.000");
}

clsPrintReport::clsPrintReport(int family, const char* className) : family_(family), className_(className) {}

const std::string& clsPrintReport::misc(const char* name) const { return field(texts.misc, name); }
const std::string& clsPrintReport::scan(const char* name) const { return field(texts.scan, name); }
const std::string& clsPrintReport::encode(const char* name) const { return field(texts.encode, name); }

int clsPrintReport::encodeFormat() const { return family_ == 0 ? byte(42) & 0x0F : byte(810) & 7; }
int clsPrintReport::decodeFormat() const { return family_ == 0 ? byte(66) & 7 : byte(834) & 7; }

// A fault of the program while a report runs ends that report with its
// description; it never ends the program with the user's data.
template <class Body>
bool clsPrintReport::guarded(Body body) {
  try {
    return body();
  } catch (const std::exception& e) {
    engine.abortJob();
    MsgBoxNoSound(e.what(), vb::vbOKOnly, std::string(className_) + " " + LoadResString(10076));
    return false;
  }
}

bool clsPrintReport::gather(bool allData) {
  const std::vector<uint8_t>& img = image();
  std::string failedFile;
  if (!decodeChannelGrid(texts.grid, failedFile)) {
    intSoundMsgBox(SoundKind::Warning, LoadResString(10015) + "\rFileName:" + failedFile + "\r" + LoadResString(10016),
                   "blnChanIniSet");
    return false;
  }
  texts.decode = decodePrintTexts(img, family_);
  if (!allData) return true;
  texts.misc = options::miscPrintTexts(img, family_);
  texts.encode = encodePrintTexts(img, family_);
  texts.names = printableNames(img, family_);
  texts.scan = options::scanPrintTexts(img, family_, options::scanMaskRow(family_));
  return true;
}

bool clsPrintReport::startJob(const std::string& strPath, int16_t intOutText) {
  // The medium is chosen here, once, and kept to the job's end.
  std::unique_ptr<ReportSurface> surface;
  if (intOutText != 0) surface = std::make_unique<TextFileSurface>(strPath);
  else surface = makePrinterSurface();
  engine.yield();
  if (!engine.PrintInit(std::move(surface))) return false;
  engine.yield();
  return engine.PrintHeader();
}

bool clsPrintReport::endJob() {
  engine.blankLine();
  engine.doubleRule();
  engine.blankLine();
  return engine.PrintEnd();
}

void clsPrintReport::newLine(const std::string& text, int mm, int blanks) {
  engine.subPrintText(text, engine.col(mm, blanks));
  engine.yield();
}

void clsPrintReport::sameLine(const std::string& text, int mm, int blanks) {
  engine.blnSameLine = true;
  engine.subPrintText(text, engine.col(mm, blanks));
  engine.yield();
}

void clsPrintReport::valueLine(const std::string& text, int mm, int blanks) {
  engine.blnSameLine = true;
  engine.subPrintText(text, engine.col(mm, blanks), true);
  engine.yield();
}

void clsPrintReport::blankRuleBlank() {
  engine.blankLine();
  engine.singleRule();
  engine.blankLine();
}

void clsPrintReport::heading() {
  std::string title;
  if (family_ == 0) title = LoadResString(290) + "   ";
  else if (family_ == 2) title = LoadResString(292) + "   ";
  else if (byte(1017) == 1) title = LoadResString(251) + "   ";
  else if (byte(1017) == 2) title = LoadResString(252) + "   ";
  title += std::string(" Data printer(") + app::kTitle + ")    " + "Version " + app::versionText();
  if (!modPublic.strPrintTitle.empty()) title += "  << " + modPublic.strPrintTitle + " >>";
  newLine(title, engine.intLeftCol, engine.intLeftCol);
  std::string date, time;
  reportDateTime(date, time);
  newLine("Date/Time    " + date + "    " + time, engine.intLeftCol, engine.intLeftCol);
  blankRuleBlank();
}

namespace {
// The IF of the image's model variant; empty when the model code has no row.
std::string ifValue(int family) {
  const int code = modelCode();
  const double mhz = family == 0   ? (modelRow0(code) ? modelRow0(code)->sngIFOffset : NAN)
                     : family == 1 ? (modelRow1(code) ? modelRow1(code)->sngIFOffset : NAN)
                                   : (modelRow2(code) ? modelRow2(code)->sngIFOffset : NAN);
  return std::isnan(mhz) ? std::string() : ifOffsetText(mhz) + "MHz";
}
}  // namespace

std::string clsPrintReport::summaryLine() const {
  const bool text = engine.textFile();
  const std::vector<uint8_t>& img = image();
  const int serial = family_ == 0 ? 232 : 2038;
  const int pin = family_ == 0 ? 160 : 806;
  std::string s = "SEL No=" + printableText(&img[static_cast<std::size_t>(serial)], 8);
  if (byte(pin) == 255) s += text ? " PIN =       " : "      PIN =       ";
  else s += (text ? " PIN = " : "      PIN = ") + nibbleNumber(img, pin, 3);
  const int pinTime = byte(family_ == 0 ? 163 : 937);
  if (pinTime != 0) s += " / " + std::to_string(pinTime);
  if (family_ == 1) {
    if (byte(1012) == 255) s += text ? " Kill Password =     " : "      Kill Password =     ";
    else s += (text ? " Kill Password = " : "      Kill Password = ") + nibbleNumber(img, 1012, 2);
    if (byte(1014) != 0) s += " / " + std::to_string(byte(1014));
  }
  s += text ? " IF = " : "   IF = ";
  return s + ifValue(family_);
}

namespace {
std::string encodeTypeText(int family, int format) {
  static const int f0[] = {504, 500, 502, 501, 503};
  int id = 0;
  if (family == 0) id = format < 5 ? f0[format] : 0;
  else if (format == 7) id = 504;
  else if (format == 0) id = 500;
  else if (format == 2) id = 502;
  else if (format == 4) id = 501;
  else if (format == 6) id = 503;
  return id ? "Encode=" + LoadResString(id) : "Encode=?????";
}

std::string decodeTypeText(int family, int format) {
  if (family == 0) {
    if (format == 0) return "Decode=" + LoadResString(903);
    if (format == 1) return "Decode=" + LoadResString(900);
    if (format == 2) return "Decode=" + LoadResString(901);
    return "Decode=?????";
  }
  if (format == 0) return "Decode=" + LoadResString(900);
  if (format == 3) return "Decode=" + LoadResString(901);
  if (format == 4) return "Decode=" + LoadResString(902);
  return "Decode=" + LoadResString(903);
}

unsigned encodeLetter(int family, int format) {
  if (family == 0) return format == 1 ? T : format == 2 ? D : format == 3 ? TA : format == 4 ? DA : 0;
  const unsigned letter = format == 0 ? T : format == 2 ? D : format == 4 ? TA : format == 6 ? DA : 0;
  // The base station has no ANI lines.
  return family == 2 && (letter & (TA | DA)) ? 0 : letter;
}

unsigned decodeLetter(int family, int format) {
  if (family == 0) return format == 1 ? T : format == 2 ? D : 0u;
  return format == 0 ? T : format == 3 ? D : 0u;
}
}  // namespace

std::string clsPrintReport::encodeTypeLine() const { return encodeTypeText(family_, encodeFormat()); }
std::string clsPrintReport::decodeTypeLine() const { return decodeTypeText(family_, decodeFormat()); }
std::string clsPrintReport::ifText() const { return ifValue(family_); }

std::string clsPrintReport::memoryDigits(int first, int count, bool dtmf) const {
  const std::string_view table = dtmf ? digits::kKeyByValue : digits::kHexByValue;
  std::string out;
  for (int i = 0; i < count; ++i) {
    const uint8_t b = byte(first + i);
    out += table[b & 0x0F];
    out += table[b >> 4];
  }
  return out;
}

void clsPrintReport::encodeDecodeTypes() {
  const int dec = decodeFormat();
  newLine(encodeTypeText(family_, encodeFormat()), engine.intLeftCol, engine.intLeftCol);
  valueLine(decodeTypeText(family_, dec), 50, 10);
  if (decodeLetter(family_, dec) != 0)
    valueLine(LoadResString(910) + "=" + field(texts.decode, "strPrtDecodeNo"), 100, 5);
}

namespace {
struct Head {
  const char* text;
  int mm, blanks;
};
// A cell of families "0" and "1": grid column, printer column, blanks
// before it, and the blanks an empty cell leaves to the next one.
struct PendingCell {
  int column, mm, blanks, emptyAdds;
};
// A cell of family "2": an empty cell is printed as `emptyWidth` blanks.
struct FixedCell {
  int column, mm, blanks, emptyWidth;
};

bool channelInUse(const ChannelGrid& g, std::size_t rx) {
  return !g.rows[rx][0].empty() || (rx + 1 < g.rows.size() && !g.rows[rx + 1][0].empty());
}
}  // namespace

void clsPrintReport::channelTable(bool presenceTest) {
  const ChannelGrid& g = texts.grid;
  if (presenceTest) {
    bool any = false;
    for (std::size_t r = 0; r < g.rows.size() && !any; r += 2) any = channelInUse(g, r);
    if (!any) return;
  }
  blankRuleBlank();

  static const std::vector<Head> heads0 = {{"Frequency", 29, 3}, {"W/N", 57, 5},   {"Scan", 72, 2},
                                           {"TX/P", 87, 2},      {"CTC/Hz", 102, 2}, {"DCS", 122, 2},
                                           {"INV", 133, 2},      {"SH", 146, 2},     {"SCR", 157, 2},
                                           {"PM/FM", 172, 2}};
  static const std::vector<Head> heads1 = {{"Frequency", 34, 3}, {"W/N", 62, 5},   {"Scan", 77, 2},
                                           {"TX/P", 92, 2},      {"CTC/Hz", 107, 2}, {"DCS", 127, 2},
                                           {"INV", 143, 2},      {"SH", 159, 2},     {"SCR", 172, 2}};
  static const std::vector<Head> heads2 = {{"Frequency", 31, 3}, {"W/N", 57, 5},   {"Mode", 71, 2},
                                           {"Scan", 86, 2},      {"TX/P", 99, 2},  {"CTC/Hz", 112, 2},
                                           {"DCS", 130, 2},      {"INV", 142, 2},  {"SCR", 155, 2},
                                           {"PM/FM", 169, 2}};
  newLine("C.H/No", engine.intLeftCol, engine.intLeftCol);
  for (const Head& h : family_ == 0 ? heads0 : family_ == 1 ? heads1 : heads2) sameLine(h.text, h.mm, h.blanks);

  const int freqMm = family_ == 1 ? 30 : 27;
  const int mhzMm = family_ == 1 ? 47 : 43;
  auto frequency = [&](const std::string& cell) {
    const std::string f = cell.empty() ? std::string() : vb::Format(vb::Val(cell), "####0.00000");
    sameLine(f, freqMm, 11 - length(f));
    if (!f.empty()) sameLine("MHz", mhzMm, 0);
  };

  static const std::vector<PendingCell> cells0 = {{3, 57, 3, 6},  {5, 72, 2, 5},  {6, 89, 4, 6},
                                                  {7, 104, 3, 8}, {9, 123, 3, 6}, {10, 135, 3, 4},
                                                  {11, 148, 3, 4}, {12, 160, 4, 5}, {8, 175, 4, 0}};
  static const std::vector<PendingCell> cells1 = {{3, 62, 3, 6},  {5, 77, 2, 5},  {6, 94, 4, 6},
                                                  {7, 109, 3, 8}, {9, 128, 3, 6}, {10, 145, 3, 4},
                                                  {11, 161, 3, 4}, {12, 175, 4, 5}};
  auto pendingRow = [&](const std::array<std::string, kChanParaColumns>& row, bool rx) {
    int pending = 0;
    for (const PendingCell& c : family_ == 0 ? cells0 : cells1) {
      std::string text = row[static_cast<std::size_t>(c.column)];
      if (text.empty()) {
        // Nothing printed; the next printed cell keeps the columns aligned.
        pending += c.emptyAdds;
        continue;
      }
      if (rx && c.column == 5 && length(text) == 2) text += " ";
      sameLine(text, c.mm, c.blanks + pending);
      pending = c.column == 7 ? 5 - length(text) : 0;
    }
  };

  static const std::vector<FixedCell> rx2 = {{3, 57, 3, 3},   {4, 71, 2, 4},   {5, 86, 2, 3},
                                             {-1, 101, 3, 3}, {7, 114, 3, 5},  {9, 130, 3, 3},
                                             {10, 144, 3, 1}, {12, 158, 4, 1}, {8, 172, 4, 2}};
  static const std::vector<FixedCell> tx2 = {{-17, 0, 0, 17}, {6, 101, 4, 2},  {7, 114, 3, 5},  {9, 130, 3, 3},
                                             {10, 144, 3, 1}, {12, 158, 4, 1}, {8, 172, 4, 2}};
  auto fixedRow = [&](const std::array<std::string, kChanParaColumns>& row, bool rx) {
    for (const FixedCell& c : rx ? rx2 : tx2) {
      // Negative columns stand for blanks that keep the place of cells the
      // line does not print.
      std::string text = c.column >= 0 ? row[static_cast<std::size_t>(c.column)] : std::string(c.emptyWidth, ' ');
      if (text.empty()) {
        if (!engine.textFile()) continue;
        text.assign(static_cast<std::size_t>(c.emptyWidth), ' ');
      } else if ((rx && c.column == 5 && length(text) == 2) || (c.column == 7 && length(text) == 4)) {
        text += " ";
      }
      sameLine(text, c.mm, c.blanks);
    }
  };

  for (std::size_t r = 0; r + 1 < g.rows.size(); r += 2) {
    if (!channelInUse(g, r)) continue;
    newLine(rightAligned3(static_cast<int>(vb::Val(g.no[r]))) + " ", engine.intLeftCol, engine.intLeftCol);
    sameLine(g.txRx[r], 16, 0);
    frequency(g.rows[r][2]);
    if (family_ == 2) fixedRow(g.rows[r], true);
    else pendingRow(g.rows[r], true);
    newLine(g.txRx[r + 1], 16, 7);
    frequency(g.rows[r + 1][2]);
    if (family_ == 2) fixedRow(g.rows[r + 1], false);
    else pendingRow(g.rows[r + 1], false);
  }
}

bool clsPrintReport::blnPrintEncode(int intLineNo, int& varLineWidth) {
  const unsigned letter = encodeLetter(family_, encodeFormat());
  if (letter == 0) return false;
  int count = 0;
  for (const ListLine& line : encodeLines(family_)) {
    if (!(line.formats & letter) || ++count != intLineNo) continue;
    const std::string label = rightAligned3(count) + " " + LoadResString(line.caption);
    engine.subPrintText(label, engine.col(12, 3));
    engine.yield();
    varLineWidth = length(label) + 3;
    const std::string value = bracketed(encode(line.field), line.form);
    const int labelAndPad = line.keyTime ? 23 : family_ == 2 ? 24 : 22;
    const int pad = std::max(1, labelAndPad - length(label));  // a caption longer than its room keeps a blank
    valueLine(value, line.keyTime ? 53 : 50, pad);
    varLineWidth += length(value) + pad;
    return true;
  }
  return false;
}

bool clsPrintReport::blnPrintDecode(int intLineNo, bool blnEncodeShown, int intLineWidth) {
  const int column = family_ == 2 ? (intLineWidth > 42 ? 0 : 42 - intLineWidth) : 46 - intLineWidth;
  const unsigned letter = decodeLetter(family_, decodeFormat());
  if (letter == 0) return false;
  int count = 0;
  for (const ListLine& line : decodeLines(family_)) {
    if (!(line.formats & letter) || ++count != intLineNo) continue;
    const std::string label = rightAligned3(count) + " " + LoadResString(line.caption);
    if (blnEncodeShown) engine.blnSameLine = true;
    engine.subPrintText(label, engine.col(97, column), blnEncodeShown);
    engine.yield();
    const bool killLine = line.caption == 930;
    if (killLine) {
      const bool killed = family_ == 0 ? byte(64) == 0x4C && byte(65) == 0x4B : (byte(849) >> 4) == 0x0A;
      texts.decode["strPrtKillStatus"] = killed ? "ON" : "OFF";
    }
    const std::string value = bracketed(field(texts.decode, line.field), line.form);
    const int pad = std::max(1, (family_ == 2 ? 23 : 22) - length(label));
    valueLine(value, 135, pad);
    return !killLine;
  }
  return false;
}

void clsPrintReport::listsSideBySide() {
  bool encodeLeft = true, decodeLeft = true;
  for (int n = 1; encodeLeft || decodeLeft; ++n) {
    int width = 0;
    if (encodeLeft) encodeLeft = blnPrintEncode(n, width);
    if (decodeLeft) decodeLeft = blnPrintDecode(n, encodeLeft, width);
  }
}

void clsPrintReport::menuItem(const std::string& number, int captionId, const std::string* value, int valueAt) {
  const std::string item = number + LoadResString(captionId);
  newLine(item, engine.intLeftCol, engine.intLeftCol);
  // A caption longer than its room (Japanese ones can be) keeps one blank
  // before its value.
  if (value) valueLine(*value, 60, std::max(1, valueAt - length(item)));
}

void clsPrintReport::channelNames(int rows) {
  blankRuleBlank();
  newLine("< Channel Name >", engine.intLeftCol, engine.intLeftCol);
  newLine("Chan", engine.intLeftCol, engine.intLeftCol);
  for (int k = 0; k < 4; ++k) {
    if (k > 0) sameLine("Chan", 40 * k + 10, 9);
    sameLine("Name", 40 * k + 25, 3);
  }
  const int last = static_cast<int>(texts.names.size()) - 1;
  for (int r = 0; r < rows; ++r) {
    for (int k = 0; k < 4; ++k) {
      const int c = r + rows * k;
      if (c > last) break;
      if (k == 0) newLine(rightAligned3(c + 1), engine.intLeftCol + 1, engine.intLeftCol + 1);
      else sameLine(rightAligned3(c + 1), 40 * k + 11, 6);
      std::string name = texts.names[static_cast<std::size_t>(c)];
      if (length(name) < 8) name.append(static_cast<std::size_t>(8 - length(name)), ' ');
      sameLine(name, 40 * k + 25, 3);
    }
  }
}

bool clsPrintReport::blnPrintChannelData(const std::string& strPath, int16_t intOutText) {
  return guarded([&] {
    if (!gather(false) || !startJob(strPath, intOutText)) return false;
    heading();
    if (family_ == 2) {
      const std::vector<uint8_t>& img = image();
      std::string s = "SEL No=" + printableText(&img[2038], 8);
      if (byte(992) == 255) s += "      Kill Password =     ";
      else s += "      Kill Password = " + nibbleNumber(img, 992, 2);
      s += " / ";
      if (byte(994) != 0) s += std::to_string(byte(994));
      newLine(s, engine.intLeftCol, engine.intLeftCol);
      newLine("IF = " + ifValue(2) + (byte(856) != 0 ? "     TX Reference = 12MHz" : "     TX Reference = 10MHz"),
              engine.intLeftCol, engine.intLeftCol);
    } else {
      newLine(summaryLine(), engine.intLeftCol, engine.intLeftCol);
    }
    encodeDecodeTypes();
    channelTable(true);
    return endJob();
  });
}

bool clsPrintReport::blnPrintAllData(const std::string& strPath, int16_t intOutText) {
  return guarded([&] {
    if (!gather(true) || !startJob(strPath, intOutText)) return false;
    heading();
    allDataBody();
    return endJob();
  });
}

clsPrintReport* reportFor(const std::string& family) {
  static std::unique_ptr<clsPrintReport> objReportP1RA, objReportP2RB, objReportP3RC;
  if (family == "0") {
    if (!objReportP1RA) objReportP1RA = std::make_unique<clsPrintP1RA>();
    return objReportP1RA.get();
  }
  if (family == "1") {
    if (!objReportP2RB) objReportP2RB = std::make_unique<clsPrintP2RB>();
    return objReportP2RB.get();
  }
  if (family == "2") {
    if (!objReportP3RC) objReportP3RC = std::make_unique<clsPrintP3RC>();
    return objReportP3RC.get();
  }
  return nullptr;
}

}  // namespace printing

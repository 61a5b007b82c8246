#pragma once
// The report classes, one per radio family: the channel-data report, the
// all-data report and the encode and decode lists they share. Each object
// carries its own output engine. A report gathers everything it prints from
// read-only functions of the image before its job starts; printing never
// changes the image or the channel editor's working grid.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/modpublic.h"
#include "printing/engine.h"
#include "printing/reportdata.h"

namespace printing {

// The display texts a job prints, taken from the settings' print-text
// functions.
struct ReportTexts {
  PrintTexts encode, decode, misc, scan;
  std::vector<std::string> names;
  ChannelGrid grid;
};

class clsPrintReport {
 public:
  virtual ~clsPrintReport() = default;

  // `intOutText` 0: the printer; any other value: the text file `strPath`.
  // True when the whole report reached its medium.
  bool blnPrintAllData(const std::string& strPath, int16_t intOutText);
  bool blnPrintChannelData(const std::string& strPath, int16_t intOutText);

  // Line `intLineNo` (from 1) of the encode list of the current format;
  // false, printing nothing, beyond its end. `varLineWidth` receives the
  // line's width in text-file characters.
  bool blnPrintEncode(int intLineNo, int& varLineWidth);
  // Line `intLineNo` of the decode list, continuing the encode line when
  // `blnEncodeShown`; false after "Kill Status" (its last line) and beyond.
  bool blnPrintDecode(int intLineNo, bool blnEncodeShown, int intLineWidth);

  int family() const { return family_; }
  ReportEngine engine;
  ReportTexts texts;  // what the last job gathered

 protected:
  clsPrintReport(int family, const char* className);
  virtual void allDataBody() = 0;

  // Gathering and the job's frame.
  bool gather(bool allData);
  bool startJob(const std::string& strPath, int16_t intOutText);
  bool endJob();

  // Printing pieces: a new line, or the continuation of the line.
  void newLine(const std::string& text, int mm, int blanks);
  void sameLine(const std::string& text, int mm, int blanks);
  // A value continuing its caption's line: on a page at least a blank clear
  // of the caption.
  void valueLine(const std::string& text, int mm, int blanks);
  void blankRuleBlank();
  void heading();
  std::string summaryLine() const;  // channel-data form of families "0" and "1"
  void encodeDecodeTypes();          // the channel-data report's type line
  void channelTable(bool presenceTest);
  void listsSideBySide();
  void channelNames(int rows);
  // One menu item: number text and caption at the margin, its value (when
  // there is one) `valueAt` characters after the number text's start.
  void menuItem(const std::string& number, int captionId, const std::string* value, int valueAt);
  // The scan items every family prints, then the family's own ones.
  void scanMenu(const std::vector<std::pair<int, const char*>>& more);
  std::string keyLockValue() const;
  // The channel table, the format line (its decode part `decodeBlanks` on)
  // and the encode and decode lists.
  void channelsAndLists(bool presenceTest, int decodeBlanks);
  // "Single Tone Encode Time" and its value, the caption `blanks` in.
  void singleToneLine(int blanks);

  const std::vector<uint8_t>& image() const { return modPublic.bytRadioData; }
  uint8_t byte(int at) const { return image().at(static_cast<std::size_t>(at)); }
  const std::string& misc(const char* field) const;
  const std::string& scan(const char* field) const;
  const std::string& encode(const char* field) const;
  int encodeFormat() const;
  int decodeFormat() const;
  // "Encode=..." and "Decode=..." of the image's formats.
  std::string encodeTypeLine() const;
  std::string decodeTypeLine() const;
  // The model variant's IF with "MHz"; empty when the model code has no row.
  std::string ifText() const;
  // Memory-encode digits of `count` bytes from `first`, hex or DTMF keys.
  std::string memoryDigits(int first, int count, bool dtmf) const;

 private:
  template <class Body>
  bool guarded(Body body);
  int family_;
  const char* className_;
};

class clsPrintP1RA final : public clsPrintReport {
 public:
  clsPrintP1RA() : clsPrintReport(0, "clsPrintP1RA") {}
 protected:
  void allDataBody() override;
};

class clsPrintP2RB final : public clsPrintReport {
 public:
  clsPrintP2RB() : clsPrintReport(1, "clsPrintP2RB") {}
 protected:
  void allDataBody() override;
};

class clsPrintP3RC final : public clsPrintReport {
 public:
  clsPrintP3RC() : clsPrintReport(2, "clsPrintP3RC") {}
 protected:
  void allDataBody() override;
};

// The report object of a family ("0", "1", "2"), made on first use and kept
// for the run; nullptr for any other family.
clsPrintReport* reportFor(const std::string& family);

// Texts shared with tests.
std::string rightAligned3(int number);           // "  1", " 12", "123"
std::string nibbleNumber(const std::vector<uint8_t>& image, int first, int count);
std::string ifOffsetText(double mhz);             // "+ 21.400", "- 45.050"

}  // namespace printing

#include "core/modeltables.h"

#include "core/settingkeys.h"

namespace {
std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

std::vector<typModelData> table0() {
  return {
      {"ZR310-03   ", "(  30-  60MHz)", 21.6f, 600, 9.375},
      {blanks(11), blanks(14), 21.6f, 450, 3.125},
      {blanks(11), blanks(14), 21.6f, 500, 3.125},
      {"ZR310-08    ", "(  66-  88MHz)", 48.5f, 880, 6.875},
      {"ZR310-15   ", "(136-174MHz)", 48.5f, 1740, 11.875},
      {blanks(11), blanks(12), 48.5f, 1740, 7.5},
      {"ZR310-20   ", "(176-276MHz)", 48.5f, 2760, 31.25},
      {blanks(11), blanks(12), 48.5f, 2300, 9.375},
      {blanks(11), blanks(12), 48.5f, 2550, 9.375},
      {blanks(11), blanks(12), 48.5f, 2800, 9.375},
      {"ZR310-40A  ", "(335-400MHz)", -48.5f, 4000, 20.3125},
      {blanks(11), blanks(12), -48.5f, 4000, 10.9375},
      {"ZR310-40C  ", "(400-470MHz)", -48.5f, 4700, 21.875},
      {blanks(10), blanks(12), -48.5f, 4550, 10.9375},
      {blanks(11), blanks(12), -48.5f, 4750, 10.9375},
      {"ZR310-40E  ", "(450-520MHz)", -48.5f, 5200, 21.875},
      {blanks(11), blanks(12), -48.5f, 5200, 10.9375},
  };
}

std::vector<typModelData1> table1() {
  return {
      {"ZR320-03    ", "ZR330-03    ", "(Under 66MHz)", 21.6f},
      {"ZR320-08A  ", "ZR330-08A  ", "(  66-  88MHz)", 48.5f},
      {"ZR320-15A  ", "ZR330-15A  ", "(136-162MHz)", 48.5f},
      {"ZR320-15B  ", "ZR330-15B  ", "(146-174MHz)", 48.5f},
      {"ZR320-20A  ", "ZR330-20A  ", "(176-208MHz)", 48.5f},
      {"ZR320-20B  ", "ZR330-20B  ", "(208-248MHz)", 48.5f},
      {"ZR320-20C  ", "ZR330-20C  ", "(240-276MHz)", 48.5f},
      {"ZR320-40SA", "ZR330-40SA", "(300-335MHz)", -48.5f},
      {"ZR320-40A  ", "ZR330-40A  ", "(335-370MHz)", -48.5f},
      {"ZR320-40B  ", "ZR330-40B  ", "(365-400MHz)", -48.5f},
      {"ZR320-40C  ", "ZR330-40C  ", "(400-435MHz)", -48.5f},
      {"ZR320-40DS", "ZR330-40DS", "(420-455MHz)", -48.5f},
      {"ZR320-40D  ", "ZR330-40D  ", "(440-475MHz)", -48.5f},
      {"ZR320-40E  ", "ZR330-40E  ", "(465-500MHz)", -48.5f},
      {"ZR320-40F  ", "ZR330-40F  ", "(485-520MHz)", -48.5f},
  };
}

std::vector<typModelData> table2() {
  return {
      {"ZR340/350-03A", "( 29.5-40MHz)", 73.35f, 400, 3.28125},
      {"ZR340/350-03B", "( 35.0-45MHz)", 73.35f, 450, 3.125},
      {"ZR340/350-03C", "( 39.0-50MHz)", 73.35f, 500, 3.4375},
      {"ZR340/350-08 ", "( 66-  88MHz)", 48.5f, 880, 6.875},
      {"ZR340/350-08B", "( 74-  88MHz)", 48.5f, 880, 1.0},
      {"ZR340/350-15A", "(136-156MHz)", 48.5f, 1560, 6.25},
      {"ZR340/350-15B", "(150-174MHz)", 48.5f, 1740, 7.5},
      {"ZR340/350-20A", "(176-204MHz)", 48.5f, 2040, 8.75},
      {"ZR340/350-20B", "(200-230MHz)", 48.5f, 2300, 9.375},
      {"ZR340/350-20C", "(225-255MHz)", 48.5f, 2550, 9.375},
      {"ZR340/350-20D", "(250-280MHz)", 48.5f, 2800, 9.375},
      {"ZR340/350-40SA", "(300-335MHz)", -48.5f, 3350, 10.9375},
      {"ZR340/350-40A", "(335-370MHz)", -48.5f, 3700, 10.9375},
      {"ZR340/350-40B", "(365-400MHz)", -48.5f, 4000, 10.9375},
      {"ZR340/350-40C", "(400-435MHz)", -48.5f, 4350, 10.9375},
      {"ZR340/350-40DS", "(420-455MHz)", -48.5f, 4550, 10.9375},
      {"ZR340/350-40D", "(440-475MHz)", -48.5f, 4750, 10.9375},
      {"ZR340/350-40E", "(465-500MHz)", -48.5f, 5000, 10.9375},
      {"ZR340/350-40F", "(485-520MHz)", -48.5f, 5200, 10.9375},
  };
}

template <class T>
const T* rowOf(const std::vector<T>& t, int code) {
  if (code < 0 || code >= static_cast<int>(t.size())) return nullptr;
  return &t[static_cast<size_t>(code)];
}
}  // namespace

FamilyTexts subSetRadioTable() {
  FamilyTexts texts;
  ModPublic& m = modPublic;
  if (m.strRadioFamily == "0") {
    texts = {true, 190, 195};
    m.strLabelColor = "&H00808040&";
    m.lngDataLast = 6887;
    m.udtModelTable0 = table0();
  } else if (m.strRadioFamily == "1") {
    texts = {true, 191, 196};
    m.strLabelColor = "&H0000C000&";
    m.lngDataLast = 2047;
    m.udtModelTable1 = table1();
  } else if (m.strRadioFamily == "2") {
    texts = {true, 192, 197};
    m.strLabelColor = "&H00C00000&";
    m.lngDataLast = 2559;
    m.udtModelTable2 = table2();
  }
  saveSetting(keys::RadioSelect, m.strRadioFamily);
  return texts;
}

int modelCode() {
  const ModPublic& m = modPublic;
  const size_t at = m.family() == 0 ? 14 : 1016;
  if (m.family() < 0 || m.bytRadioData.size() <= at) return -1;
  return m.bytRadioData[at];
}

int modelRowCount() {
  switch (modPublic.family()) {
    case 0: return static_cast<int>(modPublic.udtModelTable0.size());
    case 1: return static_cast<int>(modPublic.udtModelTable1.size());
    case 2: return static_cast<int>(modPublic.udtModelTable2.size());
  }
  return 0;
}

const typModelData* modelRow0(int code) { return rowOf(modPublic.udtModelTable0, code); }
const typModelData1* modelRow1(int code) { return rowOf(modPublic.udtModelTable1, code); }
const typModelData* modelRow2(int code) { return rowOf(modPublic.udtModelTable2, code); }

bool currentModel(float& ifMHz, std::string& name, std::string& band) {
  const int code = modelCode();
  switch (modPublic.family()) {
    case 0:
    case 2: {
      const typModelData* r = modPublic.family() == 0 ? modelRow0(code) : modelRow2(code);
      if (!r) return false;
      ifMHz = r->sngIFOffset;
      name = r->strModelName;
      band = r->strBandName;
      return true;
    }
    case 1: {
      const typModelData1* r = modelRow1(code);
      if (!r) return false;
      ifMHz = r->sngIFOffset;
      name = modPublic.bytRadioData.size() > 1017 && modPublic.bytRadioData[1017] == 1 ? r->strModelName2 : r->strModelName;
      band = r->strBandName;
      return true;
    }
  }
  return false;
}

void setFamily2LowIf(bool is7335) {
  auto& t = modPublic.udtModelTable2;
  for (size_t r = 0; r <= 2 && r < t.size(); ++r) t[r].sngIFOffset = is7335 ? 73.35f : 21.6f;
}

void setFamily2UhfIf(bool is7335) {
  auto& t = modPublic.udtModelTable2;
  for (size_t r = 11; r <= 18 && r < t.size(); ++r) t[r].sngIFOffset = is7335 ? -73.35f : -48.5f;
}

void deriveFamily2IfFromImage() {
  const auto& d = modPublic.bytRadioData;
  if (d.size() <= 948) return;
  setFamily2LowIf(d[937] != 0);
  setFamily2UhfIf(d[948] != 0 && d[948] != 0xFF);
}

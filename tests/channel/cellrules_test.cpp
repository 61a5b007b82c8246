// The cell rules the channel grid and the auto-set template share, where the
// page tests do not reach: keypad codes, the DCS emptying rule's edges, and
// a refused entry leaving the row as it was.
#include <gtest/gtest.h>

#include "channel/cellrules.h"

using cellrules::Choice;

TEST(CellRules, DigitsKeypadCodesAndFamilyOptions) {
  EXPECT_EQ(cellrules::typedOption(Choice::Scan, 0, "2", 98), 1);  // keypad 2
  EXPECT_EQ(cellrules::typedOption(Choice::Scan, 0, "3", '3'), -1);
  EXPECT_EQ(cellrules::typedOption(Choice::Step, 1, "1", '1'), -1);
  EXPECT_EQ(cellrules::typedOption(Choice::Step, 2, "1", '1'), 0);
  std::string text = "x";
  EXPECT_TRUE(cellrules::optionText(Choice::SR, 0, 1, text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(cellrules::optionText(Choice::WideNarrow, 1, 2, text));
  EXPECT_EQ(cellrules::markedOption(Choice::INV, ""), cellrules::kClearMarks);
  EXPECT_EQ(cellrules::markedOption(Choice::Mode, "simp"), cellrules::kKeepMarks);
  EXPECT_FALSE(cellrules::allowed(Choice::Mode, "simp"));
  EXPECT_TRUE(cellrules::allowed(Choice::WideNarrow, "4KH"));
}

TEST(CellRules, DcsEmptiesOnlyAZeroOfThreeCharactersOrMore) {
  for (const char* zero : {"NON", "000", "0.4", "ABC"}) EXPECT_TRUE(cellrules::dcsClears(zero)) << zero;
  for (const char* other : {"00", "", "023", "9E9", "1E999"}) EXPECT_FALSE(cellrules::dcsClears(other)) << other;
}

TEST(CellRules, ARefusedToneLeavesTheRowAsItWas) {
  const std::vector<std::string> ctc = {"", "L67.0", "88.5"};
  const std::vector<std::string> dcs = {"", "023"};
  cellrules::ToneTexts row{"", "023", "1"};
  EXPECT_FALSE(cellrules::enterCtcss(ctc, "88.", row));
  EXPECT_FALSE(cellrules::enterDcs(dcs, "9E9", row));
  EXPECT_EQ(row.dcs, "023");
  EXPECT_EQ(row.inv, "1");
  EXPECT_TRUE(cellrules::enterDcs(dcs, "", row));
  EXPECT_EQ(row.inv, "");
}

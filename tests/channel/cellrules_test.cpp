// The cell rules the channel grid and the auto-set template share, where the
// page tests do not reach: the DCS emptying rule's edges, a refused entry
// leaving the row as it was, and the mode words' case.
#include <gtest/gtest.h>

#include "channel/cellrules.h"

using cellrules::Choice;

TEST(CellRules, DcsEmptiesOnlyAZeroOfThreeCharactersOrMore) {
  for (const char* zero : {"NON", "000", "0.4", "ABC"}) EXPECT_TRUE(cellrules::dcsClears(zero)) << zero;
  for (const char* other : {"00", "", "023", "9E9", "1E999"}) EXPECT_FALSE(cellrules::dcsClears(other)) << other;
}

TEST(CellRules, RefusedEntriesChangeNothing) {
  const std::vector<std::string> ctc = {"", "L67.0", "88.5"};
  const std::vector<std::string> dcs = {"", "023"};
  cellrules::ToneTexts row{"", "023", "1"};
  EXPECT_FALSE(cellrules::enterCtcss(ctc, "88.", row));
  EXPECT_FALSE(cellrules::enterDcs(dcs, "9E9", row));
  EXPECT_EQ(row.dcs, "023");
  EXPECT_EQ(row.inv, "1");
  EXPECT_TRUE(cellrules::enterDcs(dcs, "", row));
  EXPECT_EQ(row.inv, "");
  // Mode words keep their case: "simp" is no mode and marks no option.
  EXPECT_FALSE(cellrules::allowed(Choice::Mode, "simp"));
  EXPECT_EQ(cellrules::markedOption(Choice::Mode, "simp"), cellrules::kKeepMarks);
}

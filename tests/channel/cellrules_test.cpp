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

TEST(CellRules, TextFromOutsideStandsForAnOptionTheFamilyOffers) {
  EXPECT_EQ(cellrules::enteredOption(Choice::WideNarrow, 0, "nrw"), 1);
  EXPECT_EQ(cellrules::enteredOption(Choice::WideNarrow, 0, "3"), 2);
  // Family "1" has no 4 kHz width and no 2.50 kHz step, by digit or word.
  EXPECT_EQ(cellrules::enteredOption(Choice::WideNarrow, 1, "3"), -1);
  EXPECT_EQ(cellrules::enteredOption(Choice::WideNarrow, 1, "4KH"), -1);
  EXPECT_EQ(cellrules::enteredOption(Choice::Step, 1, "2.50"), -1);
  EXPECT_EQ(cellrules::enteredOption(Choice::Step, 0, "12.50"), 4);
  // A flag's empty text is its "NON" option; W/N and PM/FM have no empty word.
  EXPECT_EQ(cellrules::enteredOption(Choice::SR, 0, ""), 1);
  EXPECT_EQ(cellrules::enteredOption(Choice::WideNarrow, 0, ""), -1);
  EXPECT_EQ(cellrules::enteredOption(Choice::PMFM, 0, ""), -1);
  for (const char* none : {"0", "12", "simp", "NON", " 1"}) EXPECT_EQ(cellrules::enteredOption(Choice::Mode, 2, none), -1) << none;
}

#pragma once
// What the cells of a channel row may hold and how a typed key or a chosen
// option becomes a cell text: the option columns' words and digits, and the
// tone cells' lookups with the rule that a row holds one tone. The channel
// editor's grid and the auto channel-set dialog's template rows both judge
// their cells here, so the two can never accept different texts; each page
// keeps only its own focus, key and pop-up handling.
#include <optional>
#include <string>
#include <vector>

namespace cellrules {

// The columns whose cells hold one word of a short list, chosen from a pop-up.
enum class Choice { Step, WideNarrow, Mode, Scan, TxPower, PMFM, INV, SH, SR };

// The choice column at place `column` of the cursor order (the cells' Tag,
// the same in the editor's grid and in the template): 1 step, 3 W/N, 4 mode,
// 5 scan, 6 TX power, 9 INV, 10 SH, 11 SR, 12 PM/FM. False for the other
// cells (prescaler, frequency, tones).
std::optional<Choice> choiceAt(int column);

// Number of option buttons of the column's pop-up.
int optionCount(Choice c);

// Whether the family offers option `index`: family "1" has no 2.50 kHz step
// (step option 0) and no 4 kHz width (W/N option 2).
bool offered(Choice c, int family, int index);

// The text option `index` writes into the cell (a flag's "NON" option writes
// ""). False when it writes nothing: an option the family does not offer, or
// no such option.
bool optionText(Choice c, int family, int index, std::string& text);

// A key released in a cell: the option whose digit now stands alone in the
// cell (a digit typed over the selected text), digit d choosing option d - 1.
// The numeric keypad's key codes 96..105 count as the digits. -1 when the key
// chose nothing: another key, a digit typed beside other text, or a digit the
// family does not offer.
int typedOption(Choice c, int family, const std::string& cellText, int keyCode);

// Text put into a cell from outside (a screen reader or test tool), as the
// option it stands for: a digit alone, as typed over the selected text, or
// the word an option writes, in the case the column keeps. -1 when it stands
// for no option the family offers.
int enteredOption(Choice c, int family, const std::string& text);

// The option a cell text marks when the pop-up opens.
constexpr int kClearMarks = -1;  // an empty text: no option marked (a flag's "NON" neither)
constexpr int kKeepMarks = -2;   // a text that is no option's: the marks stay as they are
int markedOption(Choice c, const std::string& text);

// Whether a cell may keep `text`: "" or one of the column's words, exactly
// (case counts). The W/N words are the same for every family.
bool allowed(Choice c, const std::string& text);

// A cell text as the column keeps it: upper case, except the mode words,
// whose case counts.
std::string folded(Choice c, const std::string& text);

// The words a row's empty cells get once its frequency passes the check, by
// cursor-order column; a cell takes its word only while it is enabled, the
// mode only on an RX row.
struct DefaultWord {
  int column;
  const char* word;
};
constexpr DefaultWord kDefaultWords[] = {{3, "WID"}, {4, "Simp"}, {5, "OFF"}, {6, "HI"}, {12, "PM"}};

// ---- Tone cells ----

// The tone texts of one row. A row holds either a CTCSS tone or a DCS code,
// and INV ("1" or "") only with a DCS code.
struct ToneTexts {
  std::string ctcss, dcs, inv;
};

// A CTCSS entry: `typed` is upper-cased and looked up in elements 1..55 of
// the family's table, exactly or by its short form ("88" finds "88.5", "l67"
// finds "L67.0"). Accepted, the row holds that tone alone (DCS and INV
// emptied); an empty text removes the tone. False, and the row unchanged,
// when the table holds no such tone.
bool enterCtcss(const std::vector<std::string>& table, const std::string& typed, ToneTexts& row);

// A DCS entry: `typed` must equal an element 0..104 exactly ("023", never
// "23"). Accepted, the row holds that code (CTCSS emptied, INV kept); an
// empty text removes the code and its INV. False, and the row unchanged,
// when no element matches.
bool enterDcs(const std::vector<std::string>& table, const std::string& typed, ToneTexts& row);

// A DCS cell that asks to be emptied: three characters or more whose leading
// number, rounded, is 0 ("NON", "000"). Never overflows: a text such as
// "9E9" is a number that is not 0.
bool dcsClears(const std::string& text);

// ---- Frequency and step texts ----

// A character a frequency or step text is typed with: a digit or ".".
bool numberCharacter(char c);
// A second "." after the first one ("1.2.5").
bool twoPoints(const std::string& text);
// A frequency text as its cell shows it once checked: "####0.00000" of digits
// with at most one point; any other text as it stands.
std::string frequencyFormat(const std::string& text);

}  // namespace cellrules

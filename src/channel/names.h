#pragma once
// Channel names in the memory image: where each family keeps them, how a
// stored name reads and is written, which characters a name may hold, and
// the moves between the name boxes of the channel-name page. No widgets here.
//
// Texts are UTF-8. A stored byte shows as its ANSI character; a control byte
// (0x00..0x1F, 0x7F), which no box can show, shows as its Unicode control
// picture (U+2400 + byte, U+2421 for 0x7F), so every stored byte has a
// character of its own and an edited name still writes back the bytes the
// user did not touch.
#include <cstdint>
#include <string>
#include <vector>

namespace names {

constexpr int kNameLength = 8;     // characters (bytes) of a stored name
constexpr int kBoxesPerPage = 50;  // name boxes of one page

// Names of the family: 255, 100 or 99 (0 for no family).
int nameCount(int family);
// First byte of name `index` (0-based, channel index + 1).
int nameOffset(int family, int index);
// Byte an empty name is written with: 0x00, or 0xFF for family "1".
uint8_t fillByte(int family);
// Characters a name may hold; family "1" has upper-case letters only.
const std::string& nameSet(int family);
// Last page index of the page list: 5 for family "0", 1 otherwise.
int lastPage(int family);

// The text of one 8-byte field: empty when the first byte is 0x00 or 0xFF;
// otherwise every byte, trailing blanks, 0x00 and 0xFF dropped as padding.
std::string decodeName(const uint8_t* field);
// Writes a name into its 8-byte field: empty as 8 fill bytes, anything else
// left-aligned, cut to 8 characters and padded with blanks.
void encodeName(uint8_t* field, const std::string& name, uint8_t fill);

// Every name of the family, as the image holds them (index = channel - 1).
// Reads only; the print reports take their names from here.
std::vector<std::string> subSetIniData(const std::vector<uint8_t>& image, int family);
// Writes the names whose text differs from `asLoaded` (what the decoder gave)
// and nothing else, so a name nobody edited keeps its bytes.
void subPutChannelNameData(std::vector<uint8_t>& image, int family, const std::vector<std::string>& names,
                           const std::vector<std::string>& asLoaded);

// Whether every character of `text` is in the family's name set.
bool inNameSet(int family, const std::string& text);
// Whether `after` holds a character outside the name set more often than
// `before` did: an edit may keep or remove what a stored name held, but may
// add only characters of the set.
bool addsForeign(int family, const std::string& before, const std::string& after);
// The character a typed key enters (family "1" upper-cases letters), or 0
// when the key enters nothing.
char typedChar(int family, int keyAscii);
// Family "1" names are upper case: typed or pasted letters are entered so.
std::string enteredText(int family, const std::string& text);

// Channels (1-based) whose names hold a character outside the name set.
std::vector<int> foreignChannels(int family, const std::vector<std::string>& names);
// "3, 7-9, 12": channel numbers with runs joined.
std::string channelList(const std::vector<int>& channels);

// Number of characters of a UTF-8 text.
int charCount(const std::string& text);

// Where the focus goes from a name box. `shown(i)` tells whether box i holds
// a name on the current page.
struct BoxMove {
  enum Kind { Default, Stay, Box, ShowPage };
  Kind kind = Default;  // Default: the key is left to the box
  int box = 0;          // Box, ShowPage: the box to focus
  int page = 0;         // ShowPage: the page to show first
};
struct BoxPlace {
  int family = 0;
  int page = 0;
  int box = 0;
  int caret = 0;
  int textLength = 0;
};
// Keys: 13 Enter (also where the eighth typed character moves on to),
// 37..40 arrows; any other key gives Default.
BoxMove boxMove(const BoxPlace& at, int keyCode, int lastName);
// Whether box `box` of page `page` holds a name (index up to lastName).
inline bool boxShown(int page, int box, int lastName) { return page * kBoxesPerPage + box <= lastName; }

}  // namespace names

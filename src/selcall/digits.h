#pragma once
// Selective-call numbers and codes (encode, ANI, emergency, transfer and
// decode numbers, the memory-encode table) are kept in the memory image as
// 4-bit digits, two to a byte, the first digit in the low nibble. Pages show
// them in one of two forms: hex form on 5-tone pages ("0".."9", "A".."F"),
// DTMF key form on DTMF pages, through the DTMF key table. The value 15 is
// the empty digit: it fills positions that carry no number and is shown like
// any other digit ("F", or the key "C").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace digits {

// The DTMF key table: the hex character at position p of strDtmfCodeDigits
// and the key at position p of strDtmfKeys stand for the same digit.
inline const std::string strDtmfCodeDigits = "1234567890ABCDEF";
inline const std::string strDtmfKeys = "123456789D0*#ABC";
// The same table by digit value 0..15.
inline constexpr std::string_view kHexByValue = "0123456789ABCDEF";
inline constexpr std::string_view kKeyByValue = "D1234567890*#ABC";
constexpr int kEmptyDigit = 15;

enum class Form { Hex, Key };

// One digit's place: a byte of the image and which of its nibbles.
struct Nibble {
  int byte = 0;
  bool high = false;
};
// A digit field: its digits' places in digit order.
using Field = std::vector<Nibble>;
// `count` whole bytes from `first`: 2 x count digits, the low nibble first.
Field wholeBytes(int first, int count);
// One nibble of a byte whose other nibble belongs to something else.
Field lowNibble(int byte);
Field highNibble(int byte);
Field operator+(Field a, const Field& b);

// The field as text, one character per digit, empty digits included.
std::string decode(const std::vector<uint8_t>& image, const Field& field, Form form);

// The digit values of a text. Hex form: either letter case; a character that
// is no hex digit stands for the empty digit. Key form: a character that is no
// key is dropped, so the digits after it move forward.
std::vector<int> values(const std::string& text, Form form);

// Writes the text into every nibble of the field; digits the text lacks are
// empty digits (15), extra ones are ignored. The other nibble of a byte that
// the field holds only one nibble of keeps its value.
void encode(std::vector<uint8_t>& image, const Field& field, const std::string& text, Form form);

// Whole-text conversions between the forms; a character found in neither
// alphabet is copied unchanged.
std::string hexToKeys(const std::string& hex);
std::string keysToHex(const std::string& keys);
std::string convert(const std::string& text, Form from, Form to);

// The alphabet a code box of the form accepts, and its empty digit.
const std::string& alphabet(Form form);
char emptyDigit(Form form);

}  // namespace digits

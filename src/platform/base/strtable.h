#pragma once
// Captions (1..1404) and messages (10001..10100) by number, English or
// Japanese, from "strings/en.txt" / "strings/ja.txt" in the program folder.
#include <string>

namespace strtable {

// Loads the language's table; "" chooses by the user's locale (Japanese when
// it starts with "ja", English otherwise). Missing ids fall back to English.
bool load(const std::string& folder = std::string(), const std::string& language = std::string());

// The text of an id; an unknown id gives "".
std::string LoadResString(int id);

std::string language();

}  // namespace strtable

using strtable::LoadResString;

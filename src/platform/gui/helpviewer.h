#pragma once
// The help file and its viewer. The help file is a plain UTF-8 text file of
// our own: topics introduced by a line "[Keyword]", the topic's text being
// every line up to the next such line. Lines starting with "#" before the
// first topic are comments.
#include <string>

namespace help {

// Where a help file named `name` is looked for: the program folder, then its
// "help" sub-folder. "" when it is in neither.
std::string locate(const std::string& name);

// The text of a topic; false when the file or the topic is missing.
bool topicText(const std::string& path, const std::string& keyword, std::string& text);

// Opens the topic in a viewer window (not modal). A missing file or topic is
// ignored: returns false and shows nothing.
bool showTopic(const std::string& helpFileName, const std::string& keyword);

}  // namespace help

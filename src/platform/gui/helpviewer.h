#pragma once
// The help file and its viewer. The help file is a plain UTF-8 text file of
// our own: topics introduced by a line "[Keyword]", the topic's text being
// every line up to the next such line. Lines starting with "#" before the
// first topic are comments.
#include <string>

class QDialog;
class QFont;
class QWidget;

namespace help {

// Where a help file named `name` is looked for: the program folder, then its
// "help" sub-folder. "" when it is in neither.
std::string locate(const std::string& name);

// The text of a topic; false when the file or the topic is missing.
bool topicText(const std::string& path, const std::string& keyword, std::string& text);

// Opens the topic in a viewer window (not modal) beside the page that asks
// for it: `opener`, or else the page in front. The viewer belongs to that
// page, so a modal page does not block it; Escape or its Close button closes
// it. A topic that shows a table is set in a fixed-width font. The file's
// lines are wrapped by their author: the viewer opens wide enough for the
// file's longest line and never wraps a line again (a narrower window
// scrolls). A missing file or topic is ignored: returns false and shows
// nothing.
bool showTopic(const std::string& helpFileName, const std::string& keyword, QWidget* opener = nullptr);

// Whether a topic's text lays out columns (a run of blanks inside a line).
bool showsTable(const std::string& text);

// The font a table is set in: a face whose characters all advance alike
// (a known monospace family first, then the system's fixed font), at the
// size of the ordinary text.
QFont tableFont();

// The viewer window while it exists (tests look at it).
QDialog* viewer();

}  // namespace help

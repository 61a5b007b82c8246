#pragma once
// What screen readers and other assistive tools are told about our controls
// beyond Qt's defaults.
//
// A drop-down list (QComboBox) is named by its caption: its accessible name,
// or else the caption of the label whose buddy it is. Its chosen entry is its
// value, readable as its text. (On Linux Qt names a drop-down list by its
// chosen entry, so a page of them would read "NON", "Max", "Max" ... with no
// word of what each one sets.)

namespace vbui {

// Installs the program's accessibility interfaces; once is enough, more
// calls change nothing. Every page does it as it is made.
void installAccessibility();

}  // namespace vbui

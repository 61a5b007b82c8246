#pragma once
// What screen readers and accessibility tools are told about the program's
// controls. Every control is known by its caption or by the caption of the
// label beside it. Qt's own interface names a drop-down list on Linux by its
// current entry instead, which changes with every choice and leaves nothing
// to find the setting by; here a drop-down list is named by its setting (its
// accessible name, or its label's caption) and reads its current entry as
// its text.
namespace vbui {

// Installs the program's own accessible interfaces once the application
// object exists; calling it again changes nothing.
void installAccessibleNames();

}  // namespace vbui

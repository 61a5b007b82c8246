#pragma once
// File choosers of the pages (open, save), behind a seam so page tests can
// answer them. Filters come in the pages' own "Name(*.EXT)|*.EXT" form.
#include <functional>
#include <string>

class QWidget;

struct FileDialogRequest {
  bool save = false;       // save dialog (confirms overwriting) or open dialog (file must exist)
  std::string title;
  std::string folder;      // initial folder
  std::string filter;      // "velmora(*.R1A)|*.R1A"
  // Added to a name typed without a suffix ("R3D") before the save dialog
  // asks about overwriting, so the question names the file really written.
  std::string defaultSuffix;
};

// Returns the chosen full path, or "" when the user cancelled.
std::string chooseFile(QWidget* parent, const FileDialogRequest& request);

// Tests answer the dialogs; an empty hook restores the real dialogs.
void setFileDialogHook(std::function<std::string(const FileDialogRequest&)> hook);

// "Name(*.EXT)|*.EXT|..." to Qt's "Name(*.EXT);;..." form.
std::string qtFilter(const std::string& filter);

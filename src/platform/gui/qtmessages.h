#pragma once
// Real message boxes and wave playback for the running program.
#include <string>

#include "platform/base/msgservice.h"

class QtMessageService : public MessageService {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override;
  // Plays to the end with the event loop running; gives up silently when the
  // file cannot be played.
  void playWave(const std::string& path) override;
};

// The platform's own dialogs (file dialogs, message-box buttons) speak the
// program's language: Qt's translations of them for "ja", none for "en".
// False when the language needs them and the system has none installed.
bool installPlatformDialogTexts(const std::string& language);

#pragma once
// Real message boxes and wave playback for the running program.
#include "platform/base/msgservice.h"

class QtMessageService : public MessageService {
 public:
  int msgBox(const std::string& text, int style, const std::string& title) override;
  // Plays to the end with the event loop running; gives up silently when the
  // file cannot be played.
  void playWave(const std::string& path) override;
};

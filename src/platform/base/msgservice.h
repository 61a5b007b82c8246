#pragma once
// The seam between the program and its message boxes and sounds. The GUI
// installs a service that shows real boxes; tests install one that answers
// from a script and records what was shown. Byte logic only sees this seam.
#include <string>

namespace vb {
// Message-box styles and answers, by the numbers the pages were written with.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
constexpr int vbDefaultButton2 = 256;  // the second button answers Enter
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
}  // namespace vb

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Shows a box and waits for its answer (vbOK, vbCancel, ...).
  virtual int msgBox(const std::string& text, int style, const std::string& title) = 0;
  // Plays a wave file to its end; a file that cannot be played is skipped silently.
  virtual void playWave(const std::string& path) = 0;
};

// The installed service; without one, boxes answer OK and nothing plays.
MessageService& messageService();
// Installs a service (not owned); nullptr restores the silent default.
void setMessageService(MessageService* service);

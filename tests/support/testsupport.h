#pragma once
// Shared test fixtures: a message service that answers from a script and
// records what was shown, a temporary folder, and a fresh shared model.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/msgservice.h"

struct ShownBox {
  std::string text;
  int style = 0;
  std::string title;
};

class RecordingMessages : public MessageService {
 public:
  RecordingMessages();
  ~RecordingMessages() override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void playWave(const std::string& path) override;

  std::vector<ShownBox> boxes;
  std::vector<std::string> waves;
  std::deque<int> answers;  // answers in turn; OK when empty
};

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Resets the shared model to a fresh run and points the settings store at a
// file in `dir`.
void freshModel(const TempDir& dir);
// Sets up a family the way the start-up page's Next does: family tables,
// image sized, loaded from the family's initial file.
bool setUpFamily(const std::string& family);

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

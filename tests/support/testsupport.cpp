#include "support/testsupport.h"

#include <fstream>
#include <random>

#include "core/filecontrol.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "platform/base/settings.h"

RecordingMessages::RecordingMessages() { setMessageService(this); }
RecordingMessages::~RecordingMessages() { setMessageService(nullptr); }

int RecordingMessages::msgBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title});
  if (answers.empty()) return vb::vbOK;
  const int a = answers.front();
  answers.pop_front();
  return a;
}

void RecordingMessages::playWave(const std::string& path) { waves.push_back(path); }

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() / ("velmora-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void freshModel(const TempDir& dir) {
  modPublic = ModPublic{};
  settings::setStoreFile(dir.file("settings.ini"));
}

bool setUpFamily(const std::string& family) {
  modPublic.strRadioFamily = family;
  subSetRadioTable();
  modPublic.strLabelColor = "&H0000C000&";
  modPublic.dimImage();
  static const char* files[] = {"InitialP1RA.dat", "InitialP2RB.dat", "InitialP3RC.dat"};
  modPublic.strInitialFile = files[modPublic.family()];
  return objFileControl().blnGetBinaryData("", modPublic.strInitialFile, modPublic.bytRadioData, modPublic.bytRadioBase,
                                           kImageLast);
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

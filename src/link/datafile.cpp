#include "link/datafile.h"

#include "core/modpublic.h"
#include "platform/base/appinfo.h"

namespace datafile {

std::string extension() {
  const ModPublic& m = modPublic;
  switch (m.family()) {
    case 0: return ".R1A";
    case 1:
      if (m.bytRadioData.size() > 1017 && m.bytRadioData[1017] == 1) return ".R2B";
      if (m.bytRadioData.size() > 1017 && m.bytRadioData[1017] == 2) return ".R2C";
      return "";
    case 2: return ".R3D";
  }
  return "";
}

std::string dialogFilter() {
  const std::string ext = extension();
  if (ext.empty()) return "";
  std::string name = app::kTitle;
  if (ext == ".R2B") name += "-ZR330";
  if (ext == ".R2C") name += "-ZR320";
  return name + "(*" + ext + ")|*" + ext;
}

std::string filePattern() {
  const std::string ext = extension();
  return ext.empty() ? "" : "*" + ext;
}

void storeFileSum(std::vector<uint8_t>& image) {
  if (image.size() < 2048) return;
  uint32_t sum = 0;
  for (size_t k = 0; k < 1023; ++k) sum += image[2 * k] + 256u * image[2 * k + 1];
  image[2046] = static_cast<uint8_t>(sum & 0xFF);
  image[2047] = static_cast<uint8_t>((sum >> 8) & 0xFF);
}

bool splitPath(const std::string& fullPath, std::string& folder, std::string& name) {
  const size_t slash = fullPath.rfind('/');
  if (slash == std::string::npos || slash + 1 >= fullPath.size()) return false;
  folder = fullPath.substr(0, slash + 1);
  name = fullPath.substr(slash + 1);
  return true;
}

}  // namespace datafile

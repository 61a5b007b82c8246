#include "core/controldata.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"

namespace {
struct Key {
  std::string tag;    // with its "="
  std::string* mask;  // the element it fills
};

const char* kModels[3] = {"310", "320", "350"};
const char* kEncTypes[5] = {"5TN", "DTM", "5TA", "DTA", "NON"};
const int kEncPages[5] = {0, 2, 4, 6, 7};
const char* kDecTypes[3] = {"5TN", "DTM", "NON"};
const int kDecPages[3] = {0, 3, 7};

// Keys in the order they are tested on each line.
std::vector<Key> keysInLineOrder() {
  ModPublic& m = modPublic;
  std::vector<Key> k;
  for (int r = 0; r < 3; ++r) k.push_back({std::string("[Str ") + kModels[r] + "]=", &m.strStrMask[r]});
  for (int r = 0; r < 3; ++r) k.push_back({std::string("[Cfg ") + kModels[r] + "]=", &m.strCfgMask[r]});
  for (int r = 0; r < 3; ++r) k.push_back({std::string("[Man ") + kModels[r] + "]=", &m.strManMask[r]});
  k.push_back({"[Mis 310]=", &m.strMiscMask[0]});
  k.push_back({"[Mis 320]=", &m.strMiscMask[3]});
  k.push_back({"[Mis 330]=", &m.strMiscMask[4]});
  k.push_back({"[Mis 350]=", &m.strMiscMask[2]});
  for (int r = 0; r < 3; ++r)
    for (int t = 0; t < 5; ++t)
      k.push_back({std::string("[Enc ") + kModels[r] + " " + kEncTypes[t] + "]=", &m.strEncMask[r][kEncPages[t]]});
  for (int r = 0; r < 3; ++r)
    for (int t = 0; t < 3; ++t)
      k.push_back({std::string("[Dec ") + kModels[r] + " " + kDecTypes[t] + "]=", &m.strDecMask[r][kDecPages[t]]});
  for (int r = 0; r < 3; ++r) k.push_back({std::string("[Scn ") + kModels[r] + "]=", &m.strScnMask[r]});
  return k;
}

// The order in which empty masks are looked for at the end (Mis 350 before
// 320 and 330 here); the last empty one is the one named.
std::vector<Key> keysInCheckOrder() {
  std::vector<Key> k = keysInLineOrder();
  // Line order has Mis 310, 320, 330, 350 at 9..12; the check wants 310, 350, 320, 330.
  std::vector<Key> out(k.begin(), k.begin() + 10);
  out.push_back(k[12]);
  out.push_back(k[10]);
  out.push_back(k[11]);
  out.insert(out.end(), k.begin() + 13, k.end());
  return out;
}

std::string title() { return std::string(app::kTitle) + " StartUp blnGetControlData"; }
}  // namespace

void strMaskNormalize(std::string& mask) {
  std::string out(40, '0');
  for (size_t i = 0; i < 40 && i < mask.size(); ++i)
    if (mask[i] == '1') out[i] = '1';
  mask = out;
}

bool maskEnabled(const std::string& mask, int item) {
  return item >= 0 && static_cast<size_t>(item) < mask.size() && mask[static_cast<size_t>(item)] == '1';
}

bool blnGetControlData() {
  const std::string folder = app::path();
  const std::string name = folder + "/velmora.ini";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec)) {
    MsgBoxNoSound("velmora.ini" + LoadResString(10100) + folder, vb::vbExclamation, title());
    return false;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    MsgBoxNoSound("velmora.ini" + LoadResString(10100) + folder, vb::vbExclamation, title());
    return false;
  }
  const std::vector<Key> keys = keysInLineOrder();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("//") != std::string::npos) continue;
    for (const Key& key : keys) {
      const size_t at = line.find(key.tag);
      if (at == std::string::npos) continue;
      std::string value = line.substr(at + key.tag.size(), 40);
      strMaskNormalize(value);
      *key.mask = value;
    }
  }
  std::string lastEmpty;
  for (const Key& key : keysInCheckOrder())
    if (key.mask->empty()) lastEmpty = key.tag.substr(0, key.tag.size() - 1);
  if (!lastEmpty.empty()) {
    MsgBoxNoSound(lastEmpty + LoadResString(10100) + "velmora.ini", vb::vbExclamation, title());
    return false;
  }
  return true;
}

#include "core/pages/cmdline.h"

#include <cmath>
#include <vector>

#include "core/modpublic.h"
#include "platform/base/appinfo.h"
#include "platform/base/vbtext.h"

namespace {
bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

std::vector<std::string> tokens(const std::string& line) {
  std::vector<std::string> out;
  bool inToken = false;
  for (char c : line) {
    if (c == ' ' || c == '\t') {
      inToken = false;
      continue;
    }
    if (!inToken) {
      if (out.size() == 10) break;  // an eleventh token ends the walk
      out.emplace_back();
      inToken = true;
    }
    out.back() += c;
  }
  return out;
}
}  // namespace

int16_t intGetCommandLine(const std::string& commandLine) {
  ModPublic& m = modPublic;
  m.strHelpFile = "evelmora.hlp";
  m.strCmdFileName.clear();
  m.intCmdCommPort = -1;
  m.intDebugLog = 0;
  int16_t result = -1;
  for (const std::string& token : tokens(commandLine)) {
    const std::string u = vb::UCase(token);
    if (startsWith(u, "/H") && token.size() > 2) {
      m.strHelpFile = token.substr(2);
      if (!contains(u, ".HLP")) m.strHelpFile += ".hlp";
    }
    if (startsWith(u, "/F") && token.size() > 2) m.strCmdFileName = token.substr(2);
    if (startsWith(u, "/R") && token.size() > 2) {
      if (contains(u, "ZR310")) result = 0;
      if (contains(u, "ZR330")) result = 11;
      if (contains(u, "ZR320")) result = 1;
      if (contains(u, "ZR340")) result = 2;
      if (contains(u, "ZR350")) result = 2;
    }
    if (startsWith(u, "/COM") && token.size() > 4) {
      const double v = vb::Val(token.substr(4));
      // Out-of-range and non-finite values name no port.
      int port = -1;
      if (std::isfinite(v) && v >= 0.5 && v < 16.5) port = vb::CInt(v);
      m.intCmdCommPort = static_cast<int16_t>(port >= 1 && port <= 16 ? port : -1);
    }
    if (startsWith(u, "/DEBUG")) m.intDebugLog = 1;
  }
  return result;
}

std::string cmdPortToken(const std::string& commandLine) {
  std::string given;
  for (const std::string& token : tokens(commandLine))
    if (startsWith(vb::UCase(token), "/COM")) given = token;
  return given;
}

CmdDataFile splitCmdDataFile(const std::string& value, int radioCode) {
  CmdDataFile d;
  const size_t cut = value.find_last_of("/\\");
  if (cut == std::string::npos) {
    d.folder = app::path();
    d.fileName = value;
  } else {
    d.folder = value.substr(0, cut);
    if (d.folder.empty()) d.folder = value.substr(0, 1);  // a file in "/"
    d.fileName = value.substr(cut + 1);
  }
  const char* ext = "";
  switch (radioCode) {
    case 0: ext = ".R1A"; break;
    case 1: ext = ".R2C"; break;
    case 11: ext = ".R2B"; break;
    case 2: ext = ".R3D"; break;
    default: break;
  }
  d.fileToOpen = d.fileName + ext;
  return d;
}

#include "core/pages/cmdline.h"

#include <cmath>

#include "core/modpublic.h"
#include "platform/base/appinfo.h"
#include "platform/base/vbtext.h"

namespace {
constexpr size_t kMaxTokens = 10;

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// Every token the user gave, past the tenth included; empty arguments name nothing.
CmdArgs allTokens(const CmdArgs& args) {
  CmdArgs out;
  for (const std::string& a : args)
    if (!a.empty()) out.push_back(a);
  return out;
}

// The tokens the parser reads: the first ten.
CmdArgs tokens(const CmdArgs& args) {
  CmdArgs out = allTokens(args);
  if (out.size() > kMaxTokens) out.resize(kMaxTokens);
  return out;
}

bool isOption(const std::string& token) {
  const std::string u = vb::UCase(token);
  for (const char* o : {"/H", "/F", "/R", "/COM", "/DEBUG"})
    if (startsWith(u, o)) return true;
  return false;
}

const char* extensionOf(int radioCode) {
  switch (radioCode) {
    case 0: return ".R1A";
    case 1: return ".R2C";
    case 11: return ".R2B";
    case 2: return ".R3D";
    default: return "";
  }
}

// The ZR320 and ZR330 are one family: the other radio's extension, "" for
// the radios alone in theirs.
const char* familyOtherExtension(int radioCode) {
  switch (radioCode) {
    case 1: return ".R2B";
    case 11: return ".R2C";
    default: return "";
  }
}

// `name` ends in `ext` (in any case) and is more than it.
bool endsWithExtension(const std::string& name, const std::string& ext) {
  const size_t n = name.size();
  return !ext.empty() && n > ext.size() && vb::UCase(name.substr(n - ext.size())) == ext;
}
}  // namespace

int16_t intGetCommandLine(const CmdArgs& args) {
  ModPublic& m = modPublic;
  m.strHelpFile = "evelmora.hlp";
  m.strCmdFileName.clear();
  m.intCmdCommPort = -1;
  m.intDebugLog = 0;
  int16_t result = -1;
  for (const std::string& token : tokens(args)) {
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

std::string cmdPortToken(const CmdArgs& args) {
  std::string given;
  for (const std::string& token : tokens(args))
    if (startsWith(vb::UCase(token), "/COM")) given = token;
  return given;
}

bool cmdFileGiven(const CmdArgs& args) {
  for (const std::string& token : allTokens(args))
    if (startsWith(vb::UCase(token), "/F")) return true;
  return false;
}

CmdRefusal unattendedRefusal(const CmdArgs& args, int radioCode) {
  const CmdArgs all = allTokens(args);
  if (all.size() > kMaxTokens) return {10104, all[kMaxTokens]};
  for (const std::string& token : all)
    if (!isOption(token)) return {10103, token};
  // Every "/F" must name a file, not a folder: a bare one beside a named
  // one is a name the shell lost, not one to ignore.
  for (const std::string& token : all) {
    if (!startsWith(vb::UCase(token), "/F")) continue;
    if (token.size() == 2 || token.back() == '/') return {10105, token};
  }
  if (radioCode < 0) return {10080, modPublic.strCmdFileName};
  return {};
}

CmdDataFile splitCmdDataFile(const std::string& value, int radioCode) {
  CmdDataFile d;
  // Only "/" separates folders: on Linux a backslash is a character of a name.
  const size_t cut = value.rfind('/');
  if (cut == std::string::npos) {
    d.folder = app::path();
    d.fileName = value;
  } else {
    d.folder = value.substr(0, cut);
    if (d.folder.empty()) d.folder = value.substr(0, 1);  // a file in "/"
    d.fileName = value.substr(cut + 1);
  }
  const std::string ext = extensionOf(radioCode);
  const std::string other = familyOtherExtension(radioCode);
  // A name typed with an extension of the radio's family is the file's whole
  // name. On a case-sensitive disk "site.r3d" is a file of its own, so the
  // name is kept as typed and only the test ignores case.
  for (const std::string& typed : {ext, other}) {
    if (!endsWithExtension(d.fileName, typed)) continue;
    d.fileToOpen = d.fileName;
    d.fileName.resize(d.fileName.size() - typed.size());
    return d;
  }
  d.fileToOpen = d.fileName + ext;
  if (!other.empty()) d.otherFileToOpen = d.fileName + other;
  return d;
}

#include "core/filecontrol.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/ansi.h"
#include "platform/base/appinfo.h"
#include "platform/base/safefile.h"
#include "platform/base/strtable.h"

namespace fs = std::filesystem;

void clsSimpleFunc::w_zMakeFullPath(const std::string& folder, const std::string& file, std::string& fullPath) const {
  if (!folder.empty() && folder.back() == '/') fullPath = folder + file;
  else fullPath = folder + "/" + file;
}

clsFileControl& objFileControl() {
  static clsFileControl instance;
  return instance;
}

clsSimpleFunc& objSimpleFunc() {
  static clsSimpleFunc instance;
  return instance;
}

std::string clsFileControl::resolve(const std::string& folder, const std::string& file) {
  objSimpleFunc().w_zMakeFullPath(folder.empty() ? app::path() : folder, file, strFullPath);
  std::error_code ec;
  lastSize_ = fs::is_regular_file(strFullPath, ec) ? static_cast<int64_t>(fs::file_size(strFullPath, ec)) : -1;
  if (ec) lastSize_ = -1;
  return strFullPath;
}

bool clsFileControl::readImage(std::vector<uint8_t>& buffer, int32_t last, std::string& error) {
  buffer.assign(static_cast<size_t>(last) + 1, 0);
  // The file looked at before may have been replaced since (by a pipe that
  // would hold the read for ever, say): what is opened is judged again, and
  // its length is that of the file read. One byte past the image is asked
  // for, so that a file that grows while it is read shows it.
  std::string bytes;
  long long size = -1;
  if (const int failed = safefile::readPlainFile(strFullPath, buffer.size() + 1, bytes, &size)) {
    error = std::strerror(failed);
    return false;
  }
  // A file cut or grown between the look at its length and the read (an
  // editor saving in place empties it first) is not the file judged: it is
  // given the length it has now, and never the image's, so that no byte is
  // made up for one that is missing and none is taken from another file.
  const auto need = static_cast<long long>(buffer.size());
  const auto read = static_cast<long long>(bytes.size());
  lastSize_ = size;
  if (read != std::min(size, need + 1)) {
    std::error_code ec;
    const auto now = static_cast<long long>(fs::file_size(strFullPath, ec));
    lastSize_ = !ec && now != need ? now : read != need ? read : size;
  }
  std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.size()), buffer.begin());
  return true;
}

bool clsFileControl::blnGetBinaryData(const std::string& folder, const std::string& file, std::vector<uint8_t>& a,
                                      std::vector<uint8_t>& b, int32_t last) {
  resolve(folder, file);
  if (last < 0 || lastSize_ < 0) return false;
  std::vector<uint8_t> buffer;
  std::string error;
  if (!readImage(buffer, last, error)) return false;
  if (a.size() < buffer.size()) a.resize(buffer.size());
  if (b.size() < buffer.size()) b.resize(buffer.size());
  std::copy(buffer.begin(), buffer.end(), a.begin());
  std::copy(buffer.begin(), buffer.end(), b.begin());
  return true;
}

bool clsFileControl::blnGetEEPROMData(const std::string& folder, const std::string& file, std::vector<uint8_t>& a,
                                      std::vector<uint8_t>& b, int32_t last) {
  resolve(folder, file);
  if (last < 0 || lastSize_ < 0) return false;
  std::vector<uint8_t> buffer;
  std::string error;
  if (!readImage(buffer, last, error)) {
    intSoundMsgBox(SoundKind::Warning, LoadResString(10056) + "\rFile:" + strFullPath, "blnGetEEROMData");
    return false;
  }
  if (a.size() < buffer.size()) a.resize(buffer.size());
  if (b.size() < buffer.size()) b.resize(buffer.size());
  std::copy(buffer.begin(), buffer.end(), a.begin());
  std::copy(buffer.begin(), buffer.end(), b.begin());
  return true;
}

clsFileControl::DataFile clsFileControl::getDataFile(const std::string& folder, const std::string& file,
                                                     std::vector<uint8_t>& image, int32_t last,
                                                     const std::string& title) {
  std::vector<uint8_t> loaded, spare;
  if (!blnGetEEPROMData(folder, file, loaded, spare, last)) return DataFile::NotRead;
  const int64_t need = static_cast<int64_t>(last) + 1;
  // Only a file exactly as long as the radio's data is this radio's: the
  // program writes no other length, a shorter one would leave bytes the user
  // never gave, and a longer one is another radio's data (or a cut or padded
  // copy of it) whose bytes would land on this radio's serial, model and type.
  if (lastSize_ != need) {
    std::string text = LoadResString(10091);
    for (const auto& [mark, value] : {std::pair{"%1", lastSize_}, std::pair{"%2", need}})
      if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, 2, std::to_string(value));
    intSoundMsgBox(SoundKind::Attention, text + "\rFile:" + strFullPath, title);
    return DataFile::WrongLength;
  }
  if (image.size() < loaded.size()) image.resize(loaded.size());
  std::copy(loaded.begin(), loaded.end(), image.begin());
  return DataFile::Read;
}

bool clsFileControl::blnGetStringData(const std::string&, const std::string& file, std::vector<std::string>& table,
                                      int32_t last) {
  resolve("", file);
  if (last < 0 || lastSize_ < 0) return false;
  std::ifstream in(strFullPath, std::ios::binary);
  if (!in) return false;
  std::vector<std::string> buffer(static_cast<size_t>(last) + 1);
  for (auto& element : buffer) {
    unsigned char len[2];
    if (!in.read(reinterpret_cast<char*>(len), 2)) return false;
    const size_t n = len[0] | (len[1] << 8);
    std::string raw(n, '\0');
    if (n > 0 && !in.read(raw.data(), static_cast<std::streamsize>(n))) return false;
    element = ansi::toUtf8(raw);
  }
  if (table.size() < buffer.size()) table.resize(buffer.size());
  std::copy(buffer.begin(), buffer.end(), table.begin());
  return true;
}

bool clsFileControl::blnPutBinaryData(const std::string& folder, const std::string& file,
                                      const std::vector<uint8_t>& data) {
  const std::string folderUsed = folder.empty() ? app::path() : folder;
  resolve(folder, file);
  const size_t count = static_cast<size_t>(modPublic.lngDataLast) + 1;
  bool ok = modPublic.lngDataLast >= 0 && data.size() >= count;
  if (ok) {
    safefile::SafeFile out(strFullPath);
    ok = out.open() && out.write(data.data(), count) && out.commit();
  }
  if (!ok) {
    intSoundMsgBox(SoundKind::Warning, LoadResString(10006) + "\r\rPath:" + folderUsed, "blnPutBinaryData");
    return false;
  }
  return true;
}

bool clsFileControl::blnDelFile(const std::string& folder, const std::string& file) {
  resolve(folder, file);
  std::error_code ec;
  const bool ok = lastSize_ >= 0 && fs::remove(strFullPath, ec) && !ec;
  if (!ok) {
    intSoundMsgBox(SoundKind::Warning,
                   LoadResString(10011) + "\r" + LoadResString(10012) + "\rFile:" + strFullPath, "blnDelFile");
    return false;
  }
  return true;
}

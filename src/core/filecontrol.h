#pragma once
// Whole-file helpers: initial images, data files, tone tables, deleting.
// An empty folder means the program folder.
#include <cstdint>
#include <string>
#include <vector>

class clsSimpleFunc {
 public:
  // folder & file, with one "/" between them.
  void w_zMakeFullPath(const std::string& folder, const std::string& file, std::string& fullPath) const;
};

class clsFileControl {
 public:
  int16_t intFileNo = 0;
  std::string strFullPath;

  // Reads bytes 0..last (a shorter file leaves zeros) into both arrays.
  // False, silently and with both arrays unchanged, when the file is missing
  // or unreadable.
  bool blnGetBinaryData(const std::string& folder, const std::string& file, std::vector<uint8_t>& a,
                        std::vector<uint8_t>& b, int32_t last);
  // The same; a read error is reported (critical, "blnGetEEROMData").
  bool blnGetEEPROMData(const std::string& folder, const std::string& file, std::vector<uint8_t>& a,
                        std::vector<uint8_t>& b, int32_t last);
  // A tone table: elements 0..last, each a 16-bit little-endian count and that
  // many ANSI characters. Always from the program folder. A missing, short or
  // malformed file gives False and leaves the array unchanged.
  bool blnGetStringData(const std::string& folder, const std::string& file, std::vector<std::string>& table,
                        int32_t last);
  // Writes bytes 0..lngDataLast through the safe writer (platform/base/
  // safefile.h): a link is followed, a device, pipe, folder or read-only file
  // is refused, and the old file stays intact until the new one is complete.
  bool blnPutBinaryData(const std::string& folder, const std::string& file, const std::vector<uint8_t>& data);
  // A data file into bytes 0..last of `image`, only when the file is exactly
  // that long. A missing file gives NotRead silently, a read error NotRead
  // after its report; a file of any other length gives WrongLength after the
  // message 10091 naming the file's length and the radio's, and its path,
  // titled `title`. The image changes only on Read.
  enum class DataFile { Read, NotRead, WrongLength };
  DataFile getDataFile(const std::string& folder, const std::string& file, std::vector<uint8_t>& image, int32_t last,
                       const std::string& title);
  // Deletes the file; a missing or locked file is reported.
  bool blnDelFile(const std::string& folder, const std::string& file);

  // Size of the file of the last call's full path, -1 when it does not exist.
  int64_t lastFileSize() const { return lastSize_; }

 private:
  std::string resolve(const std::string& folder, const std::string& file);
  bool readImage(std::vector<uint8_t>& buffer, int32_t last, std::string& error);
  int64_t lastSize_ = -1;
};

// The helper instances, created on first use.
clsFileControl& objFileControl();
clsSimpleFunc& objSimpleFunc();

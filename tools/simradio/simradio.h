#pragma once
// The radio's side of the serial link, byte by byte, for the three families:
// it holds a memory image, answers reads, echoes and stores writes, checks the
// family-"0" sum and the family-"2" end frame, echoes the family-"1" erase,
// and logs what it saw. Faults can be injected. No clock of its own: the
// transport feeds received bytes with their time and plays the output chunks.
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Faults {
  bool silent = false;           // answers nothing at all
  int wrongEchoAt = -1;          // garble the echo with this number (0 = the command's)
  bool wrongEchoAlways = false;  // garble every echo from wrongEchoAt on
  int shortEchoAt = -1;          // drop the last byte of the echo with this number
  int headerBytes = 16;          // family "0": header bytes sent
  bool wrongHeader = false;      // family "0": first header byte is not the command
  int missingFrame = -1;         // read: the frame of this word is never sent
  int repeatedFrame = -1;        // read: the frame of this word is sent twice
  bool missingEnd = false;       // read: no end frame
  int announceWords = -1;        // family "0": word count the header announces
  int hangupAfter = -1;          // hang up after this many data frames (read or write)
  int headerGapMs = 60;          // family "0": silence between the header and the first frame
};

// Bytes to put on the line after `gapMs` of silence following the previous
// chunk; `hangup` closes the line instead.
struct Chunk {
  int gapMs = 0;
  std::vector<uint8_t> bytes;
  bool hangup = false;
};

class Radio {
 public:
  Radio(int family, std::vector<uint8_t> memory);

  Faults faults;
  // The 12 information characters of the family-"0" read header.
  std::string info = "ZR310SIM0001";

  // One byte from the PC at time `nowMs`; returns what the radio sends back.
  std::vector<Chunk> receive(uint8_t byte, int64_t nowMs);
  // The PC's side of the line was closed: an exchange in progress is over.
  void lineClosed();

  int family() const { return fam; }
  const std::vector<uint8_t>& memory() const { return mem; }
  // What the radio saw, one line per event, oldest first.
  const std::vector<std::string>& log() const { return events; }
  // Lines logged since the last call.
  std::vector<std::string> takeNewLog();
  // Completed writes and erases so far (the memory changed for good).
  int writesCompleted() const { return completed; }

  int wordCount() const { return static_cast<int>(mem.size() / 2); }

 private:
  enum class Mode { Idle, ReadRequest, WriteCommand, WriteFrames, AwaitEcho };

  void note(const std::string& line);
  std::vector<Chunk> idleByte(uint8_t b);
  std::vector<Chunk> echo(const std::vector<uint8_t>& bytes, bool* garbled);
  std::vector<Chunk> startRead();
  std::vector<Chunk> nextReadFrame(int gapMs);
  std::vector<Chunk> writeFrame();
  void finishWrite(const std::string& what);

  int fam;
  std::vector<uint8_t> mem;
  std::vector<std::string> events;
  size_t logged = 0;
  int completed = 0;

  Mode mode = Mode::Idle;
  std::vector<uint8_t> pending;
  size_t need = 0;
  int64_t lastByteMs = 0;
  bool anyByte = false;

  int echoes = 0;              // echoes sent in the current write
  int dataFrames = 0;          // data frames of the current transfer
  uint8_t command = 0;
  int announcedWords = 0;      // family "0" write: W' of the command frame
  int nextWord = 0;            // family "1" write: the word the next sequence means
  std::vector<int> readOrder;  // words to send in a read, in order
  size_t readPos = 0;
  std::vector<uint8_t> lastSent;
  int echoMismatches = 0;
};

// Sum of the family-"0" sum frame: words 0..words-1 of the memory, low 16 bits.
uint16_t family0Sum(const std::vector<uint8_t>& mem, int words);

}  // namespace sim

// The write trace and the state and serial-error messages.
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "linktest.h"
#include "support/disklimit.h"

using namespace radiolink;

namespace {
std::string fileText(const std::string& path) {
  const auto bytes = readFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}
// 2026-12-06, 9:05:07 for the first `same` readings, 9:05:09 after.
std::function<std::tm()> clockAt(int same) {
  auto calls = std::make_shared<int>(0);
  return [calls, same] {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = (*calls)++ < same ? 7 : 9;
    return t;
  };
}
}  // namespace

TEST_F(LinkTest, TraceOfAFamilyZeroWrite) {
  setUpFamily(0, 0);
  modPublic.intDebugLog = 1;
  engine.trace.clock = clockAt(2);
  auto& d = modPublic.bytRadioData;
  d[32] = 10;
  d[100] = 0xDE;  // word 50 = 990
  d[101] = 0x03;
  modPublic.bytRadioBase = d;
  modPublic.blnRadioRead = true;
  int32_t size = 0, sum = 0;
  EXPECT_TRUE(engine.blnP1RACheckSum(size, sum));
  EXPECT_EQ(sum, 1000);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(0, size, sum, 0x69));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  const std::string once =
      "Start of blnP1RACheckSum:  2026-12-06 9:05:07\r\n"
      "    lngSum= 1000  lngWork= 1006 \r\n"
      "End of blnP1RACheckSum\r\n"
      "Start of blnCommP1RACompFormat:  2026-12-06 9:05:07\r\n"
      "lngDataSize= 1008  intMaxLen= 1006 \r\n"
      "lngBuffCount= 1 \r\n"
      "Send Write Command:  Send=69 F8 1 0\r\n"
      "byte address=40  Send=20 0 0 0\r\n"
      "lngSum= 1000 \r\n"
      "Send=FF FF E8 3\r\n"
      "End of blnCommP1RACompFormat  2026-12-06 9:05:09\r\n"
      "\r\n";
  EXPECT_EQ(fileText(engine.trace.fileName), once);

  // A second write appends below the first.
  engine.trace.clock = clockAt(2);
  engine.blnP1RACheckSum(size, sum);
  engine.blnCommP1RACompFormat(0, size, sum, 0x69);
  EXPECT_EQ(fileText(engine.trace.fileName), once + once);
}

TEST_F(LinkTest, TraceOfOtherWrites) {
  // Family "2", nothing to send: start line, no-data end line, empty line.
  setUpFamily(2, 0);
  modPublic.intDebugLog = 1;
  engine.trace.clock = clockAt(1);
  modPublic.blnRadioWritten = true;
  EXPECT_FALSE(engine.blnCommCompFormat(3, 0x5A));
  EXPECT_EQ(fileText(engine.trace.fileName),
            "Start of blnCommCompFormat:  2026-12-06 9:05:07\r\n"
            "End of blnCommCompFormat  There are no send data2026-12-06 9:05:09\r\n"
            "\r\n");

  // Family "2" compulsion write: 1280 address lines (0..9FE), the end frame
  // behind two blanks, the end line. Each line is in the file as it is
  // written: a write cut short (a signal, a crash) leaves the lines down to
  // the frame it was sending, here the 100th.
  std::filesystem::remove(engine.trace.fileName);
  engine.trace.clock = clockAt(1);
  modPublic.bytRadioData[5] = 0x0A;
  auto seen = std::make_shared<std::string>();
  auto bytesIn = std::make_shared<int>(0);
  line.setAnswerer([r = radio.get(), seen, bytesIn, file = engine.trace.fileName](uint8_t b, int64_t ms) {
    if (++*bytesIn == 1 + 4 * 100) *seen = fileText(file);
    return r->receive(b, ms);
  });
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  line.setRadio(radio.get());
  const std::string text = fileText(engine.trace.fileName);
  size_t hundredth = 0;
  for (int n = 0; n < 101 && hundredth != std::string::npos; ++n) hundredth = text.find("\r\n", hundredth) + 2;
  EXPECT_EQ(*seen, text.substr(0, hundredth));
  EXPECT_EQ(seen->substr(seen->size() - 32), "byte address=C6  Send=63 0 0 0\r\n");
  std::vector<std::string> lines;
  for (size_t at = 0, nl; (nl = text.find("\r\n", at)) != std::string::npos; at = nl + 2) lines.push_back(text.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 1u + 1280u + 3u);
  EXPECT_EQ(lines[0], "Start of blnCommSFormat:  2026-12-06 9:05:07");
  EXPECT_EQ(lines[1], "byte address=0  Send=0 0 0 0");
  EXPECT_EQ(lines[3], "byte address=4  Send=2 0 0 A");
  EXPECT_EQ(lines[1280], "byte address=9FE  Send=FF 4 0 0");
  EXPECT_EQ(lines[1281], "  Send=FF FF AB CD");
  EXPECT_EQ(lines[1282], "End of blnCommSFormat  2026-12-06 9:05:09");
  EXPECT_EQ(lines[1283], "");

  // Family "1": only the start line, the end line and the empty line.
  setUpFamily(1, 0);
  modPublic.intDebugLog = 1;
  engine.trace.clock = clockAt(1);
  EXPECT_TRUE(engine.blnCommSFormat(2, 0xE6));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(fileText(engine.trace.fileName),
            "Start of blnCommSFormat:  2026-12-06 9:05:07\r\n"
            "End of blnCommSFormat  2026-12-06 9:05:09\r\n"
            "\r\n");

  // Without "/DEBUG" no file is made.
  setUpFamily(2, 0);
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_FALSE(std::filesystem::exists(engine.trace.fileName));

  // A trace that cannot be opened leaves the write untraced, not failed.
  setUpFamily(2, 0);
  modPublic.intDebugLog = 1;
  engine.trace.fileName = dir.file("no-such-folder/velmora.out");
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(radio->log().back(), "write: 1280 frames stored");
  EXPECT_TRUE(messages.boxes.empty());

  // A port that cannot be opened: the start line only, the routine fails.
  setUpFamily(2, 0);
  modPublic.intDebugLog = 1;
  engine.trace.clock = clockAt(1);
  engine.subCommClose();
  line.refuseOpen = true;
  EXPECT_FALSE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateNotOpen);
  EXPECT_EQ(fileText(engine.trace.fileName), "Start of blnCommSFormat:  2026-12-06 9:05:07\r\n");
}

TEST_F(LinkTest, StateMessages) {
  setUpFamily(2);
  modPublic.intSoundOn = 1;
  modPublic.strSoundPath = "/media/";
  modPublic.strSoundInformation = "info.wav";
  modPublic.strSoundAttention = "attn.wav";
  modPublic.strSoundWarning = "warn.wav";

  struct Case {
    int32_t state;
    const char* text;
    int style;
    const char* wave;
  };
  const Case cases[] = {
      {0, "Processing completion", 64, "/media/info.wav"},
      {3, "Reception error", 48, "/media/attn.wav"},
      {6, "Reception time-out\rPORT : 1 (/dev/pts/57)", 48, "/media/attn.wav"},  // the device it waited on
      {7, "Reception time-out\rPORT : 1 (/dev/pts/57)", 48, "/media/attn.wav"},
      {9, "It is a collation result of transferred data error", 48, "/media/attn.wav"},
      {10, "The communication port has not been opened", 48, "/media/attn.wav"},
      {11, "Processing was interrupted by the user", 48, "/media/attn.wav"},
      {12, "There is no edited data", 48, "/media/attn.wav"},
      {13, "They are other errors", 48, "/media/attn.wav"},
      {8, "Transmission and reception start time limit", 48, "/media/attn.wav"},
  };
  // Opened on one device, the map pointed elsewhere afterwards: a time-out
  // names the device that was waited on.
  setenv("VELMORA_COM1", "/dev/pts/57", 1);
  engine.strCommPort = "1";
  ASSERT_EQ(engine.subCommReopen(), kStateOk);
  setenv("VELMORA_COM1", "/dev/pts/58", 1);
  for (const Case& c : cases) {
    messages.boxes.clear();
    messages.waves.clear();
    engine.lngCommState = c.state;
    EXPECT_TRUE(engine.blnCommStateAnalyze());
    ASSERT_EQ(messages.boxes.size(), 1u) << c.state;
    EXPECT_EQ(messages.boxes[0].text, c.text);
    EXPECT_EQ(messages.boxes[0].style, c.style);
    EXPECT_EQ(messages.boxes[0].title, "blnCommStateAnalyze");
    EXPECT_EQ(messages.waves, std::vector<std::string>{c.wave});
    EXPECT_EQ(engine.lngCommState, c.state);
  }
  unsetenv("VELMORA_COM1");

  // Command-line mode: success only sounds; a failure carries the title.
  modPublic.strCmdFileName = "data.R3D";
  messages.boxes.clear();
  messages.waves.clear();
  engine.lngCommState = 0;
  engine.blnCommStateAnalyze();
  EXPECT_TRUE(messages.boxes.empty());
  EXPECT_EQ(messages.waves, std::vector<std::string>{"/media/info.wav"});
  engine.lngCommState = 9;
  engine.blnCommStateAnalyze();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].title, "velmora Progamming blnCommStateAnalyze");

  // Serial errors: by number, 10056 for any other, error icon, warning sound.
  const std::pair<int, const char*> errors[] = {
      {1001, "An interruption signal was received"}, {1004, "It is a frame error"},
      {1006, "It is overrunning in the port"},       {1008, "It is a reception buffer overflow"},
      {1009, "It is a parity error"},                {1010, "The transmission buffer is full"},
      {1011, "It is the error which isn't expected"}, {1005, "They are other errors"},
  };
  for (const auto& [number, text] : errors) {
    messages.boxes.clear();
    messages.waves.clear();
    EXPECT_TRUE(LinkEngine::blnCommErrAnalyze(number));
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text, text);
    EXPECT_EQ(messages.boxes[0].style, 16);
    EXPECT_EQ(messages.boxes[0].title, "blnCommErrAnalyze");
    EXPECT_EQ(messages.waves, std::vector<std::string>{"/media/warn.wav"});
  }
}

TEST_F(LinkTest, NoTraceLineGoesIntoAPipeAfterACloseOrPastAFullDisk) {
  // Opening a pipe for the trace waited for a reader for ever and held the
  // write up. A reader is kept open here so that cannot hang the test: what
  // counts is that nothing goes into the pipe and the write goes on.
  setUpFamily(2, 0);
  ASSERT_EQ(::mkfifo(engine.trace.fileName.c_str(), 0600), 0);
  const int reader = ::open(engine.trace.fileName.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  modPublic.intDebugLog = 1;
  engine.trace.clock = clockAt(1);
  modPublic.blnRadioWritten = true;
  EXPECT_FALSE(engine.blnCommCompFormat(3, 0x5A));  // nothing to send, as above
  char byte = 0;
  EXPECT_LE(::read(reader, &byte, 1), 0);
  ::close(reader);
  std::filesystem::remove(engine.trace.fileName);

  // Closed, the trace writes nothing more, not even into a file that took
  // its descriptor's number. A line the disk has no room for ends the trace:
  // it is not tried again, and nothing lands behind it once there is room.
  LinkTrace trace;
  trace.fileName = dir.file("trace.out");
  trace.open();
  ASSERT_TRUE(trace.active());
  trace.line("one");
  trace.close();
  const int other = ::open(dir.file("other").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(other, 0);
  trace.line("two");
  ::close(other);
  EXPECT_EQ(fileText(dir.file("other")), "");
  EXPECT_EQ(fileText(trace.fileName), "one\r\n");
  trace.open();
  {
    FileSizeLimit full(8);
    ASSERT_TRUE(full.ok());
    trace.line("three");
  }
  EXPECT_FALSE(trace.active());
  trace.line("four");
  EXPECT_EQ(fileText(trace.fileName), "one\r\nthr");
}

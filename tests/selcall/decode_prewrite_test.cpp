// The link's pre-write check reads the decode format as the decode page
// stores it: every encode format against every format the page can store.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/modpublic.h"
#include "link/prewrite.h"
#include "selcall/decode.h"
#include "support/testsupport.h"

TEST(DecodePreWrite, EveryRefusedEncodeAndDecodePair) {
  TempDir dir;
  freshModel(dir);
  RecordingMessages msgs;
  // (family, encode code, decode format) refused, with the message.
  const std::set<std::tuple<int, int, std::string>> wrong = {
      {0, 1, "3"}, {0, 3, "3"}, {0, 2, "0"}, {0, 4, "0"},  // 5-tone encode with DTMF decode and back
      {1, 0, "3"}, {1, 4, "3"}, {1, 2, "0"}, {1, 6, "0"},
      {2, 0, "3"}, {2, 2, "0"},
  };
  const std::set<std::tuple<int, int, std::string>> noEncode = {
      {0, 0, "0"}, {0, 0, "3"}, {1, 7, "0"}, {1, 7, "3"}, {2, 7, "0"}, {2, 7, "3"},
  };
  for (int family = 0; family <= 2; ++family) {
    modPublic.strRadioFamily = std::to_string(family);
    for (int encode = 0; encode < (family == 0 ? 16 : 8); ++encode)
      for (const std::string format : {"0", "3", "4", "7"}) {
        if (family == 0 && format == "4") continue;  // the portable has no All Call DTMF
        SCOPED_TRACE(std::to_string(family) + " encode " + std::to_string(encode) + " decode " + format);
        Image image(6888, 0x00);
        image[family == 0 ? 42 : 810] = static_cast<uint8_t>(0xA0 | encode);
        image[family == 0 ? 66 : 834] = 0xF8 | 0x05;  // a stored format the page must replace
        DecodeValues chosen = subGetDecodeData(image, family);
        chosen.strDecodeFormat = format;
        subPutDecodeData(image, family, chosen, DecodeEnables{}, DecodeValues{});
        modPublic.bytRadioData = image;
        msgs.boxes.clear();
        const auto key = std::make_tuple(family, encode, format);
        const bool refused = wrong.count(key) || noEncode.count(key);
        EXPECT_EQ(blnWriteCheck(), !refused);
        if (refused) {
          ASSERT_EQ(msgs.boxes.size(), 1u);
          EXPECT_EQ(msgs.boxes[0].text, wrong.count(key) ? "A wrong combination of Encode set and Decode set"
                                                         : "No Encode set !");
        } else {
          EXPECT_TRUE(msgs.boxes.empty());
        }
      }
  }
}

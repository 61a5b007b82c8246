// Channel names in the image: places and fill bytes per family, whole-name
// reading, writing only what changed, the name sets and the box moves.
#include <gtest/gtest.h>

#include "channel/names.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes field(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes at(const Bytes& image, int from) { return Bytes(image.begin() + from, image.begin() + from + 8); }

// Edits one name of a freshly decoded image and writes the page back.
Bytes written(Bytes image, int family, int index, const std::string& name) {
  const auto loaded = names::subSetIniData(image, family);
  auto edited = loaded;
  edited.at(static_cast<size_t>(index)) = name;
  names::subPutChannelNameData(image, family, edited, loaded);
  return image;
}
}  // namespace

TEST(ChannelNames, EachFamilyWritesItsPlacesWithItsFill) {
  struct Case {
    int family, index, offset;
    uint8_t fill;
  };
  // Channel 1 of the portable, both halves of the ZR320/330 area, the last base-station name.
  for (const Case c : {Case{0, 0, 784, 0x00}, Case{0, 254, 784 + 24 * 254, 0x00}, Case{1, 49, 792, 0xFF},
                       Case{1, 50, 1424, 0xFF}, Case{1, 99, 1816, 0xFF}, Case{2, 98, 1808, 0x00}}) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << " name " << c.index);
    Bytes image(6888, 0x55);
    image = written(image, c.family, c.index, "ABC");
    EXPECT_EQ(at(image, c.offset), field("ABC     "));
    image = written(image, c.family, c.index, "");
    EXPECT_EQ(at(image, c.offset), Bytes(8, c.fill));
    // Nothing beside the field moved.
    EXPECT_EQ(image[static_cast<size_t>(c.offset - 1)], 0x55);
    if (c.offset + 8 < 6888) {
      EXPECT_EQ(image[static_cast<size_t>(c.offset + 8)], 0x55);
    }
  }
  EXPECT_EQ(names::subSetIniData(Bytes(6888, 0), 0).size(), 255u);
  EXPECT_EQ(names::subSetIniData(Bytes(6888, 0), 1).size(), 100u);
  EXPECT_EQ(names::subSetIniData(Bytes(6888, 0), 2).size(), 99u);
}

TEST(ChannelNames, StoredNamesReadWholeAndUneditedOnesKeepTheirBytes) {
  Bytes image(6888, 0x00);
  const Bytes stored[] = {
      field("AB"),                                            // padded with 0x00 below
      {0xFF, 'J', 'U', 'N', 'K', 0x01, 0x02, 0x03},           // first byte FF: empty
      {'A', 'B', 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E},         // a character outside every set
      {'A', 0x00, 'B', ' ', ' ', 0xFF, 0xFF, 0xFF},           // 0x00 inside, mixed padding
      {'C', 'H', ' ', '1', 0xE9, ' ', ' ', ' '},              // an ANSI letter
  };
  for (int i = 0; i < 5; ++i) {
    Bytes f = stored[i];
    f.resize(8, 0x00);
    std::copy(f.begin(), f.end(), image.begin() + 1024 + 8 * i);
  }
  const auto decoded = names::subSetIniData(image, 2);
  EXPECT_EQ(decoded[0], "AB");
  EXPECT_EQ(decoded[1], "");
  EXPECT_EQ(decoded[2], "AB~~~~~~");
  EXPECT_EQ(decoded[3], "A\u2400B");  // the control byte shows as its symbol
  EXPECT_EQ(decoded[4], "CH 1\u00e9");
  EXPECT_EQ(names::foreignChannels(2, decoded), (std::vector<int>{3, 4, 5}));

  // Opening and closing the page writes nothing.
  Bytes after = image;
  names::subPutChannelNameData(after, 2, decoded, decoded);
  EXPECT_EQ(after, image);

  // An edited name with a stored control byte writes that byte back; only
  // that name changes.
  Bytes expected = image;
  const Bytes edited = {'A', 0x00, 'B', 'C', ' ', ' ', ' ', ' '};
  std::copy(edited.begin(), edited.end(), expected.begin() + 1048);
  EXPECT_EQ(written(image, 2, 3, "A\u2400BC"), expected);

  // A name longer than 8 characters is cut; a Latin-1 letter is one byte.
  uint8_t out[8];
  names::encodeName(out, "\u00e9ABCDEFGHIJ", 0);
  EXPECT_EQ(Bytes(out, out + 8), (Bytes{0xE9, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}));
}

TEST(ChannelNames, TypedAndPastedCharactersFollowTheFamilysSet) {
  EXPECT_EQ(names::typedChar(1, 'a'), 'A');
  EXPECT_EQ(names::typedChar(0, 'a'), 'a');
  EXPECT_EQ(names::typedChar(1, '/'), '/');
  EXPECT_EQ(names::typedChar(0, '/'), 0);
  EXPECT_EQ(names::typedChar(1, '.'), 0);
  EXPECT_EQ(names::typedChar(2, '\\'), '\\');
  EXPECT_EQ(names::typedChar(2, '~'), 0);
  EXPECT_EQ(names::typedChar(0, 0xE9), 0);
  EXPECT_EQ(names::nameSet(0).size(), 84u);
  EXPECT_EQ(names::nameSet(1).size(), 69u);
  EXPECT_EQ(names::enteredText(1, "ab-c"), "AB-C");
  EXPECT_EQ(names::enteredText(2, "ab-c"), "ab-c");

  // An edit may keep or drop what a stored name held, and add only set characters.
  EXPECT_FALSE(names::addsForeign(0, "AB~~", "AB~~C"));
  EXPECT_FALSE(names::addsForeign(0, "AB~~", "B~"));
  EXPECT_TRUE(names::addsForeign(0, "AB~", "AB~~"));
  EXPECT_TRUE(names::addsForeign(0, "AB", "AB\u00e9"));
  EXPECT_TRUE(names::addsForeign(1, "AB", "AB."));

  EXPECT_EQ(names::channelList({3, 7, 8, 9, 12, 13}), "3, 7-9, 12-13");
  EXPECT_EQ(names::channelList({255}), "255");
}

TEST(ChannelNames, BoxMovesFollowTheNavigationTable) {
  using M = names::BoxMove;
  auto move = [](int family, int page, int box, int key, int caret = 0, int length = 0) {
    const int last = names::nameCount(family) - 1;
    return names::boxMove({family, page, box, caret, length}, key, last);
  };
  auto is = [](const M& m, M::Kind kind, int box = 0, int page = 0) {
    return m.kind == kind && (kind == M::Default || kind == M::Stay || m.box == box) &&
           (kind != M::ShowPage || m.page == page);
  };
  enum { Enter = 13, Left = 37, Up = 38, Right = 39, Down = 40 };
  // Left: caret movement inside, the row above from the first column, a column left otherwise.
  EXPECT_TRUE(is(move(0, 0, 3, Left, 2, 4), M::Default));
  EXPECT_TRUE(is(move(0, 0, 0, Left), M::Default));
  EXPECT_TRUE(is(move(0, 0, 3, Left), M::Box, 42));
  EXPECT_TRUE(is(move(0, 5, 3, Left), M::Box, 2));  // page 6 shows only column 1
  EXPECT_TRUE(is(move(2, 1, 9, Left), M::Box, 48));
  EXPECT_TRUE(is(move(0, 0, 25, Left), M::Box, 15));
  // Right: a column right, the next row from the last column, nothing past the end.
  EXPECT_TRUE(is(move(0, 0, 5, Right, 1, 4), M::Default));
  EXPECT_TRUE(is(move(0, 0, 5, Right, 4, 4), M::Box, 15));
  EXPECT_TRUE(is(move(0, 0, 44, Right), M::Box, 5));
  EXPECT_TRUE(is(move(0, 5, 2, Right), M::Default));
  EXPECT_TRUE(is(move(2, 1, 39, Right), M::Default));
  EXPECT_TRUE(is(move(2, 1, 48, Right), M::Default));
  EXPECT_TRUE(is(move(0, 0, 49, Right), M::Default));
  // Up and Down, across columns and pages.
  EXPECT_TRUE(is(move(0, 0, 0, Up), M::Stay));
  EXPECT_TRUE(is(move(0, 2, 0, Up), M::ShowPage, 49, 1));
  EXPECT_TRUE(is(move(0, 0, 20, Up), M::Box, 19));
  EXPECT_TRUE(is(move(0, 0, 19, Down), M::Box, 20));
  EXPECT_TRUE(is(move(0, 5, 4, Down), M::Default));
  EXPECT_TRUE(is(move(0, 0, 48, Down), M::Box, 49));
  EXPECT_TRUE(is(move(1, 0, 49, Down), M::ShowPage, 0, 1));
  EXPECT_TRUE(is(move(1, 1, 49, Down), M::Stay));
  EXPECT_TRUE(is(move(2, 0, 48, Down), M::Box, 49));  // channel 50 is not skipped
  EXPECT_TRUE(is(move(2, 1, 48, Down), M::Stay));
  // Enter (and the eighth character): the next name, the next page, or stay at the last.
  EXPECT_TRUE(is(move(2, 0, 48, Enter), M::Box, 49));
  EXPECT_TRUE(is(move(2, 1, 48, Enter), M::Stay));
  EXPECT_TRUE(is(move(0, 4, 49, Enter), M::ShowPage, 0, 5));
  EXPECT_TRUE(is(move(0, 5, 4, Enter), M::Stay));
  EXPECT_TRUE(is(move(1, 0, 7, Enter), M::Box, 8));
}

#pragma once
// Shared set-up of the link tests: a family's image, the simulated radio on a
// virtual line, and an engine on that line.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/modpublic.h"
#include "fakeline.h"
#include "link/linkengine.h"
#include "simradio.h"
#include "support/testsupport.h"

// A byte pattern with no repeats over short stretches.
std::vector<uint8_t> pattern(size_t size, unsigned seed);

class LinkTest : public ::testing::Test {
 protected:
  // Image and baseline of the family, filled with `imageByte`; a radio whose
  // memory is pattern(seed) on the far end of the line.
  void setUpFamily(int family, uint8_t imageByte = 0x5A, unsigned seed = 1);
  // Bytes the program sent, from index `from` on.
  std::vector<uint8_t> sentFrom(size_t from) const;

  TempDir dir;
  RecordingMessages messages;
  std::unique_ptr<sim::Radio> radio;
  FakeLine line;
  radiolink::LinkEngine engine{line, line};
};

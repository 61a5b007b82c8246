// The help file, and the wait the start-up speed check relies on.
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/gui/helpviewer.h"
#include "platform/gui/waits.h"
#include "startup_fixture.h"

using HelpFile = StartupRoad;

TEST_F(HelpFile, ShippedFileHasATopicForEveryPageSoFar) {
  const std::string path = help::locate("evelmora.hlp");
  ASSERT_FALSE(path.empty());
  for (const char* keyword : {"StartUp Menu", "Configuration Menu", "Main Menu"}) {
    std::string text;
    ASSERT_TRUE(help::topicText(path, keyword, text)) << keyword;
    EXPECT_GT(text.size(), 200u) << keyword;
    EXPECT_EQ(text.find('['), std::string::npos) << keyword;  // one topic only
  }
  std::string text;
  EXPECT_FALSE(help::topicText(path, "No Such Topic", text));
}

TEST_F(HelpFile, TopicsAreCutAtTheNextKeywordAndMissingFilesAreIgnored) {
  app::setPath(dir.str());
  std::ofstream(dir.file("guide.hlp")) << "# comment\r\n[A]\r\nfirst line\r\n  second\r\n\r\n[B]\r\nother\r\n";
  const std::string path = help::locate("guide.hlp");
  EXPECT_EQ(path, dir.file("guide.hlp"));
  std::string text;
  ASSERT_TRUE(help::topicText(path, "A", text));
  EXPECT_EQ(text, "first line\n  second");
  ASSERT_TRUE(help::topicText(path, "B", text));
  EXPECT_EQ(text, "other");
  EXPECT_EQ(help::locate("missing.hlp"), "");
  EXPECT_FALSE(help::showTopic("missing.hlp", "A"));
  EXPECT_FALSE(help::showTopic("guide.hlp", "C"));
  EXPECT_TRUE(help::showTopic("guide.hlp", "B"));
}

TEST(Waits, AWaitHandlesWhatArrivesAndEndsByItsGuard) {
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  vbui::waitForEvents(1000);
  EXPECT_TRUE(fired);
  vbui::waitForEvents(1);  // nothing else pending: the guard ends the wait
}

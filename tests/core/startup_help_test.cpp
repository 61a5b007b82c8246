// The help file and the pauses the pages rely on.
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

TEST(Pauses, KeepTheEventLoopRunning) {
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  vbui::pauseMs(5);
  EXPECT_TRUE(fired);
  bool again = false;
  QTimer::singleShot(0, [&] { again = true; });
  vbui::pauseMs(0);
  EXPECT_TRUE(again);
}

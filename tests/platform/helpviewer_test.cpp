// The help viewer shows the help file's lines as their author wrapped them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <fstream>

#include "platform/base/appinfo.h"
#include "platform/gui/helpviewer.h"
#include "support/testsupport.h"

TEST(HelpViewer, HardWrappedLinesAreNeverWrappedAgainAndFitTheWindow) {
  TempDir dir;
  app::setPath(dir.str());
  delete help::viewer();  // a fresh viewer sizes itself for this file
  // Lines of about 100 characters, longer than an ordinary window's width
  // holds in any usual font.
  const std::string line = "Program Write sends the changed words of the image to the radio and checks each echo it gets back.";
  std::ofstream(dir.file("guide.hlp")) << "[Prose]\r\n" << line << "\r\n" << line << "\r\n\r\nlast\r\n"
                                       << "[Table]\r\n  /R<model>   " << line << "\r\n";
  for (const char* topic : {"Prose", "Table"}) {
    SCOPED_TRACE(topic);
    ASSERT_TRUE(help::showTopic("guide.hlp", topic));
    QDialog* v = help::viewer();
    ASSERT_NE(v, nullptr);
    auto* browser = v->findChild<QTextBrowser*>("helpText");
    ASSERT_NE(browser, nullptr);
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    (void)browser->document()->size();  // laid out at the browser's width
    int blocks = 0;
    for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next(), ++blocks)
      EXPECT_EQ(b.layout()->lineCount(), 1) << b.text().toStdString();
    EXPECT_EQ(blocks, std::string(topic) == "Prose" ? 4 : 1);
    // The window shows every line whole, unless it already takes the
    // screen's whole width (then it scrolls rather than wrap).
    const int room = v->screen()->availableGeometry().width();
    if (v->width() < room) {
      EXPECT_EQ(browser->horizontalScrollBar()->maximum(), 0);
    }
  }
  delete help::viewer();
  app::setPath(std::string());
}

TEST(HelpViewer, TablesAreSetInAFaceWhoseCharactersAdvanceAlike) {
  const QFont table = help::tableFont();
  const QFontMetricsF m(table);
  for (QChar c : QStringLiteral("i W.m<|-"))
    EXPECT_DOUBLE_EQ(m.horizontalAdvance(c), m.horizontalAdvance(QLatin1Char('0'))) << QString(c).toStdString();
  EXPECT_DOUBLE_EQ(table.pointSizeF(), QFont().pointSizeF());  // the size of the ordinary text
  // The family the build installs comes first where it is present (the
  // system's own fixed font may be one Qt does not know as fixed-pitch).
  if (QFontDatabase::hasFamily("DejaVu Sans Mono")) {
    EXPECT_EQ(QFontInfo(table).family(), "DejaVu Sans Mono");
  }
}

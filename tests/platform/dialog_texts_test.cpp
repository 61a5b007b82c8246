// Running in Japanese, the file dialogs and message-box buttons Qt draws
// itself are Japanese too (from the system's Qt translations).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/gui/qtmessages.h"

TEST(PlatformDialogTexts, FollowTheProgramsLanguage) {
  ASSERT_TRUE(installPlatformDialogTexts("ja")) << "Qt's translations are missing (Debian: qt6-translations-l10n)";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
  ASSERT_TRUE(installPlatformDialogTexts("en"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

// Without a screen no one answers a box: a question whose safe answer is its
// second button (a delete of the radio) gets that one, the others their first.
TEST(PlatformMessages, WithoutAScreenAQuestionGetsItsSafeAnswer) {
  const QString platform = QGuiApplication::platformName();
  if (platform != "offscreen" && platform != "minimal") GTEST_SKIP() << "needs a run without a screen";
  QtMessageService boxes;
  EXPECT_EQ(boxes.msgBox("Erase?", vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2, "t"), vb::vbNo);
  EXPECT_EQ(boxes.msgBox("Erase?", vb::vbOKCancel | vb::vbQuestion | vb::vbDefaultButton2, "t"), vb::vbCancel);
  EXPECT_EQ(boxes.msgBox("End?", vb::vbYesNo | vb::vbQuestion, "t"), vb::vbYes);
  EXPECT_EQ(boxes.msgBox("End?", vb::vbOKCancel | vb::vbQuestion, "t"), vb::vbOK);
}

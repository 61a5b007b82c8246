// Running in Japanese, the file dialogs and message-box buttons Qt draws
// itself are Japanese too (from the system's Qt translations).
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/gui/qtmessages.h"

TEST(PlatformDialogTexts, FollowTheProgramsLanguage) {
  ASSERT_TRUE(installPlatformDialogTexts("ja")) << "Qt's translations are missing (Debian: qt6-translations-l10n)";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
  ASSERT_TRUE(installPlatformDialogTexts("en"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

#include "core/pages/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <string>

#include "core/settingkeys.h"
#include "platform/base/vbtext.h"
#include "platform/gui/vbui.h"

int placeTop(int stored, int screenHeight, int windowHeight) {
  if (screenHeight < windowHeight) return 0;
  if (stored < -199) return (screenHeight - windowHeight) / 2;
  // A place stored on a larger screen must not leave the window's lower
  // part (its buttons) below this one.
  return std::min(std::min(stored, 7000), screenHeight - windowHeight);
}

int placeLeft(int stored, int screenWidth, int windowWidth, bool noNegative) {
  if (screenWidth < windowWidth) return 0;
  if (stored < -4999) return (screenWidth - windowWidth) / 2;
  if (noNegative && stored < 0) return 0;
  return std::min(std::min(stored, 9000), screenWidth - windowWidth);
}

void placeFromSettings(Page& page, const SettingKey& topKey, const SettingKey& leftKey, bool noNegativeLeft) {
  QScreen* screen = page.screen() ? page.screen() : QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const int screenH = vbui::pixelsToTwips(area.height());
  const int screenW = vbui::pixelsToTwips(area.width());
  const QSize frame = page.outerSizeToShow();
  const int winH = vbui::pixelsToTwips(frame.height());
  const int winW = vbui::pixelsToTwips(frame.width());
  const int top = placeTop(vb::CInt(vb::Val(readSetting(topKey))), screenH, winH);
  const int left = placeLeft(vb::CInt(vb::Val(readSetting(leftKey))), screenW,
                             winW, noNegativeLeft);
  page.Move(left, top);
}

void savePosition(const Page& page, const SettingKey& topKey, const SettingKey& leftKey) {
  saveSetting(topKey, std::to_string(page.Top()));
  saveSetting(leftKey, std::to_string(page.Left()));
}

#pragma once
// Common set-up of the start-up road's tests: a fresh run with a scripted
// message service, a fast calibration clock, no serial ports and no pages
// plugged into the main menu.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/controldata.h"
#include "core/modpublic.h"
#include "core/pages/frmconfiguration.h"
#include "core/pages/frmstartup.h"
#include "platform/base/appinfo.h"
#include "support/testsupport.h"

class StartupRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    program::resetEnded();
    program::setArguments({});
    program::unregisterMainMenuPages();
    FrmStartUp::setCalibrationTickMs(1);
    FrmConfiguration::setPortProbe([](int) { return false; });
    // A modal page loads and unloads at once unless a test drives it.
    Page::setModalHook([](Page&) {});
  }
  void TearDown() override {
    Page::setModalHook(nullptr);
    FrmConfiguration::setPortProbe(nullptr);
    program::unregisterMainMenuPages();
    app::setPath(std::string());
    // Pages that handed over delete themselves later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // A family set up as the start-up page's Next leaves it, control data read.
  void family(const std::string& f) {
    ASSERT_TRUE(blnGetControlData());
    ASSERT_TRUE(setUpFamily(f));
    modPublic.blnNoCmdRadio = true;
    modPublic.intCmdRadio = -1;
  }

  template <class T>
  static T* front() {
    return dynamic_cast<T*>(Page::front());
  }

  std::vector<uint8_t>& image() { return modPublic.bytRadioData; }
  void put(int at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) modPublic.bytRadioData.at(static_cast<size_t>(at++)) = b;
  }
  std::vector<uint8_t> bytes(int from, int count) const {
    return {modPublic.bytRadioData.begin() + from, modPublic.bytRadioData.begin() + from + count};
  }

  TempDir dir;
  RecordingMessages msgs;
};

#pragma once
// The link page: reads, writes and erases the radio's memory over the serial
// port. Its click handler is the driver of every radio operation.
#include <array>
#include <memory>
#include <string>

#include "link/linkengine.h"
#include "platform/gui/vbui.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace radiolink {
struct QtLink;
}

class FrmProgramming : public Page {
  Q_OBJECT
 public:
  // The page owns the real port; tests hand in their own port and waiter.
  explicit FrmProgramming(QWidget* parent = nullptr);
  FrmProgramming(radiolink::SerialPort& port, radiolink::LinkWaiter& waiter, QWidget* parent = nullptr);
  ~FrmProgramming() override;

  std::array<QPushButton*, 3> comReadWrite{};
  QPushButton* comExit = nullptr;
  QLabel* labTitle = nullptr;
  QProgressBar* prbProcessRate = nullptr;
  std::array<QLabel*, 2> labRate{};

  void comReadWrite_Click(int index);
  void comExit_Click();
  void mnuHelp_Click();
  void subBusyState();
  void subIdleState();
  bool busy() const { return busyMark == "1"; }

  radiolink::LinkEngine& engine() { return *link; }
  int32_t& lngCommState() { return link->lngCommState; }

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void build();
  bool familyOneType(uint8_t& command, bool write) const;
  bool programRead();  // false: refused before any exchange
  bool programWrite(bool compulsion);  // false: stopped by a check
  bool programDelete();
  void restoreKillStatus(int family, const std::array<uint8_t, 3>& before);
  void writeOutcome(int family, bool ok, const std::array<uint8_t, 3>& before);
  void commandLineWrite();

  std::unique_ptr<radiolink::QtLink> ownLink;
  std::unique_ptr<radiolink::LinkEngine> link;
  std::string busyMark = "0";  // the exit button's tag: "1" while an operation runs
  bool closeWhenIdle = false;
  bool writes = false;  // the operation under way writes into the radio
};

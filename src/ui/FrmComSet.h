#pragma once
// The serial port dialog: the machine's serial ports, refreshed every second while the dialog
// is open, so that an adapter plugged in or pulled out appears or disappears. The list can also
// take a device path typed by hand (a pseudo-terminal of the radio simulator). OK stores the
// choice in the setup key "comPort".
#include <QDialog>
#include <string>

class QComboBox;
class QTimer;

namespace kvx {

struct Workspace;
class PortEnumerator;

class FrmComSet : public QDialog {
  Q_OBJECT
 public:
  FrmComSet(Workspace& ws, PortEnumerator& ports, QWidget* parent = nullptr);
  // Rebuilds the list; the user's choice stays chosen while it is listed, else the first
  // entry. The timer calls it every 1000 ms.
  void RefreshPorts();

 private:
  void Fill(const std::string& wanted);
  void OnOk();

  Workspace& ws_;
  PortEnumerator& ports_;
  QComboBox* Combo1_ = nullptr;
  QTimer* Timer1_ = nullptr;
};

}  // namespace kvx

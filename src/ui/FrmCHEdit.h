#pragma once
// The channel edit dialog: every user-editable field of one channel, Previous and Next to walk
// the channel numbers, and the store that creates, updates or deletes the channel (CALL and
// VFO can never be emptied). Each store happens on a zero-time timer after the button's click
// has finished, redraws the channel's row through `reshowRow` and brings the scan and alert
// channel references back onto existing channels.
#include <QDialog>
#include <array>
#include <functional>

#include "core/image/Channels.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kvx {

struct Workspace;
class Prompts;

class FrmCHEdit : public QDialog {
  Q_OBJECT
 public:
  // Opens on ws.app.CurrentEditChannel.
  FrmCHEdit(Workspace& ws, Prompts& prompts, std::function<void(int)> reshowRow,
            QWidget* parent = nullptr);

  // Called with the channel number once a store has finished (the row redrawn and the scan and
  // alert references repaired).
  void SetAfterStore(std::function<void(int)> afterStore) { afterStore_ = std::move(afterStore); }

  // The channel number shown.
  int Channel() const { return n_; }
  // The copy the controls were filled from.
  const ChannelRecord& EditBuffer() const { return buffer_; }

  // Store the controls into the existing record / a new record of number `n`.
  void ModifyUFreData(int n);
  void AddNewUFreData(int n);

 private:
  enum class Pending { None, Close, Previous, Next };

  void BuildControls();
  void Localize();
  void LoadChannel();
  void SetFieldsEnabled(bool on);
  void ApplyRxRule();
  void RebuildSquelch();
  void OnSignallingChosen();
  void OnToneTypeChosen(int setting);
  void StartStore(Pending action);
  void Timerok_Timer();
  void FillRecord(ChannelRecord& r);
  void RepairScanAndAlertRefs();

  Workspace& ws_;
  Prompts& prompts_;
  std::function<void(int)> reshowRow_;
  std::function<void(int)> afterStore_;
  int n_ = 1;
  ChannelRecord buffer_;
  Pending pending_ = Pending::None;
  bool loading_ = false;

  // Controls, named as the channel fields' dialog names them.
  QLineEdit* Text1_0 = nullptr;            // receive frequency
  QLineEdit* Text1_1 = nullptr;            // offset
  QLineEdit* Text1_10 = nullptr;           // transmit frequency
  std::array<QLineEdit*, 7> nameBoxes_{};  // Text1_2 ... Text1_8
  QComboBox* Combo2 = nullptr;             // shift
  QLineEdit* Text2 = nullptr;              // PTT-ID code
  std::array<QComboBox*, 14> Combo1{};     // Combo1_0 ... Combo1_13 (3 and 11 hidden)
  std::array<QComboBox*, 4> Combo3{};      // CTCSS A, CTCSS B, DCS A, DCS B
  std::array<QComboBox*, 3> Combo4{};      // DTMF M1-M16, two-tone, five-tone
  std::array<QCheckBox*, 2> Check2{};      // DCS inverted A, B
  std::array<QCheckBox*, 2> Check4{};      // reverse, talkaround
  QCheckBox* Check1 = nullptr;             // transmit inhibit
  QCheckBox* Check3 = nullptr;             // PTT ID flag, never shown
  QCheckBox* Check5 = nullptr;             // compander
  QCheckBox* Check6 = nullptr;             // scan skip
  QCheckBox* Check7 = nullptr;             // PTT-ID decode
  QPushButton* Command1 = nullptr;         // previous
  QPushButton* Command2 = nullptr;         // next
  QPushButton* CommandOK = nullptr;
  QPushButton* CommandCancel = nullptr;
  QTimer* Timerok = nullptr;
  std::array<QLabel*, 4> Label1{};
  std::array<QLabel*, 14> Label2{};
  QLabel* Label3 = nullptr;
};

}  // namespace kvx

#pragma once
// The bulk edit of the channel list: for the selected channels, each field with its check box
// ticked is set on all of them (power, bandwidth, step, tone settings A and B, scan skip,
// signalling with its code, busy lock, squelch mode); the others keep each channel's value.
// The lists offer what the channel edit dialog offers for the current band and features.
//
// Controls: "chkStep"/"cboStep", "chkBandwidth"/"cboBandwidth", "chkPower"/"cboPower",
// "chkToneA" with "cboToneAType", "cboToneACtcss", "cboToneADcs", "chkToneAInverted" (B alike),
// "chkScanSkip"/"cboScanSkip", "chkSignalling" with "cboSignalling", "cboSignallingCode",
// "chkBusyLock"/"cboBusyLock", "chkSquelch"/"cboSquelch", "lblInfo", "CommandOK",
// "CommandCancel".
#include <QDialog>
#include <array>

#include "core/edit/ChannelRows.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kvx {

struct Workspace;

class DlgBulkEdit : public QDialog {
  Q_OBJECT
 public:
  // `channels`: how many channels the edit applies to (shown in the dialog).
  DlgBulkEdit(const Workspace& ws, int channels, QWidget* parent = nullptr);

  // The ticked fields as chosen.
  BulkEdit Edit() const;

 private:
  struct ToneControls {
    QCheckBox* use = nullptr;
    QComboBox* type = nullptr;
    QComboBox* ctcss = nullptr;
    QComboBox* dcs = nullptr;
    QCheckBox* inverted = nullptr;
  };
  void FillSignallingCodes();
  void UpdateEnabled();

  const Workspace& ws_;
  QLabel* lblInfo_ = nullptr;
  QCheckBox *chkStep_ = nullptr, *chkBandwidth_ = nullptr, *chkPower_ = nullptr,
            *chkScanSkip_ = nullptr, *chkSignalling_ = nullptr, *chkBusyLock_ = nullptr,
            *chkSquelch_ = nullptr;
  QComboBox *cboStep_ = nullptr, *cboBandwidth_ = nullptr, *cboPower_ = nullptr,
            *cboScanSkip_ = nullptr, *cboSignalling_ = nullptr, *cboSignallingCode_ = nullptr,
            *cboBusyLock_ = nullptr, *cboSquelch_ = nullptr;
  std::array<ToneControls, 2> tone_{};
};

}  // namespace kvx

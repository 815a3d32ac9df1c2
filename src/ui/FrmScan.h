#pragma once
// The scan dialog: scan mode, priority channels, revert channel, scan-back times and resume
// delays. Works on a copy of the scan record and stores it on OK.
#include <QDialog>
#include <array>
#include <vector>

#include "core/image/Scan.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kvx {

struct AppState;
struct ChannelList;
class LanguageTable;

class FrmScan : public QDialog {
  Q_OBJECT
 public:
  FrmScan(ScanSettings& scan, const ChannelList& channels, const AppState& app,
          const LanguageTable& lang, QWidget* parent = nullptr);

  // Refills the visible revert list for the priority mode the list shows, and enables the
  // priority-channel lists that mode uses.
  void InitRevertList();

  // Index in the revert table of the revert list's current entry (-1 when it shows nothing).
  int ShownRevertIndex() const;
  const ScanSettings& Working() const { return work_; }

 private:
  void ApplyEnableRules();
  void OnPriorityModeChosen();
  void OnOk();

  ScanSettings& scan_;
  const AppState& app_;
  const LanguageTable& lang_;
  ScanSettings work_;
  bool kv520_ = false;

  QComboBox* scanMode_ = nullptr;
  QComboBox* priorityMode_ = nullptr;
  QComboBox* priorityChannel1_ = nullptr;
  QComboBox* priorityChannel2_ = nullptr;
  QComboBox* group1_ = nullptr;
  QComboBox* group2_ = nullptr;
  QComboBox* revert_ = nullptr;
  QComboBox* revertTable_ = nullptr;
  QComboBox* backTimeA_ = nullptr;
  QComboBox* backTimeB_ = nullptr;
  QComboBox* rxResume_ = nullptr;
  QComboBox* txResume_ = nullptr;
  QComboBox* scanType_ = nullptr;
  QComboBox* waitTime_ = nullptr;
  QCheckBox* entryTone_ = nullptr;

  std::array<QString, 8> revertTexts_;
  std::vector<int> revertShown_;     // revert-table index of each visible entry
  std::vector<int> channelNumbers_;  // channel Number of each priority-channel entry
};

}  // namespace kvx

#pragma once
// The alert dialog: emergency alarm and lone worker. Works on a copy of the alert record and
// stores it on OK.
#include <QDialog>
#include <vector>

#include "core/image/Alert.h"

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace kvx {

struct AppState;
struct ChannelList;
struct DtmfSettings;
struct FiveToneSettings;
class LanguageTable;

class FrmAlert : public QDialog {
  Q_OBJECT
 public:
  // The DTMF code memories and the five-tone decode codes feed the identification-code list.
  FrmAlert(AlertSettings& alert, const ChannelList& channels, const DtmfSettings& dtmf,
           const FiveToneSettings& fiveTone, const AppState& app, const LanguageTable& lang,
           QWidget* parent = nullptr);

  const AlertSettings& Working() const { return work_; }

 private:
  void BuildIdCodeList(int type, bool showStored);
  void ApplyEnableRules();
  void OnOk();

  AlertSettings& alert_;
  const DtmfSettings& dtmf_;
  const FiveToneSettings& fiveTone_;
  const LanguageTable& lang_;
  AlertSettings work_;

  QComboBox* emergencyMode_ = nullptr;
  QComboBox* idCodeType_ = nullptr;
  QComboBox* idCode_ = nullptr;
  QComboBox* alarmTime_ = nullptr;
  QComboBox* txTime_ = nullptr;
  QComboBox* rxTime_ = nullptr;
  QComboBox* channelSelect_ = nullptr;
  QComboBox* channelGroup_ = nullptr;
  QComboBox* emergencyChannel_ = nullptr;
  QComboBox* cycle_ = nullptr;
  QGroupBox* loneWorkerFrame_ = nullptr;
  QCheckBox* loneWorker_ = nullptr;
  QComboBox* preAlertTime_ = nullptr;
  QComboBox* loneWorkerTime_ = nullptr;

  std::vector<int> idCodeValues_;    // IdCode stored for each identification-code entry
  std::vector<int> channelNumbers_;  // channel Number of each emergency-channel entry
};

}  // namespace kvx

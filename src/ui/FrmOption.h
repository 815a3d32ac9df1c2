#pragma once
// The optional-features dialog: the list options, switches, broadcast-receiver group, BLE group,
// power-on password and power-on message. Works on a copy of the options record and stores it
// on OK; the BLE lists are the exception and write the live bytes at once.
#include <QDialog>
#include <array>
#include <vector>

#include "core/image/Options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kvx {

struct AppState;
struct ChannelList;
struct SettingsRecord;
class LanguageTable;

class FrmOption : public QDialog {
  Q_OBJECT
 public:
  // Edits settings.Options, Switch4-6 and Ble; reads the live channel list and the FM and AM
  // lists for the choosers. After Accepted the caller rebuilds the main window's tree.
  FrmOption(SettingsRecord& settings, const ChannelList& channels, const AppState& app,
            const LanguageTable& lang, QWidget* parent = nullptr);

  // 1 shows the power-on password label and box; anything else hides both.
  void EnablePassWord(int value);

  // The list with the given number (0-18, 24-38), as the controls "Combo1_<n>".
  QComboBox* List(int n) const;
  // The working copy (what OK would store).
  const OptionSettings& Working() const { return work_; }

 private:
  void BuildControls();
  void Localize();
  void FillLists();
  void ShowValues();
  void ApplyList0Dependency(int entry, bool fromUser);
  void OnListChosen(int n, int index);
  void OnOk();

  SettingsRecord& settings_;
  const ChannelList& channels_;
  const AppState& app_;
  const LanguageTable& lang_;
  OptionSettings work_;
  bool kv520_ = false;
  bool loading_ = true;

  std::array<QComboBox*, 39> lists_{};
  std::array<QLabel*, 39> listLabels_{};
  std::array<QCheckBox*, 7> switches_{};
  QCheckBox* passwordCheck_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordBox_ = nullptr;
  QLabel* messageLabel_ = nullptr;
  std::array<QLineEdit*, 7> messageBoxes_{};

  // Stored value of each entry of the channel chooser and the work-channel choosers.
  std::vector<int> channelValues_, fmValues_, amValues_;
};

}  // namespace kvx

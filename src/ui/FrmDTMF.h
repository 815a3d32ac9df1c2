#pragma once
// The DTMF window: code memories M1-M16, the PTT ID begin and end codes, the remote kill and
// stun codes, the own ID and the encoder and decoder settings. Works on a copy of the DTMF
// settings and stores it on OK. Its Special button opens the special-code window
// (FrmDTMFSpecial), which writes into the code box last focused.
#include <QDialog>
#include <array>

#include "core/image/Dtmf.h"
#include "ui/FormHelpers.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kvx {

class LanguageTable;
class Prompts;

class FrmDTMF : public QDialog {
  Q_OBJECT
 public:
  // Code boxes: 0-15 the memories, then these.
  static constexpr int kPttIdBeginBox = 16;
  static constexpr int kPttIdEndBox = 17;
  static constexpr int kKillBox = 18;
  static constexpr int kStunBox = 19;
  static constexpr int kCodeBoxes = 20;

  FrmDTMF(DtmfSettings& dtmf, const LanguageTable& lang, Prompts& prompts,
          QWidget* parent = nullptr);

  // How the special-code window is run (null: exec()); tests drive it through this.
  DialogRunner specialRunner;

  // What the special-code window uses.
  int CurDTMFEditID() const { return curDTMFEditID_; }
  QLineEdit* CodeBox(int index) const;
  QLineEdit* OwnIdBox() const { return ownId_; }
  QString SeparatorText() const;

  const DtmfSettings& Working() const { return work_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowSettings();
  void SaveSettings();
  void OwnIdLeft();
  void SeparatorChosen();
  void OnOk();
  void OnSpecial();

  DtmfSettings& dtmf_;
  const LanguageTable& lang_;
  Prompts& prompts_;
  DtmfSettings work_;
  int curDTMFEditID_ = 0;
  bool saving_ = false;

  std::array<QLineEdit*, kCodeBoxes> codes_{};
  QLineEdit* ownId_ = nullptr;
  QComboBox* ani_ = nullptr;
  QComboBox* sendTime_ = nullptr;
  QComboBox* pttIdMode_ = nullptr;
  QComboBox* separator_ = nullptr;
  QComboBox* groupCode_ = nullptr;
  QComboBox* decodeResponse_ = nullptr;
  QComboBox* firstDigitDelay_ = nullptr;
  QComboBox* preSendDelay_ = nullptr;
  QComboBox* resetTime_ = nullptr;
  QComboBox* postSendDelay_ = nullptr;
  QComboBox* pauseTime_ = nullptr;
  QCheckBox* sidetone_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace kvx

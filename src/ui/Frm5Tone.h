#pragma once
// The five-tone window: the own five-tone ID and encode settings, the eight information codes,
// the PTT ID begin and end codes and the 100 decode codes in a grid with four floating cell
// editors. Keeps every code in the repeat-tone form, recognises and maintains the special
// codes that carry the own ID, refuses information codes with which a kill or stun could not
// be undone, and on OK stores its copy of the settings and re-points the channels' and the
// alert's references to decode codes (the caller redraws the channel list).
//
// Its Special buttons open FrmSpecial, which writes straight into this window's controls and
// working copy.
#include <QDialog>
#include <QString>
#include <array>

#include "core/files/SettingsRecord.h"
#include "ui/FormHelpers.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace kvx {

struct ChannelList;
class LanguageTable;
class Prompts;

class Frm5Tone : public QDialog {
  Q_OBJECT
 public:
  // Grid columns.
  static constexpr int kColNumber = 0;
  static constexpr int kColType = 1;
  static constexpr int kColDigits = 2;
  static constexpr int kColStandard = 3;
  static constexpr int kColPeriod = 4;
  static constexpr int kColName = 5;

  // Where the special-call window writes: the grid's decode code, PttIdBegin, PttIdEnd.
  static constexpr int kTargetDecodeCode = 0;
  static constexpr int kTargetPttIdBegin = 1;
  static constexpr int kTargetPttIdEnd = 2;

  Frm5Tone(SettingsRecord& settings, ChannelList& channels, const LanguageTable& lang,
           Prompts& prompts, QWidget* parent = nullptr);
  ~Frm5Tone() override;

  // Information code `id` (1-8) from the information-code controls.
  void SaveInfoCode(int id);
  // The information code at the selector's position into the controls.
  void ShowInfoCode();
  static QString Mid5ToneNoE(const QString& text, int start, int count);
  // The kill/stun/wake-up check of the information codes, with its messages.
  bool IsInfoKillStunWakenOK();

  // Opens the cell editor of decode code `code` (0-99), grid column `column` (kColType ...
  // kColName), as a click on the cell does.
  void EnterCell(int code, int column);

  // How the special-call window is run (null: exec()); tests drive it through this.
  DialogRunner specialRunner;

  // What the special-call window uses and writes.
  int SpecialCallTarget = kTargetDecodeCode;
  SettingsRecord& Working() { return work_; }
  QTableWidget* Grid() const { return grid_; }
  QLineEdit* OwnIdBox() const { return ownId_; }
  QLineEdit* PttIdBox(int target) const;
  // The decode code of the grid's current row; -1 when no row is current.
  int CurrentCode() const;
  const LanguageTable& Lang() const { return lang_; }
  Prompts& PromptsOf() { return prompts_; }

  // The open cell editors (tests).
  QLineEdit* DigitsEditor() const { return digitsEditor_; }
  QComboBox* StandardEditor() const { return standardEditor_; }
  QComboBox* PeriodEditor() const { return periodEditor_; }
  QLineEdit* NameEditor() const { return nameEditor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  void ShowFiveTone();
  void SaveFiveTone();
  void ApplyOwnIdChange();
  void UpdateCodesForNewId();
  void CommitGridCell(int row, int col);
  void ShowStandardInfo(const QString& name);
  void SelectInfoCode(int id);
  void FunctionChosen();
  void HideEditors();
  void CloseEditors();
  void MoveToCell(int code, int column);
  void ResetSpecialCode(int code);
  void OpenSpecial(int target);
  void OnOk();

  SettingsRecord& settings_;
  ChannelList& channels_;
  const LanguageTable& lang_;
  Prompts& prompts_;
  SettingsRecord work_;
  bool loaded_ = false;
  bool editorOpen_ = false;  // the editor of (CurTone5Row, CurTone5Col) is open
  bool placing_ = false;     // an editor is being placed (its scrolling closes nothing)
  int CurTone5Row = 0;       // grid row (1-100, code + 1) of the open editor; 0 none
  int CurTone5Col = 0;       // 2-5
  int CurInfoCodeID = 0;
  QString PreviousOwnId;

  QLineEdit* ownId_ = nullptr;
  QComboBox* standard_ = nullptr;
  QComboBox* decodeResponse_ = nullptr;
  QComboBox* tonePeriod_ = nullptr;
  QComboBox* delay1_ = nullptr;
  QComboBox* seconds_ = nullptr;
  QComboBox* delay2_ = nullptr;
  QComboBox* number_ = nullptr;
  QComboBox* firstDigitDelay_ = nullptr;
  QComboBox* pauseTime_ = nullptr;
  QComboBox* pauseCode_ = nullptr;
  QComboBox* decodeTime_ = nullptr;
  QCheckBox* sidetone_ = nullptr;
  QPlainTextEdit* standardInfo_ = nullptr;

  QComboBox* infoSelect_ = nullptr;
  QGroupBox* infoFrame_ = nullptr;
  QComboBox* infoFunction_ = nullptr;
  QComboBox* infoResponse_ = nullptr;
  QLineEdit* infoDigits_ = nullptr;
  QLineEdit* infoName_ = nullptr;

  struct PttArea {
    QGroupBox* frame = nullptr;
    QLineEdit* code = nullptr;
    QComboBox* standard = nullptr;
    QComboBox* period = nullptr;
    QPushButton* special = nullptr;
  };
  std::array<PttArea, 2> ptt_{};  // begin, end

  QTableWidget* grid_ = nullptr;
  QLineEdit* digitsEditor_ = nullptr;
  QComboBox* standardEditor_ = nullptr;
  QComboBox* periodEditor_ = nullptr;
  QLineEdit* nameEditor_ = nullptr;
  QPushButton* gridSpecial_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace kvx

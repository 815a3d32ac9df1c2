#pragma once
// The two-tone window: the encode settings (call format, tones A-D, timing) on one page and
// the 32 decode entries in a grid on the other, edited in a floating box over the cell. Works
// on a copy of the settings; OK stores it and re-points the channels' two-tone and five-tone
// references (the caller redraws the channel list).
#include <QDialog>
#include <array>

#include "core/files/SettingsRecord.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;
class QTabWidget;

namespace kvx {

struct ChannelList;
class LanguageTable;

class Frm2Tone : public QDialog {
  Q_OBJECT
 public:
  Frm2Tone(SettingsRecord& settings, ChannelList& channels, const LanguageTable& lang,
           QWidget* parent = nullptr);

  const SettingsRecord& Working() const { return work_; }
  QTableWidget* Grid() const { return grid_; }
  QLineEdit* NumberBox() const { return numberBox_; }
  QLineEdit* NameBox() const { return nameBox_; }

  // Opens the floating editor over decode entry `entry` (0-31), grid column `column` (1-3),
  // committing the cell being edited first; column 2 or 3 of an empty row goes to column 1.
  void EnterCell(int entry, int column);
  // Commits the cell being edited, if any (done on entering another cell and on OK).
  void CommitCell();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowEncodeSettings();
  void ShowEntry(int entry);
  void ApplyToneRule();
  void LimitToneBox(int tone);
  void OnOk();
  void MoveOnFromEditor();
  QLineEdit* ToneBoxOf(char tone) const;

  SettingsRecord& settings_;
  ChannelList& channels_;
  SettingsRecord work_;
  bool loaded_ = false;
  int editEntry_ = -1;  // entry whose cell the editor is over; -1 when none is open
  int editColumn_ = 0;

  QTabWidget* tabs_ = nullptr;
  QComboBox* time1_ = nullptr;
  QComboBox* time2_ = nullptr;
  QComboBox* time3_ = nullptr;
  QComboBox* time4_ = nullptr;
  QComboBox* time5_ = nullptr;
  QComboBox* callFormat_ = nullptr;
  QComboBox* decodeResponse_ = nullptr;
  QCheckBox* sidetone_ = nullptr;
  std::array<QLineEdit*, 4> tones_{};  // A, B, C, D
  QTableWidget* grid_ = nullptr;
  QLineEdit* numberBox_ = nullptr;
  QLineEdit* nameBox_ = nullptr;
};

}  // namespace kvx

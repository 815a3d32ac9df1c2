#pragma once
// Go to channel: the channel is named by its row label as the list shows it ("0" ... "199",
// "PA", "PB", "CALL", "VFO"). OK with a label the list does not show says so and stays open.
//
// Controls: "txtChannel", "CommandOK", "CommandCancel".
#include <QDialog>

class QLineEdit;

namespace kvx {

class ChannelGridModel;
class LanguageTable;
class Prompts;

class DlgGoTo : public QDialog {
  Q_OBJECT
 public:
  DlgGoTo(const LanguageTable& lang, const ChannelGridModel& model, Prompts& prompts,
          QWidget* parent = nullptr);

  // The channel number chosen (1-204), 0 before OK.
  int Row() const { return row_; }

 private:
  void OnOk();

  const LanguageTable& lang_;
  const ChannelGridModel& model_;
  Prompts& prompts_;
  QLineEdit* txtChannel_ = nullptr;
  int row_ = 0;
};

}  // namespace kvx

#pragma once
// The progress window of a read or write: the transfer's title, "Completion percentage:"
// beside the percentage text, and a bar from 0 to 100. Modal while it is shown; the link
// closes it.
#include <QDialog>
#include <string_view>

class QLabel;
class QProgressBar;

namespace kvx {

class LanguageTable;

class FrmProgress : public QDialog {
  Q_OBJECT
 public:
  FrmProgress(const LanguageTable& lang, std::string_view title, QWidget* parent = nullptr);
  // The bar and the text ("37%"). Values outside 0-100 are refused (false); the link then
  // shows "SetProgressValueError" and goes on.
  bool SetProgressValue(int percent);
  int Value() const;
  QString PercentText() const;

 signals:
  // The user closed the window (Escape or the title bar): the driver cancels the link.
  void cancelRequested();

 protected:
  void reject() override;

 private:
  QLabel* Label1_ = nullptr;
  QLabel* Label2_ = nullptr;
  QProgressBar* ProgressBar1_ = nullptr;
  bool closingByLink_ = false;

 public:
  // The link's close: no cancel request.
  void CloseByLink();
};

}  // namespace kvx

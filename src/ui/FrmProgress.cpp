#include "ui/FrmProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

FrmProgress::FrmProgress(const LanguageTable& lang, std::string_view title, QWidget* parent)
    : QDialog(parent) {
  setObjectName("FrmProgress");
  setWindowTitle(Q(title));
  setWindowModality(Qt::ApplicationModal);
  Label1_ = RightLabel("Label1", this);
  Label1_->setText(Q(lang.BuiltIn().ProgressLabel));
  Label2_ = new QLabel("0%", this);
  Label2_->setObjectName("Label2");
  Label2_->setMinimumWidth(Label2_->fontMetrics().horizontalAdvance("100%") + 4);
  ProgressBar1_ = new QProgressBar(this);
  ProgressBar1_->setObjectName("ProgressBar1");
  ProgressBar1_->setRange(0, 100);
  ProgressBar1_->setValue(0);
  ProgressBar1_->setTextVisible(false);

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(Label1_);
  row->addSpacing(6);
  row->addWidget(Label2_);
  row->addStretch(1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(row);
  outer->addWidget(ProgressBar1_);
  ApplyLanguageToForm(this, lang);
  setMinimumWidth(380);
}

bool FrmProgress::SetProgressValue(int percent) {
  if (percent < 0 || percent > 100) return false;
  ProgressBar1_->setValue(percent);
  Label2_->setText(QString::number(percent) + "%");
  return true;
}

int FrmProgress::Value() const {
  return ProgressBar1_->value();
}

QString FrmProgress::PercentText() const {
  return Label2_->text();
}

void FrmProgress::CloseByLink() {
  closingByLink_ = true;
  done(QDialog::Accepted);
}

void FrmProgress::reject() {
  // Escape asks the link to stop; the link closes the window when it has ended.
  if (!closingByLink_) {
    emit cancelRequested();
    return;
  }
  QDialog::reject();
}

}  // namespace kvx

#include "ui/DlgCsvImport.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ExtraTexts.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

DlgCsvImport::DlgCsvImport(const LanguageTable& lang, ChannelList& channels, const AppState& app,
                           std::string csv, QWidget* parent)
    : QDialog(parent), lang_(lang), channels_(channels), app_(app), csv_(std::move(csv)) {
  setObjectName("DlgCsvImport");
  const ExtraTexts& t = ExtraTextsOf(lang);
  setWindowTitle(QString::fromUtf8(t.importTitle));

  LabelSummary_ = new QLabel(this);
  LabelSummary_->setObjectName("LabelSummary");
  LabelSummary_->setWordWrap(true);
  ListNotes_ = new QListWidget(this);
  ListNotes_->setObjectName("ListNotes");
  CheckReplace_ = new QCheckBox(QString::fromUtf8(t.importReplace), this);
  CheckReplace_->setObjectName("CheckReplace");
  connect(CheckReplace_, &QCheckBox::toggled, this, [this] { Recompute(); });

  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelSummary_);
  layout->addWidget(ListNotes_, 1);
  layout->addWidget(CheckReplace_);
  layout->addLayout(buttons);
  ApplyLanguageToForm(this, lang);
  LocalizeOkCancel(this, lang);
  resize(640, 380);
  Recompute();
}

void DlgCsvImport::accept() {
  if (result_->ok) channels_ = result_->channels;
  QDialog::accept();
}

void DlgCsvImport::Recompute() {
  CsvImportOptions options;
  options.replace = CheckReplace_->isChecked();
  result_ = std::make_unique<CsvImportResult>(ImportChannelCsv(csv_, channels_, app_, options));
  const ExtraTexts& t = ExtraTextsOf(lang_);
  LabelSummary_->setText(QString::fromUtf8(t.importSummary)
                             .arg(result_->imported)
                             .arg(result_->corrected)
                             .arg(result_->refused));
  ListNotes_->clear();
  for (const CsvRowNote& note : result_->notes) {
    auto* item = new QListWidgetItem(Q(FormatCsvNote(note)), ListNotes_);
    if (note.refused) item->setForeground(QColor(155, 0, 0));
  }
}

}  // namespace kvx

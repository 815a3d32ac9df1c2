#include "ui/DlgCompare.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/ExtraTexts.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

DlgCompare::DlgCompare(const LanguageTable& lang, const QString& title, const QString& leftHeading,
                       const QString& rightHeading, const std::vector<FieldDifference>& differences,
                       QWidget* parent)
    : QDialog(parent) {
  setObjectName("DlgCompare");
  const ExtraTexts& t = ExtraTextsOf(lang);
  setWindowTitle(title);

  LabelSummary_ = new QLabel(this);
  LabelSummary_->setObjectName("LabelSummary");
  LabelSummary_->setText(QString::fromUtf8(t.differences).arg(differences.size()));

  ListDifferences_ = new QTreeWidget(this);
  ListDifferences_->setObjectName("ListDifferences");
  ListDifferences_->setRootIsDecorated(false);
  ListDifferences_->setAlternatingRowColors(true);
  ListDifferences_->setUniformRowHeights(true);
  ListDifferences_->setHeaderLabels({QString::fromUtf8(t.columnArea),
                                     QString::fromUtf8(t.columnNumber),
                                     QString::fromUtf8(t.columnField), leftHeading, rightHeading});
  QList<QTreeWidgetItem*> rows;
  rows.reserve(static_cast<qsizetype>(differences.size()));
  for (const FieldDifference& d : differences) {
    rows << new QTreeWidgetItem(QStringList{
        Q(d.area), d.number ? QString::number(d.number) : QString(), Q(d.field), Q(d.a), Q(d.b)});
  }
  ListDifferences_->addTopLevelItems(rows);
  for (int c = 0; c < 5; ++c) ListDifferences_->resizeColumnToContents(c);

  auto* close = new QPushButton(QString::fromUtf8(t.close), this);
  close->setObjectName("CommandClose");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelSummary_);
  layout->addWidget(ListDifferences_, 1);
  layout->addLayout(buttons);
  ApplyLanguageToForm(this, lang);
  resize(760, 440);
}

}  // namespace kvx

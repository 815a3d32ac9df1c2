#include "ui/DlgGoTo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "ui/ChannelGridModel.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

DlgGoTo::DlgGoTo(const LanguageTable& lang, const ChannelGridModel& model, Prompts& prompts,
                 QWidget* parent)
    : QDialog(parent), lang_(lang), model_(model), prompts_(prompts) {
  setObjectName("DlgGoTo");
  setWindowTitle(Q(lang.GetLangText(1088)));
  auto* label = new QLabel(Q(lang.GetLangText(1089)), this);
  label->setObjectName("lblChannel");
  txtChannel_ = new QLineEdit(this);
  txtChannel_->setObjectName("txtChannel");
  txtChannel_->setMaxLength(8);
  label->setBuddy(txtChannel_);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(txtChannel_, 1);

  QPushButton *ok, *cancel;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  connect(ok, &QPushButton::clicked, this, &DlgGoTo::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(row);
  outer->addLayout(buttons);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  txtChannel_->setFocus();
}

void DlgGoTo::OnOk() {
  const int row = model_.RowOfLabel(txtChannel_->text());
  if (row == 0) {
    prompts_.Message(U8(Q(lang_.GetLangText(1090)).arg(txtChannel_->text().trimmed())),
                     Icon::Warning, Buttons::Ok);
    txtChannel_->setFocus();
    txtChannel_->selectAll();
    return;
  }
  row_ = row;
  accept();
}

}  // namespace kvx

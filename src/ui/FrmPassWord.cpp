#include "ui/FrmPassWord.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

FrmPassWord::FrmPassWord(const LanguageTable& lang, const std::string& current, QWidget* parent)
    : QDialog(parent) {
  setObjectName("FrmPassWord");
  setWindowTitle(Q(lang.GetLangText(3100)));
  auto* label = RightLabel("Label1", this);
  label->setText(Q(lang.GetLangText(3101)));
  Text1_ = new QLineEdit(this);
  Text1_->setObjectName("Text1");
  Text1_->setEchoMode(QLineEdit::Password);
  Text1_->setMaxLength(4);
  Text1_->setText(QL1(current));
  InstallTextBoxFilter(Text1_);

  auto* grid = new QGridLayout;
  grid->addWidget(label, 0, 0);
  grid->addWidget(Text1_, 0, 1);
  grid->setColumnStretch(1, 1);
  QPushButton *ok, *cancel;
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  setMinimumWidth(280);
}

std::string FrmPassWord::Password() const {
  return CleanText(L1(Text1_->text()));
}

}  // namespace kvx

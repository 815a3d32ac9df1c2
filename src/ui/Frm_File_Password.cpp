#include "ui/Frm_File_Password.h"

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

namespace {
QChar PasswordCharacter(QChar c) {
  if (c >= u'a' && c <= u'z') return c.toUpper();
  if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return c;
  return {};
}
}  // namespace

Frm_File_Password::Frm_File_Password(const LanguageTable& lang, const std::string& caption,
                                     const std::string& current, QWidget* parent)
    : QDialog(parent) {
  setObjectName("Frm_File_Password");
  const BuiltInTexts& t = lang.BuiltIn();
  setWindowTitle(caption.empty() ? Q(t.FilePasswordSetTitle) : Q(caption));
  auto* label = RightLabel("Label1", this);
  label->setText(Q(t.FilePasswordTitle));
  Text1_ = new QLineEdit(this);
  Text1_->setObjectName("Text1");
  Text1_->setMaxLength(10);
  Text1_->setText(QL1(current));
  InstallTextBoxFilter(Text1_, {PasswordCharacter, false});

  auto* grid = new QGridLayout;
  grid->addWidget(label, 0, 0);
  grid->addWidget(Text1_, 0, 1);
  grid->setColumnStretch(1, 1);
  QPushButton *ok, *cancel;
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, [this] {
    cancelled_ = false;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  setMinimumWidth(300);
}

std::string Frm_File_Password::Password() const {
  return CleanText(L1(Text1_->text()));
}

}  // namespace kvx

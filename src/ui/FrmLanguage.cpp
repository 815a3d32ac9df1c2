#include "ui/FrmLanguage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/Startup.h"
#include "core/files/Workspace.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

FrmLanguage::FrmLanguage(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("FrmLanguage");
  const LanguageTable& lang = ws.lang;
  setWindowTitle(Q(lang.GetLangText(1503)));
  auto* label = RightLabel("Label1", this);
  label->setText(Q(lang.GetLangText(1503)));
  Combo1_ = new QComboBox(this);
  Combo1_->setObjectName("Combo1");
  Combo1_->addItem(Q(lang.GetLangText(1501)));
  Combo1_->addItem(Q(lang.GetLangText(1502)));
  SetIndexOrFirst(Combo1_, ws.app.LanguageIndex - 1);

  auto* grid = new QGridLayout;
  grid->addWidget(label, 0, 0);
  grid->addWidget(Combo1_, 0, 1);
  grid->setColumnStretch(1, 1);
  QPushButton *ok, *cancel;
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, [this] {
    const int16_t index = static_cast<int16_t>(Combo1_->currentIndex() + 1);
    changed_ = index != ws_.app.LanguageIndex;
    SetLanguage(ws_.app, ws_.lang, index == kLanguageChinese ? kLanguageChinese : kLanguageEnglish);
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  InstallEnterMovesFocus(this);
  setMinimumWidth(260);
}

}  // namespace kvx

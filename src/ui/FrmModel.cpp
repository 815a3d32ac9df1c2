#include "ui/FrmModel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/BandTable.h"
#include "core/files/Workspace.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

FrmModel::FrmModel(Workspace& ws, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ws_(ws), prompts_(prompts) {
  setObjectName("FrmModel");
  const LanguageTable& lang = ws.lang;
  setWindowTitle(Q(lang.GetLangText(2300)));
  auto* label1 = RightLabel("Label1", this);
  label1->setText(Q(lang.GetLangText(2301)));
  auto* label2 = RightLabel("Label2", this);
  label2->setText(Q(lang.GetLangText(2302)));
  ComboModel_ = new QComboBox(this);
  ComboModel_->setObjectName("ComboModel");
  ComboBand_ = new QComboBox(this);
  ComboBand_->setObjectName("ComboBand");
  ComboBand_->setSizeAdjustPolicy(QComboBox::AdjustToContents);

  // Three models: the group of code 16 has no entry of its own.
  for (std::string_view m : {"KV-510_WQN7", "KV-530", "KV-540"}) ComboModel_->addItem(Q(m));
  const QString shown = Q(DisplayModelName(ws.app.RadioType, ws.app.BandCode));
  const int modelIndex = ComboModel_->findText(shown);
  ComboModel_->setCurrentIndex(modelIndex >= 0 ? modelIndex : 0);
  FillBands(shown);
  connect(ComboModel_, &QComboBox::activated, this,
          [this](int) { FillBands(ComboModel_->currentText()); });

  auto* grid = new QGridLayout;
  grid->addWidget(label1, 0, 0);
  grid->addWidget(ComboModel_, 0, 1);
  grid->addWidget(label2, 1, 0);
  grid->addWidget(ComboBand_, 1, 1);
  grid->setColumnStretch(1, 1);
  QPushButton *ok, *cancel;
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmModel::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  InstallEnterMovesFocus(this);
}

void FrmModel::FillBands(const QString& model) {
  ComboBand_->clear();
  for (int16_t code : BandCodesOfModel(U8(model))) ComboBand_->addItem(Q(BandTextOfCode(code)));
  const int i = ComboBand_->findText(Q(ws_.app.BandText));
  SetIndexOrFirst(ComboBand_, i);
}

void FrmModel::OnOk() {
  const std::string chosen = U8(ComboBand_->currentText());
  if (chosen.empty() || chosen == ws_.app.BandText) {
    accept();
    return;
  }
  const BuiltInTexts& t = ws_.lang.BuiltIn();
  if (prompts_.Message(t.FrequencyDataCleared, Icon::Warning, Buttons::OkCancel, t.WarningTitle) ==
      Answer::Ok) {
    SetBandText(ws_.app, chosen);
    ResetWorkingData(ws_);
    changed_ = true;
  }
  accept();
}

}  // namespace kvx

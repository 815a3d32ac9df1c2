#include "ui/FrmComSet.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/Ports.h"
#include "core/app/SetupFile.h"
#include "core/files/Workspace.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

FrmComSet::FrmComSet(Workspace& ws, PortEnumerator& ports, QWidget* parent)
    : QDialog(parent), ws_(ws), ports_(ports) {
  setObjectName("FrmComSet");
  const LanguageTable& lang = ws.lang;
  setWindowTitle(Q(lang.GetLangText(1401)));
  auto* label = RightLabel("Label1", this);
  label->setText(Q(lang.GetLangText(1402)));
  Combo1_ = new QComboBox(this);
  Combo1_->setObjectName("Combo1");
  Combo1_->setEditable(true);
  Combo1_->setInsertPolicy(QComboBox::NoInsert);
  Combo1_->setMinimumContentsLength(18);
  if (Combo1_->lineEdit()) {
    InstallTextBoxFilter(Combo1_->lineEdit());
    SuppressTextMenu(Combo1_->lineEdit());
  }
  Fill(ws.app.ComPort);

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName("Timer1");
  Timer1_->setInterval(1000);
  connect(Timer1_, &QTimer::timeout, this, &FrmComSet::RefreshPorts);
  Timer1_->start();

  auto* grid = new QGridLayout;
  grid->addWidget(label, 0, 0);
  grid->addWidget(Combo1_, 0, 1);
  grid->setColumnStretch(1, 1);
  QPushButton *ok, *cancel;
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmComSet::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);
  InstallEnterMovesFocus(this);
}

void FrmComSet::Fill(const std::string& wanted) {
  Combo1_->blockSignals(true);
  Combo1_->clear();
  for (const PortInfo& p : ports_.List()) {
    Combo1_->addItem(Q(p.name));
    if (!p.description.empty())
      Combo1_->setItemData(Combo1_->count() - 1, Q(p.description), Qt::ToolTipRole);
  }
  int index = Combo1_->findText(Q(wanted));
  // A device path the system does not enumerate (a pseudo-terminal) stays offered.
  if (index < 0 && !wanted.empty() && wanted.front() == '/') {
    Combo1_->addItem(Q(wanted));
    index = Combo1_->count() - 1;
  }
  if (Combo1_->count() == 0)
    Combo1_->setCurrentIndex(-1);
  else
    Combo1_->setCurrentIndex(index >= 0 ? index : 0);
  Combo1_->blockSignals(false);
}

void FrmComSet::RefreshPorts() {
  // Keep a path being typed: refreshing would throw it away.
  if (Combo1_->lineEdit() && Combo1_->lineEdit()->hasFocus() &&
      Combo1_->findText(Combo1_->currentText()) < 0)
    return;
  Fill(U8(Combo1_->currentText()));
}

void FrmComSet::OnOk() {
  Timer1_->stop();
  const std::string chosen = Trim(U8(Combo1_->currentText()));
  if (chosen.empty()) {
    ws_.app.ComPort.clear();
  } else {
    ws_.app.ComPort = chosen;
    WriteSetupValue(ws_.app, "comPort", chosen);
  }
  accept();
}

}  // namespace kvx

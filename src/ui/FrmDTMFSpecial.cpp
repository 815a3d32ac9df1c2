#include "ui/FrmDTMFSpecial.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/FrmDTMF.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/SignallingCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kTypeAni = 0;

QString CompletedCode(QString code) {
  while (code.size() < 3) code += QLatin1Char('0');
  return code;
}

}  // namespace

FrmDTMFSpecial::FrmDTMFSpecial(FrmDTMF& dtmf, const LanguageTable& lang, QWidget* parent)
    : QDialog(parent), dtmf_(dtmf) {
  setObjectName("FrmDTMFSpecial");
  setWindowTitle(QStringLiteral("DTMF Special Call"));

  type_ = NewList(this, "ComboType");
  auto* typeLabel = RightLabel("LabelType", this);
  typeLabel->setText(Q(lang.GetLangKeyText("OPTION", "60064")));
  typeLabel->setBuddy(type_);

  aniArea_ = new QGroupBox(this);
  aniArea_->setObjectName("FrameAni");
  aniArea_->setTitle(QStringLiteral("ANI"));
  code_ = new QLineEdit(aniArea_);
  code_->setObjectName("TextCode");
  code_->setMaxLength(3);
  InstallTextBoxFilter(code_, DigitsOnly());
  code_->installEventFilter(this);
  auto* codeLabel = RightLabel("LabelCode", aniArea_);
  codeLabel->setText(Q(lang.GetLangKeyText("OPTION", "60076")));
  codeLabel->setBuddy(code_);
  auto* aniGrid = new QGridLayout(aniArea_);
  aniGrid->addWidget(codeLabel, 0, 0);
  aniGrid->addWidget(code_, 0, 1);
  aniGrid->setColumnStretch(1, 1);

  auto* top = new QGridLayout;
  top->addWidget(typeLabel, 0, 0);
  top->addWidget(type_, 0, 1);
  top->setColumnStretch(1, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(aniArea_);
  outer->addStretch(1);
  QPushButton *ok = nullptr, *cancel = nullptr;
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmDTMFSpecial::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, lang);
  ApplyLanguageToForm(this, lang);

  FillList(type_, {QStringLiteral("ANI"), QStringLiteral("PTTID")}, kTypeAni);
  code_->setText(QStringLiteral("000"));
  connect(type_, &QComboBox::currentIndexChanged, this,
          [this](int type) { aniArea_->setVisible(type == kTypeAni); });
  InstallEnterMovesFocus(this);
  SuppressTextMenus(this);
  setMinimumWidth(260);
}

void FrmDTMFSpecial::CompleteCode() {
  const QString code = CompletedCode(code_->text());
  if (code != code_->text()) code_->setText(code);
}

void FrmDTMFSpecial::OnOk() {
  CompleteCode();  // OK by its shortcut does not take the focus from the box
  const QString tail = dtmf_.SeparatorText() + dtmf_.OwnIdBox()->text();
  const QString code = type_->currentIndex() == kTypeAni ? code_->text() + tail : tail;
  if (QLineEdit* box = dtmf_.CodeBox(dtmf_.CurDTMFEditID())) box->setText(code);
  accept();
}

bool FrmDTMFSpecial::eventFilter(QObject* watched, QEvent* event) {
  if (watched == code_ && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) CompleteCode();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx

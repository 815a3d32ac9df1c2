#include "ui/FrmSpecial.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/image/FiveToneForms.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "ui/FormHelpers.h"
#include "ui/Frm5Tone.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/SignallingCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kTypeMessage = 0;
constexpr int kTypeAni = 1;
constexpr int kTypePttId = 2;
constexpr int kIdLength = 5;
constexpr int kMessageLength = 16;
constexpr int kSeparatorBase = 10;  // "A"

QLineEdit* NewBox(QWidget* parent, const char* name, int maxLength, TextBoxRules rules) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMaxLength(maxLength);
  InstallTextBoxFilter(box, std::move(rules));
  return box;
}

}  // namespace

FrmSpecial::FrmSpecial(Frm5Tone& fiveTone, QWidget* parent)
    : QDialog(parent), five_(fiveTone), target_(fiveTone.SpecialCallTarget) {
  setObjectName("FrmSpecial");
  const LanguageTable& L = five_.Lang();
  setWindowTitle(Q(L.GetLangKeyText("OPTION", "60062")));

  codeNumber_ = NewList(this, "ComboCodeNumber");
  auto* codeLabel = RightLabel("LabelCodeNumber", this);
  codeLabel->setBuddy(codeNumber_);
  if (target_ == Frm5Tone::kTargetPttIdBegin)
    codeLabel->setText(Q(L.GetLangKeyText("OPTION", "60302")));
  else if (target_ == Frm5Tone::kTargetPttIdEnd)
    codeLabel->setText(Q(L.GetLangKeyText("OPTION", "60303")));
  else
    codeLabel->setText(Q(L.GetLangKeyText("OPTION", "60063")));
  type_ = NewList(this, "ComboType");
  auto* typeLabel = RightLabel("LabelType", this);
  typeLabel->setText(Q(L.GetLangKeyText("OPTION", "60064")));
  typeLabel->setBuddy(type_);

  messageArea_ = new QGroupBox(this);
  messageArea_->setObjectName("FrameMessage");
  messageArea_->setTitle(Q(L.GetLangKeyText("OPTION", "60073")));
  messageId_ = NewBox(messageArea_, "TextMessageId", kIdLength, IdCharacters());
  message_ = NewBox(messageArea_, "TextMessage", kMessageLength, MessageCharacters());
  auto* messageIdLabel = RightLabel("LabelMessageId", messageArea_);
  messageIdLabel->setText(Q(L.GetLangKeyText("OPTION", "60076")));
  messageIdLabel->setBuddy(messageId_);
  auto* messageLabel = RightLabel("LabelMessage", messageArea_);
  messageLabel->setText(Q(L.GetLangKeyText("OPTION", "60077")));
  messageLabel->setBuddy(message_);
  auto* mg = new QGridLayout(messageArea_);
  mg->addWidget(messageIdLabel, 0, 0);
  mg->addWidget(messageId_, 0, 1);
  mg->addWidget(messageLabel, 1, 0);
  mg->addWidget(message_, 1, 1);
  mg->setColumnStretch(1, 1);

  aniArea_ = new QGroupBox(this);
  aniArea_->setObjectName("FrameAni");
  aniId_ = NewBox(aniArea_, "TextAniId", kIdLength, IdCharacters());
  separator_ = NewList(aniArea_, "ComboSeparator");
  auto* aniIdLabel = RightLabel("LabelAniId", aniArea_);
  aniIdLabel->setText(Q(L.GetLangKeyText("OPTION", "60076")));
  aniIdLabel->setBuddy(aniId_);
  auto* separatorLabel = RightLabel("LabelSeparator", aniArea_);
  separatorLabel->setText(Q(L.GetLangKeyText("OPTION", "60313")));
  separatorLabel->setBuddy(separator_);
  auto* ag = new QGridLayout(aniArea_);
  ag->addWidget(aniIdLabel, 0, 0);
  ag->addWidget(aniId_, 0, 1);
  ag->addWidget(separatorLabel, 1, 0);
  ag->addWidget(separator_, 1, 1);
  ag->setColumnStretch(1, 1);

  auto* top = new QGridLayout;
  top->setHorizontalSpacing(7);
  top->addWidget(codeLabel, 0, 0);
  top->addWidget(codeNumber_, 0, 1);
  top->addWidget(typeLabel, 1, 0);
  top->addWidget(type_, 1, 1);
  top->setColumnStretch(1, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(messageArea_);
  outer->addWidget(aniArea_);
  outer->addStretch(1);
  outer->addLayout(OkCancelRow(this, &ok_, &cancel_));
  ok_->setText(Q(L.GetLangKeyText("OPTION", "60024")));
  cancel_->setText(Q(L.GetLangKeyText("OPTION", "60025")));
  cancel_->setFocusPolicy(Qt::NoFocus);  // leaving an ID box for Cancel asks nothing
  connect(ok_, &QPushButton::clicked, this, &FrmSpecial::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  ApplyLanguageToForm(this, L);

  FillList(codeNumber_, NumberTexts(0, kFiveToneCodes - 1), std::max(five_.CurrentCode(), 0));
  codeNumber_->setVisible(target_ == Frm5Tone::kTargetDecodeCode);
  FillList(type_, {Q(L.GetLangKeyText("OPTION", "60073")), QStringLiteral("ANI"),
                   QStringLiteral("PTTID")});
  FillList(separator_, {Q(L.GetLangKeyText("OPTION", "60318")), "A", "B", "C", "D", "E", "F"});
  connect(type_, &QComboBox::activated, this, [this] { TypeChosen(); });
  TypeChosen();
  for (QLineEdit* box : {messageId_, aniId_}) box->installEventFilter(this);
  InstallEnterMovesFocus(this);
  SuppressTextMenus(this);
  setMinimumWidth(300);
}

void FrmSpecial::PresetSeparator() {
  const int value = five_.Working().FiveTone.SpecialCall;
  SetListText(separator_, QString::number(value, 16).toUpper());
  if (value < kSeparatorBase) separator_->setCurrentIndex(0);  // "0" ... "9" are no letters
}

void FrmSpecial::TypeChosen() {
  messageArea_->hide();
  aniArea_->hide();
  PresetSeparator();
  const int type = type_->currentIndex();
  if (type == kTypeMessage) {
    messageArea_->show();
  } else if (type == kTypeAni) {
    aniArea_->setTitle(type_->currentText());
    aniArea_->show();
  }
}

bool FrmSpecial::IdComplete(QLineEdit* box) {
  return box->text().size() >= kIdLength;
}

void FrmSpecial::OnOk() {
  const LanguageTable& L = five_.Lang();
  Prompts& prompts = five_.PromptsOf();
  FiveToneSettings& f = five_.Working().FiveTone;
  const int sepIndex = separator_->currentIndex();
  f.SpecialCall = static_cast<int16_t>(sepIndex > 0 ? kSeparatorBase + sepIndex - 1 : 0);
  const QString sep = sepIndex > 0 ? separator_->currentText() : QString();
  const QString ownId = five_.OwnIdBox()->text();
  const QString selfId = QL1(kSelfIdPlaceholder);
  QLineEdit* pttBox = five_.PttIdBox(target_);
  const int n = codeNumber_->currentIndex();
  QTableWidget* grid = five_.Grid();
  const int type = type_->currentIndex();

  QString c;  // a code for the decode code, composed but not yet repeat-encoded
  QString m;  // a message code
  if (type == kTypeAni) {
    if (!IdComplete(aniId_)) {
      prompts.Message(L.GetLangKeyText("MSG", "900C"), Icon::Warning, Buttons::Ok);
      aniId_->setFocus();
      return;
    }
    if (pttBox) {
      pttBox->setText(aniId_->text() + sep + ownId);
    } else {
      c = aniId_->text() + sep + selfId;
      grid->item(n, Frm5Tone::kColDigits)->setText(aniId_->text() + sep);
    }
  } else if (type == kTypePttId) {
    if (pttBox) {
      pttBox->setText("E6" + ownId);
    } else {
      c = "E6" + selfId;
      grid->item(n, Frm5Tone::kColDigits)->setText({});
    }
  } else {
    if (!IdComplete(messageId_)) {
      prompts.Message(L.GetLangKeyText("MSG", "900C"), Icon::Warning, Buttons::Ok);
      messageId_->setFocus();
      return;
    }
    // A PTT ID code holds 24 digits: "E1", the ID, "E" and two digits per character.
    if (pttBox && message_->text().size() > kPttIdMessageLimit) {
      prompts.Message(L.GetLangKeyText("OPTION", "60319"), Icon::Warning, Buttons::Ok);
      message_->setFocus();
      return;
    }
    m = QL1(ComposeMessageCode(L1(messageId_->text()), L1(message_->text())));
    if (pttBox) {
      pttBox->setText(m);
    } else {
      grid->item(n, Frm5Tone::kColDigits)
          ->setText(messageId_->text() + " " + Q(L.GetLangKeyText("OPTION", "60084")) +
                    message_->text());
    }
  }

  if (pttBox) {
    pttBox->setText(QL1(EncodeCodeDigits(L1(pttBox->text()), L1(ownId))));
    accept();
    return;
  }
  FiveToneCode& code = f.Codes[static_cast<size_t>(n)];
  if (type == kTypeMessage) {
    code.Digits = EncodeRepeats(L1(m));
    code.Length = static_cast<uint8_t>(m.size());
  } else {
    code.Digits = EncodeCodeDigits(L1(c), L1(ownId));
    code.Length = static_cast<uint8_t>(c.size());
  }
  code.Empty = 0;
  grid->item(n, Frm5Tone::kColType)->setText(type_->currentText());
  accept();
}

bool FrmSpecial::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == messageId_ || watched == aniId_) && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = QApplication::focusWidget();
    // OK checks the ID itself; Cancel needs no check.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && next != ok_ &&
        next != cancel_ && !IdComplete(static_cast<QLineEdit*>(watched)))
      five_.PromptsOf().Message(five_.Lang().GetLangKeyText("MSG", "900C"), Icon::Warning,
                                Buttons::Ok);
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx

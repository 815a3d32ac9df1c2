#include "ui/FrmDTMF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"
#include "core/util/Text.h"
#include "ui/FrmDTMFSpecial.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/SignallingCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kSeparatorBase = 10;  // "A"
constexpr int kGroupCodeBase = 9;   // entry 0 is off, entry 1 "A"
const QStringList kDtmfLetters = {"A", "B", "C", "D", "*", "#"};

// The own ID as shown and encoded: digits completed with "0" to three, else "000".
QString CompletedOwnId(const std::string& clean) {
  bool digits = !clean.empty();
  for (char c : clean)
    if (c < '0' || c > '9') digits = false;
  QString id = digits ? QString::fromLatin1(clean.data(), static_cast<qsizetype>(clean.size()))
                      : QStringLiteral("000");
  while (id.size() < 3) id += QLatin1Char('0');
  return id.left(3);
}

template <size_t N>
QString ShownCode(const DtmfCode<N>& code) {
  return QL1(DtmfToDisplay(CleanText(code.Valid())));
}

template <size_t N>
void SaveCode(DtmfCode<N>& code, const QLineEdit* box) {
  const std::string text = L1(box->text());
  code.Length = static_cast<int16_t>(text.size());
  code.Text = DtmfToStored(text);
}

}  // namespace

FrmDTMF::FrmDTMF(DtmfSettings& dtmf, const LanguageTable& lang, Prompts& prompts, QWidget* parent)
    : QDialog(parent), dtmf_(dtmf), lang_(lang), prompts_(prompts), work_(dtmf) {
  setObjectName("FrmDTMF");
  setWindowTitle(QStringLiteral("DTMF"));
  const LanguageTable& L = lang_;

  // The encode frame: the sixteen memories, the PTT ID codes, kill and stun.
  auto* encode = new QGroupBox(this);
  encode->setObjectName("FrameEncode");
  encode->setTitle(Q(L.GetLangText(1602)));
  auto* hint = new QLabel(encode);
  hint->setObjectName("LabelInputHint");
  hint->setText(Q(L.GetLangText(1603)));
  auto* codeGrid = new QGridLayout;
  codeGrid->setHorizontalSpacing(7);
  for (int i = 0; i < kCodeBoxes; ++i) {
    auto* box = new QLineEdit(encode);
    box->setObjectName(QStringLiteral("TextCode_%1").arg(i));
    box->setMaxLength(i >= kKillBox ? kDtmfShortLimit : kDtmfCodeLimit);
    box->setMinimumWidth(170);
    InstallTextBoxFilter(box, DtmfCharacters());
    box->installEventFilter(this);
    codes_[static_cast<size_t>(i)] = box;
    auto* label = RightLabel(QStringLiteral("LabelCode_%1").arg(i).toLatin1().constData(), encode);
    label->setBuddy(box);
    if (i < 16) {
      label->setText(QStringLiteral("M%1").arg(i + 1));
      const int col = i < 8 ? 0 : 2;
      codeGrid->addWidget(label, i % 8, col);
      codeGrid->addWidget(box, i % 8, col + 1);
    }
  }
  auto label = [&](int box) { return findChild<QLabel*>(QStringLiteral("LabelCode_%1").arg(box)); };
  label(kPttIdBeginBox)->setText(Q(L.GetLangKeyText("OPTION", "60302")));
  label(kPttIdEndBox)->setText(Q(L.GetLangKeyText("OPTION", "60303")));
  label(kKillBox)->setText(Q(L.GetLangKeyText("OPTION", "60069")));
  label(kStunBox)->setText(Q(L.GetLangKeyText("OPTION", "60093")));
  codeGrid->addWidget(label(kPttIdBeginBox), 8, 0);
  codeGrid->addWidget(codes_[kPttIdBeginBox], 8, 1);
  codeGrid->addWidget(label(kPttIdEndBox), 8, 2);
  codeGrid->addWidget(codes_[kPttIdEndBox], 8, 3);
  codeGrid->addWidget(label(kKillBox), 9, 0);
  codeGrid->addWidget(codes_[kKillBox], 9, 1);
  codeGrid->addWidget(label(kStunBox), 9, 2);
  codeGrid->addWidget(codes_[kStunBox], 9, 3);
  codeGrid->setRowMinimumHeight(8, 30);
  codeGrid->setColumnStretch(1, 1);
  codeGrid->setColumnStretch(3, 1);
  auto* encodeLayout = new QVBoxLayout(encode);
  encodeLayout->addWidget(hint);
  encodeLayout->addLayout(codeGrid);
  encodeLayout->addStretch(1);

  // The settings column.
  ani_ = NewList(this, "ComboAni");
  sendTime_ = NewList(this, "ComboSendTime");
  pttIdMode_ = NewList(this, "ComboPttIdMode");
  ownId_ = new QLineEdit(this);
  ownId_->setObjectName("TextOwnId");
  ownId_->setMaxLength(3);
  InstallTextBoxFilter(ownId_, DigitsOnly());
  ownId_->installEventFilter(this);
  separator_ = NewList(this, "ComboSeparator");
  groupCode_ = NewList(this, "ComboGroupCode");
  decodeResponse_ = NewList(this, "ComboDecodeResponse");
  firstDigitDelay_ = NewList(this, "ComboFirstDigitDelay");
  preSendDelay_ = NewList(this, "ComboPreSendDelay");
  resetTime_ = NewList(this, "ComboResetTime");
  postSendDelay_ = NewList(this, "ComboPostSendDelay");
  pauseTime_ = NewList(this, "ComboPauseTime");
  sidetone_ = new QCheckBox(this);
  sidetone_->setObjectName("CheckSidetone");
  sidetone_->setText(Q(L.GetLangText(1612)));

  struct Row {
    const char* name;
    QString text;
    QWidget* control;
  };
  const Row rows[] = {
      {"LabelAni", Q(L.GetLangText(1740)), ani_},
      {"LabelSendTime", Q(L.GetLangText(1741)), sendTime_},
      {"LabelPttIdMode", Q(L.GetLangText(1743)), pttIdMode_},
      {"LabelOwnId", Q(L.GetLangText(3002)), ownId_},
      {"LabelSeparator", Q(L.GetLangText(1604)), separator_},
      {"LabelGroupCode", Q(L.GetLangText(1605)), groupCode_},
      {"LabelDecodeResponse", Q(L.GetLangText(1606)), decodeResponse_},
      {"LabelFirstDigitDelay", Q(L.GetLangText(1607)), firstDigitDelay_},
      {"LabelPreSendDelay", Q(L.GetLangText(1608)), preSendDelay_},
      {"LabelResetTime", Q(L.GetLangText(1609)), resetTime_},
      {"LabelPostSendDelay", Q(L.GetLangText(1610)), postSendDelay_},
      {"LabelPauseTime", Q(L.GetLangText(1611)), pauseTime_},
  };
  auto* settingsGrid = new QGridLayout;
  settingsGrid->setHorizontalSpacing(7);
  int r = 0;
  for (const Row& row : rows) {
    auto* l = RightLabel(row.name, this);
    l->setText(row.text);
    l->setBuddy(row.control);
    if (row.control == pttIdMode_) {
      // The PTT ID mode is kept and saved but not offered.
      l->hide();
      pttIdMode_->hide();
      continue;
    }
    settingsGrid->addWidget(l, r, 0);
    settingsGrid->addWidget(row.control, r, 1);
    ++r;
  }
  settingsGrid->addWidget(sidetone_, r, 1);
  settingsGrid->setRowStretch(r + 1, 1);

  auto* special = new QPushButton(this);
  special->setObjectName("CommandSpecial");
  special->setText(Q(L.GetLangText(3003)));
  special->setAutoDefault(false);
  QPushButton* cancel = nullptr;
  QHBoxLayout* buttons = OkCancelRow(this, &ok_, &cancel);
  buttons->insertWidget(0, special);

  auto* body = new QHBoxLayout;
  body->addWidget(encode, 1);
  body->addLayout(settingsGrid);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(body);
  outer->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &FrmDTMF::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(special, &QPushButton::clicked, this, &FrmDTMF::OnSpecial);
  connect(separator_, &QComboBox::activated, this, [this] { SeparatorChosen(); });
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);

  // The lists, then the record.
  FillList(ani_, {Q(L.GetLangText(1755)), Q(L.GetLangText(1756))});
  const QString ms = Q(L.GetLangText(1780));
  FillList(sendTime_, {"30" + ms, "50" + ms, "100" + ms, "200" + ms, "300" + ms, "500" + ms});
  FillList(pttIdMode_, {Q(L.GetLangText(1755)), Q(L.GetLangText(1765)), Q(L.GetLangText(1766)),
                        Q(L.GetLangText(1767))});
  FillList(separator_, kDtmfLetters);
  FillList(groupCode_, QStringList{Q(L.GetLangText(1755))} + kDtmfLetters);
  FillList(decodeResponse_,
           {Q(L.GetLangText(1650)), Q(L.GetLangText(1651)), Q(L.GetLangText(1653))});
  FillList(firstDigitDelay_, NumberTexts(0, 2500, 10));
  FillList(preSendDelay_, NumberTexts(10, 2500, 10));
  FillList(resetTime_, TenthsTexts(0, 250));
  FillList(postSendDelay_, NumberTexts(10, 2500, 10));
  FillList(pauseTime_, QStringList{Q(L.GetLangText(1755))} + NumberTexts(5, 75));
  ShowSettings();
  InstallEnterMovesFocus(this);
  SuppressTextMenus(this);
}

QLineEdit* FrmDTMF::CodeBox(int index) const {
  return index >= 0 && index < kCodeBoxes ? codes_[static_cast<size_t>(index)] : nullptr;
}

QString FrmDTMF::SeparatorText() const {
  return separator_->currentText();
}

// Out-of-range values are corrected in the working copy as they are shown.
void FrmDTMF::ShowSettings() {
  DtmfSettings& s = work_;
  if (s.Ani > 1 || s.Ani < 0) s.Ani = 0;
  ani_->setCurrentIndex(s.Ani);
  if (s.SendTime > 5 || s.SendTime < 0) s.SendTime = 0;
  sendTime_->setCurrentIndex(s.SendTime);
  if (s.PttIdMode > 3 || s.PttIdMode < 0) s.PttIdMode = 0;
  pttIdMode_->setCurrentIndex(s.PttIdMode);
  ownId_->setText(CompletedOwnId(s.OwnId.Clean()));
  if (s.Separator < 10 || s.Separator > 15) s.Separator = 14;
  separator_->setCurrentIndex(s.Separator - kSeparatorBase);
  groupCode_->setCurrentIndex(s.GroupCode >= 10 && s.GroupCode <= 15 ? s.GroupCode - kGroupCodeBase
                                                                     : 0);
  if (s.DecodeResponse > 2 || s.DecodeResponse < 0) s.DecodeResponse = 0;
  decodeResponse_->setCurrentIndex(s.DecodeResponse);
  if (s.FirstDigitDelay > 250 || s.FirstDigitDelay < 0) s.FirstDigitDelay = 0;
  firstDigitDelay_->setCurrentIndex(s.FirstDigitDelay);
  SetListText(preSendDelay_, QString::number(s.PreSendDelay * 10));
  SetListText(resetTime_, TenthsText(s.ResetTime));
  SetListText(postSendDelay_, QString::number(s.PostSendDelay * 10));
  if (s.PauseTime > 4) {
    SetListText(pauseTime_, QString::number(s.PauseTime));
  } else {
    s.PauseTime = 0;
    pauseTime_->setCurrentIndex(0);
  }
  if (s.Sidetone >= 2 || s.Sidetone < 0) s.Sidetone = 0;
  sidetone_->setChecked(s.Sidetone == 1);

  for (int i = 0; i < 16; ++i)
    codes_[static_cast<size_t>(i)]->setText(ShownCode(s.Codes[static_cast<size_t>(i)]));
  codes_[kPttIdBeginBox]->setText(ShownCode(s.PttIdBegin));
  codes_[kPttIdEndBox]->setText(ShownCode(s.PttIdEnd));
  codes_[kKillBox]->setText(ShownCode(s.KillCode));
  codes_[kStunBox]->setText(ShownCode(s.StunCode));
}

void FrmDTMF::SaveSettings() {
  DtmfSettings& s = work_;
  s.Ani = static_cast<int16_t>(ListIndex(ani_));
  s.SendTime = static_cast<int16_t>(ListIndex(sendTime_));
  s.PttIdMode = static_cast<int16_t>(ListIndex(pttIdMode_));
  QString id = ownId_->text();
  while (id.size() < 3) id += QLatin1Char('0');
  s.OwnId = L1(id);
  s.Separator = static_cast<int16_t>(ListIndex(separator_) + kSeparatorBase);
  const int group = ListIndex(groupCode_);
  s.GroupCode = group == 0 ? kDtmfGroupCodeOff : static_cast<int16_t>(group + kGroupCodeBase);
  s.DecodeResponse = static_cast<int16_t>(ListIndex(decodeResponse_));
  s.FirstDigitDelay = static_cast<int16_t>(ListIndex(firstDigitDelay_));
  s.PreSendDelay = static_cast<int16_t>(ListIndex(preSendDelay_) + 1);
  s.ResetTime = static_cast<int16_t>(ListIndex(resetTime_));
  s.PostSendDelay = static_cast<int16_t>(ListIndex(postSendDelay_) + 1);
  s.PauseTime =
      ListIndex(pauseTime_) == 0 ? 0 : static_cast<int16_t>(pauseTime_->currentText().toInt());
  s.Sidetone = sidetone_->isChecked() ? 1 : 0;
  for (int i = 0; i < 16; ++i)
    SaveCode(s.Codes[static_cast<size_t>(i)], codes_[static_cast<size_t>(i)]);
  SaveCode(s.PttIdBegin, codes_[kPttIdBeginBox]);
  SaveCode(s.PttIdEnd, codes_[kPttIdEndBox]);
  SaveCode(s.KillCode, codes_[kKillBox]);
  SaveCode(s.StunCode, codes_[kStunBox]);
}

// The ID is completed to three digits, and the codes that embed an ID after the separator
// (ANI "123*456", PTT ID "*456") take the new one.
void FrmDTMF::OwnIdLeft() {
  QString id = ownId_->text();
  while (id.size() < 3) id += QLatin1Char('0');
  if (id != ownId_->text()) ownId_->setText(id);
  const std::string sep = L1(SeparatorText());
  const std::string newId = L1(id);
  for (int i = 0; i <= kPttIdEndBox; ++i) {
    QLineEdit* box = codes_[static_cast<size_t>(i)];
    const QString code = QL1(DtmfCodeForNewOwnId(L1(box->text()), sep, newId));
    if (code != box->text()) box->setText(code);
  }
}

void FrmDTMF::SeparatorChosen() {
  const std::string id = L1(ownId_->text());
  const std::string sep = L1(SeparatorText());
  for (int i = 0; i <= kPttIdEndBox; ++i) {
    QLineEdit* box = codes_[static_cast<size_t>(i)];
    const QString code = QL1(DtmfCodeForNewSeparator(L1(box->text()), id, sep));
    if (code != box->text()) box->setText(code);
  }
}

void FrmDTMF::OnOk() {
  if (saving_) return;
  const std::string kill = CleanText(L1(codes_[kKillBox]->text()));
  const std::string stun = CleanText(L1(codes_[kStunBox]->text()));
  if (!kill.empty() && kill == stun) {
    codes_[kKillBox]->setFocus();
    prompts_.Message(lang_.GetLangText(3001), Icon::Warning, Buttons::Ok);
    return;
  }
  // OK reached by its shortcut leaves the focus where it was: finish the ID box first.
  if (ownId_->hasFocus()) OwnIdLeft();
  // The save runs once the click has been fully processed, after the focus-loss processing
  // of the control being edited.
  saving_ = true;
  QTimer::singleShot(0, this, [this] {
    SaveSettings();
    dtmf_ = work_;
    accept();
  });
}

void FrmDTMF::OnSpecial() {
  if (curDTMFEditID_ > kPttIdEndBox) return;  // never for the kill and stun codes
  FrmDTMFSpecial dialog(*this, lang_, this);
  RunModal(specialRunner, dialog);
}

bool FrmDTMF::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    for (int i = 0; i < kCodeBoxes; ++i)
      if (watched == codes_[static_cast<size_t>(i)]) curDTMFEditID_ = i;
  } else if (event->type() == QEvent::FocusOut && watched == ownId_) {
    // Switching to another window (a message box) is not leaving the box.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) OwnIdLeft();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kvx

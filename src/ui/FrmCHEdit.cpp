#include "ui/FrmCHEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/files/Workspace.h"
#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "core/util/Text.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kSignallingNone = 0;

QComboBox* NewCombo(QWidget* parent, const QString& name) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c->setMinimumContentsLength(6);
  return c;
}

QCheckBox* NewCheck(QWidget* parent, const char* name) {
  auto* c = new QCheckBox(parent);
  c->setObjectName(name);
  return c;
}

int IndexOrZero(const QComboBox* c) {
  return c->currentIndex() < 0 ? 0 : c->currentIndex();
}

// The name boxes refuse "\", "~" and DEL.
QChar NameCharacter(QChar c) {
  if (c == u'\\' || c == u'~' || c.unicode() == 127) return {};
  return c;
}

}  // namespace

FrmCHEdit::FrmCHEdit(Workspace& ws, Prompts& prompts, std::function<void(int)> reshowRow,
                     QWidget* parent)
    : QDialog(parent), ws_(ws), prompts_(prompts), reshowRow_(std::move(reshowRow)) {
  setObjectName("FrmCHEdit");
  n_ = std::clamp<int>(ws.app.CurrentEditChannel, 1, kChannelSlots);
  BuildControls();
  Localize();
  LoadChannel();
}

void FrmCHEdit::BuildControls() {
  auto line = [this](const QString& name, int maxLength) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    SuppressTextMenu(e);
    return e;
  };
  Text1_0 = line("Text1_0", 10);
  Text1_1 = line("Text1_1", 10);
  Text1_10 = line("Text1_10", 10);
  InstallTextBoxFilter(Text1_0, DigitsAndPoint());
  InstallTextBoxFilter(Text1_1, DigitsAndPoint());
  InstallTextBoxFilter(Text1_10, DigitsAndPoint());
  const int freqWidth = fontMetrics().horizontalAdvance("0000.000000") + 12;
  for (QLineEdit* e : {Text1_0, Text1_1, Text1_10}) e->setMinimumWidth(freqWidth);
  const int nameWidth = fontMetrics().horizontalAdvance("W") + 14;
  for (int i = 0; i < 7; ++i) {
    nameBoxes_[i] = line(QString("Text1_%1").arg(i + 2), 1);
    nameBoxes_[i]->setFixedWidth(nameWidth);
    nameBoxes_[i]->setAlignment(Qt::AlignCenter);
    InstallTextBoxFilter(nameBoxes_[i], {NameCharacter, true});
  }
  Text2 = line("Text2", 5);
  InstallTextBoxFilter(Text2, DigitsOnly());

  Combo2 = NewCombo(this, "Combo2");
  for (int i = 0; i < 14; ++i) Combo1[i] = NewCombo(this, QString("Combo1_%1").arg(i));
  for (int i = 0; i < 4; ++i) Combo3[i] = NewCombo(this, QString("Combo3_%1").arg(i));
  for (int i = 0; i < 3; ++i) Combo4[i] = NewCombo(this, QString("Combo4_%1").arg(i));
  Check2[0] = NewCheck(this, "Check2_0");
  Check2[1] = NewCheck(this, "Check2_1");
  Check4[0] = NewCheck(this, "Check4_0");
  Check4[1] = NewCheck(this, "Check4_1");
  Check1 = NewCheck(this, "Check1");
  Check3 = NewCheck(this, "Check3");
  Check5 = NewCheck(this, "Check5");
  Check6 = NewCheck(this, "Check6");
  Check7 = NewCheck(this, "Check7");
  Check3->setVisible(false);

  for (int i = 0; i < 4; ++i) Label1[i] = RightLabel(QString("Label1_%1").arg(i).toLatin1(), this);
  for (int i = 0; i < 14; ++i) Label2[i] = RightLabel(QString("Label2_%1").arg(i).toLatin1(), this);
  Label3 = RightLabel("Label3", this);

  Command1 = new QPushButton(this);
  Command1->setObjectName("Command1");
  Command1->setAutoDefault(false);
  Command2 = new QPushButton(this);
  Command2->setObjectName("Command2");
  Command2->setAutoDefault(false);

  // Fixed lists (language lists are filled by Localize).
  for (int i = 1; i <= 16; ++i) Combo4[0]->addItem(QString("M%1").arg(i));
  for (int c = 0; c < 2; ++c)
    for (std::string_view t : kCtcssTones) Combo3[c]->addItem(Q(t));
  for (int c = 2; c < 4; ++c)
    for (int code = 0; code < kDcsCount; ++code) Combo3[c]->addItem(Q(DcsCodeText(code)));
  for (int j = 0; j < kTwoToneEntries; ++j)
    if (TwoToneEntryInUse(ws_.settings.TwoTone, j)) Combo4[1]->addItem(QString::number(j));
  for (int j = 0; j < 100; ++j)
    if (FiveToneCodeInUse(ws_.settings.FiveTone, j)) Combo4[2]->addItem(QString::number(j));
  for (std::string_view t : kBandwidthDialogTexts) Combo1[1]->addItem(Q(t));
  for (std::string_view s : StepTexts(ws_.app.BandCode)) Combo1[0]->addItem(Q(s));

  // Layout: labels right-aligned in columns 0 and 2, their controls in 1 and 3.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  auto hbox = [](std::initializer_list<QWidget*> ws, bool stretch = true) {
    auto* h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : ws) h->addWidget(w);
    if (stretch) h->addStretch(1);
    return h;
  };
  int r = 0;
  grid->addWidget(Label1[0], r, 0);
  grid->addWidget(Text1_0, r, 1);
  grid->addWidget(Label1[3], r, 2);
  grid->addWidget(Text1_10, r, 3);
  ++r;
  grid->addWidget(Label1[1], r, 0);
  {
    auto* shift = new QHBoxLayout;
    shift->setContentsMargins(0, 0, 0, 0);
    Combo2->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo2->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    shift->addWidget(Combo2);
    shift->addWidget(Text1_1, 1);
    grid->addLayout(shift, r, 1);
  }
  grid->addWidget(Label1[2], r, 2);
  {
    auto* names = new QHBoxLayout;
    names->setContentsMargins(0, 0, 0, 0);
    names->setSpacing(2);
    for (QLineEdit* b : nameBoxes_) names->addWidget(b);
    names->addStretch(1);
    grid->addLayout(names, r, 3);
  }
  ++r;
  grid->addWidget(Label2[0], r, 0);
  grid->addWidget(Combo1[0], r, 1);
  grid->addWidget(Label2[1], r, 2);
  grid->addWidget(Combo1[1], r, 3);
  ++r;
  grid->addWidget(Label2[2], r, 0);
  grid->addWidget(Combo1[2], r, 1);
  grid->addWidget(Label2[4], r, 2);
  grid->addLayout(hbox({Combo1[4], Combo4[0], Combo4[1], Combo4[2]}), r, 3);
  ++r;
  grid->addWidget(Label2[5], r, 0);
  grid->addLayout(hbox({Combo1[5], Combo3[0], Combo3[2], Check2[0]}), r, 1, 1, 3);
  ++r;
  grid->addWidget(Label2[10], r, 0);
  grid->addLayout(hbox({Combo1[10], Combo3[1], Combo3[3], Check2[1]}), r, 1, 1, 3);
  ++r;
  grid->addWidget(Label2[6], r, 0);
  grid->addWidget(Combo1[6], r, 1);
  grid->addWidget(Label2[9], r, 2);
  grid->addWidget(Combo1[9], r, 3);
  ++r;
  grid->addWidget(Label2[7], r, 0);
  grid->addWidget(Combo1[7], r, 1);
  grid->addWidget(Label2[8], r, 2);
  grid->addWidget(Combo1[8], r, 3);
  ++r;
  grid->addWidget(Label2[12], r, 0);
  grid->addWidget(Combo1[12], r, 1);
  grid->addWidget(Label2[13], r, 2);
  grid->addWidget(Combo1[13], r, 3);
  ++r;
  grid->addWidget(Label3, r, 0);
  grid->addWidget(Text2, r, 1);
  grid->addWidget(Label2[3], r, 2);
  grid->addWidget(Combo1[3], r, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  // Never shown: the list-flag list, the full squelch list and the PTT ID flag.
  for (QWidget* w : {static_cast<QWidget*>(Label2[3]), static_cast<QWidget*>(Combo1[3]),
                     static_cast<QWidget*>(Label2[11]), static_cast<QWidget*>(Combo1[11])})
    w->setVisible(false);

  auto* checks = new QGridLayout;
  checks->addWidget(Check1, 0, 0);
  checks->addWidget(Check4[0], 0, 1);
  checks->addWidget(Check4[1], 0, 2);
  checks->addWidget(Check5, 1, 0);
  checks->addWidget(Check6, 1, 1);
  checks->addWidget(Check7, 1, 2);
  checks->addWidget(Check3, 2, 0);

  QPushButton *ok, *cancel;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  CommandOK = ok;
  CommandCancel = cancel;
  buttons->insertWidget(0, Command1);
  buttons->insertWidget(1, Command2);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(4);
  outer->addLayout(checks);
  outer->addSpacing(6);
  outer->addLayout(buttons);

  Timerok = new QTimer(this);
  Timerok->setObjectName("Timerok");
  Timerok->setSingleShot(true);
  Timerok->setInterval(0);
  connect(Timerok, &QTimer::timeout, this, &FrmCHEdit::Timerok_Timer);

  connect(CommandOK, &QPushButton::clicked, this, [this] { StartStore(Pending::Close); });
  connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Command1, &QPushButton::clicked, this, [this] { StartStore(Pending::Previous); });
  connect(Command2, &QPushButton::clicked, this, [this] { StartStore(Pending::Next); });

  connect(Text1_0, &QLineEdit::textChanged, this, [this] {
    if (!loading_) ApplyRxRule();
  });
  connect(Combo1[4], &QComboBox::activated, this, [this] { OnSignallingChosen(); });
  connect(Combo1[5], &QComboBox::activated, this, [this] { OnToneTypeChosen(0); });
  connect(Combo1[10], &QComboBox::activated, this, [this] { OnToneTypeChosen(1); });
  connect(Check4[0], &QCheckBox::clicked, this, [this](bool on) {
    if (on) Check4[1]->setChecked(false);
    RebuildSquelch();
  });
  connect(Check4[1], &QCheckBox::clicked, this, [this](bool on) {
    if (on) Check4[0]->setChecked(false);
    RebuildSquelch();
  });
  // One PTT-ID mode at a time: DTMF or five-tone.
  connect(Combo1[7], &QComboBox::activated, this, [this](int i) {
    if (i > 0) Combo1[8]->setCurrentIndex(0);
  });
  connect(Combo1[8], &QComboBox::activated, this, [this](int i) {
    if (i > 0) Combo1[7]->setCurrentIndex(0);
  });

  InstallEnterMovesFocus(this);
}

void FrmCHEdit::Localize() {
  const LanguageTable& L = ws_.lang;
  Label1[0]->setText(Q(L.GetLangText(1101)));
  Label1[1]->setText(Q(L.GetLangText(1102)));
  Label1[2]->setText(Q(L.GetLangText(1103)));
  Label1[3]->setText(Q(L.GetLangText(1140)));
  Label2[0]->setText(Q(L.GetLangText(1104)));
  Label2[1]->setText(Q(L.GetLangText(1106)));
  Label2[2]->setText(Q(L.GetLangText(1109)));
  Label2[4]->setText(Q(L.GetLangText(1110)));
  Label2[5]->setText(Q(L.GetLangText(1107)) + " " + Q(L.GetLangText(1112)));
  Label2[10]->setText(Q(L.GetLangText(1107)) + " " + Q(L.GetLangText(1113)));
  Label2[6]->setText(Q(L.GetLangText(1742)));
  Label2[7]->setText(Q(L.GetLangText(1743)));
  Label2[8]->setText(Q(L.GetLangText(1744)));
  Label2[9]->setText(Q(L.GetLangText(1745)));
  Label2[12]->setText(Q(L.GetLangText(1116)));
  Label2[13]->setText(Q(L.GetLangText(1717)));
  Label3->setText("PTTID Code");
  Check2[0]->setText(Q(L.GetLangText(1301)));
  Check2[1]->setText(Q(L.GetLangText(1301)));
  Check1->setText(Q(L.GetLangText(1105)));
  Check4[0]->setText(Q(L.GetLangText(1207)));
  Check4[1]->setText(Q(L.GetLangText(1114)));
  Check5->setText(Q(L.GetLangText(1746)));
  Check6->setText(Q(L.GetLangText(1111)));
  Check7->setText("PTTID Decode");
  Check3->setText("PTT ID");
  Command1->setText(Q(L.GetLangText(103)));
  Command2->setText(Q(L.GetLangText(104)));

  const QString none = Q(L.GetLangText(1206));
  Combo2->clear();
  Combo2->addItems({Q(L.GetLangText(1210)), "-", "+"});
  Combo1[2]->clear();
  Combo1[2]->addItems({Q(L.GetLangText(1204)), Q(L.GetLangText(1221)), Q(L.GetLangText(1205))});
  Combo1[3]->clear();
  Combo1[3]->addItems({Q(L.GetLangText(1202)), Q(L.GetLangText(1203))});
  Combo1[4]->clear();
  Combo1[4]->addItem(none, kSignallingNone);
  const FeatureFlags& f = ws_.app.Features;
  if (f.DtmfFeature) Combo1[4]->addItem("DTMF", 1);
  if (f.TwoToneFeature) Combo1[4]->addItem("2Tone", 2);
  if (f.FiveToneFeature) Combo1[4]->addItem("5Tone", 3);
  for (int c : {5, 10}) {
    Combo1[c]->clear();
    Combo1[c]->addItems({none, "CTCSS", "DCS"});
  }
  Combo1[6]->clear();
  Combo1[6]->addItems({Q(L.GetLangText(1755)), Q(L.GetLangText(1756))});
  for (int c : {7, 8}) {
    Combo1[c]->clear();
    Combo1[c]->addItems({Q(L.GetLangText(1755)), Q(L.GetLangText(1765)), Q(L.GetLangText(1766)),
                         Q(L.GetLangText(1767))});
  }
  Combo1[7]->setVisible(f.DtmfFeature != 0);
  Label2[7]->setVisible(f.DtmfFeature != 0);
  Combo1[8]->setVisible(f.FiveToneFeature != 0);
  Label2[8]->setVisible(f.FiveToneFeature != 0);
  Combo1[11]->clear();
  Combo1[11]->addItems({Q(L.GetLangText(1784)), Q(L.GetLangText(1785)), Q(L.GetLangText(1786)),
                        Q(L.GetLangText(1787)), Q(L.GetLangText(1788))});
  Combo1[12]->clear();
  Combo1[12]->addItems({Q(L.GetLangText(1210)), Q(L.GetLangText(1211)), Q(L.GetLangText(1212)),
                        Q(L.GetLangText(1214)), Q(L.GetLangText(1215)), Q(L.GetLangText(1216)),
                        Q(L.GetLangText(1217)), Q(L.GetLangText(1218)), Q(L.GetLangText(1219)),
                        Q(L.GetLangText(1220))});
  Combo1[13]->clear();
  Combo1[13]->addItems({Q(L.GetLangText(1755)), "Repeater", "Busy"});

  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);
}

void FrmCHEdit::LoadChannel() {
  loading_ = true;
  const LanguageTable& L = ws_.lang;
  // 1. Caption and the copy of the shown channel.
  setWindowTitle(Q(L.GetLangText(1300)) + " CH--" + QString::number(n_ - 1));
  const ChannelRecord* found = ws_.channels.Find(n_);
  buffer_ = found ? *found : EmptyChannel(n_);
  const ChannelRecord& c = buffer_;

  // 2-3. Previous / Next, the name boxes and scan skip by channel number.
  Command1->setEnabled(n_ > 1);
  Command2->setEnabled(n_ < kChannelVfo);

  // 4. The code lists, tone lists and inverted boxes start hidden.
  for (QComboBox* b : Combo4) b->setVisible(false);
  for (QComboBox* b : Combo3) b->setVisible(false);
  for (QCheckBox* b : Check2) b->setVisible(false);
  Check3->setVisible(false);

  // 5. Frequencies.
  const BandCheck check{&ws_.app, &prompts_, L.GetLangText(2001)};
  const std::string rx = FreqTextToDisplay(c.RxFreq.Clean(), check);
  const std::string offset = OffsetTextToDisplay(c.Offset.Clean(), check);
  Text1_0->setText(Q(rx));
  SetIndexOrFirst(Combo2, c.Shift);
  Text1_1->setText(Q(offset));
  std::string tx;
  if (!rx.empty()) {
    tx = TransmitFreqDisplay(rx, offset, c.Shift);
    if (auto v = NumericValue(tx)) tx = FormatFreqHash(*v);
  }
  Text1_10->setText(Q(tx));

  // 6. Name, one character per box.
  const std::string name = c.Name.Clean();
  for (size_t i = 0; i < nameBoxes_.size(); ++i)
    nameBoxes_[i]->setText(i < name.size() ? QL1(name.substr(i, 1)) : QString());

  // 7. Lists by position.
  SetIndexOrFirst(Combo1[0], c.Step);
  SetIndexOrFirst(Combo1[1], c.Bandwidth);
  SetIndexOrFirst(Combo1[2], c.Power == 3 ? 2 : c.Power);
  SetIndexOrFirst(Combo1[5], c.ToneAType);
  SetIndexOrFirst(Combo1[10], c.ToneBType);
  SetIndexOrFirst(Combo1[7], c.DtmfPttId);
  SetIndexOrFirst(Combo1[8], c.FiveTonePttId);
  SetIndexOrFirst(Combo1[6], c.Scramble);
  SetIndexOrFirst(Combo1[13], c.BusyLock);
  SetIndexOrFirst(Combo1[3], c.ListFlag);
  const int sig = Combo1[4]->findData(c.Signalling >= 1 && c.Signalling <= 3 ? c.Signalling : 0);
  SetIndexOrFirst(Combo1[4], sig);
  const int ad = c.AdditionalDisplay;
  SetIndexOrFirst(Combo1[12], ad <= 2 ? ad : (ad == 3 ? 0 : ad - 1));
  // Every list holds the record's value, shown or not, so that a hidden list stores it back.
  SetIndexOrFirst(Combo4[0], c.DtmfCode);
  SetIndexOrFirst(Combo4[1], Combo4[1]->findText(QString::number(c.TwoToneCode)));
  SetIndexOrFirst(Combo4[2], Combo4[2]->findText(QString::number(c.FiveToneCode)));
  SetIndexOrFirst(Combo3[0], c.ToneACtcss);
  SetIndexOrFirst(Combo3[1], c.ToneBCtcss);
  SetIndexOrFirst(Combo3[2], c.ToneADcs);
  SetIndexOrFirst(Combo3[3], c.ToneBDcs);

  // 8. Check boxes and the PTT-ID code.
  Check1->setChecked(c.TxInhibit != 0);
  Check4[0]->setChecked(c.Reverse != 0);
  Check4[1]->setChecked(c.Talkaround != 0);
  Check5->setChecked(c.Compander != 0);
  Check6->setChecked(c.ScanSkip != 0);
  Check7->setChecked(c.PttIdDecode != 0);
  Check2[0]->setChecked(c.ToneAInverted != 0);
  Check2[1]->setChecked(c.ToneBInverted != 0);
  Check3->setChecked(c.PttIdFlag != 0);
  Text2->setText(QL1(c.PttIdCode.Clean()));

  // The squelch offer, keeping the stored mode when it is offered.
  Combo1[9]->clear();
  Combo1[9]->addItem(Combo1[11]->itemText(0), 0);
  Combo1[9]->setCurrentIndex(0);
  RebuildSquelch();
  SetIndexOrFirst(Combo1[9], Combo1[9]->findData(static_cast<int>(c.SquelchMode)));

  // 9. The code list of the signalling chosen.
  const int chosenSig = Combo1[4]->currentData().toInt();
  if (chosenSig >= 1 && chosenSig <= 3) Combo4[chosenSig - 1]->setVisible(true);

  // 10. The tone lists of the two tone settings.
  if (Combo1[5]->currentIndex() == ToneCtcss) Combo3[0]->setVisible(true);
  if (Combo1[5]->currentIndex() == ToneDcs) {
    Combo3[2]->setVisible(true);
    Check2[0]->setVisible(true);
  }
  if (Combo1[10]->currentIndex() == ToneCtcss) Combo3[1]->setVisible(true);
  if (Combo1[10]->currentIndex() == ToneDcs) {
    Combo3[3]->setVisible(true);
    Check2[1]->setVisible(true);
  }

  // 11. Everything but the receive frequency waits for a receive frequency.
  ApplyRxRule();
  loading_ = false;
  Text1_0->setFocus();
  Text1_0->selectAll();
}

void FrmCHEdit::SetFieldsEnabled(bool on) {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (w == Text1_0 || qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w)) continue;
    if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w) &&
        !qobject_cast<QCheckBox*>(w))
      continue;
    if (w->parentWidget() != this) continue;  // a list's own line edit and views
    w->setEnabled(on);
  }
  if (on) {
    const bool nameEditable = n_ != kChannelCall && n_ != kChannelVfo;
    for (QLineEdit* b : nameBoxes_) b->setEnabled(nameEditable);
    Check6->setEnabled(n_ != kChannelPA && n_ != kChannelPB && n_ != kChannelVfo);
  }
}

void FrmCHEdit::ApplyRxRule() {
  const QString t = Text1_0->text().trimmed();
  SetFieldsEnabled(!t.isEmpty() && t != "FFFFFFFFF");
}

void FrmCHEdit::RebuildSquelch() {
  const int deciding =
      Check4[0]->isChecked() ? Combo1[10]->currentIndex() : Combo1[5]->currentIndex();
  const bool tone = deciding > 0;
  const bool signalling = Combo1[4]->currentIndex() > 0;
  std::vector<int> modes;
  if (tone && signalling)
    modes = {0, 1, 2, 3, 4};
  else if (tone)
    modes = {0, 1};
  else if (signalling)
    modes = {0, 2};
  else
    modes = {0};
  const QVariant shown = Combo1[9]->currentData();
  Combo1[9]->clear();
  for (int m : modes) Combo1[9]->addItem(Combo1[11]->itemText(m), m);
  const int keep = shown.isValid() ? Combo1[9]->findData(shown) : -1;
  SetIndexOrFirst(Combo1[9], keep);
}

void FrmCHEdit::OnSignallingChosen() {
  for (QComboBox* b : Combo4) b->setVisible(false);
  Check3->setVisible(false);
  const int sig = Combo1[4]->currentData().toInt();
  if (sig >= 1 && sig <= 3) {
    QComboBox* list = Combo4[sig - 1];
    list->setVisible(true);
    list->setEnabled(true);
    list->setCurrentIndex(list->count() > 0 ? 0 : -1);
  }
  RebuildSquelch();
}

void FrmCHEdit::OnToneTypeChosen(int setting) {
  QComboBox* type = setting == 0 ? Combo1[5] : Combo1[10];
  QComboBox* ctcss = Combo3[setting];
  QComboBox* dcs = Combo3[2 + setting];
  QCheckBox* inverted = Check2[setting];
  if (setting == 1) {
    // Setting B's lists follow its type only while the shift list is enabled.
    RebuildSquelch();
    if (!Combo2->isEnabled()) return;
  }
  ctcss->setVisible(false);
  dcs->setVisible(false);
  inverted->setVisible(false);
  if (setting == 0) RebuildSquelch();
  if (type->currentIndex() == ToneCtcss) {
    ctcss->setVisible(true);
    ctcss->setCurrentIndex(0);
  } else if (type->currentIndex() == ToneDcs) {
    dcs->setVisible(true);
    dcs->setCurrentIndex(0);
    inverted->setVisible(true);
    inverted->setEnabled(true);
    inverted->setChecked(false);
  }
}

void FrmCHEdit::StartStore(Pending action) {
  pending_ = action;
  Timerok->start();
}

void FrmCHEdit::Timerok_Timer() {
  Timerok->stop();
  const Pending action = std::exchange(pending_, Pending::None);
  if (action == Pending::None) return;

  // 1. The PTT-ID code has five digits.
  QString code = Text2->text();
  while (code.size() < 5) code += '0';
  Text2->setText(code);

  // 2. An empty receive frequency deletes the channel; CALL and VFO refuse it.
  const std::string rx = Trim(U8(Text1_0->text()));
  if (rx.empty() || !NumericValue(rx)) {
    if (n_ == kChannelVfo || n_ == kChannelCall) {
      prompts_.Message(n_ == kChannelVfo ? "VFO can't be null!" : "CALL can't be null!",
                       Icon::Warning, Buttons::Ok);
      Text1_0->setFocus();
      return;
    }
    if (ws_.channels.ChannelExists(n_)) ws_.channels.DeleteChannel(n_);
  } else if (ws_.channels.ChannelExists(n_)) {
    ModifyUFreData(n_);
  } else {
    AddNewUFreData(n_);
  }

  // 3-4. Redraw the row; keep the scan and alert references on existing channels.
  if (reshowRow_) reshowRow_(n_);
  RepairScanAndAlertRefs();
  if (afterStore_) afterStore_(n_);

  // 5. Move on.
  switch (action) {
    case Pending::Previous:
      n_ = std::max(1, n_ - 1);
      ws_.app.CurrentEditChannel = static_cast<int16_t>(n_);
      LoadChannel();
      break;
    case Pending::Next:
      n_ = std::min<int>(kChannelVfo, n_ + 1);
      ws_.app.CurrentEditChannel = static_cast<int16_t>(n_);
      LoadChannel();
      break;
    case Pending::Close:
      accept();
      break;
    case Pending::None:
      break;
  }
}

void FrmCHEdit::RepairScanAndAlertRefs() {
  const ChannelList& list = ws_.channels;
  ScanSettings& scan = ws_.settings.Scan;
  if (scan.PriorityChannel1 != 0)
    scan.PriorityChannel1 = static_cast<uint8_t>(list.ValidChannelRef(scan.PriorityChannel1));
  if (scan.PriorityChannel2 != 0)
    scan.PriorityChannel2 = static_cast<uint8_t>(list.ValidChannelRef(scan.PriorityChannel2));
  AlertSettings& alert = ws_.settings.Alert;
  const int ref = list.ValidChannelRef(alert.EmergencyChannel + 1);
  alert.EmergencyChannel = static_cast<uint8_t>(ref == 0 ? 0 : ref - 1);
}

void FrmCHEdit::FillRecord(ChannelRecord& r) {
  const BandCheck check{&ws_.app, &prompts_, ws_.lang.GetLangText(2001)};
  // 1.
  r.InUse = 1;
  r.Step = static_cast<int16_t>(IndexOrZero(Combo1[0]));
  // 2. The receive frequency through the band check.
  const std::string t = CheckRxFreq(Trim(U8(Text1_0->text())), check);
  Text1_0->setText(Q(t));
  r.RxFreq = DisplayToFreqText(t);
  // 3. The name, a blank for an empty box.
  std::string name;
  for (QLineEdit* b : nameBoxes_)
    name += b->text().isEmpty() ? std::string(" ") : L1(b->text().left(1));
  r.Name = name;
  // 4. Shift and offset from the transmit frequency.
  const std::string u = CheckTxFreq(Trim(U8(Text1_10->text())), check);
  const ShiftAndOffset so = ShiftFromTxFreq(t, u);
  if (!t.empty() && !u.empty()) {
    Combo2->setCurrentIndex(so.shift);
    Text1_1->setText(Q(so.offset));
  } else {
    Text1_1->clear();
  }
  r.Shift = static_cast<int16_t>(IndexOrZero(Combo2));
  r.Offset = DisplayToFreqText(FixOffset(U8(Text1_1->text()), t, r.Shift, check));
  // 5. List positions.
  r.Bandwidth = static_cast<int16_t>(IndexOrZero(Combo1[1]));
  r.Power = static_cast<int16_t>(IndexOrZero(Combo1[2]));
  r.ToneAType = static_cast<int16_t>(IndexOrZero(Combo1[5]));
  r.ToneBType = static_cast<int16_t>(IndexOrZero(Combo1[10]));
  r.Scramble = static_cast<int16_t>(IndexOrZero(Combo1[6]));
  r.DtmfPttId = static_cast<int16_t>(IndexOrZero(Combo1[7]));
  r.FiveTonePttId = static_cast<int16_t>(IndexOrZero(Combo1[8]));
  r.BusyLock = static_cast<int16_t>(IndexOrZero(Combo1[13]));
  r.SquelchMode = static_cast<int16_t>(Combo1[9]->currentData().toInt());
  const int p = IndexOrZero(Combo1[12]);
  r.AdditionalDisplay = static_cast<int16_t>(p <= 2 ? p : p + 1);
  // 6. Signalling by the text chosen.
  const QString sig = Combo1[4]->currentText();
  r.Signalling = sig == "DTMF" ? 1 : sig == "2Tone" ? 2 : sig == "5Tone" ? 3 : 0;
  // 7. Tones and codes (each list holds its record value when it was not touched).
  r.ToneACtcss = static_cast<int16_t>(IndexOrZero(Combo3[0]));
  r.ToneBCtcss = static_cast<int16_t>(IndexOrZero(Combo3[1]));
  r.ToneADcs = static_cast<int16_t>(IndexOrZero(Combo3[2]));
  r.ToneBDcs = static_cast<int16_t>(IndexOrZero(Combo3[3]));
  r.DtmfCode = static_cast<int16_t>(IndexOrZero(Combo4[0]));
  r.TwoToneCode =
      static_cast<int16_t>(Combo4[1]->currentIndex() < 0 ? 0 : Combo4[1]->currentText().toInt());
  r.FiveToneCode =
      static_cast<int16_t>(Combo4[2]->currentIndex() < 0 ? 0 : Combo4[2]->currentText().toInt());
  // 8. Check boxes.
  r.TxInhibit = Check1->isChecked();
  r.ToneAInverted = Check2[0]->isChecked();
  r.ToneBInverted = Check2[1]->isChecked();
  r.Reverse = Check4[0]->isChecked();
  r.Talkaround = Check4[1]->isChecked();
  r.Compander = Check5->isChecked();
  r.ScanSkip = Check6->isChecked();
  r.PttIdDecode = Check7->isChecked();
  // 9.
  r.PttIdCode = L1(Text2->text());
}

void FrmCHEdit::ModifyUFreData(int n) {
  ChannelRecord* existing = ws_.channels.Find(n);
  if (!existing) {
    prompts_.Message("No Find Data!", Icon::None, Buttons::Ok);
    return;
  }
  ChannelRecord copy = *existing;
  FillRecord(copy);
  *ws_.channels.Find(n) = copy;
}

void FrmCHEdit::AddNewUFreData(int n) {
  ChannelRecord r{};
  r.Number = static_cast<int16_t>(n);
  r.InUse = 1;
  FillRecord(r);
  r.PttIdFlag = Check3->isChecked();
  ws_.channels.AppendChannel(r);
}

}  // namespace kvx

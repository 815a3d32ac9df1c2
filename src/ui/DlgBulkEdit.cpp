#include "ui/DlgBulkEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/files/Workspace.h"
#include "core/image/FiveTone.h"
#include "core/image/Tones.h"
#include "core/image/TwoTone.h"
#include "ui/FormHelpers.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

QComboBox* NewCombo(QWidget* parent, const QString& name) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return c;
}

QCheckBox* NewCheck(QWidget* parent, const QString& name, const QString& text) {
  auto* c = new QCheckBox(text, parent);
  c->setObjectName(name);
  return c;
}

int16_t Chosen(const QComboBox* c) {
  return static_cast<int16_t>(c->currentIndex() < 0 ? 0 : c->currentIndex());
}

}  // namespace

DlgBulkEdit::DlgBulkEdit(const Workspace& ws, int channels, QWidget* parent)
    : QDialog(parent), ws_(ws) {
  setObjectName("DlgBulkEdit");
  const LanguageTable& L = ws.lang;
  setWindowTitle(Q(L.GetLangText(1091)));
  const QString none = Q(L.GetLangText(1206));

  chkStep_ = NewCheck(this, "chkStep", Q(L.GetLangText(1104)));
  cboStep_ = NewCombo(this, "cboStep");
  for (std::string_view s : StepTexts(ws.app.BandCode)) cboStep_->addItem(Q(s));
  cboStep_->setCurrentIndex(std::min(kDefaultStepPosition, cboStep_->count() - 1));

  chkBandwidth_ = NewCheck(this, "chkBandwidth", Q(L.GetLangText(1106)));
  cboBandwidth_ = NewCombo(this, "cboBandwidth");
  for (std::string_view t : kBandwidthDialogTexts) cboBandwidth_->addItem(Q(t));

  chkPower_ = NewCheck(this, "chkPower", Q(L.GetLangText(1109)));
  cboPower_ = NewCombo(this, "cboPower");
  cboPower_->addItems({Q(L.GetLangText(1204)), Q(L.GetLangText(1221)), Q(L.GetLangText(1205))});

  const QString toneHead = Q(L.GetLangText(1107)) + " ";
  const QString toneSuffix[2] = {Q(L.GetLangText(1112)), Q(L.GetLangText(1113))};
  for (int s = 0; s < 2; ++s) {
    const QString ab = s == 0 ? "A" : "B";
    ToneControls& t = tone_[s];
    t.use = NewCheck(this, "chkTone" + ab, toneHead + toneSuffix[s]);
    t.type = NewCombo(this, "cboTone" + ab + "Type");
    t.type->addItems({none, "CTCSS", "DCS"});
    t.ctcss = NewCombo(this, "cboTone" + ab + "Ctcss");
    for (std::string_view tone : kCtcssTones) t.ctcss->addItem(Q(tone));
    t.dcs = NewCombo(this, "cboTone" + ab + "Dcs");
    for (int code = 0; code < kDcsCount; ++code) t.dcs->addItem(Q(DcsCodeText(code)));
    t.inverted = NewCheck(this, "chkTone" + ab + "Inverted", Q(L.GetLangText(1301)));
  }

  chkScanSkip_ = NewCheck(this, "chkScanSkip", Q(L.GetLangText(1111)));
  cboScanSkip_ = NewCombo(this, "cboScanSkip");
  cboScanSkip_->addItems({Q(L.GetLangText(1755)), Q(L.GetLangText(1756))});

  chkSignalling_ = NewCheck(this, "chkSignalling", Q(L.GetLangText(1110)));
  cboSignalling_ = NewCombo(this, "cboSignalling");
  cboSignalling_->addItem(none, 0);
  const FeatureFlags& f = ws.app.Features;
  if (f.DtmfFeature) cboSignalling_->addItem("DTMF", 1);
  if (f.TwoToneFeature) cboSignalling_->addItem("2Tone", 2);
  if (f.FiveToneFeature) cboSignalling_->addItem("5Tone", 3);
  cboSignallingCode_ = NewCombo(this, "cboSignallingCode");

  chkBusyLock_ = NewCheck(this, "chkBusyLock", Q(L.GetLangText(1717)));
  cboBusyLock_ = NewCombo(this, "cboBusyLock");
  cboBusyLock_->addItems({Q(L.GetLangText(1755)), "Repeater", "Busy"});

  chkSquelch_ = NewCheck(this, "chkSquelch", Q(L.GetLangText(1745)));
  cboSquelch_ = NewCombo(this, "cboSquelch");
  cboSquelch_->addItems({Q(L.GetLangText(1784)), Q(L.GetLangText(1785)), Q(L.GetLangText(1786)),
                         Q(L.GetLangText(1787)), Q(L.GetLangText(1788))});

  // Layout: the check box naming the field, then its value.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  auto hbox = [](std::initializer_list<QWidget*> widgets) {
    auto* h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) h->addWidget(w);
    h->addStretch(1);
    return h;
  };
  int r = 0;
  auto add = [&](QCheckBox* use, QHBoxLayout* value) {
    grid->addWidget(use, r, 0);
    grid->addLayout(value, r, 1);
    ++r;
  };
  add(chkPower_, hbox({cboPower_}));
  add(chkBandwidth_, hbox({cboBandwidth_}));
  add(chkStep_, hbox({cboStep_}));
  for (ToneControls& t : tone_) add(t.use, hbox({t.type, t.ctcss, t.dcs, t.inverted}));
  add(chkScanSkip_, hbox({cboScanSkip_}));
  add(chkSignalling_, hbox({cboSignalling_, cboSignallingCode_}));
  add(chkBusyLock_, hbox({cboBusyLock_}));
  add(chkSquelch_, hbox({cboSquelch_}));
  grid->setColumnStretch(1, 1);

  lblInfo_ = new QLabel(Q(L.GetLangText(1092)).arg(channels), this);
  lblInfo_->setObjectName("lblInfo");
  lblInfo_->setWordWrap(true);

  QPushButton *ok, *cancel;
  QHBoxLayout* buttons = OkCancelRow(this, &ok, &cancel);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(lblInfo_);
  outer->addSpacing(4);
  outer->addLayout(grid);
  outer->addSpacing(6);
  outer->addLayout(buttons);

  for (QCheckBox* c : findChildren<QCheckBox*>())
    connect(c, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  for (ToneControls& t : tone_)
    connect(t.type, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(cboSignalling_, &QComboBox::currentIndexChanged, this, [this] {
    FillSignallingCodes();
    UpdateEnabled();
  });
  FillSignallingCodes();
  UpdateEnabled();
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);
}

void DlgBulkEdit::FillSignallingCodes() {
  cboSignallingCode_->clear();
  switch (cboSignalling_->currentData().toInt()) {
    case 1:
      for (int i = 0; i < 16; ++i) cboSignallingCode_->addItem(QString("M%1").arg(i + 1), i);
      break;
    case 2:
      for (int j = 0; j < kTwoToneEntries; ++j)
        if (TwoToneEntryInUse(ws_.settings.TwoTone, j))
          cboSignallingCode_->addItem(QString::number(j), j);
      break;
    case 3:
      for (int j = 0; j < 100; ++j)
        if (FiveToneCodeInUse(ws_.settings.FiveTone, j))
          cboSignallingCode_->addItem(QString::number(j), j);
      break;
    default:
      break;
  }
}

void DlgBulkEdit::UpdateEnabled() {
  cboStep_->setEnabled(chkStep_->isChecked());
  cboBandwidth_->setEnabled(chkBandwidth_->isChecked());
  cboPower_->setEnabled(chkPower_->isChecked());
  for (ToneControls& t : tone_) {
    const bool on = t.use->isChecked();
    t.type->setEnabled(on);
    t.ctcss->setEnabled(on && t.type->currentIndex() == ToneCtcss);
    t.dcs->setEnabled(on && t.type->currentIndex() == ToneDcs);
    t.inverted->setEnabled(on && t.type->currentIndex() == ToneDcs);
  }
  cboScanSkip_->setEnabled(chkScanSkip_->isChecked());
  cboSignalling_->setEnabled(chkSignalling_->isChecked());
  cboSignallingCode_->setEnabled(chkSignalling_->isChecked() && cboSignallingCode_->count() > 0);
  cboBusyLock_->setEnabled(chkBusyLock_->isChecked());
  cboSquelch_->setEnabled(chkSquelch_->isChecked());
}

BulkEdit DlgBulkEdit::Edit() const {
  BulkEdit e;
  if (chkStep_->isChecked()) e.step = Chosen(cboStep_);
  if (chkBandwidth_->isChecked()) e.bandwidth = Chosen(cboBandwidth_);
  if (chkPower_->isChecked()) e.power = Chosen(cboPower_);
  for (int s = 0; s < 2; ++s) {
    const ToneControls& t = tone_[s];
    if (!t.use->isChecked()) continue;
    ToneChoice c;
    c.type = Chosen(t.type);
    c.ctcss = Chosen(t.ctcss);
    c.dcs = Chosen(t.dcs);
    c.inverted = t.inverted->isChecked();
    (s == 0 ? e.toneA : e.toneB) = c;
  }
  if (chkScanSkip_->isChecked()) e.scanSkip = cboScanSkip_->currentIndex() == 1;
  if (chkSignalling_->isChecked()) {
    SignallingChoice s;
    s.kind = static_cast<int16_t>(cboSignalling_->currentData().toInt());
    s.code = static_cast<int16_t>(
        cboSignallingCode_->currentIndex() < 0 ? 0 : cboSignallingCode_->currentData().toInt());
    e.signalling = s;
  }
  if (chkBusyLock_->isChecked()) e.busyLock = Chosen(cboBusyLock_);
  if (chkSquelch_->isChecked()) e.squelchMode = Chosen(cboSquelch_);
  return e;
}

}  // namespace kvx

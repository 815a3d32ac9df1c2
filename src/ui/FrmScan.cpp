#include "ui/FrmScan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app/AppState.h"
#include "core/image/Channels.h"
#include "core/lang/LanguageTable.h"
#include "ui/FormHelpers.h"
#include "ui/FrmSettingsCommon.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

// Tenths of a second from `first` to `last`, one decimal ("0.5" ... "5.0").
QStringList TenthsTexts(int first, int last) {
  QStringList texts;
  for (int t = first; t <= last; ++t) texts << QStringLiteral("%1.%2").arg(t / 10).arg(t % 10);
  return texts;
}

// The revert-table entries offered for each priority mode.
const std::vector<int>& RevertEntriesOfMode(int mode) {
  static const std::vector<int> kModes[4] = {
      {0, 1, 4, 5}, {0, 1, 2, 4, 5, 6}, {0, 1, 3, 4, 5, 7}, {0, 1, 2, 3, 4, 5, 6, 7}};
  return kModes[mode >= 0 && mode < 4 ? mode : 0];
}

QComboBox* NewList(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->setMinimumContentsLength(7);
  return box;
}

}  // namespace

FrmScan::FrmScan(ScanSettings& scan, const ChannelList& channels, const AppState& app,
                 const LanguageTable& lang, QWidget* parent)
    : QDialog(parent), scan_(scan), app_(app), lang_(lang), work_(scan) {
  setObjectName("FrmScan");
  kv520_ = IsKv520(app_);
  const LanguageTable& L = lang_;

  auto* hidden = new QWidget(this);
  hidden->setObjectName("HiddenControls");
  hidden->hide();

  scanMode_ = NewList(this, "ComboScanMode");
  priorityMode_ = NewList(this, "ComboPriorityMode");
  priorityChannel1_ = NewList(this, "ComboPriorityChannel1");
  priorityChannel2_ = NewList(this, "ComboPriorityChannel2");
  revert_ = NewList(this, "ComboRevert");
  backTimeA_ = NewList(this, "ComboBackTimeA");
  backTimeB_ = NewList(this, "ComboBackTimeB");
  rxResume_ = NewList(this, "ComboRxResume");
  txResume_ = NewList(this, "ComboTxResume");
  entryTone_ = new QCheckBox(this);
  entryTone_->setObjectName("CheckEntryTone");
  group1_ = NewList(hidden, "ComboGroup1");
  group2_ = NewList(hidden, "ComboGroup2");
  revertTable_ = NewList(hidden, "ComboRevertTable");
  scanType_ = NewList(hidden, "ComboScanType");
  waitTime_ = NewList(hidden, "ComboWaitTime");

  // Localise.
  setWindowTitle(Q(L.GetLangText(2400)));
  struct Row {
    const char* name;
    QString text;
    QComboBox* list;
  };
  const Row rows[] = {
      {"LabelScanMode", Q(L.GetLangText(2402)), scanMode_},
      {"LabelPriorityMode", Q(L.GetLangText(2403)), priorityMode_},
      {"LabelPriorityChannel1", Q(L.GetLangText(2404)), priorityChannel1_},
      {"LabelPriorityChannel2", Q(L.GetLangText(2405)), priorityChannel2_},
      {"LabelRevert", Q(L.GetLangText(2406)), revert_},
      {"LabelBackTimeA", Q(L.GetLangText(2407)), backTimeA_},
      {"LabelBackTimeB", Q(L.GetLangText(2408)), backTimeB_},
      {"LabelRxResume", Q(L.GetLangText(2409)), rxResume_},
      {"LabelTxResume", Q(L.GetLangText(2410)), txResume_},
      {"LabelScanType", Q(L.GetLangText(2411)), scanType_},
      {"LabelWaitTime", Q(L.GetLangText(2412)), waitTime_},
  };
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(7);
  int index = 0;
  for (const Row& row : rows) {
    const bool shown = row.list->parent() == this;
    auto* label = RightLabel(row.name, shown ? this : hidden);
    label->setText(row.text);
    label->setBuddy(row.list);
    if (shown) {
      // Scan mode to revert channel on the left, the times on the right.
      const int r = index < 5 ? index : index - 5;
      const int c = index < 5 ? 0 : 2;
      grid->addWidget(label, r, c);
      grid->addWidget(row.list, r, c + 1);
      ++index;
    }
  }
  entryTone_->setText(Q(L.GetLangText(2413)));
  grid->addWidget(entryTone_, 4, 3);
  grid->setColumnMinimumWidth(2, 120);

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  QPushButton *ok = nullptr, *cancel = nullptr;
  outer->addLayout(OkCancelRow(this, &ok, &cancel));
  connect(ok, &QPushButton::clicked, this, &FrmScan::OnOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  LocalizeOkCancel(this, L);
  ApplyLanguageToForm(this, L);

  // Fill the lists.
  const QString p1 = Q(L.GetLangText(2403)) + "1";
  const QString p2 = Q(L.GetLangText(2403)) + "2";
  const QString back = Q(L.GetLangText(2433));
  revertTexts_ = {Q(L.GetLangText(2432)),
                  Q(L.GetLangText(2432)) + " + " + back,
                  p1,
                  p2,
                  Q(L.GetLangText(2434)),
                  Q(L.GetLangText(2435)),
                  p1 + " + " + back,
                  p2 + " + " + back};
  FillList(scanMode_, {Q(L.GetLangText(2430)), Q(L.GetLangText(2431))}, work_.ScanMode);
  FillList(priorityMode_, {Q(L.GetLangText(2430)), p1, p2, p1 + " + " + p2}, work_.PriorityMode);
  channelNumbers_ = OrdinaryChannelNumbers(channels, true);
  QStringList channelTexts;
  for (int n : channelNumbers_) channelTexts << MemoryChannelText(n, kv520_);
  FillList(priorityChannel1_, channelTexts, IndexOfValue(channelNumbers_, work_.PriorityChannel1));
  FillList(priorityChannel2_, channelTexts, IndexOfValue(channelNumbers_, work_.PriorityChannel2));
  FillList(revertTable_, QStringList(revertTexts_.begin(), revertTexts_.end()),
           work_.RevertChannel);
  FillList(backTimeA_, TenthsTexts(5, 50), work_.ScanBackTimeA);
  FillList(backTimeB_, TenthsTexts(5, 50), work_.ScanBackTimeB);
  FillList(rxResume_, TenthsTexts(1, 50), work_.RxResumeDelay);
  FillList(txResume_, TenthsTexts(1, 50), work_.TxResumeDelay);
  FillList(scanType_,
           {Q(L.GetLangText(2436)), Q(L.GetLangText(2437)), Q(L.GetLangText(2438)),
            Q(L.GetLangText(2439))},
           work_.ScanType);
  FillList(waitTime_, NumberTexts(50, 6375, 25), work_.WaitTime - 2);

  // A tone value above 1 is taken as 0, and that is what the record keeps from now on.
  if (work_.ScanEntryTone > 1) work_.ScanEntryTone = 0;
  entryTone_->setChecked(work_.ScanEntryTone == 1);

  priorityChannel1_->setEnabled(false);
  priorityChannel2_->setEnabled(false);
  InitRevertList();
  const int shown = IndexOfValue(revertShown_, work_.RevertChannel);
  const QSignalBlocker block(revert_);
  revert_->setCurrentIndex(shown >= 0 ? shown : 0);
  ApplyEnableRules();
  scan_ = work_;

  connect(scanMode_, &QComboBox::activated, this, [this] { ApplyEnableRules(); });
  connect(priorityMode_, &QComboBox::activated, this, [this] { OnPriorityModeChosen(); });
  connect(revert_, &QComboBox::activated, this, [this] {
    const int table = ShownRevertIndex();
    work_.RevertChannel = static_cast<uint8_t>(table >= 0 ? table : 0);
  });
  InstallEnterMovesFocus(this);
}

void FrmScan::InitRevertList() {
  const int mode = priorityMode_->currentIndex();
  revertShown_ = RevertEntriesOfMode(mode);
  QStringList texts;
  for (int i : revertShown_) texts << revertTexts_[static_cast<size_t>(i)];
  FillList(revert_, texts, -1);
  if (mode == 1 || mode == 3) priorityChannel1_->setEnabled(true);
  if (mode == 2 || mode == 3) priorityChannel2_->setEnabled(true);
}

int FrmScan::ShownRevertIndex() const {
  const int at = revert_->currentIndex();
  if (at < 0 || at >= static_cast<int>(revertShown_.size())) return -1;
  return revertShown_[static_cast<size_t>(at)];
}

void FrmScan::ApplyEnableRules() {
  const bool scanning = scanMode_->currentIndex() == 1;
  for (QWidget* w :
       std::initializer_list<QWidget*>{priorityMode_, priorityChannel1_, priorityChannel2_, revert_,
                                       backTimeA_, backTimeB_, rxResume_, txResume_, entryTone_})
    w->setEnabled(scanning);
  if (!scanning) return;
  const int mode = priorityMode_->currentIndex();
  if (mode == 0 || mode == 2) priorityChannel1_->setEnabled(false);
  if (mode == 0 || mode == 1) priorityChannel2_->setEnabled(false);
}

void FrmScan::OnPriorityModeChosen() {
  const int previous = ShownRevertIndex();
  InitRevertList();
  ApplyEnableRules();
  const int at = IndexOfValue(revertShown_, previous);
  const QSignalBlocker block(revert_);
  revert_->setCurrentIndex(at >= 0 ? at : 0);
  work_.RevertChannel = static_cast<uint8_t>(ShownRevertIndex() >= 0 ? ShownRevertIndex() : 0);
}

void FrmScan::OnOk() {
  auto indexOf = [](const QComboBox* box) {
    return static_cast<uint8_t>(box->currentIndex() >= 0 ? box->currentIndex() : 0);
  };
  work_.ScanMode = indexOf(scanMode_);
  work_.PriorityMode = indexOf(priorityMode_);
  work_.ScanBackTimeA = indexOf(backTimeA_);
  work_.ScanBackTimeB = indexOf(backTimeB_);
  work_.RxResumeDelay = indexOf(rxResume_);
  work_.TxResumeDelay = indexOf(txResume_);
  work_.ScanType = indexOf(scanType_);
  const int revert = ShownRevertIndex();
  work_.RevertChannel = static_cast<uint8_t>(revert >= 0 ? revert : 0);
  work_.WaitTime = static_cast<uint8_t>(indexOf(waitTime_) + 2);
  work_.ScanEntryTone = entryTone_->isChecked() ? 1 : 0;
  auto channelOf = [this](const QComboBox* box) {
    const int at = box->currentIndex();
    if (at < 0 || at >= static_cast<int>(channelNumbers_.size())) return uint8_t{0};
    return static_cast<uint8_t>(channelNumbers_[static_cast<size_t>(at)]);
  };
  work_.PriorityChannel1 = channelOf(priorityChannel1_);
  work_.PriorityChannel2 = channelOf(priorityChannel2_);
  scan_ = work_;
  accept();
}

}  // namespace kvx

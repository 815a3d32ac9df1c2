#include "ui/ChannelGridModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "core/app/BandTable.h"
#include "core/files/Workspace.h"
#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "ui/UiText.h"

namespace kvx {

namespace {
const QColor kHeadColour(0, 0, 155);
const QColor kLabelColour(0, 0, 255);
const QColor kEvenRowColour(250, 250, 240);
}  // namespace

ChannelGridModel::ChannelGridModel(const Workspace& ws, Prompts* prompts, QObject* parent)
    : QAbstractTableModel(parent), ws_(ws), prompts_(prompts), cells_(kRows), labels_(kRows) {}

int ChannelGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRows;
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= kRows || index.column() >= kColumns) return {};
  switch (role) {
    case Qt::DisplayRole:
      return cells_[index.row()][index.column()];
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    case Qt::BackgroundRole: {
      const int gridRow = index.row() + 1;
      if (gridRow % 2 == 0) return QBrush(kEvenRowColour);
      return {};
    }
    default:
      return {};
  }
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) return heads_[section];
    if (role == Qt::ForegroundRole) return QBrush(kHeadColour);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
  }
  if (section < 0 || section >= kRows) return {};
  if (role == Qt::DisplayRole) return labels_[section];
  if (role == Qt::ForegroundRole) return QBrush(kLabelColour);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

void ChannelGridModel::LoadShowList() {
  const LanguageTable& L = ws_.lang;
  labelHead_ = Q(L.GetLangText(3006));
  heads_[0] = Q(L.GetLangText(1101));
  heads_[1] = Q(L.GetLangText(1140));
  heads_[2] = Q(L.GetLangText(1103));
  heads_[3] = Q(L.GetLangText(1104));
  heads_[4] = Q(L.GetLangText(1106));
  heads_[5] = Q(L.GetLangText(1108));
  heads_[6] = Q(L.GetLangText(1109));
  heads_[7] = Q(L.GetLangText(1107)) + "\n" + Q(L.GetLangText(1112));
  heads_[8] = Q(L.GetLangText(1107)) + "\n" + Q(L.GetLangText(1113));
  heads_[9] = Q(L.GetLangText(1110));

  none_ = Q(L.GetLangText(1206));
  listFlag0_ = Q(L.GetLangText(1202));
  listFlag1_ = Q(L.GetLangText(1203));
  power_ = {Q(L.GetLangText(1204)), Q(L.GetLangText(1221)), Q(L.GetLangText(1205))};
  steps_.clear();
  for (std::string_view s : StepTexts(ws_.app.BandCode)) steps_.push_back(Q(s));
}

void ChannelGridModel::RefreshLabels() {
  kv520_ = DisplayModelName(ws_.app.RadioType, ws_.app.BandCode) == "KV-520";
  for (int r = 1; r <= kRows; ++r) {
    QString label;
    switch (r) {
      case kChannelPA:
        label = "PA";
        break;
      case kChannelPB:
        label = "PB";
        break;
      case kChannelCall:
        label = "CALL";
        break;
      case kChannelVfo:
        label = "VFO";
        break;
      default:
        label = QString::number(kv520_ ? r : r - 1);
    }
    labels_[r - 1] = label;
  }
}

ChannelGridModel::RowTexts ChannelGridModel::TextsOf(const ChannelRecord& c) const {
  const BandCheck check{&ws_.app, prompts_, {}};
  RowTexts t;
  const std::string rx = FreqTextToDisplay(c.RxFreq.Clean(), check);
  const std::string offset = OffsetTextToDisplay(c.Offset.Clean(), check);
  t[0] = Q(rx);
  t[1] = Q(TransmitFreqDisplay(rx, offset, c.Shift));
  t[2] = QL1(c.Name.Clean());
  if (c.Step >= 0 && c.Step < static_cast<int>(steps_.size())) t[3] = steps_[c.Step];
  // One rule for both redraws: a value above 2 shows as the narrowest bandwidth.
  const int bw = c.Bandwidth < 0 ? 0 : (c.Bandwidth > 2 ? 2 : c.Bandwidth);
  t[4] = Q(kBandwidthListTexts[bw]);
  t[5] = c.ListFlag == 1 ? listFlag1_ : listFlag0_;
  t[6] = power_[(c.Power >= 0 && c.Power <= 2) ? c.Power : 0];
  const std::string none = U8(none_);
  t[7] = Q(ToneSettingDisplay(c.ToneAType, c.ToneACtcss, c.ToneADcs, c.ToneAInverted, none));
  t[8] = Q(ToneSettingDisplay(c.ToneBType, c.ToneBCtcss, c.ToneBDcs, c.ToneBInverted, none));
  switch (c.Signalling) {
    case 1:
      t[9] = QString("DTMF M%1").arg(c.DtmfCode + 1);
      break;
    case 2:
      t[9] = QString("2tone %1").arg(c.TwoToneCode);
      break;
    case 3:
      t[9] = QString("5tone %1").arg(c.FiveToneCode);
      break;
    default:
      t[9] = none_;
  }
  return t;
}

void ChannelGridModel::ShowListByData() {
  // The grid's shape never changes, so the cells and headers whose texts changed are announced
  // rather than the model reset: the view keeps its current cell, selection and scroll
  // position, does not lay itself out again, and repaints only what is new.
  const auto oldHeads = heads_;
  const QString oldLabelHead = labelHead_;
  const auto oldLabels = labels_;
  const auto oldCells = std::move(cells_);
  LoadShowList();
  RefreshLabels();
  cells_.assign(kRows, RowTexts{});
  for (const ChannelRecord& c : ws_.channels.Used())
    if (c.Number >= 1 && c.Number <= kRows) cells_[c.Number - 1] = TextsOf(c);

  int first = kRows, last = -1;
  for (int r = 0; r < kRows; ++r)
    if (r >= static_cast<int>(oldCells.size()) || cells_[r] != oldCells[r]) {
      first = std::min(first, r);
      last = r;
    }
  if (last >= 0) emit dataChanged(index(first, 0), index(last, kColumns - 1), {Qt::DisplayRole});
  if (heads_ != oldHeads || labelHead_ != oldLabelHead)
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
  if (labels_ != oldLabels) emit headerDataChanged(Qt::Vertical, 0, kRows - 1);
}

void ChannelGridModel::ReShowGrid(int row) {
  if (row < 1 || row > kRows) return;
  const ChannelRecord* c = ws_.channels.Find(row);
  cells_[row - 1] = c ? TextsOf(*c) : RowTexts{};
  emit dataChanged(index(row - 1, 0), index(row - 1, kColumns - 1), {Qt::DisplayRole});
}

QString ChannelGridModel::CellText(int row, int column) const {
  if (row < 0 || row > kRows || column < 0 || column > kColumns) return {};
  if (row == 0) return column == 0 ? labelHead_ : heads_[column - 1];
  if (column == 0) return labels_[row - 1];
  return cells_[row - 1][column - 1];
}

bool ChannelGridModel::RowHidden(int row) const {
  return kv520_ && row == 200;
}

int ChannelGridModel::RowOfLabel(const QString& label) const {
  const QString wanted = label.trimmed();
  if (wanted.isEmpty()) return 0;
  for (int r = 1; r <= kRows; ++r)
    if (!RowHidden(r) && labels_[r - 1].compare(wanted, Qt::CaseInsensitive) == 0) return r;
  return 0;
}

int ChannelGridModel::FindRow(const QString& text, int fromRow, bool includeFrom) const {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return 0;
  const int start = std::clamp(fromRow, 1, kRows);
  for (int i = includeFrom ? 0 : 1; i <= kRows; ++i) {
    const int r = (start - 1 + i) % kRows + 1;
    if (RowHidden(r)) continue;
    const RowTexts& t = cells_[r - 1];
    // Columns 1-3: receive frequency, transmit frequency, name.
    for (int c = 0; c < 3; ++c)
      if (t[c].contains(wanted, Qt::CaseInsensitive)) return r;
  }
  return 0;
}

}  // namespace kvx

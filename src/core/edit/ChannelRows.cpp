#include "core/edit/ChannelRows.h"

#include <algorithm>

#include "core/image/Tones.h"

namespace kvx {

namespace {

bool KeptByDelete(int row) {
  return row == kChannelCall || row == kChannelVfo;
}

bool SignallingOffered(int kind, const FeatureFlags& f) {
  switch (kind) {
    case 1:
      return f.DtmfFeature != 0;
    case 2:
      return f.TwoToneFeature != 0;
    case 3:
      return f.FiveToneFeature != 0;
    default:
      return false;
  }
}

// The dialog fills its fields only for a channel with a receive frequency.
bool Editable(const ChannelRecord& c) {
  const std::string rx = c.RxFreq.Clean();
  return !rx.empty() && rx != "FFFFFFFFF";
}

void ApplyTone(const ToneChoice& t, int16_t& type, int16_t& ctcss, int16_t& dcs,
               int16_t& inverted) {
  type = t.type;
  if (t.type == ToneCtcss) {
    ctcss = t.ctcss;
  } else if (t.type == ToneDcs) {
    dcs = t.dcs;
    inverted = t.inverted ? 1 : 0;
  }
}

}  // namespace

void CopyRows(const ChannelList& list, std::span<const int> rows, RowsClipboard& clip) {
  clip.rows.clear();
  for (int row : rows) {
    ChannelClipboard one;
    one.Record.InUse = 0;
    CopyChannel(list, one, row);
    if (one.Record.InUse == 1)
      clip.rows.emplace_back(one.Record);
    else
      clip.rows.emplace_back(std::nullopt);
  }
}

void CutRows(ChannelList& list, std::span<const int> rows, RowsClipboard& clip) {
  CopyRows(list, rows, clip);
  for (size_t i = 0; i < rows.size(); ++i)
    if (clip.rows[i] && !KeptByDelete(rows[i])) list.DeleteChannel(rows[i]);
}

int DeleteRows(ChannelList& list, std::span<const int> rows) {
  int deleted = 0;
  for (int row : rows)
    if (!KeptByDelete(row) && list.DeleteChannel(row)) ++deleted;
  return deleted;
}

PasteRowsResult PasteRows(ChannelList& list, const RowsClipboard& clip,
                          std::span<const int> targets) {
  if (clip.Empty()) return PasteRowsResult::NothingToPaste;
  if (targets.size() < clip.rows.size()) return PasteRowsResult::PastLastRow;
  for (size_t i = 0; i < clip.rows.size(); ++i)
    if (!clip.rows[i] && KeptByDelete(targets[i])) return PasteRowsResult::EmptiesCallOrVfo;
  for (size_t i = 0; i < clip.rows.size(); ++i) {
    ChannelClipboard one;
    one.ClipboardFilled = true;
    if (clip.rows[i]) {
      one.Record = *clip.rows[i];
    } else {
      one.Record.InUse = 0;
    }
    PasteChannel(list, one, targets[i]);
  }
  return PasteRowsResult::Pasted;
}

bool BulkEdit::Empty() const {
  return !step && !bandwidth && !power && !toneA && !toneB && !scanSkip && !signalling &&
         !busyLock && !squelchMode;
}

std::vector<int> OfferedSquelchModes(const ChannelRecord& c, const FeatureFlags& features) {
  const int deciding = c.Reverse != 0 ? c.ToneBType : c.ToneAType;
  const bool tone = deciding == ToneCtcss || deciding == ToneDcs;
  const bool signalling = SignallingOffered(c.Signalling, features);
  if (tone && signalling) return {0, 1, 2, 3, 4};
  if (tone) return {0, 1};
  if (signalling) return {0, 2};
  return {0};
}

std::vector<int> ApplyBulkEdit(ChannelList& list, std::span<const int> rows, const BulkEdit& edit,
                               const FeatureFlags& features) {
  std::vector<int> changed;
  if (edit.Empty()) return changed;
  const bool squelchRule = edit.toneA || edit.toneB || edit.signalling || edit.squelchMode;
  for (int row : rows) {
    ChannelRecord* found = list.Find(row);
    if (!found || !Editable(*found)) continue;
    ChannelRecord c = *found;
    c.InUse = 1;
    if (edit.step) c.Step = *edit.step;
    if (edit.bandwidth) c.Bandwidth = *edit.bandwidth;
    if (edit.power) c.Power = *edit.power;
    if (edit.toneA) ApplyTone(*edit.toneA, c.ToneAType, c.ToneACtcss, c.ToneADcs, c.ToneAInverted);
    if (edit.toneB) ApplyTone(*edit.toneB, c.ToneBType, c.ToneBCtcss, c.ToneBDcs, c.ToneBInverted);
    if (edit.scanSkip && row != kChannelPA && row != kChannelPB && row != kChannelVfo)
      c.ScanSkip = *edit.scanSkip ? 1 : 0;
    if (edit.signalling) {
      const SignallingChoice& s = *edit.signalling;
      c.Signalling = SignallingOffered(s.kind, features) ? s.kind : 0;
      if (c.Signalling == 1) c.DtmfCode = s.code;
      if (c.Signalling == 2) c.TwoToneCode = s.code;
      if (c.Signalling == 3) c.FiveToneCode = s.code;
    }
    if (edit.busyLock) c.BusyLock = *edit.busyLock;
    if (edit.squelchMode) c.SquelchMode = *edit.squelchMode;
    if (squelchRule) {
      const std::vector<int> offered = OfferedSquelchModes(c, features);
      if (std::find(offered.begin(), offered.end(), c.SquelchMode) == offered.end())
        c.SquelchMode = 0;
    }
    if (!(c == *found)) {
      *found = c;
      changed.push_back(row);
    }
  }
  return changed;
}

}  // namespace kvx

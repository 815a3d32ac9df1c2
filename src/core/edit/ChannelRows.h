#pragma once
// Commands of the channel list on several rows at once: copy, cut, paste and delete of a run of
// rows, the bulk edit of chosen fields, and the squelch modes a channel's tone and signalling
// settings allow. With one row the grid keeps its one-channel clipboard (core/image/Channels.h).
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/app/AppState.h"
#include "core/image/Channels.h"

namespace kvx {

// The rows copied or cut together, in row order: each the channel of that row, or nothing for
// a row without a channel in use (pasting it empties the target row, as the one-channel
// clipboard does).
struct RowsClipboard {
  std::vector<std::optional<ChannelRecord>> rows;
  bool Empty() const { return rows.empty(); }
};

// Copy of each row as the one-channel copy takes it (the first record of that number with
// InUse 1).
void CopyRows(const ChannelList& list, std::span<const int> rows, RowsClipboard& clip);
// Copy, then delete every row that gave a channel, except CALL and VFO.
void CutRows(ChannelList& list, std::span<const int> rows, RowsClipboard& clip);
// Deletes the channels of the rows, except CALL and VFO. Returns how many were deleted.
int DeleteRows(ChannelList& list, std::span<const int> rows);

enum class PasteRowsResult {
  Pasted,
  NothingToPaste,    // the clipboard is empty
  PastLastRow,       // fewer target rows than copied rows
  EmptiesCallOrVfo,  // an empty copied row would land on CALL or VFO
};
// Writes copied row i onto row targets[i]; the targets beyond the clipboard are not used.
// Every check is made first: a refused paste changes nothing.
PasteRowsResult PasteRows(ChannelList& list, const RowsClipboard& clip,
                          std::span<const int> targets);

// --- bulk edit ---------------------------------------------------------------------------

struct ToneChoice {
  int16_t type = 0;   // ToneType
  int16_t ctcss = 0;  // used when type is CTCSS
  int16_t dcs = 0;    // used with `inverted` when type is DCS
  bool inverted = false;
};
struct SignallingChoice {
  int16_t kind = 0;  // 0 none, 1 DTMF, 2 two-tone, 3 five-tone
  int16_t code = 0;  // DTMF: code position (M1 is 0); two-/five-tone: the entry's number
};
// The fields a bulk edit sets; an empty field is left as each channel has it.
struct BulkEdit {
  std::optional<int16_t> step, bandwidth, power;
  std::optional<ToneChoice> toneA, toneB;
  std::optional<bool> scanSkip;
  std::optional<SignallingChoice> signalling;
  std::optional<int16_t> busyLock, squelchMode;
  bool Empty() const;
};

// The squelch modes (0-4) the channel edit dialog offers for this channel: the tone type that
// decides is setting A's, or setting B's when reverse is set; signalling counts only when its
// feature is on.
std::vector<int> OfferedSquelchModes(const ChannelRecord& c, const FeatureFlags& features);

// Sets the chosen fields on the channels of `rows` by the rules of the channel edit dialog's
// store: rows without a channel, or whose channel has no receive frequency, are left alone;
// scan skip is not set on PA, PB and VFO; a tone type other than CTCSS and DCS keeps the
// stored tone; an edited channel is in use; when tones, signalling or the squelch mode are set,
// a squelch mode the channel's settings no longer allow becomes mode 0. Returns the numbers of
// the channels changed.
std::vector<int> ApplyBulkEdit(ChannelList& list, std::span<const int> rows, const BulkEdit& edit,
                               const FeatureFlags& features);

}  // namespace kvx

#pragma once
// Keeping references to two-tone entries and five-tone decode codes valid after the entries
// changed: a reference to an entry no longer in use moves to the lowest-numbered entry in use,
// or to 0 when none is.
#include <cstdint>

namespace kvx {

struct TwoToneSettings;
struct FiveToneSettings;
struct ChannelList;
struct AlertSettings;

// The reference itself when that entry is in use, else the first entry in use, else 0.
int16_t ValidTwoToneRef(const TwoToneSettings& twoTone, int16_t ref);
int16_t ValidFiveToneRef(const FiveToneSettings& fiveTone, int16_t ref);

// For every channel in the list: Signalling 2 (two-tone) re-points TwoToneCode, Signalling 3
// (five-tone) re-points FiveToneCode. The caller redraws the channel list.
void RepairSignallingRefs(ChannelList& channels, const TwoToneSettings& twoTone,
                          const FiveToneSettings& fiveTone);

// After the five-tone editor's OK: a five-tone identification code (IdCodeType 2) is
// re-pointed like a channel reference; a DTMF one is left alone.
void RepointAlertIdCode(AlertSettings& alert, const FiveToneSettings& fiveTone);

}  // namespace kvx

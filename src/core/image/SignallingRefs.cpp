#include "core/image/SignallingRefs.h"

#include "core/image/Alert.h"
#include "core/image/Channels.h"
#include "core/image/FiveTone.h"
#include "core/image/TwoTone.h"

namespace kvx {

int16_t ValidTwoToneRef(const TwoToneSettings& twoTone, int16_t ref) {
  if (TwoToneEntryInUse(twoTone, ref)) return ref;
  for (int n = 0; n < kTwoToneEntries; ++n)
    if (TwoToneEntryInUse(twoTone, n)) return static_cast<int16_t>(n);
  return 0;
}

int16_t ValidFiveToneRef(const FiveToneSettings& fiveTone, int16_t ref) {
  if (FiveToneCodeInUse(fiveTone, ref)) return ref;
  for (int j = 0; j < kFiveToneCodes; ++j)
    if (FiveToneCodeInUse(fiveTone, j)) return static_cast<int16_t>(j);
  return 0;
}

void RepairSignallingRefs(ChannelList& channels, const TwoToneSettings& twoTone,
                          const FiveToneSettings& fiveTone) {
  for (ChannelRecord& c : channels.Used()) {
    if (c.Signalling == 2) c.TwoToneCode = ValidTwoToneRef(twoTone, c.TwoToneCode);
    if (c.Signalling == 3) c.FiveToneCode = ValidFiveToneRef(fiveTone, c.FiveToneCode);
  }
}

void RepointAlertIdCode(AlertSettings& alert, const FiveToneSettings& fiveTone) {
  if (alert.IdCodeType != 2) return;
  alert.IdCode = static_cast<uint8_t>(ValidFiveToneRef(fiveTone, alert.IdCode));
}

}  // namespace kvx

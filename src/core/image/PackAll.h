#pragma once
// Encoding all records into the RadioImage and decoding them back, in the fixed orders.
//
// PackAll: scan, alert, FM list, AM list, channels always run; then optional features,
// five-tone, two-tone, DTMF and communication book, each only while PackOk is still true. A
// failing encoder shows its own message through ctx.prompts and the rest of the second group
// does not run. Requires a freshly prepared image (ClearImage).
//
// UnpackAll: channels, scan, alert, radio information, FM list, AM list, optional features,
// five-tone, two-tone, DTMF, communication book. Decoders never fail as a whole.
#include "core/files/Workspace.h"
#include "core/image/CodecContext.h"

namespace kvx {

// Returns PackOk. `settings` and `channels` may be changed by encoders that normalise what
// they encode (the book is sorted, ...); pass a copy when the working data must stay as they
// are (the production export).
bool PackAll(SettingsRecord& settings, ChannelList& channels, RadioImage& image,
             const CodecContext& ctx);
void UnpackAll(RadioImage& image, SettingsRecord& settings, ChannelList& channels,
               RadioInfo& radioInfo, const CodecContext& ctx);

}  // namespace kvx

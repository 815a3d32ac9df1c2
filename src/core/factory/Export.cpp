#include "core/factory/Export.h"

#include <memory>

#include "core/factory/AutoTest.h"
#include "core/image/PackAll.h"
#include "core/image/RadioImage.h"

namespace kvx {

ExportOutcome RunAutoTestExport(Workspace& ws, const std::string& path, Prompts* prompts) {
  ExportOutcome out;
  AutoTestState& rec = ws.autoTest;
  ClearImage(ws.image, [&rec] { rec.ResetExport(); });

  // Encoders change what they encode (the book is sorted, empty broadcast entries are marked,
  // the DTMF own ID is completed): they work on a copy.
  auto settings = std::make_unique<SettingsRecord>(ws.settings);
  auto channels = std::make_unique<ChannelList>(ws.channels);
  const CodecContext ctx{prompts, &ws.app, &rec};
  out.packOk = PackAll(*settings, *channels, ws.image, ctx);

  out.written = WriteEpmFile(path, rec, ws.image);
  if (!out.written && prompts) prompts->Message(kEpmFileError, Icon::None, Buttons::Ok);
  return out;
}

}  // namespace kvx

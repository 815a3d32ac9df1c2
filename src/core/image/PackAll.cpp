#include "core/image/PackAll.h"

#include "core/image/Alert.h"
#include "core/image/Book.h"
#include "core/image/Broadcast.h"
#include "core/image/Channels.h"
#include "core/image/Dtmf.h"
#include "core/image/FiveTone.h"
#include "core/image/Options.h"
#include "core/image/RadioInfo.h"
#include "core/image/Scan.h"
#include "core/image/TwoTone.h"

namespace kvx {

bool PackAll(SettingsRecord& settings, ChannelList& channels, RadioImage& image,
             const CodecContext& ctx) {
  // The first five always run, whatever the ones before them reported.
  bool packOk = EncodeScan(settings.Scan, image, ctx);
  packOk = EncodeAlert(settings.Alert, image, ctx) && packOk;
  packOk = EncodeFm(settings.Fm, image, ctx) && packOk;
  packOk = EncodeAm(settings.Am, image, ctx) && packOk;
  packOk = PackChannels(channels, image, ctx) && packOk;
  // The second group stops at the first failure.
  packOk = packOk && EncodeOptions(settings.Options, settings.Switch4, settings.Switch6,
                                   settings.Ble, settings.Dtmf.SendTime, image, ctx);
  packOk = packOk && EncodeFiveTone(settings.FiveTone, settings.DecodeTime, image, ctx);
  packOk = packOk && EncodeTwoTone(settings.TwoTone, image, ctx);
  packOk = packOk && EncodeDtmf(settings.Dtmf, image, ctx);
  packOk = packOk && EncodeBook(settings.Book, image, ctx);
  return packOk;
}

void UnpackAll(RadioImage& image, SettingsRecord& settings, ChannelList& channels,
               RadioInfo& radioInfo, const CodecContext& ctx) {
  UnpackChannels(channels, image, ctx);
  DecodeScan(settings.Scan, image, ctx);
  DecodeAlert(settings.Alert, image, ctx);
  DecodeRadioInfo(image, radioInfo);
  DecodeFm(settings.Fm, image, ctx);
  DecodeAm(settings.Am, image, ctx);
  DecodeOptions(settings.Options, settings.Switch4, settings.Switch6, settings.Ble,
                settings.Dtmf.SendTime, image, ctx);
  DecodeFiveTone(settings.FiveTone, settings.DecodeTime, image, ctx);
  DecodeTwoTone(settings.TwoTone, image, ctx);
  DecodeDtmf(settings.Dtmf, image, ctx);
  DecodeBook(settings.Book, image, ctx);
  settings.ChannelCount = channels.ChannelCount;
}

bool PackAll(Workspace& ws, Prompts* prompts, ExportSink* exportRun) {
  const CodecContext ctx{prompts, &ws.app, exportRun};
  return PackAll(ws.settings, ws.channels, ws.image, ctx);
}

void UnpackAll(Workspace& ws, Prompts* prompts) {
  const CodecContext ctx{prompts, &ws.app, nullptr};
  UnpackAll(ws.image, ws.settings, ws.channels, ws.radioInfo, ctx);
}

}  // namespace kvx

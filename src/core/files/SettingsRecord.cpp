#include "core/files/SettingsRecord.h"

namespace kvx {

// File order and widths of the settings record; every area writes its own fields.
void SettingsRecord::Write(ByteWriter& w) const {
  w.I16(BandCode);
  Dtmf.Write(w);
  TwoTone.Write(w);
  FiveTone.Write(w);
  Options.Write(w);
  Scan.Write(w);
  Alert.Write(w);
  w.I16(ChannelCount);
  Book.Write(w);
  w.U8(DecodeTime);
  w.U8(Switch4);
  w.U8(Switch5);
  w.U8(Switch6);
  Fm.Write(w);
  Am.Write(w);
  Ble.Write(w);
  w.Raw(Spare.data(), Spare.size());
}

void SettingsRecord::Read(ByteReader& r) {
  BandCode = r.I16();
  Dtmf.Read(r);
  TwoTone.Read(r);
  FiveTone.Read(r);
  Options.Read(r);
  Scan.Read(r);
  Alert.Read(r);
  ChannelCount = r.I16();
  Book.Read(r);
  DecodeTime = r.U8();
  Switch4 = r.U8();
  Switch5 = r.U8();
  Switch6 = r.U8();
  Fm.Read(r);
  Am.Read(r);
  Ble.Read(r);
  r.Raw(Spare.data(), Spare.size());
}

}  // namespace kvx

#include "core/files/SettingsRecord.h"

namespace kvx {

// File order and widths of the settings record; every area writes its own fields.
void SettingsRecord::Write(ByteWriter& w) const {
  w.I16(BandCode);
#ifdef KVX_HAVE_DTMF
  Dtmf.Write(w);
#endif
#ifdef KVX_HAVE_TWOTONE
  TwoTone.Write(w);
#endif
#ifdef KVX_HAVE_FIVETONE
  FiveTone.Write(w);
#endif
#ifdef KVX_HAVE_OPTIONS
  Options.Write(w);
#endif
#ifdef KVX_HAVE_SCAN
  Scan.Write(w);
#endif
#ifdef KVX_HAVE_ALERT
  Alert.Write(w);
#endif
  w.I16(ChannelCount);
#ifdef KVX_HAVE_BOOK
  Book.Write(w);
#endif
  w.U8(DecodeTime);
  w.U8(Switch4);
  w.U8(Switch5);
  w.U8(Switch6);
#ifdef KVX_HAVE_BROADCAST
  Fm.Write(w);
  Am.Write(w);
#endif
#ifdef KVX_HAVE_OPTIONS
  Ble.Write(w);
#endif
  w.Raw(Spare.data(), Spare.size());
}

void SettingsRecord::Read(ByteReader& r) {
  BandCode = r.I16();
#ifdef KVX_HAVE_DTMF
  Dtmf.Read(r);
#endif
#ifdef KVX_HAVE_TWOTONE
  TwoTone.Read(r);
#endif
#ifdef KVX_HAVE_FIVETONE
  FiveTone.Read(r);
#endif
#ifdef KVX_HAVE_OPTIONS
  Options.Read(r);
#endif
#ifdef KVX_HAVE_SCAN
  Scan.Read(r);
#endif
#ifdef KVX_HAVE_ALERT
  Alert.Read(r);
#endif
  ChannelCount = r.I16();
#ifdef KVX_HAVE_BOOK
  Book.Read(r);
#endif
  DecodeTime = r.U8();
  Switch4 = r.U8();
  Switch5 = r.U8();
  Switch6 = r.U8();
#ifdef KVX_HAVE_BROADCAST
  Fm.Read(r);
  Am.Read(r);
#endif
#ifdef KVX_HAVE_OPTIONS
  Ble.Read(r);
#endif
  r.Raw(Spare.data(), Spare.size());
}

}  // namespace kvx

#pragma once
// All decoded settings other than the channel list, as the main data file stores them: one
// area per settings record, in file order, 9117 bytes when written. `SavedCopy` is its twin
// holding the data as last loaded, saved or read from a radio.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/image/Alert.h"
#include "core/image/Book.h"
#include "core/image/Broadcast.h"
#include "core/image/Dtmf.h"
#include "core/image/FiveTone.h"
#include "core/image/Options.h"
#include "core/image/Scan.h"
#include "core/image/TwoTone.h"
#include "core/util/Bytes.h"

namespace kvx {

// Byte size of the record in a data file, and of the main file written by this program.
constexpr size_t kSettingsRecordSize = 9117;
constexpr size_t kPasswordBlockSize = 16;
constexpr size_t kMainFileSize = kPasswordBlockSize + kSettingsRecordSize;

struct SettingsRecord {
  int16_t BandCode = 3;  // the band the data were saved for; the working band is AppState's
  DtmfSettings Dtmf;
  TwoToneSettings TwoTone;
  FiveToneSettings FiveTone;
  OptionSettings Options;
  ScanSettings Scan;
  AlertSettings Alert;
  // The number of records of the channel file. The working count lives in the ChannelList;
  // this field is set from it when the data are saved and read into it when they are loaded.
  int16_t ChannelCount = 2;
  BookEntries Book;
  uint8_t DecodeTime = 2;  // five-tone decode time, kept outside the five-tone area
  uint8_t Switch4 = 0;
  uint8_t Switch5 = 0;
  uint8_t Switch6 = 0;
  FmList Fm;
  AmList Am;
  BleOptions Ble;
  // Not used by any area; written back as they were last read.
  std::array<uint8_t, 3> Spare{};

  // Exactly kSettingsRecordSize bytes, in file order.
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const SettingsRecord&) const = default;
};

}  // namespace kvx

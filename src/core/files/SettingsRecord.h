#pragma once
// All decoded settings other than the channel list, as the main data file stores them: one
// area per settings record, in file order, 9117 bytes when written. `SavedCopy` is its twin
// holding the data as last loaded, saved or read from a radio.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/util/Bytes.h"

// The area records are published by their owners; until a header exists its member is left
// out so that the tree keeps compiling.
#if __has_include("core/image/Dtmf.h")
#include "core/image/Dtmf.h"
#define KVX_HAVE_DTMF 1
#endif
#if __has_include("core/image/TwoTone.h")
#include "core/image/TwoTone.h"
#define KVX_HAVE_TWOTONE 1
#endif
#if __has_include("core/image/FiveTone.h")
#include "core/image/FiveTone.h"
#define KVX_HAVE_FIVETONE 1
#endif
#if __has_include("core/image/Options.h")
#include "core/image/Options.h"
#define KVX_HAVE_OPTIONS 1
#endif
#if __has_include("core/image/Scan.h")
#include "core/image/Scan.h"
#define KVX_HAVE_SCAN 1
#endif
#if __has_include("core/image/Alert.h")
#include "core/image/Alert.h"
#define KVX_HAVE_ALERT 1
#endif
#if __has_include("core/image/Book.h")
#include "core/image/Book.h"
#define KVX_HAVE_BOOK 1
#endif
#if __has_include("core/image/Broadcast.h")
#include "core/image/Broadcast.h"
#define KVX_HAVE_BROADCAST 1
#endif

namespace kvx {

// Byte size of the record in a data file, and of the main file written by this program.
constexpr size_t kSettingsRecordSize = 9117;
constexpr size_t kPasswordBlockSize = 16;
constexpr size_t kMainFileSize = kPasswordBlockSize + kSettingsRecordSize;

struct SettingsRecord {
  int16_t BandCode = 3;  // the band the data were saved for; the working band is AppState's
#ifdef KVX_HAVE_DTMF
  DtmfSettings Dtmf;
#endif
#ifdef KVX_HAVE_TWOTONE
  TwoToneSettings TwoTone;
#endif
#ifdef KVX_HAVE_FIVETONE
  FiveToneSettings FiveTone;
#endif
#ifdef KVX_HAVE_OPTIONS
  OptionSettings Options;
#endif
#ifdef KVX_HAVE_SCAN
  ScanSettings Scan;
#endif
#ifdef KVX_HAVE_ALERT
  AlertSettings Alert;
#endif
  // The number of records of the channel file. The working count lives in the ChannelList;
  // this field is set from it when the data are saved and read into it when they are loaded.
  int16_t ChannelCount = 2;
#ifdef KVX_HAVE_BOOK
  BookEntries Book;
#endif
  uint8_t DecodeTime = 2;  // five-tone decode time, kept outside the five-tone area
  uint8_t Switch4 = 0;
  uint8_t Switch5 = 0;
  uint8_t Switch6 = 0;
#ifdef KVX_HAVE_BROADCAST
  FmList Fm;
  AmList Am;
#endif
#ifdef KVX_HAVE_OPTIONS
  BleOptions Ble;
#endif
  // Not used by any area; written back as they were last read.
  std::array<uint8_t, 3> Spare{};

  // Exactly kSettingsRecordSize bytes, in file order.
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
};

}  // namespace kvx

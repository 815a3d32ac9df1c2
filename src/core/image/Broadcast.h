#pragma once
// The FM and AM broadcast-receiver lists: 20 memory entries and a VFO entry each.
#include <array>
#include <cstdint>

#include "core/util/Bytes.h"

namespace kvx {

struct RadioImage;
struct CodecContext;

struct BroadcastEntry {
  int16_t Position = 0;  // 1-21, set by New; carried by the data file only
  int16_t InUse = 0;
  double Frequency = 0;  // MHz

  static constexpr size_t kFileSize = 12;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const BroadcastEntry&) const = default;
};

// Positions 1-20 (indexes 0-19) are the memory entries 0-19, position 21 (index 20) the VFO.
struct BroadcastList {
  static constexpr size_t kEntries = 21;
  static constexpr size_t kVfo = 20;
  std::array<BroadcastEntry, kEntries> entries{};

  static constexpr size_t kFileSize = 252;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const BroadcastList&) const = default;
};
using FmList = BroadcastList;
using AmList = BroadcastList;

// The last step of New: Position of every entry = its position 1-21.
void NumberBroadcastEntries(BroadcastList& list);

// The encoders first mark entries whose Frequency is 0 as not in use (that change stays in the
// list). Both fail with "SetCommDataByFMError" for a frequency that does not fit 8 digits.
// They record the blocks they write on every export, whatever its boxes say.
bool EncodeFm(FmList& list, RadioImage& image, const CodecContext& ctx);
bool EncodeAm(AmList& list, RadioImage& image, const CodecContext& ctx);
void DecodeFm(FmList& list, const RadioImage& image, const CodecContext& ctx);
void DecodeAm(AmList& list, const RadioImage& image, const CodecContext& ctx);

inline constexpr const char* kBroadcastEncodeError = "SetCommDataByFMError";

}  // namespace kvx

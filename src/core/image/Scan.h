#pragma once
// The scan area: one 14-byte record at 0x3B0-0x3BD.
#include <cstdint>

#include "core/util/Bytes.h"

namespace kvx {

struct RadioImage;
struct CodecContext;

struct ScanSettings {
  uint8_t ScanMode = 0;
  uint8_t PriorityMode = 0;
  uint8_t RevertChannel = 0;
  uint8_t ScanBackTimeA = 5;  // (seconds x 10) - 5: 5 is 1.0 s
  uint8_t ScanBackTimeB = 5;
  uint8_t RxResumeDelay = 0;  // (seconds x 10) - 1
  uint8_t TxResumeDelay = 0;
  uint8_t ScanType = 0;
  uint8_t ScanEntryTone = 0;
  uint8_t WaitTime = 0;  // milliseconds / 25
  uint8_t PriorityGroup1 = 0;
  uint8_t PriorityChannel1 = 0;  // channel Number, 0 none
  uint8_t PriorityGroup2 = 0;
  uint8_t PriorityChannel2 = 0;

  static constexpr size_t kFileSize = 14;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const ScanSettings&) const = default;
};

// The scan encoder never fails.
bool EncodeScan(const ScanSettings& s, RadioImage& image, const CodecContext& ctx);
void DecodeScan(ScanSettings& s, const RadioImage& image, const CodecContext& ctx);

}  // namespace kvx

#pragma once
// The alert area: one 12-byte record at 0x3A0-0x3AC (0x3A7 belongs to the radio).
#include <cstdint>

#include "core/util/Bytes.h"

namespace kvx {

struct RadioImage;
struct CodecContext;

struct AlertSettings {
  uint8_t EmergencyMode = 0;
  uint8_t IdCodeType = 0;  // 0 none, 1 DTMF, 2 five-tone
  uint8_t IdCode = 0;
  uint8_t AlarmTime = 0;
  uint8_t TxTime = 0;
  uint8_t RxTime = 0;
  uint8_t ChannelSelect = 0;
  uint8_t EmergencyChannel = 0;  // channel Number - 1
  uint8_t Cycle = 0;
  uint8_t LoneWorkerDetect = 0;
  uint8_t PreAlertTime = 1;
  uint8_t LoneWorkerTime = 5;

  static constexpr size_t kFileSize = 12;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const AlertSettings&) const = default;
};

// The alert encoder never fails; it checks and changes no value.
bool EncodeAlert(const AlertSettings& a, RadioImage& image, const CodecContext& ctx);
void DecodeAlert(AlertSettings& a, const RadioImage& image, const CodecContext& ctx);

}  // namespace kvx

#pragma once
// The optional-features area: the options record, the switch bytes and BLE options kept beside
// it in the data file, and the DTMF send time that shares its image block.
#include <array>
#include <cstdint>

#include "core/util/Bytes.h"
#include "core/util/FixedText.h"

namespace kvx {

struct RadioImage;
struct CodecContext;

// File order of the fields is the order below (73 bytes). List options hold the zero-based
// index of the chosen entry.
struct OptionSettings {
  int16_t Option0 = 0;
  int16_t Option1 = 0;
  int16_t OptionChannel = 0;
  int16_t Option3 = 0;
  int16_t Option5 = 0;
  int16_t Option18 = 0;
  int16_t Option7 = 0;
  int16_t Option8 = 0;
  int16_t ToneFrequency = 0;
  int16_t Option10 = 0;
  int16_t Option11 = 0;
  int16_t Option12 = 0;
  int16_t Option14 = 0;
  int16_t Switch3 = 0;
  int16_t Option15 = 0;
  int16_t Switch0 = 0;
  int16_t Switch1 = 0;
  int16_t Switch2 = 0;
  int16_t Option16 = 0;
  int16_t Option17 = 0;
  int16_t Option4 = 0;  // Option4, Option6 and Option13 live in the data file only
  int16_t Option6 = 0;
  int16_t Option13 = 0;
  FixedText<7> PowerOnMessage{"Welcome"};
  int16_t PowerOnPasswordEnabled = 0;
  FixedText<6> PowerOnPassword{std::string_view("\0", 1)};
  // The broadcast-receiver group.
  int16_t AmDisplayMode = 0;
  int16_t BroadcastBand = 0;
  int16_t BroadcastSwitch = 0;
  int16_t FmDisplayMode = 0;
  int16_t FmWorkChannel = 0;
  int16_t AmWorkChannel = 0;

  static constexpr size_t kFileSize = 73;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const OptionSettings&) const = default;
};

// The nine BLE option bytes (lists 30-38 of the options dialog).
struct BleOptions {
  std::array<uint8_t, 9> bytes{};

  static constexpr size_t kFileSize = 9;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const BleOptions&) const = default;
};

// The default of the DTMF send time (a field of the DTMF record, encoded here).
constexpr int16_t kDefaultSendTime = 1;

// The reset of New: every list option and switch 0, "Welcome", an empty password; the
// broadcast-receiver fields keep their values.
void ResetOptions(OptionSettings& o);

// Switch4 (0x21A) and Switch6 (0x230 bit 6) are single bytes kept beside the record; Switch5
// lives in the data file only. `sendTime` is the DTMF record's SendTime.
// Fails with "SetCommDataByOptionError" when a value does not fit its byte.
bool EncodeOptions(const OptionSettings& o, uint8_t switch4, uint8_t switch6, const BleOptions& ble,
                   int16_t sendTime, RadioImage& image, const CodecContext& ctx);
void DecodeOptions(OptionSettings& o, uint8_t& switch4, uint8_t& switch6, BleOptions& ble,
                   int16_t& sendTime, const RadioImage& image, const CodecContext& ctx);

inline constexpr const char* kOptionsEncodeError = "SetCommDataByOptionError";

}  // namespace kvx

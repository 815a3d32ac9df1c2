#pragma once
// The radio's whole memory, 16384 bytes at addresses 0x0000 to 0x3FFF, and the template that
// prepares it before a read or an encode. Only the codecs, the link and the automatic test
// touch it; the editors work on decoded records.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "core/util/Bytes.h"

namespace kvx {

inline constexpr size_t kImageSize = 16384;

// Area map: first address of each area (inclusive ranges in the comments). Each area's codec
// owns the bytes inside it.
namespace ImageAddr {
inline constexpr size_t RadioInfo = 0x0010;        // 0x0010-0x00FF
inline constexpr size_t PresentBitmap = 0x0100;    // 0x0100-0x0119
inline constexpr size_t ScanSkipBitmap = 0x0120;   // 0x0120-0x0139
inline constexpr size_t OptionsBlock1 = 0x0210;    // 0x0210-0x023F
inline constexpr size_t ChannelPB = 0x0260;        // 0x0260-0x027F (number 202)
inline constexpr size_t ChannelPA = 0x0280;        // 0x0280-0x029F (number 201)
inline constexpr size_t ChannelCall = 0x02A0;      // 0x02A0-0x02BF (number 203)
inline constexpr size_t ChannelVfo = 0x02C0;       // 0x02C0-0x02DF (number 204)
inline constexpr size_t Dtmf = 0x02E0;             // 0x02E0-0x02FF
inline constexpr size_t TwoTone = 0x0300;          // 0x0300-0x031F
inline constexpr size_t FiveTone = 0x0320;         // 0x0320-0x033F
inline constexpr size_t DtmfPttId = 0x0340;        // 0x0340-0x035F
inline constexpr size_t FiveToneExtra = 0x0360;    // 0x0360-0x037F
inline constexpr size_t TwoToneBitmap = 0x0380;    // 0x0380-0x0383
inline constexpr size_t FiveToneBitmap = 0x0390;   // 0x0390-0x039C
inline constexpr size_t Alert = 0x03A0;            // 0x03A0-0x03AF
inline constexpr size_t Scan = 0x03B0;             // 0x03B0-0x03BF
inline constexpr size_t OptionsBlock2 = 0x03E0;    // 0x03E0-0x03EF
inline constexpr size_t FmFlags = 0x03F0;          // 0x03F0-0x03FF
inline constexpr size_t DtmfMemories = 0x0400;     // 0x0400-0x04FF
inline constexpr size_t FiveToneEntries = 0x0500;  // 0x0500-0x05FF
inline constexpr size_t ChannelPttId = 0x0600;     // 0x0600-0x09E7, 5 bytes per channel
inline constexpr size_t TwoToneEntries = 0x0B00;   // 0x0B00-0x0CFF
inline constexpr size_t FiveToneCodes = 0x0D00;    // 0x0D00-0x197F
inline constexpr size_t BookNumbers = 0x1980;      // 0x1980-0x1BFF
inline constexpr size_t BookNames = 0x1C00;        // 0x1C00-0x1FFF
inline constexpr size_t Channels = 0x2000;         // 0x2000-0x38FF, 32 bytes per channel
inline constexpr size_t FmEntries = 0x3900;        // 0x3900-0x395F
inline constexpr size_t AmEntries = 0x3960;        // 0x3960-0x39CF
inline constexpr size_t AmFlags = 0x3970;          // 0x3970-0x397F
inline constexpr size_t OptionsBlock3 = 0x39E0;    // 0x39E0-0x39E8
}  // namespace ImageAddr

struct RadioImage {
  std::array<uint8_t, kImageSize> bytes{};

  Bytes Span() { return bytes; }
  ConstBytes Span() const { return bytes; }
  // `length` bytes from `address`; the range must lie inside the image.
  Bytes Range(size_t address, size_t length) { return Span().subspan(address, length); }
  ConstBytes Range(size_t address, size_t length) const { return Span().subspan(address, length); }
  uint8_t& operator[](size_t address) { return bytes[address]; }
  uint8_t operator[](size_t address) const { return bytes[address]; }
  // Sets addresses first to last, both inclusive.
  void Fill(size_t first, size_t last, uint8_t value);

  bool operator==(const RadioImage&) const = default;
};

// The automatic test's image step (the export recorder's reset). Empty when no test runs.
using AutoTestStep = std::function<void()>;

// Prepares the image from the template before a read or an encode: the bitmaps start all ones
// so that the encoders mark their items by clearing bits. Bytes 0x0000-0x000F are left as they
// were. `autoTestStep` runs between the two fillings of the FM flags, as the export expects.
void ClearImage(RadioImage& image, const AutoTestStep& autoTestStep = {});

}  // namespace kvx

#pragma once
// Two-tone settings: the encode settings (call format, tones A ... D with their dividers,
// timing) and 32 decode entries. The record is also the two-tone area of the data file (568
// bytes). Frequencies are in units of 0.1 Hz (321.7 Hz is 3217).
//
// In the record and the data file each 16-bit value is two bytes in its own order (FirstTone
// high byte first, ToneA low byte first, ...); the fields here hold the value and Write/Read
// keep those byte orders. In the image the tones A ... D are big-endian while every other
// 16-bit value of the area is little-endian.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

#include "core/image/CodecContext.h"
#include "core/util/Bytes.h"
#include "core/util/FixedText.h"

namespace kvx {

struct RadioImage;

struct TwoToneEntry {
  int16_t Empty = 1;        // 1 empty, 0 in use
  uint16_t RxDivider1 = 0;  // decode divider of RxTone1
  uint16_t RxDivider2 = 0;  // 0: no second tone
  uint16_t RxTone1 = 0;     // 0.1 Hz
  uint16_t RxTone2 = 0;     // 0.1 Hz; 0: no second tone
  FixedText<7> Name;

  bool InUse() const { return Empty == 0; }
  void Write(ByteWriter& w) const;  // 17 bytes
  void Read(ByteReader& r);
  bool operator==(const TwoToneEntry&) const = default;
};

constexpr int kTwoToneEntries = 32;

struct TwoToneSettings {
  // Encode settings (24 record bytes).
  uint16_t FirstTone = 0;      // bytes 0, 1: high, low
  uint16_t SecondTone = 0;     // bytes 2, 3: high, low; 0 for a long tone
  uint8_t CallFormat = 0;      // byte 4: 0 ... 14
  uint16_t FirstDivider = 0;   // bytes 5, 6: high, low
  uint16_t SecondDivider = 0;  // bytes 7, 8: high, low; 0 for a long tone
  uint8_t Time5 = 0;           // byte 9: 0 ... 250, 0.1 s
  uint8_t DecodeResponse = 0;  // byte 10: 0 ... 2
  uint8_t Sidetone = 0;        // byte 11
  uint16_t ToneA = 0;          // bytes 12, 13: low, high
  uint16_t ToneB = 0;          // bytes 14, 15: low, high
  uint16_t ToneC = 0;          // bytes 16, 17: low, high
  uint16_t ToneD = 0;          // bytes 18, 19: low, high
  uint8_t Time1 = 0;           // byte 20: 5 ... 100, 0.1 s
  uint8_t Time2 = 0;           // byte 21
  uint8_t Time3 = 0;           // byte 22
  uint8_t Time4 = 0;           // byte 23: 0 ... 20, 100 ms

  std::array<TwoToneEntry, kTwoToneEntries> Entries = DefaultEntries();

  static constexpr size_t kFileSize = 568;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const TwoToneSettings&) const = default;

  // All entries empty except entry 0 (321.7 Hz and 928.1 Hz).
  static std::array<TwoToneEntry, kTwoToneEntries> DefaultEntries();
};

// The reset step of New: every entry empty with its values 0 (names kept), then entry 0 in use
// with 321.7 Hz / 928.1 Hz; the encode settings are left as they are.
void ResetTwoTone(TwoToneSettings& s);

// Whether entry n (0 ... 31) is in use; false outside the range.
bool TwoToneEntryInUse(const TwoToneSettings& s, int n);

// Dividers of the 9.6 MHz reference for a tone of f Hz, truncated toward zero.
uint16_t EncodeDivider(double hz);  // 9 600 000 / (2 f)
uint16_t DecodeDivider(double hz);  // 9 600 000 / (16 f)
// f Hz in units of 0.1 Hz: f x 10 rounded to the nearest integer, halves to even.
uint16_t ToneToTenths(double hz);

// The 15 call formats: list text and the tones used ('A' ... 'D'; 0 for no second tone).
struct CallFormatInfo {
  std::string_view Text;
  char First;
  char Second;
};
inline constexpr std::array<CallFormatInfo, 15> kCallFormats{{
    {"A-B", 'A', 'B'},
    {"A-C", 'A', 'C'},
    {"A-D", 'A', 'D'},
    {"B-A", 'B', 'A'},
    {"B-C", 'B', 'C'},
    {"B-D", 'B', 'D'},
    {"C-A", 'C', 'A'},
    {"C-B", 'C', 'B'},
    {"C-D", 'C', 'D'},
    {"D-A", 'D', 'A'},
    {"D-B", 'D', 'B'},
    {"D-C", 'D', 'C'},
    {"Long A", 'A', 0},
    {"Long B", 'B', 0},
    {"Long C", 'C', 0},
}};

// What the dialog shows for a tone A ... D whose high byte is 0 or 0xFF, and for a divider of 0.
constexpr uint16_t kDefaultToneA = 3217;
constexpr uint16_t kDefaultToneB = 9281;
constexpr uint16_t kDefaultToneC = 6265;
constexpr uint16_t kDefaultToneD = 20438;
constexpr uint16_t kDefaultDivider = 1843;  // bytes 7, 51

// Image areas.
constexpr size_t kTwoToneSettingsAddress = 0x300;  // 768 ... 799
constexpr size_t kTwoToneMapAddress = 0x380;       // 896 ... 899
constexpr size_t kTwoToneEntriesAddress = 0xB00;   // 2816 + 16 n

// Writes the record into the image; the record is not changed. Shows "SetCommDataBy2ToneError"
// and returns false on a conversion failure (none can occur with the byte-sized fields here).
bool EncodeTwoTone(const TwoToneSettings& s, RadioImage& image, const CodecContext& ctx);
// Reads the record from the image; a call format above 14 reads as 0.
void DecodeTwoTone(TwoToneSettings& s, const RadioImage& image, const CodecContext& ctx);

}  // namespace kvx

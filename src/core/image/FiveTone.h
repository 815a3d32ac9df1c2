#pragma once
// Five-tone settings: the own ID and encode settings, eight information codes, the PTT ID
// begin and end codes and 100 decode codes, plus the decode time byte kept outside the area.
// The record is also the five-tone area of the data file (5607 bytes).
//
// Codes are texts of hexadecimal tone digits, one character per tone; "E" is the repeat tone
// (see FiveToneForms.h). The codec treats every digit alike.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/image/CodecContext.h"
#include "core/util/Bytes.h"
#include "core/util/FixedText.h"

namespace kvx {

struct RadioImage;

// One of the fourteen tone standards: tone frequency texts for the digits 0 ... F (empty for
// a digit the standard does not define) and the standard tone period.
struct FiveToneStandard {
  std::string_view Name;
  std::array<std::string_view, 16> Tones;
  int PeriodMs;
};

inline constexpr std::array<FiveToneStandard, 14> StandardsTable{{
    {"ZVEI1",
     {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "2800", "810",
      "970", "885", "2600", "680"},
     70},
    {"ZVEI2",
     {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "885", "810",
      "740", "680", "970", "2600"},
     70},
    {"ZVEI3",
     {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "885", "", "",
      "", "2400", ""},
     70},
    {"PZVEI",
     {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "970", "810",
      "2800", "885", "2600", "680"},
     70},
    {"DZVEI",
     {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825/885",
      "740", "2600", "885", "2400", "680"},
     70},
    {"PDZVEI",
     {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825", "886",
      "2600", "856", "2400", ""},
     70},
    {"CCIR1",
     {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400", "930",
      "2247", "991", "2110", "1055"},
     100},
    {"CCIR2",
     {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400", "930",
      "2247", "991", "2110", "1055"},
     70},
    {"PCCIR",
     {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1050", "930",
      "2400", "991", "2110", ""},
     100},
    {"EEA",
     {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1055", "930",
      "2400", "991", "2110", "2247"},
     40},
    {"EURO SIGNAL",
     {"979.8", "903.1", "832.5", "767.4", "707.4", "652.0", "601.0", "554.0", "510.7", "470.8", "",
      "", "", "", "1062.9", ""},
     100},
    {"NATEL",
     {"1633", "631", "697", "770", "852", "941", "1040", "1209", "1336", "1477", "1995", "571",
      "2205", "2437", "1805", "2694"},
     70},
    {"MODAT",
     {"637.5", "787.5", "937.5", "1087.5", "1237.5", "1387.5", "1537.5", "1687.5", "1837.5",
      "1987.5", "", "", "", "", "487.5", ""},
     40},
    {"CCITT",
     {"400.0", "697.0", "770.0", "852.0", "941.0", "1209.0", "1335.0", "1477.0", "1663.0", "1800.0",
      "1900.0", "2000.0", "2100.0", "2200.0", "2300.0", "0.0"},
     70},
}};

// A PTT ID code or a decode code.
struct FiveToneCode {
  int16_t Empty = 1;       // decode codes: 1 empty, 0 in use
  uint8_t Spare = 0;       // record and file only
  uint8_t Standard = 0;    // 0 ... 13 (up to 15 accepted)
  uint8_t Length = 0;      // 0 ... 40 (PTT ID codes: at most 24)
  uint8_t TonePeriod = 7;  // 10 ms, 3 ... 10
  FixedText<40> Digits{""};
  FixedText<7> Name;  // decode codes only

  bool InUse() const { return Empty == 0; }
  void Write(ByteWriter& w) const;  // 53 bytes
  void Read(ByteReader& r);
  bool operator==(const FiveToneCode&) const = default;
};

// An information code (decode function such as remote kill, stun or wake-up).
struct InfoCode {
  uint8_t Function = 0;  // 0 ... 6; 3 kill, 4 stun, 5 wake-up
  uint8_t Response = 0;  // 0 ... 2
  uint8_t Length = 0;    // 0 ... 12
  FixedText<12> Digits{""};
  FixedText<7> Name;

  void Write(ByteWriter& w) const;  // 22 bytes
  void Read(ByteReader& r);
  bool operator==(const InfoCode&) const = default;
};

constexpr int kFiveToneCodes = 100;
constexpr int kInfoCodes = 8;
constexpr uint8_t kInfoKill = 3;
constexpr uint8_t kInfoStun = 4;
constexpr uint8_t kInfoWakeUp = 5;

struct FiveToneSettings {
  uint8_t Reserved = 0;  // carried between image byte 800 and the record
  uint8_t DecodeResponse = 0;
  uint8_t Standard = 0;
  uint8_t IdLength = 0;  // digits of OwnId, 0 ... 5
  uint8_t TonePeriod = 7;
  FixedText<6> OwnId{""};
  uint8_t Seconds = 0;  // 0.1 s
  uint8_t Delay1 = 20;  // 10 ms
  uint8_t Delay2 = 20;  // 10 ms
  uint8_t Number = 10;  // 0 off, else 5 ... 75
  int16_t FirstDigitDelay = 20;
  int16_t PauseTime = 20;
  int16_t PauseCode = 0;  // 0 off, else 11, 12, 13 or 15
  int16_t Sidetone = 0;
  int16_t SpecialCall = 13;  // ANI separator: 0 none, 10 ... 15 = "A" ... "F"
  std::array<InfoCode, kInfoCodes> InfoCodes{};
  FiveToneCode PttIdBegin;
  FiveToneCode PttIdEnd;
  std::array<FiveToneCode, kFiveToneCodes> Codes{};

  static constexpr size_t kFileSize = 5607;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const FiveToneSettings&) const = default;
};

constexpr uint8_t kDefaultDecodeTime = 2;

// The reset step of New: the settings, information codes and decode codes to their defaults;
// names and the PTT ID codes are kept. `decodeTime` is set to 2.
void ResetFiveTone(FiveToneSettings& s, uint8_t& decodeTime);

// Whether decode code j (0 ... 99) is in use; false outside the range.
bool FiveToneCodeInUse(const FiveToneSettings& s, int j);

// The editor's check of the information codes before OK: a kill or stun code needs a wake-up
// code, and no kill, stun or wake-up code may share its digits (the first Length characters)
// with a code of another function. All eight codes take part, so two codes without digits
// clash.
struct InfoCodeCheck {
  bool KillOrStunWithoutWake = false;
  bool DigitsClash = false;
  bool Ok() const { return !KillOrStunWithoutWake && !DigitsClash; }
};
InfoCodeCheck CheckInfoCodes(const FiveToneSettings& s);

// Image areas.
constexpr size_t kFiveToneSettingsAddress = 0x320;  // 800 ... 831
constexpr size_t kFiveTonePttIdBeginAddress = 0x360;
constexpr size_t kFiveTonePttIdEndAddress = 0x370;
constexpr size_t kFiveToneMapAddress = 0x390;    // 912 ... 924
constexpr size_t kInfoCodesAddress = 0x500;      // 1280 + 32 i
constexpr size_t kFiveToneCodesAddress = 0xD00;  // 3328 + 32 j

// Digits a slot can hold: 24 in a 16-byte PTT ID slot, 40 in a decode code slot, 12 in an
// information code slot.
constexpr int kPttIdDigitLimit = 24;
constexpr int kCodeDigitLimit = 40;
constexpr int kInfoDigitLimit = 12;

// Writes the record and the decode time into the image; the record is not changed. A code
// whose Length exceeds what its slot holds is written with length 0 and no digits. On a
// conversion failure it shows "SetCommDataBy5ToneError" and returns false; bytes written
// before stay written.
bool EncodeFiveTone(const FiveToneSettings& s, uint8_t decodeTime, RadioImage& image,
                    const CodecContext& ctx);
// Reads the record and the decode time from the image.
void DecodeFiveTone(FiveToneSettings& s, uint8_t& decodeTime, const RadioImage& image,
                    const CodecContext& ctx);

}  // namespace kvx

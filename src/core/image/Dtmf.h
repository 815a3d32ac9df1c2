#pragma once
// DTMF settings: sixteen code memories, the PTT ID begin and end codes, the remote kill and
// stun codes, the own three-digit ID and the encoder and decoder timing. The record is also the
// DTMF area of the data file (527 bytes).
//
// Codes are held in stored form: each character is the hexadecimal digit of its DTMF value, so
// "*" is held as "E" and "#" as "F". The user sees the display form ("*" and "#").
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

// A DTMF code: the characters in stored form, blank-padded, and the number of valid ones.
template <size_t N>
struct DtmfCode {
  FixedText<N> Text{""};
  int16_t Length = 0;

  // The first Length characters of Text (all of them when Length is larger; none when
  // negative).
  std::string Valid() const {
    size_t n = Length < 0 ? 0 : static_cast<size_t>(Length);
    return std::string(Text.Raw().substr(0, n < N ? n : N));
  }
  void Write(ByteWriter& w) const {
    Text.Write(w);
    w.I16(Length);
  }
  void Read(ByteReader& r) {
    Text.Read(r);
    Length = r.I16();
  }
  bool operator==(const DtmfCode&) const = default;
};

constexpr int kDtmfCodeLimit = 24;   // code memories and PTT ID codes
constexpr int kDtmfShortLimit = 14;  // kill and stun codes
constexpr int16_t kDtmfGroupCodeOff = 255;

struct DtmfSettings {
  std::array<DtmfCode<24>, 16> Codes{};  // M1 ... M16
  DtmfCode<24> PttIdBegin;
  DtmfCode<24> PttIdEnd;
  DtmfCode<14> KillCode;
  DtmfCode<14> StunCode;
  int16_t Ani = 0;        // record and file only
  int16_t SendTime = 1;   // image byte belongs to the optional features (0x232)
  int16_t PttIdMode = 3;  // record and file only
  FixedText<3> OwnId{"000"};
  int16_t Separator = 14;  // 10 ... 15 ("A" ... "#")
  int16_t GroupCode = 10;  // 10 ... 15; anything else (the dialog stores 255) is off
  int16_t DecodeResponse = 0;
  int16_t FirstDigitDelay = 20;
  int16_t PreSendDelay = 20;
  int16_t ResetTime = 0;
  int16_t PostSendDelay = 20;
  int16_t PauseTime = 10;
  int16_t Sidetone = 0;

  static constexpr size_t kFileSize = 527;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const DtmfSettings&) const = default;
};

// The reset step of New: every field back to its default.
void ResetDtmf(DtmfSettings& s);

// "E" <-> "*", "F" <-> "#"; every other character passes unchanged.
std::string DtmfToDisplay(std::string_view text);
std::string DtmfToStored(std::string_view text);

// Image areas.
constexpr size_t kDtmfSettingsAddress = 0x2E0;  // 736 ... 767
constexpr size_t kDtmfPttIdAddress = 0x340;     // 832 ... 863
constexpr size_t kDtmfCodesAddress = 0x400;     // 1024 ... 1279, 16 bytes per code memory

// Writes the record into the image. Completes OwnId in the record ("5" -> "500", non-numeric
// -> "000"); every other correction changes only what is written. On a conversion failure it
// shows "SetCommDataByDTMFError" and returns false; bytes written before stay written.
bool EncodeDtmf(DtmfSettings& s, RadioImage& image, const CodecContext& ctx);

// Reads the record from the image. Out-of-range bytes 738 and 740 are set to 0 in the image as
// well. A group code byte of 0xFF (off) reads as 255.
void DecodeDtmf(DtmfSettings& s, RadioImage& image, const CodecContext& ctx);

// The dialog's own-ID and separator rules for a code in display form: a 7-character ANI code
// (three digits, separator, three digits) or a 4-character PTT ID code (separator, three
// digits). Other codes come back unchanged.
// After the own ID changed to `newId` (three digits), with `separator` the separator text.
std::string DtmfCodeForNewOwnId(std::string_view code, std::string_view separator,
                                std::string_view newId);
// After the separator changed to `separator`, for the codes that embed `ownId`.
std::string DtmfCodeForNewSeparator(std::string_view code, std::string_view ownId,
                                    std::string_view separator);

}  // namespace kvx

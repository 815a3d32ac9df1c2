#include "core/image/Dtmf.h"

#include <cctype>

#include "core/image/RadioImage.h"
#include "core/util/Text.h"

namespace kvx {
namespace {

constexpr std::string_view kFailMessage = "SetCommDataByDTMFError";

// Image addresses of the single-byte settings.
constexpr size_t kSeparatorAt = 736;
constexpr size_t kGroupCodeAt = 737;
constexpr size_t kDecodeResponseAt = 738;
constexpr size_t kPreSendDelayAt = 739;
constexpr size_t kFirstDigitDelayAt = 740;
constexpr size_t kResetTimeAt = 741;
constexpr size_t kOwnIdAt = 743;  // three bytes
constexpr size_t kSidetoneAt = 749;
constexpr size_t kPostSendDelayAt = 750;
constexpr size_t kPauseTimeAt = 751;
constexpr size_t kKillCodeAt = 752;  // digits 752-758, length 759
constexpr size_t kStunCodeAt = 760;  // digits 760-766, length 767
constexpr size_t kPttIdBeginAt = 832;
constexpr size_t kPttIdEndAt = 848;
constexpr size_t kCodeSlotSize = 16;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number as the own-ID completion accepts it: blanks around, an optional sign, digits with
// at most one decimal point.
bool IsNumericText(std::string_view s) {
  std::string t = Trim(s);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digit = false, point = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      digit = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// Writes one byte; a value outside 0-255 is a conversion failure.
bool PutByte(RadioImage& image, size_t at, int value) {
  if (value < 0 || value > 255) return false;
  image[at] = static_cast<uint8_t>(value);
  return true;
}

// One code: the length byte, then the digits packed two per byte (first digit in the high
// nibble). A length above `limit` is written as 0. Kill and stun codes are not lengthened to
// their length, so a text shorter than the length fails.
bool PutCode(RadioImage& image, size_t digitsAt, size_t lengthAt, std::string_view text, int length,
             int limit, bool lengthen) {
  int n = length > limit ? 0 : length;
  std::string t = CleanText(text);
  if (lengthen)
    while (static_cast<int>(t.size()) < n) t += '0';
  if (t.size() % 2) t += '0';
  if (!PutByte(image, lengthAt, n)) return false;
  for (int i = 0; i < (n + 1) / 2; ++i) {
    size_t at = 2 * static_cast<size_t>(i);
    if (at + 2 > t.size()) return false;  // a kill or stun text shorter than its length
    int hi = HexValue(t[at]);
    int lo = HexValue(t[at + 1]);
    if (hi < 0 || lo < 0) return false;
    image[digitsAt + static_cast<size_t>(i)] = static_cast<uint8_t>(hi << 4 | lo);
  }
  return true;
}

template <size_t N>
void GetCode(DtmfCode<N>& code, const RadioImage& image, size_t digitsAt, size_t lengthAt,
             int limit) {
  static const char kHex[] = "0123456789ABCDEF";
  int n = image[lengthAt];
  if (n > limit) n = 0;
  code.Length = static_cast<int16_t>(n);
  std::string t;
  for (int i = 0; i < (n + 1) / 2; ++i) {
    uint8_t b = image[digitsAt + static_cast<size_t>(i)];
    t += kHex[b >> 4];
    t += kHex[b & 0x0F];
  }
  t.resize(static_cast<size_t>(n));
  if (t.size() < N) t += '\0';
  code.Text = t;
}

}  // namespace

void DtmfSettings::Write(ByteWriter& w) const {
  for (const auto& c : Codes) c.Write(w);
  PttIdBegin.Write(w);
  PttIdEnd.Write(w);
  KillCode.Write(w);
  StunCode.Write(w);
  w.I16(Ani);
  w.I16(SendTime);
  w.I16(PttIdMode);
  OwnId.Write(w);
  for (int16_t v : {Separator, GroupCode, DecodeResponse, FirstDigitDelay, PreSendDelay, ResetTime,
                    PostSendDelay, PauseTime, Sidetone})
    w.I16(v);
}

void DtmfSettings::Read(ByteReader& r) {
  for (auto& c : Codes) c.Read(r);
  PttIdBegin.Read(r);
  PttIdEnd.Read(r);
  KillCode.Read(r);
  StunCode.Read(r);
  Ani = r.I16();
  SendTime = r.I16();
  PttIdMode = r.I16();
  OwnId.Read(r);
  for (int16_t* v : {&Separator, &GroupCode, &DecodeResponse, &FirstDigitDelay, &PreSendDelay,
                     &ResetTime, &PostSendDelay, &PauseTime, &Sidetone})
    *v = r.I16();
}

void ResetDtmf(DtmfSettings& s) {
  s = DtmfSettings{};
}

std::string DtmfToDisplay(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == 'E')
      c = '*';
    else if (c == 'F')
      c = '#';
  }
  return out;
}

std::string DtmfToStored(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '*')
      c = 'E';
    else if (c == '#')
      c = 'F';
  }
  return out;
}

bool EncodeDtmf(DtmfSettings& s, RadioImage& image, const CodecContext& ctx) {
  // Bytes 742, 746-748, 845-847, 861-863 and the last three of each code memory slot belong
  // to the radio and are left as they are.
  auto fail = [&] {
    ctx.Fail(kFailMessage);
    return false;
  };
  auto inRange = [](int v, int lo, int hi) { return v >= lo && v <= hi; };

  if (!PutByte(image, kSeparatorAt, inRange(s.Separator, 10, 15) ? s.Separator : 14)) return fail();
  if (!PutByte(image, kGroupCodeAt, inRange(s.GroupCode, 10, 15) ? s.GroupCode : 0xFF))
    return fail();
  if (!PutByte(image, kDecodeResponseAt, s.DecodeResponse > 2 ? 0 : s.DecodeResponse))
    return fail();
  if (!PutByte(image, kPreSendDelayAt, s.PreSendDelay)) return fail();
  if (!PutByte(image, kFirstDigitDelayAt, s.FirstDigitDelay > 250 ? 0 : s.FirstDigitDelay))
    return fail();
  if (!PutByte(image, kResetTimeAt, s.ResetTime)) return fail();

  // The completed own ID is kept in the record.
  std::string id = s.OwnId.Clean();
  if (IsNumericText(id)) {
    while (id.size() < 3) id += '0';
  } else {
    id = "000";
  }
  s.OwnId = id;
  for (size_t k = 0; k < 3; ++k) {
    char c = s.OwnId.bytes[k];
    if (!IsDigit(c)) return fail();
    image[kOwnIdAt + k] = static_cast<uint8_t>(c - '0');
  }

  if (!PutByte(image, kSidetoneAt, s.Sidetone)) return fail();
  if (!PutByte(image, kPostSendDelayAt, s.PostSendDelay)) return fail();
  if (!PutByte(image, kPauseTimeAt, s.PauseTime)) return fail();

  if (!PutCode(image, kPttIdBeginAt, kPttIdBeginAt + 12, s.PttIdBegin.Text.Raw(),
               s.PttIdBegin.Length, kDtmfCodeLimit, true))
    return fail();
  if (!PutCode(image, kPttIdEndAt, kPttIdEndAt + 12, s.PttIdEnd.Text.Raw(), s.PttIdEnd.Length,
               kDtmfCodeLimit, true))
    return fail();
  if (!PutCode(image, kKillCodeAt, kKillCodeAt + 7, s.KillCode.Text.Raw(), s.KillCode.Length,
               kDtmfShortLimit, false))
    return fail();
  if (!PutCode(image, kStunCodeAt, kStunCodeAt + 7, s.StunCode.Text.Raw(), s.StunCode.Length,
               kDtmfShortLimit, false))
    return fail();
  for (size_t k = 0; k < s.Codes.size(); ++k) {
    size_t at = kDtmfCodesAddress + kCodeSlotSize * k;
    if (!PutCode(image, at, at + 12, s.Codes[k].Text.Raw(), s.Codes[k].Length, kDtmfCodeLimit,
                 true))
      return fail();
  }

  ctx.Mark(ExportArea::Dtmf, kDtmfSettingsAddress, 32);
  ctx.Mark(ExportArea::Dtmf, kDtmfPttIdAddress, 32);
  ctx.Mark(ExportArea::Dtmf, kDtmfCodesAddress, 256);
  return true;
}

void DecodeDtmf(DtmfSettings& s, RadioImage& image, const CodecContext&) {
  auto inRange = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
  uint8_t sep = image[kSeparatorAt];
  s.Separator = inRange(sep, 10, 15) ? sep : 14;
  // 0xFF is what the encoder writes for "off"; other stray values read as "A".
  uint8_t group = image[kGroupCodeAt];
  s.GroupCode = inRange(group, 10, 15) ? group : (group == 0xFF ? kDtmfGroupCodeOff : 10);
  if (image[kDecodeResponseAt] > 2) image[kDecodeResponseAt] = 0;
  s.DecodeResponse = image[kDecodeResponseAt];
  s.PreSendDelay = image[kPreSendDelayAt];
  if (image[kFirstDigitDelayAt] > 250) image[kFirstDigitDelayAt] = 0;
  s.FirstDigitDelay = image[kFirstDigitDelayAt];
  s.ResetTime = image[kResetTimeAt];

  std::string id;
  bool bad = false;
  for (size_t k = 0; k < 3; ++k) {
    uint8_t b = image[kOwnIdAt + k];
    if (b > 9) bad = true;
    id += std::to_string(b);
  }
  s.OwnId = bad ? std::string("000") : id;

  s.Sidetone = image[kSidetoneAt];
  s.PostSendDelay = image[kPostSendDelayAt];
  s.PauseTime = image[kPauseTimeAt];

  GetCode(s.PttIdBegin, image, kPttIdBeginAt, kPttIdBeginAt + 12, kDtmfCodeLimit);
  GetCode(s.PttIdEnd, image, kPttIdEndAt, kPttIdEndAt + 12, kDtmfCodeLimit);
  GetCode(s.KillCode, image, kKillCodeAt, kKillCodeAt + 7, kDtmfShortLimit);
  GetCode(s.StunCode, image, kStunCodeAt, kStunCodeAt + 7, kDtmfShortLimit);
  for (size_t k = 0; k < s.Codes.size(); ++k) {
    size_t at = kDtmfCodesAddress + kCodeSlotSize * k;
    GetCode(s.Codes[k], image, at, at + 12, kDtmfCodeLimit);
  }
}

namespace {
bool AllDigits(std::string_view s) {
  for (char c : s)
    if (!IsDigit(c)) return false;
  return true;
}
}  // namespace

std::string DtmfCodeForNewOwnId(std::string_view code, std::string_view separator,
                                std::string_view newId) {
  if (code.size() == 7 && AllDigits(code.substr(0, 3)) && AllDigits(code.substr(4, 3)) &&
      code.substr(3, 1) == separator)
    return std::string(code.substr(0, 4)) + std::string(newId);
  if (code.size() == 4 && AllDigits(code.substr(1, 3)) && code.substr(0, 1) == separator)
    return std::string(code.substr(0, 1)) + std::string(newId);
  return std::string(code);
}

std::string DtmfCodeForNewSeparator(std::string_view code, std::string_view ownId,
                                    std::string_view separator) {
  if (code.size() == 7 && AllDigits(code.substr(0, 3)) && AllDigits(code.substr(4, 3)) &&
      code.substr(4, 3) == ownId && !IsDigit(code[3]))
    return std::string(code.substr(0, 3)) + std::string(separator) + std::string(code.substr(4));
  if (code.size() == 4 && AllDigits(code.substr(1, 3)) && code.substr(1, 3) == ownId &&
      !IsDigit(code[0]))
    return std::string(separator) + std::string(code.substr(1));
  return std::string(code);
}

}  // namespace kvx

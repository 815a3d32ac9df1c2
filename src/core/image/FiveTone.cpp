#include "core/image/FiveTone.h"

#include "core/image/RadioImage.h"
#include "core/util/Text.h"

namespace kvx {
namespace {

constexpr std::string_view kFailMessage = "SetCommDataBy5ToneError";
constexpr size_t kSlotSize = 32;
constexpr size_t kPttIdSlotSize = 16;
constexpr size_t kCodeNameOffset = 24;
constexpr size_t kInfoNameOffset = 16;
constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool PutByte(RadioImage& image, size_t at, int value) {
  if (value < 0 || value > 255) return false;
  image[at] = static_cast<uint8_t>(value);
  return true;
}

// Seven name bytes: the characters blank-padded, or seven zeros for an empty name.
void PutName(RadioImage& image, size_t at, const FixedText<7>& field) {
  std::string name = field.Clean();
  for (size_t k = 0; k < 7; ++k) {
    uint8_t v = 0;
    if (!name.empty()) v = k < name.size() ? static_cast<uint8_t>(name[k]) : 0x20;
    image[at + k] = v;
  }
}

// The characters up to the first 0x00 or 0xFF, at most seven.
std::string GetName(const RadioImage& image, size_t at) {
  std::string name;
  for (size_t k = 0; k < 7; ++k) {
    uint8_t v = image[at + k];
    if (v == 0x00 || v == 0xFF) break;
    name += static_cast<char>(v);
  }
  return name;
}

// Standard, length and tone period at offsets 1-3, then the digits packed two per byte from
// offset 4, an odd length filled with "E". A length beyond what the slot holds is written as 0
// so that nothing lands outside the slot.
bool PutCodeSlot(RadioImage& image, size_t at, const FiveToneCode& c, int digitLimit) {
  int n = c.Length > digitLimit ? 0 : c.Length;
  image[at + 1] = c.Standard;
  image[at + 2] = static_cast<uint8_t>(n);
  image[at + 3] = (c.TonePeriod >= 3 && c.TonePeriod <= 10) ? c.TonePeriod : 7;
  std::string t = c.Digits.Clean();
  while (static_cast<int>(t.size()) < n) t += 'E';
  t.resize(static_cast<size_t>(n));
  if (t.size() % 2) t += 'E';
  for (size_t i = 0; i + 1 < t.size(); i += 2) {
    int hi = HexValue(t[i]);
    int lo = HexValue(t[i + 1]);
    if (hi < 0 || lo < 0) return false;
    image[at + 4 + i / 2] = static_cast<uint8_t>(hi << 4 | lo);
  }
  return true;
}

void GetCodeSlot(const RadioImage& image, size_t at, FiveToneCode& c) {
  c.Standard = image[at + 1];
  c.Length = image[at + 2];
  uint8_t period = image[at + 3];
  c.TonePeriod = (period >= 3 && period <= 10) ? period : 7;
  // Only the digits the 40-character field can hold are read.
  size_t n = c.Length < 40 ? c.Length : 40;
  std::string t;
  for (size_t i = 0; i < (n + 1) / 2; ++i) {
    uint8_t b = image[at + 4 + i];
    t += kHex[b >> 4];
    t += kHex[b & 0x0F];
  }
  t.resize(n);
  c.Digits = t;
}

}  // namespace

void FiveToneCode::Write(ByteWriter& w) const {
  w.I16(Empty);
  w.U8(Spare);
  w.U8(Standard);
  w.U8(Length);
  w.U8(TonePeriod);
  Digits.Write(w);
  Name.Write(w);
}

void FiveToneCode::Read(ByteReader& r) {
  Empty = r.I16();
  Spare = r.U8();
  Standard = r.U8();
  Length = r.U8();
  TonePeriod = r.U8();
  Digits.Read(r);
  Name.Read(r);
}

void InfoCode::Write(ByteWriter& w) const {
  w.U8(Function);
  w.U8(Response);
  w.U8(Length);
  Digits.Write(w);
  Name.Write(w);
}

void InfoCode::Read(ByteReader& r) {
  Function = r.U8();
  Response = r.U8();
  Length = r.U8();
  Digits.Read(r);
  Name.Read(r);
}

void FiveToneSettings::Write(ByteWriter& w) const {
  for (uint8_t v : {Reserved, DecodeResponse, Standard, IdLength, TonePeriod}) w.U8(v);
  OwnId.Write(w);
  for (uint8_t v : {Seconds, Delay1, Delay2, Number}) w.U8(v);
  for (int16_t v : {FirstDigitDelay, PauseTime, PauseCode, Sidetone, SpecialCall}) w.I16(v);
  for (const auto& c : InfoCodes) c.Write(w);
  PttIdBegin.Write(w);
  PttIdEnd.Write(w);
  for (const auto& c : Codes) c.Write(w);
}

void FiveToneSettings::Read(ByteReader& r) {
  for (uint8_t* v : {&Reserved, &DecodeResponse, &Standard, &IdLength, &TonePeriod}) *v = r.U8();
  OwnId.Read(r);
  for (uint8_t* v : {&Seconds, &Delay1, &Delay2, &Number}) *v = r.U8();
  for (int16_t* v : {&FirstDigitDelay, &PauseTime, &PauseCode, &Sidetone, &SpecialCall})
    *v = r.I16();
  for (auto& c : InfoCodes) c.Read(r);
  PttIdBegin.Read(r);
  PttIdEnd.Read(r);
  for (auto& c : Codes) c.Read(r);
}

void ResetFiveTone(FiveToneSettings& s, uint8_t& decodeTime) {
  const FiveToneSettings d;
  s.Reserved = d.Reserved;
  s.DecodeResponse = d.DecodeResponse;
  s.Standard = d.Standard;
  s.IdLength = d.IdLength;
  s.TonePeriod = d.TonePeriod;
  s.OwnId = d.OwnId;
  s.Seconds = d.Seconds;
  s.Delay1 = d.Delay1;
  s.Delay2 = d.Delay2;
  s.Number = d.Number;
  s.FirstDigitDelay = d.FirstDigitDelay;
  s.PauseTime = d.PauseTime;
  s.PauseCode = d.PauseCode;
  s.Sidetone = d.Sidetone;
  s.SpecialCall = d.SpecialCall;
  for (auto& c : s.InfoCodes) {
    c.Function = c.Response = c.Length = 0;
    c.Digits = "";
  }
  for (auto& c : s.Codes) {
    c.Empty = 1;
    c.Spare = 0;
    c.Standard = 0;
    c.Length = 0;
    c.TonePeriod = 7;
    c.Digits = "";
  }
  decodeTime = kDefaultDecodeTime;
}

bool FiveToneCodeInUse(const FiveToneSettings& s, int j) {
  return j >= 0 && j < kFiveToneCodes && s.Codes[static_cast<size_t>(j)].InUse();
}

InfoCodeCheck CheckInfoCodes(const FiveToneSettings& s) {
  InfoCodeCheck r;
  bool killOrStun = false, wake = false;
  auto digits = [](const InfoCode& c) {
    return std::string(c.Digits.Raw().substr(0, c.Length < 12 ? c.Length : 12));
  };
  for (const auto& c : s.InfoCodes) {
    if (c.Function == kInfoKill || c.Function == kInfoStun) killOrStun = true;
    if (c.Function == kInfoWakeUp) wake = true;
  }
  for (const auto& a : s.InfoCodes) {
    if (a.Function < kInfoKill || a.Function > kInfoWakeUp) continue;
    for (const auto& b : s.InfoCodes)
      if (b.Function != a.Function && digits(a) == digits(b)) r.DigitsClash = true;
  }
  r.KillOrStunWithoutWake = killOrStun && !wake;
  return r;
}

bool EncodeFiveTone(const FiveToneSettings& s, uint8_t decodeTime, RadioImage& image,
                    const CodecContext& ctx) {
  // Bytes 810, 821-831, offset 0 and 31 of every code slot, offsets 15 and 23-31 of every
  // information code slot and bits 4-7 of byte 924 belong to the radio and are left as they
  // are.
  auto fail = [&] {
    ctx.Fail(kFailMessage);
    return false;
  };
  const size_t at = kFiveToneSettingsAddress;
  image[at + 0] = s.Reserved;
  image[at + 1] = s.DecodeResponse;
  image[at + 2] = s.Standard;
  image[at + 3] = s.IdLength;
  image[at + 4] = s.TonePeriod;
  for (size_t i = 0; i < 5; ++i) {
    uint8_t v = 0;
    if (i < s.IdLength) {
      char c = i < s.OwnId.bytes.size() ? s.OwnId.bytes[i] : ' ';
      if (c < '0' || c > '9') return fail();
      v = static_cast<uint8_t>(c - '0');
    }
    image[at + 5 + i] = v;
  }
  image[at + 11] = s.Delay1;
  image[at + 12] = s.Delay2;
  image[at + 13] = s.Number;
  image[at + 14] = s.Seconds;
  image[at + 15] = static_cast<uint8_t>(s.FirstDigitDelay & 0xFF);
  if (!PutByte(image, at + 16, s.Sidetone)) return fail();
  if (!PutByte(image, at + 17, s.SpecialCall)) return fail();
  if (!PutByte(image, at + 18, s.PauseCode)) return fail();
  if (!PutByte(image, at + 19, s.PauseTime)) return fail();
  image[at + 20] = decodeTime;

  if (!PutCodeSlot(image, kFiveTonePttIdBeginAddress, s.PttIdBegin, kPttIdDigitLimit))
    return fail();
  if (!PutCodeSlot(image, kFiveTonePttIdEndAddress, s.PttIdEnd, kPttIdDigitLimit)) return fail();

  for (size_t i = 0; i < s.InfoCodes.size(); ++i) {
    const InfoCode& c = s.InfoCodes[i];
    size_t slot = kInfoCodesAddress + kSlotSize * i;
    int n = c.Length > kInfoDigitLimit ? 0 : c.Length;
    image[slot + 0] = c.Function;
    image[slot + 1] = c.Response;
    image[slot + 2] = static_cast<uint8_t>(n);
    std::string t = c.Digits.Clean();
    while (static_cast<int>(t.size()) < n) t += 'E';
    t.resize(static_cast<size_t>(n));
    for (size_t k = 0; k < t.size(); ++k) {
      int v = HexValue(t[k]);
      if (v < 0) return fail();
      image[slot + 3 + k] = static_cast<uint8_t>(v);
    }
    PutName(image, slot + kInfoNameOffset, c.Name);
  }

  for (size_t j = 0; j < s.Codes.size(); ++j) {
    const FiveToneCode& c = s.Codes[j];
    // The template has the map all ones: a code in use clears its bit.
    if (c.InUse()) SetBit(image.Span(), kFiveToneMapAddress + j / 8, j % 8, false);
    size_t slot = kFiveToneCodesAddress + kSlotSize * j;
    if (!PutCodeSlot(image, slot, c, kCodeDigitLimit)) return fail();
    PutName(image, slot + kCodeNameOffset, c.Name);
  }

  ctx.Mark(ExportArea::FiveTone, kFiveToneSettingsAddress, 32);
  ctx.Mark(ExportArea::FiveTone, kFiveTonePttIdBeginAddress, 2 * kPttIdSlotSize);
  ctx.Mark(ExportArea::FiveTone, kInfoCodesAddress, kInfoCodes * kSlotSize);
  for (size_t j = 0; j < s.Codes.size(); ++j) {
    if (!s.Codes[j].InUse()) continue;
    ctx.Mark(ExportArea::FiveTone, kFiveToneMapAddress + j / 8, 1);
    ctx.Mark(ExportArea::FiveTone, kFiveToneCodesAddress + kSlotSize * j, kSlotSize);
  }
  return true;
}

void DecodeFiveTone(FiveToneSettings& s, uint8_t& decodeTime, const RadioImage& image,
                    const CodecContext&) {
  const size_t at = kFiveToneSettingsAddress;
  s.Reserved = image[at + 0];
  s.DecodeResponse = image[at + 1];
  s.Standard = image[at + 2];
  s.IdLength = image[at + 3];
  s.TonePeriod = image[at + 4];
  std::string id;
  // Longer results are cut to the field anyway; six bytes are enough to fill it.
  for (size_t i = 0; i < s.IdLength && id.size() < 6; ++i) id += std::to_string(image[at + 5 + i]);
  id += '\0';
  s.OwnId = id;
  s.Delay1 = image[at + 11];
  s.Delay2 = image[at + 12];
  s.Number = image[at + 13];
  s.Seconds = image[at + 14];
  s.FirstDigitDelay = image[at + 15];
  s.Sidetone = image[at + 16];
  s.SpecialCall = image[at + 17];
  s.PauseCode = image[at + 18];
  s.PauseTime = image[at + 19];
  decodeTime = image[at + 20];

  GetCodeSlot(image, kFiveTonePttIdBeginAddress, s.PttIdBegin);
  GetCodeSlot(image, kFiveTonePttIdEndAddress, s.PttIdEnd);

  for (size_t i = 0; i < s.InfoCodes.size(); ++i) {
    InfoCode& c = s.InfoCodes[i];
    size_t slot = kInfoCodesAddress + kSlotSize * i;
    auto byteOr0 = [&](size_t off) -> uint8_t {
      uint8_t v = image[slot + off];
      return v == 0xFF ? 0 : v;
    };
    c.Function = byteOr0(0);
    c.Response = byteOr0(1);
    c.Length = byteOr0(2);
    // One byte each; values from 16 on give two digits. Only what the field holds is read.
    std::string t;
    for (size_t k = 0; k < c.Length && t.size() < 12; ++k) {
      uint8_t v = image[slot + 3 + k];
      if (v >= 16) t += kHex[(v >> 4) & 0x0F];
      t += kHex[v & 0x0F];
    }
    if (t.size() > c.Length) t.resize(c.Length);
    c.Digits = t;
    c.Name = GetName(image, slot + kInfoNameOffset);
  }

  for (size_t j = 0; j < s.Codes.size(); ++j) {
    FiveToneCode& c = s.Codes[j];
    size_t slot = kFiveToneCodesAddress + kSlotSize * j;
    c.Empty = GetBit(image.Span(), kFiveToneMapAddress + j / 8, j % 8) ? 1 : 0;
    GetCodeSlot(image, slot, c);
    std::string name = GetName(image, slot + kCodeNameOffset);
    if (name.size() < 7) name += '\0';
    c.Name = name;
  }
}

}  // namespace kvx

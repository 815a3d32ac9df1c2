#include "core/image/TwoTone.h"

#include <cmath>

#include "core/image/RadioImage.h"
#include "core/util/Text.h"

namespace kvx {
namespace {

constexpr size_t kEntrySize = 16;

void PutHighLow(ByteWriter& w, uint16_t v) {
  w.U8(static_cast<uint8_t>(v >> 8));
  w.U8(static_cast<uint8_t>(v & 0xFF));
}
void PutLowHigh(ByteWriter& w, uint16_t v) {
  w.U8(static_cast<uint8_t>(v & 0xFF));
  w.U8(static_cast<uint8_t>(v >> 8));
}
uint16_t GetHighLow(ByteReader& r) {
  uint16_t hi = r.U8();
  uint16_t lo = r.U8();
  return static_cast<uint16_t>(hi << 8 | lo);
}
uint16_t GetLowHigh(ByteReader& r) {
  uint16_t lo = r.U8();
  uint16_t hi = r.U8();
  return static_cast<uint16_t>(hi << 8 | lo);
}

uint16_t ClampDivider(double v) {
  if (!(v > 0)) return 0;
  if (v > 65535) return 65535;
  return static_cast<uint16_t>(v);  // truncates toward zero
}

}  // namespace

void TwoToneEntry::Write(ByteWriter& w) const {
  w.I16(Empty);
  PutHighLow(w, RxDivider1);
  PutHighLow(w, RxDivider2);
  PutHighLow(w, RxTone1);
  PutHighLow(w, RxTone2);
  Name.Write(w);
}

void TwoToneEntry::Read(ByteReader& r) {
  Empty = r.I16();
  RxDivider1 = GetHighLow(r);
  RxDivider2 = GetHighLow(r);
  RxTone1 = GetHighLow(r);
  RxTone2 = GetHighLow(r);
  Name.Read(r);
}

void TwoToneSettings::Write(ByteWriter& w) const {
  PutHighLow(w, FirstTone);
  PutHighLow(w, SecondTone);
  w.U8(CallFormat);
  PutHighLow(w, FirstDivider);
  PutHighLow(w, SecondDivider);
  w.U8(Time5);
  w.U8(DecodeResponse);
  w.U8(Sidetone);
  PutLowHigh(w, ToneA);
  PutLowHigh(w, ToneB);
  PutLowHigh(w, ToneC);
  PutLowHigh(w, ToneD);
  w.U8(Time1);
  w.U8(Time2);
  w.U8(Time3);
  w.U8(Time4);
  for (const auto& e : Entries) e.Write(w);
}

void TwoToneSettings::Read(ByteReader& r) {
  FirstTone = GetHighLow(r);
  SecondTone = GetHighLow(r);
  CallFormat = r.U8();
  FirstDivider = GetHighLow(r);
  SecondDivider = GetHighLow(r);
  Time5 = r.U8();
  DecodeResponse = r.U8();
  Sidetone = r.U8();
  ToneA = GetLowHigh(r);
  ToneB = GetLowHigh(r);
  ToneC = GetLowHigh(r);
  ToneD = GetLowHigh(r);
  Time1 = r.U8();
  Time2 = r.U8();
  Time3 = r.U8();
  Time4 = r.U8();
  for (auto& e : Entries) e.Read(r);
}

namespace {
void ResetEntries(std::array<TwoToneEntry, kTwoToneEntries>& entries) {
  for (auto& e : entries) {
    e.Empty = 1;
    e.RxDivider1 = e.RxDivider2 = e.RxTone1 = e.RxTone2 = 0;
  }
  TwoToneEntry& first = entries[0];
  first.Empty = 0;
  first.RxDivider1 = 14920;
  first.RxDivider2 = 5172;
  first.RxTone1 = 3217;
  first.RxTone2 = 9281;
}
}  // namespace

std::array<TwoToneEntry, kTwoToneEntries> TwoToneSettings::DefaultEntries() {
  std::array<TwoToneEntry, kTwoToneEntries> entries{};
  ResetEntries(entries);
  return entries;
}

void ResetTwoTone(TwoToneSettings& s) {
  ResetEntries(s.Entries);
}

bool TwoToneEntryInUse(const TwoToneSettings& s, int n) {
  return n >= 0 && n < kTwoToneEntries && s.Entries[static_cast<size_t>(n)].InUse();
}

uint16_t EncodeDivider(double hz) {
  return hz > 0 ? ClampDivider(9600000.0 / (2 * hz)) : 0;
}
uint16_t DecodeDivider(double hz) {
  return hz > 0 ? ClampDivider(9600000.0 / (16 * hz)) : 0;
}

uint16_t ToneToTenths(double hz) {
  double v = std::nearbyint(hz * 10);  // the default rounding mode: halves to even
  if (!(v > 0)) return 0;
  if (v > 65535) return 65535;
  return static_cast<uint16_t>(v);
}

bool EncodeTwoTone(const TwoToneSettings& s, RadioImage& image, const CodecContext& ctx) {
  // Bytes 792-799 and the last byte of each entry belong to the radio and are left as they
  // are. Every field is byte-sized, so no value can fail to convert.
  Bytes b = image.Span();
  const size_t at = kTwoToneSettingsAddress;
  SetLe16(b, at + 0, s.FirstTone);
  SetLe16(b, at + 2, s.SecondTone);
  SetLe16(b, at + 4, s.FirstDivider);
  SetLe16(b, at + 6, s.SecondDivider);
  b[at + 8] = s.DecodeResponse;
  b[at + 9] = s.Time1;
  b[at + 10] = s.Time2;
  b[at + 11] = s.Time3;
  b[at + 12] = s.Time4;
  b[at + 13] = s.Time5;
  b[at + 14] = s.Sidetone;
  b[at + 15] = s.CallFormat;
  // The tones A-D are big-endian, unlike every other value of the area.
  SetBe16(b, at + 16, s.ToneA);
  SetBe16(b, at + 18, s.ToneB);
  SetBe16(b, at + 20, s.ToneC);
  SetBe16(b, at + 22, s.ToneD);
  ctx.Mark(ExportArea::TwoTone, at, 32);

  for (size_t n = 0; n < s.Entries.size(); ++n) {
    const TwoToneEntry& e = s.Entries[n];
    size_t mapAt = kTwoToneMapAddress + n / 8;
    size_t entryAt = kTwoToneEntriesAddress + kEntrySize * n;
    // The template has the map all ones: an entry in use clears its bit.
    if (e.InUse()) {
      SetBit(b, mapAt, static_cast<unsigned>(n % 8), false);
      ctx.Mark(ExportArea::TwoTone, mapAt, 1);
      ctx.Mark(ExportArea::TwoTone, entryAt, kEntrySize);
    }
    SetLe16(b, entryAt + 0, e.RxDivider1);
    SetLe16(b, entryAt + 2, e.RxDivider2);
    SetLe16(b, entryAt + 4, e.RxTone1);
    SetLe16(b, entryAt + 6, e.RxTone2);
    std::string name = e.Name.Clean();
    for (size_t k = 0; k < 7; ++k) {
      uint8_t v = 0;
      if (!name.empty()) v = k < name.size() ? static_cast<uint8_t>(name[k]) : 0x20;
      b[entryAt + 8 + k] = v;
    }
  }
  return true;
}

void DecodeTwoTone(TwoToneSettings& s, const RadioImage& image, const CodecContext&) {
  ConstBytes b = image.Span();
  const size_t at = kTwoToneSettingsAddress;
  s.FirstTone = Le16(b, at + 0);
  s.SecondTone = Le16(b, at + 2);
  s.FirstDivider = Le16(b, at + 4);
  s.SecondDivider = Le16(b, at + 6);
  s.DecodeResponse = b[at + 8];
  s.Time1 = b[at + 9];
  s.Time2 = b[at + 10];
  s.Time3 = b[at + 11];
  s.Time4 = b[at + 12];
  s.Time5 = b[at + 13];
  s.Sidetone = b[at + 14];
  s.CallFormat = b[at + 15] > 14 ? 0 : b[at + 15];
  s.ToneA = Be16(b, at + 16);
  s.ToneB = Be16(b, at + 18);
  s.ToneC = Be16(b, at + 20);
  s.ToneD = Be16(b, at + 22);

  for (size_t n = 0; n < s.Entries.size(); ++n) {
    TwoToneEntry& e = s.Entries[n];
    size_t entryAt = kTwoToneEntriesAddress + kEntrySize * n;
    e.Empty = GetBit(b, kTwoToneMapAddress + n / 8, static_cast<unsigned>(n % 8)) ? 1 : 0;
    e.RxDivider1 = Le16(b, entryAt + 0);
    e.RxDivider2 = Le16(b, entryAt + 2);
    e.RxTone1 = Le16(b, entryAt + 4);
    e.RxTone2 = Le16(b, entryAt + 6);
    std::string name;
    for (size_t k = 0; k < 7; ++k) {
      uint8_t v = b[entryAt + 8 + k];
      if (v == 0x00 || v == 0xFF) break;
      name += static_cast<char>(v);
    }
    if (name.size() < 7) name += '\0';
    e.Name = name;
  }
}

}  // namespace kvx

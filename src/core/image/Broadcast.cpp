#include "core/image/Broadcast.h"

#include <cmath>

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"

namespace kvx {

namespace {

struct Layout {
  size_t vfo;      // the VFO entry's 4 bytes
  size_t entries;  // memory entry n at entries + 4n
  size_t flags;    // presence bits, 0 = in use
};
constexpr Layout kFm{0x3900, 0x3910, ImageAddr::FmFlags};
constexpr Layout kAm{0x3960, 0x3980, ImageAddr::AmFlags};
constexpr size_t kMemoryEntries = 20;

size_t EntryAddress(const Layout& l, size_t index) {
  return index == BroadcastList::kVfo ? l.vfo : l.entries + 4 * index;
}

// MHz x 10000 rounded half to even, when it fits eight decimal digits.
bool ToUnits(double mhz, uint32_t& units) {
  double x = mhz * 10000.0;
  if (!std::isfinite(x)) return false;
  double r = std::floor(x);
  double frac = x - r;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  if (r < 0 || r > 99999999) return false;
  units = static_cast<uint32_t>(r);
  return true;
}

bool Encode(BroadcastList& list, const Layout& l, RadioImage& image, const CodecContext& ctx) {
  for (auto& e : list.entries)
    if (e.Frequency == 0) e.InUse = 0;
  for (size_t n = 0; n < BroadcastList::kEntries; ++n) {
    const auto& e = list.entries[n];
    if (e.InUse != 1) continue;  // an empty entry's bytes are not written
    uint32_t units = 0;
    if (!ToUnits(e.Frequency, units)) {
      ctx.Fail(kBroadcastEncodeError);
      return false;
    }
    if (n < kMemoryEntries) SetBit(image.Span(), l.flags + n / 8, n % 8, false);
    size_t at = EntryAddress(l, n);
    for (int i = 3; i >= 0; --i, units /= 100) image[at + i] = IntToBcd(units % 100);
    // Broadcast entries are recorded on every export, whatever its boxes say.
    if (ctx.exportRun) ctx.exportRun->MarkBlocks(at, 4);
  }
  if (ctx.exportRun) ctx.exportRun->MarkBlocks(l.flags, 16);
  return true;
}

void Decode(BroadcastList& list, const Layout& l, const RadioImage& image) {
  for (size_t n = 0; n < BroadcastList::kEntries; ++n) {
    auto& e = list.entries[n];
    e.InUse = n == BroadcastList::kVfo || !GetBit(image.Span(), l.flags + n / 8, n % 8) ? 1 : 0;
    if (!e.InUse) continue;
    size_t at = EntryAddress(l, n);
    uint32_t units = 0;
    bool digits = true;
    for (size_t i = 0; i < 4; ++i) {
      digits = digits && IsBcdByte(image[at + i]);
      units = units * 100 + BcdToInt(image[at + i]);
    }
    // Bytes that are not decimal digits (an erased radio) leave the entry empty.
    if (digits)
      e.Frequency = units / 10000.0;
    else
      e.InUse = 0;
  }
}

}  // namespace

void BroadcastEntry::Write(ByteWriter& w) const {
  w.I16(Position);
  w.I16(InUse);
  w.F64(Frequency);
}
void BroadcastEntry::Read(ByteReader& r) {
  Position = r.I16();
  InUse = r.I16();
  Frequency = r.F64();
}

void BroadcastList::Write(ByteWriter& w) const {
  for (const auto& e : entries) e.Write(w);
}
void BroadcastList::Read(ByteReader& r) {
  for (auto& e : entries) e.Read(r);
}

void NumberBroadcastEntries(BroadcastList& list) {
  for (size_t i = 0; i < list.entries.size(); ++i)
    list.entries[i].Position = static_cast<int16_t>(i + 1);
}

bool EncodeFm(FmList& list, RadioImage& image, const CodecContext& ctx) {
  return Encode(list, kFm, image, ctx);
}
bool EncodeAm(AmList& list, RadioImage& image, const CodecContext& ctx) {
  return Encode(list, kAm, image, ctx);
}
void DecodeFm(FmList& list, const RadioImage& image, const CodecContext&) {
  Decode(list, kFm, image);
}
void DecodeAm(AmList& list, const RadioImage& image, const CodecContext&) {
  Decode(list, kAm, image);
}

}  // namespace kvx

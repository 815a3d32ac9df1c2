// The channel codec: the channel list to and from the present and scan-skip bitmaps, the
// 32-byte channel records and the PTT-ID codes of the image.
#include <array>
#include <cmath>

#include "core/image/Channels.h"
#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

constexpr std::string_view kEncodeError = "SetCommDataByFrequencyError";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

size_t PttIdAddress(int number) {
  return ImageAddr::ChannelPttId + kPttIdCodeSize * static_cast<size_t>(number - 1);
}

// One channel's bytes, prepared before anything is written so that a bad value leaves the
// image untouched for that channel.
struct EncodedChannel {
  std::array<uint8_t, kChannelImageSize - 1> record{};  // byte 31 is never written
  std::array<uint8_t, kPttIdCodeSize> pttId{};
};

bool EncodeChannel(const ChannelRecord& c, EncodedChannel& out) {
  auto& b = out.record;
  bool ok = true;
  auto put = [&](size_t at, int v) {
    if (v < 0 || v > 255) ok = false;
    b[at] = static_cast<uint8_t>(v);
  };
  if (!EncodeFreq(c.RxFreq.Raw(), true, Bytes(b).subspan(0, 4))) return false;
  if (!EncodeFreq(c.Offset.Raw(), false, Bytes(b).subspan(4, 4))) return false;
  put(8, c.Step);
  put(9, c.TxInhibit + 2 * c.Reverse + 4 * c.Bandwidth + 16 * c.ToneBInverted +
             32 * (c.ToneBDcs / 256) + 64 * c.PttIdDecode);
  put(10, ShiftToImageCode(c.Shift) + 4 * c.Power + 16 * c.ToneAInverted + 32 * (c.ToneADcs / 256) +
              64 * c.Compander + 128 * c.Talkaround);
  put(11, c.ToneBType + 4 * c.ToneAType + 16 * c.DtmfCode);
  put(12, c.ToneBCtcss);
  put(13, c.ToneACtcss);
  put(14, c.ToneBDcs % 256);
  put(15, c.ToneADcs % 256);
  put(16, c.Signalling);
  put(17, c.TwoToneCode);
  put(18, c.FiveToneCode);
  // An empty name is seven zeros; otherwise the characters padded with blanks.
  std::string name = c.Name.Clean();
  for (size_t i = 0; i < 7; ++i)
    b[19 + i] = name.empty() ? 0x00 : (i < name.size() ? static_cast<uint8_t>(name[i]) : 0x20);
  put(26, c.BusyLock);
  put(27, c.RawByte27);
  put(28, c.DtmfPttId + 16 * c.FiveTonePttId);
  put(29, c.SquelchMode);
  put(30, c.Scramble);
  if (!ok) return false;

  std::string code = c.PttIdCode.Clean();
  while (code.size() < kPttIdCodeSize) code.push_back('0');
  for (size_t i = 0; i < kPttIdCodeSize; ++i) {
    int d = HexDigit(code[i]);
    if (d < 0) return false;
    out.pttId[i] = static_cast<uint8_t>(d);
  }
  return true;
}

int64_t LimitUnits(double mhz) {
  return std::llround(mhz * static_cast<double>(kUnitsPerMHz));
}

}  // namespace

size_t ChannelRecordAddress(int number) {
  switch (number) {
    case kChannelPA:
      return ImageAddr::ChannelPA;
    case kChannelPB:
      return ImageAddr::ChannelPB;
    case kChannelCall:
      return ImageAddr::ChannelCall;
    case kChannelVfo:
      return ImageAddr::ChannelVfo;
    default:
      return ImageAddr::Channels + kChannelImageSize * static_cast<size_t>(number - 1);
  }
}

bool PackChannels(const ChannelList& list, RadioImage& image, const CodecContext& ctx) {
  ctx.Mark(ExportArea::Channels, ImageAddr::PresentBitmap, 0x40);
  Bytes img = image.Span();
  for (const ChannelRecord& c : list.Used()) {
    EncodedChannel enc;
    if (c.Number < 1 || c.Number > kChannelSlots || !EncodeChannel(c, enc)) {
      ctx.Fail(kEncodeError);
      return false;
    }
    const size_t j = static_cast<size_t>(c.Number - 1);
    if (c.Number <= kChannelPB) {  // CALL and VFO have no bits: they are always present
      if (c.InUse == 1) SetBit(img, ImageAddr::PresentBitmap + j / 8, j % 8, false);
      if (c.ScanSkip == 0) SetBit(img, ImageAddr::ScanSkipBitmap + j / 8, j % 8, false);
    }
    const size_t a = ChannelRecordAddress(c.Number);
    std::copy(enc.record.begin(), enc.record.end(), img.begin() + a);
    if (c.Number <= kMemoryChannels) {
      std::copy(enc.pttId.begin(), enc.pttId.end(), img.begin() + PttIdAddress(c.Number));
      ctx.Mark(ExportArea::Channels, a, kChannelImageSize);
      if (ctx.exportRun && ctx.exportRun->AreaOn(ExportArea::Channels))
        ctx.exportRun->AddChannelRow(c);
    }
  }
  return true;
}

void UnpackChannels(ChannelList& list, RadioImage& image, const CodecContext& ctx) {
  static const AppState kDefaults;
  const AppState& app = ctx.app ? *ctx.app : kDefaults;
  const bool band16 = app.BandCode == 16;
  const int64_t rxLow = LimitUnits(app.RxLow), rxHigh = LimitUnits(app.RxHigh);
  const int64_t txLow = LimitUnits(app.TxLow), txHigh = LimitUnits(app.TxHigh);
  Bytes img = image.Span();

  list.ChannelCount = 0;
  for (int n = 1; n <= kChannelSlots; ++n) {
    const size_t j = static_cast<size_t>(n - 1);
    bool present = n > kChannelPB || !GetBit(img, ImageAddr::PresentBitmap + j / 8, j % 8);
    if (band16 && n <= 80) present = true;
    if (!present) continue;

    const size_t pos = list.Count();
    // Fields the image does not carry keep the values of the record in this slot.
    ChannelRecord c = list.Slots[pos];
    c.Number = static_cast<int16_t>(n);
    c.InUse = 1;
    if (n <= kChannelPB) c.ScanSkip = GetBit(img, ImageAddr::ScanSkipBitmap + j / 8, j % 8) ? 1 : 0;

    const size_t a = ChannelRecordAddress(n);
    ConstBytes b = ConstBytes(img).subspan(a, kChannelImageSize);
    std::string rx = DecodeFreq(b.subspan(0, 4), true);
    if (rx == kNoFreq) {
      // CALL and VFO must survive every read: an unreadable one takes its default record.
      if (n == kChannelCall || n == kChannelVfo) {
        list.Slots[pos] = DefaultChannel(n, app);
        list.ChannelCount = static_cast<int16_t>(pos + 1);
      }
      continue;
    }
    list.ChannelCount = static_cast<int16_t>(pos + 1);

    c.RxFreq = rx;
    c.Offset = DecodeFreq(b.subspan(4, 4), false);
    if (band16 && n <= 80) {
      std::string t = UnitsToFreqText(static_cast<int64_t>(j) * 1250);
      t = "0245" + t.substr(t.size() - 5);
      c.RxFreq = t;
      c.Offset = t;
    }

    c.Step = b[8];
    c.TxInhibit = b[9] & 1;
    c.Reverse = (b[9] >> 1) & 1;
    c.Bandwidth = (b[9] >> 2) & 3;
    c.ToneBInverted = (b[9] >> 4) & 1;
    c.ToneBDcsHigh = (b[9] >> 5) & 1;
    c.PttIdDecode = (b[9] >> 6) & 1;
    c.Shift = static_cast<int16_t>(ShiftFromImageCode(b[10] & 3));
    c.Power = (b[10] >> 2) & 3;
    if (c.Power == 3) c.Power = 2;
    c.ToneAInverted = (b[10] >> 4) & 1;
    c.ToneADcsHigh = (b[10] >> 5) & 1;
    c.Compander = (b[10] >> 6) & 1;
    c.Talkaround = (b[10] >> 7) & 1;
    c.ToneBType = b[11] & 3;
    c.ToneAType = (b[11] >> 2) & 3;
    c.DtmfCode = (b[11] >> 4) & 0x0F;
    c.ToneBCtcss = b[12];
    c.ToneACtcss = b[13];
    c.ToneBDcs = static_cast<int16_t>(256 * c.ToneBDcsHigh + b[14]);
    c.ToneADcs = static_cast<int16_t>(256 * c.ToneADcsHigh + b[15]);
    c.Signalling = b[16];
    c.TwoToneCode = b[17];
    c.FiveToneCode = b[18];
    c.BusyLock = b[26];
    c.RawByte27 = b[27];
    c.DtmfPttId = b[28] & 0x0F;
    c.FiveTonePttId = (b[28] >> 4) & 0x0F;
    c.SquelchMode = b[29];
    c.Scramble = b[30];

    std::string name = CleanText(std::string(reinterpret_cast<const char*>(&b[19]), 7));
    if (name.size() < 7) name.push_back('\0');
    c.Name = name;

    // Receive clamp to the band, then an offset that would leave the transmit band is dropped.
    int64_t rxUnits = FreqTextUnits(c.RxFreq.Raw()).value_or(0);
    if (rxUnits < rxLow) {
      rxUnits = rxLow;
      c.RxFreq = UnitsToFreqText(rxLow);
    } else if (rxUnits > rxHigh) {
      rxUnits = rxHigh;
      c.RxFreq = UnitsToFreqText(rxHigh);
    }
    const int64_t offUnits = FreqTextUnits(c.Offset.Raw()).value_or(0);
    const int64_t tx = c.Shift == ShiftMinus ? rxUnits - offUnits : rxUnits + offUnits;
    if (tx < txLow || tx > txHigh) c.Offset = "0";

    if (n <= kMemoryChannels) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      std::string code;
      for (size_t i = 0; i < kPttIdCodeSize; ++i) {
        uint8_t& d = img[PttIdAddress(n) + i];
        if (d > 0x0F) d = 0x00;  // mended in the image too
        code.push_back(kHex[d]);
      }
      c.PttIdCode = code;
    }
    list.Slots[pos] = c;
  }
}

}  // namespace kvx

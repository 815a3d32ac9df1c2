#include "core/image/Options.h"

#include <string>

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

using Field = int16_t OptionSettings::*;

// The plain one-byte fields of the first options block, as both directions walk them.
struct PlainByte {
  Field field;
  uint16_t address;
};
constexpr PlainByte kPlainBytes[] = {
    {&OptionSettings::Option0, 0x220},       {&OptionSettings::Option1, 0x221},
    {&OptionSettings::OptionChannel, 0x222}, {&OptionSettings::Option3, 0x223},
    {&OptionSettings::Option5, 0x225},       {&OptionSettings::Option18, 0x226},
    {&OptionSettings::Option7, 0x227},       {&OptionSettings::Option8, 0x228},
    {&OptionSettings::Option15, 0x22A},      {&OptionSettings::ToneFrequency, 0x22B},
    {&OptionSettings::Option10, 0x22C},      {&OptionSettings::Option11, 0x22E},
    {&OptionSettings::Option12, 0x22F},      {&OptionSettings::Option16, 0x234},
    {&OptionSettings::Option17, 0x235},      {&OptionSettings::PowerOnPasswordEnabled, 0x238},
    {&OptionSettings::FmDisplayMode, 0x23A}, {&OptionSettings::FmWorkChannel, 0x23B},
    {&OptionSettings::AmWorkChannel, 0x23C},
};

// Bit fields: 0x230 and 0x233 are the sum of each field times its weight.
struct BitField {
  Field field;
  uint16_t address;
  unsigned bit;
};
constexpr BitField kBitFields[] = {
    {&OptionSettings::Option14, 0x230, 0},        {&OptionSettings::Switch3, 0x230, 1},
    {&OptionSettings::BroadcastSwitch, 0x230, 3}, {&OptionSettings::BroadcastBand, 0x230, 4},
    {&OptionSettings::AmDisplayMode, 0x230, 7},   {&OptionSettings::Switch0, 0x233, 0},
    {&OptionSettings::Switch1, 0x233, 1},         {&OptionSettings::Switch2, 0x233, 3},
};
constexpr uint16_t kSwitch4 = 0x21A;
constexpr uint16_t kSendTime = 0x232;
constexpr unsigned kSwitch6Bit = 6;
constexpr uint16_t kMessage = 0x3E0;
constexpr uint16_t kPassword = 0x210;
constexpr uint16_t kBle = 0x39E0;

bool FitsByte(long v) {
  return v >= 0 && v <= 255;
}

// A text field as the radio holds it: the clean text, 0x00 past its end.
template <size_t N>
void WriteText(RadioImage& image, size_t address, const FixedText<N>& field) {
  std::string text = field.Clean();
  for (size_t i = 0; i < N; ++i)
    image[address + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
}

// The text up to the first 0x00 or 0xFF, followed by a NUL, blank-padded into the field.
template <size_t N>
void ReadText(const RadioImage& image, size_t address, FixedText<N>& field) {
  std::string text;
  size_t i = 0;
  for (; i < N; ++i) {
    uint8_t b = image[address + i];
    if (b == 0x00 || b == 0xFF) break;
    text.push_back(static_cast<char>(b));
  }
  if (i < N) text.push_back('\0');
  field = text;
}

}  // namespace

void OptionSettings::Write(ByteWriter& w) const {
  for (Field f :
       {&OptionSettings::Option0,  &OptionSettings::Option1,  &OptionSettings::OptionChannel,
        &OptionSettings::Option3,  &OptionSettings::Option5,  &OptionSettings::Option18,
        &OptionSettings::Option7,  &OptionSettings::Option8,  &OptionSettings::ToneFrequency,
        &OptionSettings::Option10, &OptionSettings::Option11, &OptionSettings::Option12,
        &OptionSettings::Option14, &OptionSettings::Switch3,  &OptionSettings::Option15,
        &OptionSettings::Switch0,  &OptionSettings::Switch1,  &OptionSettings::Switch2,
        &OptionSettings::Option16, &OptionSettings::Option17, &OptionSettings::Option4,
        &OptionSettings::Option6,  &OptionSettings::Option13})
    w.I16(this->*f);
  PowerOnMessage.Write(w);
  w.I16(PowerOnPasswordEnabled);
  PowerOnPassword.Write(w);
  for (Field f : {&OptionSettings::AmDisplayMode, &OptionSettings::BroadcastBand,
                  &OptionSettings::BroadcastSwitch, &OptionSettings::FmDisplayMode,
                  &OptionSettings::FmWorkChannel, &OptionSettings::AmWorkChannel})
    w.I16(this->*f);
}

void OptionSettings::Read(ByteReader& r) {
  for (Field f :
       {&OptionSettings::Option0,  &OptionSettings::Option1,  &OptionSettings::OptionChannel,
        &OptionSettings::Option3,  &OptionSettings::Option5,  &OptionSettings::Option18,
        &OptionSettings::Option7,  &OptionSettings::Option8,  &OptionSettings::ToneFrequency,
        &OptionSettings::Option10, &OptionSettings::Option11, &OptionSettings::Option12,
        &OptionSettings::Option14, &OptionSettings::Switch3,  &OptionSettings::Option15,
        &OptionSettings::Switch0,  &OptionSettings::Switch1,  &OptionSettings::Switch2,
        &OptionSettings::Option16, &OptionSettings::Option17, &OptionSettings::Option4,
        &OptionSettings::Option6,  &OptionSettings::Option13})
    this->*f = r.I16();
  PowerOnMessage.Read(r);
  PowerOnPasswordEnabled = r.I16();
  PowerOnPassword.Read(r);
  for (Field f : {&OptionSettings::AmDisplayMode, &OptionSettings::BroadcastBand,
                  &OptionSettings::BroadcastSwitch, &OptionSettings::FmDisplayMode,
                  &OptionSettings::FmWorkChannel, &OptionSettings::AmWorkChannel})
    this->*f = r.I16();
}

void BleOptions::Write(ByteWriter& w) const {
  w.Raw(bytes.data(), bytes.size());
}
void BleOptions::Read(ByteReader& r) {
  r.Raw(bytes.data(), bytes.size());
}

void ResetOptions(OptionSettings& o) {
  OptionSettings fresh;
  fresh.AmDisplayMode = o.AmDisplayMode;
  fresh.BroadcastBand = o.BroadcastBand;
  fresh.BroadcastSwitch = o.BroadcastSwitch;
  fresh.FmDisplayMode = o.FmDisplayMode;
  fresh.FmWorkChannel = o.FmWorkChannel;
  fresh.AmWorkChannel = o.AmWorkChannel;
  o = fresh;
}

// Bytes of the options blocks that are not listed here (0x224, 0x231, 0x236, 0x237, 0x239,
// 0x23D-0x23F, 0x3E7-0x3EF) belong to the radio and are left as the image holds them.
bool EncodeOptions(const OptionSettings& o, uint8_t switch4, uint8_t switch6, const BleOptions& ble,
                   int16_t sendTime, RadioImage& image, const CodecContext& ctx) {
  // Every value is checked before the first byte is written.
  long b230 = 64L * switch6;
  long b233 = 0;
  for (const auto& f : kBitFields)
    (f.address == 0x230 ? b230 : b233) += (o.*f.field) * (1L << f.bit);
  bool fits = FitsByte(b230) && FitsByte(b233) && FitsByte(sendTime);
  for (const auto& p : kPlainBytes) fits = fits && FitsByte(o.*p.field);
  if (!fits) {
    ctx.Fail(kOptionsEncodeError);
    return false;
  }
  image[kSwitch4] = switch4;
  for (const auto& p : kPlainBytes) image[p.address] = static_cast<uint8_t>(o.*p.field);
  image[0x229] = 0;
  image[0x22D] = 0;
  image[0x230] = static_cast<uint8_t>(b230);
  image[kSendTime] = static_cast<uint8_t>(sendTime);
  image[0x233] = static_cast<uint8_t>(b233);
  WriteText(image, kMessage, o.PowerOnMessage);
  WriteText(image, kPassword, o.PowerOnPassword);
  ctx.Mark(ExportArea::Options, ImageAddr::OptionsBlock1, 48);
  ctx.Mark(ExportArea::Options, ImageAddr::OptionsBlock2, 16);
  // The BLE bytes are never part of the export's block map.
  for (size_t i = 0; i < ble.bytes.size(); ++i) image[kBle + i] = ble.bytes[i];
  return true;
}

void DecodeOptions(OptionSettings& o, uint8_t& switch4, uint8_t& switch6, BleOptions& ble,
                   int16_t& sendTime, const RadioImage& image, const CodecContext&) {
  switch4 = image[kSwitch4] > 1 ? 1 : image[kSwitch4];
  for (const auto& p : kPlainBytes) o.*p.field = image[p.address];
  if (o.Option18 > 1) o.Option18 = 0;
  for (const auto& f : kBitFields) o.*f.field = (image[f.address] >> f.bit) & 1;
  switch6 = (image[0x230] >> kSwitch6Bit) & 1;
  sendTime = image[kSendTime];
  ReadText(image, kPassword, o.PowerOnPassword);
  ReadText(image, kMessage, o.PowerOnMessage);
  for (size_t i = 0; i < ble.bytes.size(); ++i) ble.bytes[i] = image[kBle + i];
}

}  // namespace kvx

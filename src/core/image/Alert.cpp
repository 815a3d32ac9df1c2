#include "core/image/Alert.h"

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"

namespace kvx {

namespace {

using Field = uint8_t AlertSettings::*;
struct Mapped {
  Field field;
  uint16_t address;
};
// Record order. 0x3A7 belongs to the radio: neither written nor read.
constexpr Mapped kFields[] = {
    {&AlertSettings::EmergencyMode, 0x3A0}, {&AlertSettings::IdCodeType, 0x3A1},
    {&AlertSettings::IdCode, 0x3A2},        {&AlertSettings::AlarmTime, 0x3A3},
    {&AlertSettings::TxTime, 0x3A4},        {&AlertSettings::RxTime, 0x3A5},
    {&AlertSettings::ChannelSelect, 0x3A6}, {&AlertSettings::EmergencyChannel, 0x3A8},
    {&AlertSettings::Cycle, 0x3A9},         {&AlertSettings::LoneWorkerDetect, 0x3AA},
    {&AlertSettings::PreAlertTime, 0x3AB},  {&AlertSettings::LoneWorkerTime, 0x3AC},
};

}  // namespace

void AlertSettings::Write(ByteWriter& w) const {
  for (const auto& m : kFields) w.U8(this->*m.field);
}
void AlertSettings::Read(ByteReader& r) {
  for (const auto& m : kFields) this->*m.field = r.U8();
}

bool EncodeAlert(const AlertSettings& a, RadioImage& image, const CodecContext& ctx) {
  for (const auto& m : kFields) image[m.address] = a.*m.field;
  ctx.Mark(ExportArea::Alert, ImageAddr::Alert, 16);
  return true;
}

void DecodeAlert(AlertSettings& a, const RadioImage& image, const CodecContext&) {
  for (const auto& m : kFields) a.*m.field = image[m.address];
}

}  // namespace kvx

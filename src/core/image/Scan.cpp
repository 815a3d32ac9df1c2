#include "core/image/Scan.h"

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"

namespace kvx {

namespace {

using Field = uint8_t ScanSettings::*;
// Record order, which is also the image order from 0x3B0.
constexpr Field kFields[] = {
    &ScanSettings::ScanMode,       &ScanSettings::PriorityMode,     &ScanSettings::RevertChannel,
    &ScanSettings::ScanBackTimeA,  &ScanSettings::ScanBackTimeB,    &ScanSettings::RxResumeDelay,
    &ScanSettings::TxResumeDelay,  &ScanSettings::ScanType,         &ScanSettings::ScanEntryTone,
    &ScanSettings::WaitTime,       &ScanSettings::PriorityGroup1,   &ScanSettings::PriorityChannel1,
    &ScanSettings::PriorityGroup2, &ScanSettings::PriorityChannel2,
};
// Fields from here on are stored as value - 1, with "none" (0) as 0xFF.
constexpr size_t kFirstOffsetByOne = 10;

}  // namespace

void ScanSettings::Write(ByteWriter& w) const {
  for (Field f : kFields) w.U8(this->*f);
}
void ScanSettings::Read(ByteReader& r) {
  for (Field f : kFields) this->*f = r.U8();
}

// 0x3BE and 0x3BF belong to the radio and are left as they are.
bool EncodeScan(const ScanSettings& s, RadioImage& image, const CodecContext& ctx) {
  for (size_t i = 0; i < std::size(kFields); ++i) {
    uint8_t v = s.*kFields[i];
    if (i >= kFirstOffsetByOne) v = static_cast<uint8_t>(v - 1);  // 0 wraps to 0xFF
    image[ImageAddr::Scan + i] = v;
  }
  ctx.Mark(ExportArea::Scan, ImageAddr::Scan, 16);
  return true;
}

void DecodeScan(ScanSettings& s, const RadioImage& image, const CodecContext&) {
  for (size_t i = 0; i < std::size(kFields); ++i) {
    uint8_t v = image[ImageAddr::Scan + i];
    if (i >= kFirstOffsetByOne) v = static_cast<uint8_t>(v + 1);  // 0xFF wraps to 0
    s.*kFields[i] = v;
  }
}

}  // namespace kvx

#include "core/image/RadioInfo.h"

#include "core/util/Text.h"

namespace kvx {

namespace {

// Up to the first 0x00, at most `width` bytes; 0xFF counts as a character here.
std::string FieldText(const RadioImage& image, size_t address, size_t width) {
  std::string s;
  for (size_t i = 0; i < width && image[address + i] != 0x00; ++i)
    s.push_back(static_cast<char>(image[address + i]));
  return CleanText(s);
}

}  // namespace

void DecodeRadioInfo(const RadioImage& image, RadioInfo& info) {
  info.AreaCode.clear();
  for (size_t i = 0; i < 4; ++i) {
    uint8_t b = image[0x0019 + i];
    if (b == 0x00 || b == 0xFF) break;
    info.AreaCode.push_back(static_cast<char>(b));
  }
  info.SerialNumber = FieldText(image, 0x0020, 16);
  info.ProductionDate = FieldText(image, 0x0030, 16);
  info.ManufactureCode = FieldText(image, 0x0040, 8);
  info.UserCode = FieldText(image, 0x0048, 4);
  info.MaintenanceDate = FieldText(image, 0x0050, 16);
  info.DealerCode = FieldText(image, 0x0060, 16);
  info.StockDate = FieldText(image, 0x0070, 16);
  info.SellDate = FieldText(image, 0x0080, 16);
  info.Seller = FieldText(image, 0x0090, 16);
  info.MaintenanceDescription = FieldText(image, 0x00A0, 96);
}

void ResetRadioInfo(RadioInfo& info) {
  info = RadioInfo{};
}

}  // namespace kvx

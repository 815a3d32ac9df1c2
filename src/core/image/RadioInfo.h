#pragma once
// The radio's embedded information in the first 256 bytes of the image: where it was sold, its
// serial number, dates and codes. Read only, never written to a radio, not kept in data files.
// Texts are single bytes, as the radio holds them.
#include <string>

#include "core/image/RadioImage.h"

namespace kvx {

struct RadioInfo {
  std::string AreaCode;                  // 0x0019-0x001C, up to the first 0x00 or 0xFF
  std::string SerialNumber;              // 0x0020, 16
  std::string ProductionDate;            // 0x0030, 16
  std::string ManufactureCode;           // 0x0040, 8
  std::string UserCode;                  // 0x0048, 4
  std::string MaintenanceDate;           // 0x0050, 16
  std::string DealerCode;                // 0x0060, 16
  std::string StockDate;                 // 0x0070, 16
  std::string SellDate;                  // 0x0080, 16
  std::string Seller;                    // 0x0090, 16
  std::string MaintenanceDescription;    // 0x00A0, 96
  std::string RadioTypeText = "KP-510";  // not read from the radio
  std::string VersionText = "V1.00";     // not read from the radio

  bool operator==(const RadioInfo&) const = default;
};

// Fills the texts from the image: each field up to its first 0x00 (at most its width; 0xFF is
// a character), trailing spaces removed. RadioTypeText and VersionText are not touched.
void DecodeRadioInfo(const RadioImage& image, RadioInfo& info);
// The start-up values: every text empty, "KP-510" and "V1.00".
void ResetRadioInfo(RadioInfo& info);

}  // namespace kvx

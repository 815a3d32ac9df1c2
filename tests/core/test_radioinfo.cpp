#include <gtest/gtest.h>

#include <cstring>

#include "core/image/RadioInfo.h"

using namespace kvx;

namespace {

void Put(RadioImage& image, size_t address, std::string_view text) {
  std::memcpy(&image.bytes[address], text.data(), text.size());
}

}  // namespace

TEST(RadioInfo, DecodesEachFieldToItsFirstNul) {
  RadioImage image;
  ClearImage(image);
  Put(image, 0x0019, std::string_view("12\0\0", 4));
  Put(image, 0x0020, "SN0123456789ABCD");  // all 16 characters
  Put(image, 0x0030,
      std::string_view("\0"
                       "2020",
                       5));                                    // starts with NUL: empty
  Put(image, 0x0040, "MC123456XXXX");                          // only its 8 bytes
  Put(image, 0x0048, "U1  ");                                  // trailing blanks go
  Put(image, 0x0050, std::string_view("2021-01-02\xFF", 11));  // 0xFF is a character
  Put(image, 0x0090, "Bob");
  std::string desc(96, 'd');
  Put(image, 0x00A0, desc);

  RadioInfo info;
  info.VersionText = "kept";
  DecodeRadioInfo(image, info);
  EXPECT_EQ(info.AreaCode, "12");
  EXPECT_EQ(info.SerialNumber, "SN0123456789ABCD");
  EXPECT_EQ(info.ProductionDate, "");
  EXPECT_EQ(info.ManufactureCode, "MC123456");
  EXPECT_EQ(info.UserCode, "U1");
  EXPECT_EQ(info.MaintenanceDate, "2021-01-02\xFF");
  EXPECT_EQ(info.DealerCode, "");
  EXPECT_EQ(info.Seller, "Bob");
  EXPECT_EQ(info.MaintenanceDescription, desc);
  EXPECT_EQ(info.VersionText, "kept");  // not read from the radio
}

TEST(RadioInfo, AreaCodeStopsAtFFAndFourBytes) {
  RadioImage image;
  Put(image, 0x0019,
      "12\xFF"
      "3");
  RadioInfo info;
  DecodeRadioInfo(image, info);
  EXPECT_EQ(info.AreaCode, "12");
  Put(image, 0x0019, "123456");
  DecodeRadioInfo(image, info);
  EXPECT_EQ(info.AreaCode, "1234");
}

TEST(RadioInfo, ResetGivesStartupValues) {
  RadioInfo info;
  info.Seller = "x";
  info.VersionText = "V9";
  ResetRadioInfo(info);
  EXPECT_EQ(info.Seller, "");
  EXPECT_EQ(info.RadioTypeText, "KP-510");
  EXPECT_EQ(info.VersionText, "V1.00");
}

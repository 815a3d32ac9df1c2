#include <gtest/gtest.h>

#include "core/factory/AutoTest.h"
#include "core/image/Alert.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/image/Scan.h"

using namespace kvx;

namespace {

ScanSettings Sample() {
  ScanSettings s;
  s.ScanMode = 1, s.PriorityMode = 3, s.RevertChannel = 7, s.ScanBackTimeA = 45;
  s.ScanBackTimeB = 0, s.RxResumeDelay = 49, s.TxResumeDelay = 1, s.ScanType = 2;
  s.ScanEntryTone = 1, s.WaitTime = 255, s.PriorityGroup1 = 0, s.PriorityChannel1 = 6;
  s.PriorityGroup2 = 3, s.PriorityChannel2 = 200;
  return s;
}

}  // namespace

TEST(Scan, DefaultsAndFileRecord) {
  ScanSettings d;
  EXPECT_EQ(d.ScanBackTimeA, 5);
  EXPECT_EQ(d.ScanBackTimeB, 5);
  EXPECT_EQ(d.ScanMode, 0);
  std::string out;
  ByteWriter w(out);
  Sample().Write(w);
  ASSERT_EQ(out.size(), ScanSettings::kFileSize);
  EXPECT_EQ(static_cast<uint8_t>(out[11]), 6);  // PriorityChannel1, as held
  ScanSettings back;
  ByteReader r(out);
  back.Read(r);
  EXPECT_EQ(back, Sample());
}

TEST(Scan, PriorityBytesAreStoredMinusOneWithNoneAsFF) {
  RadioImage img;
  img.bytes.fill(0xAA);
  ASSERT_TRUE(EncodeScan(Sample(), img, {}));
  const uint8_t expected[16] = {1, 3, 7, 45, 0, 49, 1, 2, 1, 255, 0xFF, 5, 2, 199, 0xAA, 0xAA};
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(img[0x3B0 + i], expected[i]) << i;
  ScanSettings back;
  DecodeScan(back, img, {});
  EXPECT_EQ(back, Sample());
}

TEST(Scan, EveryByteValueSurvivesEncodeAndDecode) {
  for (int v = 0; v < 256; ++v) {
    ScanSettings s;
    std::array<uint8_t, 14> bytes;
    bytes.fill(static_cast<uint8_t>(v));
    ByteReader r(ConstBytes(bytes.data(), bytes.size()));
    s.Read(r);
    RadioImage img;
    EncodeScan(s, img, {});
    ScanSettings back;
    DecodeScan(back, img, {});
    EXPECT_EQ(back, s) << v;
  }
}

TEST(Scan, ErasedAreaGivesNoPriorityChannels) {
  RadioImage img;
  img.bytes.fill(0xFF);
  ScanSettings s;
  DecodeScan(s, img, {});
  EXPECT_EQ(s.ScanMode, 255);
  EXPECT_EQ(s.WaitTime, 255);
  EXPECT_EQ(s.PriorityGroup1, 0);
  EXPECT_EQ(s.PriorityChannel1, 0);
  EXPECT_EQ(s.PriorityGroup2, 0);
  EXPECT_EQ(s.PriorityChannel2, 0);
}

#include <gtest/gtest.h>

#include "core/factory/AutoTest.h"
#include "core/image/Alert.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/image/Scan.h"

using namespace kvx;

TEST(Alert, BytesMapAroundTheRadiosByte) {
  AlertSettings a;
  uint8_t v = 10;
  for (uint8_t* f : {&a.EmergencyMode, &a.IdCodeType, &a.IdCode, &a.AlarmTime, &a.TxTime, &a.RxTime,
                     &a.ChannelSelect, &a.EmergencyChannel, &a.Cycle, &a.LoneWorkerDetect,
                     &a.PreAlertTime, &a.LoneWorkerTime})
    *f = v++;
  RadioImage img;
  img.bytes.fill(0xAA);
  ASSERT_TRUE(EncodeAlert(a, img, {}));
  const uint8_t expected[16] = {10, 11, 12, 13, 14, 15,   16,   0xAA,
                                17, 18, 19, 20, 21, 0xAA, 0xAA, 0xAA};
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(img[0x3A0 + i], expected[i]) << i;

  img[0x3A7] = 0x5C;  // the radio's byte is neither read nor changed
  AlertSettings back;
  DecodeAlert(back, img, {});
  EXPECT_EQ(back, a);
  EXPECT_EQ(img[0x3A7], 0x5C);

  std::string out;
  ByteWriter w(out);
  a.Write(w);
  ASSERT_EQ(out.size(), AlertSettings::kFileSize);
  EXPECT_EQ(static_cast<uint8_t>(out[7]), 17);  // EmergencyChannel follows ChannelSelect
  AlertSettings fileBack;
  ByteReader r(out);
  fileBack.Read(r);
  EXPECT_EQ(fileBack, a);
}

TEST(Alert, DefaultsAndErasedArea) {
  AlertSettings d;
  EXPECT_EQ(d.PreAlertTime, 1);
  EXPECT_EQ(d.LoneWorkerTime, 5);
  EXPECT_EQ(d.AlarmTime, 0);
  RadioImage img;
  img.bytes.fill(0xFF);
  AlertSettings a;
  DecodeAlert(a, img, {});
  EXPECT_EQ(a.AlarmTime, 255);  // the decoder checks nothing
  EXPECT_EQ(a.LoneWorkerTime, 255);
}

TEST(ScanAndAlert, ExportMarksTheirBlockOnlyWithTheirBox) {
  struct Case {
    ExportArea box;
    size_t block;
  } cases[] = {{ExportArea::Scan, 0x3B}, {ExportArea::Alert, 0x3A}};
  for (const auto& c : cases) {
    for (bool on : {true, false}) {
      AutoTestState rec;
      rec.ExportAreaFlags.fill(false);
      rec.ExportAreaFlags[static_cast<size_t>(c.box)] = on;
      CodecContext ctx{nullptr, nullptr, &rec};
      RadioImage img;
      EncodeScan(ScanSettings{}, img, ctx);
      EncodeAlert(AlertSettings{}, img, ctx);
      int used = 0;
      for (uint8_t u : rec.BlockUsed) used += u;
      EXPECT_EQ(used, on ? 1 : 0);
      EXPECT_EQ(rec.BlockUsed[c.block], on ? 1 : 0);
    }
  }
}

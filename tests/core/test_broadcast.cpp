#include <gtest/gtest.h>

#include "core/factory/AutoTest.h"
#include "core/image/Broadcast.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;

namespace {

RadioImage Prepared() {
  RadioImage img;
  ClearImage(img);
  return img;
}

void Use(BroadcastList& l, size_t index, double mhz) {
  l.entries[index].InUse = 1;
  l.entries[index].Frequency = mhz;
}

}  // namespace

TEST(Broadcast, FrequencyIsEightBcdDigitsOf100Hz) {
  struct Case {
    double mhz;
    std::array<uint8_t, 4> bytes;
    double readBack;
  } cases[] = {
      {87.5, {0x00, 0x87, 0x50, 0x00}, 87.5},
      {118.1, {0x01, 0x18, 0x10, 0x00}, 118.1},
      {88.12345, {0x00, 0x88, 0x12, 0x34}, 88.1234},  // digits below 100 Hz are rounded away
      {108.00006, {0x01, 0x08, 0x00, 0x01}, 108.0001},
      {9999.9999, {0x99, 0x99, 0x99, 0x99}, 9999.9999},
  };
  for (const auto& c : cases) {
    FmList fm;
    Use(fm, 0, c.mhz);
    RadioImage img = Prepared();
    ASSERT_TRUE(EncodeFm(fm, img, {})) << c.mhz;
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(img[0x3910 + i], c.bytes[i]) << c.mhz << " " << i;
    FmList back;
    DecodeFm(back, img, {});
    EXPECT_EQ(back.entries[0].InUse, 1);
    EXPECT_DOUBLE_EQ(back.entries[0].Frequency, c.readBack);
  }
}

TEST(Broadcast, PresenceBitsAndAddressesOfBothLists) {
  FmList fm;
  Use(fm, 0, 88.0);
  Use(fm, 9, 99.5);
  Use(fm, BroadcastList::kVfo, 100.1);
  AmList am;
  Use(am, 19, 120.5);
  Use(am, BroadcastList::kVfo, 118.1);
  RadioImage img = Prepared();
  ASSERT_TRUE(EncodeFm(fm, img, {}));
  ASSERT_TRUE(EncodeAm(am, img, {}));
  EXPECT_EQ(img[0x3F0], 0xFE);
  EXPECT_EQ(img[0x3F1], 0xFD);
  EXPECT_EQ(img[0x3F2], 0xFF);
  EXPECT_EQ(img[0x3970], 0xFF);
  EXPECT_EQ(img[0x3972], 0xF7);  // entry 19: bit 3 of the third byte
  EXPECT_EQ(img[0x3900], 0x01);  // FM VFO 100.1
  EXPECT_EQ(img[0x3901], 0x00);
  EXPECT_EQ(img[0x3902], 0x10);
  EXPECT_EQ(img[0x3934], 0x00);  // FM entry 9 = 0x3910 + 36: 99.5
  EXPECT_EQ(img[0x3935], 0x99);
  EXPECT_EQ(img[0x3936], 0x50);
  EXPECT_EQ(img[0x3960], 0x01);  // AM VFO 118.1
  EXPECT_EQ(img[0x3961], 0x18);
  EXPECT_EQ(img[0x39CC], 0x01);  // AM entry 19 = 0x3980 + 76: 120.5
  EXPECT_EQ(img[0x39CD], 0x20);
  EXPECT_EQ(img[0x39CE], 0x50);
  EXPECT_EQ(img[0x3914], 0x00);  // empty FM entry 1: not written

  FmList fmBack;
  AmList amBack;
  DecodeFm(fmBack, img, {});
  DecodeAm(amBack, img, {});
  for (size_t n = 0; n < BroadcastList::kEntries; ++n) {
    EXPECT_EQ(fmBack.entries[n].InUse, fm.entries[n].InUse) << n;
    EXPECT_EQ(amBack.entries[n].InUse, am.entries[n].InUse) << n;
    if (fm.entries[n].InUse) {
      EXPECT_DOUBLE_EQ(fmBack.entries[n].Frequency, fm.entries[n].Frequency);
    }
    if (am.entries[n].InUse) {
      EXPECT_DOUBLE_EQ(amBack.entries[n].Frequency, am.entries[n].Frequency);
    }
  }
}

TEST(Broadcast, ZeroFrequencyEmptiesTheEntryInTheList) {
  FmList fm;
  Use(fm, 3, 0.0);
  RadioImage img = Prepared();
  img[0x391C] = 0x42;
  ASSERT_TRUE(EncodeFm(fm, img, {}));
  EXPECT_EQ(fm.entries[3].InUse, 0);  // the change stays in the list
  EXPECT_EQ(img[0x3F0], 0xFF);
  EXPECT_EQ(img[0x391C], 0x42);
}

TEST(Broadcast, ErasedImageGivesEmptyEntriesIncludingTheVfo) {
  RadioImage img;
  img.bytes.fill(0xFF);
  FmList fm;
  fm.entries[BroadcastList::kVfo].Frequency = 95.0;
  DecodeFm(fm, img, {});
  for (const auto& e : fm.entries) EXPECT_EQ(e.InUse, 0);
  EXPECT_DOUBLE_EQ(fm.entries[BroadcastList::kVfo].Frequency, 95.0);  // left unchanged
  AmList am;
  DecodeAm(am, img, {});
  for (const auto& e : am.entries) EXPECT_EQ(e.InUse, 0);
}

TEST(Broadcast, FrequencyBeyondEightDigitsFailsForBothLists) {
  for (double bad : {10000.0, -1.0}) {
    for (bool fmList : {true, false}) {
      BroadcastList l;
      Use(l, 2, bad);
      test::ScriptedPrompts prompts;
      CodecContext ctx{&prompts};
      RadioImage img = Prepared();
      EXPECT_FALSE(fmList ? EncodeFm(l, img, ctx) : EncodeAm(l, img, ctx)) << bad;
      ASSERT_EQ(prompts.shown.size(), 1u);
      EXPECT_EQ(prompts.shown[0].text, "SetCommDataByFMError");
    }
  }
}

TEST(Broadcast, ExportMarksEntriesAndFlagsWhateverTheBoxes) {
  AutoTestState rec;
  rec.ExportAreaFlags.fill(false);
  CodecContext ctx{nullptr, nullptr, &rec};
  FmList fm;
  Use(fm, 0, 88.0);
  AmList am;  // nothing in use: only its flag block
  RadioImage img = Prepared();
  ASSERT_TRUE(EncodeFm(fm, img, ctx));
  ASSERT_TRUE(EncodeAm(am, img, ctx));
  std::vector<size_t> used;
  for (size_t b = 0; b < kBlockCount; ++b)
    if (rec.BlockUsed[b]) used.push_back(b);
  EXPECT_EQ(used, (std::vector<size_t>{0x3F, 0x391, 0x397}));
}

TEST(Broadcast, FileRecordAndNumbering) {
  FmList fm;
  NumberBroadcastEntries(fm);
  EXPECT_EQ(fm.entries[0].Position, 1);
  EXPECT_EQ(fm.entries[20].Position, 21);
  Use(fm, 4, 101.7);
  std::string out;
  ByteWriter w(out);
  fm.Write(w);
  ASSERT_EQ(out.size(), BroadcastList::kFileSize);
  // Entry 4 at 48: position 5, in use 1, then the double little-endian.
  EXPECT_EQ(out.substr(48, 4), std::string("\x05\x00\x01\x00", 4));
  FmList back;
  ByteReader r(out);
  back.Read(r);
  EXPECT_EQ(back, fm);
}

#include <gtest/gtest.h>

#include <random>

#include "core/image/RadioImage.h"
#include "core/image/TwoTone.h"
#include "test_signalling_support.h"

using namespace kvx;
using kvx::test::FilledImage;
using kvx::test::ImageBytes;

namespace {
TwoToneEntry Entry(int16_t empty, uint16_t div1, uint16_t div2, uint16_t tone1, uint16_t tone2,
                   std::string_view name) {
  TwoToneEntry e;
  e.Empty = empty;
  e.RxDivider1 = div1;
  e.RxDivider2 = div2;
  e.RxTone1 = tone1;
  e.RxTone2 = tone2;
  e.Name = name;
  return e;
}
}  // namespace

TEST(TwoTone, TonesABigEndianBesideLittleEndianValues) {
  TwoToneSettings s;
  s.FirstTone = 3217;
  s.SecondTone = 9281;
  s.FirstDivider = 1492;
  s.SecondDivider = 0x0102;
  s.ToneA = 3217;
  s.ToneB = 9281;
  s.ToneC = 6265;
  s.ToneD = 20438;
  s.DecodeResponse = 2;
  s.Time1 = 5;
  s.Time2 = 6;
  s.Time3 = 7;
  s.Time4 = 20;
  s.Time5 = 250;
  s.Sidetone = 1;
  s.CallFormat = 14;
  RadioImage image = FilledImage(0xAA);
  ASSERT_TRUE(EncodeTwoTone(s, image, {}));
  EXPECT_EQ(ImageBytes(image, 768, 32),
            (std::vector<uint8_t>{0x91, 0x0C, 0x41, 0x24, 0xD4, 0x05, 0x02, 0x01,  // LE values
                                  2,    5,    6,    7,    20,   250,  1,    14,    // bytes
                                  0x0C, 0x91, 0x24, 0x41, 0x18, 0x79, 0x4F, 0xD6,  // BE tones
                                  0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
  TwoToneSettings back;
  DecodeTwoTone(back, image, {});
  back.Entries = s.Entries;
  EXPECT_EQ(back, s);
}

TEST(TwoTone, EntriesMapBitsAndNames) {
  TwoToneSettings s;
  s.Entries[0].Empty = 1;
  s.Entries[9].Empty = 0;
  s.Entries[9].RxDivider1 = 600;
  s.Entries[9].RxDivider2 = 0x1234;
  s.Entries[9].RxTone1 = 10000;
  s.Entries[9].RxTone2 = 0;
  s.Entries[9].Name = "AB";
  s.Entries[31].Empty = 0;
  RadioImage image{};
  image.Fill(0x380, 0x383, 0xFF);
  image[0xB00 + 16 * 9 + 15] = 0x5A;
  ASSERT_TRUE(EncodeTwoTone(s, image, {}));
  EXPECT_EQ(ImageBytes(image, 0x380, 4), (std::vector<uint8_t>{0xFF, 0xFD, 0xFF, 0x7F}));
  EXPECT_EQ(ImageBytes(image, 0xB00 + 16 * 9, 16),
            (std::vector<uint8_t>{0x58, 0x02, 0x34, 0x12, 0x10, 0x27, 0x00, 0x00, 'A', 'B', ' ',
                                  ' ', ' ', ' ', ' ', 0x5A}));
  EXPECT_EQ(ImageBytes(image, 0xB00 + 8, 7), std::vector<uint8_t>(7, 0));  // empty name

  TwoToneSettings back;
  DecodeTwoTone(back, image, {});
  EXPECT_EQ(back.Entries[0].Empty, 1);
  EXPECT_EQ(back.Entries[9].Empty, 0);
  EXPECT_EQ(back.Entries[9].RxTone1, 10000);
  EXPECT_EQ(back.Entries[9].RxDivider2, 0x1234);
  EXPECT_EQ(back.Entries[9].Name.Raw(), "AB     ");  // the blanks come back as written
  EXPECT_EQ(back.Entries[31].Empty, 0);
}

TEST(TwoTone, DecoderCorrectionsAndNameEnds) {
  RadioImage image{};
  image.Fill(0x380, 0x383, 0xFF);
  image[783] = 20;          // call format out of range
  image[0xB00 + 8] = 0xFF;  // entry 0: name starts with 0xFF
  const size_t e1 = 0xB00 + 16;
  for (size_t k = 0; k < 7; ++k) image[e1 + 8 + k] = static_cast<uint8_t>('A' + k);
  image[e1 + 15] = 'Z';  // not part of the name
  const size_t e2 = 0xB00 + 32;
  image[e2 + 8] = 'X';
  image[e2 + 9] = 0xFF;
  image[e2 + 10] = 'Y';
  TwoToneSettings s;
  DecodeTwoTone(s, image, {});
  EXPECT_EQ(s.CallFormat, 0);
  EXPECT_EQ(s.Entries[0].Name.Clean(), "");
  EXPECT_EQ(s.Entries[1].Name.Raw(), "ABCDEFG");
  EXPECT_EQ(s.Entries[2].Name.Raw(), std::string("X\0     ", 7));  // one NUL, then blanks
  for (const auto& e : s.Entries) EXPECT_EQ(e.Empty, 1);
}

TEST(TwoTone, AutomaticTestMarksSettingsAndUsedEntries) {
  TwoToneSettings s;  // entry 0 in use
  s.Entries[20].Empty = 0;
  test::MarkRecorder recorder(ExportArea::TwoTone);
  RadioImage image{};
  ASSERT_TRUE(EncodeTwoTone(s, image, CodecContext{nullptr, nullptr, &recorder}));
  std::set<size_t> expected = {768 / 16, 784 / 16, 896 / 16, 0xB00 / 16, (0xB00 + 16 * 20) / 16};
  EXPECT_EQ(recorder.blocks, expected);
}

TEST(TwoTone, Dividers) {
  struct Case {
    double hz;
    uint16_t encode, decode;
  } cases[] = {
      {1000.0, 4800, 600}, {321.7, 14920, 1865}, {288.0, 16666, 2083},
      {3116.0, 1540, 192}, {0.0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDivider(c.hz), c.encode) << c.hz;
    EXPECT_EQ(DecodeDivider(c.hz), c.decode) << c.hz;
  }
  EXPECT_EQ(ToneToTenths(321.7), 3217);
  EXPECT_EQ(ToneToTenths(2043.8), 20438);
  EXPECT_EQ(ToneToTenths(100.25), 1002);  // half to even
  EXPECT_EQ(ToneToTenths(100.35), 1004);
}

TEST(TwoTone, CallFormats) {
  EXPECT_EQ(kCallFormats[0].Text, "A-B");
  EXPECT_EQ(kCallFormats[11].Text, "D-C");
  EXPECT_EQ(kCallFormats[11].First, 'D');
  EXPECT_EQ(kCallFormats[11].Second, 'C');
  EXPECT_EQ(kCallFormats[13].Text, "Long B");
  EXPECT_EQ(kCallFormats[13].Second, 0);
}

TEST(TwoTone, ResetKeepsNamesAndEncodeSettings) {
  TwoToneSettings s;
  s.CallFormat = 5;
  s.ToneA = 1234;
  s.Entries[3] = Entry(0, 1, 2, 3, 4, "KEEP");
  s.Entries[0].Name = "ZERO";
  ResetTwoTone(s);
  EXPECT_EQ(s.CallFormat, 5);
  EXPECT_EQ(s.ToneA, 1234);
  EXPECT_EQ(s.Entries[3].Empty, 1);
  EXPECT_EQ(s.Entries[3].RxDivider1 + s.Entries[3].RxTone2, 0);
  EXPECT_EQ(s.Entries[3].Name.Clean(), "KEEP");
  EXPECT_EQ(s.Entries[0].Empty, 0);
  EXPECT_EQ(s.Entries[0].RxDivider1, 14920);
  EXPECT_EQ(s.Entries[0].RxDivider2, 5172);
  EXPECT_EQ(s.Entries[0].RxTone1, 3217);
  EXPECT_EQ(s.Entries[0].RxTone2, 9281);
  EXPECT_EQ(s.Entries[0].Name.Clean(), "ZERO");
  EXPECT_EQ(TwoToneSettings{}.Entries, TwoToneSettings::DefaultEntries());
}

TEST(TwoTone, FileLayoutKeepsEachValuesByteOrder) {
  TwoToneSettings s;
  s.FirstTone = 0x0102;
  s.ToneA = 0x0304;
  s.Time4 = 9;
  s.Entries[1] = Entry(0, 0x0506, 0, 0x0708, 0, "N");
  std::string b = test::FileBytes(s);
  ASSERT_EQ(b.size(), TwoToneSettings::kFileSize);
  EXPECT_EQ(b.substr(0, 2), "\x01\x02");   // FirstTone high, low
  EXPECT_EQ(b.substr(12, 2), "\x04\x03");  // ToneA low, high
  EXPECT_EQ(b[23], 9);
  EXPECT_EQ(b.substr(24 + 17, 2), std::string("\0\0", 2));  // entry 1 Empty
  EXPECT_EQ(b.substr(24 + 17 + 2, 2), "\x05\x06");          // RxDivider1 high, low
  EXPECT_EQ(b.substr(24 + 17 + 6, 2), "\x07\x08");          // RxTone1 high, low
  EXPECT_EQ(b.substr(24 + 17 + 10, 7), "N      ");
  TwoToneSettings back;
  ByteReader r(b);
  back.Read(r);
  EXPECT_EQ(back, s);
}

TEST(TwoTone, RandomRecordsRoundTripThroughTheImage) {
  std::mt19937 rng(11);
  auto u8 = [&] { return static_cast<uint8_t>(rng() & 0xFF); };
  auto u16 = [&] { return static_cast<uint16_t>(rng() & 0xFFFF); };
  for (int round = 0; round < 30; ++round) {
    TwoToneSettings s;
    s.FirstTone = u16();
    s.SecondTone = u16();
    s.FirstDivider = u16();
    s.SecondDivider = u16();
    s.CallFormat = static_cast<uint8_t>(u8() % 15);
    s.Time1 = u8();
    s.Time2 = u8();
    s.Time3 = u8();
    s.Time4 = u8();
    s.Time5 = u8();
    s.DecodeResponse = u8();
    s.Sidetone = u8();
    s.ToneA = u16();
    s.ToneB = u16();
    s.ToneC = u16();
    s.ToneD = u16();
    for (auto& e : s.Entries) {
      e.Empty = static_cast<int16_t>(u8() & 1);
      e.RxDivider1 = u16();
      e.RxDivider2 = u16();
      e.RxTone1 = u16();
      e.RxTone2 = u16();
      std::string name;
      for (int k = 0, n = u8() % 8; k < n; ++k) name += static_cast<char>('A' + u8() % 26);
      e.Name = name;
    }
    RadioImage image{};
    ClearImage(image);
    ASSERT_TRUE(EncodeTwoTone(s, image, {}));
    TwoToneSettings back;
    DecodeTwoTone(back, image, {});
    for (size_t n = 0; n < s.Entries.size(); ++n) {
      EXPECT_EQ(back.Entries[n].Name.Clean(), s.Entries[n].Name.Clean());
      back.Entries[n].Name = s.Entries[n].Name;
    }
    EXPECT_EQ(back, s);
  }
}

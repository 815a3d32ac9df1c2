#include <gtest/gtest.h>

#include <random>

#include "core/image/FiveTone.h"
#include "core/image/RadioImage.h"
#include "support/ScriptedPrompts.h"
#include "test_signalling_support.h"

using namespace kvx;
using kvx::test::FilledImage;
using kvx::test::ImageBytes;

namespace {

FiveToneCode Code(std::string_view digits, int length, int16_t empty = 0) {
  FiveToneCode c;
  c.Empty = empty;
  c.Digits = digits;
  c.Length = static_cast<uint8_t>(length);
  return c;
}

constexpr size_t CodeSlot(size_t j) {
  return 0xD00 + 32 * j;
}
constexpr size_t InfoSlot(size_t i) {
  return 0x500 + 32 * i;
}

}  // namespace

TEST(FiveTone, CodeDigitsPackWithEAsFiller) {
  struct Case {
    std::string digits;
    int length;
    std::vector<uint8_t> bytes;
    std::string decoded;
  } cases[] = {
      {"12E3", 4, {0x12, 0xE3}, "12E3"},
      {"123", 3, {0x12, 0x3E}, "123"},         // odd: last low nibble E
      {"12", 5, {0x12, 0xEE, 0xEE}, "12EEE"},  // completed with E
      {"123456", 2, {0x12}, "12"},             // cut to the length
      {"", 0, {}, ""},
      {std::string(40, 'A'), 40, std::vector<uint8_t>(20, 0xAA), std::string(40, 'A')},
  };
  for (const auto& c : cases) {
    FiveToneSettings s;
    s.Codes[7] = Code(c.digits, c.length);
    s.Codes[7].Standard = 9;
    s.Codes[7].TonePeriod = 10;
    RadioImage image = FilledImage(0x55);
    ASSERT_TRUE(EncodeFiveTone(s, 2, image, {})) << c.digits;
    const size_t at = CodeSlot(7);
    EXPECT_EQ(image[at], 0x55) << "offset 0 is not written";
    EXPECT_EQ(image[at + 1], 9);
    EXPECT_EQ(image[at + 2], c.length);
    EXPECT_EQ(image[at + 3], 10);
    EXPECT_EQ(ImageBytes(image, at + 4, c.bytes.size()), c.bytes) << c.digits;
    if (c.bytes.size() < 20) {
      EXPECT_EQ(image[at + 4 + c.bytes.size()], 0x55) << c.digits;
    }
    FiveToneSettings back;
    uint8_t decodeTime = 0;
    DecodeFiveTone(back, decodeTime, image, {});
    EXPECT_EQ(back.Codes[7].Length, c.length);
    EXPECT_EQ(back.Codes[7].Digits.Clean(), c.decoded) << c.digits;
  }
}

TEST(FiveTone, TonePeriodOutsideThreeToTenIsSeven) {
  for (uint8_t period : {0, 2, 11, 255}) {
    FiveToneSettings s;
    s.Codes[0] = Code("1", 1);
    s.Codes[0].TonePeriod = period;
    s.PttIdEnd.TonePeriod = period;
    RadioImage image{};
    ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
    EXPECT_EQ(image[CodeSlot(0) + 3], 7);
    EXPECT_EQ(image[0x370 + 3], 7);
    EXPECT_EQ(s.Codes[0].TonePeriod, period) << "the record keeps its value";
    image[CodeSlot(1) + 3] = period;
    FiveToneSettings back;
    uint8_t dt;
    DecodeFiveTone(back, dt, image, {});
    EXPECT_EQ(back.Codes[1].TonePeriod, 7);
  }
}

TEST(FiveTone, OwnIdBytes) {
  FiveToneSettings s;
  s.OwnId = "123";
  s.IdLength = 3;
  RadioImage image = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  EXPECT_EQ(ImageBytes(image, 805, 5), (std::vector<uint8_t>{1, 2, 3, 0, 0}));
  EXPECT_EQ(image[803], 3);
  FiveToneSettings back;
  uint8_t dt;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(back.OwnId.Raw(), std::string("123\0  ", 6));
  EXPECT_EQ(back.OwnId.Clean(), "123");

  // Each byte is read as its decimal text; the result is cut to six characters.
  image[803] = 4;
  image[805] = 12;
  image[806] = 255;
  image[807] = 9;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(back.OwnId.Raw(), "122559");

  // A non-digit within IdLength fails.
  test::ScriptedPrompts prompts;
  s.IdLength = 5;
  EXPECT_FALSE(EncodeFiveTone(s, 2, image, CodecContext{&prompts}));
  EXPECT_TRUE(prompts.Saw("SetCommDataBy5ToneError"));
}

TEST(FiveTone, SettingsBytes) {
  FiveToneSettings s;
  s.Reserved = 0x81;
  s.DecodeResponse = 2;
  s.Standard = 13;
  s.IdLength = 0;
  s.TonePeriod = 10;
  s.Delay1 = 11;
  s.Delay2 = 12;
  s.Number = 75;
  s.Seconds = 250;
  s.FirstDigitDelay = 0x1FF;  // only the low byte is written
  s.Sidetone = 1;
  s.SpecialCall = 15;
  s.PauseCode = 13;
  s.PauseTime = 255;
  RadioImage image = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, 200, image, {}));
  EXPECT_EQ(ImageBytes(image, 800, 32),
            (std::vector<uint8_t>{0x81, 2,    13,   0,    10,   0,    0,    0,    0,    0,   0x55,
                                  11,   12,   75,   250,  0xFF, 1,    15,   13,   255,  200, 0x55,
                                  0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}));
  FiveToneSettings back;
  uint8_t dt = 0;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(dt, 200);
  EXPECT_EQ(back.FirstDigitDelay, 0xFF);
  back.FirstDigitDelay = s.FirstDigitDelay;
  back.OwnId = s.OwnId;
  back.InfoCodes = s.InfoCodes;  // only the settings are compared here
  back.PttIdBegin = s.PttIdBegin;
  back.PttIdEnd = s.PttIdEnd;
  back.Codes = s.Codes;
  EXPECT_EQ(back, s);
}

TEST(FiveTone, SixteenBitSettingsThatDoNotFitAByteFail) {
  for (int16_t FiveToneSettings::*f :
       {&FiveToneSettings::Sidetone, &FiveToneSettings::SpecialCall, &FiveToneSettings::PauseCode,
        &FiveToneSettings::PauseTime}) {
    FiveToneSettings s;
    s.*f = 256;
    test::ScriptedPrompts prompts;
    RadioImage image{};
    EXPECT_FALSE(EncodeFiveTone(s, 2, image, CodecContext{&prompts}));
    EXPECT_TRUE(prompts.Saw("SetCommDataBy5ToneError"));
  }
  FiveToneSettings s;
  s.Codes[50] = Code("12G4", 4);
  RadioImage image{};
  EXPECT_FALSE(EncodeFiveTone(s, 2, image, {}));
}

TEST(FiveTone, PttIdCodesUseSixteenByteSlotsWithoutName) {
  FiveToneSettings s;
  s.PttIdBegin = Code("123456789012345678901234", 24);
  s.PttIdBegin.Standard = 3;
  s.PttIdBegin.Name = "NAME";
  s.PttIdEnd = Code("E612345", 7);
  RadioImage image = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  EXPECT_EQ(ImageBytes(image, 0x360, 16),
            (std::vector<uint8_t>{0x55, 3, 24, 7, 0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34, 0x56,
                                  0x78, 0x90, 0x12, 0x34}));
  EXPECT_EQ(ImageBytes(image, 0x370, 8),
            (std::vector<uint8_t>{0x55, 0, 7, 7, 0xE6, 0x12, 0x34, 0x5E}));
  FiveToneSettings back;
  uint8_t dt;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(back.PttIdBegin.Digits.Clean(), "123456789012345678901234");
  EXPECT_EQ(back.PttIdEnd.Digits.Clean(), "E612345");
  EXPECT_EQ(back.PttIdBegin.Name, FixedText<7>{}) << "names of PTT ID codes are not read";
}

// Whatever the record holds, no code writes past its slot: a length beyond what the slot
// holds is written as 0 with no digits.
TEST(FiveTone, OverlongCodesStayInsideTheirSlots) {
  FiveToneSettings s;
  s.PttIdBegin = Code(std::string(40, '1'), 40);  // 20 bytes would run into PttIdEnd
  s.PttIdEnd = Code("", 255);
  s.Codes[99] = Code(std::string(40, '2'), 41);
  s.InfoCodes[7].Length = 13;
  s.InfoCodes[7].Digits = "123456789012";
  RadioImage image = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  EXPECT_EQ(image[0x360 + 2], 0);
  EXPECT_EQ(image[0x360 + 4], 0x55);
  EXPECT_EQ(image[0x370 + 2], 0);
  EXPECT_EQ(ImageBytes(image, 0x380, 16), std::vector<uint8_t>(16, 0x55)) << "two-tone map";
  EXPECT_EQ(image[CodeSlot(99) + 2], 0);
  EXPECT_EQ(image[CodeSlot(99) + 4], 0x55);
  EXPECT_EQ(ImageBytes(image, 0x1980, 16), std::vector<uint8_t>(16, 0x55)) << "book numbers";
  EXPECT_EQ(image[InfoSlot(7) + 2], 0);
  EXPECT_EQ(image[InfoSlot(7) + 3], 0x55);
  EXPECT_EQ(ImageBytes(image, 0x600, 16), std::vector<uint8_t>(16, 0x55)) << "PTT-ID codes";
  EXPECT_EQ(s.PttIdBegin.Length, 40) << "the record keeps its value";
}

TEST(FiveTone, InformationCodes) {
  FiveToneSettings s;
  InfoCode& c = s.InfoCodes[2];
  c.Function = 3;
  c.Response = 2;
  c.Length = 4;
  c.Digits = "0A1F";
  c.Name = "AB";
  s.InfoCodes[3].Length = 3;
  s.InfoCodes[3].Digits = "1";  // completed with E
  RadioImage image = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  EXPECT_EQ(ImageBytes(image, InfoSlot(2), 32),
            (std::vector<uint8_t>{3,    2,    4,    0x00, 0x0A, 0x01, 0x0F, 0x55, 0x55, 0x55, 0x55,
                                  0x55, 0x55, 0x55, 0x55, 0x55, 'A',  'B',  ' ',  ' ',  ' ',  ' ',
                                  ' ',  0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}));
  EXPECT_EQ(ImageBytes(image, InfoSlot(3) + 3, 3), (std::vector<uint8_t>{1, 0x0E, 0x0E}));
  EXPECT_EQ(ImageBytes(image, InfoSlot(3) + 16, 7), std::vector<uint8_t>(7, 0)) << "empty name";

  FiveToneSettings back;
  uint8_t dt;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(back.InfoCodes[2].Function, 3);
  EXPECT_EQ(back.InfoCodes[2].Response, 2);
  EXPECT_EQ(back.InfoCodes[2].Length, 4);
  EXPECT_EQ(back.InfoCodes[2].Digits.Clean(), "0A1F");
  EXPECT_EQ(back.InfoCodes[2].Name.Raw(), "AB     ");
  EXPECT_EQ(back.InfoCodes[3].Digits.Clean(), "1EE");
  EXPECT_EQ(back.InfoCodes[3].Name.Clean(), "");
}

TEST(FiveTone, InformationCodeDecoderRules) {
  RadioImage image{};
  const size_t at = InfoSlot(0);
  image[at + 0] = 0xFF;
  image[at + 1] = 0xFF;
  image[at + 2] = 3;
  image[at + 3] = 0x1F;  // from 16 on: two digits
  image[at + 4] = 0x05;
  image[at + 16] = 'X';
  image[at + 17] = 0xFF;
  image[InfoSlot(1) + 2] = 0xFF;
  FiveToneSettings s;
  uint8_t dt;
  DecodeFiveTone(s, dt, image, {});
  EXPECT_EQ(s.InfoCodes[0].Function, 0);
  EXPECT_EQ(s.InfoCodes[0].Response, 0);
  EXPECT_EQ(s.InfoCodes[0].Digits.Clean(), "1F5");  // "1F", "5", "0" cut to 3
  EXPECT_EQ(s.InfoCodes[0].Name.Raw(), "X      ");
  EXPECT_EQ(s.InfoCodes[1].Length, 0);
}

TEST(FiveTone, PresenceMapAndNames) {
  FiveToneSettings s;
  s.Codes[0] = Code("1", 1);
  s.Codes[0].Name = "AB";
  s.Codes[9] = Code("2", 1);
  s.Codes[99] = Code("3", 1);
  RadioImage image{};
  image.Fill(0x390, 0x39C, 0xFF);
  image[CodeSlot(0) + 31] = 0x77;
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  EXPECT_EQ(image[0x390], 0xFE);
  EXPECT_EQ(image[0x391], 0xFD);
  EXPECT_EQ(image[0x39C], 0xF7) << "code 99 clears bit 3; bits 4-7 keep the template";
  for (size_t a = 0x392; a < 0x39C; ++a) EXPECT_EQ(image[a], 0xFF) << a;
  EXPECT_EQ(ImageBytes(image, CodeSlot(0) + 24, 8),
            (std::vector<uint8_t>{'A', 'B', ' ', ' ', ' ', ' ', ' ', 0x77}));
  EXPECT_EQ(ImageBytes(image, CodeSlot(1) + 24, 7), std::vector<uint8_t>(7, 0));
  // Empty codes are written too.
  EXPECT_EQ(image[CodeSlot(1) + 3], 7);

  image[0x39C] = 0x07;  // a template without bits 4-7 keeps them clear
  FiveToneSettings back;
  uint8_t dt;
  DecodeFiveTone(back, dt, image, {});
  EXPECT_EQ(back.Codes[0].Empty, 0);
  EXPECT_EQ(back.Codes[1].Empty, 1);
  EXPECT_EQ(back.Codes[9].Empty, 0);
  EXPECT_EQ(back.Codes[99].Empty, 0);
  EXPECT_EQ(back.Codes[96].Empty, 1);
  EXPECT_EQ(back.Codes[0].Name.Raw(), "AB     ");
  EXPECT_EQ(back.Codes[1].Name.Raw(), std::string("\0      ", 7)) << "a 0x00 name is empty";
}

TEST(FiveTone, ErasedImageDecodes) {
  RadioImage image = FilledImage(0xFF);
  FiveToneSettings s;
  uint8_t dt;
  DecodeFiveTone(s, dt, image, {});
  for (const auto& c : s.Codes) {
    EXPECT_EQ(c.Empty, 1);
    EXPECT_EQ(c.Length, 255);
    EXPECT_EQ(c.TonePeriod, 7);
    EXPECT_EQ(c.Name.Clean(), "");
  }
  for (const auto& c : s.InfoCodes) {
    EXPECT_EQ(c.Function + c.Response + c.Length, 0);
  }
  // Writing it back stays inside every slot.
  RadioImage out = FilledImage(0x55);
  ASSERT_TRUE(EncodeFiveTone(s, dt, out, {}));
  EXPECT_EQ(ImageBytes(out, 0x1980, 16), std::vector<uint8_t>(16, 0x55));
}

TEST(FiveTone, BytesOfTheRadioAreNeverWritten) {
  FiveToneSettings s;
  for (auto& c : s.Codes) c = Code(std::string(40, '9'), 40);
  for (auto& c : s.Codes) c.Name = "1234567";
  for (auto& c : s.InfoCodes) {
    c.Length = 12;
    c.Digits = "123456789ABC";
    c.Name = "1234567";
  }
  s.PttIdBegin = Code(std::string(24, '9'), 24);
  s.PttIdEnd = s.PttIdBegin;
  s.IdLength = 5;
  s.OwnId = "12345";
  RadioImage image = FilledImage(0x55);
  image[0x39C] = 0xFF;
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, {}));
  std::vector<size_t> untouched = {810, 0x360, 0x370};
  for (size_t a = 821; a <= 831; ++a) untouched.push_back(a);
  for (size_t j = 0; j < 100; ++j) {
    untouched.push_back(CodeSlot(j));
    untouched.push_back(CodeSlot(j) + 31);
  }
  for (size_t i = 0; i < 8; ++i) {
    untouched.push_back(InfoSlot(i) + 15);
    for (size_t o = 23; o < 32; ++o) untouched.push_back(InfoSlot(i) + o);
  }
  for (size_t a : untouched) EXPECT_EQ(image[a], 0x55) << a;
  EXPECT_EQ(image[0x39C] & 0xF0, 0xF0);
  for (size_t a = 0; a < kImageSize; ++a) {
    bool inside = (a >= 800 && a < 832) || (a >= 864 && a < 896) || (a >= 912 && a <= 924) ||
                  (a >= 0x500 && a < 0x600) || (a >= 0xD00 && a < 0x1980);
    if (!inside) {
      ASSERT_EQ(image[a], 0x55) << a;
    }
  }
}

TEST(FiveTone, AutomaticTestMarks) {
  FiveToneSettings s;
  s.Codes[40] = Code("1", 1);
  test::MarkRecorder recorder(ExportArea::FiveTone);
  RadioImage image{};
  ASSERT_TRUE(EncodeFiveTone(s, 2, image, CodecContext{nullptr, nullptr, &recorder}));
  std::set<size_t> expected = {
      800 / 16, 816 / 16, 864 / 16, 880 / 16, 912 / 16, CodeSlot(40) / 16, CodeSlot(40) / 16 + 1};
  for (size_t b = 0x500 / 16; b < 0x600 / 16; ++b) expected.insert(b);
  EXPECT_EQ(recorder.blocks, expected);
}

TEST(FiveTone, FileLayoutIs5607Bytes) {
  FiveToneSettings s;
  s.Reserved = 1;
  s.OwnId = "12345";
  s.SpecialCall = 0x0A0B;
  s.InfoCodes[0].Function = 6;
  s.PttIdBegin.Empty = 0x0102;
  s.Codes[99].Name = "LAST";
  std::string b = test::FileBytes(s);
  ASSERT_EQ(b.size(), FiveToneSettings::kFileSize);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b.substr(5, 6), "12345 ");
  EXPECT_EQ(b.substr(23, 2), "\x0B\x0A");   // SpecialCall
  EXPECT_EQ(b[25], 6);                      // InfoCodes[0].Function
  EXPECT_EQ(b.substr(201, 2), "\x02\x01");  // PttIdBegin.Empty
  EXPECT_EQ(b.substr(5600, 7), "LAST   ");
  FiveToneSettings back;
  ByteReader r(b);
  back.Read(r);
  EXPECT_EQ(back, s);
}

TEST(FiveTone, ResetKeepsNamesAndPttIdCodes) {
  FiveToneSettings s;
  s.Delay1 = 99;
  s.OwnId = "12345";
  s.InfoCodes[1].Function = 4;
  s.InfoCodes[1].Name = "INFO";
  s.Codes[5] = Code("12", 2);
  s.Codes[5].TonePeriod = 3;
  s.Codes[5].Name = "KEEP";
  s.PttIdBegin = Code("99", 2);
  uint8_t decodeTime = 100;
  ResetFiveTone(s, decodeTime);
  EXPECT_EQ(decodeTime, 2);
  EXPECT_EQ(s.Delay1, 20);
  EXPECT_EQ(s.OwnId.Clean(), "");
  EXPECT_EQ(s.InfoCodes[1].Function, 0);
  EXPECT_EQ(s.InfoCodes[1].Name.Clean(), "INFO");
  EXPECT_EQ(s.Codes[5].Empty, 1);
  EXPECT_EQ(s.Codes[5].Length, 0);
  EXPECT_EQ(s.Codes[5].TonePeriod, 7);
  EXPECT_EQ(s.Codes[5].Digits.Clean(), "");
  EXPECT_EQ(s.Codes[5].Name.Clean(), "KEEP");
  EXPECT_EQ(s.PttIdBegin.Digits.Clean(), "99");
  EXPECT_EQ(s.SpecialCall, 13);
  EXPECT_EQ(s.Number, 10);
}

TEST(FiveTone, InformationCodeCheck) {
  auto info = [](uint8_t function, std::string_view digits) {
    InfoCode c;
    c.Function = function;
    c.Digits = digits;
    c.Length = static_cast<uint8_t>(digits.size());
    return c;
  };
  struct Case {
    std::vector<InfoCode> codes;  // the rest are function 0 without digits
    bool withoutWake, clash;
  } cases[] = {
      {{info(3, "111"), info(5, "222")}, false, false},
      {{info(3, "111")}, true, false},
      {{info(4, "111"), info(1, "333")}, true, false},
      {{info(3, "111"), info(5, "111")}, false, true},
      {{info(3, "111"), info(5, "222"), info(1, "222")}, false, true},
      {{info(5, ""), info(0, "")}, false, true},  // a wake-up without digits meets one
      {{info(1, "1"), info(2, "1")}, false, false},
  };
  for (const auto& c : cases) {
    FiveToneSettings s;
    // Every code needs digits of its own so that only the case's codes can clash.
    for (size_t i = 0; i < s.InfoCodes.size(); ++i)
      s.InfoCodes[i] = info(0, std::string(1, 'A' + i));
    for (size_t i = 0; i < c.codes.size(); ++i) s.InfoCodes[i] = c.codes[i];
    InfoCodeCheck r = CheckInfoCodes(s);
    EXPECT_EQ(r.KillOrStunWithoutWake, c.withoutWake);
    EXPECT_EQ(r.DigitsClash, c.clash);
  }
}

TEST(FiveTone, StandardsTable) {
  EXPECT_EQ(StandardsTable[0].Name, "ZVEI1");
  EXPECT_EQ(StandardsTable[4].Tones[10], "825/885");
  EXPECT_EQ(StandardsTable[2].Tones[11], "");
  EXPECT_EQ(StandardsTable[10].Name, "EURO SIGNAL");
  EXPECT_EQ(StandardsTable[10].Tones[0], "979.8");
  EXPECT_EQ(StandardsTable[13].Tones[15], "0.0");
  int periods[14] = {70, 70, 70, 70, 70, 70, 100, 70, 100, 40, 100, 70, 40, 70};
  for (size_t i = 0; i < 14; ++i) EXPECT_EQ(StandardsTable[i].PeriodMs, periods[i]) << i;
}

TEST(FiveTone, RandomRecordsRoundTripThroughTheImage) {
  std::mt19937 rng(5);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string hex = "0123456789ABCDEF";
  auto digits = [&](int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t += hex[static_cast<size_t>(pick(0, 15))];
    return t;
  };
  auto name = [&] {
    std::string t;
    for (int i = 0, n = pick(0, 7); i < n; ++i) t += static_cast<char>(pick('A', 'Z'));
    return t;
  };
  for (int round = 0; round < 20; ++round) {
    FiveToneSettings s;
    s.Reserved = static_cast<uint8_t>(pick(0, 255));
    s.DecodeResponse = static_cast<uint8_t>(pick(0, 2));
    s.Standard = static_cast<uint8_t>(pick(0, 13));
    s.IdLength = static_cast<uint8_t>(pick(0, 5));
    s.TonePeriod = static_cast<uint8_t>(pick(3, 10));
    std::string id;
    for (int i = 0; i < s.IdLength; ++i) id += static_cast<char>(pick('0', '9'));
    s.OwnId = id;
    s.Seconds = static_cast<uint8_t>(pick(0, 250));
    s.Delay1 = static_cast<uint8_t>(pick(1, 255));
    s.Delay2 = static_cast<uint8_t>(pick(1, 255));
    s.Number = static_cast<uint8_t>(pick(0, 75));
    s.FirstDigitDelay = static_cast<int16_t>(pick(1, 255));
    s.PauseTime = static_cast<int16_t>(pick(0, 255));
    s.PauseCode = static_cast<int16_t>(pick(0, 15));
    s.Sidetone = static_cast<int16_t>(pick(0, 1));
    s.SpecialCall = static_cast<int16_t>(pick(0, 15));
    for (auto& c : s.InfoCodes) {
      c.Function = static_cast<uint8_t>(pick(0, 6));
      c.Response = static_cast<uint8_t>(pick(0, 2));
      c.Length = static_cast<uint8_t>(pick(0, 12));
      c.Digits = digits(c.Length);
      c.Name = name();
    }
    auto randomCode = [&](FiveToneCode& c, int limit) {
      c.Empty = static_cast<int16_t>(pick(0, 1));
      c.Standard = static_cast<uint8_t>(pick(0, 15));
      c.Length = static_cast<uint8_t>(pick(0, limit));
      c.TonePeriod = static_cast<uint8_t>(pick(3, 10));
      c.Digits = digits(c.Length);
    };
    randomCode(s.PttIdBegin, 24);
    randomCode(s.PttIdEnd, 24);
    for (auto& c : s.Codes) {
      randomCode(c, 40);
      c.Name = name();
    }
    const uint8_t decodeTime = static_cast<uint8_t>(pick(0, 200));
    RadioImage image{};
    ClearImage(image);
    ASSERT_TRUE(EncodeFiveTone(s, decodeTime, image, {}));
    FiveToneSettings back;
    uint8_t dt = 0;
    DecodeFiveTone(back, dt, image, {});
    EXPECT_EQ(dt, decodeTime);
    // What the image does not carry, and the texts compared as readers see them.
    EXPECT_EQ(back.OwnId.Clean(), s.OwnId.Clean());
    back.OwnId = s.OwnId;
    back.PttIdBegin.Empty = s.PttIdBegin.Empty;
    back.PttIdEnd.Empty = s.PttIdEnd.Empty;
    auto sameCode = [](FiveToneCode& b, const FiveToneCode& a, bool named) {
      EXPECT_EQ(b.Digits.Clean(), a.Digits.Clean());
      if (named) {
        EXPECT_EQ(b.Name.Clean(), a.Name.Clean());
      }
      b.Digits = a.Digits;
      b.Name = a.Name;
    };
    sameCode(back.PttIdBegin, s.PttIdBegin, false);
    sameCode(back.PttIdEnd, s.PttIdEnd, false);
    for (size_t j = 0; j < s.Codes.size(); ++j) sameCode(back.Codes[j], s.Codes[j], true);
    for (size_t i = 0; i < s.InfoCodes.size(); ++i) {
      EXPECT_EQ(back.InfoCodes[i].Digits.Clean(), s.InfoCodes[i].Digits.Clean());
      EXPECT_EQ(back.InfoCodes[i].Name.Clean(), s.InfoCodes[i].Name.Clean());
      back.InfoCodes[i].Digits = s.InfoCodes[i].Digits;
      back.InfoCodes[i].Name = s.InfoCodes[i].Name;
    }
    EXPECT_EQ(back, s);
  }
}

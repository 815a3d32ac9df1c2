#include <gtest/gtest.h>

#include <random>

#include "core/image/Dtmf.h"
#include "core/image/RadioImage.h"
#include "support/ScriptedPrompts.h"
#include "test_signalling_support.h"

using namespace kvx;
using kvx::test::FilledImage;
using kvx::test::ImageBytes;

namespace {

DtmfCode<24> Code24(std::string_view text, int length) {
  DtmfCode<24> c;
  c.Text = text;
  c.Length = static_cast<int16_t>(length);
  return c;
}

}  // namespace

TEST(Dtmf, CodesPackTwoDigitsPerByteAndDecodeBack) {
  struct Case {
    std::string text;
    int length;
    std::vector<uint8_t> bytes;  // the digit bytes written
    int lengthByte;
    std::string decoded;  // Valid() after decoding
  } cases[] = {
      {"12345", 5, {0x12, 0x34, 0x50}, 5, "12345"},  // odd: low nibble 0
      {"1E3", 3, {0x1E, 0x30}, 3, "1E3"},            // one, star, three
      {"E0F", 3, {0xE0, 0xF0}, 3, "E0F"},            // "*" and "#" as E and F
      {"12", 4, {0x12, 0x00}, 4, "1200"},            // text shorter: "0" appended
      {"123456789ABCDEF012345678",
       24,
       {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78},
       24,
       "123456789ABCDEF012345678"},
      {"1", 25, {}, 0, ""},  // above 24: written as 0
      {"", 0, {}, 0, ""},
  };
  for (const auto& c : cases) {
    DtmfSettings s;
    s.Codes[3] = Code24(c.text, c.length);
    RadioImage image = FilledImage(0xAA);
    ASSERT_TRUE(EncodeDtmf(s, image, {})) << c.text;
    const size_t at = 0x400 + 16 * 3;
    EXPECT_EQ(ImageBytes(image, at, c.bytes.size()), c.bytes) << c.text;
    EXPECT_EQ(image[at + 12], c.lengthByte) << c.text;
    // Bytes past the code's own digits keep what the image held.
    if (c.bytes.size() < 12) {
      EXPECT_EQ(image[at + c.bytes.size()], 0xAA) << c.text;
    }

    DtmfSettings back;
    DecodeDtmf(back, image, {});
    EXPECT_EQ(back.Codes[3].Length, c.lengthByte) << c.text;
    EXPECT_EQ(back.Codes[3].Valid(), c.decoded) << c.text;
    EXPECT_EQ(s.Codes[3], Code24(c.text, c.length)) << "the record is not changed";
  }
}

TEST(Dtmf, DecodedCodeTextEndsWithOneNulThenBlanks) {
  RadioImage image{};
  image[0x340] = 0x1E;
  image[0x341] = 0x30;
  image[0x34C] = 3;
  DtmfSettings s;
  DecodeDtmf(s, image, {});
  EXPECT_EQ(s.PttIdBegin.Text.Raw(), std::string("1E3\0", 4) + std::string(20, ' '));
  EXPECT_EQ(DtmfToDisplay(s.PttIdBegin.Valid()), "1*3");
}

TEST(Dtmf, AllCodeFieldsLandAtTheirAddresses) {
  DtmfSettings s;
  s.PttIdBegin = Code24("12", 2);
  s.PttIdEnd = Code24("34", 2);
  s.KillCode.Text = "56";
  s.KillCode.Length = 2;
  s.StunCode.Text = "78";
  s.StunCode.Length = 2;
  s.Codes[15] = Code24("9A", 2);
  RadioImage image{};
  ASSERT_TRUE(EncodeDtmf(s, image, {}));
  struct {
    size_t digits, length;
    uint8_t value;
  } fields[] = {
      {832, 844, 0x12}, {848, 860, 0x34}, {752, 759, 0x56}, {760, 767, 0x78}, {0x4F0, 0x4FC, 0x9A}};
  for (const auto& f : fields) {
    EXPECT_EQ(image[f.digits], f.value) << f.digits;
    EXPECT_EQ(image[f.length], 2) << f.length;
  }
}

TEST(Dtmf, KillAndStunLimitsAndShortText) {
  DtmfSettings s;
  s.KillCode.Text = "12345678901234";
  s.KillCode.Length = 15;  // above 14: written as 0
  s.StunCode.Text = "123";
  s.StunCode.Length = 3;  // odd: "0" appended
  RadioImage image{};
  ASSERT_TRUE(EncodeDtmf(s, image, {}));
  EXPECT_EQ(image[759], 0);
  EXPECT_EQ(ImageBytes(image, 760, 3), (std::vector<uint8_t>{0x12, 0x30, 0x00}));
  EXPECT_EQ(image[767], 3);

  // Kill and stun codes are not lengthened to their length: a shorter text fails.
  test::ScriptedPrompts prompts;
  CodecContext ctx{&prompts};
  s.KillCode.Text = "12";
  s.KillCode.Length = 4;
  EXPECT_FALSE(EncodeDtmf(s, image, ctx));
  EXPECT_TRUE(prompts.Saw("SetCommDataByDTMFError"));
}

TEST(Dtmf, DecoderLimitsLengths) {
  RadioImage image{};
  image[0x40C] = 25;  // M1
  image[759] = 15;    // kill
  image[767] = 14;    // stun, at its limit
  image[760] = 0x12;
  DtmfSettings s;
  DecodeDtmf(s, image, {});
  EXPECT_EQ(s.Codes[0].Length, 0);
  EXPECT_EQ(s.Codes[0].Valid(), "");
  EXPECT_EQ(s.KillCode.Length, 0);
  EXPECT_EQ(s.StunCode.Length, 14);
  EXPECT_EQ(s.StunCode.Text.Raw(), "12000000000000");  // full width: no NUL
}

TEST(Dtmf, EncoderCorrectionsChangeOnlyWhatIsWritten) {
  struct Case {
    int16_t DtmfSettings::*field;
    int16_t value;
    size_t address;
    uint8_t written;
  } cases[] = {
      {&DtmfSettings::Separator, 9, 736, 14},
      {&DtmfSettings::Separator, 16, 736, 14},
      {&DtmfSettings::Separator, 15, 736, 15},
      {&DtmfSettings::GroupCode, 255, 737, 0xFF},
      {&DtmfSettings::GroupCode, 9, 737, 0xFF},
      {&DtmfSettings::GroupCode, 10, 737, 10},
      {&DtmfSettings::DecodeResponse, 3, 738, 0},
      {&DtmfSettings::DecodeResponse, 2, 738, 2},
      {&DtmfSettings::FirstDigitDelay, 251, 740, 0},
      {&DtmfSettings::FirstDigitDelay, 250, 740, 250},
      {&DtmfSettings::PreSendDelay, 255, 739, 255},
      {&DtmfSettings::ResetTime, 7, 741, 7},
      {&DtmfSettings::Sidetone, 1, 749, 1},
      {&DtmfSettings::PostSendDelay, 33, 750, 33},
      {&DtmfSettings::PauseTime, 75, 751, 75},
  };
  for (const auto& c : cases) {
    DtmfSettings s;
    s.*c.field = c.value;
    RadioImage image{};
    ASSERT_TRUE(EncodeDtmf(s, image, {}));
    EXPECT_EQ(image[c.address], c.written) << c.address << " " << c.value;
    EXPECT_EQ(s.*c.field, c.value) << "the record keeps its value";
  }
}

TEST(Dtmf, ValuesThatDoNotFitAByteFail) {
  for (int16_t DtmfSettings::*field : {&DtmfSettings::PreSendDelay, &DtmfSettings::ResetTime,
                                       &DtmfSettings::PauseTime, &DtmfSettings::DecodeResponse}) {
    DtmfSettings s;
    s.*field = field == &DtmfSettings::DecodeResponse ? -1 : 256;
    test::ScriptedPrompts prompts;
    RadioImage image{};
    EXPECT_FALSE(EncodeDtmf(s, image, CodecContext{&prompts}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "SetCommDataByDTMFError");
  }
  DtmfSettings s;
  s.Codes[0] = Code24("1G", 2);  // not a hexadecimal digit
  RadioImage image{};
  EXPECT_FALSE(EncodeDtmf(s, image, {}));
}

TEST(Dtmf, DecoderCorrections) {
  struct Case {
    size_t address;
    uint8_t byte;
    int16_t DtmfSettings::*field;
    int16_t decoded;
  } cases[] = {
      {736, 0xFF, &DtmfSettings::Separator, 14},
      {736, 9, &DtmfSettings::Separator, 14},
      {736, 13, &DtmfSettings::Separator, 13},
      {737, 0xFF, &DtmfSettings::GroupCode, 255},  // off stays off
      {737, 0x00, &DtmfSettings::GroupCode, 10},
      {737, 16, &DtmfSettings::GroupCode, 10},
      {737, 15, &DtmfSettings::GroupCode, 15},
      {738, 3, &DtmfSettings::DecodeResponse, 0},
      {740, 251, &DtmfSettings::FirstDigitDelay, 0},
      {739, 255, &DtmfSettings::PreSendDelay, 255},
  };
  for (const auto& c : cases) {
    RadioImage image{};
    image[c.address] = c.byte;
    DtmfSettings s;
    DecodeDtmf(s, image, {});
    EXPECT_EQ(s.*c.field, c.decoded) << c.address << " " << int(c.byte);
  }
  // The decoder puts its corrections of 738 and 740 into the image too.
  RadioImage image{};
  image[738] = 9;
  image[740] = 0xFF;
  DtmfSettings s;
  DecodeDtmf(s, image, {});
  EXPECT_EQ(image[738], 0);
  EXPECT_EQ(image[740], 0);
}

TEST(Dtmf, GroupCodeOffSurvivesARoundTrip) {
  DtmfSettings s;
  s.GroupCode = kDtmfGroupCodeOff;
  RadioImage image{};
  ASSERT_TRUE(EncodeDtmf(s, image, {}));
  EXPECT_EQ(image[737], 0xFF);
  DtmfSettings back;
  DecodeDtmf(back, image, {});
  EXPECT_EQ(back.GroupCode, kDtmfGroupCodeOff);
  RadioImage again{};
  ASSERT_TRUE(EncodeDtmf(back, again, {}));
  EXPECT_EQ(again[737], 0xFF);
}

TEST(Dtmf, OwnIdIsCompletedAndStoredBack) {
  struct Case {
    std::string id, stored;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"5", "500", {5, 0, 0}},   {"", "000", {0, 0, 0}},   {"12", "120", {1, 2, 0}},
      {"987", "987", {9, 8, 7}}, {"AB", "000", {0, 0, 0}},
  };
  for (const auto& c : cases) {
    DtmfSettings s;
    s.OwnId = c.id;
    RadioImage image = FilledImage(0xAA);
    ASSERT_TRUE(EncodeDtmf(s, image, {})) << c.id;
    EXPECT_EQ(s.OwnId.Clean(), c.stored) << c.id;
    EXPECT_EQ(ImageBytes(image, 743, 3), c.bytes) << c.id;
  }
  // Numeric but not digits: the conversion of its characters fails.
  DtmfSettings s;
  s.OwnId = "1.5";
  RadioImage image{};
  EXPECT_FALSE(EncodeDtmf(s, image, {}));
}

TEST(Dtmf, OwnIdDecodes) {
  RadioImage image{};
  image[743] = 1;
  image[744] = 2;
  image[745] = 3;
  DtmfSettings s;
  DecodeDtmf(s, image, {});
  EXPECT_EQ(s.OwnId.Raw(), "123");
  image[744] = 10;
  DecodeDtmf(s, image, {});
  EXPECT_EQ(s.OwnId.Raw(), "000");
}

TEST(Dtmf, BytesOfTheRadioAreNeverWritten) {
  DtmfSettings s;
  for (auto& c : s.Codes) c = Code24("123456789012345678901234", 24);
  s.PttIdBegin = Code24("123456789012345678901234", 24);
  s.PttIdEnd = s.PttIdBegin;
  RadioImage image = FilledImage(0xAA);
  ASSERT_TRUE(EncodeDtmf(s, image, {}));
  std::vector<size_t> untouched = {742, 746, 747, 748, 845, 846, 847, 861, 862, 863};
  for (size_t k = 0; k < 16; ++k)
    for (size_t o = 13; o < 16; ++o) untouched.push_back(0x400 + 16 * k + o);
  for (size_t a : untouched) EXPECT_EQ(image[a], 0xAA) << a;
  // Nothing outside the three areas either.
  for (size_t a = 0; a < kImageSize; ++a) {
    bool inside = (a >= 736 && a < 768) || (a >= 832 && a < 864) || (a >= 1024 && a < 1280);
    if (!inside) {
      ASSERT_EQ(image[a], 0xAA) << a;
    }
  }
}

TEST(Dtmf, AutomaticTestMarksItsThreeAreas) {
  test::MarkRecorder recorder(ExportArea::Dtmf);
  CodecContext ctx{nullptr, nullptr, &recorder};
  DtmfSettings s;
  RadioImage image{};
  ASSERT_TRUE(EncodeDtmf(s, image, ctx));
  std::set<size_t> expected;
  for (size_t b = 736 / 16; b < 768 / 16; ++b) expected.insert(b);
  for (size_t b = 832 / 16; b < 864 / 16; ++b) expected.insert(b);
  for (size_t b = 1024 / 16; b < 1280 / 16; ++b) expected.insert(b);
  EXPECT_EQ(recorder.blocks, expected);

  test::MarkRecorder other(ExportArea::TwoTone);
  ASSERT_TRUE(EncodeDtmf(s, image, CodecContext{nullptr, nullptr, &other}));
  EXPECT_TRUE(other.blocks.empty());
}

TEST(Dtmf, RandomRecordsRoundTripThroughTheImage) {
  std::mt19937 rng(7);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string hex = "0123456789ABCDEF";
  auto randomCode = [&](int limit) {
    std::string t;
    int n = pick(0, limit);
    for (int i = 0; i < n; ++i) t += hex[static_cast<size_t>(pick(0, 15))];
    return std::pair(t, n);
  };
  for (int round = 0; round < 50; ++round) {
    DtmfSettings s;
    for (auto& c : s.Codes) std::tie(c.Text, c.Length) = randomCode(24);
    std::tie(s.PttIdBegin.Text, s.PttIdBegin.Length) = randomCode(24);
    std::tie(s.PttIdEnd.Text, s.PttIdEnd.Length) = randomCode(24);
    std::tie(s.KillCode.Text, s.KillCode.Length) = randomCode(14);
    std::tie(s.StunCode.Text, s.StunCode.Length) = randomCode(14);
    s.OwnId = std::to_string(pick(100, 999));
    s.Separator = static_cast<int16_t>(pick(10, 15));
    s.GroupCode = static_cast<int16_t>(pick(0, 6) == 0 ? 255 : pick(10, 15));
    s.DecodeResponse = static_cast<int16_t>(pick(0, 2));
    s.FirstDigitDelay = static_cast<int16_t>(pick(0, 250));
    s.PreSendDelay = static_cast<int16_t>(pick(1, 250));
    s.ResetTime = static_cast<int16_t>(pick(0, 250));
    s.PostSendDelay = static_cast<int16_t>(pick(1, 250));
    s.PauseTime = static_cast<int16_t>(pick(0, 75));
    s.Sidetone = static_cast<int16_t>(pick(0, 1));
    RadioImage image{};
    ASSERT_TRUE(EncodeDtmf(s, image, {}));
    DtmfSettings back;
    back.Ani = s.Ani;  // not in the image
    back.SendTime = s.SendTime;
    back.PttIdMode = s.PttIdMode;
    DecodeDtmf(back, image, {});
    auto sameCode = [](const auto& a, const auto& b) {
      return a.Length == b.Length && a.Valid() == b.Valid();
    };
    for (size_t k = 0; k < 16; ++k) EXPECT_TRUE(sameCode(s.Codes[k], back.Codes[k])) << k;
    EXPECT_TRUE(sameCode(s.PttIdBegin, back.PttIdBegin));
    EXPECT_TRUE(sameCode(s.PttIdEnd, back.PttIdEnd));
    EXPECT_TRUE(sameCode(s.KillCode, back.KillCode));
    EXPECT_TRUE(sameCode(s.StunCode, back.StunCode));
    EXPECT_EQ(back.OwnId, s.OwnId);
    for (auto f :
         {&DtmfSettings::Separator, &DtmfSettings::GroupCode, &DtmfSettings::DecodeResponse,
          &DtmfSettings::FirstDigitDelay, &DtmfSettings::PreSendDelay, &DtmfSettings::ResetTime,
          &DtmfSettings::PostSendDelay, &DtmfSettings::PauseTime, &DtmfSettings::Sidetone})
      EXPECT_EQ(back.*f, s.*f);
  }
}

TEST(Dtmf, FileLayoutIs527BytesInFieldOrder) {
  DtmfSettings s;
  s.Codes[0] = Code24("1E3", 3);
  s.StunCode.Length = 7;
  s.Ani = 1;
  s.OwnId = "123";
  s.Sidetone = 1;
  std::string bytes = test::FileBytes(s);
  ASSERT_EQ(bytes.size(), DtmfSettings::kFileSize);
  EXPECT_EQ(bytes.substr(0, 26), "1E3" + std::string(21, ' ') + std::string("\x03\x00", 2));
  EXPECT_EQ(bytes.substr(498, 2), std::string("\x07\x00", 2));  // StunCode length
  EXPECT_EQ(bytes.substr(500, 2), std::string("\x01\x00", 2));  // Ani
  EXPECT_EQ(bytes.substr(506, 3), "123");                       // OwnId
  EXPECT_EQ(bytes.substr(525, 2), std::string("\x01\x00", 2));  // Sidetone
  DtmfSettings back;
  ByteReader r(bytes);
  back.Read(r);
  EXPECT_EQ(back, s);
  EXPECT_EQ(r.Pos(), bytes.size());
}

TEST(Dtmf, DefaultsAreTheResetOfNew) {
  DtmfSettings s;
  s.Separator = 10;
  s.Codes[2] = Code24("12", 2);
  ResetDtmf(s);
  EXPECT_EQ(s, DtmfSettings{});
  EXPECT_EQ(s.SendTime, 1);
  EXPECT_EQ(s.PttIdMode, 3);
  EXPECT_EQ(s.OwnId.Raw(), "000");
  EXPECT_EQ(s.Separator, 14);
  EXPECT_EQ(s.GroupCode, 10);
  EXPECT_EQ(s.FirstDigitDelay, 20);
  EXPECT_EQ(s.PreSendDelay, 20);
  EXPECT_EQ(s.PostSendDelay, 20);
  EXPECT_EQ(s.PauseTime, 10);
  EXPECT_EQ(s.Codes[2].Length, 0);
}

TEST(Dtmf, DisplayAndStoredForms) {
  EXPECT_EQ(DtmfToDisplay("1E3F"), "1*3#");
  EXPECT_EQ(DtmfToStored("1*3#"), "1E3F");
  EXPECT_EQ(DtmfToStored(DtmfToDisplay("0123456789ABCDEF")), "0123456789ABCDEF");
  EXPECT_EQ(DtmfToDisplay("ABCD"), "ABCD");
}

TEST(Dtmf, OwnIdAndSeparatorRewriteEmbeddedCodes) {
  struct Case {
    std::string code, result;
  } newId[] = {
      {"123*456", "123*700"},  // ANI with the current separator
      {"*456", "*700"},        // PTT ID
      {"123#456", "123#456"},  // another separator: left alone
      {"12*456", "12*456"},    // wrong shape
      {"A12B", "A12B"},
  };
  for (const auto& c : newId) EXPECT_EQ(DtmfCodeForNewOwnId(c.code, "*", "700"), c.result);

  struct Case2 {
    std::string code, result;
  } newSep[] = {
      {"123*456", "123#456"}, {"A456", "#456"},
      {"123*457", "123*457"},  // does not embed the own ID
      {"1234456", "1234456"},  // digit in the separator place
      {"5456", "5456"},
  };
  for (const auto& c : newSep) EXPECT_EQ(DtmfCodeForNewSeparator(c.code, "456", "#"), c.result);
}

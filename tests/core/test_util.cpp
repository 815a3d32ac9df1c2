#include <gtest/gtest.h>

#include "core/util/Bytes.h"
#include "core/util/FixedText.h"
#include "core/util/Text.h"

using namespace kvx;

TEST(CleanText, TrailingSpacesThenFirstNul) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"ABC   ", "ABC"},
      {std::string("AB\0CD  ", 7), "AB"},
      {std::string("AB \0  ", 6), "AB "},  // spaces go first, then the cut
      {"", ""},
      {"   ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanText(c.in), c.out) << c.in;
}

TEST(FixedText, PadsCutsAndKeepsRawBytes) {
  FixedText<5> t;
  EXPECT_EQ(t.Raw(), std::string(5, '\0'));  // never assigned: zeros
  t = "AB";
  EXPECT_EQ(t.Raw(), "AB   ");
  t = "ABCDEFG";
  EXPECT_EQ(t.Raw(), "ABCDE");
  t.bytes = {'\xE9', 'x', '\0', 'y', ' '};
  EXPECT_EQ(t.Clean(), "\xE9x");
}

TEST(Text, NumbersIgnoreTheLocale) {
  EXPECT_EQ(FormatFixed(145.00625, 5), "145.00625");
  EXPECT_DOUBLE_EQ(LeadingNumber("174.00000 MHz"), 174.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("45.9950"), 45.995);
  EXPECT_DOUBLE_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(ParseInteger(" 12 "), 12);
  EXPECT_EQ(ParseInteger("1x"), std::nullopt);
}

TEST(Text, Latin1RoundTrip) {
  std::string all;
  for (int i = 1; i < 256; ++i) all.push_back(static_cast<char>(i));
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
}

TEST(Bytes, OrdersAndShortReads) {
  uint8_t b[4] = {};
  SetLe16(b, 0, 0x1234);
  SetBe16(b, 2, 0x1234);
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[2], 0x12);
  EXPECT_EQ(Le16(b, 0), 0x1234);
  EXPECT_EQ(Be16(b, 2), 0x1234);
  ByteReader r(std::span<const uint8_t>(b, 3));
  r.I16();
  EXPECT_FALSE(r.Short());
  r.I16();
  EXPECT_TRUE(r.Short());
  std::string out;
  ByteWriter w(out);
  w.F64(87.5);
  ByteReader r2(out);
  EXPECT_DOUBLE_EQ(r2.F64(), 87.5);
}

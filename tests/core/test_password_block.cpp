#include <gtest/gtest.h>

#include "core/files/PasswordBlock.h"

namespace kvx {
namespace {

// Reference blocks worked out by hand from the byte-wise rule: byte 15 - 2j holds the inverted
// bit j of characters 0-7 (character 0 in bit 7), byte 14 - 2j those of characters 8-15.
struct KnownBlock {
  const char* password;
  PasswordBlock block;
};
const KnownBlock kKnown[] = {
    {"",
     {0xFF, 0xFF, 0xC0, 0xFF, 0x3F, 0x00, 0xC4, 0xFF, 0xDB, 0xFF, 0xE9, 0xFF, 0xCE, 0xFF, 0xF3,
      0xFF}},
    {"AB12",
     {0xFF, 0xFF, 0xC0, 0x3F, 0x3F, 0xC0, 0xC4, 0xCF, 0xDB, 0xFF, 0xE9, 0xFF, 0xCE, 0xAF, 0xF3,
      0x5F}},
    {"0123456789",
     {0xFF, 0xFF, 0xC0, 0xFF, 0x3F, 0x00, 0x04, 0x00, 0x1B, 0xFF, 0xE9, 0xF0, 0xCE, 0xCC, 0xB3,
      0xAA}},
};

TEST(PasswordBlock, KnownPasswordsGiveTheirSixteenBytesAndBack) {
  for (const auto& k : kKnown) {
    SCOPED_TRACE(k.password);
    EXPECT_EQ(MakePasswordBlock(k.password), k.block);
    auto decoded = DecodePasswordBlock(k.block);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, k.password);
  }
}

TEST(PasswordBlock, LongPasswordKeepsItsFirstTenCharacters) {
  // Opening such a file then needs only the first ten.
  EXPECT_EQ(MakePasswordBlock("0123456789ABC"), MakePasswordBlock("0123456789"));
  EXPECT_EQ(DecodePasswordBlock(MakePasswordBlock("0123456789ABC")), "0123456789");
  // Trailing blanks are not part of the password.
  EXPECT_EQ(MakePasswordBlock("AB12   "), MakePasswordBlock("AB12"));
}

TEST(PasswordBlock, BytesWithoutTheMarkerAreNoBlock) {
  // A block-less file starts with its settings record: the band code and the first DTMF code.
  PasswordBlock settingsStart{0x03, 0x00, ' ', ' ', ' ', ' ', ' ', ' ',
                              ' ',  ' ',  ' ', ' ', ' ', ' ', ' ', ' '};
  EXPECT_FALSE(DecodePasswordBlock(settingsStart).has_value());
  EXPECT_FALSE(DecodePasswordBlock(PasswordBlock{}).has_value());
  // One flipped marker bit is enough to make it block-less.
  PasswordBlock damaged = MakePasswordBlock("AB12");
  damaged[0] ^= 0x01;
  EXPECT_FALSE(DecodePasswordBlock(damaged).has_value());
}

TEST(PasswordBlock, DialogKeyFilter) {
  const struct {
    const char* typed;
    const char* kept;
  } cases[] = {
      {"ab-1", "AB1"},    {"Zz 9!", "ZZ9"}, {"123456789012", "1234567890"},
      {"\xC3\xA9x", "X"},  // characters above 127 are dropped
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FilterFilePassword(c.typed), c.kept) << c.typed;
}

}  // namespace
}  // namespace kvx

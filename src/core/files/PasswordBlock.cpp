#include "core/files/PasswordBlock.h"

#include "core/util/Text.h"

namespace kvx {

namespace {

constexpr std::string_view kMarker = "ZVQMTR";
constexpr size_t kPasswordWidth = 10;

// Character k, bit j <-> block bit n = 127 - 16j - k (bit n%8 of byte n/8), inverted. Byte
// 15 - 2j thus holds bit j of characters 0-7 (character 0 in bit 7), byte 14 - 2j bit j of
// characters 8-15.
constexpr int BlockBit(int k, int j) {
  return 127 - 16 * j - k;
}

}  // namespace

PasswordBlock MakePasswordBlock(std::string_view password) {
  std::string text = CleanText(password);
  text.resize(kPasswordWidth, ' ');
  text += kMarker;

  PasswordBlock block{};
  for (int k = 0; k < 16; ++k) {
    const auto c = static_cast<uint8_t>(text[k]);
    for (int j = 0; j < 8; ++j) {
      if ((c >> j) & 1u) continue;  // inverted: a 0 bit sets the block bit
      const int n = BlockBit(k, j);
      block[n / 8] = static_cast<uint8_t>(block[n / 8] | (1u << (n % 8)));
    }
  }
  return block;
}

std::optional<std::string> DecodePasswordBlock(const PasswordBlock& block) {
  std::string text(16, '\0');
  for (int k = 0; k < 16; ++k) {
    uint8_t c = 0;
    for (int j = 0; j < 8; ++j) {
      const int n = BlockBit(k, j);
      if (!((block[n / 8] >> (n % 8)) & 1u)) c = static_cast<uint8_t>(c | (1u << j));
    }
    text[k] = static_cast<char>(c);
  }
  if (std::string_view(text).substr(kPasswordWidth) != kMarker) return std::nullopt;
  return CleanText(std::string_view(text).substr(0, kPasswordWidth));
}

std::string FilterFilePassword(std::string_view typed) {
  std::string out;
  for (char ch : typed) {
    if (out.size() == kPasswordWidth) break;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z')) out.push_back(ch);
  }
  return out;
}

}  // namespace kvx

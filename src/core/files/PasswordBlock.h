#pragma once
// The 16-byte block at the start of a main data file: the file password (at most 10
// characters) and the marker "ZVQMTR", bit-transposed and inverted.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

using PasswordBlock = std::array<uint8_t, 16>;

// The block for `password` (CleanText applied, cut or padded to 10 characters).
PasswordBlock MakePasswordBlock(std::string_view password);
// The stored password (CleanText applied; empty: not protected), or nullopt when the 16 bytes
// are not a valid block, i.e. the file is block-less.
std::optional<std::string> DecodePasswordBlock(const PasswordBlock& block);

// A password holds only 0-9 and A-Z, at most 10 characters. The dialog's key filter: small
// letters become capitals, every other character is dropped; the result is cut to 10.
std::string FilterFilePassword(std::string_view typed);

}  // namespace kvx

#pragma once
// The radio's programming password: four bytes at 0x004C-0x004F, i.e. data bytes 12-15 of the
// 16-byte block at 0x0040. The system only checks it; it never writes it to a radio.
#include <string>
#include <string_view>

#include "core/util/Bytes.h"

namespace kvx {

inline constexpr size_t kPasswordOffsetInBlock = 12;
inline constexpr size_t kPasswordLength = 4;

// The password text of the block's data bytes: up to the first 0x00 or 0xFF, CleanText
// applied. A field starting with 0x00 or 0xFF is the empty password.
std::string RadioPasswordText(ConstBytes blockData);

// Exact, case-sensitive comparison; two empty texts match.
bool RadioPasswordMatches(ConstBytes blockData, std::string_view programPassWord);

}  // namespace kvx

#pragma once
// A fixed-width single-byte text field as records and files hold it: exactly N bytes, padded
// with spaces when assigned, all zero when never assigned. The bytes are kept as they are, so a
// round trip through the system loses nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/util/Bytes.h"
#include "core/util/Text.h"

namespace kvx {

template <size_t N>
struct FixedText {
  std::array<char, N> bytes{};

  FixedText() = default;
  FixedText(std::string_view s) { Assign(s); }  // NOLINT: implicit from text is the point

  // Pads with spaces on the right; a longer text is cut to N.
  void Assign(std::string_view s) {
    for (size_t i = 0; i < N; ++i) bytes[i] = i < s.size() ? s[i] : ' ';
  }
  FixedText& operator=(std::string_view s) {
    Assign(s);
    return *this;
  }
  // The text as readers use it: trailing spaces removed, cut at the first NUL.
  std::string Clean() const { return CleanText(std::string_view(bytes.data(), N)); }
  std::string_view Raw() const { return {bytes.data(), N}; }
  static constexpr size_t Width() { return N; }

  void Write(ByteWriter& w) const { w.Raw(bytes.data(), N); }
  void Read(ByteReader& r) { r.Raw(bytes.data(), N); }

  bool operator==(const FixedText&) const = default;
};

}  // namespace kvx

#pragma once
// Explicit accessors over image and file bytes. Every multi-byte value states its byte order;
// nothing overlays a struct on the bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvx {

using Bytes = std::span<uint8_t>;
using ConstBytes = std::span<const uint8_t>;

inline uint16_t Le16(ConstBytes b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
inline void SetLe16(Bytes b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline uint16_t Be16(ConstBytes b, size_t at) {
  return static_cast<uint16_t>((b[at] << 8) | b[at + 1]);
}
inline void SetBe16(Bytes b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

inline bool GetBit(ConstBytes b, size_t byteAt, unsigned bit) { return (b[byteAt] >> bit) & 1u; }
inline void SetBit(Bytes b, size_t byteAt, unsigned bit, bool on) {
  if (on)
    b[byteAt] = static_cast<uint8_t>(b[byteAt] | (1u << bit));
  else
    b[byteAt] = static_cast<uint8_t>(b[byteAt] & ~(1u << bit));
}

// One packed BCD byte: high nibble tens, low nibble units.
inline bool IsBcdByte(uint8_t v) { return (v >> 4) <= 9 && (v & 0x0F) <= 9; }
inline int BcdToInt(uint8_t v) { return (v >> 4) * 10 + (v & 0x0F); }
inline uint8_t IntToBcd(int v) { return static_cast<uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }

// Sequential little-endian writer and reader for the data files. The reader never reads past
// its span: a short input reads as zeros and sets `short_`.
class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void I16(int16_t v) {
    U8(static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF));
    U8(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
  }
  void Raw(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
  void F64(double v);
  size_t Size() const { return out_.size(); }

 private:
  std::string& out_;
};

class ByteReader {
 public:
  explicit ByteReader(ConstBytes in) : in_(in) {}
  explicit ByteReader(std::string_view in)
      : in_(reinterpret_cast<const uint8_t*>(in.data()), in.size()) {}
  uint8_t U8() { return pos_ < in_.size() ? in_[pos_++] : (short_ = true, ++pos_, 0); }
  int16_t I16() {
    uint16_t lo = U8();
    uint16_t hi = U8();
    return static_cast<int16_t>(lo | (hi << 8));
  }
  void Raw(void* p, size_t n) {
    auto* d = static_cast<uint8_t*>(p);
    for (size_t i = 0; i < n; ++i) d[i] = U8();
  }
  double F64();
  size_t Pos() const { return pos_; }
  bool Short() const { return short_; }

 private:
  ConstBytes in_;
  size_t pos_ = 0;
  bool short_ = false;
};

}  // namespace kvx

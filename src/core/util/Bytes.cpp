#include "core/util/Bytes.h"

#include <bit>
#include <cstring>

namespace kvx {

void ByteWriter::F64(double v) {
  auto bits = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
}

double ByteReader::F64() {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(U8()) << (8 * i);
  return std::bit_cast<double>(bits);
}

}  // namespace kvx

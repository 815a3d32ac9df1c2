#include "core/link/Password.h"

#include "core/util/Text.h"

namespace kvx {

std::string RadioPasswordText(ConstBytes blockData) {
  std::string raw;
  for (size_t i = kPasswordOffsetInBlock;
       i < kPasswordOffsetInBlock + kPasswordLength && i < blockData.size(); ++i) {
    if (blockData[i] == 0x00 || blockData[i] == 0xFF) break;
    raw.push_back(static_cast<char>(blockData[i]));
  }
  return CleanText(raw);
}

bool RadioPasswordMatches(ConstBytes blockData, std::string_view programPassWord) {
  return RadioPasswordText(blockData) == programPassWord;
}

}  // namespace kvx

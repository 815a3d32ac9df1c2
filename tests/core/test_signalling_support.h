#pragma once
// Small helpers shared by the signalling codec tests.
#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/util/Bytes.h"

namespace kvx::test {

// Records the blocks an encoder marks for one export area.
class MarkRecorder : public ExportSink {
 public:
  explicit MarkRecorder(ExportArea on) : on_(on) {}
  bool AreaOn(ExportArea area) const override { return area == on_; }
  void MarkBlocks(size_t address, size_t length) override {
    ranges.emplace_back(address, length);
    for (size_t b = address / 16; b <= (address + length - 1) / 16; ++b) blocks.insert(b);
  }
  void AddChannelRow(const ChannelRecord&) override {}

  std::vector<std::pair<size_t, size_t>> ranges;
  std::set<size_t> blocks;

 private:
  ExportArea on_;
};

// An image with every byte set to `fill`, to see which bytes an encoder leaves alone.
inline RadioImage FilledImage(uint8_t fill) {
  RadioImage image;
  image.bytes.fill(fill);
  return image;
}

inline std::vector<uint8_t> ImageBytes(const RadioImage& image, size_t at, size_t n) {
  return {image.bytes.begin() + static_cast<long>(at),
          image.bytes.begin() + static_cast<long>(at + n)};
}

template <typename Record>
std::string FileBytes(const Record& r) {
  std::string out;
  ByteWriter w(out);
  r.Write(w);
  return out;
}

}  // namespace kvx::test

#include "core/image/RadioImage.h"

#include <algorithm>

namespace kvx {

void RadioImage::Fill(size_t first, size_t last, uint8_t value) {
  std::fill(bytes.begin() + first, bytes.begin() + last + 1, value);
}

void ClearImage(RadioImage& image, const AutoTestStep& autoTestStep) {
  // 0x0000-0x000F are never sent or decoded: they keep whatever they hold.
  image.Fill(0x0010, 0x00FF, 0x00);
  image.Fill(0x0100, 0x01FF, 0xFF);
  image.Fill(0x0200, 0x037F, 0x00);
  image.Fill(0x0380, 0x039F, 0xFF);
  image.Fill(0x03A0, 0x3FFF, 0x00);
  image.Fill(0x03F0, 0x03FF, 0xFF);
  if (autoTestStep) autoTestStep();
  image.Fill(0x03F0, 0x03FF, 0xFF);
  image.Fill(0x3970, 0x397F, 0xFF);
}

}  // namespace kvx

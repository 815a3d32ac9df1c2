#include <gtest/gtest.h>

#include "core/image/RadioImage.h"

using namespace kvx;

namespace {

bool TemplateFF(size_t a) {
  return (a >= 0x0100 && a <= 0x01FF) || (a >= 0x0380 && a <= 0x039F) ||
         (a >= 0x03F0 && a <= 0x03FF) || (a >= 0x3970 && a <= 0x397F);
}

}  // namespace

TEST(RadioImage, ClearImageTemplate) {
  RadioImage image;
  for (size_t a = 0; a < kImageSize; ++a) image[a] = static_cast<uint8_t>(a * 7 + 3);
  ClearImage(image);
  for (size_t a = 0; a < 0x10; ++a) EXPECT_EQ(image[a], static_cast<uint8_t>(a * 7 + 3)) << a;
  for (size_t a = 0x10; a < kImageSize; ++a)
    ASSERT_EQ(image[a], TemplateFF(a) ? 0xFF : 0x00) << std::hex << a;
}

TEST(RadioImage, AutoTestStepRunsBeforeTheFinalFlagFills) {
  RadioImage image;
  int calls = 0;
  ClearImage(image, [&] {
    ++calls;
    // What the step sees: the main template already in place.
    EXPECT_EQ(image[0x0100], 0xFF);
    EXPECT_EQ(image[0x3975], 0x00);
    image[0x03F5] = 0x12;  // the FM flags are filled again after the step
    image[0x2000] = 0x34;  // anything else the step writes stays
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(image[0x03F5], 0xFF);
  EXPECT_EQ(image[0x3975], 0xFF);
  EXPECT_EQ(image[0x2000], 0x34);
}

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/factory/TestData.h"

using namespace kvx;

namespace {

std::string TempPath(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / "kvx50-sett-ted";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

}  // namespace

TEST(TestData, CalibrationBlockFillsOnlyTheUpperValues) {
  TestDataValues v;
  v.fill(-7);
  const uint8_t block[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0xFE,  // bytes 0-5
                             0x34, 0x12,                          // SYS_MOD1 = 0x1234
                             0x34, 0x92,                          // high byte >= 0x80: 0x34
                             0xFF, 0x7F,                          // 0x7FFF
                             0xA1, 0xA2, 0xA3, 0xA4};
  TakeCalibrationBlock(v, ConstBytes(block, 16));
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(v[i], -7) << i;  // untouched by a read
  const int16_t expected[16] = {0x10,   0x11, 0x12, 0x13, 0x14, 0xFE, 0x1234, 0x34,
                                0x7FFF, 0xA1, 0xA2, 0xA3, 0xA4, 0,    0,      0};
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(v[16 + i], expected[i]) << 16 + i;
}

TEST(TestData, FileIsSixtyFourLittleEndianBytesAndRefusesShortOnes) {
  TestDataValues v{};
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>(i * 1000 - 9000);
  v[31] = -1;
  std::string path = TempPath("values.ted");
  std::string last;
  ASSERT_TRUE(WriteTestDataFile(path, v, &last));
  EXPECT_EQ(last, path);
  std::ifstream f(path, std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(f), {}};
  ASSERT_EQ(bytes.size(), kTestDataFileSize);
  EXPECT_EQ(bytes.substr(0, 2), "\xD8\xDC");  // -9000
  EXPECT_EQ(bytes.substr(62, 2), "\xFF\xFF");

  TestDataValues back{};
  ASSERT_TRUE(ReadTestDataFile(path, back));
  EXPECT_EQ(back, v);

  std::ofstream(TempPath("short.ted"), std::ios::binary) << bytes.substr(0, 63);
  TestDataValues kept{};
  kept[0] = 5;
  EXPECT_FALSE(ReadTestDataFile(TempPath("short.ted"), kept));
  EXPECT_FALSE(ReadTestDataFile(TempPath("missing.ted"), kept));
  EXPECT_EQ(kept[0], 5);
  EXPECT_EQ(kept[1], 0);
  EXPECT_FALSE(WriteTestDataFile(TempPath("no/dir/x.ted"), v));

  // A new save replaces the file whole: a reader of the old file still sees the old values
  // (never a truncated or half-written file), and no temporary file is left beside it.
  std::ifstream old(path, std::ios::binary);
  TestDataValues next = v;
  next[0] = 1234;
  ASSERT_TRUE(WriteTestDataFile(path, next));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), bytes);
  ASSERT_TRUE(ReadTestDataFile(path, back));
  EXPECT_EQ(back[0], 1234);
  for (const auto& e :
       std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
    if (e.path().filename().string().find("values.ted") != std::string::npos) {
      EXPECT_EQ(e.path().string(), path);
    }
}

TEST(TestData, PathAndHexTextsOfTheDialog) {
  EXPECT_EQ(TestDataPathFor("/a/b/radio.dat"), "/a/b/radio.ted");
  struct Case {
    int16_t value;
    const char* text;
  } cases[] = {{0, "0"}, {0xFA, "FA"}, {0xFFF, "FFF"}, {-1, "FFFF"}, {0x1234, "1234"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatTestValue(c.value), c.text);
    EXPECT_EQ(ParseTestValue(c.text), c.value);
  }
  EXPECT_EQ(ParseTestValue("fa"), 0xFA);
  EXPECT_EQ(ParseTestValue(""), std::nullopt);
  EXPECT_EQ(ParseTestValue("G1"), std::nullopt);
  EXPECT_EQ(ParseTestValue("12345"), std::nullopt);
  EXPECT_EQ(TestValueName(2, 1), "Frequency Adjust");
  EXPECT_EQ(TestValueName(13, 2), "12.5K CTCSS");
  EXPECT_EQ(TestValueName(22, 2), "SYS_MOD1");
  for (size_t unnamed : {0, 1, 14, 15, 25, 31}) EXPECT_EQ(TestValueName(unnamed, 1), "Freq");
}

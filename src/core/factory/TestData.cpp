#include "core/factory/TestData.h"

#include <charconv>
#include <fstream>

#include "core/files/DataFile.h"

namespace kvx {

void TakeCalibrationBlock(TestDataValues& values, ConstBytes block) {
  auto d = [&](size_t i) -> int { return i < block.size() ? block[i] : 0; };
  for (size_t i = 0; i <= 5; ++i) values[16 + i] = static_cast<int16_t>(d(i));
  // Three 16-bit words, low byte first; a high byte of 0x80 or more is ignored.
  for (size_t k = 0; k < 3; ++k) {
    int lo = d(6 + 2 * k), hi = d(7 + 2 * k);
    values[22 + k] = static_cast<int16_t>(hi >= 0x80 ? lo : lo | (hi << 8));
  }
  for (size_t i = 12; i <= 15; ++i) values[25 + (i - 12)] = static_cast<int16_t>(d(i));
  values[29] = values[30] = values[31] = 0;
}

void WriteTestData(const TestDataValues& values, ByteWriter& w) {
  for (int16_t v : values) w.I16(v);
}

void ReadTestData(TestDataValues& values, ByteReader& r) {
  for (int16_t& v : values) v = r.I16();
}

bool ReadTestDataFile(const std::string& path, TestDataValues& values,
                      std::string* lastTestDataFile) {
  std::ifstream f(path, std::ios::binary);
  if (!f.is_open()) return false;
  if (lastTestDataFile) *lastTestDataFile = path;
  std::string block(kTestDataFileSize, '\0');
  f.read(block.data(), static_cast<std::streamsize>(block.size()));
  if (static_cast<size_t>(f.gcount()) < block.size()) return false;
  ByteReader r(block);
  ReadTestData(values, r);
  return true;
}

bool WriteTestDataFile(const std::string& path, const TestDataValues& values,
                       std::string* lastTestDataFile) {
  if (lastTestDataFile) *lastTestDataFile = path;
  std::string block;
  ByteWriter w(block);
  WriteTestData(values, w);
  // Calibration values are not to be lost to a full disk or a crash half-way: the old file
  // stays until the new one is complete.
  return WriteFileAtomically(path, block);
}

std::string TestDataPathFor(const std::string& dataFilePath) {
  if (dataFilePath.size() < 4) return dataFilePath + ".ted";
  return dataFilePath.substr(0, dataFilePath.size() - 4) + ".ted";
}

std::string FormatTestValue(int16_t value) {
  char buf[8];
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<uint16_t>(value), 16);
  std::string s(buf, r.ptr);
  for (char& c : s)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::optional<int16_t> ParseTestValue(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return static_cast<int16_t>(static_cast<uint16_t>(v));
}

std::string TestValueName(size_t index, int languageIndex) {
  struct Name {
    const char* english;
    const char* chinese;
  };
  static const Name kNamed[] = {
      {"Frequency Adjust", "频率调整"},
      {"Higher Power", "大高功率"},
      {"High Power", "小高功率"},
      {"Middle Power", "中功率"},
      {"Low Power", "低功率"},
      {"Offset frequency of 25K", "25K频偏"},
      {"Offset frequency of 20K", "20K频偏"},
      {"Offset frequency of 12.5K", "12.5K频偏"},
      {"Microphone Sensitivity", "麦克风灵敏度"},
      {"CTCSS of 25K", "25K CTCSS"},
      {"CTCSS of 20K", "20K CTCSS"},
      {"CTCSS of 12.5K", "12.5K CTCSS"},
  };
  static const char* const kRaw[] = {"test_v",      "powerh1",  "powerhm1",  "powerm1",  "powerl1",
                                     "test_status", "SYS_MOD1", "SYS_MODM1", "SYS_MODN1"};
  if (index >= 2 && index <= 13) {
    const Name& n = kNamed[index - 2];
    return languageIndex == 2 ? n.chinese : n.english;
  }
  if (index >= 16 && index <= 24) return kRaw[index - 16];
  return "Freq";
}

}  // namespace kvx

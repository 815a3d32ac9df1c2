#pragma once
// The 32 factory test and calibration values, the calibration block of a read and the 64-byte
// test-data file (.ted) that travels with a data file in factory mode.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/Bytes.h"

namespace kvx {

using TestDataValues = std::array<int16_t, 32>;

inline constexpr size_t kCalibrationBlockAddress = 0x0160;
inline constexpr size_t kCalibrationBlockSize = 16;
inline constexpr size_t kTestDataFileSize = 64;

// Fills values 16 to 31 from the 16 data bytes of the calibration block; values 0 to 15 are
// not touched. A short block is treated as zeros past its end.
void TakeCalibrationBlock(TestDataValues& values, ConstBytes block);

// The 64-byte file: the values in index order, 16-bit little-endian.
void WriteTestData(const TestDataValues& values, ByteWriter& w);
void ReadTestData(TestDataValues& values, ByteReader& r);

// False (values unchanged) when the file is missing, unreadable or shorter than 64 bytes.
// Both store the path in `lastTestDataFile` when given.
bool ReadTestDataFile(const std::string& path, TestDataValues& values,
                      std::string* lastTestDataFile = nullptr);
bool WriteTestDataFile(const std::string& path, const TestDataValues& values,
                       std::string* lastTestDataFile = nullptr);

// The file path that goes with a data file: its last four characters replaced by ".ted".
std::string TestDataPathFor(const std::string& dataFilePath);

// The dialog's text of a value: upper-case hexadecimal without leading zeros (-1 is "FFFF").
std::string FormatTestValue(int16_t value);
// A box's text read as hexadecimal (at most 4 digits); nullopt for an empty or bad text.
std::optional<int16_t> ParseTestValue(std::string_view text);

// The label of a value in the dialog; unnamed values show "Freq". languageIndex 2 is Chinese.
std::string TestValueName(size_t index, int languageIndex);

}  // namespace kvx

#pragma once
// Layouts of the data files: main file (PasswordBlock + SettingsRecord), channel file
// (108-byte ChannelRecords) and test-data file (64 bytes), and the whole-file writing used by
// every file the system saves.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

constexpr size_t kChannelFileRecordSize = 108;
constexpr size_t kTestDataFileSize = 64;

// "abc.dat" -> "abc.fre" (the last three characters replaced) and "abc.ted" (the last four).
std::string ChannelFilePath(std::string_view mainPath);
std::string TestDataFilePath(std::string_view mainPath);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk and renames it
// over `path`: an interrupted save leaves either the old file or the new one, never a mix.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace kvx

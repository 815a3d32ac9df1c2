#pragma once
// Data-file helpers: the channel file's name and record size, and the whole-file reading and
// writing used by every file the system saves.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

constexpr size_t kChannelFileRecordSize = 108;

// "abc.dat" -> "abc.fre": the last three characters replaced (the test-data file is
// TestDataPathFor of factory/TestData.h).
std::string ChannelFilePath(std::string_view mainPath);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk and renames it
// over `path`: an interrupted save leaves either the old file or the new one, never a mix.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace kvx

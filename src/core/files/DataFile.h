#pragma once
// Data-file helpers: the channel file's name and record size, and the whole-file reading and
// writing used by every file the system saves.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx {

constexpr size_t kChannelFileRecordSize = 108;

// "abc.dat" -> "abc.fre": the last three characters replaced (the test-data file is
// TestDataPathFor of factory/TestData.h).
std::string ChannelFilePath(std::string_view mainPath);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk and renames it
// over `path`: an interrupted save leaves either the old file or the new one, never a mix, and
// a shorter file keeps no stale bytes.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same for the files of one save: every file is written to its temporary file first; only
// when all of them were written are they renamed over the old ones. False when any could not be
// written (the old files are then all untouched) or when two of them share a name. A replaced
// file keeps its permissions.
struct FileContent {
  std::string path;
  std::string bytes;
};
bool WriteFilesAtomically(const std::vector<FileContent>& files);
// The whole file, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace kvx

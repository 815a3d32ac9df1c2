#pragma once
// The communication-book file: exactly 1792 bytes, the 128 entries as the data file holds them.
#include <string>

#include "core/image/Book.h"

namespace kvx {

inline constexpr const char* kDefaultBookFileName = "new.cb";

// Writes the 1792-byte block at offset 0; an existing longer file keeps its bytes after it.
// False when the file cannot be written.
bool WriteBookFile(const std::string& path, const BookEntries& book);

// Reads the first 1792 bytes into `book`. Refused (false, `book` unchanged) when the file
// cannot be opened or read, is shorter than 1792 bytes, or holds a call ID with characters
// other than digits, blanks and NULs. `why`, when given, says which.
bool ReadBookFile(const std::string& path, BookEntries& book, std::string* why = nullptr);

}  // namespace kvx

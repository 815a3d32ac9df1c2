#include "core/files/BookFile.h"

#include <fstream>
#include <iterator>

namespace kvx {

bool WriteBookFile(const std::string& path, const BookEntries& book) {
  std::string block;
  ByteWriter w(block);
  book.Write(w);
  // Overwrite from offset 0 without shortening an existing file.
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!f.is_open()) {
    f.clear();
    f.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
  }
  if (!f.is_open()) return false;
  f.write(block.data(), static_cast<std::streamsize>(block.size()));
  f.flush();
  return static_cast<bool>(f);
}

bool ReadBookFile(const std::string& path, BookEntries& book, std::string* why) {
  auto refuse = [&](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  std::ifstream f(path, std::ios::binary);
  if (!f.is_open()) return refuse("cannot be opened");
  std::string block(BookEntries::kFileSize, '\0');
  f.read(block.data(), static_cast<std::streamsize>(block.size()));
  if (f.bad()) return refuse("cannot be read");
  if (static_cast<size_t>(f.gcount()) < block.size()) return refuse("is shorter than 1792 bytes");
  BookEntries read;
  ByteReader r(block);
  read.Read(r);
  // A call ID of anything but digits has no place in the book's sort order or the radio.
  for (const auto& e : read.entries)
    for (char c : e.CallId.Raw())
      if (!(c >= '0' && c <= '9') && c != ' ' && c != '\0')
        return refuse("holds a call ID that is not a number");
  book = read;
  return true;
}

}  // namespace kvx

// The communication-book file: any bytes. A refused file leaves the book as it was; an
// accepted one holds only digit call IDs, writes back byte for byte, and goes through the
// book codec into an image and back without touching anything outside the image.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "core/files/BookFile.h"
#include "core/files/DataFile.h"
#include "core/image/Book.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"

using namespace kvx;
using namespace kvx::fuzz;

namespace {

std::string BookBytes(const BookEntries& book) {
  std::string out;
  ByteWriter w(out);
  book.Write(w);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string path = ScratchFolder() + "/book.cb";
  WriteFile(path, input);

  BookEntries book;
  SetBookText(book.entries[0].CallId, "123");
  const std::string before = BookBytes(book);
  std::string why;
  const bool ok = ReadBookFile(path, book, &why);
  if (!ok) {
    FUZZ_CHECK(!why.empty());
    FUZZ_CHECK(BookBytes(book) == before);
    return 0;
  }
  FUZZ_CHECK(size >= BookEntries::kFileSize);
  FUZZ_CHECK(BookBytes(book) == input.substr(0, BookEntries::kFileSize));
  for (const BookEntry& e : book.entries)
    for (char c : e.CallId.Raw()) FUZZ_CHECK((c >= '0' && c <= '9') || c == ' ' || c == '\0');

  // Writing it over a longer file keeps the bytes after the book.
  FUZZ_CHECK(WriteBookFile(path, book));
  const auto written = ReadFileBytes(path);
  FUZZ_CHECK(written && *written == input);

  // Sorting renumbers the entries 0-127 and loses none.
  BookEntries sorted = book;
  SortBook(sorted);
  for (size_t i = 0; i < BookEntries::kEntries; ++i)
    FUZZ_CHECK(sorted.entries[i].EntryNo == static_cast<int16_t>(i));
  for (size_t i = 1; i < BookEntries::kEntries; ++i)
    FUZZ_CHECK(BookSortKey(sorted.entries[i - 1].CallId) <= BookSortKey(sorted.entries[i].CallId));

  RadioImage image;
  ClearImage(image);
  QuietPrompts prompts;
  AppState app;
  CodecContext ctx{&prompts, &app};
  FUZZ_CHECK(EncodeBook(book, image, ctx));
  BookEntries decoded;
  DecodeBook(decoded, image, ctx);
  return 0;
}

#pragma once
// The communication book: 128 call IDs of up to five digits with names of up to seven
// characters.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/util/Bytes.h"
#include "core/util/FixedText.h"

namespace kvx {

struct RadioImage;
struct CodecContext;

struct BookEntry {
  int16_t EntryNo = 0;  // the entry's position, rewritten by every sort
  // A text shorter than the field is followed by a NUL, the rest is blanks.
  FixedText<5> CallId{std::string_view("\0", 1)};
  FixedText<7> EntryName{std::string_view("\0", 1)};

  static constexpr size_t kFileSize = 14;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const BookEntry&) const = default;
};

struct BookEntries {
  static constexpr size_t kEntries = 128;
  std::array<BookEntry, kEntries> entries = Defaults();

  static constexpr size_t kFileSize = 1792;
  void Write(ByteWriter& w) const;
  void Read(ByteReader& r);
  bool operator==(const BookEntries&) const = default;

  // Empty entries numbered 0-127 (the reset of New).
  static std::array<BookEntry, kEntries> Defaults();
};

// A call ID or name as the book stores it: the text, a NUL when it is shorter than the field,
// blanks after that.
void SetBookText(FixedText<5>& field, std::string_view text);
void SetBookText(FixedText<7>& field, std::string_view text);

// The sort key of a call ID: blanks read as "A", the text up to its first NUL, padded with "B"
// to five characters, read as a hexadecimal number. So "123" sorts before "12", "12" before "1"
// and an empty ID after every digit ID. An ID with other characters sorts after all of them.
uint32_t BookSortKey(const FixedText<5>& callId);
// Sorts by call ID and renumbers the entries 0-127.
void SortBook(BookEntries& book);

// Sorts the book first (the caller's book stays sorted). Never fails in practice; the failure
// message would be "SetCommDataByDTMFCommuBookError".
bool EncodeBook(BookEntries& book, RadioImage& image, const CodecContext& ctx);
void DecodeBook(BookEntries& book, const RadioImage& image, const CodecContext& ctx);

inline constexpr const char* kBookEncodeError = "SetCommDataByDTMFCommuBookError";

}  // namespace kvx

#include "core/image/Book.h"

#include <string>
#include <utility>

#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

constexpr size_t kNumberWidth = 5;
constexpr size_t kNameSlot = 8;  // 7 name bytes; the eighth belongs to the radio
// Sorts after every key a call ID of hexadecimal digits can have.
constexpr uint32_t kUnsortableKey = 0x100000;

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

template <size_t N>
void SetText(FixedText<N>& field, std::string_view text) {
  std::string t(text);
  if (t.size() < N) t.push_back('\0');
  field = t;
}

}  // namespace

void BookEntry::Write(ByteWriter& w) const {
  w.I16(EntryNo);
  CallId.Write(w);
  EntryName.Write(w);
}
void BookEntry::Read(ByteReader& r) {
  EntryNo = r.I16();
  CallId.Read(r);
  EntryName.Read(r);
}

void BookEntries::Write(ByteWriter& w) const {
  for (const auto& e : entries) e.Write(w);
}
void BookEntries::Read(ByteReader& r) {
  for (auto& e : entries) e.Read(r);
}

std::array<BookEntry, BookEntries::kEntries> BookEntries::Defaults() {
  std::array<BookEntry, kEntries> out{};
  for (size_t i = 0; i < kEntries; ++i) out[i].EntryNo = static_cast<int16_t>(i);
  return out;
}

void SetBookText(FixedText<5>& field, std::string_view text) {
  SetText(field, text);
}
void SetBookText(FixedText<7>& field, std::string_view text) {
  SetText(field, text);
}

uint32_t BookSortKey(const FixedText<5>& callId) {
  std::string s(callId.Raw());
  for (char& c : s)
    if (c == ' ') c = 'A';
  s = CleanText(s);
  while (s.size() < kNumberWidth) s.push_back('B');
  uint32_t key = 0;
  for (char c : s) {
    int v = HexValue(c);
    if (v < 0) return kUnsortableKey;
    key = key * 16 + static_cast<uint32_t>(v);
  }
  return key;
}

void SortBook(BookEntries& book) {
  auto& e = book.entries;
  std::array<uint32_t, BookEntries::kEntries> keys{};
  for (size_t i = 0; i < e.size(); ++i) keys[i] = BookSortKey(e[i].CallId);
  // An exchange sort, as the radio's own software has always sorted: entries with equal keys
  // (the empty ones above all) end in the order this gives, which users see.
  for (size_t i = 0; i + 1 < e.size(); ++i)
    for (size_t j = i + 1; j < e.size(); ++j)
      if (keys[j] < keys[i]) {
        std::swap(keys[i], keys[j]);
        std::swap(e[i], e[j]);
      }
  for (size_t i = 0; i < e.size(); ++i) e[i].EntryNo = static_cast<int16_t>(i);
}

// The eighth byte of each name slot belongs to the radio and is left as it is.
bool EncodeBook(BookEntries& book, RadioImage& image, const CodecContext& ctx) {
  SortBook(book);
  for (size_t n = 0; n < BookEntries::kEntries; ++n) {
    const auto& e = book.entries[n];
    // Only a call ID of digits reaches the radio; anything else is sent as no ID.
    std::string id = e.CallId.Clean();
    if (id.empty() || !AllDigits(id)) id.clear();
    size_t numberAt = ImageAddr::BookNumbers + kNumberWidth * n;
    for (size_t i = 0; i < kNumberWidth; ++i)
      image[numberAt + i] = i < id.size() ? static_cast<uint8_t>(id[i]) : 0;
    ctx.Mark(ExportArea::Book, numberAt, kNumberWidth);

    std::string name = e.EntryName.Clean();
    size_t nameAt = ImageAddr::BookNames + kNameSlot * n;
    for (size_t i = 0; i < kNameSlot - 1; ++i)
      image[nameAt + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : 0;
    ctx.Mark(ExportArea::Book, nameAt, kNameSlot);
  }
  return true;
}

void DecodeBook(BookEntries& book, const RadioImage& image, const CodecContext&) {
  for (size_t n = 0; n < BookEntries::kEntries; ++n) {
    auto& e = book.entries[n];
    std::string id;
    size_t numberAt = ImageAddr::BookNumbers + kNumberWidth * n;
    for (size_t i = 0; i < kNumberWidth; ++i) {
      uint8_t b = image[numberAt + i];
      if (b < '0' || b > '9') {
        id.push_back('\0');
        break;
      }
      id.push_back(static_cast<char>(b));
    }
    e.CallId = id;

    std::string name;
    size_t nameAt = ImageAddr::BookNames + kNameSlot * n;
    for (size_t i = 0; i < kNameSlot; ++i) {
      uint8_t b = image[nameAt + i];
      if (b == 0xFF) {
        name.push_back('\0');
        break;
      }
      name.push_back(static_cast<char>(b));
    }
    name = CleanText(name);
    if (name.size() > 7) name.resize(7);
    SetText(e.EntryName, name);
    e.EntryNo = static_cast<int16_t>(n);
  }
}

}  // namespace kvx

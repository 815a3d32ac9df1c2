#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/factory/AutoTest.h"
#include "core/files/BookFile.h"
#include "core/image/Book.h"
#include "core/image/CodecContext.h"
#include "core/image/RadioImage.h"

using namespace kvx;

namespace {

BookEntry Entry(std::string_view id, std::string_view name) {
  BookEntry e;
  SetBookText(e.CallId, id);
  SetBookText(e.EntryName, name);
  return e;
}

std::string TempPath(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / "kvx50-sett-book";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

void Spill(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << bytes;
}

}  // namespace

TEST(Book, DefaultsAreEmptyNumberedEntries) {
  BookEntries b;
  for (size_t i = 0; i < BookEntries::kEntries; ++i) {
    EXPECT_EQ(b.entries[i].EntryNo, static_cast<int16_t>(i));
    EXPECT_EQ(b.entries[i].CallId.Raw(), std::string("\0    ", 5));
    EXPECT_EQ(b.entries[i].EntryName.Raw(), std::string("\0      ", 7));
  }
}

TEST(Book, SortKeysOrderLongerIdsFirstAndEmptyLast) {
  struct Case {
    std::string id;
    uint32_t key;
  } cases[] = {{"123", 0x123BB}, {"12", 0x12BBB},    {"1", 0x1BBBB},
               {"", 0xBBBBB},    {"99999", 0x99999}, {"1 2", 0x1A2BB}};
  for (const auto& c : cases) {
    FixedText<5> f;
    SetBookText(f, c.id);
    EXPECT_EQ(BookSortKey(f), c.key) << c.id;
  }
  FixedText<5> zeros;  // never assigned
  EXPECT_EQ(BookSortKey(zeros), 0xBBBBBu);
  FixedText<5> odd;
  SetBookText(odd, "1x");
  EXPECT_GT(BookSortKey(odd), 0xBBBBBu);
}

TEST(Book, SortMovesWholeEntriesAndRenumbers) {
  BookEntries b;
  b.entries[0] = Entry("5", "FIVE");
  b.entries[1] = Entry("123", "ONETWO3");
  b.entries[2] = Entry("", "NOID");
  b.entries[3] = Entry("12", "TWELVE");
  SortBook(b);
  EXPECT_EQ(b.entries[0].CallId.Clean(), "123");
  EXPECT_EQ(b.entries[0].EntryName.Clean(), "ONETWO3");
  EXPECT_EQ(b.entries[1].CallId.Clean(), "12");
  EXPECT_EQ(b.entries[2].CallId.Clean(), "5");
  EXPECT_EQ(b.entries[2].EntryName.Clean(), "FIVE");
  for (size_t i = 0; i < BookEntries::kEntries; ++i)
    EXPECT_EQ(b.entries[i].EntryNo, static_cast<int16_t>(i));
  // Entries without an ID come after all others; the named one is still there.
  int noId = 0;
  for (size_t i = 3; i < BookEntries::kEntries; ++i) {
    EXPECT_EQ(b.entries[i].CallId.Clean(), "");
    noId += b.entries[i].EntryName.Clean() == "NOID";
  }
  EXPECT_EQ(noId, 1);
}

TEST(Book, EncodeSortsThenWritesDigitsNamesAndNuls) {
  BookEntries b;
  b.entries[0] = Entry("7", "SEVENXY");  // exactly seven characters
  b.entries[1] = Entry("12345", "AB");
  b.entries[2].CallId = "1.5";  // not digits: sorts last and is sent as no ID
  b.entries[2].EntryName = "X";
  RadioImage img;
  img.bytes.fill(0xAA);
  ASSERT_TRUE(EncodeBook(b, img, {}));
  EXPECT_EQ(b.entries[0].CallId.Clean(), "12345");  // the caller's book is sorted
  auto number = [&](size_t n) {
    return std::string(img.bytes.begin() + 0x1980 + 5 * n, img.bytes.begin() + 0x1980 + 5 * n + 5);
  };
  auto name = [&](size_t n) {
    return std::string(img.bytes.begin() + 0x1C00 + 8 * n, img.bytes.begin() + 0x1C00 + 8 * n + 8);
  };
  EXPECT_EQ(number(0), "12345");
  EXPECT_EQ(name(0), std::string("AB\0\0\0\0\0\xAA", 8));
  EXPECT_EQ(number(1), std::string("7\0\0\0\0", 5));
  EXPECT_EQ(name(1), "SEVENXY\xAA");           // no NUL, byte 7 left as it was
  EXPECT_EQ(number(2), std::string(5, '\0'));  // an empty entry
  EXPECT_EQ(b.entries[127].CallId.Clean(), "1.5");
  EXPECT_EQ(number(127), std::string(5, '\0'));
  EXPECT_EQ(name(127), std::string("X\0\0\0\0\0\0\xAA", 8));
}

TEST(Book, DecodeReadsDigitsUpToTheFirstOtherByte) {
  RadioImage img;
  img.bytes.fill(0xFF);
  BookEntries erased;
  erased.entries[5] = Entry("99", "OLD");
  DecodeBook(erased, img, {});
  EXPECT_EQ(erased, BookEntries{});  // 128 empty entries

  const uint8_t id[5] = {'1', '2', 'A', '3', '4'};
  const uint8_t name[8] = {'A', 'B', 0x00, 'C', 'D', 'E', 'F', 'G'};
  const uint8_t full[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};
  std::copy(id, id + 5, img.bytes.begin() + 0x1980);
  std::copy(name, name + 8, img.bytes.begin() + 0x1C00);
  std::copy(full, full + 8, img.bytes.begin() + 0x1C08);
  BookEntries b;
  DecodeBook(b, img, {});
  EXPECT_EQ(b.entries[0].CallId.Raw(), std::string("12\0  ", 5));
  EXPECT_EQ(b.entries[0].EntryName.Raw(), std::string("AB\0    ", 7));
  EXPECT_EQ(b.entries[1].EntryName.Raw(), "ABCDEFG");  // eighth byte read, then cut to 7
}

TEST(Book, EncodeDecodeRoundTripOfASortedBook) {
  BookEntries b;
  for (size_t i = 0; i < 100; ++i)
    b.entries[i] = Entry(std::to_string(i * 997 % 100000), "N" + std::to_string(i));
  SortBook(b);
  BookEntries sorted = b;
  RadioImage img;
  ClearImage(img);
  ASSERT_TRUE(EncodeBook(b, img, {}));
  EXPECT_EQ(b, sorted);
  BookEntries back;
  DecodeBook(back, img, {});
  EXPECT_EQ(back, sorted);
}

TEST(Book, ExportMarksBothWholeTablesWithItsBox) {
  AutoTestState rec;
  rec.ExportAreaFlags.fill(false);
  rec.ExportAreaFlags[static_cast<size_t>(ExportArea::Book)] = true;
  RadioImage img;
  ASSERT_TRUE(EncodeBook(*std::make_unique<BookEntries>(), img, {nullptr, nullptr, &rec}));
  for (size_t blk = 0; blk < kBlockCount; ++blk)
    EXPECT_EQ(rec.BlockUsed[blk], blk >= 0x198 && blk <= 0x1FF ? 1 : 0) << std::hex << blk;
}

TEST(BookFile, RoundTripsByteForByteAndKeepsALongerFilesTail) {
  BookEntries b;
  b.entries[0] = Entry("12345", "ALPHA");
  b.entries[1] = Entry("7", "SEVENXY");
  b.entries[2].EntryNo = -2;
  std::string path = TempPath("round.cb");
  std::filesystem::remove(path);
  ASSERT_TRUE(WriteBookFile(path, b));
  std::string bytes = Slurp(path);
  ASSERT_EQ(bytes.size(), 1792u);
  EXPECT_EQ(bytes.substr(14, 14), std::string("\x00\x00"
                                              "7\0   "
                                              "SEVENXY",
                                              14));
  EXPECT_EQ(bytes.substr(28, 2), "\xFE\xFF");  // EntryNo -2, little-endian
  BookEntries back;
  ASSERT_TRUE(ReadBookFile(path, back));
  EXPECT_EQ(back, b);

  // Writing over a longer file leaves what lies after the block.
  Spill(path, std::string(2000, 'Z'));
  ASSERT_TRUE(WriteBookFile(path, b));
  std::string longer = Slurp(path);
  ASSERT_EQ(longer.size(), 2000u);
  EXPECT_EQ(longer.substr(0, 1792), bytes);
  EXPECT_EQ(longer.substr(1792), std::string(208, 'Z'));
  BookEntries fromLonger;
  ASSERT_TRUE(ReadBookFile(path, fromLonger));
  EXPECT_EQ(fromLonger, b);
}

TEST(BookFile, RefusesBadFilesAndKeepsTheWorkingCopy) {
  BookEntries good;
  good.entries[0] = Entry("42", "KEEP");
  std::string block;
  ByteWriter w(block);
  good.Write(w);

  std::string badId = block;
  badId[2 + 14 * 3] = 'A';  // call ID of entry 3
  std::string nulsAndBlanks = block;
  nulsAndBlanks.replace(2 + 14 * 4, 5, std::string("1\0 \0 ", 5));

  struct Case {
    const char* what;
    std::optional<std::string> content;  // nullopt: no file at all
    bool accepted;
  } cases[] = {
      {"missing", std::nullopt, false},
      {"empty", std::string(), false},
      {"one byte short", block.substr(0, 1791), false},
      {"letter in a call ID", badId, false},
      {"digits, NULs and blanks", nulsAndBlanks, true},
  };
  for (const auto& c : cases) {
    std::string path = TempPath("refuse.cb");
    std::filesystem::remove(path);
    if (c.content) Spill(path, *c.content);
    BookEntries working;
    working.entries[9] = Entry("9", "MINE");
    BookEntries before = working;
    std::string why;
    EXPECT_EQ(ReadBookFile(path, working, &why), c.accepted) << c.what;
    if (c.accepted) {
      EXPECT_EQ(working.entries[0].CallId.Clean(), "42");
    } else {
      EXPECT_EQ(working, before) << c.what;
      EXPECT_FALSE(why.empty()) << c.what;
    }
  }
  EXPECT_FALSE(WriteBookFile(TempPath("no/such/dir.cb"), good));
}

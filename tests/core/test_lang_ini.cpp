#include <gtest/gtest.h>

#include <filesystem>

#include "core/lang/IniFile.h"
#include "test_app_tempdir.h"

using namespace kvx;
using kvx::test::TempFolder;

TEST(IniFile, ReadingRules) {
  const std::string text =
      "\xEF\xBB\xBF; comment\r\n"
      "orphan=before any section\r\n"
      "[ Other ]\r\n"
      "  101 =  OK  \r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Mixed=\"x'\r\n"
      "Inner=a \"b\" c\r\n"
      "Empty=\r\n"
      "Twice=first\r\n"
      "twice=second\r\n"
      "no equals sign\r\n"
      "Eq=a=b\r\n"
      "[msg]\n"
      "9001=Modified\n"
      "[OTHER]\n"
      "102=hidden by the first OTHER\n";
  IniDocument doc = IniDocument::Parse(text);
  struct Case {
    std::string section, key;
    std::optional<std::string> value;
  } cases[] = {
      {"OTHER", "101", "OK"},
      {"other", "QUOTED", "  spaced  "},
      {"OTHER", "Single", "x"},
      {"OTHER", "Mixed", "\"x'"},
      {"OTHER", "Inner", "a \"b\" c"},
      {"OTHER", "Empty", ""},
      {"OTHER", "Twice", "first"},
      {"OTHER", "Eq", "a=b"},
      {"MSG", "9001", "Modified"},
      {"OTHER", "102", std::nullopt},
      {"OTHER", "orphan", std::nullopt},
      {"NONE", "101", std::nullopt},
      {"OTHER", "no equals sign", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(doc.Find(c.section, c.key), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(doc.Keys("Other"), (std::vector<std::string>{"101", "Quoted", "Single", "Mixed",
                                                         "Inner", "Empty", "Twice", "Eq"}));
}

TEST(IniFile, ValuesAreCutToTheLimitOnACharacterBoundary) {
  TempFolder dir;
  const std::string exact(254, 'a');
  const std::string longer(600, 'b');
  // 84 Chinese characters of three bytes each: 252 bytes, then one more that would not fit.
  std::string chinese;
  for (int i = 0; i < 85; ++i) chinese += "中";
  std::string path = dir.Write("t.ini", "[OTHER]\n1=" + exact + "\n2=" + longer + "\n3=" + chinese +
                                            "\n4=\n6=' x '\n[MSG]\n5=" + longer + "\n");
  EXPECT_EQ(ReadIniValue(path, "OTHER", "1", kIniShortValueLimit), exact);
  EXPECT_EQ(ReadIniValue(path, "OTHER", "2", kIniShortValueLimit), std::string(254, 'b'));
  EXPECT_EQ(ReadIniValue(path, "OTHER", "3", kIniShortValueLimit), chinese.substr(0, 252));
  EXPECT_EQ(ReadIniValue(path, "MSG", "5", kIniLongValueLimit), std::string(511, 'b'));
  EXPECT_EQ(ReadIniValue(path, "OTHER", "4", kIniShortValueLimit), "");
  EXPECT_EQ(ReadIniValue(path, "OTHER", "6", kIniShortValueLimit), "x");
  EXPECT_EQ(ReadIniValue(path, "OTHER", "missing", kIniShortValueLimit), "");
  EXPECT_EQ(ReadIniValue(dir / "none.ini", "OTHER", "1", kIniShortValueLimit), "");
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
  struct Case {
    const char* what;
    std::string before, section, key, value, after;
  } cases[] = {
      {"replace, CRLF kept",
       "; setup\r\n[language]\r\nIsFirstRun=1\r\n  comPort = 3 \r\n[other]\r\ncomPort=9\r\n",
       "LANGUAGE", "COMPORT", "ttyUSB0",
       "; setup\r\n[language]\r\nIsFirstRun=1\r\n  comPort =ttyUSB0\r\n[other]\r\ncomPort=9\r\n"},
      {"key added after the section's last entry", "[language]\nIsFirstRun=1\n\n[other]\nx=1\n",
       "language", "comPort", "ttyS0", "[language]\nIsFirstRun=1\ncomPort=ttyS0\n\n[other]\nx=1\n"},
      {"key added to an empty section", "[language]\n[b]\n", "language", "k", "v",
       "[language]\nk=v\n[b]\n"},
      {"section added", "[a]\nx=1", "language", "k", "v", "[a]\nx=1\n[language]\nk=v\n"},
      {"new file", "", "language", "k", "v", "[language]\nk=v\n"},
      {"a line break cannot start a new key", "[a]\nk=1\n", "a", "k", "x\r\n[evil]\ny=2",
       "[a]\nk=x  [evil] y=2\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SetIniValue(c.before, c.section, c.key, c.value), c.after) << c.what;
}

TEST(IniFile, WriteIniValueReplacesTheFileAndRefusesBadNames) {
  TempFolder dir;
  std::string path = dir.Write("s.ini", "[language]\r\nSkin=blue\r\ncomPort=1\r\n");
  ASSERT_TRUE(WriteIniValue(path, "language", "comPort", "/dev/pts/3"));
  EXPECT_EQ(dir.Read("s.ini"), "[language]\r\nSkin=blue\r\ncomPort=/dev/pts/3\r\n");
  EXPECT_EQ(ReadIniValue(path, "language", "comport", 511), "/dev/pts/3");
  // No temporary file is left beside it.
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.exists();
  EXPECT_EQ(files, 1u);

  EXPECT_FALSE(WriteIniValue(path, "language", "a=b", "x"));
  EXPECT_FALSE(WriteIniValue(path, "lang]", "a", "x"));
  EXPECT_FALSE(WriteIniValue(path, "language", "", "x"));
  EXPECT_FALSE(WriteIniValue(dir / "missing/folder/s.ini", "language", "k", "v"));
  EXPECT_EQ(dir.Read("s.ini"), "[language]\r\nSkin=blue\r\ncomPort=/dev/pts/3\r\n");
}

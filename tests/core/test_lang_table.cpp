#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/lang/BuiltInTexts.h"
#include "core/lang/LanguageTable.h"
#include "test_app_tempdir.h"

using namespace kvx;
using kvx::test::TempFolder;

TEST(LanguageTable, LooksUpTheCurrentFileBySectionAndId) {
  TempFolder dir;
  dir.Write("language/english.ini",
            "[OTHER]\n101=OK\n102 = \"Cancel \"\n-5=minus\n[Option]\n60024=Signal\n"
            "[MSG]\n9001=" +
                std::string(600, 'm') + "\n900C=" + std::string(300, 'c') + "\n[OTHER2]\n103=no\n");
  dir.Write("language/chinese.ini", "[OTHER]\n101=确定\n");
  LanguageTable lang;
  lang.SetProgramFolder(dir.Path());
  EXPECT_EQ(lang.LanguageIndex(), 1);
  EXPECT_EQ(lang.FilePath(), dir / "language/english.ini");
  EXPECT_EQ(lang.GetLangText(101), "OK");
  EXPECT_EQ(lang.GetLangText(102), "Cancel");  // blanks go, quoted ones too
  EXPECT_EQ(lang.GetLangText(-5), "minus");
  EXPECT_EQ(lang.GetLangText(103), "");
  EXPECT_EQ(lang.GetLangKeyText("OPTION", "60024"), "Signal");
  EXPECT_EQ(lang.GetLangKeyText("MSG", "9001"), std::string(511, 'm'));
  EXPECT_EQ(lang.GetLangKeyText("msg", "900c"), std::string(300, 'c'));
  EXPECT_EQ(lang.GetLangKeyText("OPTION", "60025"), "");

  lang.SetLanguageIndex(2);
  EXPECT_EQ(lang.FilePath(), dir / "language/chinese.ini");
  EXPECT_EQ(lang.GetLangText(101), "确定");
  EXPECT_EQ(lang.BuiltIn().FileError, "文件错误。");
  lang.SetLanguageIndex(0);  // never chosen: anything but 2 is English
  EXPECT_EQ(lang.LanguageIndex(), 1);
  EXPECT_EQ(lang.GetLangText(101), "OK");

  LanguageTable none;
  none.SetProgramFolder(dir / "nowhere");
  EXPECT_EQ(none.GetLangText(101), "");
}

TEST(LanguageTable, AnEditedFileTakesEffectAtTheNextLookup) {
  TempFolder dir;
  dir.Write("language/english.ini", "[OTHER]\n1300=Old\n");
  LanguageTable lang;
  lang.SetProgramFolder(dir.Path());
  EXPECT_EQ(lang.GetLangText(1300), "Old");
  // Same size, so only the modification time tells the edit apart.
  auto path = std::filesystem::path(dir / "language/english.ini");
  auto before = std::filesystem::last_write_time(path);
  dir.Write("language/english.ini", "[OTHER]\n1300=New\n");
  std::filesystem::last_write_time(path, before + std::chrono::seconds(1));
  EXPECT_EQ(lang.GetLangText(1300), "New");
  std::filesystem::remove(path);
  EXPECT_EQ(lang.GetLangText(1300), "");
}

TEST(LanguageTable, FilesOfOlderInstallationsAreConverted) {
  LanguageTable lang;
  lang.SetProgramFolder(std::string(KVX50_TEST_DATA) + "/lang/legacy");
  EXPECT_EQ(lang.GetLangText(101), "OK");
  EXPECT_EQ(lang.GetLangText(1211), "Fréquence – “Canal”");
  EXPECT_EQ(lang.GetLangText(2001), "Wrong frequency € ‰");
  lang.SetLanguageIndex(2);
  EXPECT_EQ(lang.GetLangText(101), "确定");
  EXPECT_EQ(lang.GetLangText(1501), "英文 – English");
  EXPECT_EQ(lang.GetLangKeyText("OPTION", "60024"), "信令");
  EXPECT_EQ(lang.GetLangKeyText("MSG", "9001"), "当前数据已被修改，是否继续？");
}

TEST(LanguageTable, Decoders) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("确定 € \xF0\x9F\x93\xBB"));
  for (std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xC3", "\xF5\x80\x80\x80",
                          "\xE9t\xE9", "\x80"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;

  EXPECT_EQ(DecodeWindows1252("caf\xE9 \x80 \x93x\x94 \x81"), "café € “x” \xC2\x81");
  EXPECT_EQ(DecodeGbk("\xD6\xD0\xCE\xC4 ok \x80"), "中文 ok €");
  // A lead byte without its second byte, and a pair that is not GBK, become U+FFFD.
  EXPECT_EQ(DecodeGbk("a\xD6"), "a\xEF\xBF\xBD");
  EXPECT_EQ(DecodeGbk("\xFF\xFFz").back(), 'z');

  // Only a file that is not UTF-8 is converted.
  EXPECT_EQ(LanguageFileToUtf8("café", 1), "café");
  EXPECT_EQ(LanguageFileToUtf8("caf\xE9", 1), "café");
  EXPECT_EQ(LanguageFileToUtf8("\xD6\xD0", 2), "中");
}

TEST(LanguageTable, StartupChoiceIsChineseOnlyInFactoryModeOnAChineseSystem) {
  struct Case {
    int lcid;
    bool factory;
    int index;
  } cases[] = {{0x0804, true, 2}, {0x0804, false, 1}, {0x0409, true, 1}, {0x0404, true, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(ChooseLanguageIndex(c.lcid, c.factory), c.index) << c.lcid << " " << c.factory;
}

TEST(BuiltInTexts, BothLanguagesAreComplete) {
  for (int index : {1, 2}) {
    const BuiltInTexts& t = BuiltInTextsFor(index);
    for (std::string_view s : {t.ReadTitle,
                               t.WriteTitle,
                               t.ProgressLabel,
                               t.ReadConfirm,
                               t.WriteConfirm,
                               t.ModelWrong,
                               t.RadioKilled,
                               t.RadioStunned,
                               t.VersionWrong,
                               t.BandWrong,
                               t.AllDataCleared,
                               t.FileError,
                               t.FilePasswordError,
                               t.FilePasswordSetTitle,
                               t.FilePasswordTitle,
                               t.OverwriteConfirm,
                               t.SaveModifiedConfirm,
                               t.DataFileTitle,
                               t.FrequencyDataCleared,
                               t.WarningTitle,
                               t.CloseCaption,
                               t.HelpCaption})
      EXPECT_FALSE(s.empty()) << index;
  }
  EXPECT_EQ(BuiltInTextsFor(1).ReadConfirm, "Read data from radio.\r\nDo you wish continue?");
  EXPECT_EQ(BuiltInTextsFor(2).WriteConfirm, "向对讲机写入数据。\r\n是否继续？");
  EXPECT_EQ(BuiltInTextsFor(0).FileError, "file error.");
  EXPECT_EQ(TransferTitle(2, 1), "从对讲机读取数据");
  EXPECT_EQ(TransferTitle(1, 2), "Write data to radio");
  EXPECT_EQ(TransferTitle(1, 3), "");
}

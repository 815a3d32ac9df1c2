#include <gtest/gtest.h>

#include "core/app/FactoryMode.h"
#include "core/app/SetupFile.h"
#include "core/app/Startup.h"
#include "test_app_tempdir.h"

using namespace kvx;
using kvx::test::TempFolder;

TEST(SetupFile, ReadsAndWritesSectionLanguage) {
  TempFolder dir;
  AppState app;
  app.ProgramFolder = dir.Path();
  EXPECT_EQ(ReadSetupValue(app, "comPort"), "");  // no file yet

  dir.Write("language/mysetup.ini",
            "[Language]\r\nIsFirstRun = 1 \r\nSkin=blue\r\nLong=" + std::string(700, 'x') + "\r\n");
  EXPECT_EQ(ReadSetupValue(app, "isfirstrun"), "1");
  EXPECT_EQ(ReadSetupValue(app, "Long"), std::string(kSetupValueLimit, 'x'));
  EXPECT_EQ(ReadSetupValue(app, "comPort"), "");

  ASSERT_TRUE(WriteSetupValue(app, "comPort", "ttyUSB0"));
  ASSERT_TRUE(WriteSetupValue(app, "IsFirstRun", "0"));
  EXPECT_EQ(ReadSetupValue(app, "comPort"), "ttyUSB0");
  EXPECT_EQ(dir.Read("language/mysetup.ini"),
            "[Language]\r\nIsFirstRun =0\r\nSkin=blue\r\nLong=" + std::string(700, 'x') +
                "\r\ncomPort=ttyUSB0\r\n");
}

TEST(SetupFile, ValuesOfNumericKeys) {
  struct PortCase {
    std::string value, port;
  } ports[] = {
      {"", ""},
      {"0", ""},
      {" 3 ", "ttyS2"},
      {"1", "ttyS0"},
      {"-2", ""},
      {"ttyUSB0", "ttyUSB0"},
      {"/dev/pts/7", "/dev/pts/7"},
      {"999", ""},
  };
  for (const auto& c : ports) EXPECT_EQ(PortOfSetupValue(c.value), c.port) << c.value;

  struct NumberCase {
    std::string value;
    int number;
  } numbers[] = {{"", 0}, {"12", 12}, {" -3 ", -3}, {"x", 0}, {"1.5", 0}, {"40000", 0}};
  for (const auto& c : numbers) EXPECT_EQ(SetupNumber(c.value), c.number) << c.value;
}

TEST(FeatureFlagFile, EightLittleEndianNumbers) {
  TempFolder dir;
  AppState app;
  app.ProgramFolder = dir.Path();
  FeatureFlags flags{1, 2, 3, 4};
  EXPECT_FALSE(ReadFeatureFlags(app, flags));  // missing
  EXPECT_EQ(flags, FeatureFlags{});

  dir.Write("Setting.ini", std::string("\x01\x00\x00\x01\xFF\xFF\x05\x00trailing", 16));
  ASSERT_TRUE(ReadFeatureFlags(app, flags));
  EXPECT_EQ(flags, (FeatureFlags{1, 256, -1, 5}));

  dir.Write("Setting.ini", std::string("\x01\x00\x02", 3));  // short: all zeros
  EXPECT_FALSE(ReadFeatureFlags(app, flags));
  EXPECT_EQ(flags, FeatureFlags{});

  app.Features = {7, 0, -2, 1};
  ASSERT_TRUE(SaveFeatureFlags(app));
  EXPECT_EQ(dir.Read("Setting.ini"), std::string("\x07\x00\x00\x00\xFE\xFF\x01\x00", 8));
}

TEST(FactoryMode, MarkerFileCases) {
  const std::string marker(kFactoryMarker);
  struct Case {
    const char* what;
    std::optional<std::string> content;
    bool on;
  } cases[] = {
      {"exact", marker, true},
      {"followed by spaces", marker + "      ", true},
      {"followed by a NUL and other bytes", marker + std::string("\0junk  ", 7), true},
      {"NUL after the first 128 bytes", marker + std::string(96, ' ') + std::string("\0x", 2),
       true},
      {"other bytes within 128", marker + std::string(90, ' ') + "x", false},
      {"leading space", " " + marker, false},
      {"line break", marker + "\r\n", false},
      {"lower case", "pa" + marker.substr(2), false},
      {"empty", std::string(), false},
      {"missing", std::nullopt, false},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    if (c.content) dir.Write("TestData.ini", *c.content);
    EXPECT_EQ(DecideFactoryMode(dir.Path()), c.on) << c.what;
  }
}

TEST(StartupSteps, PortCheckAgainstTheListedPorts) {
  const std::vector<PortInfo> listed = {{"ttyUSB0", "USB serial"}, {"ttyS0", ""}};
  auto exists = [](const std::string& path) { return path == "/dev/pts/3"; };
  struct Case {
    std::string stored;
    std::vector<PortInfo> listed;
    std::string kept;
  } cases[] = {
      {"ttyS0", listed, "ttyS0"},
      {"ttyUSB7", listed, "ttyUSB0"},        // gone: the first listed port
      {"", listed, "ttyUSB0"},               // none stored
      {"/dev/pts/3", listed, "/dev/pts/3"},  // an existing device path stays
      {"/dev/pts/9", listed, "ttyUSB0"},
      {"ttyUSB7", {}, ""},  // nothing listed: no port
      {"/dev/pts/3", {}, "/dev/pts/3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckStoredPort(c.stored, c.listed, exists), c.kept) << c.stored;
}

TEST(StartupSteps, SystemLocaleCountsAsChineseOnlyForZhCn) {
  struct Case {
    std::map<std::string, std::string, std::less<>> vars;
    int lcid;
  } cases[] = {
      {{{"LANG", "zh_CN.UTF-8"}}, 0x0804},
      {{{"LANG", "zh_CN"}}, 0x0804},
      {{{"LANG", "zh_TW.UTF-8"}}, 0x0409},
      {{{"LANG", "de_DE.UTF-8"}}, 0x0409},
      {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "zh_CN.UTF-8"}}, 0x0409},  // the first set decides
      {{{"LC_MESSAGES", "zh_CN.GB2312"}, {"LANG", "C"}}, 0x0804},
      {{{"LC_ALL", ""}, {"LANG", "zh_CN.UTF-8"}}, 0x0804},  // empty counts as unset
      {{}, 0x0409},
  };
  for (const auto& c : cases) {
    Environment env;
    env.vars = c.vars;
    EXPECT_EQ(SystemDefaultLcid(env), c.lcid) << (c.vars.empty() ? "" : c.vars.begin()->second);
  }
}

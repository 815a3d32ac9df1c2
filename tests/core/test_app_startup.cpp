#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "core/app/BandTable.h"
#include "core/app/FactoryMode.h"
#include "core/app/SetupFile.h"
#include "core/app/Startup.h"
#include "core/files/Workspace.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Text.h"
#include "support/ScriptedPrompts.h"
#include "test_app_tempdir.h"

using namespace kvx;
using kvx::test::TempFolder;

namespace {

class ListedPorts : public PortEnumerator {
 public:
  explicit ListedPorts(std::vector<PortInfo> ports) : ports_(std::move(ports)) {}
  std::vector<PortInfo> List() override { return ports_; }

 private:
  std::vector<PortInfo> ports_;
};

// A program folder holding the shipped language files and the given setup file.
void MakeProgramFolder(const TempFolder& dir, const std::string& setup) {
  const std::string lang = std::string(KVX50_SOURCE_DIR) + "/data/language/";
  for (const char* f : {"english.ini", "chinese.ini"})
    dir.Write(std::string("language/") + f, ReadFileText(lang + f).value());
  dir.Write("language/mysetup.ini", setup);
}

struct Run {
  Workspace ws;
  StartupResult result;
  test::ScriptedPrompts prompts;
};

std::unique_ptr<Run> Start(const TempFolder& dir, std::vector<PortInfo> ports,
                           const std::string& lang = "en_US.UTF-8") {
  auto run = std::make_unique<Run>();
  ListedPorts enumerator(std::move(ports));
  StartupOptions options;
  options.programFolder = dir.Path();
  Environment env;
  env.vars = {{"LANG", lang}};
  options.localeEnv = &env;
  options.deviceExists = [](const std::string&) { return false; };
  run->result = Startup(run->ws, options, run->prompts, enumerator);
  return run;
}

}  // namespace

TEST(Startup, FirstAndSecondStart) {
  TempFolder dir;
  MakeProgramFolder(dir,
                    "[language]\r\nIsFirstRun=1\r\nSkin=blue\r\ncomPort=3\r\nHandshaking=1\r\n"
                    "StopBit=2\r\nFactoryFres=x\r\nProgramPassWord= 1234 \r\n");
  auto run = Start(dir, {{"ttyUSB0", "USB"}, {"ttyS0", ""}});
  ASSERT_TRUE(run->result.ok) << run->result.error;
  const AppState& app = run->ws.app;
  EXPECT_EQ(app.ProgramFolder, dir.Path());
  EXPECT_FALSE(app.FactoryMode);
  EXPECT_EQ(app.LanguageIndex, 1);
  EXPECT_EQ(run->ws.lang.FilePath(), dir / "language/english.ini");
  EXPECT_EQ(run->ws.lang.GetLangText(101), "OK");
  EXPECT_EQ(app.SavedDecimalSeparator, '.');
  EXPECT_FALSE(app.IsWindowsNt60);

  // Defaults of type and band.
  EXPECT_EQ(app.RadioType, "KP-510");
  EXPECT_EQ(app.RadioVersion, "V100");
  EXPECT_EQ(app.BandCode, 3);
  EXPECT_EQ(app.BandText, "Rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)");
  EXPECT_DOUBLE_EQ(app.RxLow, 136);
  EXPECT_DOUBLE_EQ(app.TxHigh, 174);

  // Setup keys; the old port number 3 (ttyS2) is not listed, so the first port replaces it.
  EXPECT_TRUE(app.IsFirstRun);
  EXPECT_EQ(app.Handshaking, 1);
  EXPECT_EQ(app.StopBit, 2);
  EXPECT_EQ(app.FactoryFres, 0);
  EXPECT_EQ(app.ComPort, "ttyUSB0");
  EXPECT_EQ(app.ProgramPassWord, "1234");
  EXPECT_EQ(dir.Read("language/mysetup.ini"),
            "[language]\r\nIsFirstRun=0\r\nSkin=blue\r\ncomPort=ttyUSB0\r\nHandshaking=1\r\n"
            "StopBit=2\r\nFactoryFres=x\r\nProgramPassWord= 1234 \r\n");

  // A missing Setting.ini reads as zeros and is written as 8 bytes.
  EXPECT_FALSE(run->result.featureFlagsRead);
  EXPECT_EQ(app.Features, FeatureFlags{});
  EXPECT_EQ(dir.Read("Setting.ini"), std::string(8, '\0'));

  // The working data are those of New, and nothing was shown.
  EXPECT_EQ(run->ws.CurrentFileName, "new.dat");
  EXPECT_TRUE(run->ws.Untitled);
  EXPECT_FALSE(IsModified(run->ws));
  EXPECT_TRUE(run->prompts.shown.empty());

  // The second start reads IsFirstRun as false and keeps the now listed port.
  dir.Write("Setting.ini", std::string("\x01\x00\x00\x00\x02\x00\x00\x00", 8));
  auto second = Start(dir, {{"ttyS0", ""}, {"ttyUSB0", "USB"}});
  ASSERT_TRUE(second->result.ok);
  EXPECT_FALSE(second->ws.app.IsFirstRun);
  EXPECT_EQ(second->ws.app.ComPort, "ttyUSB0");
  EXPECT_TRUE(second->result.featureFlagsRead);
  EXPECT_EQ(second->ws.app.Features, (FeatureFlags{1, 0, 2, 0}));
  EXPECT_EQ(ReadSetupValue(second->ws.app, "IsFirstRun"), "0");
}

TEST(Startup, LanguageFollowsLocaleOnlyInFactoryMode) {
  struct Case {
    bool factory;
    std::string lang;
    int index;
  } cases[] = {{true, "zh_CN.UTF-8", 2},
               {false, "zh_CN.UTF-8", 1},
               {true, "de_DE.UTF-8", 1},
               {false, "en_US.UTF-8", 1}};
  for (const auto& c : cases) {
    TempFolder dir;
    MakeProgramFolder(dir, "[language]\n");
    if (c.factory) dir.Write("TestData.ini", std::string(kFactoryMarker));
    auto run = Start(dir, {}, c.lang);
    ASSERT_TRUE(run->result.ok);
    EXPECT_EQ(run->ws.app.FactoryMode, c.factory);
    EXPECT_EQ(run->ws.app.LanguageIndex, c.index) << c.lang << " " << c.factory;
    EXPECT_EQ(run->ws.lang.LanguageIndex(), c.index);
    EXPECT_EQ(run->ws.lang.BuiltIn().FileError, c.index == 2 ? "文件错误。" : "file error.");
    // No port listed and none stored: none, written back as such.
    EXPECT_EQ(run->ws.app.ComPort, "");
    EXPECT_EQ(ReadSetupValue(run->ws.app, "comPort"), "");
  }
}

TEST(Startup, EmptyProgramFolderAndUnusableFolder) {
  TempFolder dir;  // no language/, no setup file
  auto run = Start(dir, {{"ttyACM0", ""}});
  ASSERT_TRUE(run->result.ok);
  EXPECT_FALSE(run->ws.app.IsFirstRun);
  EXPECT_EQ(run->ws.app.ComPort, "ttyACM0");
  EXPECT_EQ(run->ws.lang.GetLangText(101), "");  // no file: empty texts, no message
  EXPECT_TRUE(run->prompts.shown.empty());

  Workspace ws;
  test::ScriptedPrompts prompts;
  ListedPorts none({});
  StartupOptions options;
  options.folder.home = dir / "Setting.ini/below-a-file";
  auto result = Startup(ws, options, prompts, none);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
}

TEST(Startup, NumbersIgnoreACommaLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (make deps generates it)";
  // The C library itself now writes and reads a comma.
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  EXPECT_STREQ(buf, "1,5");

  EXPECT_EQ(FormatFixed(145.00625, 5), "145.00625");
  EXPECT_DOUBLE_EQ(LeadingNumber("145.99750 MHz"), 145.9975);
  const BandLimits l = ParseBandLimits(BandTextOfCode(2));
  EXPECT_DOUBLE_EQ(l.TxHigh, 145.9975);

  TempFolder dir;
  MakeProgramFolder(dir, "[language]\nIsFirstRun=0\n");
  auto run = Start(dir, {}, "de_DE.UTF-8");
  EXPECT_DOUBLE_EQ(run->ws.app.RxHigh, 174);
  EXPECT_EQ(run->ws.lang.GetLangText(1780), "\xC2\xA0ms");
  std::setlocale(LC_ALL, saved.c_str());
}

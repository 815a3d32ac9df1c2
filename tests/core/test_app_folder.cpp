#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/ProgramFolder.h"
#include "test_app_tempdir.h"

using namespace kvx;
using kvx::test::TempFolder;
namespace fs = std::filesystem;

namespace {

// An installed copy's share/kvx50 and an executable in a folder without language/.
struct Installation {
  TempFolder root;
  std::string share = root / "share/kvx50";
  std::string exe = root / "bin/kvx50";
  Installation() {
    root.Write("share/kvx50/language/english.ini", "[OTHER]\n101=OK\n");
    root.Write("share/kvx50/language/mysetup.ini", "[language]\nIsFirstRun=1\n");
    root.Write("share/kvx50/Init/KP-510_3.dat", "data");
    root.Write("bin/kvx50", "");
  }
  ProgramFolderRequest Request() const {
    ProgramFolderRequest r;
    r.executablePath = exe;
    r.installedData = share;
    r.env.vars.clear();  // not this process's HOME
    return r;
  }
};

}  // namespace

TEST(ProgramFolder, HomeOptionThenVariableThenExecutableThenUserFolder) {
  Installation inst;
  TempFolder dir;

  auto r = inst.Request();
  r.home = dir / "opt";
  r.env.vars = {{"KVX50_HOME", dir / "var"}, {"HOME", dir / "home"}};
  auto c = ResolveProgramFolder(r);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.folder, dir / "opt");
  EXPECT_EQ(c.source, ProgramFolderSource::HomeOption);

  r.home.clear();
  c = ResolveProgramFolder(r);
  EXPECT_EQ(c.folder, dir / "var");
  EXPECT_EQ(c.source, ProgramFolderSource::HomeVariable);

  // The executable's folder counts only when it holds language/; nothing is copied there.
  r.env.vars.erase("KVX50_HOME");
  inst.root.Write("portable/language/english.ini", "[OTHER]\n");
  r.executablePath = inst.root / "portable/kvx50";
  c = ResolveProgramFolder(r);
  EXPECT_EQ(c.folder, inst.root / "portable");
  EXPECT_EQ(c.source, ProgramFolderSource::ExecutableFolder);
  EXPECT_FALSE(c.seeded);

  r.executablePath = inst.exe;
  c = ResolveProgramFolder(r);
  EXPECT_EQ(c.folder, dir / "home/.local/share/kvx50");
  EXPECT_EQ(c.source, ProgramFolderSource::UserFolder);

  r.env.vars["XDG_DATA_HOME"] = dir / "xdg";
  EXPECT_EQ(ResolveProgramFolder(r).folder, dir / "xdg/kvx50");
  r.env.vars["XDG_DATA_HOME"] = "relative/path";  // not absolute: ignored
  EXPECT_EQ(ResolveProgramFolder(r).folder, dir / "home/.local/share/kvx50");
}

TEST(ProgramFolder, FirstStartCopiesTheShippedDefaultsWithoutOverwriting) {
  Installation inst;
  TempFolder dir;
  auto r = inst.Request();
  r.env.vars = {{"XDG_DATA_HOME", dir / "xdg"}};
  auto c = ResolveProgramFolder(r);
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_TRUE(c.seeded);
  EXPECT_EQ(dir.Read("xdg/kvx50/language/english.ini"), "[OTHER]\n101=OK\n");
  EXPECT_EQ(dir.Read("xdg/kvx50/Init/KP-510_3.dat"), "data");

  // Later starts leave the user's files alone.
  dir.Write("xdg/kvx50/language/mysetup.ini", "[language]\nIsFirstRun=0\n");
  c = ResolveProgramFolder(r);
  EXPECT_FALSE(c.seeded);
  EXPECT_EQ(dir.Read("xdg/kvx50/language/mysetup.ini"), "[language]\nIsFirstRun=0\n");

  // A --home folder that lacks language/ gets the defaults too, beside what it holds.
  dir.Write("home/language.txt", "mine");
  r.home = dir / "home";
  c = ResolveProgramFolder(r);
  EXPECT_TRUE(c.seeded);
  EXPECT_EQ(dir.Read("home/language/mysetup.ini"), "[language]\nIsFirstRun=1\n");
  EXPECT_EQ(dir.Read("home/language.txt"), "mine");
}

TEST(ProgramFolder, FailuresNameTheFolder) {
  Installation inst;
  TempFolder dir;
  auto r = inst.Request();
  auto c = ResolveProgramFolder(r);  // no variables at all
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.error.find("HOME"), std::string::npos);

  dir.Write("file", "in the way");
  r.home = dir / "file/sub";
  c = ResolveProgramFolder(r);
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.error.find(dir / "file/sub"), std::string::npos) << c.error;
}

TEST(ProgramFolder, TakeHomeOption) {
  struct Case {
    std::vector<std::string> args, rest;
    std::string home;
  } cases[] = {
      {{"p", "--home", "/x", "read"}, {"p", "read"}, "/x"},
      {{"p", "read", "--home=/y"}, {"p", "read"}, "/y"},
      {{"p", "--home"}, {"p", "--home"}, ""},  // no value: left for the program to refuse
      {{"p", "--", "--home", "/z"}, {"p", "--", "--home", "/z"}, ""},
      {{"p"}, {"p"}, ""},
  };
  for (auto& c : cases) {
    std::vector<char*> argv;
    for (auto& a : c.args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(c.args.size());
    EXPECT_EQ(TakeHomeOption(argc, argv.data()), c.home);
    std::vector<std::string> rest(argv.begin(), argv.begin() + argc);
    EXPECT_EQ(rest, c.rest);
    EXPECT_EQ(argv[argc], nullptr);
  }
}

TEST(ProgramFolder, PathsInTheFolder) {
  EXPECT_EQ(SetupFilePath("/p"), "/p/language/mysetup.ini");
  EXPECT_EQ(LanguageFilePath("/p/", 2), "/p/language/chinese.ini");
  EXPECT_EQ(LanguageFilePath("/p", 1), "/p/language/english.ini");
  EXPECT_EQ(FeatureFlagFilePath("/p"), "/p/Setting.ini");
  EXPECT_EQ(FactoryMarkerPath("/p"), "/p/TestData.ini");
  EXPECT_EQ(InitFolderPath("/p"), "/p/Init");
}

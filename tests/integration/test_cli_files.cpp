// The file verbs of kvx50-cli (new, dump, encode, decode), run as the built program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "SimProcess.h"
#include "core/files/DataFile.h"
#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"

namespace kvx {
namespace {

struct CliRun {
  int exit = -1;
  std::string out, err;
};

class CliFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvx50-cli-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    home_ = dir_ + "/home";
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs kvx50-cli with `args` and --home the test's own program folder.
  CliRun Cli(std::vector<std::string> args, bool withHome = true) {
    std::vector<std::string> all = {std::string(KVX50_BIN_DIR) + "/kvx50-cli"};
    if (withHome) all.insert(all.end(), {"--home", home_});
    all.insert(all.end(), args.begin(), args.end());
    const test::ProcessResult p = test::RunProgram(all);
    return {p.exitCode, p.out, p.err};
  }

  // A data file written through the core, for the cases the verbs cannot make themselves.
  void SaveWorkspace(Workspace& ws, const std::string& path, const std::string& password = "") {
    test::ScriptedPrompts p;
    p.saveNames.push_back(path);
    p.filePasswords.push_back(password);
    ASSERT_TRUE(SaveAs(ws, p));
  }
  Workspace Fresh() {
    Workspace ws;
    ws.app.ProgramFolder = KVX50_BIN_DIR;
    ResetWorkingData(ws);
    return ws;
  }

  std::string dir_, home_;
};

// The value of "key": N (the first one) in a JSON text.
long JsonNumber(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return -1;
  return std::stol(json.substr(at + key.size() + 4));
}

// Channel numbers and receive frequencies listed by a dump.
std::set<std::pair<int, std::string>> Channels(const std::string& json) {
  std::set<std::pair<int, std::string>> out;
  const auto end = json.find("\"DtmfSettings\"");
  for (size_t at = json.find("\"Number\": "); at < end; at = json.find("\"Number\": ", at + 1)) {
    const int number = std::stoi(json.substr(at + 10));
    const auto rx = json.find("\"RxFreq\": \"", at) + 11;
    out.insert({number, json.substr(rx, 9)});
  }
  return out;
}

TEST_F(CliFiles, NewDumpEncodeDecodeRoundTrip) {
  CliRun r = Cli({"new", "--band", "48", "-o", Path("a.dat")});
  ASSERT_EQ(r.exit, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(std::filesystem::file_size(Path("a.dat")), kMainFileSize);
  EXPECT_TRUE(std::filesystem::exists(Path("a.fre")));

  CliRun dump = Cli({"dump", Path("a.dat")});
  ASSERT_EQ(dump.exit, 0) << dump.err;
  for (const char* key : {"\"ChannelList\": [", "\"DtmfSettings\": {", "\"TwoToneSettings\": {",
                          "\"FiveToneSettings\": {", "\"OptionSettings\": {", "\"ScanSettings\": {",
                          "\"AlertSettings\": {", "\"BookEntries\": [", "\"FmList\": [",
                          "\"AmList\": [", "\"BleOptions\": [", "\"PowerOnMessage\": \"Welcome\""})
    EXPECT_NE(dump.out.find(key), std::string::npos) << key;
  EXPECT_EQ(JsonNumber(dump.out, "BandCode"), 48);
  const auto channels = Channels(dump.out);
  EXPECT_EQ(static_cast<long>(channels.size()), JsonNumber(dump.out, "ChannelCount"));
  EXPECT_GT(channels.size(), 2u);
  for (const auto& [number, rx] : channels) {
    EXPECT_GE(rx, "040000000") << number;  // inside 400-470 MHz
    EXPECT_LE(rx, "046999500") << number;
  }

  r = Cli({"encode", Path("a.dat"), "-o", Path("a.bin")});
  ASSERT_EQ(r.exit, 0) << r.err;
  const std::string image = ReadFileBytes(Path("a.bin")).value_or("");
  ASSERT_EQ(image.size(), kImageSize);
  EXPECT_EQ(image.substr(0, 16), std::string(16, '\0'));
  EXPECT_EQ(static_cast<uint8_t>(image[0x0100]), 0x00);  // channels 1-16 present, 17 on not
  EXPECT_EQ(static_cast<uint8_t>(image[0x0102]), 0xFF);

  r = Cli({"decode", Path("a.bin"), "--band", "48", "-o", Path("b.dat")});
  ASSERT_EQ(r.exit, 0) << r.err;
  CliRun back = Cli({"dump", Path("b.dat")});
  ASSERT_EQ(back.exit, 0) << back.err;
  EXPECT_EQ(Channels(back.out), channels);
  EXPECT_EQ(JsonNumber(back.out, "BandCode"), 48);

  // Encoding the decoded file gives the same image.
  r = Cli({"encode", Path("b.dat"), "-o", Path("b.bin")});
  ASSERT_EQ(r.exit, 0) << r.err;
  EXPECT_EQ(ReadFileBytes(Path("b.bin")), image);
}

TEST_F(CliFiles, DecodeStartsFromTheBaseAndAdoptsTypeAndBand) {
  Workspace ws = Fresh();
  ws.settings.Dtmf.Ani = 1;  // carried by the data file only, never by the image
  ws.settings.Options.Option4 = 7;
  SaveWorkspace(ws, Path("base.dat"), "BASE1");
  ASSERT_EQ(Cli({"new", "--band", "3", "-o", Path("n.dat")}).exit, 0);
  ASSERT_EQ(Cli({"encode", Path("n.dat"), "-o", Path("n.bin")}).exit, 0);

  CliRun r = Cli({"decode", Path("n.bin"), "--band", "5", "--type", "KP-510", "--base",
                  Path("base.dat"), "--file-password", "BASE1", "-o", Path("d.dat")});
  ASSERT_EQ(r.exit, 0) << r.err;
  CliRun dump = Cli({"dump", Path("d.dat")});  // saved with an empty password
  ASSERT_EQ(dump.exit, 0) << dump.err;
  EXPECT_EQ(JsonNumber(dump.out, "BandCode"), 5);
  EXPECT_EQ(JsonNumber(dump.out, "Ani"), 1);
  EXPECT_EQ(JsonNumber(dump.out, "Option4"), 7);

  // Without the base the start-up data are used.
  r = Cli({"decode", Path("n.bin"), "--band", "5", "-o", Path("e.dat")});
  ASSERT_EQ(r.exit, 0) << r.err;
  dump = Cli({"dump", Path("e.dat")});
  EXPECT_EQ(JsonNumber(dump.out, "Ani"), 0);
}

TEST_F(CliFiles, ProtectedFileNeedsItsPassword) {
  Workspace ws = Fresh();
  SaveWorkspace(ws, Path("p.dat"), "SECRET7");
  for (const auto& [args, exit] : std::vector<std::pair<std::vector<std::string>, int>>{
           {{"dump", Path("p.dat")}, 1},
           {{"dump", Path("p.dat"), "--file-password", "WRONG"}, 1},
           {{"dump", Path("p.dat"), "--file-password", "SECRET7"}, 0},
           {{"encode", Path("p.dat"), "-o", Path("p.bin")}, 1},
       }) {
    CliRun r = Cli(args);
    EXPECT_EQ(r.exit, exit) << args.size() << " " << r.err;
    if (exit == 1) {
      EXPECT_NE(r.err.find("p.dat"), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("--file-password"), std::string::npos) << r.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(Path("p.bin")));
}

TEST_F(CliFiles, FailingEncoderPrintsItsMessageAndWritesNoImage) {
  Workspace ws = Fresh();
  ws.settings.Options.Option0 = 300;  // does not fit its byte
  SaveWorkspace(ws, Path("bad.dat"));
  CliRun r = Cli({"encode", Path("bad.dat"), "-o", Path("bad.bin")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_NE(r.err.find("SetCommDataByOptionError"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(Path("bad.bin")));
}

TEST_F(CliFiles, FailuresNameTheFile) {
  std::ofstream(Path("short.bin"), std::ios::binary) << std::string(16000, '\0');
  std::ofstream(Path("junk.dat"), std::ios::binary) << "not a data file";
  const struct {
    std::vector<std::string> args;
    const char* named;
  } cases[] = {
      {{"dump", Path("missing.dat")}, "missing.dat: file error."},
      {{"dump", Path("junk.dat")}, "junk.dat: file error."},
      {{"decode", Path("short.bin"), "--band", "3", "-o", Path("x.dat")},
       "short.bin: not a radio image (16000 bytes, 16384 expected)"},
      {{"new", "--band", "3", "-o", Path("no-such-folder/x.dat")}, "x.dat: file error."},
  };
  for (const auto& c : cases) {
    CliRun r = Cli(c.args);
    EXPECT_EQ(r.exit, 1) << c.named;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.dat")));
}

TEST_F(CliFiles, UsageErrorsAndHelp) {
  const std::vector<std::vector<std::string>> usage = {
      {"new", "-o", Path("a.dat")},                    // no band
      {"new", "--band", "99", "-o", Path("a.dat")},    // not a band code
      {"new", "--band", "3"},                          // no output
      {"dump"},                                        // no file
      {"dump", Path("a.dat"), "--bogus", "1"},         // unknown option
      {"encode", Path("a.dat")},                       // no output
      {"decode", Path("a.bin"), "-o", Path("a.dat")},  // no band
      {"decode", Path("a.bin"), "--band"},             // option without value
  };
  for (const auto& args : usage) {
    CliRun r = Cli(args);
    EXPECT_EQ(r.exit, 2) << args[0] << " " << r.err;
    EXPECT_NE(r.err.find("Usage: kvx50-cli " + args[0]), std::string::npos);
  }
  for (const char* verb : {"new", "dump", "encode", "decode"}) {
    CliRun r = Cli({verb, "--help"}, false);
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage: kvx50-cli ") + verb, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("--home DIR"), std::string::npos) << verb;
  }
}

}  // namespace
}  // namespace kvx

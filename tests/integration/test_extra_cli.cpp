// kvx50-cli csv-export, csv-import, diff and verify run as the built program, the backups a
// read and a write keep against kvx50-radiosim, and an installation into a scratch prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "SimProcess.h"
#include "core/files/Backups.h"
#include "core/image/Channels.h"
#include "core/image/RadioImage.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::BinPath;
using test::ProcessResult;
using test::RunProgram;

// A program on PATH, or empty.
std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = dir + "/" + name;
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// Three channels as another programmer writes them.
constexpr const char* kGenericCsv =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,"
    "TStep,Skip,Power,Comment\n"
    "1,Rpt,145.700000,-,0.600000,Tone,88.5,88.5,023,NN,FM,12.50,,High,\n"
    "2,Tsql,146.520000,,0.000000,TSQL,88.5,100.0,023,NN,NFM,5.00,S,High,\n"
    "3,Dcs,147.000000,+,0.600000,DTCS,88.5,88.5,754,NR,FM,25.00,,Low,\n";

class ExtraCli : public ::testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {BinPath("kvx50-cli"), "--home", home_.Path()});
    return RunProgram(args);
  }
  std::string Path(std::string_view name) const { return dir_ / name; }
  // A data file of band 3 with CALL and VFO only: the default data of the band without their
  // memory channels (an import with --replace of a file that gives none).
  void MakeEmptyFile(const std::string& path) {
    ASSERT_EQ(Cli({"new", "--band", "3", "-o", Path("new.dat")}).exitCode, 0);
    test::WriteFileBytes(Path("none.csv"), {'L', 'o', 'c', 'a', 't', 'i', 'o', 'n', ',', 'F', 'r',
                                            'e', 'q', 'u', 'e', 'n', 'c', 'y', '\n'});
    const ProcessResult r =
        Cli({"csv-import", Path("new.dat"), Path("none.csv"), "--replace", "-o", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  // The same with the three generic channels.
  void MakeDataFile(const std::string& path) {
    MakeEmptyFile(Path("empty.dat"));
    test::WriteFileBytes(Path("generic.csv"),
                         std::vector<uint8_t>(kGenericCsv, kGenericCsv + strlen(kGenericCsv)));
    const ProcessResult r = Cli({"csv-import", Path("empty.dat"), Path("generic.csv"), "-o", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  std::string Backups() const { return BackupFolderPath(home_.Path()); }

  test::TempHome home_;
  test::TempDir dir_;
};

TEST_F(ExtraCli, CsvRoundTripAndDiff) {
  MakeDataFile(Path("b.dat"));
  ProcessResult r = Cli({"csv-export", Path("b.dat"), "-o", Path("b.csv")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Cli({"csv-import", Path("empty.dat"), Path("b.csv"), "-o", Path("c.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  r = Cli({"diff", Path("b.dat"), Path("c.dat")});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");

  r = Cli({"diff", Path("empty.dat"), Path("b.dat")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(Lines(r.out),
            (std::vector<std::string>{"Channel 1: absent | present", "Channel 2: absent | present",
                                      "Channel 3: absent | present"}));
  EXPECT_EQ(Cli({"diff", "-q", Path("empty.dat"), Path("b.dat")}).out, "");

  // One channel changed through the CSV: exactly its field.
  std::string csv = test::ReadFileText(Path("b.csv"));
  const auto at = csv.find(",Low,");
  ASSERT_NE(at, std::string::npos);
  csv.replace(at, 5, ",High,");
  test::WriteFileBytes(Path("d.csv"), std::vector<uint8_t>(csv.begin(), csv.end()));
  ASSERT_EQ(Cli({"csv-import", Path("b.dat"), Path("d.csv"), "-o", Path("d.dat")}).exitCode, 0);
  r = Cli({"diff", Path("b.dat"), Path("d.dat")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "Channel 3 Power: 2 | 0\n");

  r = Cli({"diff", Path("b.dat"), Path("missing.dat")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("missing.dat"), std::string::npos);
}

TEST_F(ExtraCli, RefusedRowsAreReportedByLineAndNothingIsWrittenUnlessAsked) {
  MakeEmptyFile(Path("a.dat"));
  const std::string csv =
      "Location,Frequency\n"
      "1,145.0\n"
      "2,446.0\n"
      "3,145.0070\n";
  test::WriteFileBytes(Path("in.csv"), std::vector<uint8_t>(csv.begin(), csv.end()));
  ProcessResult r = Cli({"csv-import", Path("a.dat"), Path("in.csv"), "-o", Path("out.dat")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("line 3: refused: receive frequency 446.00000 is outside the band"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("line 4: corrected: receive frequency 145.00700 snapped to 145.00500"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(Path("out.dat")));

  r = Cli({"csv-import", Path("a.dat"), Path("in.csv"), "-o", Path("out.dat"), "--keep-going"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  r = Cli({"csv-export", Path("out.dat"), "-o", "-"});
  ASSERT_EQ(r.exitCode, 0);
  const auto rows = Lines(r.out);
  ASSERT_EQ(rows.size(), 5u);  // header, 1, 3, CALL, VFO
  EXPECT_TRUE(rows[1].starts_with("1,,145.000000,"));
  EXPECT_TRUE(rows[2].starts_with("3,,145.005000,"));
}

// A read keeps the image and the data; at the 51st backup the oldest goes.
TEST_F(ExtraCli, ReadAndWriteKeepBackupsAndTheNewestFiftyStay) {
  fs::create_directories(Backups());
  for (int i = 0; i < 50; ++i) {
    char stem[64];
    std::snprintf(stem, sizeof stem, "2000-01-01_0000%02d_KV-510_WQN7_read", i);
    for (const char* ext : {".img", ".dat", ".fre"})
      test::WriteFileBytes(Backups() + "/" + stem + ext, {1, 2, 3});
  }
  test::SimProcess sim({});
  ASSERT_TRUE(sim.Ok()) << sim.Stderr();
  ProcessResult r = Cli({"read", "--port", sim.Device(), "-o", Path("r.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  auto kept = ListBackups(Backups());
  ASSERT_EQ(kept.size(), 50u);
  EXPECT_EQ(kept.front(), "2000-01-01_000001_KV-510_WQN7_read");
  EXPECT_FALSE(fs::exists(Backups() + "/2000-01-01_000000_KV-510_WQN7_read.img"));
  const std::string newest = Backups() + "/" + kept.back();
  EXPECT_TRUE(kept.back().ends_with("_KV-510_WQN7_read")) << kept.back();

  // The image is the radio's memory as read: everything from 0x0010 on except the calibration
  // block, whose values go to the test data.
  sim.Stop();
  const auto memory = sim.SavedMemory();
  const auto image = test::ReadFileBytesOf(newest + ".img");
  ASSERT_EQ(image.size(), kImageSize);
  ASSERT_EQ(memory.size(), kImageSize);
  for (size_t a = 0x0010; a < kImageSize; ++a) {
    if (a >= 0x0160 && a < 0x0170) continue;
    ASSERT_EQ(image[a], memory[a]) << "address " << a;
  }
  // The data are those the read saved.
  r = Cli({"diff", Path("r.dat"), newest + ".dat"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;

  // A write keeps what it is about to send.
  test::SimProcess sim2({});
  ASSERT_TRUE(sim2.Ok());
  MakeDataFile(Path("w.dat"));
  r = Cli({"write", "--port", sim2.Device(), Path("w.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  kept = ListBackups(Backups());
  ASSERT_EQ(kept.size(), 50u);
  ASSERT_TRUE(kept.back().ends_with("_write")) << kept.back();
  r = Cli({"diff", Path("w.dat"), Backups() + "/" + kept.back() + ".dat"});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
}

TEST_F(ExtraCli, VerifyReportsExactlyTheFieldsChangedInTheRadio) {
  MakeDataFile(Path("v.dat"));
  std::vector<uint8_t> memory;
  {
    test::SimProcess sim({});
    ASSERT_TRUE(sim.Ok());
    ASSERT_EQ(Cli({"write", "--port", sim.Device(), Path("v.dat")}).exitCode, 0);
    const ProcessResult r = Cli({"verify", "--port", sim.Device(), Path("v.dat")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");
    sim.Stop();
    memory = sim.SavedMemory();
  }
  ASSERT_EQ(memory.size(), kImageSize);

  // Channel 2: power High -> Low (byte 10, bits 2-3). Channel 3: the name's first letter.
  // Channel 1: the first digit of its PTT-ID code. The scan type.
  const size_t ch2 = ChannelRecordAddress(2), ch3 = ChannelRecordAddress(3);
  memory[ch2 + 10] = static_cast<uint8_t>((memory[ch2 + 10] & ~0x0C) | (2 << 2));
  memory[ch3 + 19] = 'X';
  memory[ImageAddr::ChannelPttId + 0] = 0x0A;
  const int scanType = memory[ImageAddr::Scan + 7];
  memory[ImageAddr::Scan + 7] = static_cast<uint8_t>(scanType == 0 ? 1 : 0);

  test::SimProcess sim({}, memory);
  ASSERT_TRUE(sim.Ok());
  const ProcessResult r = Cli({"verify", "--port", sim.Device(), Path("v.dat")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "Channel 1 PttIdCode: \"00000\" | \"A0000\"",
                              "Channel 2 Power: 0 | 2",
                              "Channel 3 Name: \"Dcs\" | \"Xcs\"",
                              "ScanSettings ScanType: " + std::to_string(scanType) + " | " +
                                  std::to_string(scanType == 0 ? 1 : 0),
                          }));
  // Nothing was written to the radio by the verification.
  for (const auto& line : sim.JournalLines())
    EXPECT_EQ(line.find("frame=write"), std::string::npos) << line;

  // A radio that does not answer: exit 2, no differences claimed.
  test::SimProcess silent({"--silent"});
  ASSERT_TRUE(silent.Ok());
  const ProcessResult s = Cli({"verify", "--port", silent.Device(), Path("v.dat")});
  EXPECT_EQ(s.exitCode, 2);
  EXPECT_EQ(s.out, "");
}

// make demo's script without its window: the simulated radio holds the sample channels and
// the program folder of the demo is set to the radio's port.
TEST(ExtraDemo, TheDemoRadioHoldsTheSampleChannels) {
  test::TempDir scratch;
  const std::string build = fs::path(KVX50_BIN_DIR).parent_path().string();
  const ProcessResult r =
      RunProgram({"/usr/bin/env", "KVX50_DEMO_DIR=" + (scratch / "demo"), "KVX50_DEMO_BAUD=0",
                  "/bin/sh", std::string(KVX50_SOURCE_DIR) + "/tools/demo.sh", build, "--check"},
                 120000);
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
  const std::string setup = test::ReadFileText(scratch / "demo/home/language/mysetup.ini");
  EXPECT_NE(setup.find("comPort=" + (scratch / "demo/radio") + "\n"), std::string::npos) << setup;
  // The sample data were made from the CSV text: twelve channels besides CALL and VFO.
  const ProcessResult dump = RunProgram({BinPath("kvx50-cli"), "--home", scratch / "demo/home",
                                         "csv-export", scratch / "demo/sample.dat", "-o", "-"});
  ASSERT_EQ(dump.exitCode, 0);
  EXPECT_EQ(Lines(dump.out).size(), 1u + 12u + 2u);
  EXPECT_EQ(ListBackups(scratch / "demo/home/backups").size(), 2u);  // the write and the check
}

// `cmake --install` into a scratch prefix: the programs, the data, the desktop entry, the
// file type and the manual pages; the installed programs make the per-user folder at their
// first start and find the shipped data there.
TEST(ExtraInstall, AnInstalledCopyStartsAndFindsItsData) {
  const std::string cmake = FindInPath("cmake");
  if (cmake.empty()) GTEST_SKIP() << "no cmake to install with";
  test::TempDir scratch;
  const std::string prefix = scratch / "prefix";
  const std::string build = fs::path(KVX50_BIN_DIR).parent_path().string();
  ProcessResult r = RunProgram({cmake, "--install", build, "--prefix", prefix}, 300000);
  ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

  for (const char* file :
       {"bin/kvx50-cli", "bin/kvx50-radiosim", "share/kvx50/language/english.ini",
        "share/kvx50/language/chinese.ini", "share/kvx50/Init/KP-510_3.dat",
        "share/applications/kvx50.desktop", "share/icons/hicolor/scalable/apps/kvx50.svg",
        "share/mime/packages/kvx50.xml", "share/man/man1/kvx50-cli.1",
        "share/man/man1/kvx50-radiosim.1"})
    EXPECT_TRUE(fs::exists(prefix + "/" + file)) << file;
  const std::string desktop = test::ReadFileText(prefix + "/share/applications/kvx50.desktop");
  EXPECT_NE(desktop.find("\nExec=kvx50 %f\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nMimeType=application/x-kvx50-data;\n"), std::string::npos);
  const std::string man = test::ReadFileText(prefix + "/share/man/man1/kvx50-cli.1");
  EXPECT_TRUE(man.starts_with(".TH KVX50-CLI 1 "));
  EXPECT_NE(man.find(".SS verify\n"), std::string::npos);  // every verb's own help

  // First start with a fresh home: the per-user folder is made and seeded, and the default data
  // of the band are found there (the same file the build tree's copy makes).
  const std::string home = scratch / "home";
  fs::create_directories(home);
  auto asUser = [&](std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"/usr/bin/env", "-u", "KVX50_HOME", "-u", "XDG_DATA_HOME",
                               "HOME=" + home, "QT_QPA_PLATFORM=offscreen"});
    return argv;
  };
  r = RunProgram(
      asUser({prefix + "/bin/kvx50-cli", "new", "--band", "3", "-o", scratch / "i.dat"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string user = home + "/.local/share/kvx50";
  EXPECT_TRUE(fs::exists(user + "/language/english.ini"));
  EXPECT_TRUE(fs::exists(user + "/Init/KP-510_3.dat"));
  test::TempHome buildHome;
  r = RunProgram({BinPath("kvx50-cli"), "--home", buildHome.Path(), "new", "--band", "3", "-o",
                  scratch / "b.dat"});
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(test::ReadFileText(scratch / "i.dat"), test::ReadFileText(scratch / "b.dat"));
  EXPECT_EQ(test::ReadFileText(scratch / "i.fre"), test::ReadFileText(scratch / "b.fre"));

  // The window program, when built: it starts offscreen in another fresh home and keeps
  // running (a start-up failure would end it).
  if (fs::exists(prefix + "/bin/kvx50")) {
    const std::string home2 = scratch / "home2";
    fs::create_directories(home2);
    r = RunProgram({"/usr/bin/env", "-u", "KVX50_HOME", "-u", "XDG_DATA_HOME", "HOME=" + home2,
                    "QT_QPA_PLATFORM=offscreen", prefix + "/bin/kvx50"},
                   4000);
    EXPECT_TRUE(r.timedOut) << "exit " << r.exitCode << ": " << r.err;
    EXPECT_TRUE(fs::exists(home2 + "/.local/share/kvx50/language/english.ini"));
    EXPECT_TRUE(fs::exists(prefix + "/share/man/man1/kvx50.1"));
  }
}

}  // namespace
}  // namespace kvx

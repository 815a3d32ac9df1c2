// The transfer verbs of kvx50-cli against kvx50-radiosim over a real pseudo-terminal: full read
// and write compared with the simulator's memory, the password, the identification refusals,
// and every fault ending in recovery or in the failure message, never in a crash or a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "SimProcess.h"
#include "core/files/Workspace.h"
#include "core/lang/LanguageTable.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;
using namespace kvx::test;

namespace {

constexpr int kTimeoutMs = 90000;

std::string LangMessage(int id) {
  LanguageTable lang;
  lang.SetProgramFolder(KVX50_BIN_DIR);
  const std::string t = lang.GetLangText(id);
  return t.empty() ? "Message " + std::to_string(id) : t;
}

// A radio memory of pseudo-random bytes (so that any misplaced block shows), with an erased
// password field.
std::vector<uint8_t> RandomMemory(uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> m(16384);
  for (auto& b : m) b = static_cast<uint8_t>(rng());
  std::fill(m.begin() + 0x4C, m.begin() + 0x50, 0xFF);
  return m;
}

class LinkCli : public ::testing::Test {
 protected:
  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {BinPath("kvx50-cli"), "--home", home.Path()});
    ProcessResult r = RunProgram(args, kTimeoutMs);
    EXPECT_FALSE(r.timedOut) << "kvx50-cli hung: " << args[3];
    EXPECT_LT(r.exitCode, 2) << r.err;  // never a crash or a usage error
    return r;
  }

  // A data file of band 3 with a few channels, written by the core's own writer.
  std::string MakeDataFile() {
    Workspace ws;
    ws.app.ProgramFolder = home.Path();
    ws.lang.SetProgramFolder(home.Path());
    ResetWorkingData(ws);
    for (int n : {1, 7, 150}) {
      ChannelRecord c = DefaultChannel(n, ws.app);
      c.Name = "IT" + std::to_string(n);
      ws.channels.AppendChannel(c);
    }
    ws.CurrentFileName = dir / "base.dat";
    ScriptedPrompts prompts;
    prompts.filePasswords.push_back(std::string());
    EXPECT_TRUE(WriteDataFile(ws, prompts));
    return ws.CurrentFileName;
  }

  TempHome home;
  TempDir dir;
};

TEST_F(LinkCli, FullReadMatchesTheSimulatorMemory) {
  const auto memory = RandomMemory(11);
  SimProcess sim({"--w-headers"}, memory);
  ASSERT_TRUE(sim.Ok()) << sim.Stderr();
  const auto r = Cli({"read", "--port", sim.Device(), "-o", dir / "out.dat", "--image-out",
                      dir / "image.bin", "--log-serial", dir / "serial.log"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find(LangMessage(2004)), std::string::npos) << r.err;

  const auto image = ReadFileBytesOf(dir / "image.bin");
  ASSERT_EQ(image.size(), 16384u);
  for (size_t a = 0x0010; a < 0x4000; ++a) {
    if (a >= 0x0160 && a < 0x0170)
      ASSERT_EQ(image[a], 0xFF) << "calibration block";
    else
      ASSERT_EQ(image[a], memory[a]) << "address " << a;
  }
  EXPECT_FALSE(ReadFileText(dir / "out.dat").empty());
  EXPECT_TRUE(std::filesystem::exists(dir / "out.fre"));

  const auto lines = sim.JournalLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_NE(lines[0].find("frame=handshake"), std::string::npos);
  EXPECT_NE(lines[3].find("frame=read addr=0x0010"), std::string::npos);
  EXPECT_NE(lines.back().find("frame=end"), std::string::npos);

  const std::string log = ReadFileText(dir / "serial.log");
  EXPECT_NE(log.find("TX 50 52 4F 47 52 41 4D"), std::string::npos);
  EXPECT_NE(log.find("RX 50 52 4F 47 52 41 4D 56 4E 06"), std::string::npos);
}

TEST_F(LinkCli, WriteTouchesOnlyItsRangeWithTheRightHeaders) {
  const std::string data = MakeDataFile();
  const auto memory = RandomMemory(23);
  SimProcess sim({}, memory);
  ASSERT_TRUE(sim.Ok());
  const auto r = Cli({"write", "--port", sim.Device(), "--image-out", dir / "sent.bin", data});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find(LangMessage(2005)), std::string::npos) << r.err;

  const auto sent = ReadFileBytesOf(dir / "sent.bin");
  const auto after = sim.SavedMemory();
  ASSERT_EQ(sent.size(), 16384u);
  ASSERT_EQ(after.size(), 16384u);
  for (size_t a = 0; a < 0x4000; ++a) {
    const bool untouched = a < 0x0100 || (a >= 0x0160 && a < 0x0170);
    ASSERT_EQ(after[a], untouched ? memory[a] : sent[a]) << "address " << a;
  }

  int writes = 0;
  for (const auto& line : sim.JournalLines()) {
    if (line.find("frame=write") == std::string::npos) continue;
    ++writes;
    EXPECT_EQ(line.find("protected=1"), std::string::npos) << line;
    const unsigned a = std::stoul(line.substr(line.find("addr=") + 5, 6), nullptr, 16);
    const char header = line[line.find("header=") + 7];
    EXPECT_EQ(header, (a == 0x03F0 || a >= 0x3900) ? 'w' : 'W') << line;
  }
  EXPECT_EQ(writes, 1007);
}

TEST_F(LinkCli, ProgrammingPassword) {
  struct Case {
    const char* name;
    std::string radio;                    // the simulator's password
    std::optional<std::string> password;  // --password
    bool ok;
  };
  const Case cases[] = {
      {"none on either side", "", std::nullopt, true}, {"given and right", "1234", "1234", true},
      {"missing", "1234", std::nullopt, false},        {"12 is 12", "12", "12", true},
      {"12 is not 1200", "12", "1200", false},         {"case differs", "ab", "AB", false},
  };
  for (const Case& c : cases) {
    SimProcess sim({"--password", c.radio});
    ASSERT_TRUE(sim.Ok());
    std::vector<std::string> args = {"info", "--port", sim.Device()};
    if (c.password) args.insert(args.end(), {"--password", *c.password});
    const auto r = Cli(args);
    EXPECT_EQ(r.exitCode, c.ok ? 0 : 1) << c.name << "\n" << r.err;
    if (!c.ok) {
      EXPECT_NE(r.err.find("--password"), std::string::npos) << c.name;
      EXPECT_NE(r.err.find(LangMessage(2008)), std::string::npos) << c.name;
      // Nothing past the password block was read.
      EXPECT_EQ(sim.Journal().find("addr=0x0010"), std::string::npos) << c.name;
    }
  }
  // The password given for one run is not stored in the setup file.
  EXPECT_EQ(ReadFileText(home / "language/mysetup.ini").find("1234"), std::string::npos);
}

TEST_F(LinkCli, IdentificationRefusals) {
  const std::string data = MakeDataFile();
  const BuiltInTexts& t = BuiltInTextsFor(1);
  struct Case {
    const char* name;
    std::vector<std::string> sim;
    std::string verb;
    std::string message;  // empty: the link succeeds
  };
  const Case cases[] = {
      {"model", {"--model", "KP-500"}, "info", std::string(t.ModelWrong)},
      {"version", {"--version", "V200"}, "read", std::string(t.VersionWrong)},
      {"band", {"--band", "0x30"}, "write", std::string(t.BandWrong)},
      {"killed", {"--killed"}, "write", std::string(t.RadioKilled)},
      {"stunned", {"--stunned"}, "write", std::string(t.RadioStunned)},
      {"band 7 takes band 3 data", {"--band", "7"}, "write", ""},
      {"a killed radio is still read", {"--killed"}, "info", ""},
  };
  for (const Case& c : cases) {
    SimProcess sim(c.sim);
    ASSERT_TRUE(sim.Ok());
    std::vector<std::string> args = {c.verb, "--port", sim.Device()};
    if (c.verb == "write") args.push_back(data);
    if (c.verb == "read") args.insert(args.end(), {"-o", dir / "refused.dat"});
    const auto r = Cli(args);
    if (c.message.empty()) {
      EXPECT_EQ(r.exitCode, 0) << c.name << "\n" << r.err;
      continue;
    }
    EXPECT_EQ(r.exitCode, 1) << c.name;
    std::string oneLine = c.message;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    EXPECT_NE(r.err.find(oneLine), std::string::npos) << c.name << "\n" << r.err;
    const int failure = c.verb == "write" ? 2007 : c.verb == "read" ? 2006 : 2008;
    EXPECT_NE(r.err.find(LangMessage(failure)), std::string::npos) << c.name;
    EXPECT_EQ(sim.Journal().find("frame=write"), std::string::npos) << c.name;
    EXPECT_FALSE(std::filesystem::exists(dir / "refused.dat"));
  }
}

// Every fault ends in recovery within the tries, in the recovery question (answered by
// --retry), or in the failure message; never in a crash or a hang. A failed read writes
// nothing.
struct FaultCase {
  const char* name;
  std::vector<std::string> sim;
  std::string verb;
  int retry;
  int exitCode;
  bool asked;  // the recovery question came
};

// The case's name in test listings, in place of the bytes of the struct.
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

const FaultCase kFaultCases[] = {
    // clang-format off
    {"DroppedReplies", {"--drop", "0.01", "--fault-limit", "4", "--seed", "3"}, "read", 2, 0, false},
    {"CorruptChecksums", {"--corrupt", "0.01", "--fault-limit", "4", "--seed", "4"}, "read", 2, 0, false},
    {"SplitRepliesJoined", {"--split", "0.02", "--seed", "5"}, "read", 0, 0, false},
    {"SplitRepliesTooSlow", {"--split", "0.01", "--split-gap", "400", "--fault-limit", "3", "--seed", "6"}, "read", 2, 0, false},
    {"JunkBytes", {"--junk", "0.01", "--fault-limit", "4", "--seed", "7"}, "read", 2, 0, false},
    {"PasswordBlockCorruptRetryRecovers", {"--corrupt", "1", "--fault-limit", "3"}, "read", 1, 0, true},
    {"EveryBlockCorrupt", {"--corrupt", "1"}, "read", 0, 1, true},
    {"DroppedWriteAcknowledges", {"--drop", "0.01", "--fault-limit", "4", "--seed", "8"}, "write", 2, 0, false},
    {"RefusedWriteBlocks", {"--refuse", "0.02", "--seed", "9"}, "write", 0, 0, false},
    {"RadioThatAlwaysRefuses", {"--refuse", "1"}, "write", 0, 1, true},
    {"Silence", {"--silent"}, "read", 1, 1, true},
    {"SilenceInformationRead", {"--silent"}, "info", 3, 1, false},
    {"NoEcho", {"--no-echo"}, "write", 0, 1, true},
    {"CablePulledMidRead", {"--pull-after", "300"}, "read", 1, 1, true},
    {"CablePulledMidWrite", {"--pull-after", "300"}, "write", 1, 1, true},
    {"NoAnswerToTheFinalClosingFrame", {"--no-end-ack"}, "read", 0, 0, false},
    // clang-format on
};

class LinkCliFault : public LinkCli, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LinkCliFault, EndsInRecoveryOrTheFailureMessage) {
  const FaultCase& c = GetParam();
  const auto memory = RandomMemory(5);
  const std::string data = c.verb == "write" ? MakeDataFile() : std::string();
  SimProcess sim(c.sim, memory);
  ASSERT_TRUE(sim.Ok());
  const std::string out = dir / "fault.dat";
  std::vector<std::string> args = {c.verb, "--port", sim.Device(), "--retry",
                                   std::to_string(c.retry)};
  if (c.verb == "read") args.insert(args.end(), {"-o", out, "--image-out", dir / "fault.bin"});
  if (c.verb == "write") args.insert(args.end(), {"--image-out", dir / "sent.bin", data});
  const auto r = Cli(args);
  EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
  EXPECT_EQ(r.err.find(LangMessage(2003)) != std::string::npos, c.asked) << r.err;
  if (c.exitCode != 0) {
    const int failure = c.verb == "write" ? 2007 : c.verb == "read" ? 2006 : 2008;
    EXPECT_NE(r.err.find(LangMessage(failure)), std::string::npos) << r.err;
    if (c.verb == "read") {
      EXPECT_FALSE(std::filesystem::exists(out));
    }
  } else if (c.verb == "read") {
    const auto image = ReadFileBytesOf(dir / "fault.bin");
    ASSERT_EQ(image.size(), 16384u);
    for (size_t a = 0x0010; a < 0x4000; ++a) {
      if (a < 0x0160 || a >= 0x0170) {
        ASSERT_EQ(image[a], memory[a]) << "address " << a;
      }
    }
  } else if (c.verb == "write") {
    // Whatever went wrong on the way, the radio holds exactly what was sent.
    const auto sent = ReadFileBytesOf(dir / "sent.bin");
    ASSERT_EQ(sent.size(), 16384u);
    sim.Stop();
    const auto after = sim.SavedMemory();
    ASSERT_EQ(after.size(), 16384u);
    for (size_t a = 0; a < 0x4000; ++a) {
      const bool untouched = a < 0x0100 || (a >= 0x0160 && a < 0x0170);
      ASSERT_EQ(after[a], untouched ? memory[a] : sent[a]) << "address " << a;
    }
  }
  if (c.verb == "write" && c.exitCode != 0) {
    sim.Stop();
    const auto after = sim.SavedMemory();
    ASSERT_EQ(after.size(), 16384u);
    EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0x100, after.begin()));
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, LinkCliFault, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkCli, InfoPrintsTheEmbeddedMessage) {
  SimProcess sim({"--band", "0x0B"});
  ASSERT_TRUE(sim.Ok());
  const auto r = Cli({"info", "--port", sim.Device()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Serial Number: SIM00000001\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Area Code: 86\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Version: V1.00\n"), std::string::npos) << r.out;
  // Band byte 0x0B is taken as 0x30 (code 48).
  EXPECT_NE(r.out.find("Frequency: Rx(400 - 469.9950 MHz) Tx(400 - 469.9950 MHz)\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Radio Type: KV-540\n"), std::string::npos) << r.out;

  const auto j = Cli({"info", "--port", sim.Device(), "--json"});
  ASSERT_EQ(j.exitCode, 0) << j.err;
  EXPECT_NE(j.out.find("\"SerialNumber\": \"SIM00000001\""), std::string::npos) << j.out;
  EXPECT_NE(j.out.find("\"BandCode\": 48"), std::string::npos) << j.out;
  // Only the information area was read.
  EXPECT_EQ(sim.Journal().find("addr=0x0100"), std::string::npos);
}

TEST_F(LinkCli, PortsAndUsage) {
  const auto ports = Cli({"ports"});
  EXPECT_EQ(ports.exitCode, 0);
  for (const char* verb : {"read", "write", "info"}) {
    const auto r = RunProgram({BinPath("kvx50-cli"), verb}, kTimeoutMs);
    EXPECT_EQ(r.exitCode, 2) << verb;
  }
  const auto missing = Cli({"info", "--port", dir / "no-such-device"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find(LangMessage(2002)), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("no-such-device"), std::string::npos) << missing.err;
}

}  // namespace

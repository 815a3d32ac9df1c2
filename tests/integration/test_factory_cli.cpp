// Factory mode through the built programs: the calibration values a read from kvx50-radiosim
// puts into the test-data file, and the production export of kvx50-cli epm.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "SimProcess.h"
#include "core/app/FactoryMode.h"
#include "core/factory/AutoTest.h"
#include "core/factory/TestData.h"
#include "core/files/Workspace.h"
#include "core/image/Channels.h"
#include "core/image/RadioImage.h"
#include "core/image/Tones.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;
using namespace kvx::test;

namespace {

namespace fs = std::filesystem;
constexpr int kTimeoutMs = 90000;

// A radio memory with the given calibration block at 0x0160.
std::vector<uint8_t> MemoryWithCalibration(const std::array<uint8_t, 16>& block) {
  // Any memory will do for the rest: the template of a prepared image.
  std::vector<uint8_t> memory(kImageSize, 0xFF);
  RadioImage image;
  image.bytes.fill(0xFF);
  ClearImage(image);
  std::copy(image.bytes.begin(), image.bytes.end(), memory.begin());
  std::fill(memory.begin() + 0x4C, memory.begin() + 0x50, 0xFF);  // no programming password
  std::copy(block.begin(), block.end(), memory.begin() + kCalibrationBlockAddress);
  return memory;
}

class FactoryCli : public ::testing::Test {
 protected:
  void MakeFactory() {
    WriteFileBytes(home / "TestData.ini",
                   std::vector<uint8_t>(kFactoryMarker.begin(), kFactoryMarker.end()));
  }

  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {BinPath("kvx50-cli"), "--home", home.Path()});
    ProcessResult r = RunProgram(args, kTimeoutMs);
    EXPECT_FALSE(r.timedOut) << "kvx50-cli hung: " << args[3];
    EXPECT_LT(r.exitCode, 2) << r.err;
    return r;
  }

  TestDataValues ReadTed(const std::string& path) {
    TestDataValues v{};
    EXPECT_TRUE(ReadTestDataFile(path, v)) << path;
    return v;
  }

  TempHome home;
  TempDir dir;
};

// Values 0-15 come from the default data the start loaded and stay; 16-28 come from the
// calibration block (the words low byte first, a high byte of 0x80 or more ignored); 29-31
// become 0. The image keeps 0xFF where the block would be.
TEST_F(FactoryCli, ReadTakesTheCalibrationBlockIntoTheTestData) {
  MakeFactory();
  TestDataValues before{};
  for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<int16_t>(0x0500 + i);
  // Every default data file gets the same test-data file, whichever the start picks.
  for (const auto& entry : fs::directory_iterator(home / "Init")) {
    if (entry.path().extension() == ".dat") {
      ASSERT_TRUE(WriteTestDataFile(TestDataPathFor(entry.path().string()), before));
    }
  }

  const std::array<uint8_t, 16> block = {0x80, 0x90, 0x70, 0x60, 0x40, 0x01, 0x34, 0x12,
                                         0x56, 0x92, 0x00, 0x7F, 0x11, 0x22, 0x33, 0x44};
  SimProcess sim({}, MemoryWithCalibration(block));
  ASSERT_TRUE(sim.Ok()) << sim.Stderr();
  const auto r = Cli(
      {"read", "--port", sim.Device(), "-o", dir / "radio.dat", "--image-out", dir / "image.bin"});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  const TestDataValues after = ReadTed(dir / "radio.ted");
  for (size_t i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << "value " << i;
  const int16_t expected[16] = {0x80,   0x90, 0x70, 0x60, 0x40, 0x01, 0x1234, 0x56,
                                0x7F00, 0x11, 0x22, 0x33, 0x44, 0,    0,      0};
  for (size_t i = 16; i < 32; ++i) EXPECT_EQ(after[i], expected[i - 16]) << "value " << i;

  const auto image = ReadFileBytesOf(dir / "image.bin");
  ASSERT_EQ(image.size(), 16384u);
  for (size_t a = kCalibrationBlockAddress; a < kCalibrationBlockAddress + 16; ++a)
    EXPECT_EQ(image[a], 0xFF) << a;
}

// Outside factory mode a read writes no test-data file.
TEST_F(FactoryCli, ReadOutsideFactoryModeWritesNoTestData) {
  SimProcess sim({});
  ASSERT_TRUE(sim.Ok()) << sim.Stderr();
  const auto r = Cli({"read", "--port", sim.Device(), "-o", dir / "radio.dat"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir / "radio.dat"));
  EXPECT_FALSE(fs::exists(dir / "radio.ted"));
}

class FactoryEpm : public FactoryCli {
 protected:
  // Ten channels: 3, 6, ... 30; channel 3 receives DCS 023, channel 6 transmits with a plus
  // shift of 0.6 MHz.
  std::string MakeDataFile() {
    Workspace ws;
    ws.app.ProgramFolder = home.Path();
    ws.lang.SetProgramFolder(home.Path());
    ResetWorkingData(ws);
    NewDefaultChannels(ws.channels, ws.app);  // CALL and VFO only: the default file has more
    for (int k = 1; k <= 10; ++k) {
      ChannelRecord c = DefaultChannel(3 * k, ws.app);
      c.RxFreq = "014500000";
      c.Offset = "000060000";
      c.Shift = k == 2 ? ShiftPlus : ShiftNone;
      if (k == 1) {
        c.ToneAType = ToneDcs;
        c.ToneADcs = 19;
        c.ToneAInverted = 0;
      }
      EXPECT_TRUE(ws.channels.AppendChannel(c));
    }
    ws.CurrentFileName = dir / "prod.dat";
    ScriptedPrompts prompts;
    prompts.filePasswords.push_back(std::string());
    EXPECT_TRUE(WriteDataFile(ws, prompts));
    return ws.CurrentFileName;
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        lines.push_back(text.substr(at) + "<no CR LF>");
        break;
      }
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
};

// Only the channel box: ten rows, and in the channel table exactly the ten records' blocks;
// nothing of the other areas but what is recorded on every export (the channel bitmaps and the
// broadcast lists). The image part is the image a write would send; the data file stays.
TEST_F(FactoryEpm, ChannelBoxExportOfTenChannels) {
  MakeFactory();
  const std::string data = MakeDataFile();
  const std::string dataBytes = ReadFileText(data);
  const auto r = Cli({"epm", data, "-o", dir / "prod.EPM", "--areas", "0"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto enc = Cli({"encode", data, "-o", dir / "image.bin"});
  ASSERT_EQ(enc.exitCode, 0) << enc.err;

  const auto lines = Lines(ReadFileText(dir / "prod.EPM"));
  ASSERT_EQ(lines.size(), 1 + 10 * kExportColumns + kBlockCount + kImageSize);
  EXPECT_EQ(lines[0], "10,9");
  EXPECT_EQ(lines[1], "\"显示信道ID|2\"");
  EXPECT_EQ(lines[1 + 4], "\"解码|D023N\"");
  EXPECT_EQ(lines[1 + 9 + 3], "\"发射频率|145.60000\"");
  EXPECT_EQ(lines[1 + 9 * 9 + 1], "\"通信信道ID|29\"");

  std::set<size_t> used;
  for (size_t b = 0; b < kBlockCount; ++b) {
    const std::string& flag = lines[1 + 90 + b];
    ASSERT_TRUE(flag == "0" || flag == "1") << flag;
    if (flag == "1") used.insert(b);
  }
  std::set<size_t> channelBlocks;
  for (int k = 1; k <= 10; ++k) {
    const size_t at = ChannelRecordAddress(3 * k);
    channelBlocks.insert(at / 16);
    channelBlocks.insert((at + kChannelImageSize - 1) / 16);
  }
  const size_t tableFirst = ImageAddr::Channels / 16, tableLast = 0x38FF / 16;
  for (size_t b : channelBlocks) EXPECT_TRUE(used.count(b)) << "channel block " << b;
  for (size_t b : used) {
    if (b >= tableFirst && b <= tableLast) {
      EXPECT_TRUE(channelBlocks.count(b)) << "block " << b << " of another channel";
      continue;
    }
    const size_t a = b * 16;
    const bool always = (a >= ImageAddr::PresentBitmap && a < ImageAddr::ScanSkipBitmap + 0x20) ||
                        a == ImageAddr::FmFlags ||
                        (a >= ImageAddr::FmEntries && a <= ImageAddr::AmFlags);
    EXPECT_TRUE(always) << "block " << b << " (address " << a << ") of an area not ticked";
  }

  const auto image = ReadFileBytesOf(dir / "image.bin");
  ASSERT_EQ(image.size(), kImageSize);
  for (size_t a = 0; a < kImageSize; ++a)
    ASSERT_EQ(lines[1 + 90 + kBlockCount + a], std::to_string(image[a])) << "address " << a;

  EXPECT_EQ(ReadFileText(data), dataBytes);
}

TEST_F(FactoryEpm, RefusedOutsideFactoryModeAndForAnUnwritableFile) {
  const std::string data = MakeDataFile();
  const auto outside = Cli({"epm", data, "-o", dir / "x.EPM"});
  EXPECT_EQ(outside.exitCode, 1);
  EXPECT_NE(outside.err.find("factory mode"), std::string::npos) << outside.err;
  EXPECT_FALSE(fs::exists(dir / "x.EPM"));

  MakeFactory();
  const auto unwritable = Cli({"epm", data, "-o", dir / "missing/x.EPM"});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find(kEpmFileError), std::string::npos) << unwritable.err;
}

}  // namespace

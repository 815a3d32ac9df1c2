#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "core/factory/AutoTest.h"
#include "core/factory/Export.h"
#include "core/image/Channels.h"
#include "core/image/PackAll.h"
#include "core/image/RadioImage.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

using namespace kvx;

namespace {

ChannelRecord Regular(int number) {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = "014500000";
  c.Offset = "000060000";
  return c;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      out.push_back(text.substr(at) + "<no CR LF>");
      break;
    }
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

std::set<size_t> UsedBlocks(const AutoTestState& s) {
  std::set<size_t> out;
  for (size_t b = 0; b < kBlockCount; ++b)
    if (s.BlockUsed[b]) out.insert(b);
  return out;
}

}  // namespace

TEST(AutoTest, StartsWithTheChannelBoxAndMarksWholeBlocks) {
  AutoTestState s;
  EXPECT_TRUE(s.AreaOn(ExportArea::Channels));
  for (size_t a = 1; a < kExportAreaCount; ++a)
    EXPECT_FALSE(s.AreaOn(static_cast<ExportArea>(a))) << a;
  s.MarkBlocks(0x3FF, 2);  // straddles two blocks
  s.MarkBlocks(0x2000, 32);
  s.MarkBlocks(0x3FF0, 16);
  s.MarkBlocks(0x500, 0);
  EXPECT_EQ(UsedBlocks(s), (std::set<size_t>{0x3F, 0x40, 0x200, 0x201, 0x3FF}));
  s.AddChannelRow(Regular(1));
  EXPECT_EQ(s.RowCount, 1u);
  s.ResetExport();
  EXPECT_TRUE(UsedBlocks(s).empty());
  EXPECT_EQ(s.RowCount, 0u);
  EXPECT_TRUE(s.ExportRows.empty());
}

TEST(AutoTest, ChannelRowCells) {
  struct Case {
    const char* what;
    void (*edit)(ChannelRecord&);
    size_t column;
    const char* cell;
  } cases[] = {
      {"display ID", [](ChannelRecord&) {}, 0, "显示信道ID|4"},
      {"communication ID", [](ChannelRecord&) {}, 1, "通信信道ID|4"},
      {"receive", [](ChannelRecord&) {}, 2, "接收频率|145.00000"},
      {"no shift", [](ChannelRecord&) {}, 3, "发射频率|145.00000"},
      {"plus shift", [](ChannelRecord& c) { c.Shift = 2; }, 3, "发射频率|145.60000"},
      {"minus shift", [](ChannelRecord& c) { c.Shift = 1; }, 3, "发射频率|144.40000"},
      {"bad shift", [](ChannelRecord& c) { c.Shift = 3; }, 3, "发射频率|"},
      {"DCS 19", [](ChannelRecord& c) { c.ToneAType = 2, c.ToneADcs = 19; }, 4, "解码|D023N"},
      {"DCS inverted",
       [](ChannelRecord& c) { c.ToneBType = 2, c.ToneBDcs = 19, c.ToneBInverted = 1; }, 5,
       "编码|D023I"},
      {"CTCSS", [](ChannelRecord& c) { c.ToneAType = 1, c.ToneACtcss = 12; }, 4, "解码|97.4"},
      {"no tone", [](ChannelRecord& c) { c.ToneBCtcss = 12; }, 5, "编码|Off"},
      {"high", [](ChannelRecord& c) { c.Power = 0; }, 6, "功率|高"},
      {"middle", [](ChannelRecord& c) { c.Power = 1; }, 6, "功率|中"},
      {"low", [](ChannelRecord& c) { c.Power = 2; }, 6, "功率|低"},
      {"wide", [](ChannelRecord& c) { c.Bandwidth = 0; }, 7, "宽窄带|宽带"},
      {"mid band", [](ChannelRecord& c) { c.Bandwidth = 1; }, 7, "宽窄带|中带"},
      {"narrow", [](ChannelRecord& c) { c.Bandwidth = 2; }, 7, "宽窄带|窄带"},
      {"DTMF", [](ChannelRecord& c) { c.Signalling = 1, c.DtmfCode = 3; }, 8, "可选信令|DTMF-4"},
      {"2Tone", [](ChannelRecord& c) { c.Signalling = 2, c.TwoToneCode = 7; }, 8,
       "可选信令|2Tone-7"},
      {"5Tone", [](ChannelRecord& c) { c.Signalling = 3, c.FiveToneCode = 99; }, 8,
       "可选信令|5Tone-99"},
      {"off", [](ChannelRecord& c) { c.TwoToneCode = 7; }, 8, "可选信令|Off"},
  };
  for (const auto& c : cases) {
    ChannelRecord ch = Regular(5);
    c.edit(ch);
    EXPECT_EQ(ChannelExportRow(ch)[c.column], c.cell) << c.what;
  }
}

TEST(AutoTest, RowTableHoldsAtMost455Rows) {
  AutoTestState s;
  for (int i = 0; i < 500; ++i) s.AddChannelRow(Regular(1 + i % 200));
  EXPECT_EQ(s.RowCount, kMaxExportRows);
  EXPECT_EQ(s.ExportRows.size(), 455u);
}

TEST(AutoTest, EpmFileHasOneWritePerLine) {
  AutoTestState s;
  s.AddChannelRow(Regular(3));
  s.MarkBlocks(0x2040, 32);
  RadioImage img;
  img[0] = 7;
  img[0x3FFF] = 255;
  std::string path = (std::filesystem::temp_directory_path() / "kvx50-sett.EPM").string();
  ASSERT_TRUE(WriteEpmFile(path, s, img));
  std::ifstream f(path, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(f), {}};
  auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 1 + 9 + kBlockCount + kImageSize);
  EXPECT_EQ(lines[0], "1,9");
  EXPECT_EQ(lines[1], "\"显示信道ID|2\"");
  EXPECT_EQ(lines[9], "\"可选信令|Off\"");
  EXPECT_EQ(lines[10], "0");          // block 0
  EXPECT_EQ(lines[10 + 0x204], "1");  // the marked channel record
  EXPECT_EQ(lines[10 + 0x205], "1");
  EXPECT_EQ(lines[10 + kBlockCount], "7");  // image byte 0
  EXPECT_EQ(lines.back(), "255");
  EXPECT_FALSE(WriteEpmFile("/nonexistent-dir/x.EPM", s, img));
}

class AutoTestExport : public ::testing::Test {
 protected:
  void SetUp() override {
    ws = std::make_unique<Workspace>();
    test::PrepareWorkspace(*ws, folder.Path());
  }
  test::ScratchFolder folder;
  std::unique_ptr<Workspace> ws;
  test::ScriptedPrompts prompts;
};

TEST_F(AutoTestExport, ChannelBoxOnlyGivesTenRowsAndTheirBlocks) {
  for (int n = 1; n <= 10; ++n) ASSERT_TRUE(ws->channels.AppendChannel(Regular(n * 3)));
  ws->autoTest.ResetExport();
  ws->autoTest.BlockUsed[0x100] = 1;  // left from an earlier export: reset first
  const std::string path = folder / "out.EPM";
  ExportOutcome r = RunAutoTestExport(*ws, path, &prompts);
  EXPECT_TRUE(r.packOk);
  EXPECT_TRUE(r.written);
  EXPECT_EQ(ws->autoTest.RowCount, 10u);
  // The channel records, the channel bitmaps, and the broadcast lists' flag blocks, which are
  // recorded on every encoding whatever the boxes say.
  std::set<size_t> expected = {0x10, 0x11, 0x12, 0x13, 0x3F, 0x397};
  for (int n = 1; n <= 10; ++n) {
    size_t at = 0x2000 + 32 * static_cast<size_t>(n * 3 - 1);
    expected.insert(at / 16);
    expected.insert(at / 16 + 1);
  }
  EXPECT_EQ(UsedBlocks(ws->autoTest), expected);
  EXPECT_TRUE(prompts.shown.empty());
  std::ifstream f(path, std::ios::binary);
  std::string first;
  std::getline(f, first);
  EXPECT_EQ(first, "10,9\r");
}

TEST_F(AutoTestExport, WorkingDataStayAndTheImageHoldsTheEncodedData) {
  ws->settings.Book.entries[0].CallId = std::string("5\0   ", 5);
  ws->settings.Book.entries[1].CallId = std::string("123\0 ", 5);  // would be sorted first
  ws->settings.Fm.entries[2].InUse = 1;                            // frequency 0: emptied
  ws->settings.Fm.entries[2].Frequency = 0;
  ASSERT_TRUE(ws->channels.AppendChannel(Regular(1)));
  std::string before;
  ByteWriter w(before);
  ws->settings.Write(w);
  const ChannelList channelsBefore = ws->channels;
  ws->autoTest.ExportAreaFlags.fill(true);

  ExportOutcome r = RunAutoTestExport(*ws, folder / "all.EPM", &prompts);
  EXPECT_TRUE(r.packOk);
  std::string after;
  ByteWriter w2(after);
  ws->settings.Write(w2);
  EXPECT_EQ(after, before);
  EXPECT_EQ(ws->channels, channelsBefore);

  // The same encode on a copy of our own gives the image the export left.
  auto settings = std::make_unique<SettingsRecord>(ws->settings);
  auto channels = std::make_unique<ChannelList>(ws->channels);
  auto image = std::make_unique<RadioImage>();
  image->bytes = ws->image.bytes;  // bytes 0x0000-0x000F are never prepared
  ClearImage(*image);
  ASSERT_TRUE(PackAll(*settings, *channels, *image, CodecContext{nullptr, &ws->app, nullptr}));
  EXPECT_EQ(image->bytes, ws->image.bytes);
  EXPECT_EQ(ws->image[0x1980], '1');  // the sorted book is in the image
}

TEST_F(AutoTestExport, EncoderFailureStillExportsAndUnwritableFileShowsItsMessage) {
  ws->settings.Options.Option0 = 300;
  ExportOutcome r = RunAutoTestExport(*ws, folder / "partial.EPM", &prompts);
  EXPECT_FALSE(r.packOk);
  EXPECT_TRUE(r.written);
  EXPECT_TRUE(prompts.Saw("SetCommDataByOptionError"));

  ws->settings.Options.Option0 = 0;
  r = RunAutoTestExport(*ws, folder / "missing-dir/x.EPM", &prompts);
  EXPECT_TRUE(r.packOk);
  EXPECT_FALSE(r.written);
  EXPECT_EQ(prompts.shown.back().text, kEpmFileError);
}

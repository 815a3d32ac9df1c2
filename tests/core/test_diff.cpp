// Field-by-field comparison of two sets of data, and of a file with a radio's memory.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/files/DataDiff.h"
#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

namespace kvx {
namespace {

class DataDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a_ = std::make_unique<Workspace>();
    test::PrepareWorkspace(*a_, folder_.Path());
    for (int n : {1, 2, 3}) a_->channels.AppendChannel(test::MemoryChannel(n));
    b_ = std::make_unique<Workspace>(*a_);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (const auto& d : DiffData(WorkingDataOf(*a_), WorkingDataOf(*b_)))
      out.push_back(FormatDifference(d));
    return out;
  }

  test::ScratchFolder folder_;
  std::unique_ptr<Workspace> a_, b_;
};

TEST_F(DataDiffTest, EqualDataGiveNoLineWhateverTheOrderAndThePadding) {
  EXPECT_TRUE(Lines().empty());
  // The same channels in another order, texts padded differently.
  auto& used = b_->channels.Slots;
  std::swap(used[2], used[4]);
  used[3].Name.bytes = {'C', 'H', '2', 0, 'x', 'y', 'z'};  // "CH2" ended by a NUL
  b_->settings.Dtmf.Codes[0].Text = "12";                  // blank-padded
  a_->settings.Dtmf.Codes[0].Text.bytes.fill(0);
  a_->settings.Dtmf.Codes[0].Text.bytes[0] = '1';
  a_->settings.Dtmf.Codes[0].Text.bytes[1] = '2';
  EXPECT_TRUE(Lines().empty());
}

TEST_F(DataDiffTest, NamesEveryDifferenceByAreaNumberAndField) {
  struct Case {
    const char* what;
    std::function<void(Workspace&)> change;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"channel field",
       [](Workspace& w) { w.channels.Find(2)->Power = 2; },
       {"Channel 2 Power: 1 | 2"}},
      {"channel text",
       [](Workspace& w) { w.channels.Find(3)->RxFreq = "014600000"; },
       {"Channel 3 RxFreq: \"014500000\" | \"014600000\""}},
      {"channel only on one side",
       [](Workspace& w) { w.channels.DeleteChannel(1); },
       {"Channel 1: present | absent"}},
      {"two fields of one channel",
       [](Workspace& w) {
         w.channels.Find(1)->Name = "X\xE9";
         w.channels.Find(1)->ListFlag = 1;
       },
       {"Channel 1 Name: \"CH1\" | \"X\xC3\xA9\"", "Channel 1 ListFlag: 0 | 1"}},
      {"band", [](Workspace& w) { w.app.BandCode = 48; }, {"Band BandCode: 3 | 48"}},
      {"DTMF code",
       [](Workspace& w) { w.settings.Dtmf.Codes[2].Text = "124"; },
       {"DtmfSettings Codes[2].Text: \"\" | \"124\""}},
      {"five-tone code",
       [](Workspace& w) { w.settings.FiveTone.Codes[99].Length = 5; },
       {"FiveToneSettings Codes[99].Length: 0 | 5"}},
      {"option text",
       [](Workspace& w) { w.settings.Options.PowerOnMessage = "Hi"; },
       {"OptionSettings PowerOnMessage: \"Welcome\" | \"Hi\""}},
      {"book entry",
       [](Workspace& w) { w.settings.Book.entries[127].EntryName = "Bob"; },
       {"BookEntries Entries[127].EntryName: \"\" | \"Bob\""}},
      {"broadcast frequency",
       [](Workspace& w) { w.settings.Fm.entries[0].Frequency = 88.1; },
       {"FmList Entries[0].Frequency: 0 | 88.1"}},
      {"single byte", [](Workspace& w) { w.settings.Switch5 = 1; }, {"Settings Switch5: 0 | 1"}},
      {"scan",
       [](Workspace& w) { w.settings.Scan.PriorityChannel2 = 3; },
       {"ScanSettings PriorityChannel2: 0 | 3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    b_ = std::make_unique<Workspace>(*a_);
    c.change(*b_);
    EXPECT_EQ(Lines(), c.lines);
  }
}

TEST_F(DataDiffTest, TestValuesCountOnlyInFactoryMode) {
  b_->testValues[4] = 77;
  EXPECT_TRUE(Lines().empty());
  a_->app.FactoryMode = b_->app.FactoryMode = true;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"TestDataValues Values[4]: 0 | 77"}));
}

// The radio holds what the image holds: a byte changed in the image shows as the field it
// carries, and a field the image does not carry never shows.
TEST_F(DataDiffTest, VerifyReportsTheFieldsOfChangedImageBytesOnly) {
  auto image = std::make_unique<RadioImage>();
  ASSERT_TRUE(EncodeForRadio(a_->settings, a_->channels, a_->app, *image));
  std::vector<FieldDifference> diffs;
  ASSERT_TRUE(VerifyRadio(a_->settings, a_->channels, a_->app, *image, a_->app, diffs));
  EXPECT_TRUE(diffs.empty()) << FormatDifference(diffs.front());

  // Channel 2: byte 10 bits 2-3 are the power; channel 3: byte 19 starts the name.
  (*image)[ChannelRecordAddress(2) + 10] ^= 0x0C;  // 1 -> 2
  (*image)[ChannelRecordAddress(3) + 19] = 'D';
  // Only in the file: not carried by the image.
  auto file = std::make_unique<Workspace>(*a_);
  file->channels.Find(1)->ListFlag = 1;
  file->channels.Find(1)->Spare2 = 9;
  file->settings.Spare[0] = 5;
  ASSERT_TRUE(VerifyRadio(file->settings, file->channels, file->app, *image, a_->app, diffs));
  std::vector<std::string> lines;
  for (const auto& d : diffs) lines.push_back(FormatDifference(d));
  EXPECT_EQ(lines, (std::vector<std::string>{"Channel 2 Power: 1 | 2",
                                             "Channel 3 Name: \"CH3\" | \"DH3\""}));
}

TEST_F(DataDiffTest, VerifyFailsWhenTheFileCannotBeEncoded) {
  a_->channels.Find(1)->Step = 300;  // no byte holds it
  RadioImage image;
  std::vector<FieldDifference> diffs;
  test::ScriptedPrompts prompts;
  EXPECT_FALSE(VerifyRadio(a_->settings, a_->channels, a_->app, image, a_->app, diffs, &prompts));
  EXPECT_TRUE(prompts.Saw("SetCommDataByFrequencyError"));
}

}  // namespace
}  // namespace kvx

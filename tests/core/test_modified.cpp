#include <gtest/gtest.h>

#include <functional>

#include "core/files/Workspace.h"
#include "test_files_support.h"

namespace kvx {
namespace {

struct Change {
  const char* what;
  std::function<void(Workspace&)> apply;
  bool modified;
};

// A saved workspace with some content in every compared area, so that a change has something
// to differ from.
void Populate(Workspace& ws) {
  test::PrepareWorkspace(ws, "/nonexistent-kvx50-folder");
  ws.channels.AppendChannel(test::MemoryChannel(1));
  ws.channels.AppendChannel(test::MemoryChannel(2));
  ws.settings.Dtmf.Codes[0].Text = "123";
  ws.settings.Dtmf.Codes[0].Length = 3;
  ws.settings.Dtmf.KillCode.Text = "99";
  ws.settings.Dtmf.KillCode.Length = 2;
  ws.settings.FiveTone.IdLength = 3;
  ws.settings.FiveTone.OwnId = "123";
  ws.settings.FiveTone.Codes[5].Length = 2;
  ws.settings.FiveTone.Codes[5].Digits = "12";
  ws.settings.TwoTone.Entries[3].Name = "TT";
  CopyWorkingToSaved(ws);
}

TEST(IsModified, ComparedAndNotComparedFields) {
  const Change changes[] = {
      // Not compared at all.
      {"FM entry", [](Workspace& w) { w.settings.Fm.entries[2].Frequency = 101.1; }, false},
      {"AM entry", [](Workspace& w) { w.settings.Am.entries[20].InUse = 1; }, false},
      {"BLE option", [](Workspace& w) { w.settings.Ble.bytes[4] = 3; }, false},
      {"spare bytes", [](Workspace& w) { w.settings.Spare[1] = 9; }, false},
      {"broadcast option", [](Workspace& w) { w.settings.Options.FmWorkChannel = 5; }, false},
      {"AmDisplayMode", [](Workspace& w) { w.settings.Options.AmDisplayMode = 1; }, false},
      {"book EntryNo", [](Workspace& w) { w.settings.Book.entries[4].EntryNo = 77; }, false},
      {"two-tone entry Empty", [](Workspace& w) { w.settings.TwoTone.Entries[3].Empty = 0; },
       false},
      {"two-tone entry name", [](Workspace& w) { w.settings.TwoTone.Entries[3].Name = "X"; },
       false},
      {"two-tone ToneA", [](Workspace& w) { w.settings.TwoTone.ToneA = 1234; }, false},
      {"two-tone FirstTone", [](Workspace& w) { w.settings.TwoTone.FirstTone = 1234; }, false},
      {"two-tone RxTone1", [](Workspace& w) { w.settings.TwoTone.Entries[0].RxTone1 = 1; }, false},
      {"five-tone code Empty", [](Workspace& w) { w.settings.FiveTone.Codes[5].Empty = 0; }, false},
      {"five-tone code name", [](Workspace& w) { w.settings.FiveTone.Codes[5].Name = "N"; }, false},
      {"DTMF DecodeResponse", [](Workspace& w) { w.settings.Dtmf.DecodeResponse = 2; }, false},
      {"settings ChannelCount field", [](Workspace& w) { w.settings.ChannelCount = 9; }, false},
      // Characters beyond the valid length.
      {"DTMF code past its length", [](Workspace& w) { w.settings.Dtmf.Codes[0].Text = "123456"; },
       false},
      {"DTMF code of length 0",
       [](Workspace& w) {
         w.settings.Dtmf.Codes[7].Text = "555";  // Length stays 0
       },
       false},
      {"five-tone own ID past IdLength", [](Workspace& w) { w.settings.FiveTone.OwnId = "12399"; },
       false},
      {"five-tone code past its length",
       [](Workspace& w) { w.settings.FiveTone.Codes[5].Digits = "12AB"; }, false},
      // Channel fields only decoding or the edit dialog sets.
      {"ToneADcsHigh", [](Workspace& w) { w.channels.Slots[2].ToneADcsHigh = 1; }, false},
      {"ToneBDcsHigh", [](Workspace& w) { w.channels.Slots[2].ToneBDcsHigh = 1; }, false},
      {"PttIdFlag", [](Workspace& w) { w.channels.Slots[2].PttIdFlag = 1; }, false},
      {"RawByte27", [](Workspace& w) { w.channels.Slots[2].RawByte27 = 5; }, false},
      {"name bytes after its NUL",
       [](Workspace& w) { w.channels.Slots[2].Name.bytes = {'C', 'H', '1', 0, 'x', 0, 0}; }, false},
      {"channel order", [](Workspace& w) { std::swap(w.channels.Slots[0], w.channels.Slots[3]); },
       false},

      // Compared.
      {"band", [](Workspace& w) { w.app.BandCode = 4; }, true},
      {"channel count", [](Workspace& w) { w.channels.DeleteChannel(2); }, true},
      {"channel Power", [](Workspace& w) { w.channels.Slots[2].Power = 2; }, true},
      {"channel RxFreq", [](Workspace& w) { w.channels.Slots[2].RxFreq = "014600000"; }, true},
      {"channel Name", [](Workspace& w) { w.channels.Slots[2].Name = "CH9"; }, true},
      {"channel ListFlag", [](Workspace& w) { w.channels.Slots[2].ListFlag = 1; }, true},
      {"channel replaced by another number", [](Workspace& w) { w.channels.Slots[2].Number = 3; },
       true},
      {"DecodeTime", [](Workspace& w) { w.settings.DecodeTime = 9; }, true},
      {"Switch5", [](Workspace& w) { w.settings.Switch5 = 1; }, true},
      {"DTMF code inside its length", [](Workspace& w) { w.settings.Dtmf.Codes[0].Text = "124"; },
       true},
      {"DTMF code length", [](Workspace& w) { w.settings.Dtmf.Codes[0].Length = 2; }, true},
      {"DTMF kill code", [](Workspace& w) { w.settings.Dtmf.KillCode.Text = "98"; }, true},
      {"DTMF own ID", [](Workspace& w) { w.settings.Dtmf.OwnId = "001"; }, true},
      {"DTMF SendTime", [](Workspace& w) { w.settings.Dtmf.SendTime = 4; }, true},
      {"two-tone Time4", [](Workspace& w) { w.settings.TwoTone.Time4 = 3; }, true},
      {"two-tone divider", [](Workspace& w) { w.settings.TwoTone.Entries[31].RxDivider2 = 7; },
       true},
      {"five-tone own ID", [](Workspace& w) { w.settings.FiveTone.OwnId = "124"; }, true},
      {"five-tone SpecialCall", [](Workspace& w) { w.settings.FiveTone.SpecialCall = 10; }, true},
      {"five-tone info name", [](Workspace& w) { w.settings.FiveTone.InfoCodes[7].Name = "K"; },
       true},
      {"five-tone PTT ID period", [](Workspace& w) { w.settings.FiveTone.PttIdEnd.TonePeriod = 3; },
       true},
      {"five-tone code digits", [](Workspace& w) { w.settings.FiveTone.Codes[5].Digits = "13"; },
       true},
      {"option", [](Workspace& w) { w.settings.Options.Option13 = 1; }, true},
      {"power-on message", [](Workspace& w) { w.settings.Options.PowerOnMessage = "Hello"; }, true},
      {"book name", [](Workspace& w) { SetBookText(w.settings.Book.entries[9].EntryName, "A"); },
       true},
      {"scan byte", [](Workspace& w) { w.settings.Scan.PriorityGroup2 = 1; }, true},
      {"alert byte", [](Workspace& w) { w.settings.Alert.Cycle = 1; }, true},
  };
  for (const auto& c : changes) {
    Workspace ws;
    Populate(ws);
    ASSERT_FALSE(IsModified(ws)) << "before " << c.what;
    c.apply(ws);
    EXPECT_EQ(IsModified(ws), c.modified) << c.what;
  }
}

TEST(IsModified, TestValuesCountOnlyInFactoryMode) {
  Workspace ws;
  Populate(ws);
  ws.testValues[5] = 1;
  EXPECT_FALSE(IsModified(ws));
  ws.app.FactoryMode = true;
  EXPECT_TRUE(IsModified(ws));
}

}  // namespace
}  // namespace kvx

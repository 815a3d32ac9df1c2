// The commands on several rows that the undo history records: copy, cut, paste and delete of
// rows together (CALL and VFO never emptied, a paste never past row 204), and the bulk edit
// with the channel edit dialog's store rules.
#include <gtest/gtest.h>

#include "core/edit/ChannelRows.h"
#include "core/image/Tones.h"

namespace kvx {
namespace {

ChannelRecord Channel(int number, const char* rx, const char* name = "") {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = rx;
  c.Name = name;
  return c;
}

ChannelList List(std::initializer_list<ChannelRecord> records) {
  ChannelList list;
  for (const ChannelRecord& c : records) list.AppendChannel(c);
  return list;
}

std::string NameAt(const ChannelList& list, int row) {
  const ChannelRecord* c = list.Find(row);
  return c ? c->Name.Clean() : "(none)";
}

TEST(ChannelRows, CopyAndPasteKeepOrderAndEmptyRows) {
  ChannelList list = List({Channel(3, "014500000", "A"), Channel(5, "014600000", "C"),
                           Channel(11, "014700000", "OLD"), Channel(kChannelCall, "014400000"),
                           Channel(kChannelVfo, "014400000")});
  RowsClipboard clip;
  const int rows[] = {3, 4, 5};
  CopyRows(list, rows, clip);
  ASSERT_EQ(clip.rows.size(), 3u);
  EXPECT_FALSE(clip.rows[1].has_value());

  // Onto 10, 11, 12: 11 (a channel) is emptied by the empty row 4; the copies take their rows'
  // numbers and keep every other field.
  const int targets[] = {10, 11, 12};
  EXPECT_EQ(PasteRows(list, clip, targets), PasteRowsResult::Pasted);
  EXPECT_EQ(NameAt(list, 10), "A");
  EXPECT_EQ(NameAt(list, 11), "(none)");
  EXPECT_EQ(NameAt(list, 12), "C");
  EXPECT_EQ(list.Find(12)->RxFreq.Clean(), "014600000");
  EXPECT_EQ(NameAt(list, 3), "A");  // a copy leaves the rows
}

TEST(ChannelRows, RefusedPastesChangeNothing) {
  const ChannelList start =
      List({Channel(1, "014500000", "ONE"), Channel(kChannelPB, "014400000"),
            Channel(kChannelCall, "014400000", "CALL"), Channel(kChannelVfo, "014400000")});
  RowsClipboard clip;
  const int copied[] = {1, 2};  // a channel, then an empty row
  CopyRows(start, copied, clip);
  struct Case {
    const char* what;
    std::vector<int> targets;
    PasteRowsResult result;
  } cases[] = {
      {"past row 204", {kChannelVfo}, PasteRowsResult::PastLastRow},
      {"empty row onto CALL", {kChannelPB, kChannelCall}, PasteRowsResult::EmptiesCallOrVfo},
      {"empty row onto VFO", {kChannelCall, kChannelVfo}, PasteRowsResult::EmptiesCallOrVfo},
      {"nothing in the way", {200, kChannelPA}, PasteRowsResult::Pasted},
  };
  for (const Case& c : cases) {
    ChannelList list = start;
    EXPECT_EQ(PasteRows(list, clip, c.targets), c.result) << c.what;
    if (c.result != PasteRowsResult::Pasted) {
      EXPECT_TRUE(list == start) << c.what;
    }
  }
  ChannelList list = start;
  EXPECT_EQ(PasteRows(list, RowsClipboard{}, copied), PasteRowsResult::NothingToPaste);
  // A channel may be pasted onto CALL: only emptying it is refused.
  const int ontoCall[] = {kChannelCall, 20};
  EXPECT_EQ(PasteRows(list, clip, ontoCall), PasteRowsResult::Pasted);
  EXPECT_EQ(NameAt(list, kChannelCall), "ONE");
}

TEST(ChannelRows, CutAndDeleteLeaveCallAndVfo) {
  const ChannelList start =
      List({Channel(7, "014500000", "S"), Channel(kChannelPA, "014400000"),
            Channel(kChannelCall, "014400000", "CALL"), Channel(kChannelVfo, "014400000")});
  const int rows[] = {7, 8, kChannelPA, kChannelCall, kChannelVfo};
  ChannelList list = start;
  EXPECT_EQ(DeleteRows(list, rows), 2);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_TRUE(list.ChannelExists(kChannelCall) && list.ChannelExists(kChannelVfo));

  list = start;
  RowsClipboard clip;
  CutRows(list, rows, clip);
  EXPECT_EQ(list.Count(), 2u);
  ASSERT_EQ(clip.rows.size(), 5u);
  EXPECT_EQ(clip.rows[3]->Name.Clean(), "CALL");  // copied though kept
  const int back[] = {7, 8, kChannelPA, 150, 151};
  EXPECT_EQ(PasteRows(list, clip, back), PasteRowsResult::Pasted);
  EXPECT_EQ(NameAt(list, 7), "S");
  EXPECT_TRUE(list.ChannelExists(kChannelPA));
  EXPECT_EQ(NameAt(list, 150), "CALL");
}

TEST(BulkEdit, PowerAndTonesOnFiveChannelsByTheStoreRules) {
  ChannelList list;
  for (int n : {1, 2, 3, kChannelPA, kChannelVfo}) {
    ChannelRecord c = Channel(n, "014500000");
    c.ToneACtcss = 4;
    c.ToneADcs = 9;
    c.ToneBDcs = 300;
    c.ToneBInverted = 1;
    c.SquelchMode = 1;  // needs a tone
    c.ToneAType = ToneCtcss;
    list.AppendChannel(c);
  }
  ChannelRecord noRx = EmptyChannel(9);  // a record without a receive frequency
  list.AppendChannel(noRx);
  const ChannelList before = list;

  BulkEdit edit;
  edit.power = 2;
  edit.toneA = ToneChoice{ToneNone, 0, 0, false};  // off: the stored tones stay
  edit.toneB = ToneChoice{ToneDcs, 0, 19, false};
  edit.scanSkip = true;
  const int rows[] = {1, 2, 3, 4, kChannelPA, kChannelVfo, 9};
  const std::vector<int> changed = ApplyBulkEdit(list, rows, edit, FeatureFlags{});
  EXPECT_EQ(changed, (std::vector<int>{1, 2, 3, kChannelPA, kChannelVfo}));
  for (int n : changed) {
    const ChannelRecord& c = *list.Find(n);
    EXPECT_EQ(c.Power, 2) << n;
    EXPECT_EQ(c.ToneAType, ToneNone) << n;
    EXPECT_EQ(c.ToneACtcss, 4) << n;
    EXPECT_EQ(c.ToneADcs, 9) << n;
    EXPECT_EQ(c.ToneBType, ToneDcs) << n;
    EXPECT_EQ(c.ToneBDcs, 19) << n;
    EXPECT_EQ(c.ToneBInverted, 0) << n;
    // Setting A (deciding, reverse clear) has no tone now: mode 1 is no longer offered.
    EXPECT_EQ(c.SquelchMode, 0) << n;
    // Scan skip cannot be set on PA, PB and VFO.
    EXPECT_EQ(c.ScanSkip, n <= 200 ? 1 : 0) << n;
  }
  EXPECT_TRUE(*list.Find(9) == *before.Find(9));
  EXPECT_TRUE(ApplyBulkEdit(list, rows, BulkEdit{}, FeatureFlags{}).empty());
}

TEST(BulkEdit, SignallingAndSquelchFollowTheFeaturesAndTheOffer) {
  FeatureFlags dtmfOnly;
  dtmfOnly.DtmfFeature = 1;
  struct Case {
    const char* what;
    SignallingChoice signalling;
    int16_t toneAType, reverse, toneBType, squelch;
    int16_t expectSignalling, expectSquelch;
  } cases[] = {
      {"DTMF with a tone: all modes", {1, 7}, ToneCtcss, 0, ToneNone, 4, 1, 4},
      {"DTMF without a tone: 0 and 2", {1, 7}, ToneNone, 0, ToneNone, 3, 1, 0},
      {"DTMF, reverse, tone B: all", {1, 7}, ToneNone, 1, ToneDcs, 3, 1, 3},
      {"two-tone not offered: none", {2, 5}, ToneCtcss, 0, ToneNone, 2, 0, 0},
      {"none with a tone: 0 and 1", {0, 0}, ToneDcs, 0, ToneNone, 1, 0, 1},
  };
  for (const Case& c : cases) {
    ChannelRecord r = Channel(4, "014500000");
    r.ToneAType = c.toneAType;
    r.ToneBType = c.toneBType;
    r.Reverse = c.reverse;
    ChannelList list = List({r});
    BulkEdit edit;
    edit.signalling = c.signalling;
    edit.squelchMode = c.squelch;
    const int rows[] = {4};
    ApplyBulkEdit(list, rows, edit, dtmfOnly);
    const ChannelRecord& out = *list.Find(4);
    EXPECT_EQ(out.Signalling, c.expectSignalling) << c.what;
    EXPECT_EQ(out.SquelchMode, c.expectSquelch) << c.what;
    if (out.Signalling == 1) {
      EXPECT_EQ(out.DtmfCode, 7) << c.what;
    }
  }
}

}  // namespace
}  // namespace kvx

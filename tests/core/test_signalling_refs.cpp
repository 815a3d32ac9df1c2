#include <gtest/gtest.h>

#include "core/image/Alert.h"
#include "core/image/Channels.h"
#include "core/image/FiveTone.h"
#include "core/image/SignallingRefs.h"
#include "core/image/TwoTone.h"

using namespace kvx;

namespace {

ChannelRecord Channel(int number, int signalling, int twoTone, int fiveTone) {
  ChannelRecord c;
  c.Number = static_cast<int16_t>(number);
  c.InUse = 1;
  c.Signalling = static_cast<int16_t>(signalling);
  c.TwoToneCode = static_cast<int16_t>(twoTone);
  c.FiveToneCode = static_cast<int16_t>(fiveTone);
  return c;
}

// Two-tone entries 4 and 7 in use; five-tone codes 10 and 60 in use.
struct Fixture {
  TwoToneSettings twoTone;
  FiveToneSettings fiveTone;
  Fixture() {
    for (auto& e : twoTone.Entries) e.Empty = 1;
    twoTone.Entries[4].Empty = 0;
    twoTone.Entries[7].Empty = 0;
    fiveTone.Codes[10].Empty = 0;
    fiveTone.Codes[60].Empty = 0;
  }
};

}  // namespace

TEST(SignallingRefs, ChannelsPointAtEntriesInUse) {
  Fixture f;
  struct Case {
    ChannelRecord in;
    int twoTone, fiveTone;
  } cases[] = {
      {Channel(1, 2, 7, 99), 7, 99},  // two-tone entry in use: kept; five-tone not looked at
      {Channel(2, 2, 5, 0), 4, 0},    // empty entry: the lowest in use
      {Channel(3, 2, 40, 0), 4, 0},   // out of range
      {Channel(4, 2, -1, 0), 4, 0},
      {Channel(5, 3, 5, 60), 5, 60},  // five-tone code in use: kept
      {Channel(6, 3, 5, 11), 5, 10},
      {Channel(7, 3, 5, 100), 5, 10},
      {Channel(8, 1, 5, 11), 5, 11},  // DTMF: nothing changes
      {Channel(9, 0, 31, 99), 31, 99},
  };
  ChannelList list;
  for (const auto& c : cases) ASSERT_TRUE(list.AppendChannel(c.in));
  // A slot beyond the list is not a channel and stays as it is.
  list.Slots[50] = Channel(50, 2, 5, 0);
  RepairSignallingRefs(list, f.twoTone, f.fiveTone);
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(list.Slots[i].TwoToneCode, cases[i].twoTone) << i;
    EXPECT_EQ(list.Slots[i].FiveToneCode, cases[i].fiveTone) << i;
  }
  EXPECT_EQ(list.Slots[50].TwoToneCode, 5);
}

TEST(SignallingRefs, NothingInUsePointsAtZero) {
  Fixture f;
  for (auto& e : f.twoTone.Entries) e.Empty = 1;
  for (auto& c : f.fiveTone.Codes) c.Empty = 1;
  ChannelList list;
  list.AppendChannel(Channel(1, 2, 9, 0));
  list.AppendChannel(Channel(2, 3, 0, 42));
  RepairSignallingRefs(list, f.twoTone, f.fiveTone);
  EXPECT_EQ(list.Slots[0].TwoToneCode, 0);
  EXPECT_EQ(list.Slots[1].FiveToneCode, 0);
}

TEST(SignallingRefs, AlertIdCodeFollowsFiveToneCodesOnly) {
  Fixture f;
  struct Case {
    uint8_t type, code, expected;
  } cases[] = {
      {2, 60, 60}, {2, 11, 10}, {2, 200, 10},  // five-tone
      {1, 11, 11},                             // DTMF: not re-pointed
      {0, 11, 11},
  };
  for (const auto& c : cases) {
    AlertSettings a;
    a.IdCodeType = c.type;
    a.IdCode = c.code;
    RepointAlertIdCode(a, f.fiveTone);
    EXPECT_EQ(a.IdCode, c.expected) << int(c.type) << " " << int(c.code);
  }
  for (auto& code : f.fiveTone.Codes) code.Empty = 1;
  AlertSettings a;
  a.IdCodeType = 2;
  a.IdCode = 5;
  RepointAlertIdCode(a, f.fiveTone);
  EXPECT_EQ(a.IdCode, 0);
}

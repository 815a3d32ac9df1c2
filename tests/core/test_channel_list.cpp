#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/image/Channels.h"
#include "core/util/Bytes.h"

using namespace kvx;

namespace {

ChannelRecord Ch(int number, std::string_view name = "") {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = "014500000";
  c.Name = name;
  return c;
}

std::vector<int> Numbers(const ChannelList& list) {
  std::vector<int> out;
  for (const auto& c : list.Used()) out.push_back(c.Number);
  return out;
}

ChannelList Make(std::vector<int> numbers) {
  ChannelList list;
  for (int n : numbers) list.AppendChannel(Ch(n));
  return list;
}

}  // namespace

TEST(ChannelRecord, FileRecordIs108BytesInFieldOrder) {
  ChannelRecord c = Ch(0x0102, "NAME");
  c.ScanSkip = 1;
  c.Offset = "000060000";
  c.Step = 0x0304;
  c.PttIdDecode = -2;
  c.PttIdCode = "1A2B3";
  std::string out;
  ByteWriter w(out);
  c.Write(w);
  ASSERT_EQ(out.size(), ChannelRecord::kFileSize);
  EXPECT_EQ(out.substr(0, 6), std::string("\x02\x01\x01\x00\x01\x00", 6));
  EXPECT_EQ(out.substr(6, 9), "014500000");
  EXPECT_EQ(out.substr(15, 9), "000060000");
  EXPECT_EQ(out.substr(24, 7), "NAME   ");
  EXPECT_EQ(out.substr(31, 2), "\x04\x03");   // Step, the first of the 36 numbers
  EXPECT_EQ(out.substr(101, 2), "\xFE\xFF");  // PttIdDecode, the last
  EXPECT_EQ(out.substr(103, 5), "1A2B3");

  ChannelRecord back;
  ByteReader r(out);
  back.Read(r);
  EXPECT_EQ(back, c);
  EXPECT_FALSE(r.Short());
}

TEST(ChannelRecord, DefaultAndEmptyRecords) {
  AppState app;  // band 3, 136-174
  ChannelList list;
  list.Slots[2] = Ch(9);
  NewDefaultChannels(list, app);
  ASSERT_EQ(Numbers(list), (std::vector<int>{203, 204}));
  const ChannelRecord& call = list.Slots[0];
  EXPECT_EQ(call.InUse, 1);
  EXPECT_EQ(call.ScanSkip, 1);
  EXPECT_EQ(call.RxFreq.Raw(), "015500000");
  EXPECT_EQ(call.Offset.Raw(), "000000000");
  EXPECT_EQ(call.Name.Raw(), std::string_view("\0      ", 7));
  EXPECT_EQ(call.Name.Clean(), "");
  EXPECT_EQ(call.Step, 5);
  EXPECT_EQ(call.ToneACtcss, 20);
  EXPECT_EQ(call.ToneBCtcss, 20);
  EXPECT_EQ(call.PttIdCode.Raw(), "00000");
  EXPECT_EQ(call.Shift + call.Power + call.Signalling + call.ListFlag, 0);

  // The upper limit is rounded to a whole number first.
  app.RxLow = 400;
  app.RxHigh = 479.995;
  EXPECT_EQ(DefaultChannel(204, app).RxFreq.Raw(), "044000000");

  ChannelRecord e = EmptyChannel(17);
  EXPECT_EQ(e.Number, 17);
  EXPECT_EQ(e.InUse, 0);
  EXPECT_EQ(e.RxFreq.Raw(), "FFFFFFFFF");
  EXPECT_EQ(e.Offset.Raw(), "000000000");
  EXPECT_EQ(e.Name.Clean(), "");
  EXPECT_EQ(e.Step, 5);
  EXPECT_EQ(e.PttIdCode.Raw(), "00000");
}

TEST(ChannelList, FindAppendDelete) {
  ChannelList list = Make({5, 203, 7, 204});
  EXPECT_EQ(list.FindChannel(7), 2);
  EXPECT_EQ(list.FindChannel(8), std::nullopt);
  EXPECT_TRUE(list.ChannelExists(204));
  EXPECT_TRUE(list.ChannelInUse(5));
  list.Slots[0].InUse = 0;
  EXPECT_FALSE(list.ChannelInUse(5));
  EXPECT_TRUE(list.ChannelExists(5));

  // Slots beyond the count are not part of the list.
  list.Slots[10] = Ch(99);
  EXPECT_FALSE(list.ChannelExists(99));

  EXPECT_FALSE(list.DeleteChannel(204));
  EXPECT_FALSE(list.DeleteChannel(203));
  EXPECT_FALSE(list.DeleteChannel(100));
  EXPECT_EQ(Numbers(list), (std::vector<int>{5, 203, 7, 204}));
  EXPECT_TRUE(list.DeleteChannel(5));
  EXPECT_EQ(Numbers(list), (std::vector<int>{203, 7, 204}));

  ChannelList full;
  for (int n = 1; n <= 204; ++n) ASSERT_TRUE(full.AppendChannel(Ch(n)));
  EXPECT_FALSE(full.AppendChannel(Ch(1)));
  EXPECT_EQ(full.ChannelCount, 204);
  // A count out of range from a bad file never reads past the slots.
  full.ChannelCount = 999;
  EXPECT_EQ(full.Used().size(), 204u);
  full.ChannelCount = -3;
  EXPECT_TRUE(full.Used().empty());
}

TEST(ChannelList, ValidChannelRef) {
  struct Case {
    std::vector<int> list;
    int ref, out;
  } cases[] = {
      {{3, 9, 203, 204}, 9, 9}, {{3, 9, 203, 204}, 5, 9},  // last ordinary channel in list order
      {{9, 3, 201, 204}, 5, 3}, {{201, 202, 203, 204}, 5, 0},  // no ordinary channel
      {{3, 201}, 201, 3},                                      // special numbers are not references
  };
  for (const auto& c : cases) EXPECT_EQ(Make(c.list).ValidChannelRef(c.ref), c.out) << c.ref;
}

TEST(ChannelList, ClipboardCommands) {
  ChannelList list = Make({203, 204});
  list.AppendChannel(Ch(4, "FOUR"));
  ChannelClipboard clip;

  // Paste before any copy or cut does nothing.
  EXPECT_FALSE(ChannelCommand(list, clip, "V", 10));
  EXPECT_FALSE(list.ChannelExists(10));

  // Copy then paste onto an empty row: a new channel of that number, other fields kept.
  EXPECT_FALSE(ChannelCommand(list, clip, "C", 4));
  EXPECT_TRUE(ChannelCommand(list, clip, "V", 10));
  ASSERT_TRUE(list.ChannelExists(10));
  EXPECT_EQ(list.Find(10)->Name.Clean(), "FOUR");
  EXPECT_EQ(list.Find(10)->Number, 10);

  // Paste onto an existing row overwrites it and keeps its number and place.
  EXPECT_TRUE(ChannelCommand(list, clip, "V", 203));
  EXPECT_EQ(list.FindChannel(203), 0);
  EXPECT_EQ(list.Find(203)->Name.Clean(), "FOUR");

  // Copying an empty row pastes emptiness: deletes, except CALL and VFO.
  ChannelCommand(list, clip, "C", 50);
  EXPECT_EQ(clip.Record.InUse, 0);
  EXPECT_EQ(clip.Record.Name.Clean(), "FOUR");  // other fields keep their old values
  ChannelCommand(list, clip, "V", 10);
  EXPECT_FALSE(list.ChannelExists(10));
  ChannelCommand(list, clip, "V", 204);
  EXPECT_TRUE(list.ChannelExists(204));

  // Cut deletes ordinary channels, but only copies CALL and VFO.
  EXPECT_TRUE(ChannelCommand(list, clip, "X", 4));
  EXPECT_FALSE(list.ChannelExists(4));
  EXPECT_EQ(clip.Record.Name.Clean(), "FOUR");
  ChannelCommand(list, clip, "X", 204);
  EXPECT_TRUE(list.ChannelExists(204));
  EXPECT_EQ(clip.Record.Number, 204);

  // A record with InUse 0 in the list is not copied.
  ChannelRecord off = Ch(6);
  off.InUse = 0;
  list.AppendChannel(off);
  ChannelCommand(list, clip, "C", 6);
  EXPECT_EQ(clip.Record.InUse, 0);

  EXPECT_TRUE(ChannelCommand(list, clip, "D", 203));
  EXPECT_TRUE(list.ChannelExists(203));
  EXPECT_FALSE(ChannelCommand(list, clip, "Q", 6));
  EXPECT_TRUE(list.ChannelExists(6));
}

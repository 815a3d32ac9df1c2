#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/image/Channels.h"
#include "core/image/Freq.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;

namespace {

AppState Band3() {
  return AppState{};
}  // 136-174 MHz both ways

AppState Band16() {
  AppState a;
  a.BandCode = 16;
  a.RxLow = a.TxLow = 245;
  a.RxHigh = a.TxHigh = 245.9875;
  return a;
}

ChannelRecord Channel(int number, std::string_view rx = "014500000") {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = rx;
  return c;
}

ChannelList ListOf(std::vector<ChannelRecord> channels) {
  ChannelList list;
  for (const auto& c : channels) list.AppendChannel(c);
  return list;
}

// A prepared image holding what PackChannels writes for these channels.
RadioImage Packed(const ChannelList& list, const AppState& app) {
  RadioImage image;
  ClearImage(image);
  CodecContext ctx{nullptr, &app, nullptr};
  EXPECT_TRUE(PackChannels(list, image, ctx));
  return image;
}

ChannelList Unpacked(RadioImage& image, const AppState& app) {
  ChannelList list;
  CodecContext ctx{nullptr, &app, nullptr};
  UnpackChannels(list, image, ctx);
  return list;
}

std::vector<int> Numbers(const ChannelList& list) {
  std::vector<int> out;
  for (const auto& c : list.Used()) out.push_back(c.Number);
  return out;
}

class RecordingSink : public ExportSink {
 public:
  bool on = true;
  std::vector<std::pair<size_t, size_t>> marks;
  std::vector<int> rows;
  bool AreaOn(ExportArea area) const override { return on && area == ExportArea::Channels; }
  void MarkBlocks(size_t address, size_t length) override { marks.emplace_back(address, length); }
  void AddChannelRow(const ChannelRecord& channel) override { rows.push_back(channel.Number); }
};

}  // namespace

TEST(ChannelCodec, RoundTripKeepsEveryImageField) {
  AppState app = Band3();
  ChannelRecord full = Channel(7, "014500625");
  full.Offset = "000060000";
  full.Name = "AB";
  full.Step = 3;
  full.TxInhibit = 1;
  full.Reverse = 1;
  full.Bandwidth = 2;
  full.ToneBInverted = 1;
  full.PttIdDecode = 1;
  full.Shift = 1;
  full.Power = 1;
  full.ToneAInverted = 1;
  full.Compander = 1;
  full.Talkaround = 1;
  full.ToneBType = 2;
  full.ToneAType = 1;
  full.DtmfCode = 15;
  full.ToneBCtcss = 50;
  full.ToneACtcss = 20;
  full.ToneBDcs = 511;
  full.ToneADcs = 19;
  full.Signalling = 3;
  full.TwoToneCode = 31;
  full.FiveToneCode = 99;
  full.BusyLock = 2;
  full.RawByte27 = 0xA5;
  full.DtmfPttId = 3;
  full.FiveTonePttId = 2;
  full.SquelchMode = 4;
  full.Scramble = 1;
  full.PttIdCode = "1A2F0";
  ChannelRecord pa = Channel(201, "013600000");
  pa.ScanSkip = 1;
  ChannelList list = ListOf(
      {DefaultChannel(203, app), full, pa, Channel(202), DefaultChannel(204, app), Channel(1)});

  RadioImage image = Packed(list, app);
  ChannelList back = Unpacked(image, app);
  EXPECT_EQ(Numbers(back), (std::vector<int>{1, 7, 201, 202, 203, 204}));

  ChannelRecord got = *back.Find(7);
  full.ToneBDcsHigh = 1;  // written by the decoder only
  full.Name = std::string_view("AB\0", 3);
  EXPECT_EQ(got, full);
  EXPECT_EQ(back.Find(201)->ScanSkip, 1);
  EXPECT_EQ(back.Find(202)->ScanSkip, 0);
  EXPECT_EQ(back.Find(203)->RxFreq.Raw(), "015500000");

  // The bytes of channel 7 as the radio holds them.
  const size_t a = 0x2000 + 32 * 6;
  const std::vector<uint8_t> expect = {
      0x01, 0x45, 0x00, 0x62, 0x00, 0x00, 0x60, 0x00, 3,   0x7B, 0xD6, 0xF6, 50,   20, 0xFF, 19,
      3,    31,   99,   'A',  'B',  ' ',  ' ',  ' ',  ' ', ' ',  2,    0xA5, 0x23, 4,  1,    0x00};
  EXPECT_EQ(std::vector<uint8_t>(image.bytes.begin() + a, image.bytes.begin() + a + 32), expect);
  EXPECT_EQ(
      std::vector<uint8_t>(image.bytes.begin() + 0x0600 + 30, image.bytes.begin() + 0x0600 + 35),
      (std::vector<uint8_t>{1, 10, 2, 15, 0}));
  // Present: 1, 7, 201, 202 in use; scan-skip bits cleared for all but 201.
  EXPECT_EQ(image[0x0100], 0xBE);
  EXPECT_EQ(image[0x0119], 0xFC);
  EXPECT_EQ(image[0x0120], 0xBE);
  EXPECT_EQ(image[0x0139], 0xFD);
}

TEST(ChannelCodec, OnlyCallAndVfoLeaveTheBitmapsSet) {
  AppState app = Band3();
  ChannelList list;
  NewDefaultChannels(list, app);
  RadioImage image = Packed(list, app);
  for (size_t a = 0x0100; a <= 0x0139; ++a) EXPECT_EQ(image[a], 0xFF) << std::hex << a;

  list.AppendChannel(Channel(1));
  image = Packed(list, app);
  EXPECT_EQ(image[0x0100], 0xFE);
  EXPECT_EQ(image[0x0120], 0xFE);  // ScanSkip 0: scanned

  // A record not in use marks nothing but is still written.
  ChannelRecord off = Channel(9);
  off.InUse = 0;
  off.ScanSkip = 1;
  image = Packed(ListOf({off}), app);
  EXPECT_EQ(image[0x0101], 0xFF);
  EXPECT_EQ(image[0x0121], 0xFF);
  EXPECT_EQ(image[0x2000 + 32 * 8], 0x01);
}

TEST(ChannelCodec, NamesAndPttIdCodes) {
  AppState app = Band3();
  ChannelRecord empty = Channel(1);
  empty.Name = "";
  empty.PttIdCode = "12";
  ChannelRecord named = Channel(2);
  named.Name = "AB";
  named.PttIdCode = "";
  ChannelRecord high = Channel(3);
  high.Name = std::string_view("\xE9t\xE9 7", 5);
  RadioImage image = Packed(ListOf({empty, named, high}), app);

  auto bytes = [&](size_t at, size_t n) {
    return std::vector<uint8_t>(image.bytes.begin() + at, image.bytes.begin() + at + n);
  };
  EXPECT_EQ(bytes(0x2000 + 19, 7), std::vector<uint8_t>(7, 0x00));
  EXPECT_EQ(bytes(0x2020 + 19, 7),
            (std::vector<uint8_t>{0x41, 0x42, 0x20, 0x20, 0x20, 0x20, 0x20}));
  EXPECT_EQ(bytes(0x2040 + 19, 7), (std::vector<uint8_t>{0xE9, 't', 0xE9, ' ', '7', 0x20, 0x20}));
  EXPECT_EQ(bytes(0x0600, 5), (std::vector<uint8_t>{1, 2, 0, 0, 0}));
  EXPECT_EQ(bytes(0x0605, 5), std::vector<uint8_t>(5, 0));

  ChannelList back = Unpacked(image, app);
  EXPECT_EQ(back.Find(1)->Name.Clean(), "");
  EXPECT_EQ(back.Find(2)->Name.Clean(), "AB");
  EXPECT_EQ(back.Find(2)->Name.Raw(), std::string_view("AB\0    ", 7));
  EXPECT_EQ(back.Find(3)->Name.Clean(), "\xE9t\xE9 7");
  EXPECT_EQ(back.Find(1)->PttIdCode.Raw(), "12000");
}

TEST(ChannelCodec, DecodeQuirks) {
  AppState app = Band3();
  RadioImage image = Packed(ListOf({Channel(1), Channel(2, "017200000"), Channel(3),
                                    Channel(4, "010000000"), Channel(5), Channel(6, "018000000")}),
                            app);
  const auto rec = [](int n) { return 0x2000 + 32 * static_cast<size_t>(n - 1); };
  image[rec(1) + 10] = 0x01 | (3 << 2);  // shift code 1, power 3
  image[rec(1) + 9] = 0x80;              // bit 7 is ignored
  image[rec(1) + 5] = 0x05;              // offset 5 MHz
  image[rec(2) + 10] = 0x03;             // "+" ...
  image[rec(2) + 5] = 0x05;              // ... 5 MHz on 172 MHz leaves the band
  image[rec(3) + 10] = 0x02;             // "-" 0.6 MHz on 145 MHz stays
  image[rec(3) + 5] = 0x00;
  image[rec(3) + 6] = 0x60;
  for (int i = 0; i < 4; ++i) image[rec(5) + i] = 0xFF;  // present bit 0, no frequency
  image[0x0600 + 2] = 0x1A;                              // bad PTT-ID digit

  ChannelList list = Unpacked(image, app);
  EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 3, 4, 6, 203, 204}));
  const ChannelRecord& c1 = *list.Find(1);
  EXPECT_EQ(c1.Shift, 0);
  EXPECT_EQ(c1.Power, 2);
  EXPECT_EQ(c1.TxInhibit, 0);
  EXPECT_EQ(c1.Offset.Raw(), "000500000");
  EXPECT_EQ(c1.PttIdCode.Raw(), "00000");
  EXPECT_EQ(image[0x0602], 0x00);  // mended in the image too
  EXPECT_EQ(list.Find(2)->Offset.Clean(), "0");
  EXPECT_EQ(list.Find(3)->Shift, 1);
  EXPECT_EQ(list.Find(3)->Offset.Raw(), "000060000");
  EXPECT_EQ(list.Find(4)->RxFreq.Raw(), "013600000");
  EXPECT_EQ(list.Find(6)->RxFreq.Raw(), "017400000");

  // Shift code 1 is written back as 0.
  RadioImage again = Packed(list, app);
  EXPECT_EQ(again[rec(1) + 10] & 3, 0);
}

TEST(ChannelCodec, DcsHighBit) {
  AppState app = Band3();
  ChannelRecord c = Channel(1);
  c.ToneADcs = 300;  // octal 454
  RadioImage image = Packed(ListOf({c}), app);
  EXPECT_EQ(image[0x2000 + 15], 0x2C);
  EXPECT_EQ(image[0x2000 + 10] & 0x20, 0x20);
  ChannelList back = Unpacked(image, app);
  EXPECT_EQ(back.Find(1)->ToneADcs, 300);
  EXPECT_EQ(back.Find(1)->ToneADcsHigh, 1);
}

TEST(ChannelCodec, Band16FixesTheFirstEightyChannels) {
  AppState app = Band16();
  RadioImage image;
  ClearImage(image);
  // Channels 1-80 need no present bit but valid receive bytes; channel 81 needs its bit.
  for (int n = 1; n <= 81; ++n) {
    const size_t a = 0x2000 + 32 * static_cast<size_t>(n - 1);
    image[a] = 0x01;
    image[a + 1] = 0x45;
  }
  for (int i = 0; i < 4; ++i) image[0x2000 + 32 + i] = 0xFF;  // channel 2 has none
  ChannelList list = Unpacked(image, app);
  EXPECT_EQ(list.Count(), 79u + 2u);  // 1, 3-80, CALL, VFO; 81 has no present bit
  EXPECT_FALSE(list.ChannelExists(2));
  EXPECT_FALSE(list.ChannelExists(81));
  EXPECT_EQ(list.Find(1)->RxFreq.Raw(), "024500000");
  EXPECT_EQ(list.Find(80)->RxFreq.Raw(), "024598750");
  EXPECT_EQ(list.Find(41)->RxFreq.Raw(), "024550000");
  EXPECT_EQ(list.Find(80)->Offset.Clean(), "0");  // 245 + 245 MHz is outside the band

  image[0x0100 + 10] &= static_cast<uint8_t>(~1u);  // channel 81 present
  list = Unpacked(image, app);
  ASSERT_TRUE(list.ChannelExists(81));
  EXPECT_EQ(list.Find(81)->RxFreq.Raw(), "024500000");  // 145 MHz clamped to the band
}

TEST(ChannelCodec, CallAndVfoSurviveEmptyFrequencies) {
  AppState app = Band3();
  ChannelList src;
  NewDefaultChannels(src, app);
  src.Slots[0].RxFreq = "014000000";
  src.Slots[0].Name = "x";
  RadioImage image = Packed(src, app);
  for (int i = 0; i < 4; ++i) {
    image[0x02A0 + i] = 0xFF;  // CALL
    image[0x02C0 + i] = 0x1F;  // VFO: not BCD
  }
  ChannelList list = Unpacked(image, app);
  EXPECT_EQ(Numbers(list), (std::vector<int>{203, 204}));
  EXPECT_EQ(list.Slots[0], DefaultChannel(203, app));
  EXPECT_EQ(list.Slots[1], DefaultChannel(204, app));
}

TEST(ChannelCodec, StartingValuesKeepFieldsTheImageLacks) {
  AppState app = Band3();
  RadioImage image = Packed(ListOf({Channel(3), Channel(9)}), app);
  ChannelList list;
  for (size_t i = 0; i < list.Slots.size(); ++i) {
    list.Slots[i].ListFlag = static_cast<int16_t>(100 + i);
    list.Slots[i].Spare4 = 7;
    list.Slots[i].PttIdFlag = 1;
    list.Slots[i].AdditionalDisplay = 4;
    list.Slots[i].ScanSkip = 1;
    list.Slots[i].Name = "stale";
  }
  CodecContext ctx{nullptr, &app, nullptr};
  UnpackChannels(list, image, ctx);
  ASSERT_EQ(Numbers(list), (std::vector<int>{3, 9, 203, 204}));
  EXPECT_EQ(list.Slots[0].ListFlag, 100);
  EXPECT_EQ(list.Slots[1].ListFlag, 101);
  EXPECT_EQ(list.Slots[1].Spare4, 7);
  EXPECT_EQ(list.Slots[1].PttIdFlag, 1);
  EXPECT_EQ(list.Slots[1].AdditionalDisplay, 4);
  EXPECT_EQ(list.Slots[1].ScanSkip, 0);       // from the bitmap
  EXPECT_EQ(list.Slots[2].ScanSkip, 1);       // CALL has no bit: kept
  EXPECT_EQ(list.Slots[0].Name.Clean(), "");  // overwritten from the image
}

TEST(ChannelCodec, EncodeErrorsStopAtTheChannel) {
  AppState app = Band3();
  struct Case {
    const char* what;
    ChannelRecord bad;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change) {
    ChannelRecord c = Channel(5);
    change(c);
    cases.push_back({what, c});
  };
  add("step", [](ChannelRecord& c) { c.Step = 256; });
  add("negative", [](ChannelRecord& c) { c.Scramble = -1; });
  add("byte 9", [](ChannelRecord& c) { c.Bandwidth = 64; });
  add("dtmf code", [](ChannelRecord& c) { c.DtmfCode = 16; });
  add("frequency", [](ChannelRecord& c) { c.RxFreq = "0145G0000"; });
  add("offset", [](ChannelRecord& c) { c.Offset = "00006Z000"; });
  add("ptt id", [](ChannelRecord& c) { c.PttIdCode = "12G"; });
  add("number", [](ChannelRecord& c) { c.Number = 205; });
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    CodecContext ctx{&prompts, &app, nullptr};
    RadioImage image;
    ClearImage(image);
    EXPECT_FALSE(PackChannels(ListOf({Channel(1), c.bad, Channel(6)}), image, ctx)) << c.what;
    ASSERT_EQ(prompts.shown.size(), 1u) << c.what;
    EXPECT_EQ(prompts.shown[0].text, "SetCommDataByFrequencyError");
    EXPECT_EQ(prompts.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(image[0x0100], 0xFE) << c.what;           // channel 1 was written
    EXPECT_EQ(image[0x2000 + 32 * 4], 0x00) << c.what;  // the bad one was not
    EXPECT_EQ(image[0x2000 + 32 * 5], 0x00) << c.what;  // nor anything after it
  }
}

TEST(ChannelCodec, AutomaticTestRecordsOrdinaryChannels) {
  AppState app = Band3();
  ChannelList list;
  NewDefaultChannels(list, app);
  list.AppendChannel(Channel(10));
  list.AppendChannel(Channel(201));
  list.AppendChannel(Channel(2));
  RecordingSink sink;
  CodecContext ctx{nullptr, &app, &sink};
  RadioImage image;
  ClearImage(image);
  ASSERT_TRUE(PackChannels(list, image, ctx));
  EXPECT_EQ(sink.marks, (std::vector<std::pair<size_t, size_t>>{
                            {0x0100, 0x40}, {0x2000 + 32 * 9, 32}, {0x2000 + 32, 32}}));
  EXPECT_EQ(sink.rows, (std::vector<int>{10, 2}));

  RecordingSink off;
  off.on = false;
  ctx.exportRun = &off;
  ClearImage(image);
  ASSERT_TRUE(PackChannels(list, image, ctx));
  EXPECT_TRUE(off.marks.empty());
  EXPECT_TRUE(off.rows.empty());
}

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/image/PackAll.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

namespace kvx {
namespace {

using test::ScriptedPrompts;

// --- a random full data set, every value inside what its field may hold -----------------------

class Random {
 public:
  explicit Random(uint32_t seed) : rng_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Bit() { return Int(0, 1) == 1; }
  uint8_t Byte() { return static_cast<uint8_t>(Int(0, 255)); }
  std::string From(std::string_view alphabet, int length) {
    std::string s;
    for (int i = 0; i < length; ++i) s += alphabet[Int(0, static_cast<int>(alphabet.size()) - 1)];
    return s;
  }
  std::string Hex(int length) { return From("0123456789ABCDEF", length); }
  std::string Digits(int length) { return From("0123456789", length); }
  // A name that keeps its characters through CleanText: no trailing blank.
  std::string Name(int maxLength) {
    std::string s = From("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-+ ", Int(0, maxLength));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  std::mt19937& Engine() { return rng_; }

 private:
  std::mt19937 rng_;
};

std::string Freq9(int tensOfHz) {
  std::string s = std::to_string(tensOfHz);
  return std::string(9 - s.size(), '0') + s;
}

ChannelRecord RandomChannel(Random& r, int number) {
  ChannelRecord c;
  c.Number = static_cast<int16_t>(number);
  c.InUse = 1;
  c.ScanSkip = number <= 202 ? r.Bit() : 0;
  c.RxFreq = Freq9(250 * r.Int(14000000 / 250, 17000000 / 250));  // 140-170 MHz
  c.Offset = Freq9(250 * r.Int(0, 100000 / 250));                 // up to 1 MHz
  c.Name = r.Name(7);
  c.Step = static_cast<int16_t>(r.Int(0, 8));
  c.TxInhibit = r.Bit();
  c.Bandwidth = static_cast<int16_t>(r.Int(0, 2));
  c.ToneBInverted = r.Bit();
  c.Shift = static_cast<int16_t>(r.Int(0, 2));
  c.Power = static_cast<int16_t>(r.Int(0, 2));
  c.Talkaround = r.Bit();
  c.ToneAInverted = r.Bit();
  c.Compander = r.Bit();
  c.ToneBType = static_cast<int16_t>(r.Int(0, 2));
  c.ToneAType = static_cast<int16_t>(r.Int(0, 2));
  c.ToneBCtcss = static_cast<int16_t>(r.Int(0, 50));
  c.ToneACtcss = static_cast<int16_t>(r.Int(0, 50));
  c.ToneBDcs = static_cast<int16_t>(r.Int(0, 511));
  c.ToneADcs = static_cast<int16_t>(r.Int(0, 511));
  c.ToneBDcsHigh = static_cast<int16_t>(c.ToneBDcs >> 8);
  c.ToneADcsHigh = static_cast<int16_t>(c.ToneADcs >> 8);
  c.Signalling = static_cast<int16_t>(r.Int(0, 3));
  c.TwoToneCode = static_cast<int16_t>(r.Int(0, 31));
  c.FiveToneCode = static_cast<int16_t>(r.Int(0, 99));
  c.Reverse = r.Bit();
  c.Scramble = static_cast<int16_t>(r.Int(0, 10));
  c.DtmfPttId = static_cast<int16_t>(r.Int(0, 3));
  c.FiveTonePttId = static_cast<int16_t>(r.Int(0, 3));
  c.SquelchMode = static_cast<int16_t>(r.Int(0, 4));
  c.DtmfCode = static_cast<int16_t>(r.Int(0, 15));
  c.BusyLock = static_cast<int16_t>(r.Int(0, 2));
  c.RawByte27 = static_cast<int16_t>(r.Byte());
  c.PttIdDecode = r.Bit();
  c.PttIdCode = number <= 200 ? r.Hex(5) : "00000";
  return c;
}

template <size_t N>
void RandomDtmfCode(Random& r, DtmfCode<N>& code, int limit) {
  code.Length = static_cast<int16_t>(r.Int(0, limit));
  code.Text = r.Hex(code.Length);
}

void RandomFiveToneCode(Random& r, FiveToneCode& c, int limit, bool named) {
  c.Empty = r.Bit();
  c.Standard = static_cast<uint8_t>(r.Int(0, 15));
  c.Length = static_cast<uint8_t>(r.Int(0, limit));
  c.TonePeriod = static_cast<uint8_t>(r.Int(3, 10));
  c.Digits = r.Hex(c.Length);
  if (named) c.Name = r.Name(7);
}

void RandomBroadcast(Random& r, BroadcastList& list, int lowUnits, int highUnits) {
  for (size_t i = 0; i < BroadcastList::kEntries; ++i) {
    auto& e = list.entries[i];
    e.InUse = i == BroadcastList::kVfo ? 1 : r.Bit();
    e.Frequency = e.InUse ? r.Int(lowUnits, highUnits) / 10000.0 : 0;
  }
}

void RandomData(Random& r, Workspace& ws) {
  SettingsRecord& s = ws.settings;
  // Channels: CALL, VFO and a random set of the others, in random order.
  std::vector<int> numbers = {kChannelCall, kChannelVfo};
  for (int n = 1; n <= 202; ++n)
    if (r.Int(0, 5) == 0) numbers.push_back(n);
  std::shuffle(numbers.begin(), numbers.end(), r.Engine());
  ws.channels.ChannelCount = 0;
  for (int n : numbers) ws.channels.AppendChannel(RandomChannel(r, n));

  for (uint8_t* b : {&s.Scan.ScanMode,          &s.Scan.PriorityMode,     &s.Scan.RevertChannel,
                     &s.Scan.ScanBackTimeA,     &s.Scan.ScanBackTimeB,    &s.Scan.RxResumeDelay,
                     &s.Scan.TxResumeDelay,     &s.Scan.ScanType,         &s.Scan.ScanEntryTone,
                     &s.Scan.WaitTime,          &s.Scan.PriorityGroup1,   &s.Scan.PriorityChannel1,
                     &s.Scan.PriorityGroup2,    &s.Scan.PriorityChannel2, &s.Alert.EmergencyMode,
                     &s.Alert.IdCodeType,       &s.Alert.IdCode,          &s.Alert.AlarmTime,
                     &s.Alert.TxTime,           &s.Alert.RxTime,          &s.Alert.ChannelSelect,
                     &s.Alert.EmergencyChannel, &s.Alert.Cycle,           &s.Alert.LoneWorkerDetect,
                     &s.Alert.PreAlertTime,     &s.Alert.LoneWorkerTime})
    *b = r.Byte();
  RandomBroadcast(r, s.Fm, 875000, 1080000);
  RandomBroadcast(r, s.Am, 1080000, 1450000);

  OptionSettings& o = s.Options;
  for (int16_t* f : {&o.Option0, &o.Option1, &o.OptionChannel, &o.Option3, &o.Option5, &o.Option7,
                     &o.Option8, &o.ToneFrequency, &o.Option10, &o.Option11, &o.Option12,
                     &o.Option15, &o.Option16, &o.Option17, &o.PowerOnPasswordEnabled,
                     &o.FmDisplayMode, &o.FmWorkChannel, &o.AmWorkChannel})
    *f = r.Byte();
  for (int16_t* f : {&o.Option18, &o.Option14, &o.Switch3, &o.Switch0, &o.Switch1, &o.Switch2,
                     &o.AmDisplayMode, &o.BroadcastBand, &o.BroadcastSwitch})
    *f = r.Bit();
  o.PowerOnMessage = r.Name(7);
  o.PowerOnPassword = r.Digits(r.Int(0, 6));
  s.Switch4 = r.Bit();
  s.Switch6 = r.Bit();
  for (auto& b : s.Ble.bytes) b = r.Byte();
  s.Dtmf.SendTime = static_cast<int16_t>(r.Int(0, 5));

  FiveToneSettings& f = s.FiveTone;
  for (uint8_t* b : {&f.Reserved, &f.DecodeResponse, &f.Standard, &f.TonePeriod, &f.Seconds,
                     &f.Delay1, &f.Delay2, &f.Number})
    *b = r.Byte();
  for (int16_t* v : {&f.FirstDigitDelay, &f.PauseTime, &f.PauseCode, &f.Sidetone, &f.SpecialCall})
    *v = r.Byte();
  f.IdLength = static_cast<uint8_t>(r.Int(0, 5));
  f.OwnId = r.Digits(f.IdLength);
  s.DecodeTime = static_cast<uint8_t>(r.Int(0, 200));
  for (auto& info : f.InfoCodes) {
    info.Function = static_cast<uint8_t>(r.Int(0, 6));
    info.Response = static_cast<uint8_t>(r.Int(0, 2));
    info.Length = static_cast<uint8_t>(r.Int(0, 12));
    info.Digits = r.Hex(info.Length);
    info.Name = r.Name(7);
  }
  RandomFiveToneCode(r, f.PttIdBegin, 24, false);
  RandomFiveToneCode(r, f.PttIdEnd, 24, false);
  for (auto& c : f.Codes) RandomFiveToneCode(r, c, 40, true);

  TwoToneSettings& t = s.TwoTone;
  for (uint16_t* v : {&t.FirstTone, &t.SecondTone, &t.FirstDivider, &t.SecondDivider, &t.ToneA,
                      &t.ToneB, &t.ToneC, &t.ToneD})
    *v = static_cast<uint16_t>(r.Int(0, 65535));
  t.CallFormat = static_cast<uint8_t>(r.Int(0, 14));
  for (uint8_t* b :
       {&t.Time5, &t.DecodeResponse, &t.Sidetone, &t.Time1, &t.Time2, &t.Time3, &t.Time4})
    *b = r.Byte();
  for (auto& e : t.Entries) {
    e.Empty = r.Bit();
    for (uint16_t* v : {&e.RxDivider1, &e.RxDivider2, &e.RxTone1, &e.RxTone2})
      *v = static_cast<uint16_t>(r.Int(0, 65535));
    e.Name = r.Name(7);
  }

  DtmfSettings& d = s.Dtmf;
  for (auto& c : d.Codes) RandomDtmfCode(r, c, 24);
  RandomDtmfCode(r, d.PttIdBegin, 24);
  RandomDtmfCode(r, d.PttIdEnd, 24);
  RandomDtmfCode(r, d.KillCode, 14);
  RandomDtmfCode(r, d.StunCode, 14);
  d.OwnId = r.Digits(3);
  d.Separator = static_cast<int16_t>(r.Int(10, 15));
  d.GroupCode = static_cast<int16_t>(r.Bit() ? r.Int(10, 15) : kDtmfGroupCodeOff);
  d.DecodeResponse = static_cast<int16_t>(r.Int(0, 2));
  d.FirstDigitDelay = static_cast<int16_t>(r.Int(0, 250));
  for (int16_t* v : {&d.PreSendDelay, &d.ResetTime, &d.PostSendDelay, &d.PauseTime, &d.Sidetone})
    *v = r.Byte();

  for (auto& e : s.Book.entries) {
    SetBookText(e.CallId, r.Digits(r.Int(0, 5)));
    SetBookText(e.EntryName, r.Name(7));
  }
}

// --- comparison of what the image carries -----------------------------------------------------

template <size_t N>
std::string Prefix(const FixedText<N>& t, int length) {
  return std::string(t.Raw().substr(0, std::min<size_t>(static_cast<size_t>(length), N)));
}

void ExpectSameChannels(const ChannelList& sent, const ChannelList& got) {
  ASSERT_EQ(got.ChannelCount, sent.ChannelCount);
  for (const auto& s : sent.Used()) {
    SCOPED_TRACE("channel " + std::to_string(s.Number));
    const ChannelRecord* g = got.Find(s.Number);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->RxFreq.Clean(), s.RxFreq.Clean());
    EXPECT_EQ(g->Offset.Clean(), s.Offset.Clean());
    EXPECT_EQ(g->Name.Clean(), s.Name.Clean());
    if (s.Number <= kMemoryChannels) {
      EXPECT_EQ(g->PttIdCode.Clean(), s.PttIdCode.Clean());
    }
    // Every 16-bit field the image carries: the rest comes from the starting record.
    ChannelRecord expect = s;
    expect.RxFreq = g->RxFreq;
    expect.Offset = g->Offset;
    expect.Name = g->Name;
    expect.PttIdCode = g->PttIdCode;
    if (s.Number > 202) expect.ScanSkip = g->ScanSkip;
    EXPECT_EQ(*g, expect);
  }
}

void ExpectSameSettings(const SettingsRecord& s, const SettingsRecord& g) {
  EXPECT_EQ(g.Scan, s.Scan);
  EXPECT_EQ(g.Alert, s.Alert);
  for (const auto* lists : {&s.Fm, &s.Am}) {
    const auto& got = lists == &s.Fm ? g.Fm : g.Am;
    for (size_t i = 0; i < BroadcastList::kEntries; ++i) {
      EXPECT_EQ(got.entries[i].InUse, lists->entries[i].InUse) << "broadcast " << i;
      if (lists->entries[i].InUse) {
        EXPECT_EQ(got.entries[i].Frequency, lists->entries[i].Frequency) << "broadcast " << i;
      }
    }
  }

  OptionSettings o = s.Options;
  o.Option4 = g.Options.Option4;  // data file only
  o.Option6 = g.Options.Option6;
  o.Option13 = g.Options.Option13;
  o.PowerOnMessage = g.Options.PowerOnMessage;
  o.PowerOnPassword = g.Options.PowerOnPassword;
  EXPECT_EQ(g.Options, o);
  EXPECT_EQ(g.Options.PowerOnMessage.Clean(), s.Options.PowerOnMessage.Clean());
  EXPECT_EQ(g.Options.PowerOnPassword.Clean(), s.Options.PowerOnPassword.Clean());
  EXPECT_EQ(g.Switch4, s.Switch4);
  EXPECT_EQ(g.Switch6, s.Switch6);
  EXPECT_EQ(g.Ble, s.Ble);
  EXPECT_EQ(g.Dtmf.SendTime, s.Dtmf.SendTime);

  const FiveToneSettings& f = s.FiveTone;
  const FiveToneSettings& gf = g.FiveTone;
  EXPECT_EQ(g.DecodeTime, s.DecodeTime);
  EXPECT_EQ(std::tie(gf.Reserved, gf.DecodeResponse, gf.Standard, gf.IdLength, gf.TonePeriod,
                     gf.Seconds, gf.Delay1, gf.Delay2, gf.Number, gf.FirstDigitDelay, gf.PauseTime,
                     gf.PauseCode, gf.Sidetone, gf.SpecialCall),
            std::tie(f.Reserved, f.DecodeResponse, f.Standard, f.IdLength, f.TonePeriod, f.Seconds,
                     f.Delay1, f.Delay2, f.Number, f.FirstDigitDelay, f.PauseTime, f.PauseCode,
                     f.Sidetone, f.SpecialCall));
  EXPECT_EQ(Prefix(gf.OwnId, f.IdLength), Prefix(f.OwnId, f.IdLength));
  for (size_t i = 0; i < f.InfoCodes.size(); ++i) {
    const auto &a = f.InfoCodes[i], &b = gf.InfoCodes[i];
    EXPECT_EQ(std::tie(b.Function, b.Response, b.Length),
              std::tie(a.Function, a.Response, a.Length))
        << "info " << i;
    EXPECT_EQ(Prefix(b.Digits, a.Length), Prefix(a.Digits, a.Length)) << "info " << i;
    EXPECT_EQ(b.Name.Clean(), a.Name.Clean()) << "info " << i;
  }
  auto sameCode = [](const FiveToneCode& a, const FiveToneCode& b, bool decodeCode) {
    bool same = a.Standard == b.Standard && a.Length == b.Length && a.TonePeriod == b.TonePeriod &&
                Prefix(a.Digits, a.Length) == Prefix(b.Digits, a.Length);
    if (decodeCode) same = same && a.Empty == b.Empty && a.Name.Clean() == b.Name.Clean();
    return same;
  };
  EXPECT_TRUE(sameCode(f.PttIdBegin, gf.PttIdBegin, false));
  EXPECT_TRUE(sameCode(f.PttIdEnd, gf.PttIdEnd, false));
  for (size_t j = 0; j < f.Codes.size(); ++j)
    EXPECT_TRUE(sameCode(f.Codes[j], gf.Codes[j], true)) << "five-tone code " << j;

  TwoToneSettings t = s.TwoTone;
  for (size_t n = 0; n < t.Entries.size(); ++n) {
    EXPECT_EQ(g.TwoTone.Entries[n].Name.Clean(), t.Entries[n].Name.Clean()) << "entry " << n;
    t.Entries[n].Name = g.TwoTone.Entries[n].Name;
  }
  EXPECT_EQ(g.TwoTone, t);

  const DtmfSettings& d = s.Dtmf;
  const DtmfSettings& gd = g.Dtmf;
  for (size_t k = 0; k < d.Codes.size(); ++k) {
    EXPECT_EQ(gd.Codes[k].Length, d.Codes[k].Length) << "M" << k + 1;
    EXPECT_EQ(gd.Codes[k].Valid(), d.Codes[k].Valid()) << "M" << k + 1;
  }
  for (auto [a, b] : {std::pair(&d.PttIdBegin, &gd.PttIdBegin), {&d.PttIdEnd, &gd.PttIdEnd}}) {
    EXPECT_EQ(b->Length, a->Length);
    EXPECT_EQ(b->Valid(), a->Valid());
  }
  for (auto [a, b] : {std::pair(&d.KillCode, &gd.KillCode), {&d.StunCode, &gd.StunCode}}) {
    EXPECT_EQ(b->Length, a->Length);
    EXPECT_EQ(b->Valid(), a->Valid());
  }
  EXPECT_EQ(std::tie(gd.OwnId, gd.Separator, gd.GroupCode, gd.DecodeResponse, gd.FirstDigitDelay,
                     gd.PreSendDelay, gd.ResetTime, gd.PostSendDelay, gd.PauseTime, gd.Sidetone),
            std::tie(d.OwnId, d.Separator, d.GroupCode, d.DecodeResponse, d.FirstDigitDelay,
                     d.PreSendDelay, d.ResetTime, d.PostSendDelay, d.PauseTime, d.Sidetone));

  for (size_t n = 0; n < s.Book.entries.size(); ++n) {
    EXPECT_EQ(g.Book.entries[n].CallId.Clean(), s.Book.entries[n].CallId.Clean()) << "book " << n;
    EXPECT_EQ(g.Book.entries[n].EntryName.Clean(), s.Book.entries[n].EntryName.Clean())
        << "book " << n;
  }
}

TEST(PackAll, RandomFullDataSetComesBackThroughTheImage) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Random r(seed);
    Workspace sent;
    RandomData(r, sent);
    ScriptedPrompts prompts;
    ClearImage(sent.image);
    ASSERT_TRUE(PackAll(sent, &prompts));
    ASSERT_TRUE(prompts.shown.empty());
    // The encoders that normalise their record (the book is sorted) leave `sent` as encoded.

    Workspace got;
    got.image = sent.image;
    UnpackAll(got, &prompts);
    ExpectSameChannels(sent.channels, got.channels);
    ExpectSameSettings(sent.settings, got.settings);

    // Encoding the decoded data gives the same image again.
    ClearImage(got.image);
    ASSERT_TRUE(PackAll(got, &prompts));
    EXPECT_TRUE(got.image == sent.image);
    if (HasFailure()) break;
  }
}

// --- the PackOk rule -------------------------------------------------------------------------

struct Range {
  size_t first, last;  // inclusive
  const char* area;
};
// The image areas of each encoder.
const Range kFirstGroup[] = {
    {0x03B0, 0x03BF, "scan"},
    {0x03A0, 0x03AF, "alert"},
    {0x03F0, 0x03FF, "FM flags"},
    {0x3900, 0x395F, "FM entries"},
    {0x3960, 0x39CF, "AM entries"},
    {0x0100, 0x013F, "channel bitmaps"},
    {0x0260, 0x02DF, "special channels"},
    {0x0600, 0x09E7, "PTT-ID codes"},
    {0x2000, 0x38FF, "channels"},
};
const Range kOptions[] = {
    {0x0210, 0x023F, "options 1"}, {0x03E0, 0x03EF, "options 2"}, {0x39E0, 0x39E8, "options 3"}};
const Range kLaterGroup[] = {
    {0x0320, 0x033F, "five-tone"},
    {0x0360, 0x037F, "five-tone PTT ID"},
    {0x0390, 0x039C, "five-tone map"},
    {0x0500, 0x05FF, "information codes"},
    {0x0D00, 0x197F, "five-tone codes"},
    {0x0300, 0x031F, "two-tone"},
    {0x0380, 0x0383, "two-tone map"},
    {0x0B00, 0x0CFF, "two-tone entries"},
    {0x02E0, 0x02FF, "DTMF"},
    {0x0340, 0x035F, "DTMF PTT ID"},
    {0x0400, 0x04FF, "DTMF memories"},
    {0x1980, 0x1FFF, "book"},
};

bool SameRange(const RadioImage& a, const RadioImage& b, const Range& r) {
  return std::equal(a.bytes.begin() + r.first, a.bytes.begin() + r.last + 1,
                    b.bytes.begin() + r.first);
}

class PackOkRule : public ::testing::Test {
 protected:
  void SetUp() override {
    Random r(77);
    RandomData(r, data);
    ClearImage(reference.image);
    reference.settings = data.settings;
    reference.channels = data.channels;
    ScriptedPrompts p;
    ASSERT_TRUE(PackAll(reference, &p));
    ClearImage(blank);
  }
  // Encodes `ws` after a fresh ClearImage; returns PackOk.
  bool Pack(Workspace& ws, ScriptedPrompts& p) {
    ClearImage(ws.image);
    return PackAll(ws, &p);
  }
  Workspace data, reference;
  RadioImage blank;
};

TEST_F(PackOkRule, FailingOptionsEncoderStopsTheSecondGroup) {
  Workspace ws = data;
  ws.settings.Options.Option0 = 300;  // does not fit its byte
  ScriptedPrompts p;
  EXPECT_FALSE(Pack(ws, p));
  ASSERT_EQ(p.shown.size(), 1u);
  EXPECT_EQ(p.shown[0].text, "SetCommDataByOptionError");
  EXPECT_EQ(p.shown[0].buttons, Buttons::Ok);
  for (const auto& r : kFirstGroup) EXPECT_TRUE(SameRange(ws.image, reference.image, r)) << r.area;
  for (const auto& r : kLaterGroup) EXPECT_TRUE(SameRange(ws.image, blank, r)) << r.area;
  // The template is not what a full encode leaves there, so the comparison above means something.
  for (const auto& r : kLaterGroup) EXPECT_FALSE(SameRange(reference.image, blank, r)) << r.area;
}

TEST_F(PackOkRule, FailingBroadcastEncoderStillRunsTheFirstFive) {
  Workspace ws = data;
  ws.settings.Fm.entries[3] = {0, 1, 10000.0};  // does not fit 8 digits
  ScriptedPrompts p;
  EXPECT_FALSE(Pack(ws, p));
  ASSERT_EQ(p.shown.size(), 1u);
  EXPECT_EQ(p.shown[0].text, "SetCommDataByFMError");
  for (const auto& r : kFirstGroup) {
    if (std::string_view(r.area).starts_with("FM")) continue;
    EXPECT_TRUE(SameRange(ws.image, reference.image, r)) << r.area;
  }
  for (const auto& r : kOptions) EXPECT_TRUE(SameRange(ws.image, blank, r)) << r.area;
  for (const auto& r : kLaterGroup) EXPECT_TRUE(SameRange(ws.image, blank, r)) << r.area;
}

TEST_F(PackOkRule, FailingChannelEncoderStopsBeforeTheOptions) {
  Workspace ws = data;
  for (auto& c : ws.channels.Used()) {
    if (c.Number > kMemoryChannels) continue;
    c.PttIdCode = "12G45";  // not a hexadecimal digit
    break;
  }
  ScriptedPrompts p;
  EXPECT_FALSE(Pack(ws, p));
  EXPECT_TRUE(p.Saw("SetCommDataByFrequencyError"));
  for (const auto& r : kOptions) EXPECT_TRUE(SameRange(ws.image, blank, r)) << r.area;
}

TEST_F(PackOkRule, FailingFiveToneEncoderLeavesTwoToneDtmfAndBook) {
  Workspace ws = data;
  ws.settings.FiveTone.Codes[50].Length = 4;
  ws.settings.FiveTone.Codes[50].Digits = "12X4";
  ScriptedPrompts p;
  EXPECT_FALSE(Pack(ws, p));
  ASSERT_EQ(p.shown.size(), 1u);
  EXPECT_EQ(p.shown[0].text, "SetCommDataBy5ToneError");
  for (const auto& r : kOptions) EXPECT_TRUE(SameRange(ws.image, reference.image, r)) << r.area;
  for (const auto& r : kLaterGroup) {
    if (std::string_view(r.area).find("five") != std::string_view::npos ||
        std::string_view(r.area) == "information codes")
      continue;
    EXPECT_TRUE(SameRange(ws.image, blank, r)) << r.area;
  }
}

}  // namespace
}  // namespace kvx

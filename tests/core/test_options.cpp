#include <gtest/gtest.h>

#include <string>

#include "core/factory/AutoTest.h"
#include "core/image/CodecContext.h"
#include "core/image/Options.h"
#include "core/image/RadioImage.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;

namespace {

// An image whose every byte is a sentinel, so that bytes left alone show.
RadioImage Sentinel(uint8_t v = 0xAA) {
  RadioImage img;
  img.bytes.fill(v);
  return img;
}

struct Encoded {
  RadioImage image = Sentinel();
  bool ok = false;
};

Encoded Encode(const OptionSettings& o, uint8_t sw4 = 0, uint8_t sw6 = 0, BleOptions ble = {},
               int16_t sendTime = kDefaultSendTime, const CodecContext& ctx = {}) {
  Encoded e;
  e.ok = EncodeOptions(o, sw4, sw6, ble, sendTime, e.image, ctx);
  return e;
}

}  // namespace

TEST(Options, FileRecordsHaveTheirSizesAndRoundTrip) {
  OptionSettings o;
  int16_t v = 1;
  for (int16_t* f :
       {&o.Option0,       &o.Option1,       &o.OptionChannel,   &o.Option3,
        &o.Option5,       &o.Option18,      &o.Option7,         &o.Option8,
        &o.ToneFrequency, &o.Option10,      &o.Option11,        &o.Option12,
        &o.Option14,      &o.Switch3,       &o.Option15,        &o.Switch0,
        &o.Switch1,       &o.Switch2,       &o.Option16,        &o.Option17,
        &o.Option4,       &o.Option6,       &o.Option13,        &o.PowerOnPasswordEnabled,
        &o.AmDisplayMode, &o.BroadcastBand, &o.BroadcastSwitch, &o.FmDisplayMode,
        &o.FmWorkChannel, &o.AmWorkChannel})
    *f = v++;
  o.PowerOnMessage = "Hi";
  o.PowerOnPassword = "1234";
  std::string out;
  ByteWriter w(out);
  o.Write(w);
  ASSERT_EQ(out.size(), OptionSettings::kFileSize);
  // File order: 23 values, the message at 46, the enable flag, the password at 55, 6 values.
  EXPECT_EQ(out.substr(46, 7), "Hi     ");
  EXPECT_EQ(static_cast<uint8_t>(out[53]), 24);
  EXPECT_EQ(out.substr(55, 6), "1234  ");
  EXPECT_EQ(static_cast<uint8_t>(out[61]), 25);
  OptionSettings back;
  ByteReader r(out);
  back.Read(r);
  EXPECT_EQ(back, o);

  BleOptions ble;
  ble.bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::string b;
  ByteWriter bw(b);
  ble.Write(bw);
  ASSERT_EQ(b.size(), BleOptions::kFileSize);
  BleOptions bleBack;
  ByteReader br(b);
  bleBack.Read(br);
  EXPECT_EQ(bleBack, ble);
}

TEST(Options, DefaultsAndResetKeepTheBroadcastGroup) {
  OptionSettings o;
  EXPECT_EQ(o.PowerOnMessage.Clean(), "Welcome");
  EXPECT_EQ(o.PowerOnPassword.Clean(), "");
  o.Option0 = 2;
  o.Switch1 = 1;
  o.PowerOnMessage = "X";
  o.FmWorkChannel = 7;
  o.AmDisplayMode = 1;
  ResetOptions(o);
  EXPECT_EQ(o.Option0, 0);
  EXPECT_EQ(o.Switch1, 0);
  EXPECT_EQ(o.PowerOnMessage.Clean(), "Welcome");
  EXPECT_EQ(o.FmWorkChannel, 7);
  EXPECT_EQ(o.AmDisplayMode, 1);
}

TEST(Options, EncodesBytesBitFieldsAndLeavesTheRadiosBytes) {
  OptionSettings o;
  o.Option0 = 1, o.Option1 = 2, o.OptionChannel = 200, o.Option3 = 7, o.Option5 = 2;
  o.Option18 = 1, o.Option7 = 4, o.Option8 = 31, o.Option15 = 2, o.ToneFrequency = 3;
  o.Option10 = 30, o.Option11 = 3, o.Option12 = 1, o.Option16 = 2, o.Option17 = 1;
  o.PowerOnPasswordEnabled = 1, o.FmDisplayMode = 1, o.FmWorkChannel = 19, o.AmWorkChannel = 5;
  o.Option14 = 1, o.Switch3 = 0, o.BroadcastSwitch = 1, o.BroadcastBand = 1, o.AmDisplayMode = 1;
  o.Switch0 = 1, o.Switch1 = 0, o.Switch2 = 1;
  o.Option4 = 9, o.Option6 = 9, o.Option13 = 9;  // data file only
  BleOptions ble;
  ble.bytes = {9, 8, 7, 6, 5, 4, 3, 2, 1};
  auto e = Encode(o, 1, 1, ble, 4);
  ASSERT_TRUE(e.ok);
  const auto& m = e.image;
  struct {
    size_t at;
    uint8_t v;
  } bytes[] = {
      {0x21A, 1},
      {0x220, 1},
      {0x221, 2},
      {0x222, 200},
      {0x223, 7},
      {0x225, 2},
      {0x226, 1},
      {0x227, 4},
      {0x228, 31},
      {0x229, 0},
      {0x22A, 2},
      {0x22B, 3},
      {0x22C, 30},
      {0x22D, 0},
      {0x22E, 3},
      {0x22F, 1},
      {0x230, 0xD9},
      {0x232, 4},
      {0x233, 0x09},
      {0x234, 2},
      {0x235, 1},
      {0x238, 1},
      {0x23A, 1},
      {0x23B, 19},
      {0x23C, 5},
      {0x39E0, 9},
      {0x39E8, 1},
      // Not the encoder's: left as they were.
      {0x224, 0xAA},
      {0x231, 0xAA},
      {0x236, 0xAA},
      {0x237, 0xAA},
      {0x239, 0xAA},
      {0x23D, 0xAA},
      {0x3E7, 0xAA},
      {0x216, 0xAA},
      {0x39E9, 0xAA},
  };
  for (const auto& b : bytes) EXPECT_EQ(m[b.at], b.v) << std::hex << b.at;
}

TEST(Options, TextsAreSentWithoutTrailingBlanks) {
  struct Case {
    std::string password;  // as the dialog stores it
    std::string message;
    std::array<uint8_t, 6> pw;
    std::array<uint8_t, 7> msg;
  } cases[] = {
      {std::string("1234\0", 5), "Hi     ", {'1', '2', '3', '4', 0, 0}, {'H', 'i', 0, 0, 0, 0, 0}},
      {std::string("\0", 1), "Welcome", {0, 0, 0, 0, 0, 0}, {'W', 'e', 'l', 'c', 'o', 'm', 'e'}},
      {"654321", "A B    ", {'6', '5', '4', '3', '2', '1'}, {'A', ' ', 'B', 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    OptionSettings o;
    o.PowerOnPassword = c.password;
    o.PowerOnMessage = c.message;
    auto e = Encode(o);
    ASSERT_TRUE(e.ok);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(e.image[0x210 + i], c.pw[i]) << c.password;
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(e.image[0x3E0 + i], c.msg[i]) << c.message;

    OptionSettings back;
    uint8_t sw4, sw6;
    BleOptions ble;
    int16_t st;
    DecodeOptions(back, sw4, sw6, ble, st, e.image, {});
    EXPECT_EQ(back.PowerOnPassword.Clean(), o.PowerOnPassword.Clean());
    EXPECT_EQ(back.PowerOnMessage.Clean(), CleanText(c.message));
  }
}

TEST(Options, ErasedAreaDecodesToClampedAndFullValues) {
  RadioImage img = Sentinel(0xFF);
  OptionSettings o;
  o.Option4 = 3;  // not in the image: untouched
  uint8_t sw4 = 0, sw6 = 0;
  BleOptions ble;
  int16_t sendTime = 0;
  DecodeOptions(o, sw4, sw6, ble, sendTime, img, {});
  EXPECT_EQ(sw4, 1);
  EXPECT_EQ(sw6, 1);
  EXPECT_EQ(o.Option18, 0);
  for (int16_t bit : {o.Option14, o.Switch3, o.BroadcastSwitch, o.BroadcastBand, o.AmDisplayMode,
                      o.Switch0, o.Switch1, o.Switch2})
    EXPECT_EQ(bit, 1);
  for (int16_t byte :
       {o.Option0, o.Option1, o.OptionChannel, o.Option3, o.Option5, o.Option7, o.Option8,
        o.Option15, o.ToneFrequency, o.Option10, o.Option11, o.Option12, o.Option16, o.Option17,
        o.PowerOnPasswordEnabled, o.FmDisplayMode, o.FmWorkChannel, o.AmWorkChannel, sendTime})
    EXPECT_EQ(byte, 255);
  EXPECT_EQ(o.PowerOnPassword.Raw(), std::string("\0     ", 6));
  EXPECT_EQ(o.PowerOnMessage.Clean(), "");
  EXPECT_EQ(o.Option4, 3);
  for (uint8_t b : ble.bytes) EXPECT_EQ(b, 0xFF);
}

TEST(Options, DecoderClampsSwitch4AndOption18Only) {
  RadioImage img;
  img[0x21A] = 7;
  img[0x226] = 2;
  img[0x220] = 9;  // out of list: passed through
  OptionSettings o;
  uint8_t sw4, sw6;
  BleOptions ble;
  int16_t st;
  DecodeOptions(o, sw4, sw6, ble, st, img, {});
  EXPECT_EQ(sw4, 1);
  EXPECT_EQ(o.Option18, 0);
  EXPECT_EQ(o.Option0, 9);
  img[0x226] = 1;
  DecodeOptions(o, sw4, sw6, ble, st, img, {});
  EXPECT_EQ(o.Option18, 1);
}

TEST(Options, ValueThatDoesNotFitAByteFailsWithItsMessage) {
  struct Case {
    const char* what;
    void (*spoil)(OptionSettings&, int16_t&);
  } cases[] = {
      {"list index 256", [](OptionSettings& o, int16_t&) { o.Option0 = 256; }},
      {"negative channel", [](OptionSettings& o, int16_t&) { o.OptionChannel = -1; }},
      {"work channel", [](OptionSettings& o, int16_t&) { o.AmWorkChannel = 300; }},
      {"bit-field sum", [](OptionSettings& o, int16_t&) { o.AmDisplayMode = 2; }},
      {"switch byte sum", [](OptionSettings& o, int16_t&) { o.Switch2 = 40; }},
      {"send time", [](OptionSettings&, int16_t& st) { st = 256; }},
  };
  for (const auto& c : cases) {
    OptionSettings o;
    int16_t sendTime = 1;
    c.spoil(o, sendTime);
    test::ScriptedPrompts prompts;
    CodecContext ctx{&prompts};
    auto e = Encode(o, 0, 0, {}, sendTime, ctx);
    EXPECT_FALSE(e.ok) << c.what;
    ASSERT_EQ(prompts.shown.size(), 1u) << c.what;
    EXPECT_EQ(prompts.shown[0].text, "SetCommDataByOptionError");
    EXPECT_EQ(prompts.shown[0].buttons, Buttons::Ok);
  }
}

TEST(Options, ImageFieldsRoundTrip) {
  OptionSettings o;
  o.Option0 = 2, o.Option1 = 1, o.OptionChannel = 201, o.Option3 = 20, o.Option5 = 1;
  o.Option18 = 1, o.Option7 = 3, o.Option8 = 5, o.ToneFrequency = 2, o.Option10 = 11;
  o.Option11 = 2, o.Option12 = 1, o.Option14 = 1, o.Switch3 = 1, o.Option15 = 1, o.Switch0 = 0;
  o.Switch1 = 1, o.Switch2 = 1, o.Option16 = 1, o.Option17 = 1, o.PowerOnMessage = "ABCDEFG";
  o.PowerOnPasswordEnabled = 1, o.PowerOnPassword = "987654", o.AmDisplayMode = 0;
  o.BroadcastBand = 1, o.BroadcastSwitch = 1, o.FmDisplayMode = 1, o.FmWorkChannel = 3;
  o.AmWorkChannel = 4;
  BleOptions ble;
  ble.bytes = {1, 4, 2, 3, 0, 4, 33, 10, 1};
  auto e = Encode(o, 1, 1, ble, 5);
  ASSERT_TRUE(e.ok);
  OptionSettings back;
  uint8_t sw4 = 0, sw6 = 0;
  BleOptions bleBack;
  int16_t st = 0;
  DecodeOptions(back, sw4, sw6, bleBack, st, e.image, {});
  EXPECT_EQ(back, o);
  EXPECT_EQ(sw4, 1);
  EXPECT_EQ(sw6, 1);
  EXPECT_EQ(bleBack, ble);
  EXPECT_EQ(st, 5);
}

TEST(Options, ExportMarksBothBlocksButNeverTheBleBytes) {
  for (bool boxOn : {true, false}) {
    AutoTestState rec;
    rec.ExportAreaFlags.fill(false);
    rec.ExportAreaFlags[static_cast<size_t>(ExportArea::Options)] = boxOn;
    CodecContext ctx{nullptr, nullptr, &rec};
    ASSERT_TRUE(Encode(OptionSettings{}, 0, 0, {}, 1, ctx).ok);
    for (size_t b = 0; b < kBlockCount; ++b) {
      bool expected = boxOn && (b == 0x21 || b == 0x22 || b == 0x23 || b == 0x3E);
      EXPECT_EQ(rec.BlockUsed[b], expected ? 1 : 0) << std::hex << b;
    }
  }
}

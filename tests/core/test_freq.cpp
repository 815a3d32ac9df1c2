#include <gtest/gtest.h>

#include <array>

#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "support/ScriptedPrompts.h"

using namespace kvx;

namespace {

AppState Band(int code, double rxLow, double rxHigh, double txLow, double txHigh) {
  AppState a;
  a.BandCode = static_cast<int16_t>(code);
  a.RxLow = rxLow;
  a.RxHigh = rxHigh;
  a.TxLow = txLow;
  a.TxHigh = txHigh;
  return a;
}

constexpr const char* kMsg2001 = "msg2001";

}  // namespace

TEST(Freq, SnapToGrid) {
  struct Case {
    int band;
    double x, out;
  } cases[] = {
      // Codes 2-7 and 48-55 have a 2.5 kHz base, the others 5 kHz.
      {1, 145.00625, 145.00625},  // 6.25 kHz point
      {1, 145.0070, 145.005},     // rounded down to 5 kHz
      {1, 136.00833, 136.00833},  // 8.33 kHz points stay
      {1, 136.01666, 136.01666},
      {1, 145.02499, 145.025},  // third 8.33 kHz point is the next 25 kHz point
      {1, 145.0026, 145.0},
      {3, 145.0026, 145.0025},
      {3, 145.0070, 145.005},
      {3, 145.02499, 145.025},
      {3, 136.01666, 136.01666},
      {2, 145.0025, 145.0025},
      {2, 145.0026, 145.0025},
      {2, 145.0070, 145.005},
      {7, 145.0075, 145.0075},
      {48, 145.0075, 145.0075},
      {55, 145.0075, 145.0075},
      {56, 145.0075, 145.005},  // offers 2.5K in its steps but snaps with 5 kHz
      {8, 145.0075, 145.005},
      {3, 136.0, 136.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(SnapToGrid(c.x, 136, c.band), c.out) << c.band << " " << c.x;
}

TEST(Freq, CheckRxAndTxFreq) {
  AppState app = Band(3, 136, 174, 136, 174);
  struct Case {
    const char* text;
    bool tx;
    const char* out;
    bool message;
  } cases[] = {
      {"136", false, "136.00000", false},       {"135.99", false, "136.00000", true},
      {"174.00001", false, "174.00000", true},  {"174", false, "174.00000", false},
      {"abc", false, "136.00000", true},        {"", false, "136.00000", true},
      {"145.0070", false, "145.00500", false},  {"145.0026", false, "145.00250", false},
      {"145.02499", false, "145.02500", false}, {" 145.5 ", false, "145.50000", false},
      {"1.5e2", false, "150.00000", false},     {"145.", false, "145.00000", false},
      {"14 5", false, "136.00000", true},
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    BandCheck check{&app, &prompts, kMsg2001};
    EXPECT_EQ(CheckRxFreq(c.text, check), c.out) << c.text;
    EXPECT_EQ(prompts.Saw(kMsg2001), c.message) << c.text;
    if (c.message) {
      EXPECT_EQ(prompts.shown.at(0).icon, Icon::Warning);
    }
  }
  // The transmit check has its own limits; the limit on the error path is not snapped.
  AppState split = Band(3, 136, 174, 144.0033, 148);
  test::ScriptedPrompts prompts;
  BandCheck check{&split, &prompts, kMsg2001};
  EXPECT_EQ(CheckTxFreq("140", check), "144.00330");
  EXPECT_EQ(CheckTxFreq("150", check), "148.00000");
  EXPECT_EQ(CheckTxFreq("146", check), "145.99830");  // the grid starts at the limit
  EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST(Freq, FixOffsetKeepsTransmitInBand) {
  AppState app = Band(3, 136, 174, 136, 174);
  struct Case {
    const char* offset;
    const char* rx;
    int shift;
    const char* out;
    bool message;
  } cases[] = {
      {"10", "170", 2, "004.00000", true},  // 180 is cut to 174
      {"0.6", "145", 1, "000.60000", false},
      {"0.6", "145", 2, "000.60000", false},
      {"10", "140", 1, "004.00000", true},  // 130 is raised to 136
      {"0", "145", 0, "000.00000", false},
      {"", "145", 1, "000.00000", false},
      {"x", "145", 2, "000.00000", false},
      {"0.0070", "145", 2, "000.00500", false},  // the transmit value snaps to the grid
  };
  for (const auto& c : cases) {
    test::ScriptedPrompts prompts;
    BandCheck check{&app, &prompts, kMsg2001};
    EXPECT_EQ(FixOffset(c.offset, c.rx, c.shift, check), c.out) << c.offset << " " << c.rx;
    EXPECT_EQ(prompts.Saw(kMsg2001), c.message) << c.offset << " " << c.rx;
  }
}

TEST(Freq, DisplayAndFreqTextForms) {
  AppState app = Band(3, 136, 174, 136, 174);
  test::ScriptedPrompts prompts;
  BandCheck check{&app, &prompts, kMsg2001};

  EXPECT_EQ(DisplayToFreqText("145.00625"), "014500625");
  EXPECT_EQ(DisplayToFreqText("245.98750"), "024598750");
  EXPECT_EQ(DisplayToFreqText("000.60000"), "000060000");
  EXPECT_EQ(DisplayToFreqText(""), "");

  EXPECT_EQ(FreqTextToDisplay("014500625", check), "145.00625");
  EXPECT_EQ(FreqTextToDisplay("FFFFFFFFF", check), "");
  EXPECT_EQ(FreqTextToDisplay("         ", check), "");
  EXPECT_EQ(FreqTextToDisplay("124500000", check), "1245.00000");
  EXPECT_EQ(OffsetTextToDisplay("000060000", check), "0.60000");
  EXPECT_EQ(OffsetTextToDisplay("0        ", check), "0.00000");  // the decoder's "0"
  EXPECT_EQ(OffsetTextToDisplay("FFFFFFFFF", check), "0.00000");
  EXPECT_EQ(OffsetTextToDisplay("", check), "0.00000");
  EXPECT_TRUE(prompts.shown.empty());

  // A stored text that is not a number is reported and replaced.
  EXPECT_EQ(FreqTextToDisplay("01A500625", check), "136");
  EXPECT_EQ(OffsetTextToDisplay("0006000Z0", check), "0.00000");
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[0].text, "Not IsNumeric");
  EXPECT_EQ(prompts.shown[0].buttons, Buttons::Ok);
}

TEST(Freq, TransmitAndShiftFromTyping) {
  EXPECT_EQ(TransmitFreqDisplay("145.00000", "0.60000", 1), "144.40000");
  EXPECT_EQ(TransmitFreqDisplay("145.00000", "0.60000", 2), "145.60000");
  EXPECT_EQ(TransmitFreqDisplay("145.00000", "0.60000", 0), "145.00000");
  EXPECT_EQ(TransmitFreqDisplay("145.00000", "0.60000", 3), "145.00000");
  EXPECT_EQ(FormatFreqHash(0.5), ".50000");
  EXPECT_EQ(FormatFreqHash0(0.5), "0.50000");
  EXPECT_EQ(FormatFreq000(45.5), "045.50000");

  struct Case {
    const char *rx, *tx;
    int shift;
    const char* offset;
  } cases[] = {
      {"145.00000", "144.40000", 1, "0.60000"},
      {"145.00000", "145.60000", 2, "0.60000"},
      {"145.00000", "145.00000", 0, "0.00000"},
      {"145.00000", "", 0, ""},
      {"", "145.00000", 0, ""},
  };
  for (const auto& c : cases) {
    ShiftAndOffset s = ShiftFromTxFreq(c.rx, c.tx);
    EXPECT_EQ(s.shift, c.shift) << c.rx << " " << c.tx;
    EXPECT_EQ(s.offset, c.offset) << c.rx << " " << c.tx;
  }
}

TEST(Freq, EncodeAndDecodeBcd) {
  struct EncodeCase {
    const char* text;
    bool receive;
    std::array<uint8_t, 4> bytes;
  } encodes[] = {
      {"014500625", true, {0x01, 0x45, 0x00, 0x62}}, {"FFFFFFFFF", true, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"", true, {0xFF, 0xFF, 0xFF, 0xFF}},          {"         ", true, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"", false, {0x00, 0x00, 0x00, 0x00}},         {"0", false, {0x00, 0x00, 0x00, 0x00}},
      {"0006", false, {0x00, 0x06, 0x00, 0x00}},      // padded on the right
      {"01450062X", true, {0x01, 0x45, 0x00, 0x62}},  // the ninth digit is not stored
  };
  for (const auto& c : encodes) {
    std::array<uint8_t, 4> out{0xAA, 0xAA, 0xAA, 0xAA};
    ASSERT_TRUE(EncodeFreq(c.text, c.receive, out)) << c.text;
    EXPECT_EQ(out, c.bytes) << c.text;
  }
  std::array<uint8_t, 4> untouched{0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_FALSE(EncodeFreq("0145G0625", true, untouched));
  EXPECT_EQ(untouched, (std::array<uint8_t, 4>{0xAA, 0xAA, 0xAA, 0xAA}));

  struct DecodeCase {
    std::array<uint8_t, 4> bytes;
    bool receive;
    const char* text;
  } decodes[] = {
      {{0x01, 0x45, 0x00, 0x62}, true, "014500625"},
      {{0x01, 0x18, 0x00, 0x83}, true, "011800833"},
      {{0x01, 0x18, 0x01, 0x66}, true, "011801666"},
      {{0x01, 0x45, 0x00, 0x67}, true, "014500675"},
      {{0x01, 0x45, 0x00, 0x64}, true, "014500640"},
      {{0xFF, 0xFF, 0xFF, 0xFF}, true, "FFFFFFFFF"},
      {{0x01, 0x4A, 0x00, 0x00}, true, "FFFFFFFFF"},
      {{0x00, 0x00, 0x00, 0x00}, false, "000000000"},
      {{0xFF, 0xFF, 0xFF, 0xFF}, false, "000000000"},
  };
  for (const auto& c : decodes) EXPECT_EQ(DecodeFreq(c.bytes, c.receive), c.text) << c.text;
}

TEST(Tones, TablesAndDisplays) {
  EXPECT_EQ(kCtcssTones[0], "62.5");
  EXPECT_EQ(kCtcssTones[20], "127.3");
  EXPECT_EQ(kCtcssTones[50], "254.1");
  EXPECT_EQ(DcsDisplay(19, false), "D023N");
  EXPECT_EQ(DcsDisplay(19, true), "D023I");
  EXPECT_EQ(DcsDisplay(511, false), "D777N");
  EXPECT_EQ(DcsCodeText(492), "754");
  EXPECT_EQ(DcsCodeText(0), "000");
  EXPECT_EQ(ToneSettingDisplay(ToneCtcss, 20, 0, 0, "none"), "127.3");
  EXPECT_EQ(ToneSettingDisplay(ToneCtcss, 51, 0, 0, "none"), "62.5");
  EXPECT_EQ(ToneSettingDisplay(ToneDcs, 0, 600, 1, "none"), "D000I");
  EXPECT_EQ(ToneSettingDisplay(3, 0, 0, 0, "none"), "none");

  for (int code : {2, 7, 48, 56}) {
    auto steps = StepTexts(code);
    ASSERT_EQ(steps.size(), 10u) << code;
    EXPECT_EQ(steps[0], "2.5K");
    EXPECT_EQ(steps[5], "12.5K");
  }
  for (int code : {1, 8, 16, 47, 57}) {
    auto steps = StepTexts(code);
    ASSERT_EQ(steps.size(), 9u) << code;
    EXPECT_EQ(steps[5], "20K");
  }
  EXPECT_EQ(ShiftToImageCode(0), 0);
  EXPECT_EQ(ShiftToImageCode(1), 2);
  EXPECT_EQ(ShiftToImageCode(2), 3);
  EXPECT_EQ(ShiftFromImageCode(1), 0);
  EXPECT_EQ(ShiftFromImageCode(2), 1);
  EXPECT_EQ(ShiftFromImageCode(3), 2);
}

#include <gtest/gtest.h>

#include <set>

#include "core/app/BandTable.h"

using namespace kvx;

TEST(BandTable, CodeOfTextTakesTheFirstRowAndFallsBackTo48) {
  struct Case {
    std::string text;
    int code;
  } cases[] = {
      {"Rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)", 3},  // shared with 7
      {"Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)", 32},   // shared with 35-39
      {"Rx(245 - 245.9875 MHz) Tx(245 - 245.9875 MHz)", 16},
      {"Rx(340 - 399.9950 MHz) Tx(340 - 399.9950 MHz)", 56},
      {"Rx(26 - 45.9950 MHz) Tx(26 - 45.9950 MHz)", 0},
      {"Rx(136 - 174.0000 MHz) Tx(136 - 174.0000 MHz)", 48},    // one decimal short
      {"rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)", 48},  // case counts
      {"", 48},
  };
  for (const auto& c : cases) EXPECT_EQ(BandCodeOfText(c.text), c.code) << c.text;
}

TEST(BandTable, TextOfCodeCoversSharedAndUnknownCodes) {
  const std::string k48 = "Rx(400 - 469.9950 MHz) Tx(400 - 469.9950 MHz)";
  EXPECT_EQ(BandTextOfCode(18), "Rx(200 - 229.9950 MHz) Tx(200 - 229.9950 MHz)");
  EXPECT_EQ(BandTextOfCode(7), BandTextOfCode(3));
  for (int c = 35; c <= 39; ++c) EXPECT_EQ(BandTextOfCode(c), BandTextOfCode(32)) << c;
  for (int c : {8, 15, 24, 31, 40, 47, 57, -1, 1000}) EXPECT_EQ(BandTextOfCode(c), k48) << c;
  // Every row's text leads back to a code with the same text.
  for (const auto& row : BandTable())
    EXPECT_EQ(BandTextOfCode(BandCodeOfText(row.text)), row.text) << row.code;
}

TEST(BandTable, ModelGroupsAndDisplayName) {
  struct Case {
    std::string type;
    int code;
    std::string name;
  } cases[] = {
      {"KP-510", 56, "KV-530"},     {"KP-510", 16, "KV-520"},
      {"KP-510", 3, "KV-510_WQN7"}, {"KP-510", 48, "KV-540"},
      {"KP-510   ", 23, "KV-520"},  {std::string("KP-510\0xx", 9), 39, "KV-530"},
      {"KP-777  ", 3, "KP-777"},    {"kp-510", 3, "kp-510"},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayModelName(c.type, c.code), c.name) << c.code;
  for (const auto& row : BandTable()) EXPECT_EQ(row.group, ModelGroupOfCode(row.code)) << row.code;
}

TEST(BandTable, ModelDialogListsOfferOnlyTheirGroup) {
  ASSERT_EQ(ModelChoices().size(), 3u);
  EXPECT_EQ(ModelChoices()[0], "KV-510_WQN7");
  for (std::string_view model : {"KV-510_WQN7", "KV-520", "KV-530", "KV-540"}) {
    auto codes = BandCodesOfModel(model);
    ASSERT_FALSE(codes.empty()) << model;
    std::set<std::string> texts;
    for (int c : codes) {
      EXPECT_EQ(ModelGroupName(ModelGroupOfCode(c)), model) << c;
      texts.insert(BandTextOfCode(c));
    }
    EXPECT_EQ(texts.size(), codes.size()) << model << ": a text offered twice";
  }
  EXPECT_TRUE(BandCodesOfModel("KP-510").empty());
}

TEST(BandTable, ParseBandLimits) {
  struct Case {
    std::string text;
    BandLimits limits;
  } cases[] = {
      {"Rx(136 - 174.00000 MHz) Tx(144 - 145.99750 MHz)", {136, 174, 144, 145.9975}},
      {"Rx(26 - 45.9950 MHz) Tx(26 - 45.9950 MHz)", {26, 45.995, 26, 45.995}},
      {"Rx(350 - 511.9950 MHz) Tx(400 - 489.9950 MHz)", {350, 511.995, 400, 489.995}},
      {"Rx(245 - 245.9875 MHz) Tx(245 - 245.9875 MHz)", {245, 245.9875, 245, 245.9875}},
      {"garbage", {0, 0, 0, 0}},
      {"Rx(136 - 174.00000 MHz)", {136, 174, 0, 0}},
      {"Rx(136) Tx(144 -", {136, 0, 144, 0}},
  };
  for (const auto& c : cases) {
    BandLimits l = ParseBandLimits(c.text);
    EXPECT_DOUBLE_EQ(l.RxLow, c.limits.RxLow) << c.text;
    EXPECT_DOUBLE_EQ(l.RxHigh, c.limits.RxHigh) << c.text;
    EXPECT_DOUBLE_EQ(l.TxLow, c.limits.TxLow) << c.text;
    EXPECT_DOUBLE_EQ(l.TxHigh, c.limits.TxHigh) << c.text;
  }
  AppState app;
  SetBandText(app, BandTextOfCode(22));
  EXPECT_EQ(app.BandCode, 22);
  EXPECT_DOUBLE_EQ(app.RxLow, 216);
  EXPECT_DOUBLE_EQ(app.TxHigh, 224.995);
}

#include "core/app/BandTable.h"

#include <array>

#include "core/util/Text.h"

namespace kvx {

namespace {

constexpr std::string_view k26 = "Rx(26 - 45.9950 MHz) Tx(26 - 45.9950 MHz)";
constexpr std::string_view k136 = "Rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)";
constexpr std::string_view k300 = "Rx(300 - 399.9950 MHz) Tx(300 - 399.9950 MHz)";
constexpr std::string_view k400 = "Rx(400 - 469.9950 MHz) Tx(400 - 469.9950 MHz)";

constexpr std::array<BandRow, 33> kBands = {{
    {0, k26, 0},
    {1, "Rx(66 - 87.9950 MHz) Tx(66 - 87.9950 MHz)", 0},
    {2, "Rx(136 - 174.00000 MHz) Tx(144 - 145.99750 MHz)", 0},
    {3, k136, 0},
    {4, "Rx(144 - 145.99750 MHz) Tx(144 - 145.99750 MHz)", 0},
    {5, "Rx(136 - 174.00000 MHz) Tx(144 - 147.99750 MHz)", 0},
    {6, "Rx(144 - 147.99750 MHz) Tx(144 - 147.99750 MHz)", 0},
    {7, k136, 0},
    {16, "Rx(245 - 245.9875 MHz) Tx(245 - 245.9875 MHz)", 1},
    {17, "Rx(243 - 247.9950 MHz) Tx(243 - 247.9950 MHz)", 1},
    {18, "Rx(200 - 229.9950 MHz) Tx(200 - 229.9950 MHz)", 1},
    {19, "Rx(230 - 249.9950 MHz) Tx(230 - 249.9950 MHz)", 1},
    {20, "Rx(200 - 299.9950 MHz) Tx(200 - 299.9950 MHz)", 1},
    {21, "Rx(220 - 279.9950 MHz) Tx(220 - 279.9950 MHz)", 1},
    {22, "Rx(216 - 279.9950 MHz) Tx(222 - 224.9950 MHz)", 1},
    {23, "Rx(216 - 279.9950 MHz) Tx(220 - 259.9950 MHz)", 1},
    {32, k300, 2},
    {33, "Rx(350 - 369.9950 MHz) Tx(350 - 369.9950 MHz)", 2},
    {34, "Rx(350 - 389.9950 MHz) Tx(350 - 389.9950 MHz)", 2},
    {35, k300, 2},
    {36, k300, 2},
    {37, k300, 2},
    {38, k300, 2},
    {39, k300, 2},
    {48, k400, 3},
    {49, "Rx(400 - 489.9950 MHz) Tx(400 - 489.9950 MHz)", 3},
    {50, "Rx(430 - 439.9950 MHz) Tx(430 - 439.9950 MHz)", 3},
    {51, "Rx(420 - 449.9950 MHz) Tx(420 - 449.9950 MHz)", 3},
    {52, "Rx(350 - 511.9950 MHz) Tx(400 - 489.9950 MHz)", 3},
    {53, "Rx(440 - 511.9950 MHz) Tx(440 - 511.9950 MHz)", 3},
    {54, "Rx(410 - 429.9950 MHz) Tx(410 - 429.9950 MHz)", 3},
    {55, "Rx(400 - 429.9950 MHz) Tx(400 - 429.9950 MHz)", 3},
    {56, "Rx(340 - 399.9950 MHz) Tx(340 - 399.9950 MHz)", 2},
}};

constexpr std::array<std::string_view, 4> kGroupNames = {"KV-510_WQN7", "KV-520", "KV-530",
                                                         "KV-540"};
// The model-and-band dialog offers no entry for group 1.
constexpr std::array<std::string_view, 3> kModelChoices = {"KV-510_WQN7", "KV-530", "KV-540"};

constexpr int16_t kUnknownBandCode = 48;

// The text between `open` and the next ')' ("" when `open` is missing).
std::string_view RangeAfter(std::string_view text, std::string_view open) {
  size_t at = text.find(open);
  if (at == std::string_view::npos) return {};
  std::string_view rest = text.substr(at + open.size());
  return rest.substr(0, rest.find(')'));
}

// "136 - 174.00000 MHz": low up to the first space, high between the second and third.
void ParseRange(std::string_view range, double& low, double& high) {
  low = LeadingNumber(range.substr(0, range.find(' ')));
  high = 0;
  size_t first = range.find(' ');
  if (first == std::string_view::npos) return;
  size_t second = range.find(' ', first + 1);
  if (second == std::string_view::npos) return;
  std::string_view tail = range.substr(second + 1);
  high = LeadingNumber(tail.substr(0, tail.find(' ')));
}

}  // namespace

std::span<const BandRow> BandTable() {
  return kBands;
}

int16_t BandCodeOfText(std::string_view text) {
  for (const auto& row : kBands)
    if (row.text == text) return row.code;
  return kUnknownBandCode;
}

std::string BandTextOfCode(int code) {
  for (const auto& row : kBands)
    if (row.code == code) return std::string(row.text);
  return std::string(k400);
}

int16_t ModelGroupOfCode(int code) {
  if (code == 56) return 2;
  return static_cast<int16_t>(code / 16);
}

std::string_view ModelGroupName(int group) {
  if (group < 0 || group >= static_cast<int>(kGroupNames.size())) return {};
  return kGroupNames[group];
}

std::string DisplayModelName(std::string_view radioType, int bandCode) {
  std::string type = CleanText(radioType);
  if (type != "KP-510") return type;
  return std::string(ModelGroupName(ModelGroupOfCode(bandCode)));
}

std::span<const std::string_view> ModelChoices() {
  return kModelChoices;
}

std::vector<int16_t> BandCodesOfModel(std::string_view modelName) {
  if (modelName == "KV-510_WQN7") return {2, 3, 4, 5, 6};
  if (modelName == "KV-520") return {16, 17, 18, 19, 20, 21, 22, 23};
  if (modelName == "KV-530") return {56};
  if (modelName == "KV-540") return {48, 49, 50, 51, 52, 53, 54, 55};
  return {};
}

BandLimits ParseBandLimits(std::string_view bandText) {
  BandLimits l;
  ParseRange(RangeAfter(bandText, "Rx("), l.RxLow, l.RxHigh);
  ParseRange(RangeAfter(bandText, "Tx("), l.TxLow, l.TxHigh);
  return l;
}

void ParseBandLimits(AppState& app) {
  BandLimits l = ParseBandLimits(app.BandText);
  app.RxLow = l.RxLow;
  app.RxHigh = l.RxHigh;
  app.TxLow = l.TxLow;
  app.TxHigh = l.TxHigh;
}

void SetBandText(AppState& app, std::string_view text) {
  app.BandText = std::string(text);
  app.BandCode = BandCodeOfText(text);
  ParseBandLimits(app);
}

}  // namespace kvx

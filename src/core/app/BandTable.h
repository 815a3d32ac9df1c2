#pragma once
// The frequency bands: code, exact description text, limits and model group. The texts are
// compared as whole strings, so they stay exactly as listed (their decimals differ).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/AppState.h"

namespace kvx {

struct BandRow {
  int16_t code;
  std::string_view text;
  int16_t group;  // 0 "KV-510_WQN7", 1 "KV-520", 2 "KV-530", 3 "KV-540"
};

// Every row in table order (codes 0-7, 16-23, 32-39, 48-56).
std::span<const BandRow> BandTable();

// The code of the first row whose text equals `text` exactly; 48 when there is none.
int16_t BandCodeOfText(std::string_view text);
// The text of the row with `code`; the text of code 48 when there is none.
std::string BandTextOfCode(int code);
// code / 16, except 56 which is group 2.
int16_t ModelGroupOfCode(int code);
// "KV-510_WQN7", "KV-520", "KV-530", "KV-540"; empty for another group.
std::string_view ModelGroupName(int group);
// The radio type after CleanText when it is not "KP-510"; otherwise the band's group name.
std::string DisplayModelName(std::string_view radioType, int bandCode);

// The model list of the model-and-band dialog, and the band codes offered for a model name
// (empty for a name that is not one of the four).
std::span<const std::string_view> ModelChoices();
std::vector<int16_t> BandCodesOfModel(std::string_view modelName);

struct BandLimits {
  double RxLow = 0, RxHigh = 0, TxLow = 0, TxHigh = 0;
  bool operator==(const BandLimits&) const = default;
};
// "Rx(136 - 174.00000 MHz) Tx(144 - 145.99750 MHz)" gives 136, 174, 144, 145.9975. Parts that
// are missing read as 0.
BandLimits ParseBandLimits(std::string_view bandText);
// Recomputes RxLow..TxHigh from app.BandText.
void ParseBandLimits(AppState& app);
// BandText = text, BandCode = BandCodeOfText(text), then the limits.
void SetBandText(AppState& app, std::string_view text);

}  // namespace kvx

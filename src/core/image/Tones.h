#pragma once
// The value tables of the per-channel tone and radio settings, shared by the channel list, the
// channel edit dialog, the channel codec, the print-out and the export.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvx {

// Tone type of a tone setting: 2 bits in the image, 16-bit in the record.
enum ToneType : int16_t { ToneNone = 0, ToneCtcss = 1, ToneDcs = 2 };
// The dialog list of tone types: language text 1206 for entry 0, then these.
inline constexpr int kToneNoneTextId = 1206;
inline constexpr std::array<std::string_view, 3> kToneTypeTexts = {"", "CTCSS", "DCS"};

// The 51 CTCSS tones in Hz; the record stores the index.
inline constexpr std::array<std::string_view, 51> kCtcssTones = {
    "62.5",  "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",
    "88.5",  "91.5",  "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8",
    "118.8", "123.0", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7",
    "159.8", "162.2", "165.5", "167.9", "171.3", "173.8", "177.3", "179.9", "183.5",
    "186.2", "189.9", "192.8", "196.6", "199.5", "203.5", "206.5", "210.7", "218.1",
    "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
inline constexpr int kCtcssCount = 51;

// DCS codes: the value of three octal digits, 0 to 511; a separate flag marks inversion.
inline constexpr int kDcsCount = 512;
// "000" to "777": the octal text of `code`, three digits. Values outside 0-511 use their low
// nine bits.
std::string DcsCodeText(int code);
// The channel list's form: "D023N", "D023I".
std::string DcsDisplay(int code, bool inverted);

// Shift direction: record 0 none, 1 minus, 2 plus; image 0 none, 2 minus, 3 plus (1 reads as
// none).
enum ShiftDir : int16_t { ShiftNone = 0, ShiftMinus = 1, ShiftPlus = 2 };
inline constexpr int kShiftNoneTextId = 1210;  // dialog entry 0; then "-" and "+"
inline constexpr std::array<std::string_view, 3> kShiftTexts = {"", "-", "+"};
// Image code of a record shift: 0 for 0, shift + 1 otherwise (may exceed 3 for bad values).
int ShiftToImageCode(int shift);
int ShiftFromImageCode(int code);  // 0 and 1 give 0, 2 gives 1, 3 gives 2

// Channel step: the stored value is a position in the band's step list. "2.5K" is offered
// first only for band codes 2-7 and 48-56.
inline constexpr int kDefaultStepPosition = 5;
bool BandOffers2k5Step(int bandCode);
std::vector<std::string_view> StepTexts(int bandCode);

// Bandwidth: 0 25 kHz, 1 20 kHz, 2 12.5 kHz.
inline constexpr std::array<std::string_view, 3> kBandwidthListTexts = {"25K", "20K", "12.5K"};
inline constexpr std::array<std::string_view, 3> kBandwidthDialogTexts = {"25KHz", "20KHz",
                                                                          "12.5KHz"};

// Transmit power 0, 1, 2: language texts in that order.
inline constexpr std::array<int, 3> kPowerTextIds = {1204, 1221, 1205};

// A tone setting as the channel list shows it: the CTCSS text (an index above 50 counts as 0),
// "D" + octal + N/I (a code above 511 counts as 0), or `noneText` for any other type.
std::string ToneSettingDisplay(int type, int ctcss, int dcs, int inverted,
                               std::string_view noneText);

}  // namespace kvx

#pragma once
// Channel frequencies in their three forms: the text the user types and sees ("145.00625"), the
// record's `FreqText` (nine digits in units of 10 Hz, "014500625") and four bytes of packed BCD
// in the image (01 45 00 62). Also the band check with snapping to the channel grid.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/AppState.h"
#include "core/util/Bytes.h"
#include "core/util/Prompts.h"

namespace kvx {

// "FFFFFFFFF": no frequency; a receive frequency with this value marks an empty slot.
inline constexpr std::string_view kNoFreq = "FFFFFFFFF";
inline constexpr std::string_view kZeroFreq = "000000000";
// Units of 10 Hz in one MHz.
inline constexpr int64_t kUnitsPerMHz = 100000;

// What the band check needs: the band and its limits, where to show its messages, and the
// text of language message 2001 (looked up by the caller, who owns the language table).
struct BandCheck {
  const AppState* app = nullptr;
  Prompts* prompts = nullptr;  // null: messages are not shown
  std::string message2001;     // "frequency not a number or outside the band"
};

// A text that reads as a number: blanks around, a sign, digits with at most one point, an
// optional exponent. nullopt otherwise (the empty text included).
std::optional<double> NumericValue(std::string_view text);

// Display forms of a value in MHz: "000.00000" (frequencies), "0.00000" (offsets),
// "#.00000" (computed transmit frequency in the channel list; no leading zero below 1),
// "#0.00000" (the export's transmit cell).
std::string FormatFreq000(double mhz);
std::string FormatOffset0(double mhz);
std::string FormatFreqHash(double mhz);
std::string FormatFreqHash0(double mhz);
// The same from units of 10 Hz, exact.
std::string FormatUnits000(int64_t units);

// Display text ("000.00000") to `FreqText`: empty gives empty; otherwise value x 100000
// rounded, nine digits.
std::string DisplayToFreqText(std::string_view display);
// `FreqText` to "000.00000": empty or "FFFFFFFFF" gives empty; a text that is not a number
// shows "Not IsNumeric" and gives the decimal text of RxLow.
std::string FreqTextToDisplay(std::string_view freqText, const BandCheck& check);
// Offset `FreqText` to "0.00000": empty or "FFFFFFFFF" gives "0.00000"; not a number shows
// "Not IsNumeric" and gives "0.00000".
std::string OffsetTextToDisplay(std::string_view freqText, const BandCheck& check);

// Snapping to the channel grid, on integers of 10 Hz. The base step is 2.5 kHz for band codes
// 2-7 and 48-55, 5 kHz otherwise; 6.25 kHz and 25 kHz points stay, 8.33 kHz points stay (the
// third one becomes the next 25 kHz point), anything else is rounded down to the base grid.
int64_t SnapToGridUnits(int64_t units, int64_t limitUnits, int bandCode);
double SnapToGrid(double mhz, double limitMhz, int bandCode);

// The band check with snapping that every typed frequency goes through; returns "000.00000".
// Out of band or not a number: message 2001 and the nearest limit (RxLow/TxLow when not a
// number), not snapped.
std::string CheckRxFreq(std::string_view text, const BandCheck& check);
std::string CheckTxFreq(std::string_view text, const BandCheck& check);

// Shortens an offset so that the transmit frequency stays in the transmit band and on the
// grid; returns "000.00000". `shift` 1 is minus, 0 and 2 plus.
std::string FixOffset(std::string_view offset, std::string_view rx, int shift,
                      const BandCheck& check);

// The edit dialog's shift and offset from validated receive and transmit texts: shift 0 when
// equal, 1 when rx > tx, 2 when rx < tx; offset |tx - rx| as "0.00000", empty when either
// text is empty.
struct ShiftAndOffset {
  int shift = 0;
  std::string offset;
};
ShiftAndOffset ShiftFromTxFreq(std::string_view rx, std::string_view tx);

// Transmit frequency of a channel for display from its display texts: rx - offset for shift
// 1, rx + offset for 2 (formatted "#.00000"), the receive text itself for any other shift.
std::string TransmitFreqDisplay(std::string_view rxDisplay, std::string_view offsetDisplay,
                                int shift);

// `FreqText` into four image bytes. A receive field that is empty becomes FF FF FF FF; digits
// are padded with "0" to eight and read in pairs as hexadecimal; the tenth-of-100-Hz digit is
// not stored. False (nothing written) when a character is not a hexadecimal digit.
bool EncodeFreq(std::string_view freqText, bool receive, Bytes out4);
// Four image bytes into a `FreqText`. Not all decimal digits: a receive field gives
// "FFFFFFFFF" (the channel is not in use), an offset "000000000". Otherwise a ninth digit is
// rebuilt from the eighth: 2/7 give 5, 3 gives 3, 6 gives 6, others 0.
std::string DecodeFreq(ConstBytes in4, bool receive);
// Value of a nine-digit `FreqText` in units of 10 Hz; nullopt when not all digits.
std::optional<int64_t> FreqTextUnits(std::string_view freqText);
// Nine-digit `FreqText` of a value in units of 10 Hz.
std::string UnitsToFreqText(int64_t units);

}  // namespace kvx

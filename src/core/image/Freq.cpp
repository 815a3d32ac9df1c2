#include "core/image/Freq.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/util/Text.h"

namespace kvx {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int64_t ToUnits(double mhz) {
  return std::llround(mhz * static_cast<double>(kUnitsPerMHz));
}

// "000.00000" (at least `intDigits` integer digits) from units of 10 Hz, exactly.
std::string FormatUnits(int64_t units, size_t intDigits) {
  std::string sign = units < 0 ? "-" : "";
  int64_t a = units < 0 ? -units : units;
  std::string whole = std::to_string(a / kUnitsPerMHz);
  if (whole.size() < intDigits) whole.insert(0, intDigits - whole.size(), '0');
  std::string frac = std::to_string(a % kUnitsPerMHz);
  frac.insert(0, 5 - frac.size(), '0');
  return sign + whole + "." + frac;
}

void ShowNotNumeric(const BandCheck& check) {
  if (check.prompts) check.prompts->Message("Not IsNumeric", Icon::None, Buttons::Ok);
}

void ShowOutOfBand(const BandCheck& check) {
  if (check.prompts) check.prompts->Message(check.message2001, Icon::Warning, Buttons::Ok);
}

// The shortest decimal text of a number ("136", "136.5").
std::string PlainNumber(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string CheckFreq(std::string_view text, double low, double high, const BandCheck& check) {
  std::optional<double> x = NumericValue(text);
  int band = check.app ? check.app->BandCode : 0;
  if (!x || *x < low) {
    ShowOutOfBand(check);
    return FormatFreq000(low);
  }
  if (*x <= high) return FormatUnits000(SnapToGridUnits(ToUnits(*x), ToUnits(low), band));
  ShowOutOfBand(check);
  return FormatFreq000(high);
}

const AppState& AppOf(const BandCheck& check) {
  static const AppState defaults;
  return check.app ? *check.app : defaults;
}

}  // namespace

std::optional<double> NumericValue(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  std::string_view t = text.substr(b, e - b);
  bool negative = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  size_t i = 0, digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      ++digits;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size()) {  // an exponent, then nothing
    if (t[i] != 'e' && t[i] != 'E') return std::nullopt;
    size_t k = i + 1;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
    if (k == t.size()) return std::nullopt;
    for (; k < t.size(); ++k)
      if (!IsDigit(t[k])) return std::nullopt;
  }
  std::string s(t);
  if (s.front() == '.') s.insert(0, "0");
  double v = 0;
  if (std::from_chars(s.data(), s.data() + s.size(), v).ec != std::errc()) return std::nullopt;
  return negative ? -v : v;
}

std::string FormatFreq000(double mhz) {
  return FormatUnits(ToUnits(mhz), 3);
}
std::string FormatOffset0(double mhz) {
  return FormatUnits(ToUnits(mhz), 1);
}
std::string FormatFreqHash0(double mhz) {
  return FormatUnits(ToUnits(mhz), 1);
}
std::string FormatFreqHash(double mhz) {
  std::string s = FormatUnits(ToUnits(mhz), 1);
  // "#" shows no digit for a zero integer part: ".50000".
  size_t at = s.front() == '-' ? 1 : 0;
  if (s.compare(at, 2, "0.") == 0) s.erase(at, 1);
  return s;
}
std::string FormatUnits000(int64_t units) {
  return FormatUnits(units, 3);
}

std::string DisplayToFreqText(std::string_view display) {
  if (display.empty()) return {};
  double v = NumericValue(display).value_or(LeadingNumber(display));
  return UnitsToFreqText(ToUnits(v));
}

std::string FreqTextToDisplay(std::string_view freqText, const BandCheck& check) {
  std::string s = CleanText(freqText);
  if (s.empty() || s == kNoFreq) return {};
  if (!NumericValue(s)) {
    ShowNotNumeric(check);
    return PlainNumber(AppOf(check).RxLow);
  }
  std::string head = s.substr(0, 4), tail = s.size() > 4 ? s.substr(4) : std::string();
  return FormatFreq000(NumericValue(head + "." + tail).value_or(0));
}

std::string OffsetTextToDisplay(std::string_view freqText, const BandCheck& check) {
  std::string s = CleanText(freqText);
  if (s.empty() || s == kNoFreq) return "0.00000";
  if (!NumericValue(s)) {
    ShowNotNumeric(check);
    return "0.00000";
  }
  std::string head = s.substr(0, 4), tail = s.size() > 4 ? s.substr(4) : std::string();
  long whole = static_cast<long>(NumericValue(head).value_or(0));
  return FormatOffset0(NumericValue(std::to_string(whole) + "." + tail).value_or(0));
}

int64_t SnapToGridUnits(int64_t f, int64_t l, int bandCode) {
  const int64_t base =
      ((bandCode >= 2 && bandCode <= 7) || (bandCode >= 48 && bandCode <= 55)) ? 250 : 500;
  const int64_t d = f - l;
  const int64_t h = d % base;
  const int64_t m = d % 625;
  const int64_t g = d % 2500;
  if (h == 0 || m == 0 || g == 0) return f;  // on the base, 6.25 kHz or 25 kHz grid
  if (g % 833 != 0) return f - h;
  // 833, 1666 or 2499: the 8.33 kHz grid; its third point is the next 25 kHz point.
  const int64_t k = std::llround(static_cast<double>(g) / 833.0);
  return k == 3 ? f + 1 : f;
}

double SnapToGrid(double mhz, double limitMhz, int bandCode) {
  return static_cast<double>(SnapToGridUnits(ToUnits(mhz), ToUnits(limitMhz), bandCode)) /
         static_cast<double>(kUnitsPerMHz);
}

std::string CheckRxFreq(std::string_view text, const BandCheck& check) {
  const AppState& app = AppOf(check);
  return CheckFreq(text, app.RxLow, app.RxHigh, check);
}

std::string CheckTxFreq(std::string_view text, const BandCheck& check) {
  const AppState& app = AppOf(check);
  return CheckFreq(text, app.TxLow, app.TxHigh, check);
}

std::string FixOffset(std::string_view offset, std::string_view rx, int shift,
                      const BandCheck& check) {
  std::optional<double> o = NumericValue(offset);
  if (!o) return "000.00000";
  const int64_t r = ToUnits(NumericValue(rx).value_or(0));
  const int64_t ou = ToUnits(*o);
  const bool minus = shift == 1;
  std::string t = CheckTxFreq(FormatUnits000(minus ? r - ou : r + ou), check);
  const int64_t tu = ToUnits(NumericValue(t).value_or(0));
  return FormatUnits000(minus ? r - tu : tu - r);
}

ShiftAndOffset ShiftFromTxFreq(std::string_view rx, std::string_view tx) {
  ShiftAndOffset out;
  if (rx.empty() || tx.empty()) return out;
  const int64_t r = ToUnits(NumericValue(rx).value_or(0));
  const int64_t t = ToUnits(NumericValue(tx).value_or(0));
  out.shift = r == t ? 0 : (r > t ? 1 : 2);
  out.offset = FormatUnits(r > t ? r - t : t - r, 1);
  return out;
}

std::string TransmitFreqDisplay(std::string_view rxDisplay, std::string_view offsetDisplay,
                                int shift) {
  if (shift != 1 && shift != 2) return std::string(rxDisplay);
  const int64_t r = ToUnits(NumericValue(rxDisplay).value_or(0));
  const int64_t o = ToUnits(NumericValue(offsetDisplay).value_or(0));
  return FormatFreqHash(static_cast<double>(shift == 1 ? r - o : r + o) /
                        static_cast<double>(kUnitsPerMHz));
}

bool EncodeFreq(std::string_view freqText, bool receive, Bytes out4) {
  std::string s = CleanText(freqText);
  if (receive && s.empty()) s = "FFFFFFFF";
  while (s.size() < 8) s.push_back('0');
  uint8_t v[4];
  for (size_t i = 0; i < 4; ++i) {
    int hi = HexDigit(s[2 * i]), lo = HexDigit(s[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    v[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  for (size_t i = 0; i < 4; ++i) out4[i] = v[i];
  return true;
}

std::string DecodeFreq(ConstBytes in4, bool receive) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (size_t i = 0; i < 4; ++i) {
    s.push_back(kHex[in4[i] >> 4]);
    s.push_back(kHex[in4[i] & 0x0F]);
  }
  for (char c : s)
    if (!IsDigit(c)) return std::string(receive ? kNoFreq : kZeroFreq);
  // The image keeps 100 Hz; the 10 Hz digit of the 6.25 and 8.33 kHz points comes back here.
  switch (s.back()) {
    case '2':
    case '7':
      s.push_back('5');
      break;
    case '3':
      s.push_back('3');
      break;
    case '6':
      s.push_back('6');
      break;
    default:
      s.push_back('0');
  }
  return s;
}

std::optional<int64_t> FreqTextUnits(std::string_view freqText) {
  std::string s = CleanText(freqText);
  if (s.empty() || s.size() > 18) return std::nullopt;
  for (char c : s)
    if (!IsDigit(c)) return std::nullopt;
  return std::stoll(s);
}

std::string UnitsToFreqText(int64_t units) {
  std::string sign = units < 0 ? "-" : "";
  std::string d = std::to_string(units < 0 ? -units : units);
  if (d.size() < 9) d.insert(0, 9 - d.size(), '0');
  return sign + d;
}

}  // namespace kvx

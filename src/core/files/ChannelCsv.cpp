#include "core/files/ChannelCsv.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <type_traits>

#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

// The ChannelRecord fields the generic columns carry exactly; every other field has a column of
// its own after them.
constexpr std::string_view kCarriedByGeneric[] = {"Number", "Name",     "RxFreq", "Offset",
                                                  "Shift",  "ScanSkip", "Power"};

bool CarriedByGeneric(std::string_view field) {
  return std::find(std::begin(kCarriedByGeneric), std::end(kCarriedByGeneric), field) !=
         std::end(kCarriedByGeneric);
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int64_t ToUnits(double mhz) {
  return std::llround(mhz * static_cast<double>(kUnitsPerMHz));
}

// Units of 10 Hz as MHz with six decimals, the generic form ("145.006250").
std::string Mhz6(int64_t units) {
  const bool negative = units < 0;
  if (negative) units = -units;
  std::string frac = std::to_string((units % kUnitsPerMHz) * 10);
  frac.insert(0, 6 - frac.size(), '0');
  return (negative ? "-" : "") + std::to_string(units / kUnitsPerMHz) + "." + frac;
}

// A FreqText of up to nine digits as units; nullopt when it holds anything else.
std::optional<int64_t> LooseUnits(std::string_view text) {
  const std::string t = CleanText(text);
  if (t.empty() || t.size() > 9) return std::nullopt;
  int64_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// "12.5K" -> 12.5
double StepKhz(std::string_view text) {
  return LeadingNumber(text);
}

std::string StepColumn(int position, int bandCode) {
  const auto steps = StepTexts(bandCode);
  if (position < 0 || position >= static_cast<int>(steps.size())) return {};
  return FormatFixed(StepKhz(steps[static_cast<size_t>(position)]), 2);
}

std::string CtcssText(int index) {
  if (index < 0 || index >= kCtcssCount) index = 9;  // 88.5 Hz, the usual stand-in
  return std::string(kCtcssTones[static_cast<size_t>(index)]);
}

std::string DcsText(int code) {
  return DcsCodeText(code < 0 || code >= kDcsCount ? 19 : code);
}

std::string PowerText(int power) {
  switch (power) {
    case 0:
      return "High";
    case 1:
      return "Middle";
    case 2:
      return "Low";
    default:
      return std::to_string(power);
  }
}

std::string DuplexText(int shift) {
  switch (shift) {
    case ShiftNone:
      return "";
    case ShiftMinus:
      return "-";
    case ShiftPlus:
      return "+";
    default:
      return std::to_string(shift);
  }
}

struct ToneColumns {
  std::string tone, rTone = "88.5", cTone = "88.5", dtcs = "023", polarity = "NN";
};

// Tone setting A decodes (receive), B encodes (transmit).
ToneColumns TonesOf(const ChannelRecord& c) {
  ToneColumns t;
  const int tb = c.ToneBType, ta = c.ToneAType;
  const char pb = c.ToneBInverted ? 'R' : 'N';
  const char pa = c.ToneAInverted ? 'R' : 'N';
  if (tb == ToneCtcss) t.rTone = CtcssText(c.ToneBCtcss);
  if (ta == ToneCtcss) t.cTone = CtcssText(c.ToneACtcss);
  if (tb == ToneDcs)
    t.dtcs = DcsText(c.ToneBDcs);
  else if (ta == ToneDcs)
    t.dtcs = DcsText(c.ToneADcs);
  t.polarity = {tb == ToneDcs ? pb : 'N', ta == ToneDcs ? pa : 'N'};
  if (tb == ToneNone && ta == ToneNone) {
    t.tone = "";
  } else if (tb == ToneCtcss && ta == ToneNone) {
    t.tone = "Tone";
  } else if (tb == ToneCtcss && ta == ToneCtcss && c.ToneBCtcss == c.ToneACtcss) {
    t.tone = "TSQL";
  } else if (tb == ToneDcs && ta == ToneDcs && c.ToneBDcs == c.ToneADcs) {
    t.tone = "DTCS";
  } else {
    t.tone = "Cross";
  }
  return t;
}

// --- import helpers ---------------------------------------------------------------------------

// One row being imported: its fields by column name, and what was found wrong.
class Row {
 public:
  Row(const std::map<std::string, size_t>& columns, const CsvRecord& record)
      : columns_(columns), record_(record) {}

  bool Has(std::string_view column) const { return Index(column).has_value(); }
  // The field as it stands; nullopt when the column is missing.
  std::optional<std::string> Untrimmed(std::string_view column) const {
    const auto i = Index(column);
    if (!i) return std::nullopt;
    return *i < record_.fields.size() ? record_.fields[*i] : std::string();
  }
  // The trimmed field; nullopt when the column is missing.
  std::optional<std::string> Raw(std::string_view column) const {
    auto v = Untrimmed(column);
    if (v) v = Trim(*v);
    return v;
  }
  // The trimmed field; nullopt when the column is missing or the field empty.
  std::optional<std::string> Get(std::string_view column) const {
    auto v = Raw(column);
    if (v && v->empty()) return std::nullopt;
    return v;
  }

  void Refuse(std::string why) {
    if (!refused_) reason_ = std::move(why);
    refused_ = true;
  }
  void Correct(std::string what) { corrections_.push_back(std::move(what)); }
  bool Refused() const { return refused_; }
  const std::string& Reason() const { return reason_; }
  const std::vector<std::string>& Corrections() const { return corrections_; }

 private:
  std::optional<size_t> Index(std::string_view column) const {
    const auto it = columns_.find(Lower(column));
    if (it == columns_.end()) return std::nullopt;
    return it->second;
  }

  const std::map<std::string, size_t>& columns_;
  const CsvRecord& record_;
  bool refused_ = false;
  std::string reason_;
  std::vector<std::string> corrections_;
};

std::string Quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

std::string BandRange(double low, double high) {
  return FormatUnits000(ToUnits(low)) + " - " + FormatUnits000(ToUnits(high)) + " MHz";
}

// A CTCSS tone text to its table index: the exact tone, or the nearest one with a note.
std::optional<int> CtcssIndex(Row& row, std::string_view column, const std::string& text) {
  const auto v = NumericValue(text);
  if (!v) {
    row.Refuse(std::string(column) + " " + Quoted(text) + " is not a tone frequency");
    return std::nullopt;
  }
  int best = 0;
  double bestDistance = 1e9;
  for (int i = 0; i < kCtcssCount; ++i) {
    const double d = std::fabs(LeadingNumber(kCtcssTones[static_cast<size_t>(i)]) - *v);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  if (bestDistance > 0.05)
    row.Correct(std::string(column) + " " + text + " Hz replaced by " +
                std::string(kCtcssTones[static_cast<size_t>(best)]) + " Hz");
  return best;
}

// The tone the mode needs from `column`, which must be given.
std::optional<int> NeededCtcss(Row& row, std::string_view column, std::string_view mode) {
  const auto text = row.Get(column);
  if (!text) {
    row.Refuse(std::string(column) + " is needed for Tone " + std::string(mode));
    return std::nullopt;
  }
  return CtcssIndex(row, column, *text);
}

std::optional<int> NeededDcs(Row& row, std::string_view column, std::string_view mode) {
  const auto text = row.Get(column);
  if (!text) {
    row.Refuse(std::string(column) + " is needed for Tone " + std::string(mode));
    return std::nullopt;
  }
  std::string digits = *text;
  if (!digits.empty() && (digits.front() == 'D' || digits.front() == 'd')) digits.erase(0, 1);
  int v = 0;
  const bool octal =
      !digits.empty() && digits.size() <= 3 &&
      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; });
  if (!octal) {
    row.Refuse(std::string(column) + " " + Quoted(*text) + " is not a DCS code (octal 000 - 777)");
    return std::nullopt;
  }
  for (char c : digits) v = v * 8 + (c - '0');
  return v;
}

// "NN", "NR", "RN", "RR": transmit (B) then receive (A); 'R' is inverted.
std::pair<int, int> Polarity(Row& row) {
  const auto text = row.Get("DtcsPolarity");
  if (!text) return {0, 0};
  const std::string p = ToUpperAscii(*text);
  if (p.size() == 2 && (p[0] == 'N' || p[0] == 'R') && (p[1] == 'N' || p[1] == 'R'))
    return {p[0] == 'R', p[1] == 'R'};
  row.Correct("DtcsPolarity " + Quoted(*text) + " read as NN");
  return {0, 0};
}

void ApplyTone(Row& row, ChannelRecord& c) {
  const auto tone = row.Raw("Tone");
  if (!tone) return;
  const std::string mode = Lower(*tone);
  // Tone setting B when `transmit`, A otherwise.
  auto set = [&](bool transmit, int type, int ctcss, int dcs, int inverted) {
    int16_t& t = transmit ? c.ToneBType : c.ToneAType;
    t = static_cast<int16_t>(type);
    if (type == ToneCtcss) (transmit ? c.ToneBCtcss : c.ToneACtcss) = static_cast<int16_t>(ctcss);
    if (type == ToneDcs) {
      (transmit ? c.ToneBDcs : c.ToneADcs) = static_cast<int16_t>(dcs);
      (transmit ? c.ToneBInverted : c.ToneAInverted) = static_cast<int16_t>(inverted);
    }
  };
  auto setB = [&](int type, int ctcss, int dcs, int inverted) {
    set(true, type, ctcss, dcs, inverted);
  };
  auto setA = [&](int type, int ctcss, int dcs, int inverted) {
    set(false, type, ctcss, dcs, inverted);
  };
  if (mode.empty() || mode == "none" || mode == "off") {
    setA(ToneNone, 0, 0, 0);
    setB(ToneNone, 0, 0, 0);
  } else if (mode == "tone") {
    if (const auto r = NeededCtcss(row, "rToneFreq", "Tone")) {
      setB(ToneCtcss, *r, 0, 0);
      setA(ToneNone, 0, 0, 0);
    }
  } else if (mode == "tsql") {
    if (const auto t = NeededCtcss(row, "cToneFreq", "TSQL")) {
      setB(ToneCtcss, *t, 0, 0);
      setA(ToneCtcss, *t, 0, 0);
    }
  } else if (mode == "dtcs") {
    if (const auto code = NeededDcs(row, "DtcsCode", "DTCS")) {
      const auto [tx, rx] = Polarity(row);
      setB(ToneDcs, 0, *code, tx);
      setA(ToneDcs, 0, *code, rx);
    }
  } else if (mode == "cross") {
    const auto cross = row.Get("CrossMode");
    if (!cross) {
      // Our own files say it in the tone columns that follow; a file without either cannot.
      if (!row.Get("ToneAType") && !row.Get("ToneBType")) {
        row.Correct("Tone Cross without CrossMode: tones left off");
        setA(ToneNone, 0, 0, 0);
        setB(ToneNone, 0, 0, 0);
      }
      return;
    }
    const std::string cm = Lower(*cross);
    const auto arrow = cm.find("->");
    if (arrow == std::string::npos) {
      row.Refuse("CrossMode " + Quoted(*cross) + " is not of the form TX->RX");
      return;
    }
    const std::string tx = cm.substr(0, arrow), rx = cm.substr(arrow + 2);
    const std::pair<int, int> inverted = Polarity(row);
    const int txInv = inverted.first, rxInv = inverted.second;
    auto side = [&](const std::string& kind, bool transmit) {
      if (kind.empty()) {
        set(transmit, ToneNone, 0, 0, 0);
      } else if (kind == "tone") {
        if (const auto t = NeededCtcss(row, transmit ? "rToneFreq" : "cToneFreq", "Cross"))
          set(transmit, ToneCtcss, *t, 0, 0);
      } else if (kind == "dtcs") {
        // A receive code of its own may stand in RxDtcsCode.
        const char* column = !transmit && row.Get("RxDtcsCode") ? "RxDtcsCode" : "DtcsCode";
        if (const auto code = NeededDcs(row, column, "Cross"))
          set(transmit, ToneDcs, 0, *code, transmit ? txInv : rxInv);
      } else {
        row.Refuse("CrossMode " + Quoted(*cross) + " is not made of Tone and DTCS");
      }
    };
    side(tx, true);
    side(rx, false);
  } else {
    row.Refuse("Tone " + Quoted(*tone) + " is not one of \"\", Tone, TSQL, DTCS, Cross");
  }
}

struct BandUnits {
  int64_t rxLow, rxHigh, txLow, txHigh;
};

// Frequency, Duplex and Offset.
void ApplyFrequencies(Row& row, ChannelRecord& c, const AppState& app, const BandUnits& band) {
  const auto freq = row.Get("Frequency");
  if (!freq) return row.Refuse("no Frequency");
  const auto mhz = NumericValue(*freq);
  if (!mhz) return row.Refuse("Frequency " + Quoted(*freq) + " is not a number");
  const int64_t given = ToUnits(*mhz);
  if (given < band.rxLow || given > band.rxHigh)
    return row.Refuse("receive frequency " + FormatUnits000(given) + " is outside the band (" +
                      BandRange(app.RxLow, app.RxHigh) + ")");
  const int64_t rx = SnapToGridUnits(given, band.rxLow, app.BandCode);
  if (rx != given)
    row.Correct("receive frequency " + FormatUnits000(given) + " snapped to " + FormatUnits000(rx));
  c.RxFreq = UnitsToFreqText(rx);

  // The offset column: an offset in MHz, or the transmit frequency for "split".
  std::optional<int64_t> offset;
  if (const auto text = row.Get("Offset")) {
    const auto v = NumericValue(*text);
    if (!v || *v < 0) return row.Refuse("Offset " + Quoted(*text) + " is not a frequency");
    offset = ToUnits(*v);
  }
  const auto duplexText = row.Raw("Duplex");
  if (!duplexText) {
    if (offset) c.Offset = UnitsToFreqText(*offset);
    return;
  }
  const std::string duplex = Lower(*duplexText);
  auto checkTx = [&](int64_t tx) -> std::optional<int64_t> {
    if (tx < band.txLow || tx > band.txHigh) {
      row.Refuse("transmit frequency " + FormatUnits000(tx) + " is outside the band (" +
                 BandRange(app.TxLow, app.TxHigh) + ")");
      return std::nullopt;
    }
    const int64_t snapped = SnapToGridUnits(tx, band.txLow, app.BandCode);
    if (snapped != tx)
      row.Correct("transmit frequency " + FormatUnits000(tx) + " snapped to " +
                  FormatUnits000(snapped));
    return snapped;
  };
  if (duplex == "+" || duplex == "-") {
    const int64_t off = offset.value_or(LooseUnits(c.Offset.Raw()).value_or(0));
    const bool minus = duplex == "-";
    const auto tx = checkTx(minus ? rx - off : rx + off);
    if (!tx) return;
    c.Shift = minus ? ShiftMinus : ShiftPlus;
    c.Offset = UnitsToFreqText(minus ? rx - *tx : *tx - rx);
  } else if (duplex == "split") {
    if (!offset) return row.Refuse("Duplex split needs the transmit frequency in Offset");
    const auto tx = checkTx(*offset);
    if (!tx) return;
    c.Shift = *tx == rx ? ShiftNone : (*tx < rx ? ShiftMinus : ShiftPlus);
    c.Offset = UnitsToFreqText(*tx > rx ? *tx - rx : rx - *tx);
  } else if (duplex.empty() || duplex == "off") {
    c.Shift = ShiftNone;
    if (offset) c.Offset = UnitsToFreqText(*offset);
    if (duplex == "off") c.TxInhibit = 1;
  } else if (const auto n = ParseInteger(duplex); n && *n >= INT16_MIN && *n <= INT16_MAX) {
    c.Shift = static_cast<int16_t>(*n);  // a stored value outside the list, as exported
    if (offset) c.Offset = UnitsToFreqText(*offset);
  } else {
    row.Refuse("Duplex " + Quoted(*duplexText) + " is not one of \"\", +, -, split, off");
  }
}

void ApplyName(Row& row, ChannelRecord& c) {
  // Leading blanks belong to the name; trailing ones are never kept.
  const auto name = row.Untrimmed("Name");
  if (!name) return;
  std::string latin = Utf8ToLatin1(*name);
  if (std::count(latin.begin(), latin.end(), '?') > std::count(name->begin(), name->end(), '?'))
    row.Correct("Name " + Quoted(*name) + ": characters outside Latin-1 became \"?\"");
  if (latin.size() > ChannelRecord{}.Name.Width()) {
    latin.resize(ChannelRecord{}.Name.Width());
    row.Correct("Name cut to " + Quoted(Latin1ToUtf8(latin)));
  }
  c.Name = latin;
}

void ApplyOthers(Row& row, ChannelRecord& c, const AppState& app) {
  if (const auto mode = row.Get("Mode")) {
    const std::string m = Lower(*mode);
    if (m == "fm") {
      c.Bandwidth = 0;
    } else if (m == "nfm") {
      c.Bandwidth = 2;
    } else {
      row.Correct("Mode " + Quoted(*mode) + " is not FM or NFM: FM used");
      c.Bandwidth = 0;
    }
  }
  if (const auto step = row.Get("TStep")) {
    const auto khz = NumericValue(*step);
    const auto steps = StepTexts(app.BandCode);
    int found = -1;
    for (size_t i = 0; khz && i < steps.size(); ++i)
      if (std::fabs(StepKhz(steps[i]) - *khz) < 0.005) found = static_cast<int>(i);
    if (found < 0) {
      row.Correct("TStep " + *step + " kHz is not offered in this band: " +
                  std::string(steps[kDefaultStepPosition]) + " used");
      found = kDefaultStepPosition;
    }
    c.Step = static_cast<int16_t>(found);
  }
  if (const auto skip = row.Raw("Skip")) {
    const std::string s = Lower(*skip);
    if (s.empty()) {
      c.ScanSkip = 0;
    } else if (s == "s") {
      c.ScanSkip = 1;
    } else if (const auto n = ParseInteger(s); n && *n >= INT16_MIN && *n <= INT16_MAX) {
      c.ScanSkip = static_cast<int16_t>(*n);
    } else {
      row.Correct("Skip " + Quoted(*skip) + " read as scanned");
      c.ScanSkip = 0;
    }
  }
  if (const auto power = row.Get("Power")) {
    const std::string p = Lower(*power);
    if (p == "high" || p == "h") {
      c.Power = 0;
    } else if (p == "middle" || p == "mid" || p == "medium" || p == "m") {
      c.Power = 1;
    } else if (p == "low" || p == "l") {
      c.Power = 2;
    } else if (const auto n = ParseInteger(p); n && *n >= INT16_MIN && *n <= INT16_MAX) {
      c.Power = static_cast<int16_t>(*n);
    } else if (p.back() == 'w' && NumericValue(p.substr(0, p.size() - 1))) {
      const double watts = *NumericValue(p.substr(0, p.size() - 1));
      c.Power = watts >= 4 ? 0 : (watts >= 2 ? 1 : 2);
    } else {
      row.Correct("Power " + Quoted(*power) + " read as High");
      c.Power = 0;
    }
  }
}

// The record columns: whole numbers, and PttIdCode as up to five hexadecimal digits.
void ApplyRecordColumns(Row& row, ChannelRecord& c) {
  VisitChannelFields(c, [&](std::string_view name, auto& field) {
    if (CarriedByGeneric(name) || row.Refused()) return;
    const auto text = row.Get(name);
    if (!text) return;
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, int16_t>) {
      const auto n = ParseInteger(*text);
      if (!n || *n < INT16_MIN || *n > INT16_MAX)
        return row.Refuse(std::string(name) + " " + Quoted(*text) + " is not a whole number");
      field = static_cast<int16_t>(*n);
    } else {
      const std::string code = ToUpperAscii(*text);
      const bool hex =
          code.size() <= field.Width() && std::all_of(code.begin(), code.end(), [](char ch) {
            return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F');
          });
      if (!hex)
        return row.Refuse(std::string(name) + " " + Quoted(*text) +
                          " is not a code of hexadecimal digits");
      field = code;
    }
  });
}

// Values the channel codec cannot put into the radio's bytes refuse the row here rather than
// the whole write later.
bool Encodable(const ChannelRecord& c, const AppState& app) {
  auto list = std::make_unique<ChannelList>();
  list->AppendChannel(c);
  auto image = std::make_unique<RadioImage>();
  ClearImage(*image);
  CodecContext ctx;
  ctx.app = &app;
  return PackChannels(*list, *image, ctx);
}

}  // namespace

std::vector<std::string_view> CsvExtraColumns() {
  std::vector<std::string_view> out;
  ChannelRecord c;
  VisitChannelFields(c, [&](std::string_view name, const auto&) {
    if (!CarriedByGeneric(name)) out.push_back(name);
  });
  return out;
}

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::vector<CsvRecord> ParseCsv(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<CsvRecord> out;
  CsvRecord record;
  std::string field;
  bool quoted = false, fieldStarted = false;
  int line = 1;
  record.line = 1;
  auto endField = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  auto endRecord = [&](int nextLine) {
    endField();
    const bool blank = record.fields.size() == 1 && record.fields[0].empty();
    if (!blank) out.push_back(std::move(record));
    record = CsvRecord{};
    record.line = nextLine;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n' || (c == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && !fieldStarted) {
      quoted = true;
      fieldStarted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      endRecord(line);
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (fieldStarted || !field.empty() || !record.fields.empty()) endRecord(line);
  return out;
}

std::string ExportChannelCsv(const ChannelList& channels, const AppState& app) {
  const auto extra = CsvExtraColumns();
  std::string out;
  bool first = true;
  for (std::string_view column : kCsvGenericColumns) {
    out += first ? "" : ",";
    out += column;
    first = false;
  }
  for (std::string_view column : extra) out += "," + std::string(column);
  out += "\n";

  std::vector<const ChannelRecord*> sorted;
  for (const auto& c : channels.Used()) sorted.push_back(&c);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto* a, const auto* b) { return a->Number < b->Number; });
  for (const ChannelRecord* c : sorted) {
    const auto rx = FreqTextUnits(c->RxFreq.Clean());
    const ToneColumns tones = TonesOf(*c);
    const std::vector<std::string> generic = {
        std::to_string(c->Number),
        Latin1ToUtf8(c->Name.Clean()),
        rx ? Mhz6(*rx) : std::string(),
        DuplexText(c->Shift),
        Mhz6(LooseUnits(c->Offset.Raw()).value_or(0)),
        tones.tone,
        tones.rTone,
        tones.cTone,
        tones.dtcs,
        tones.polarity,
        c->Bandwidth == 2 ? "NFM" : "FM",
        StepColumn(c->Step, app.BandCode),
        c->ScanSkip == 1 ? "S" : (c->ScanSkip == 0 ? "" : std::to_string(c->ScanSkip)),
        PowerText(c->Power),
        ""};
    std::string line;
    for (size_t i = 0; i < generic.size(); ++i) line += (i ? "," : "") + CsvField(generic[i]);
    VisitChannelFields(*c, [&](std::string_view name, const auto& field) {
      if (CarriedByGeneric(name)) return;
      if constexpr (std::is_same_v<std::decay_t<decltype(field)>, int16_t>)
        line += "," + std::to_string(field);
      else
        line += "," + CsvField(Latin1ToUtf8(field.Clean()));
    });
    out += line + "\n";
  }
  return out;
}

CsvImportResult ImportChannelCsv(std::string_view csv, const ChannelList& current,
                                 const AppState& app, const CsvImportOptions& options) {
  CsvImportResult result;
  result.channels = current;
  const std::vector<CsvRecord> records = ParseCsv(csv);
  if (records.empty()) {
    result.error = "the file holds no header line";
    return result;
  }
  std::map<std::string, size_t> columns;
  for (size_t i = 0; i < records[0].fields.size(); ++i)
    columns.emplace(Lower(Trim(records[0].fields[i])), i);
  for (const char* needed : {"Location", "Frequency"}) {
    if (!columns.count(Lower(needed))) {
      result.error = std::string("the header line has no ") + needed + " column";
      return result;
    }
  }

  const BandUnits band{ToUnits(app.RxLow), ToUnits(app.RxHigh), ToUnits(app.TxLow),
                       ToUnits(app.TxHigh)};
  std::map<int, int> given;  // channel number -> line
  ChannelList& list = result.channels;
  for (size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    Row row(columns, record);
    ChannelRecord c;
    int number = 0;
    const std::string location = row.Raw("Location").value_or("");
    if (const auto n = ParseInteger(location); n && *n >= 1 && *n <= kChannelSlots) {
      number = static_cast<int>(*n);
      if (const auto it = given.find(number); it != given.end())
        row.Refuse("Location " + location + " is already on line " + std::to_string(it->second));
    } else {
      row.Refuse("Location " + Quoted(location) + " is not a channel number from 1 to 204");
    }
    if (!row.Refused()) {
      const ChannelRecord* existing = list.Find(number);
      c = existing ? *existing : EmptyChannel(number);
      c.Number = static_cast<int16_t>(number);
      c.InUse = 1;
      ApplyName(row, c);
      ApplyFrequencies(row, c, app, band);
    }
    if (!row.Refused()) ApplyTone(row, c);
    if (!row.Refused()) ApplyOthers(row, c, app);
    if (!row.Refused()) ApplyRecordColumns(row, c);
    if (!row.Refused() && !Encodable(c, app))
      row.Refuse("a value does not fit the radio's channel memory");

    if (row.Refused()) {
      ++result.refused;
      result.notes.push_back({record.line, true, row.Reason()});
      continue;
    }
    given.emplace(number, record.line);
    if (ChannelRecord* existing = list.Find(number))
      *existing = c;
    else
      list.AppendChannel(c);
    ++result.imported;
    if (!row.Corrections().empty()) {
      ++result.corrected;
      std::string text;
      for (const auto& note : row.Corrections()) text += (text.empty() ? "" : "; ") + note;
      result.notes.push_back({record.line, false, text});
    }
  }

  if (options.replace) {
    std::vector<int> drop;
    for (const auto& c : list.Used())
      if (c.Number != kChannelCall && c.Number != kChannelVfo && !given.count(c.Number))
        drop.push_back(c.Number);
    for (int n : drop) list.DeleteChannel(n);
  }
  result.ok = true;
  return result;
}

std::string FormatCsvNote(const CsvRowNote& note) {
  return "line " + std::to_string(note.line) + ": " + (note.refused ? "refused: " : "corrected: ") +
         note.text;
}

}  // namespace kvx

#pragma once
// Channels as CSV, for moving them between programmers and spreadsheets.
//
// The first columns are the generic ones radio users exchange between programs:
//   Location, Name, Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode,
//   DtcsPolarity, Mode, TStep, Skip, Power, Comment
// then one column per ChannelRecord field those do not carry exactly (InUse, Step,
// TxInhibit, Bandwidth, the tone settings, ... PttIdCode), so that an export followed by an
// import keeps every field.
//
// Location is the channel number: 1-200 memory channels, 201 PA, 202 PB, 203 CALL, 204 VFO.
// Tone setting A is the decode (receive) tone, B the encode (transmit) tone: "Tone" is B as
// CTCSS alone, "TSQL" the same CTCSS both ways, "DTCS" the same DCS code both ways (polarity
// transmit then receive, "N" normal, "R" inverted), "Cross" anything else (an optional
// CrossMode column says which, on import).
//
// Import checks every row against the band with the frequency rules: a receive or transmit
// frequency outside the band, or a value that is not a number, refuses the row; a frequency
// off the channel grid is snapped and a value outside its list replaced, and the row is
// reported as corrected. Nothing in the working data changes until the caller applies the
// result.
#include <string>
#include <string_view>
#include <vector>

#include "core/app/AppState.h"
#include "core/image/Channels.h"

namespace kvx {

// The generic columns, in file order.
inline constexpr std::string_view kCsvGenericColumns[] = {
    "Location", "Name",         "Frequency", "Duplex", "Offset", "Tone",  "rToneFreq", "cToneFreq",
    "DtcsCode", "DtcsPolarity", "Mode",      "TStep",  "Skip",   "Power", "Comment"};

// The ChannelRecord fields that follow the generic columns, in record order.
std::vector<std::string_view> CsvExtraColumns();

// The whole CSV text (header line and one line per channel in use, by channel number; lines
// end with "\n"). Texts are written as UTF-8. `app` gives the band's step list for TStep.
std::string ExportChannelCsv(const ChannelList& channels, const AppState& app);

struct CsvRowNote {
  int line = 0;          // line of the file where the row starts (the header is line 1)
  bool refused = false;  // false: imported with corrections
  std::string text;      // what was wrong (English, one line)
};

struct CsvImportOptions {
  // Channels 1-202 the file does not give are removed; otherwise they stay as they are. CALL
  // and VFO always stay.
  bool replace = false;
};

struct CsvImportResult {
  bool ok = false;       // false: the file itself cannot be used (see `error`)
  std::string error;     // e.g. no header, no Location or Frequency column
  ChannelList channels;  // the list after the import (the given one when !ok)
  int imported = 0;      // rows taken, corrected ones included
  int corrected = 0;
  int refused = 0;
  std::vector<CsvRowNote> notes;  // in line order
};

// Reads `csv` into a copy of `current`: each row replaces the channel of its Location or adds
// it. A new channel starts as an empty record (EmptyChannel); every column present and not
// empty is then applied, the generic columns first and the record columns after them (so
// these win when both are given). `app` gives the band, its limits and the step list.
CsvImportResult ImportChannelCsv(std::string_view csv, const ChannelList& current,
                                 const AppState& app, const CsvImportOptions& options = {});

// "line 12: refused: ..." / "line 12: corrected: ...".
std::string FormatCsvNote(const CsvRowNote& note);

// The fields of one CSV text (RFC 4180: commas, double quotes, quoted line breaks); a helper
// shared with the tests. Each record comes with the line it starts on.
struct CsvRecord {
  int line = 0;
  std::vector<std::string> fields;
};
std::vector<CsvRecord> ParseCsv(std::string_view text);
// One field quoted when it needs to be.
std::string CsvField(std::string_view text);

}  // namespace kvx

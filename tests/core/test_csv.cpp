// Channel CSV: the round trip of a whole list, files from other programmers, and the rows an
// import refuses or corrects.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "core/app/BandTable.h"
#include "core/files/ChannelCsv.h"
#include "core/files/DataDiff.h"
#include "core/image/Freq.h"
#include "core/image/Tones.h"

namespace kvx {
namespace {

AppState Band3() {
  AppState app;  // KP-510, band 3: 136-174 MHz both ways, 2.5 kHz base step
  return app;
}

// Every field of every channel set to something other than its default, within what the radio
// can hold where the field goes into the image.
std::unique_ptr<ChannelList> FullList(const AppState& app) {
  auto list = std::make_unique<ChannelList>();
  std::mt19937 rng(7);
  auto pick = [&](int lo, int hi) { return static_cast<int16_t>(lo + rng() % (hi - lo + 1)); };
  const char* names[] = {"A,B", "Q\"uote", " lead", "\xE9t\xE9", "7CHARSx", "", "x"};
  for (int n = 1; n <= kChannelSlots; ++n) {
    ChannelRecord c = EmptyChannel(n);
    c.InUse = 1;
    c.ScanSkip = pick(0, 1);
    // 140-170 MHz on the 6.25 kHz grid, so that snapping keeps it.
    const int64_t rx = 14000000 + 625 * pick(0, 4800);
    c.RxFreq = UnitsToFreqText(rx);
    c.Shift = pick(0, 2);
    c.Offset = UnitsToFreqText(625 * pick(0, 320));  // up to 2 MHz: stays in the band
    c.Name = names[n % 7];
    c.Step = pick(0, 9);
    c.TxInhibit = pick(0, 1);
    c.Bandwidth = pick(0, 2);
    c.ToneBInverted = pick(0, 1);
    c.ToneBDcsHigh = pick(0, 1);
    c.ListFlag = pick(-5, 5);
    c.Spare1 = pick(-300, 300);
    c.Spare2 = pick(0, 30000);
    c.Power = pick(0, 2);
    c.Talkaround = pick(0, 1);
    c.ToneAInverted = pick(0, 1);
    c.ToneADcsHigh = pick(0, 1);
    c.Compander = pick(0, 1);
    c.Spare3 = -1;
    c.ToneBType = pick(0, 2);
    c.ToneAType = pick(0, 2);
    c.ToneBCtcss = pick(0, 50);
    c.ToneACtcss = pick(0, 50);
    c.ToneBDcs = pick(0, 511);
    c.ToneADcs = pick(0, 511);
    c.Signalling = pick(0, 3);
    c.Spare4 = 12345;
    c.TwoToneCode = pick(0, 31);
    c.FiveToneCode = pick(0, 99);
    c.PttIdFlag = pick(0, 1);
    c.Reverse = pick(0, 1);
    c.Scramble = pick(0, 8);
    c.DtmfPttId = pick(0, 3);
    c.FiveTonePttId = pick(0, 3);
    c.SquelchMode = pick(0, 4);
    c.DtmfCode = pick(0, 15);
    c.AdditionalDisplay = pick(0, 10);
    c.BusyLock = pick(0, 2);
    c.RawByte27 = pick(0, 255);
    c.PttIdDecode = pick(0, 1);
    c.PttIdCode = n % 3 ? "1A2F9" : "00000";
    if (n == 7) c.Power = 3;     // outside the list: kept as a number
    if (n == 8) c.ScanSkip = 2;  // likewise
    if (n == 9) c.Offset = "0";  // what the decoder leaves after an offset check
    if (n == 10) c.Step = 12;    // beyond the step list
    if (n == 11) c.InUse = 0;    // shown though not in use
    list->AppendChannel(c);
  }
  (void)app;
  return list;
}

std::vector<FieldDifference> ChannelDifferences(const ChannelList& a, const ChannelList& b) {
  return DiffData(DataView{3, nullptr, &a, nullptr}, DataView{3, nullptr, &b, nullptr});
}

TEST(ChannelCsv, RoundTripKeepsEveryFieldOfAFullList) {
  const AppState app = Band3();
  const auto original = FullList(app);
  const std::string csv = ExportChannelCsv(*original, app);

  auto start = std::make_unique<ChannelList>();
  NewDefaultChannels(*start, app);
  const auto result = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app));
  ASSERT_TRUE(result->ok) << result->error;
  EXPECT_EQ(result->imported, kChannelSlots);
  EXPECT_EQ(result->refused, 0);
  for (const auto& n : result->notes) ADD_FAILURE() << FormatCsvNote(n);

  auto differences = ChannelDifferences(*original, result->channels);
  // The one value stored in another form ("0" for "000000000") keeps its value.
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(FormatDifference(differences[0]), "Channel 9 Offset: \"0\" | \"000000000\"");

  // A second round trip of the imported list is exact.
  const std::string again = ExportChannelCsv(result->channels, app);
  EXPECT_EQ(again, csv);
}

TEST(ChannelCsv, ExportFillsTheGenericColumnsAsOtherProgrammersReadThem) {
  const AppState app = Band3();
  auto list = std::make_unique<ChannelList>();
  ChannelRecord c = EmptyChannel(1);
  c.InUse = 1;
  c.RxFreq = "014570000";
  c.Shift = ShiftMinus;
  c.Offset = "000060000";
  c.Name = "Rpt,1";
  c.Step = 5;
  c.ToneBType = ToneDcs;
  c.ToneADcs = c.ToneBDcs = 19;
  c.ToneAType = ToneDcs;
  c.ToneBInverted = 1;
  c.Bandwidth = 2;
  c.ScanSkip = 1;
  c.Power = 2;
  list->AppendChannel(c);
  const std::string csv = ExportChannelCsv(*list, app);
  const auto records = ParseCsv(csv);
  ASSERT_EQ(records.size(), 2u);
  const std::vector<std::string> generic(records[1].fields.begin(), records[1].fields.begin() + 15);
  const std::vector<std::string> expected = {"1",    "Rpt,1", "145.700000", "-",   "0.600000",
                                             "DTCS", "88.5",  "88.5",       "023", "RN",
                                             "NFM",  "12.50", "S",          "Low", ""};
  EXPECT_EQ(generic, expected);
  EXPECT_EQ(records[0].fields.size(), 15 + CsvExtraColumns().size());
}

// A file as another programmer writes it: BOM, CRLF, its own column order, only some columns.
TEST(ChannelCsv, ImportsAGenericFileWithToneAndDuplexColumns) {
  const AppState app = Band3();
  const std::string csv =
      "\xEF\xBB\xBF"
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
      "CrossMode,Mode,TStep,Skip,Power,Comment\r\n"
      "1,Rpt,145.700000,-,0.600000,Tone,88.5,88.5,023,NN,Tone->Tone,FM,12.50,,5.0W,c\r\n"
      "2,Tsql,146.520000,,0.000000,TSQL,88.5,100.0,023,NN,Tone->Tone,NFM,5.00,S,1.0W,\r\n"
      "3,Dcs,147.000000,+,0.600000,DTCS,88.5,88.5,754,NR,Tone->Tone,FM,25.00,,Low,\r\n"
      "4,Split,150.000000,split,155.500000,,88.5,88.5,023,NN,Tone->Tone,FM,12.50,,High,\r\n"
      "5,RxOnly,160.000000,off,0.000000,,88.5,88.5,023,NN,Tone->Tone,FM,12.50,,High,\r\n"
      "6,Cross,145.000000,,0.000000,Cross,100.0,123.0,047,RN,Tone->DTCS,FM,12.50,,Mid,\r\n";
  auto start = std::make_unique<ChannelList>();
  NewDefaultChannels(*start, app);
  const auto r = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app));
  ASSERT_TRUE(r->ok) << r->error;
  for (const auto& n : r->notes) ADD_FAILURE() << FormatCsvNote(n);
  ASSERT_EQ(r->imported, 6);
  ASSERT_EQ(r->channels.Count(), 8u);  // CALL and VFO stay

  struct Expect {
    int number;
    const char* rx;
    const char* offset;
    int shift, txInhibit;
    int bType, bCtcss, bDcs, bInv;
    int aType, aCtcss, aDcs, aInv;
    int bandwidth, step, skip, power;
  };
  // Band 3 offers 2.5 kHz first: 5.00 kHz is position 1, 12.50 position 5, 25.00 position 7.
  const Expect expect[] = {
      {1, "014570000", "000060000", 1, 0, 1, 9, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0},
      {2, "014652000", "000000000", 0, 0, 1, 13, 0, 0, 1, 13, 0, 0, 2, 1, 1, 2},
      {3, "014700000", "000060000", 2, 0, 2, 0, 492, 0, 2, 0, 492, 1, 0, 7, 0, 2},
      {4, "015000000", "000550000", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0},
      {5, "016000000", "000000000", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0},
      {6, "014500000", "000000000", 0, 0, 1, 13, 0, 0, 2, 0, 39, 0, 0, 5, 0, 1},
  };
  for (const auto& e : expect) {
    SCOPED_TRACE(e.number);
    const ChannelRecord* c = r->channels.Find(e.number);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->InUse, 1);
    EXPECT_EQ(c->RxFreq.Clean(), e.rx);
    EXPECT_EQ(c->Offset.Clean(), e.offset);
    EXPECT_EQ(c->Shift, e.shift);
    EXPECT_EQ(c->TxInhibit, e.txInhibit);
    EXPECT_EQ(c->ToneBType, e.bType);
    if (e.bType == ToneCtcss) {
      EXPECT_EQ(c->ToneBCtcss, e.bCtcss);
    }
    if (e.bType == ToneDcs) {
      EXPECT_EQ(c->ToneBDcs, e.bDcs);
      EXPECT_EQ(c->ToneBInverted, e.bInv);
    }
    EXPECT_EQ(c->ToneAType, e.aType);
    if (e.aType == ToneCtcss) {
      EXPECT_EQ(c->ToneACtcss, e.aCtcss);
    }
    if (e.aType == ToneDcs) {
      EXPECT_EQ(c->ToneADcs, e.aDcs);
      EXPECT_EQ(c->ToneAInverted, e.aInv);
    }
    EXPECT_EQ(c->Bandwidth, e.bandwidth);
    EXPECT_EQ(c->Step, e.step);
    EXPECT_EQ(c->ScanSkip, e.skip);
    EXPECT_EQ(c->Power, e.power);
  }
  EXPECT_EQ(r->channels.Find(1)->Name.Clean(), "Rpt");
}

TEST(ChannelCsv, ReportsRefusedAndCorrectedRowsByLineAndKeepsTheRest) {
  AppState app = Band3();
  // Rows 3 and 4 of the file are one record: a quoted name across a line break.
  const std::string csv =
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,DtcsCode,TStep,Power,Step\n"
      "1,Ok,145.000000,,0,,,,,,\n"
      "2,\"Tw\n"
      "o\",145.0070,,0,,,,,,\n"               // line 3: snapped
      "3,Far,446.000000,,0,,,,,,\n"           // line 5: outside the band
      "4,Tx,173.500000,+,1.000000,,,,,,\n"    // line 6: transmit outside the band
      "205,Num,145.000000,,0,,,,,,\n"         // line 7: no such channel
      "1,Again,146.000000,,0,,,,,,\n"         // line 8: number already given
      "5,NaN,abc,,0,,,,,,\n"                  // line 9: not a number
      "6,Tone,145.000000,,0,Tone,88.4,,,,\n"  // line 10: nearest tone
      "7,Dcs,145.000000,,0,DTCS,,089,,,\n"    // line 11: not an octal code
      "8,Step,145.000000,,0,,,,7.5,,\n"       // line 12: step not offered
      "9,Bits,145.000000,,0,,,,,,300\n"       // line 13: does not fit the radio
      "10,Pow,145.000000,,0,,,,,x,\n"         // line 14: read as High
      "\n"
      "11,Toolongname,145.000000,,0,,,,,,\n";  // line 16: name cut
  auto start = std::make_unique<ChannelList>();
  NewDefaultChannels(*start, app);
  const auto r = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app));
  ASSERT_TRUE(r->ok) << r->error;

  std::vector<std::string> notes;
  for (const auto& n : r->notes) notes.push_back(FormatCsvNote(n));
  const std::vector<std::string> expected = {
      "line 3: corrected: receive frequency 145.00700 snapped to 145.00500",
      "line 5: refused: receive frequency 446.00000 is outside the band (136.00000 - 174.00000 "
      "MHz)",
      "line 6: refused: transmit frequency 174.50000 is outside the band (136.00000 - 174.00000 "
      "MHz)",
      "line 7: refused: Location \"205\" is not a channel number from 1 to 204",
      "line 8: refused: Location 1 is already on line 2",
      "line 9: refused: Frequency \"abc\" is not a number",
      "line 10: corrected: rToneFreq 88.4 Hz replaced by 88.5 Hz",
      "line 11: refused: DtcsCode \"089\" is not a DCS code (octal 000 - 777)",
      "line 12: corrected: TStep 7.5 kHz is not offered in this band: 12.5K used",
      "line 13: refused: a value does not fit the radio's channel memory",
      "line 14: corrected: Power \"x\" read as High",
      "line 16: corrected: Name cut to \"Toolong\"",
  };
  EXPECT_EQ(notes, expected);
  EXPECT_EQ(r->refused, 7);
  EXPECT_EQ(r->corrected, 5);
  EXPECT_EQ(r->imported, 6);
  EXPECT_EQ(r->channels.Find(1)->Name.Clean(), "Ok");
  EXPECT_EQ(r->channels.Find(2)->Name.Clean(), "Tw\no");
  EXPECT_EQ(r->channels.Find(2)->RxFreq.Clean(), "014500500");
  for (int refused : {3, 4, 5, 7, 9}) EXPECT_FALSE(r->channels.ChannelExists(refused)) << refused;
}

TEST(ChannelCsv, ReplaceRemovesTheChannelsTheFileLeavesOutButNeverCallOrVfo) {
  const AppState app = Band3();
  auto start = std::make_unique<ChannelList>();
  NewDefaultChannels(*start, app);
  for (int n : {1, 2, 201}) {
    ChannelRecord c = DefaultChannel(n, app);
    start->AppendChannel(c);
  }
  const std::string csv = "Location,Frequency\n2,150.0\n";
  CsvImportOptions options;
  options.replace = true;
  const auto r = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app, options));
  ASSERT_TRUE(r->ok);
  std::vector<int> numbers;
  for (const auto& c : r->channels.Used()) numbers.push_back(c.Number);
  EXPECT_EQ(numbers, (std::vector<int>{203, 204, 2}));
  // Merging (the default) keeps them.
  const auto merged = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app));
  EXPECT_EQ(merged->channels.Count(), 5u);
}

TEST(ChannelCsv, AFileWithoutTheNeededColumnsChangesNothing) {
  const AppState app = Band3();
  auto start = std::make_unique<ChannelList>();
  NewDefaultChannels(*start, app);
  for (const char* csv : {"", "Location,Name\n1,A\n", "Name,Frequency\nA,145\n"}) {
    const auto r = std::make_unique<CsvImportResult>(ImportChannelCsv(csv, *start, app));
    EXPECT_FALSE(r->ok) << csv;
    EXPECT_FALSE(r->error.empty());
    EXPECT_TRUE(r->channels == *start);
  }
}

TEST(ChannelCsv, ParsesQuotedFieldsAndQuotesWhatNeedsIt) {
  const auto records = ParseCsv("a,\"b,c\",\"d\"\"e\"\r\n\r\n,,\n\"x\ny\"");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b,c", "d\"e"}));
  EXPECT_EQ(records[1].line, 3);
  EXPECT_EQ(records[1].fields, (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(records[2].line, 4);
  EXPECT_EQ(records[2].fields, (std::vector<std::string>{"x\ny"}));
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField(" lead"), "\" lead\"");
}

}  // namespace
}  // namespace kvx

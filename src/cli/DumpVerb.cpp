// kvx50-cli dump: every record of a data file as JSON, keyed by the record and field names.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/util/Text.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli dump FILE.dat [--file-password P] [--home DIR]\n\n"
    "Opens FILE.dat as Open does and prints every record as JSON on stdout: the band,\n"
    "ChannelList (an array of ChannelRecord objects), DtmfSettings, TwoToneSettings,\n"
    "FiveToneSettings, OptionSettings, ScanSettings, AlertSettings, BookEntries, FmList,\n"
    "AmList, the single bytes and BleOptions, and TestDataValues in factory mode. Texts are\n"
    "shown after CleanText (trailing blanks removed, cut at the first NUL), as UTF-8.\n\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 printed, 1 failed, 2 usage error.\n";

// A small JSON writer: objects and arrays with two-space indentation, keys in insertion order.
class Json {
 public:
  std::string Take() { return std::move(out_) + "\n"; }

  void BeginObject(std::string_view key = {}) { Open(key, '{'); }
  void EndObject() { Close('}'); }
  void BeginArray(std::string_view key = {}) { Open(key, '['); }
  void EndArray() { Close(']'); }

  void Number(std::string_view key, long v) { Value(key, std::to_string(v)); }
  void Real(std::string_view key, double v) {
    if (!std::isfinite(v)) return Value(key, "null");  // a damaged file: JSON has no NaN
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest form, "." always
    Value(key, std::string(buf, r.ptr));
  }
  void Text(std::string_view key, std::string_view singleBytes) {
    Value(key, Quote(Latin1ToUtf8(singleBytes)));
  }
  template <size_t N>
  void Fixed(std::string_view key, const FixedText<N>& t) {
    Text(key, t.Clean());
  }
  // A field of a record: numbers as numbers, fixed texts cleaned.
  template <class T>
  void Field(std::string_view key, const T& v) {
    if constexpr (std::is_integral_v<T>)
      Number(key, static_cast<long>(v));
    else
      Fixed(key, v);
  }

 private:
  static std::string Quote(std::string_view s) {
    std::string q = "\"";
    for (unsigned char c : s) {
      switch (c) {
        case '"':
          q += "\\\"";
          break;
        case '\\':
          q += "\\\\";
          break;
        case '\n':
          q += "\\n";
          break;
        case '\r':
          q += "\\r";
          break;
        case '\t':
          q += "\\t";
          break;
        default:
          if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            q += buf;
          } else {
            q += static_cast<char>(c);
          }
      }
    }
    return q + "\"";
  }
  void Separate(std::string_view key) {
    if (!first_) out_ += ",";
    first_ = false;
    if (depth_ > 0) out_ += "\n" + std::string(2 * depth_, ' ');
    if (!key.empty()) out_ += Quote(key) + ": ";
  }
  void Value(std::string_view key, const std::string& v) {
    Separate(key);
    out_ += v;
  }
  void Open(std::string_view key, char bracket) {
    Separate(key);
    out_ += bracket;
    ++depth_;
    first_ = true;
  }
  void Close(char bracket) {
    --depth_;
    if (!first_) out_ += "\n" + std::string(2 * depth_, ' ');
    out_ += bracket;
    first_ = false;
  }

  std::string out_;
  int depth_ = 0;
  bool first_ = true;
};

template <size_t N>
void DumpDtmfCode(Json& j, std::string_view key, const DtmfCode<N>& c) {
  j.BeginObject(key);
  j.Fixed("Text", c.Text);
  j.Number("Length", c.Length);
  j.EndObject();
}

void DumpDtmf(Json& j, const DtmfSettings& d) {
  j.BeginObject("DtmfSettings");
  j.BeginArray("Codes");
  for (const auto& c : d.Codes) DumpDtmfCode(j, {}, c);
  j.EndArray();
  DumpDtmfCode(j, "PttIdBegin", d.PttIdBegin);
  DumpDtmfCode(j, "PttIdEnd", d.PttIdEnd);
  DumpDtmfCode(j, "KillCode", d.KillCode);
  DumpDtmfCode(j, "StunCode", d.StunCode);
  j.Number("Ani", d.Ani);
  j.Number("SendTime", d.SendTime);
  j.Number("PttIdMode", d.PttIdMode);
  j.Fixed("OwnId", d.OwnId);
  j.Number("Separator", d.Separator);
  j.Number("GroupCode", d.GroupCode);
  j.Number("DecodeResponse", d.DecodeResponse);
  j.Number("FirstDigitDelay", d.FirstDigitDelay);
  j.Number("PreSendDelay", d.PreSendDelay);
  j.Number("ResetTime", d.ResetTime);
  j.Number("PostSendDelay", d.PostSendDelay);
  j.Number("PauseTime", d.PauseTime);
  j.Number("Sidetone", d.Sidetone);
  j.EndObject();
}

void DumpTwoTone(Json& j, const TwoToneSettings& t) {
  j.BeginObject("TwoToneSettings");
  j.Number("FirstTone", t.FirstTone);
  j.Number("SecondTone", t.SecondTone);
  j.Number("CallFormat", t.CallFormat);
  j.Number("FirstDivider", t.FirstDivider);
  j.Number("SecondDivider", t.SecondDivider);
  j.Number("Time5", t.Time5);
  j.Number("DecodeResponse", t.DecodeResponse);
  j.Number("Sidetone", t.Sidetone);
  j.Number("ToneA", t.ToneA);
  j.Number("ToneB", t.ToneB);
  j.Number("ToneC", t.ToneC);
  j.Number("ToneD", t.ToneD);
  j.Number("Time1", t.Time1);
  j.Number("Time2", t.Time2);
  j.Number("Time3", t.Time3);
  j.Number("Time4", t.Time4);
  j.BeginArray("TwoToneEntry");
  for (const auto& e : t.Entries) {
    j.BeginObject();
    j.Number("Empty", e.Empty);
    j.Number("RxDivider1", e.RxDivider1);
    j.Number("RxDivider2", e.RxDivider2);
    j.Number("RxTone1", e.RxTone1);
    j.Number("RxTone2", e.RxTone2);
    j.Fixed("Name", e.Name);
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
}

void DumpFiveToneCode(Json& j, std::string_view key, const FiveToneCode& c) {
  j.BeginObject(key);
  j.Number("Empty", c.Empty);
  j.Number("Spare", c.Spare);
  j.Number("Standard", c.Standard);
  j.Number("Length", c.Length);
  j.Number("TonePeriod", c.TonePeriod);
  j.Fixed("Digits", c.Digits);
  j.Fixed("Name", c.Name);
  j.EndObject();
}

void DumpFiveTone(Json& j, const FiveToneSettings& f) {
  j.BeginObject("FiveToneSettings");
  j.Number("Reserved", f.Reserved);
  j.Number("DecodeResponse", f.DecodeResponse);
  j.Number("Standard", f.Standard);
  j.Number("IdLength", f.IdLength);
  j.Number("TonePeriod", f.TonePeriod);
  j.Fixed("OwnId", f.OwnId);
  j.Number("Seconds", f.Seconds);
  j.Number("Delay1", f.Delay1);
  j.Number("Delay2", f.Delay2);
  j.Number("Number", f.Number);
  j.Number("FirstDigitDelay", f.FirstDigitDelay);
  j.Number("PauseTime", f.PauseTime);
  j.Number("PauseCode", f.PauseCode);
  j.Number("Sidetone", f.Sidetone);
  j.Number("SpecialCall", f.SpecialCall);
  j.BeginArray("InfoCodes");
  for (const auto& c : f.InfoCodes) {
    j.BeginObject();
    j.Number("Function", c.Function);
    j.Number("Response", c.Response);
    j.Number("Length", c.Length);
    j.Fixed("Digits", c.Digits);
    j.Fixed("Name", c.Name);
    j.EndObject();
  }
  j.EndArray();
  DumpFiveToneCode(j, "PttIdBegin", f.PttIdBegin);
  DumpFiveToneCode(j, "PttIdEnd", f.PttIdEnd);
  j.BeginArray("Codes");
  for (const auto& c : f.Codes) DumpFiveToneCode(j, {}, c);
  j.EndArray();
  j.EndObject();
}

void DumpOptions(Json& j, const OptionSettings& o) {
  j.BeginObject("OptionSettings");
  j.Number("Option0", o.Option0);
  j.Number("Option1", o.Option1);
  j.Number("OptionChannel", o.OptionChannel);
  j.Number("Option3", o.Option3);
  j.Number("Option5", o.Option5);
  j.Number("Option18", o.Option18);
  j.Number("Option7", o.Option7);
  j.Number("Option8", o.Option8);
  j.Number("ToneFrequency", o.ToneFrequency);
  j.Number("Option10", o.Option10);
  j.Number("Option11", o.Option11);
  j.Number("Option12", o.Option12);
  j.Number("Option14", o.Option14);
  j.Number("Switch3", o.Switch3);
  j.Number("Option15", o.Option15);
  j.Number("Switch0", o.Switch0);
  j.Number("Switch1", o.Switch1);
  j.Number("Switch2", o.Switch2);
  j.Number("Option16", o.Option16);
  j.Number("Option17", o.Option17);
  j.Number("Option4", o.Option4);
  j.Number("Option6", o.Option6);
  j.Number("Option13", o.Option13);
  j.Fixed("PowerOnMessage", o.PowerOnMessage);
  j.Number("PowerOnPasswordEnabled", o.PowerOnPasswordEnabled);
  j.Fixed("PowerOnPassword", o.PowerOnPassword);
  j.Number("AmDisplayMode", o.AmDisplayMode);
  j.Number("BroadcastBand", o.BroadcastBand);
  j.Number("BroadcastSwitch", o.BroadcastSwitch);
  j.Number("FmDisplayMode", o.FmDisplayMode);
  j.Number("FmWorkChannel", o.FmWorkChannel);
  j.Number("AmWorkChannel", o.AmWorkChannel);
  j.EndObject();
}

void DumpScan(Json& j, const ScanSettings& s) {
  j.BeginObject("ScanSettings");
  j.Number("ScanMode", s.ScanMode);
  j.Number("PriorityMode", s.PriorityMode);
  j.Number("RevertChannel", s.RevertChannel);
  j.Number("ScanBackTimeA", s.ScanBackTimeA);
  j.Number("ScanBackTimeB", s.ScanBackTimeB);
  j.Number("RxResumeDelay", s.RxResumeDelay);
  j.Number("TxResumeDelay", s.TxResumeDelay);
  j.Number("ScanType", s.ScanType);
  j.Number("ScanEntryTone", s.ScanEntryTone);
  j.Number("WaitTime", s.WaitTime);
  j.Number("PriorityGroup1", s.PriorityGroup1);
  j.Number("PriorityChannel1", s.PriorityChannel1);
  j.Number("PriorityGroup2", s.PriorityGroup2);
  j.Number("PriorityChannel2", s.PriorityChannel2);
  j.EndObject();
}

void DumpAlert(Json& j, const AlertSettings& a) {
  j.BeginObject("AlertSettings");
  j.Number("EmergencyMode", a.EmergencyMode);
  j.Number("IdCodeType", a.IdCodeType);
  j.Number("IdCode", a.IdCode);
  j.Number("AlarmTime", a.AlarmTime);
  j.Number("TxTime", a.TxTime);
  j.Number("RxTime", a.RxTime);
  j.Number("ChannelSelect", a.ChannelSelect);
  j.Number("EmergencyChannel", a.EmergencyChannel);
  j.Number("Cycle", a.Cycle);
  j.Number("LoneWorkerDetect", a.LoneWorkerDetect);
  j.Number("PreAlertTime", a.PreAlertTime);
  j.Number("LoneWorkerTime", a.LoneWorkerTime);
  j.EndObject();
}

void DumpBroadcast(Json& j, std::string_view key, const BroadcastList& list) {
  j.BeginArray(key);
  for (const auto& e : list.entries) {
    j.BeginObject();
    j.Number("Position", e.Position);
    j.Number("InUse", e.InUse);
    j.Real("Frequency", e.Frequency);
    j.EndObject();
  }
  j.EndArray();
}

std::string DumpWorkspace(const Workspace& ws) {
  const SettingsRecord& s = ws.settings;
  Json j;
  j.BeginObject();
  j.Number("BandCode", ws.app.BandCode);
  j.Text("BandText", ws.app.BandText);
  j.Number("ChannelCount", static_cast<long>(ws.channels.Count()));
  j.BeginArray("ChannelList");
  for (const auto& c : ws.channels.Used()) {
    j.BeginObject();
    VisitChannelFields(c, [&](std::string_view name, const auto& field) { j.Field(name, field); });
    j.EndObject();
  }
  j.EndArray();
  DumpDtmf(j, s.Dtmf);
  DumpTwoTone(j, s.TwoTone);
  DumpFiveTone(j, s.FiveTone);
  j.Number("DecodeTime", s.DecodeTime);
  DumpOptions(j, s.Options);
  j.Number("Switch4", s.Switch4);
  j.Number("Switch5", s.Switch5);
  j.Number("Switch6", s.Switch6);
  j.BeginArray("BleOptions");
  for (uint8_t b : s.Ble.bytes) j.Number({}, b);
  j.EndArray();
  DumpScan(j, s.Scan);
  DumpAlert(j, s.Alert);
  j.BeginArray("BookEntries");
  for (const auto& e : s.Book.entries) {
    j.BeginObject();
    j.Number("EntryNo", e.EntryNo);
    j.Fixed("CallId", e.CallId);
    j.Fixed("EntryName", e.EntryName);
    j.EndObject();
  }
  j.EndArray();
  DumpBroadcast(j, "FmList", s.Fm);
  DumpBroadcast(j, "AmList", s.Am);
  j.BeginArray("SpareBytes");
  for (uint8_t b : s.Spare) j.Number({}, b);
  j.EndArray();
  if (ws.app.FactoryMode) {
    j.BeginArray("TestDataValues");
    for (int16_t v : ws.testValues) j.Number({}, v);
    j.EndArray();
  }
  j.EndObject();
  return j.Take();
}

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--file-password"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 1) return UsageError(kVerb, "one data file is required");
  const std::string& file = args.positional[0];

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("dump", file);
  if (!StartFileSession("dump", args.home, *ws, prompts)) return kExitFailure;
  if (!OpenDataFile("dump", *ws, file, args.filePassword)) return kExitFailure;
  const std::string json = DumpWorkspace(*ws);
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0)
    return Fail("dump", "cannot write to standard output");
  return kExitOk;
}

const Verb kVerb{"dump", "print every record of a data file as JSON", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

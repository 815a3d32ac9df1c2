#include "core/files/DataDiff.h"

#include <charconv>
#include <map>
#include <memory>
#include <type_traits>

#include "core/files/Workspace.h"
#include "core/image/PackAll.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

std::string ShowText(std::string_view clean) {
  return "\"" + Latin1ToUtf8(clean) + "\"";
}

std::string ShowReal(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest form, "." always
  return std::string(buf, r.ptr);
}

// Collects the differences of one area; field names get the current prefix ("Codes[3].").
class Differ {
 public:
  explicit Differ(std::vector<FieldDifference>& out) : out_(out) {}

  void Area(std::string area, int number = 0) {
    area_ = std::move(area);
    number_ = number;
    prefix_.clear();
  }
  void Prefix(std::string prefix) { prefix_ = std::move(prefix); }
  void Entry(std::string_view list, size_t index) {
    prefix_ = std::string(list) + "[" + std::to_string(index) + "].";
  }

  template <class T>
  void Num(std::string_view name, T a, T b) {
    static_assert(std::is_integral_v<T>);
    if (a != b)
      Add(name, std::to_string(static_cast<long>(a)), std::to_string(static_cast<long>(b)));
  }
  template <size_t N>
  void Text(std::string_view name, const FixedText<N>& a, const FixedText<N>& b) {
    const std::string ca = a.Clean(), cb = b.Clean();
    if (ca != cb) Add(name, ShowText(ca), ShowText(cb));
  }
  void Real(std::string_view name, double a, double b) {
    // Two NaNs (a damaged file) count as equal.
    if (a == b || (a != a && b != b)) return;
    Add(name, ShowReal(a), ShowReal(b));
  }
  void Add(std::string_view name, std::string a, std::string b) {
    out_.push_back({area_, number_, prefix_ + std::string(name), std::move(a), std::move(b)});
  }

 private:
  std::vector<FieldDifference>& out_;
  std::string area_;
  int number_ = 0;
  std::string prefix_;
};

// --- channels --------------------------------------------------------------------------------

void DiffChannel(Differ& d, const ChannelRecord& a, const ChannelRecord& b) {
  // Walk both records in step: the visitor sees the fields of `a` in record order, and the same
  // field of `b` is found by its position.
  struct Ref {
    const int16_t* num = nullptr;
    std::string text;
  };
  std::vector<Ref> fields;
  VisitChannelFields(b, [&](std::string_view, const auto& f) {
    Ref r;
    if constexpr (std::is_same_v<std::decay_t<decltype(f)>, int16_t>)
      r.num = &f;
    else
      r.text = f.Clean();
    fields.push_back(std::move(r));
  });
  size_t i = 0;
  VisitChannelFields(a, [&](std::string_view name, const auto& f) {
    const Ref& other = fields[i++];
    if (name == "Number") return;
    if constexpr (std::is_same_v<std::decay_t<decltype(f)>, int16_t>) {
      d.Num(name, f, *other.num);
    } else {
      const std::string ca = f.Clean();
      if (ca != other.text) d.Add(name, ShowText(ca), ShowText(other.text));
    }
  });
}

void DiffChannels(Differ& d, const ChannelList& a, const ChannelList& b) {
  std::map<int, const ChannelRecord*> ma, mb;
  for (const auto& c : a.Used()) ma.emplace(c.Number, &c);  // the first of a number counts
  for (const auto& c : b.Used()) mb.emplace(c.Number, &c);
  std::map<int, std::pair<const ChannelRecord*, const ChannelRecord*>> all;
  for (auto [n, c] : ma) all[n].first = c;
  for (auto [n, c] : mb) all[n].second = c;
  for (auto [n, pair] : all) {
    d.Area("Channel", n);
    if (!pair.first || !pair.second) {
      d.Add("(channel)", pair.first ? "present" : "absent", pair.second ? "present" : "absent");
      continue;
    }
    DiffChannel(d, *pair.first, *pair.second);
  }
}

// --- settings areas --------------------------------------------------------------------------

template <size_t N>
void DiffDtmfCode(Differ& d, const DtmfCode<N>& a, const DtmfCode<N>& b) {
  d.Text("Text", a.Text, b.Text);
  d.Num("Length", a.Length, b.Length);
}

void DiffDtmf(Differ& d, const DtmfSettings& a, const DtmfSettings& b) {
  d.Area("DtmfSettings");
  for (size_t i = 0; i < a.Codes.size(); ++i) {
    d.Entry("Codes", i);
    DiffDtmfCode(d, a.Codes[i], b.Codes[i]);
  }
  d.Prefix("PttIdBegin.");
  DiffDtmfCode(d, a.PttIdBegin, b.PttIdBegin);
  d.Prefix("PttIdEnd.");
  DiffDtmfCode(d, a.PttIdEnd, b.PttIdEnd);
  d.Prefix("KillCode.");
  DiffDtmfCode(d, a.KillCode, b.KillCode);
  d.Prefix("StunCode.");
  DiffDtmfCode(d, a.StunCode, b.StunCode);
  d.Prefix("");
  d.Num("Ani", a.Ani, b.Ani);
  d.Num("SendTime", a.SendTime, b.SendTime);
  d.Num("PttIdMode", a.PttIdMode, b.PttIdMode);
  d.Text("OwnId", a.OwnId, b.OwnId);
  d.Num("Separator", a.Separator, b.Separator);
  d.Num("GroupCode", a.GroupCode, b.GroupCode);
  d.Num("DecodeResponse", a.DecodeResponse, b.DecodeResponse);
  d.Num("FirstDigitDelay", a.FirstDigitDelay, b.FirstDigitDelay);
  d.Num("PreSendDelay", a.PreSendDelay, b.PreSendDelay);
  d.Num("ResetTime", a.ResetTime, b.ResetTime);
  d.Num("PostSendDelay", a.PostSendDelay, b.PostSendDelay);
  d.Num("PauseTime", a.PauseTime, b.PauseTime);
  d.Num("Sidetone", a.Sidetone, b.Sidetone);
}

void DiffTwoTone(Differ& d, const TwoToneSettings& a, const TwoToneSettings& b) {
  d.Area("TwoToneSettings");
  d.Num("FirstTone", a.FirstTone, b.FirstTone);
  d.Num("SecondTone", a.SecondTone, b.SecondTone);
  d.Num("CallFormat", a.CallFormat, b.CallFormat);
  d.Num("FirstDivider", a.FirstDivider, b.FirstDivider);
  d.Num("SecondDivider", a.SecondDivider, b.SecondDivider);
  d.Num("Time5", a.Time5, b.Time5);
  d.Num("DecodeResponse", a.DecodeResponse, b.DecodeResponse);
  d.Num("Sidetone", a.Sidetone, b.Sidetone);
  d.Num("ToneA", a.ToneA, b.ToneA);
  d.Num("ToneB", a.ToneB, b.ToneB);
  d.Num("ToneC", a.ToneC, b.ToneC);
  d.Num("ToneD", a.ToneD, b.ToneD);
  d.Num("Time1", a.Time1, b.Time1);
  d.Num("Time2", a.Time2, b.Time2);
  d.Num("Time3", a.Time3, b.Time3);
  d.Num("Time4", a.Time4, b.Time4);
  for (size_t i = 0; i < a.Entries.size(); ++i) {
    const TwoToneEntry& x = a.Entries[i];
    const TwoToneEntry& y = b.Entries[i];
    d.Entry("Entries", i);
    d.Num("Empty", x.Empty, y.Empty);
    d.Num("RxDivider1", x.RxDivider1, y.RxDivider1);
    d.Num("RxDivider2", x.RxDivider2, y.RxDivider2);
    d.Num("RxTone1", x.RxTone1, y.RxTone1);
    d.Num("RxTone2", x.RxTone2, y.RxTone2);
    d.Text("Name", x.Name, y.Name);
  }
}

void DiffFiveToneCode(Differ& d, const FiveToneCode& a, const FiveToneCode& b) {
  d.Num("Empty", a.Empty, b.Empty);
  d.Num("Spare", a.Spare, b.Spare);
  d.Num("Standard", a.Standard, b.Standard);
  d.Num("Length", a.Length, b.Length);
  d.Num("TonePeriod", a.TonePeriod, b.TonePeriod);
  d.Text("Digits", a.Digits, b.Digits);
  d.Text("Name", a.Name, b.Name);
}

void DiffFiveTone(Differ& d, const FiveToneSettings& a, const FiveToneSettings& b) {
  d.Area("FiveToneSettings");
  d.Num("Reserved", a.Reserved, b.Reserved);
  d.Num("DecodeResponse", a.DecodeResponse, b.DecodeResponse);
  d.Num("Standard", a.Standard, b.Standard);
  d.Num("IdLength", a.IdLength, b.IdLength);
  d.Num("TonePeriod", a.TonePeriod, b.TonePeriod);
  d.Text("OwnId", a.OwnId, b.OwnId);
  d.Num("Seconds", a.Seconds, b.Seconds);
  d.Num("Delay1", a.Delay1, b.Delay1);
  d.Num("Delay2", a.Delay2, b.Delay2);
  d.Num("Number", a.Number, b.Number);
  d.Num("FirstDigitDelay", a.FirstDigitDelay, b.FirstDigitDelay);
  d.Num("PauseTime", a.PauseTime, b.PauseTime);
  d.Num("PauseCode", a.PauseCode, b.PauseCode);
  d.Num("Sidetone", a.Sidetone, b.Sidetone);
  d.Num("SpecialCall", a.SpecialCall, b.SpecialCall);
  for (size_t i = 0; i < a.InfoCodes.size(); ++i) {
    const InfoCode& x = a.InfoCodes[i];
    const InfoCode& y = b.InfoCodes[i];
    d.Entry("InfoCodes", i);
    d.Num("Function", x.Function, y.Function);
    d.Num("Response", x.Response, y.Response);
    d.Num("Length", x.Length, y.Length);
    d.Text("Digits", x.Digits, y.Digits);
    d.Text("Name", x.Name, y.Name);
  }
  d.Prefix("PttIdBegin.");
  DiffFiveToneCode(d, a.PttIdBegin, b.PttIdBegin);
  d.Prefix("PttIdEnd.");
  DiffFiveToneCode(d, a.PttIdEnd, b.PttIdEnd);
  for (size_t i = 0; i < a.Codes.size(); ++i) {
    d.Entry("Codes", i);
    DiffFiveToneCode(d, a.Codes[i], b.Codes[i]);
  }
}

void DiffOptions(Differ& d, const OptionSettings& a, const OptionSettings& b) {
  d.Area("OptionSettings");
  d.Num("Option0", a.Option0, b.Option0);
  d.Num("Option1", a.Option1, b.Option1);
  d.Num("OptionChannel", a.OptionChannel, b.OptionChannel);
  d.Num("Option3", a.Option3, b.Option3);
  d.Num("Option5", a.Option5, b.Option5);
  d.Num("Option18", a.Option18, b.Option18);
  d.Num("Option7", a.Option7, b.Option7);
  d.Num("Option8", a.Option8, b.Option8);
  d.Num("ToneFrequency", a.ToneFrequency, b.ToneFrequency);
  d.Num("Option10", a.Option10, b.Option10);
  d.Num("Option11", a.Option11, b.Option11);
  d.Num("Option12", a.Option12, b.Option12);
  d.Num("Option14", a.Option14, b.Option14);
  d.Num("Switch3", a.Switch3, b.Switch3);
  d.Num("Option15", a.Option15, b.Option15);
  d.Num("Switch0", a.Switch0, b.Switch0);
  d.Num("Switch1", a.Switch1, b.Switch1);
  d.Num("Switch2", a.Switch2, b.Switch2);
  d.Num("Option16", a.Option16, b.Option16);
  d.Num("Option17", a.Option17, b.Option17);
  d.Num("Option4", a.Option4, b.Option4);
  d.Num("Option6", a.Option6, b.Option6);
  d.Num("Option13", a.Option13, b.Option13);
  d.Text("PowerOnMessage", a.PowerOnMessage, b.PowerOnMessage);
  d.Num("PowerOnPasswordEnabled", a.PowerOnPasswordEnabled, b.PowerOnPasswordEnabled);
  d.Text("PowerOnPassword", a.PowerOnPassword, b.PowerOnPassword);
  d.Num("AmDisplayMode", a.AmDisplayMode, b.AmDisplayMode);
  d.Num("BroadcastBand", a.BroadcastBand, b.BroadcastBand);
  d.Num("BroadcastSwitch", a.BroadcastSwitch, b.BroadcastSwitch);
  d.Num("FmDisplayMode", a.FmDisplayMode, b.FmDisplayMode);
  d.Num("FmWorkChannel", a.FmWorkChannel, b.FmWorkChannel);
  d.Num("AmWorkChannel", a.AmWorkChannel, b.AmWorkChannel);
}

void DiffScan(Differ& d, const ScanSettings& a, const ScanSettings& b) {
  d.Area("ScanSettings");
  d.Num("ScanMode", a.ScanMode, b.ScanMode);
  d.Num("PriorityMode", a.PriorityMode, b.PriorityMode);
  d.Num("RevertChannel", a.RevertChannel, b.RevertChannel);
  d.Num("ScanBackTimeA", a.ScanBackTimeA, b.ScanBackTimeA);
  d.Num("ScanBackTimeB", a.ScanBackTimeB, b.ScanBackTimeB);
  d.Num("RxResumeDelay", a.RxResumeDelay, b.RxResumeDelay);
  d.Num("TxResumeDelay", a.TxResumeDelay, b.TxResumeDelay);
  d.Num("ScanType", a.ScanType, b.ScanType);
  d.Num("ScanEntryTone", a.ScanEntryTone, b.ScanEntryTone);
  d.Num("WaitTime", a.WaitTime, b.WaitTime);
  d.Num("PriorityGroup1", a.PriorityGroup1, b.PriorityGroup1);
  d.Num("PriorityChannel1", a.PriorityChannel1, b.PriorityChannel1);
  d.Num("PriorityGroup2", a.PriorityGroup2, b.PriorityGroup2);
  d.Num("PriorityChannel2", a.PriorityChannel2, b.PriorityChannel2);
}

void DiffAlert(Differ& d, const AlertSettings& a, const AlertSettings& b) {
  d.Area("AlertSettings");
  d.Num("EmergencyMode", a.EmergencyMode, b.EmergencyMode);
  d.Num("IdCodeType", a.IdCodeType, b.IdCodeType);
  d.Num("IdCode", a.IdCode, b.IdCode);
  d.Num("AlarmTime", a.AlarmTime, b.AlarmTime);
  d.Num("TxTime", a.TxTime, b.TxTime);
  d.Num("RxTime", a.RxTime, b.RxTime);
  d.Num("ChannelSelect", a.ChannelSelect, b.ChannelSelect);
  d.Num("EmergencyChannel", a.EmergencyChannel, b.EmergencyChannel);
  d.Num("Cycle", a.Cycle, b.Cycle);
  d.Num("LoneWorkerDetect", a.LoneWorkerDetect, b.LoneWorkerDetect);
  d.Num("PreAlertTime", a.PreAlertTime, b.PreAlertTime);
  d.Num("LoneWorkerTime", a.LoneWorkerTime, b.LoneWorkerTime);
}

void DiffBook(Differ& d, const BookEntries& a, const BookEntries& b) {
  d.Area("BookEntries");
  for (size_t i = 0; i < a.entries.size(); ++i) {
    d.Entry("Entries", i);
    d.Num("EntryNo", a.entries[i].EntryNo, b.entries[i].EntryNo);
    d.Text("CallId", a.entries[i].CallId, b.entries[i].CallId);
    d.Text("EntryName", a.entries[i].EntryName, b.entries[i].EntryName);
  }
}

void DiffBroadcast(Differ& d, const char* area, const BroadcastList& a, const BroadcastList& b) {
  d.Area(area);
  for (size_t i = 0; i < a.entries.size(); ++i) {
    d.Entry("Entries", i);
    d.Num("Position", a.entries[i].Position, b.entries[i].Position);
    d.Num("InUse", a.entries[i].InUse, b.entries[i].InUse);
    d.Real("Frequency", a.entries[i].Frequency, b.entries[i].Frequency);
  }
}

template <class Array>
void DiffBytes(Differ& d, std::string_view list, const Array& a, const Array& b) {
  for (size_t i = 0; i < a.size(); ++i)
    d.Num(std::string(list) + "[" + std::to_string(i) + "]", a[i], b[i]);
}

}  // namespace

DataView WorkingDataOf(const Workspace& ws) {
  DataView v;
  v.bandCode = ws.app.BandCode;
  v.settings = &ws.settings;
  v.channels = &ws.channels;
  if (ws.app.FactoryMode) v.testValues = &ws.testValues;
  return v;
}

std::vector<FieldDifference> DiffData(const DataView& a, const DataView& b) {
  std::vector<FieldDifference> out;
  Differ d(out);
  d.Area("Band");
  d.Num("BandCode", a.bandCode, b.bandCode);
  if (a.channels && b.channels) DiffChannels(d, *a.channels, *b.channels);
  if (a.settings && b.settings) {
    const SettingsRecord& x = *a.settings;
    const SettingsRecord& y = *b.settings;
    DiffDtmf(d, x.Dtmf, y.Dtmf);
    DiffTwoTone(d, x.TwoTone, y.TwoTone);
    DiffFiveTone(d, x.FiveTone, y.FiveTone);
    DiffOptions(d, x.Options, y.Options);
    DiffScan(d, x.Scan, y.Scan);
    DiffAlert(d, x.Alert, y.Alert);
    DiffBook(d, x.Book, y.Book);
    DiffBroadcast(d, "FmList", x.Fm, y.Fm);
    DiffBroadcast(d, "AmList", x.Am, y.Am);
    d.Area("Settings");
    d.Num("DecodeTime", x.DecodeTime, y.DecodeTime);
    d.Num("Switch4", x.Switch4, y.Switch4);
    d.Num("Switch5", x.Switch5, y.Switch5);
    d.Num("Switch6", x.Switch6, y.Switch6);
    DiffBytes(d, "Spare", x.Spare, y.Spare);
    d.Area("BleOptions");
    DiffBytes(d, "Bytes", x.Ble.bytes, y.Ble.bytes);
  }
  if (a.testValues && b.testValues) {
    d.Area("TestDataValues");
    DiffBytes(d, "Values", *a.testValues, *b.testValues);
  }
  return out;
}

std::string FormatDifference(const FieldDifference& d) {
  std::string line = d.area;
  if (d.number != 0) line += " " + std::to_string(d.number);
  if (d.field == "(channel)") return line + ": " + d.a + " | " + d.b;
  return line + " " + d.field + ": " + d.a + " | " + d.b;
}

void DecodeAsRadio(const RadioImage& image, const AppState& app, RadioData& out) {
  out.settings = SettingsRecord{};
  out.channels = ChannelList{};
  auto copy = std::make_unique<RadioImage>(image);  // decoders may repair bytes in place
  auto info = std::make_unique<RadioInfo>();
  CodecContext ctx;
  ctx.app = &app;
  UnpackAll(*copy, out.settings, out.channels, *info, ctx);
}

bool EncodeForRadio(const SettingsRecord& settings, const ChannelList& channels,
                    const AppState& app, RadioImage& out, Prompts* prompts) {
  auto s = std::make_unique<SettingsRecord>(settings);
  auto c = std::make_unique<ChannelList>(channels);
  out = RadioImage{};
  ClearImage(out);
  CodecContext ctx;
  ctx.prompts = prompts;
  ctx.app = &app;
  return PackAll(*s, *c, out, ctx);
}

bool VerifyRadio(const SettingsRecord& fileSettings, const ChannelList& fileChannels,
                 const AppState& fileApp, const RadioImage& radioImage, const AppState& radioApp,
                 std::vector<FieldDifference>& out, Prompts* prompts) {
  auto fileImage = std::make_unique<RadioImage>();
  if (!EncodeForRadio(fileSettings, fileChannels, fileApp, *fileImage, prompts)) return false;
  auto written = std::make_unique<RadioData>();
  auto held = std::make_unique<RadioData>();
  DecodeAsRadio(*fileImage, fileApp, *written);
  DecodeAsRadio(radioImage, radioApp, *held);
  DataView a{fileApp.BandCode, &written->settings, &written->channels, nullptr};
  DataView b{radioApp.BandCode, &held->settings, &held->channels, nullptr};
  out = DiffData(a, b);
  return true;
}

}  // namespace kvx

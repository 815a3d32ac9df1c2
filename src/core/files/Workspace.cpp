#include "core/files/Workspace.h"

#include <algorithm>

#include "core/app/BandTable.h"
#include "core/files/DataFile.h"
#include "core/files/DefaultData.h"
#include "core/files/PasswordBlock.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

int ClampCount(int count) {
  return std::clamp(count, 0, kChannelSlots);
}

// The file name without its folder.
std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DataFileFilter(const Workspace& ws) {
  return std::string(ws.lang.BuiltIn().DataFileTitle) + " (*.dat)|*.dat";
}

void ShowFileError(const Workspace& ws, Prompts& prompts) {
  prompts.Message(ws.lang.BuiltIn().FileError, Icon::Critical, Buttons::Ok);
}

// Told when a channel file holds fewer records than the settings record counts: those channels
// are missing from the data.
std::string MissingChannelsText(int languageIndex, int missing, const std::string& file) {
  if (languageIndex == 2) {
    return "无法从“" + file + "”读取 " + std::to_string(missing) + " 个信道。";
  }
  return std::to_string(missing) + (missing == 1 ? " channel" : " channels") +
         " could not be read from \"" + file + "\".";
}

// Reads up to `count` 108-byte records of the channel file into `slots`. A record whose number
// is outside 1-204 or was already read is not taken: the list holds each channel once. Slots of
// records not taken become empty records. Returns the number of records taken.
int ReadChannelFile(const std::string& path, int count, std::array<ChannelRecord, 204>& slots) {
  const auto bytes = ReadFileBytes(path);
  const int available = bytes ? static_cast<int>(bytes->size() / ChannelRecord::kFileSize) : 0;
  const int read = std::min(count, available);
  std::array<bool, kChannelSlots + 1> seen{};
  int taken = 0;
  for (int i = 0; i < read; ++i) {
    ByteReader r(
        std::string_view(*bytes).substr(i * ChannelRecord::kFileSize, ChannelRecord::kFileSize));
    ChannelRecord record;
    record.Read(r);
    if (record.Number < 1 || record.Number > kChannelSlots || seen[record.Number]) continue;
    seen[record.Number] = true;
    slots[taken++] = record;
  }
  for (int i = taken; i < count; ++i) slots[i] = EmptyChannel(i + 1);
  return taken;
}

// A channel file that was cut short leaves out records: the list keeps the records that were
// read, and CALL and VFO, which every list holds, come back as their default records (in the
// band of the file) when they were among the lost ones.
void RepairShortList(SavedCopy& copy, int read, const AppState& app) {
  AppState fileBand = app;
  SetBandText(fileBand, BandTextOfCode(copy.settings.BandCode));
  int count = read;
  for (int number : {kChannelCall, kChannelVfo}) {
    const bool present = std::any_of(copy.channels.begin(), copy.channels.begin() + count,
                                     [&](const ChannelRecord& c) { return c.Number == number; });
    if (!present && count < kChannelSlots)
      copy.channels[count++] = DefaultChannel(number, fileBand);
  }
  copy.settings.ChannelCount = static_cast<int16_t>(count);
}

// The working copy as the SavedCopy would take it.
void FillSavedFromWorking(const Workspace& ws, SavedCopy& copy) {
  if (ws.app.FactoryMode) copy.testValues = ws.testValues;
  copy.settings = ws.settings;
  copy.settings.BandCode = ws.app.BandCode;
  const int count = static_cast<int>(ws.channels.Count());
  copy.settings.ChannelCount = static_cast<int16_t>(count);
  std::copy_n(ws.channels.Slots.begin(), count, copy.channels.begin());
}

// --- modified test ---------------------------------------------------------------------------

// The first `length` characters, compared only when `length` lies in 1..limit.
template <size_t N>
bool PrefixEqual(const FixedText<N>& a, const FixedText<N>& b, int length, int limit) {
  if (length < 1 || length > limit) return true;
  const size_t n = std::min<size_t>(static_cast<size_t>(length), N);
  return a.Raw().substr(0, n) == b.Raw().substr(0, n);
}

template <size_t N>
bool DtmfCodeEqual(const DtmfCode<N>& a, const DtmfCode<N>& b, int limit) {
  return a.Length == b.Length && PrefixEqual(a.Text, b.Text, a.Length, limit);
}

bool ChannelEqual(const ChannelRecord& a, const ChannelRecord& b) {
  // Every field in record order: texts after CleanText, 16-bit values as they are, except the
  // four that only decoding or the edit dialog set.
  struct Field {
    std::string_view name;
    int value = 0;
    std::string text;
    bool isText = false;
  };
  std::array<Field, 43> fa{}, fb{};
  auto collect = [](const ChannelRecord& c, std::array<Field, 43>& out) {
    size_t i = 0;
    VisitChannelFields(c, [&](std::string_view name, const auto& field) {
      Field& f = out[i++];
      f.name = name;
      if constexpr (std::is_same_v<std::decay_t<decltype(field)>, int16_t>) {
        f.value = field;
      } else {
        f.text = field.Clean();
        f.isText = true;
      }
    });
  };
  collect(a, fa);
  collect(b, fb);
  for (size_t i = 0; i < fa.size(); ++i) {
    const auto& name = fa[i].name;
    if (name == "ToneBDcsHigh" || name == "ToneADcsHigh" || name == "PttIdFlag" ||
        name == "RawByte27")
      continue;
    if (fa[i].isText ? fa[i].text != fb[i].text : fa[i].value != fb[i].value) return false;
  }
  return true;
}

bool ChannelsEqual(const ChannelList& working, const SavedCopy& saved) {
  const int count = ClampCount(saved.settings.ChannelCount);
  const auto used = working.Used();
  for (int i = 0; i < count; ++i) {
    const ChannelRecord& s = saved.channels[i];
    const ChannelRecord* w = nullptr;
    if (i < static_cast<int>(used.size()) && used[i].Number == s.Number) {
      w = &used[i];
    } else {
      w = working.Find(s.Number);
    }
    if (!w || !ChannelEqual(*w, s)) return false;
  }
  return true;
}

bool DtmfEqual(const DtmfSettings& a, const DtmfSettings& b) {
  if (a.OwnId != b.OwnId || a.Ani != b.Ani || a.SendTime != b.SendTime ||
      a.PttIdMode != b.PttIdMode || a.Separator != b.Separator || a.GroupCode != b.GroupCode ||
      a.FirstDigitDelay != b.FirstDigitDelay || a.PreSendDelay != b.PreSendDelay ||
      a.ResetTime != b.ResetTime || a.PostSendDelay != b.PostSendDelay ||
      a.PauseTime != b.PauseTime || a.Sidetone != b.Sidetone)
    return false;
  if (!DtmfCodeEqual(a.KillCode, b.KillCode, 14) || !DtmfCodeEqual(a.StunCode, b.StunCode, 14))
    return false;
  if (!DtmfCodeEqual(a.PttIdBegin, b.PttIdBegin, 24) || !DtmfCodeEqual(a.PttIdEnd, b.PttIdEnd, 24))
    return false;
  for (size_t i = 0; i < a.Codes.size(); ++i) {
    if (!DtmfCodeEqual(a.Codes[i], b.Codes[i], 24)) return false;
  }
  return true;
}

bool TwoToneEqual(const TwoToneSettings& a, const TwoToneSettings& b) {
  if (a.CallFormat != b.CallFormat || a.FirstDivider != b.FirstDivider ||
      a.SecondDivider != b.SecondDivider || a.Time5 != b.Time5 ||
      a.DecodeResponse != b.DecodeResponse || a.Sidetone != b.Sidetone || a.Time1 != b.Time1 ||
      a.Time2 != b.Time2 || a.Time3 != b.Time3 || a.Time4 != b.Time4)
    return false;
  for (size_t i = 0; i < a.Entries.size(); ++i) {
    if (a.Entries[i].RxDivider1 != b.Entries[i].RxDivider1 ||
        a.Entries[i].RxDivider2 != b.Entries[i].RxDivider2)
      return false;
  }
  return true;
}

bool FiveToneCodeEqual(const FiveToneCode& a, const FiveToneCode& b, int limit) {
  return a.Spare == b.Spare && a.Standard == b.Standard && a.Length == b.Length &&
         a.TonePeriod == b.TonePeriod && PrefixEqual(a.Digits, b.Digits, a.Length, limit);
}

bool FiveToneEqual(const FiveToneSettings& a, const FiveToneSettings& b) {
  if (a.Reserved != b.Reserved || a.DecodeResponse != b.DecodeResponse ||
      a.Standard != b.Standard || a.IdLength != b.IdLength || a.TonePeriod != b.TonePeriod ||
      a.Seconds != b.Seconds || a.Delay1 != b.Delay1 || a.Delay2 != b.Delay2 ||
      a.Number != b.Number || a.FirstDigitDelay != b.FirstDigitDelay ||
      a.PauseTime != b.PauseTime || a.PauseCode != b.PauseCode || a.Sidetone != b.Sidetone ||
      a.SpecialCall != b.SpecialCall)
    return false;
  if (!PrefixEqual(a.OwnId, b.OwnId, a.IdLength, 5)) return false;
  if (!FiveToneCodeEqual(a.PttIdBegin, b.PttIdBegin, 22) ||
      !FiveToneCodeEqual(a.PttIdEnd, b.PttIdEnd, 22))
    return false;
  for (size_t i = 0; i < a.InfoCodes.size(); ++i) {
    const InfoCode& x = a.InfoCodes[i];
    const InfoCode& y = b.InfoCodes[i];
    if (x.Function != y.Function || x.Response != y.Response || x.Length != y.Length ||
        !PrefixEqual(x.Digits, y.Digits, x.Length, 12) || x.Name.Clean() != y.Name.Clean())
      return false;
  }
  for (size_t i = 0; i < a.Codes.size(); ++i) {
    if (!FiveToneCodeEqual(a.Codes[i], b.Codes[i], 40)) return false;
  }
  return true;
}

bool OptionsEqual(const OptionSettings& a, const OptionSettings& b) {
  // The 23 list options and switches from Option0 to Option13, then the power-on group; the
  // broadcast-receiver fields are not compared.
  const int16_t OptionSettings::*const fields[] = {
      &OptionSettings::Option0,  &OptionSettings::Option1,  &OptionSettings::OptionChannel,
      &OptionSettings::Option3,  &OptionSettings::Option5,  &OptionSettings::Option18,
      &OptionSettings::Option7,  &OptionSettings::Option8,  &OptionSettings::ToneFrequency,
      &OptionSettings::Option10, &OptionSettings::Option11, &OptionSettings::Option12,
      &OptionSettings::Option14, &OptionSettings::Switch3,  &OptionSettings::Option15,
      &OptionSettings::Switch0,  &OptionSettings::Switch1,  &OptionSettings::Switch2,
      &OptionSettings::Option16, &OptionSettings::Option17, &OptionSettings::Option4,
      &OptionSettings::Option6,  &OptionSettings::Option13};
  for (auto f : fields) {
    if (a.*f != b.*f) return false;
  }
  return a.PowerOnMessage.Clean() == b.PowerOnMessage.Clean() &&
         a.PowerOnPasswordEnabled == b.PowerOnPasswordEnabled &&
         a.PowerOnPassword.Clean() == b.PowerOnPassword.Clean();
}

bool BookEqual(const BookEntries& a, const BookEntries& b) {
  for (size_t i = 0; i < a.entries.size(); ++i) {
    if (a.entries[i].CallId.Clean() != b.entries[i].CallId.Clean() ||
        a.entries[i].EntryName.Clean() != b.entries[i].EntryName.Clean())
      return false;
  }
  return true;
}

// --- reading ---------------------------------------------------------------------------------

// The settings record at `offset` of `bytes`; false when the file is too short to hold it.
bool ParseSettings(std::string_view bytes, size_t offset, SettingsRecord& out) {
  if (bytes.size() < offset + kSettingsRecordSize) return false;
  ByteReader r(bytes.substr(offset, kSettingsRecordSize));
  out.Read(r);
  return !r.Short();
}

}  // namespace

void CopyWorkingToSaved(Workspace& ws) {
  ws.settings.BandCode = ws.app.BandCode;
  ws.settings.ChannelCount = static_cast<int16_t>(ws.channels.Count());
  FillSavedFromWorking(ws, ws.saved);
}

namespace {

// SavedCopy -> working copy. With `adoptBand` the band of the record becomes the current band.
void CopySavedToWorking(Workspace& ws, bool adoptBand) {
  if (ws.app.FactoryMode) ws.testValues = ws.saved.testValues;
  ws.settings = ws.saved.settings;
  if (adoptBand) {
    ws.app.BandCode = ws.saved.settings.BandCode;
    ws.app.BandText = BandTextOfCode(ws.app.BandCode);
    ParseBandLimits(ws.app);
  }
  const int count = ClampCount(ws.saved.settings.ChannelCount);
  std::copy_n(ws.saved.channels.begin(), count, ws.channels.Slots.begin());
  ws.channels.ChannelCount = static_cast<int16_t>(count);
  ws.settings.ChannelCount = static_cast<int16_t>(count);
}

}  // namespace

void CopySavedToWorking(Workspace& ws) {
  CopySavedToWorking(ws, true);
}

bool IsModified(const Workspace& ws) {
  const SettingsRecord& w = ws.settings;
  const SettingsRecord& s = ws.saved.settings;
  if (ws.app.BandCode != s.BandCode) return true;
  if (static_cast<int>(ws.channels.Count()) != s.ChannelCount) return true;
  if (w.DecodeTime != s.DecodeTime || w.Switch4 != s.Switch4 || w.Switch5 != s.Switch5 ||
      w.Switch6 != s.Switch6)
    return true;
  if (!ChannelsEqual(ws.channels, ws.saved)) return true;
  if (!DtmfEqual(w.Dtmf, s.Dtmf)) return true;
  if (!TwoToneEqual(w.TwoTone, s.TwoTone)) return true;
  if (!FiveToneEqual(w.FiveTone, s.FiveTone)) return true;
  if (!OptionsEqual(w.Options, s.Options)) return true;
  if (!BookEqual(w.Book, s.Book)) return true;
  if (!(w.Scan == s.Scan) || !(w.Alert == s.Alert)) return true;
  if (ws.app.FactoryMode && ws.testValues != ws.saved.testValues) return true;
  return false;
}

void ResetWorkingData(Workspace& ws) {
  ws.CurrentFileName = "new.dat";
  ws.Untitled = true;
  ws.BookFileName = "new.cb";

  SettingsRecord& s = ws.settings;
  ResetDtmf(s.Dtmf);
  ResetTwoTone(s.TwoTone);
  ResetFiveTone(s.FiveTone, s.DecodeTime);
  ResetOptions(s.Options);
  s.Scan = ScanSettings{};
  s.Alert = AlertSettings{};
  s.Book = BookEntries{};
  s.Switch4 = s.Switch5 = s.Switch6 = 0;
  s.Ble = BleOptions{};
  // The broadcast lists have no defaults: they stay unless the default file brings its own.
  NewDefaultChannels(ws.channels, ws.app);

  LoadDefaultData(ws);

  NumberBroadcastEntries(s.Fm);
  NumberBroadcastEntries(s.Am);
  CopyWorkingToSaved(ws);
}

bool LoadBlocklessFile(Workspace& ws, const std::string& path, bool resetChannels) {
  const auto bytes = ReadFileBytes(path);
  SavedCopy copy = ws.saved;
  if (!bytes || !ParseSettings(*bytes, 0, copy.settings)) {
    CopyWorkingToSaved(ws);
    return false;
  }
  copy.settings.BandCode = ws.app.BandCode;
  copy.settings.ChannelCount = static_cast<int16_t>(ClampCount(copy.settings.ChannelCount));
  const int read =
      ReadChannelFile(ChannelFilePath(path), copy.settings.ChannelCount, copy.channels);
  if (read < copy.settings.ChannelCount) RepairShortList(copy, read, ws.app);
  if (ws.app.FactoryMode) ReadTestDataFile(TestDataPathFor(path), copy.testValues);

  ws.saved = copy;
  CopySavedToWorking(ws, false);
  if (resetChannels) {
    NewDefaultChannels(ws.channels, ws.app);
    CopyWorkingToSaved(ws);
  }
  return true;
}

void LoadDefaultData(Workspace& ws) {
  const std::string path = DefaultDataPath(ws.app.ProgramFolder, ws.app.RadioType, ws.app.BandCode);
  if (ReadFileBytes(path)) {
    LoadBlocklessFile(ws, path, false);
  } else {
    LoadBlocklessFile(ws, FallbackDataPath(ws.app.ProgramFolder), true);
  }
}

bool ReadDataFile(Workspace& ws, Prompts& prompts, const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes || bytes->size() < kPasswordBlockSize) {
    ShowFileError(ws, prompts);
    return false;
  }

  PasswordBlock block{};
  std::copy_n(bytes->begin(), block.size(), block.begin());
  const auto stored = DecodePasswordBlock(block);
  if (stored && !stored->empty() && *stored != ws.CurrentFilePassword) {
    const auto& texts = ws.lang.BuiltIn();
    for (;;) {
      const auto entered = prompts.FilePassword(texts.FilePasswordSetTitle, ws.CurrentFilePassword);
      if (!entered) return false;  // cancelled: nothing read, no message
      ws.CurrentFilePassword = CleanText(*entered);
      if (ws.CurrentFilePassword == *stored) break;
      prompts.Message(texts.FilePasswordError, Icon::Critical, Buttons::Ok);
    }
  }

  // Everything goes into a copy first: an unreadable file changes nothing.
  SavedCopy copy = ws.saved;
  if (!ParseSettings(*bytes, stored ? kPasswordBlockSize : 0, copy.settings)) {
    ShowFileError(ws, prompts);
    return false;
  }
  const int count = ClampCount(copy.settings.ChannelCount);
  copy.settings.ChannelCount = static_cast<int16_t>(count);
  const std::string channelPath = ChannelFilePath(path);
  const int read = ReadChannelFile(channelPath, count, copy.channels);
  if (read < count) RepairShortList(copy, read, ws.app);
  if (ws.app.FactoryMode) ReadTestDataFile(TestDataPathFor(path), copy.testValues);

  ws.saved = copy;
  CopySavedToWorking(ws, true);
  ws.CurrentFileName = path;
  ws.Untitled = false;
  if (read < count) {
    prompts.Message(
        MissingChannelsText(ws.lang.LanguageIndex(), count - read, BaseName(channelPath)),
        Icon::Warning, Buttons::Ok);
  }
  return true;
}

bool WriteDataFile(Workspace& ws, Prompts& prompts) {
  const auto& texts = ws.lang.BuiltIn();
  if (const auto entered = prompts.FilePassword(texts.FilePasswordSetTitle, ws.CurrentFilePassword))
    ws.CurrentFilePassword = CleanText(*entered);

  ws.settings.BandCode = ws.app.BandCode;
  ws.settings.ChannelCount = static_cast<int16_t>(ws.channels.Count());
  SavedCopy copy = ws.saved;
  FillSavedFromWorking(ws, copy);

  std::vector<FileContent> files(2);
  files[0].path = ws.CurrentFileName;
  {
    const PasswordBlock block = MakePasswordBlock(ws.CurrentFilePassword);
    ByteWriter w(files[0].bytes);
    w.Raw(block.data(), block.size());
    copy.settings.Write(w);
  }
  files[1].path = ChannelFilePath(ws.CurrentFileName);
  {
    ByteWriter w(files[1].bytes);
    for (int i = 0; i < copy.settings.ChannelCount; ++i) copy.channels[i].Write(w);
  }
  if (ws.app.FactoryMode) {
    FileContent ted{TestDataPathFor(ws.CurrentFileName), {}};
    ByteWriter w(ted.bytes);
    WriteTestData(copy.testValues, w);
    files.push_back(std::move(ted));
  }
  if (!WriteFilesAtomically(files)) {
    ShowFileError(ws, prompts);
    return false;
  }
  ws.saved = copy;
  ws.Untitled = false;
  return true;
}

bool Save(Workspace& ws, Prompts& prompts) {
  if (ws.Untitled) return SaveAs(ws, prompts);
  const std::string text =
      "\"" + BaseName(ws.CurrentFileName) + "\"" + std::string(ws.lang.BuiltIn().OverwriteConfirm);
  if (prompts.Message(text, Icon::Question, Buttons::OkCancel) != Answer::Ok) return false;
  return WriteDataFile(ws, prompts);
}

bool SaveAs(Workspace& ws, Prompts& prompts) {
  const auto name = prompts.SaveFileName({}, DataFileFilter(ws), ws.CurrentFileName);
  if (!name) return false;
  const std::string previous = ws.CurrentFileName;
  ws.CurrentFileName = *name;
  if (WriteDataFile(ws, prompts)) return true;
  ws.CurrentFileName = previous;  // the data still belong to the file they came from
  return false;
}

bool New(Workspace& ws, Prompts& prompts) {
  if (IsModified(ws)) {
    const std::string question = ws.lang.GetLangKeyText("MSG", "9001");
    // Yes saves first; No and Cancel go on. A save that does not complete stops here, so that
    // the data are not lost.
    if (prompts.Message(question, Icon::Warning, Buttons::YesNoCancel) == Answer::Yes &&
        !Save(ws, prompts))
      return false;
  }
  if (!ws.app.InitInProgress && prompts.Message(ws.lang.BuiltIn().AllDataCleared, Icon::Warning,
                                                Buttons::OkCancel) != Answer::Ok)
    return false;
  ResetWorkingData(ws);
  return true;
}

bool Open(Workspace& ws, Prompts& prompts) {
  if (IsModified(ws)) {
    switch (prompts.Message(ws.lang.BuiltIn().SaveModifiedConfirm, Icon::Warning,
                            Buttons::YesNoCancel)) {
      case Answer::Yes:
        if (!Save(ws, prompts)) return false;  // the modified data would be lost
        break;
      case Answer::No:
        break;
      default:
        return false;
    }
  }
  const auto name = prompts.OpenFileName({}, DataFileFilter(ws), ws.CurrentFileName);
  if (!name) return false;
  return ReadDataFile(ws, prompts, *name);
}

}  // namespace kvx

// The channel record's file form, the working list and its operations, the default records and
// the grid's channel clipboard.
#include <algorithm>
#include <cmath>

#include "core/image/Channels.h"
#include "core/image/Freq.h"
#include "core/image/Tones.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

struct FileWriter {
  ByteWriter& w;
  void operator()(std::string_view, const int16_t& v) const { w.I16(v); }
  template <size_t N>
  void operator()(std::string_view, const FixedText<N>& t) const {
    t.Write(w);
  }
};

struct FileReader {
  ByteReader& r;
  void operator()(std::string_view, int16_t& v) const { v = r.I16(); }
  template <size_t N>
  void operator()(std::string_view, FixedText<N>& t) const {
    t.Read(r);
  }
};

bool IsFixedChannel(int number) {
  return number == kChannelCall || number == kChannelVfo;
}

// Copies the first record of that number with InUse 1; true when one was found.
bool CopyInto(const ChannelList& list, ChannelClipboard& clip, int row) {
  for (const ChannelRecord& c : list.Used()) {
    if (c.Number == row && c.InUse == 1) {
      clip.Record = c;
      return true;
    }
  }
  clip.Record.InUse = 0;  // the emptiness of the row; the other fields stay
  return false;
}

}  // namespace

void ChannelRecord::Write(ByteWriter& w) const {
  VisitChannelFields(*this, FileWriter{w});
}

void ChannelRecord::Read(ByteReader& r) {
  VisitChannelFields(*this, FileReader{r});
}

size_t ChannelList::Count() const {
  return static_cast<size_t>(std::clamp<int>(ChannelCount, 0, kChannelSlots));
}

std::optional<int> ChannelList::FindChannel(int number) const {
  for (size_t i = 0; i < Count(); ++i)
    if (Slots[i].Number == number) return static_cast<int>(i);
  return std::nullopt;
}

ChannelRecord* ChannelList::Find(int number) {
  std::optional<int> at = FindChannel(number);
  return at ? &Slots[static_cast<size_t>(*at)] : nullptr;
}

const ChannelRecord* ChannelList::Find(int number) const {
  std::optional<int> at = FindChannel(number);
  return at ? &Slots[static_cast<size_t>(*at)] : nullptr;
}

bool ChannelList::ChannelExists(int number) const {
  return FindChannel(number).has_value();
}

bool ChannelList::ChannelInUse(int number) const {
  const ChannelRecord* c = Find(number);
  return c && c->InUse == 1;
}

bool ChannelList::AppendChannel(const ChannelRecord& record) {
  size_t n = Count();
  if (n >= Slots.size()) return false;
  Slots[n] = record;
  ChannelCount = static_cast<int16_t>(n + 1);
  return true;
}

bool ChannelList::DeleteChannel(int number) {
  if (IsFixedChannel(number)) return false;
  std::optional<int> at = FindChannel(number);
  if (!at) return false;
  size_t n = Count();
  for (size_t i = static_cast<size_t>(*at); i + 1 < n; ++i) Slots[i] = Slots[i + 1];
  ChannelCount = static_cast<int16_t>(n - 1);
  return true;
}

int ChannelList::ValidChannelRef(int number) const {
  int last = 0;
  for (const ChannelRecord& c : Used()) {
    if (c.Number < 1 || c.Number > kMemoryChannels) continue;
    if (c.Number == number) return number;
    last = c.Number;
  }
  return last;
}

ChannelRecord DefaultChannel(int number, const AppState& app) {
  ChannelRecord c;
  c.Number = static_cast<int16_t>(number);
  c.InUse = 1;
  c.ScanSkip = 1;
  // The middle of the receive band, upper limit taken as a whole number.
  const double middle = (std::nearbyint(app.RxHigh) + app.RxLow) / 2;
  c.RxFreq = DisplayToFreqText(FormatFixed(middle, 4));
  c.Offset = kZeroFreq;
  c.Name = std::string_view("\0", 1);
  c.Step = kDefaultStepPosition;
  c.ToneACtcss = 20;  // 127.3 Hz
  c.ToneBCtcss = 20;
  c.PttIdCode = "00000";
  return c;
}

void NewDefaultChannels(ChannelList& list, const AppState& app) {
  list.Slots[0] = DefaultChannel(kChannelCall, app);
  list.Slots[1] = DefaultChannel(kChannelVfo, app);
  list.ChannelCount = 2;
}

ChannelRecord EmptyChannel(int number) {
  ChannelRecord c;
  c.Number = static_cast<int16_t>(number);
  c.RxFreq = kNoFreq;
  c.Offset = kZeroFreq;
  c.Name = "";
  c.Step = kDefaultStepPosition;
  c.PttIdCode = "00000";
  return c;
}

void CopyChannel(const ChannelList& list, ChannelClipboard& clip, int row) {
  CopyInto(list, clip, row);
}

void CutChannel(ChannelList& list, ChannelClipboard& clip, int row) {
  if (CopyInto(list, clip, row)) list.DeleteChannel(row);
}

void PasteChannel(ChannelList& list, const ChannelClipboard& clip, int row) {
  if (clip.Record.InUse != 1) {
    list.DeleteChannel(row);  // pasting an empty row; CALL and VFO stay
    return;
  }
  if (ChannelRecord* c = list.Find(row)) {
    *c = clip.Record;
    c->Number = static_cast<int16_t>(row);
    return;
  }
  ChannelRecord copy = clip.Record;
  copy.Number = static_cast<int16_t>(row);
  list.AppendChannel(copy);  // numbers are unique, so a free slot exists
}

bool ChannelCommand(ChannelList& list, ChannelClipboard& clip, std::string_view command, int row) {
  if (command == "C") {
    clip.ClipboardFilled = true;
    CopyChannel(list, clip, row);
    return false;
  }
  if (command == "X") {
    clip.ClipboardFilled = true;
    CutChannel(list, clip, row);
    return true;
  }
  if (command == "V") {
    if (!clip.ClipboardFilled) return false;
    PasteChannel(list, clip, row);
    return true;
  }
  if (command == "D") {
    list.DeleteChannel(row);
    return true;
  }
  return false;
}

}  // namespace kvx

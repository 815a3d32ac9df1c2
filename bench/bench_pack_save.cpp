// Encoding and decoding a full data set (PackAll, UnpackAll) and saving and opening it as data
// files. Prints the median and the fastest time of each; no assertions.
//
// Usage: bench_pack_save [ROUNDS]   (default 2000; Save and Open use ROUNDS / 10)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/files/DataFile.h"
#include "core/files/PasswordBlock.h"
#include "core/files/Workspace.h"
#include "core/image/PackAll.h"

namespace kvx {
namespace {

// Every message is dropped; file dialogs and passwords answer with what they were given.
class QuietPrompts : public Prompts {
 public:
  Answer Message(std::string_view, Icon, Buttons buttons, std::string_view) override {
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
  }
  std::optional<std::string> OpenFileName(std::string_view, std::string_view,
                                          std::string_view initial) override {
    return std::string(initial);
  }
  std::optional<std::string> SaveFileName(std::string_view, std::string_view,
                                          std::string_view initial) override {
    return std::string(initial);
  }
  std::optional<std::string> FilePassword(std::string_view, std::string_view current) override {
    return std::string(current);
  }
  std::optional<std::string> ProgramPassword(std::string_view) override { return std::nullopt; }
};

std::string Digits9(long v) {
  std::string s = std::to_string(v);
  return std::string(9 - s.size(), '0') + s;
}

// All 204 channels and every list and code in use, with long texts: the largest data set.
void FillFullDataSet(Workspace& ws) {
  ws.channels.ChannelCount = 0;
  for (int n = 1; n <= 204; ++n) {
    ChannelRecord c = DefaultChannel(n, ws.app);
    c.ScanSkip = n % 2;
    c.RxFreq = Digits9(14000000 + 2500L * n);
    c.Offset = "000060000";
    c.Shift = static_cast<int16_t>(n % 3);
    c.Name = "CH" + std::to_string(n);
    c.Power = static_cast<int16_t>(n % 3);
    c.ToneAType = 1;
    c.ToneBType = 2;
    c.ToneADcs = static_cast<int16_t>(n * 2);
    c.Signalling = static_cast<int16_t>(n % 4);
    c.TwoToneCode = static_cast<int16_t>(n % 32);
    c.FiveToneCode = static_cast<int16_t>(n % 100);
    c.PttIdCode = "1A2B3";
    ws.channels.AppendChannel(c);
  }
  SettingsRecord& s = ws.settings;
  for (auto& code : s.Dtmf.Codes) {
    code.Text = "0123456789ABCDEF01234567";
    code.Length = 24;
  }
  s.Dtmf.KillCode.Text = "12345678901234";
  s.Dtmf.KillCode.Length = 14;
  for (size_t i = 0; i < s.TwoTone.Entries.size(); ++i) {
    auto& e = s.TwoTone.Entries[i];
    e.Empty = 0;
    e.RxTone1 = static_cast<uint16_t>(3000 + i);
    e.RxDivider1 = DecodeDivider(300.0 + i);
    e.Name = "TT" + std::to_string(i);
  }
  for (size_t j = 0; j < s.FiveTone.Codes.size(); ++j) {
    auto& c = s.FiveTone.Codes[j];
    c.Empty = 0;
    c.Length = 40;
    c.Digits = "0123456789ABCDEF0123456789ABCDEF01234567";
    c.Name = "FT" + std::to_string(j);
  }
  for (size_t n = 0; n < s.Book.entries.size(); ++n) {
    SetBookText(s.Book.entries[n].CallId, std::to_string(10000 + n));
    SetBookText(s.Book.entries[n].EntryName, "NAME" + std::to_string(n));
  }
  for (size_t i = 0; i < BroadcastList::kEntries; ++i) {
    s.Fm.entries[i] = {static_cast<int16_t>(i + 1), 1, 88.0 + i};
    s.Am.entries[i] = {static_cast<int16_t>(i + 1), 1, 118.0 + i};
  }
}

struct Figures {
  double medianUs = 0, fastestUs = 0;
};

template <class F>
Figures Measure(int rounds, F&& f) {
  std::vector<double> us;
  us.reserve(static_cast<size_t>(rounds));
  for (int i = 0; i < rounds; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const auto t1 = std::chrono::steady_clock::now();
    us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  std::sort(us.begin(), us.end());
  return {us[us.size() / 2], us.front()};
}

void Print(const char* what, int rounds, const Figures& f) {
  std::printf("%-46s %6d rounds   median %9.1f us   fastest %9.1f us\n", what, rounds, f.medianUs,
              f.fastestUs);
}

}  // namespace
}  // namespace kvx

int main(int argc, char** argv) {
  using namespace kvx;
  const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
  const int fileRounds = std::max(10, rounds / 10);

  Workspace ws;
  ws.app.ProgramFolder = KVX50_BIN_DIR;
  ResetWorkingData(ws);
  FillFullDataSet(ws);
  QuietPrompts prompts;

  bool packOk = true;
  Print("ClearImage + PackAll (204 channels, all areas)", rounds, Measure(rounds, [&] {
          ClearImage(ws.image);
          packOk = PackAll(ws, &prompts) && packOk;
        }));
  if (!packOk) std::printf("  (PackAll reported a failure)\n");

  const RadioImage packed = ws.image;
  Workspace decoded;
  decoded.app = ws.app;
  Print("UnpackAll", rounds, Measure(rounds, [&] {
          decoded.image = packed;
          UnpackAll(decoded, &prompts);
        }));
  std::printf("  decoded channels: %d\n", static_cast<int>(decoded.channels.ChannelCount));

  // The bytes of a save without the file system: what Save costs besides writing and fsync.
  Print("serialise main and channel file (no I/O)", rounds, Measure(rounds, [&] {
          std::string main, fre;
          ByteWriter wm(main), wf(fre);
          ws.settings.Write(wm);
          for (const auto& c : ws.channels.Used()) c.Write(wf);
        }));

  std::string folder = (std::filesystem::temp_directory_path() / "kvx50-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  // The same files written and renamed without fsync: the part of Save that is ours.
  Print("write temp files + rename, no fsync", fileRounds, Measure(fileRounds, [&] {
          std::string main, fre;
          ByteWriter wm(main), wf(fre);
          const PasswordBlock block = MakePasswordBlock("");
          wm.Raw(block.data(), block.size());
          ws.settings.Write(wm);
          for (const auto& c : ws.channels.Used()) c.Write(wf);
          for (const auto* f : {&main, &fre}) {
            const std::string path = folder + (f == &main ? "/plain.dat" : "/plain.fre");
            std::ofstream(path + ".tmp", std::ios::binary)
                .write(f->data(), static_cast<long>(f->size()));
            std::filesystem::rename(path + ".tmp", path);
          }
        }));
  ws.CurrentFileName = folder + "/full.dat";
  ws.Untitled = false;
  bool saved = true;
  Print("Save (temp files, fsync, rename)", fileRounds,
        Measure(fileRounds, [&] { saved = WriteDataFile(ws, prompts) && saved; }));
  bool opened = true;
  Workspace reader;
  reader.app = ws.app;
  Print("Open (main and channel file)", fileRounds, Measure(fileRounds, [&] {
          opened = ReadDataFile(reader, prompts, ws.CurrentFileName) && opened;
        }));
  std::printf("  save %s, open %s, %d channels read back\n", saved ? "ok" : "FAILED",
              opened ? "ok" : "FAILED", static_cast<int>(reader.channels.ChannelCount));
  std::printf("  files written in %s\n", folder.c_str());
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}

// The data-file reader with its channel file and, in factory mode, its test-data file: any
// bytes in any of them.
//
// Input parts (FuzzSupport.h): main file, channel file, test-data file, a file password to
// answer with. With three parts or more the workspace is in factory mode.
// Checked: a refused file changes nothing; an accepted one gives a channel list of 0 to 204
// records with each number 1-204 at most once, data that are not modified, a save that reads
// back the same, and an encode into the image (and its decode) that stays inside the image.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "FuzzSupport.h"
#include "core/factory/TestData.h"
#include "core/files/DataFile.h"
#include "core/files/PasswordBlock.h"
#include "core/files/Workspace.h"

using namespace kvx;
using namespace kvx::fuzz;

namespace {

std::string SettingsBytes(const SettingsRecord& s) {
  std::string out;
  ByteWriter w(out);
  s.Write(w);
  return out;
}

// Everything a refused read must leave alone. Records are compared by their file bytes, so
// that a NaN frequency compares equal to itself.
std::string Snapshot(const Workspace& ws) {
  std::string out = SettingsBytes(ws.settings) + SettingsBytes(ws.saved.settings);
  ByteWriter w(out);
  for (const auto& c : ws.channels.Slots) c.Write(w);
  w.I16(ws.channels.ChannelCount);
  for (const auto& c : ws.saved.channels) c.Write(w);
  WriteTestData(ws.testValues, w);
  WriteTestData(ws.saved.testValues, w);
  w.I16(ws.app.BandCode);
  out += ws.app.BandText + "|" + ws.CurrentFileName + "|" + (ws.Untitled ? "U" : "T");
  return out;
}

// The data a file holds, as the reader put them into the SavedCopy.
std::string SavedData(const Workspace& ws) {
  std::string out = SettingsBytes(ws.saved.settings);
  ByteWriter w(out);
  const int count = std::clamp<int>(ws.saved.settings.ChannelCount, 0, kChannelSlots);
  for (int i = 0; i < count; ++i) ws.saved.channels[i].Write(w);
  if (ws.app.FactoryMode) WriteTestData(ws.saved.testValues, w);
  return out;
}

void CheckList(const ChannelList& list) {
  FUZZ_CHECK(list.ChannelCount >= 0 && list.ChannelCount <= kChannelSlots);
  std::set<int> numbers;
  for (const ChannelRecord& c : list.Used()) {
    FUZZ_CHECK(c.Number >= 1 && c.Number <= kChannelVfo);
    FUZZ_CHECK(numbers.insert(c.Number).second);
  }
}

// A fresh workspace, copied from one made once: a new 100 KB workspace per run would spend the
// time in the allocator.
Workspace& NewWorkspace(bool factory, int which) {
  static const std::array<std::unique_ptr<Workspace>, 2> fresh = [] {
    std::array<std::unique_ptr<Workspace>, 2> made;
    for (int f = 0; f < 2; ++f) {
      made[f] = std::make_unique<Workspace>();
      made[f]->app.FactoryMode = f;
      made[f]->app.ProgramFolder = ScratchFolder();  // no Init/ there: the built-in defaults
      ResetWorkingData(*made[f]);
    }
    return made;
  }();
  static const std::array<std::unique_ptr<Workspace>, 2> work = {std::make_unique<Workspace>(),
                                                                 std::make_unique<Workspace>()};
  *work[which] = *fresh[factory ? 1 : 0];
  return *work[which];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parts = SplitInput(data, size, 4);
  const bool factory = parts.size() >= 3;
  const std::string& folder = ScratchFolder();
  const std::string path = folder + "/case.dat";
  WriteFile(path, PartOr(parts, 0));
  if (parts.size() >= 2)
    WriteFile(ChannelFilePath(path), parts[1]);
  else
    RemoveFile(ChannelFilePath(path));
  if (factory)
    WriteFile(TestDataPathFor(path), parts[2]);
  else
    RemoveFile(TestDataPathFor(path));

  Workspace* ws = &NewWorkspace(factory, 0);
  const std::string before = Snapshot(*ws);
  QuietPrompts prompts;
  // The dialog's key filter makes the answer: at most 10 digits and capital letters.
  if (parts.size() >= 4) prompts.filePasswords.push_back(FilterFilePassword(parts[3]));

  if (!ReadDataFile(*ws, prompts, path)) {
    FUZZ_CHECK(Snapshot(*ws) == before);
    return 0;
  }
  FUZZ_CHECK(ws->CurrentFileName == path && !ws->Untitled);
  CheckList(ws->channels);
  FUZZ_CHECK(ws->saved.settings.ChannelCount == ws->channels.ChannelCount);
  FUZZ_CHECK(!IsModified(*ws));
  if (factory && parts[2].size() >= kTestDataFileSize) {
    TestDataValues fromFile{};
    ByteReader r(parts[2]);
    ReadTestData(fromFile, r);
    FUZZ_CHECK(ws->testValues == fromFile);
  }

  // Saved under another name with the same password, the files read back the same.
  const std::string read = SavedData(*ws);
  ws->CurrentFileName = folder + "/copy.dat";
  prompts.filePasswords.clear();  // the save keeps the password the file was opened with
  FUZZ_CHECK(WriteDataFile(*ws, prompts));
  FUZZ_CHECK(!IsModified(*ws));
  Workspace* again = &NewWorkspace(factory, 1);
  again->CurrentFilePassword = ws->CurrentFilePassword;
  FUZZ_CHECK(ReadDataFile(*again, prompts, ws->CurrentFileName));
  FUZZ_CHECK(SavedData(*again) == read);

  // Whatever the records hold, the codecs stay inside the image.
  QuietPrompts quiet;
  if (PackAll(*ws, &quiet)) UnpackAll(*ws, &quiet);
  CheckList(ws->channels);
  return 0;
}

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/app/BandTable.h"
#include "core/files/DataFile.h"
#include "core/files/PasswordBlock.h"
#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

namespace kvx {
namespace {

using test::MemoryChannel;
using test::ScratchFolder;
using test::ScriptedPrompts;

class WorkspaceFiles : public ::testing::Test {
 protected:
  void SetUp() override { test::PrepareWorkspace(ws, folder.Path()); }

  // Makes the data modified and distinct: a few channels, a DTMF code, a book entry.
  void Edit(Workspace& w) {
    w.channels.AppendChannel(MemoryChannel(1));
    w.channels.AppendChannel(MemoryChannel(17, "015012500"));
    w.settings.Dtmf.Codes[3].Text = "123E";
    w.settings.Dtmf.Codes[3].Length = 4;
    SetBookText(w.settings.Book.entries[0].CallId, "12345");
    w.settings.Alert.AlarmTime = 30;
  }

  // Save As `name` with the given password answer.
  bool SaveAsFile(Workspace& w, const std::string& name, std::optional<std::string> pw = "") {
    ScriptedPrompts p;
    p.saveNames.push_back(name);
    p.filePasswords.push_back(pw);
    return SaveAs(w, p);
  }

  ScratchFolder folder;
  Workspace ws;
};

TEST_F(WorkspaceFiles, SaveThenOpenGivesTheSameDataAndTheFileBand) {
  Edit(ws);
  SetBandText(ws.app, BandTextOfCode(5));
  ASSERT_TRUE(SaveAsFile(ws, folder / "a.dat"));
  EXPECT_FALSE(ws.Untitled);
  EXPECT_FALSE(IsModified(ws));
  EXPECT_EQ(test::FileBytes(folder / "a.dat").size(), kMainFileSize);
  EXPECT_EQ(test::FileBytes(folder / "a.fre").size(), 4u * ChannelRecord::kFileSize);

  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  ASSERT_EQ(other.app.BandCode, 3);
  ScriptedPrompts p;
  ASSERT_TRUE(ReadDataFile(other, p, folder / "a.dat"));
  EXPECT_TRUE(p.shown.empty());
  EXPECT_EQ(other.settings, ws.settings);
  EXPECT_EQ(other.channels.ChannelCount, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(other.channels.Slots[i], ws.channels.Slots[i]);
  EXPECT_EQ(other.app.BandCode, 5);
  EXPECT_EQ(other.app.BandText, BandTextOfCode(5));
  EXPECT_DOUBLE_EQ(other.app.TxHigh, 147.9975);
  EXPECT_EQ(other.CurrentFileName, folder / "a.dat");
  EXPECT_FALSE(other.Untitled);
  EXPECT_FALSE(IsModified(other));
}

TEST_F(WorkspaceFiles, ProtectedFileAsksUntilTheRightPasswordOrCancel) {
  Edit(ws);
  ASSERT_TRUE(SaveAsFile(ws, folder / "p.dat", "ab12"));  // CleanText only: the dialog filters
  EXPECT_EQ(ws.CurrentFilePassword, "ab12");

  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  {
    ScriptedPrompts p;
    p.filePasswords = {"WRONG", std::nullopt};
    EXPECT_FALSE(ReadDataFile(other, p, folder / "p.dat"));
    EXPECT_EQ(p.passwordCaptions.size(), 2u);
    EXPECT_TRUE(p.Saw(other.lang.BuiltIn().FilePasswordError));
    EXPECT_EQ(other.CurrentFileName, "new.dat");  // nothing loaded
    EXPECT_EQ(other.channels.ChannelCount, 2);
    EXPECT_EQ(other.CurrentFilePassword, "WRONG");  // the last entry confirmed with OK
  }
  {
    ScriptedPrompts p;
    p.filePasswords = {"ab12"};
    EXPECT_TRUE(ReadDataFile(other, p, folder / "p.dat"));
    EXPECT_EQ(other.channels.ChannelCount, 4);
  }
  {
    // Once the password is current, the same file opens without a question.
    ScriptedPrompts p;
    EXPECT_TRUE(ReadDataFile(other, p, folder / "p.dat"));
    EXPECT_TRUE(p.passwordCaptions.empty());
  }
}

TEST_F(WorkspaceFiles, UnprotectedFileOpensWithoutQuestionWhateverThePassword) {
  ASSERT_TRUE(SaveAsFile(ws, folder / "u.dat", ""));
  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  other.CurrentFilePassword = "SECRET";
  ScriptedPrompts p;
  EXPECT_TRUE(ReadDataFile(other, p, folder / "u.dat"));
  EXPECT_TRUE(p.passwordCaptions.empty());
}

TEST_F(WorkspaceFiles, CancelledPasswordDialogKeepsThePreviousPassword) {
  ASSERT_TRUE(SaveAsFile(ws, folder / "k.dat", "KEEP1"));
  ScriptedPrompts p;
  p.answers = {Answer::Ok};  // overwrite question
  p.filePasswords = {std::nullopt};
  ASSERT_TRUE(Save(ws, p));
  PasswordBlock block{};
  const std::string bytes = test::FileBytes(folder / "k.dat");
  std::copy_n(bytes.begin(), 16, block.begin());
  EXPECT_EQ(DecodePasswordBlock(block), "KEEP1");
}

TEST_F(WorkspaceFiles, BlocklessFileIsReadFromOffsetZero) {
  Edit(ws);
  ws.settings.BandCode = 4;
  ws.settings.ChannelCount = static_cast<int16_t>(ws.channels.ChannelCount);
  std::string bytes;
  ByteWriter w(bytes);
  ws.settings.Write(w);
  std::string fre;
  ByteWriter wf(fre);
  for (const auto& c : ws.channels.Used()) c.Write(wf);
  ASSERT_TRUE(WriteFileAtomically(folder / "b.dat", bytes));
  ASSERT_TRUE(WriteFileAtomically(folder / "b.fre", fre));

  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  ScriptedPrompts p;
  ASSERT_TRUE(ReadDataFile(other, p, folder / "b.dat"));
  EXPECT_TRUE(p.passwordCaptions.empty());
  EXPECT_EQ(other.app.BandCode, 4);
  EXPECT_EQ(other.settings.Dtmf, ws.settings.Dtmf);
  EXPECT_EQ(other.channels.ChannelCount, 4);
}

TEST_F(WorkspaceFiles, UnreadableMainFileShowsFileErrorAndChangesNothing) {
  Edit(ws);
  ASSERT_TRUE(SaveAsFile(ws, folder / "good.dat"));
  ws.settings.Alert.AlarmTime = 99;  // modified, unsaved
  const SettingsRecord working = ws.settings;
  const SavedCopy saved = ws.saved;
  std::filesystem::create_directory(folder / "dir.dat");
  ASSERT_TRUE(WriteFileAtomically(folder / "short.dat", std::string(100, 'x')));
  ASSERT_TRUE(WriteFileAtomically(folder / "shortblock.dat",
                                  test::FileBytes(folder / "good.dat").substr(0, 9120)));

  for (const char* name : {"missing.dat", "dir.dat", "short.dat", "shortblock.dat"}) {
    SCOPED_TRACE(name);
    ScriptedPrompts p;
    EXPECT_FALSE(ReadDataFile(ws, p, folder / name));
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, ws.lang.BuiltIn().FileError);
    EXPECT_EQ(ws.settings, working);
    EXPECT_EQ(ws.saved.settings, saved.settings);
    EXPECT_EQ(ws.CurrentFileName, folder / "good.dat");
    EXPECT_TRUE(IsModified(ws));
  }
}

TEST_F(WorkspaceFiles, FailedSaveKeepsOldFilesAndTheDataModified) {
  Edit(ws);
  ASSERT_TRUE(SaveAsFile(ws, folder / "keep.dat"));
  const std::string oldMain = test::FileBytes(folder / "keep.dat");
  const std::string oldFre = test::FileBytes(folder / "keep.fre");
  ws.channels.AppendChannel(MemoryChannel(50));
  ASSERT_TRUE(IsModified(ws));

  // A folder that refuses new files: read-only for an ordinary user; for root, which may write
  // anyway, the channel file's name is taken by a folder so that the second file fails.
  const bool root = ::geteuid() == 0;
  if (root) {
    std::filesystem::remove(folder / "keep.fre");
    std::filesystem::create_directory(folder / "keep.fre");
  } else {
    std::filesystem::permissions(
        folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  ScriptedPrompts p;
  p.answers = {Answer::Ok};
  EXPECT_FALSE(Save(ws, p));
  EXPECT_TRUE(p.Saw(ws.lang.BuiltIn().FileError));
  EXPECT_TRUE(IsModified(ws));
  EXPECT_FALSE(ws.Untitled);
  EXPECT_EQ(test::FileBytes(folder / "keep.dat"), oldMain);
  if (!root) {
    EXPECT_EQ(test::FileBytes(folder / "keep.fre"), oldFre);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
  }
  // No temporary files are left behind.
  for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
    EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << e.path();
}

TEST_F(WorkspaceFiles, FailedSaveAsKeepsTheFileNameAndUntitled) {
  ScriptedPrompts p;
  p.saveNames.push_back("/proc/kvx50-no-such-folder/x.dat");
  EXPECT_FALSE(SaveAs(ws, p));
  EXPECT_TRUE(p.Saw(ws.lang.BuiltIn().FileError));
  EXPECT_EQ(ws.CurrentFileName, "new.dat");
  EXPECT_TRUE(ws.Untitled);
}

TEST_F(WorkspaceFiles, KilledSaveLeavesAWholeOldOrNewFile) {
  // Two versions of the data; a child saves them alternately and is killed at random moments.
  Edit(ws);
  ASSERT_TRUE(SaveAsFile(ws, folder / "kill.dat"));
  const Workspace wsA = ws;
  const std::string versionA = test::FileBytes(folder / "kill.dat");
  Workspace wsB = ws;
  wsB.channels.AppendChannel(MemoryChannel(99));
  wsB.settings.Dtmf.OwnId = "987";
  ASSERT_TRUE(SaveAsFile(wsB, folder / "kill.dat"));
  const std::string versionB = test::FileBytes(folder / "kill.dat");
  ASSERT_NE(versionA, versionB);

  for (int round = 0; round < 8; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Workspace a = wsA, b = wsB;
      for (int i = 0;; ++i) {
        ScriptedPrompts p;
        p.answers = {Answer::Ok};
        Save(i % 2 ? b : a, p);
      }
    }
    ::usleep(2000 + 3000 * round);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string now = test::FileBytes(folder / "kill.dat");
    EXPECT_TRUE(now == versionA || now == versionB) << "round " << round << ": " << now.size();
    const size_t fre = test::FileBytes(folder / "kill.fre").size();
    EXPECT_TRUE(fre == 4 * ChannelRecord::kFileSize || fre == 5 * ChannelRecord::kFileSize);
  }
}

TEST_F(WorkspaceFiles, SaveKeepsPermissionsAndRefusesClashingNames) {
  namespace fs = std::filesystem;
  ASSERT_TRUE(SaveAsFile(ws, folder / "m.dat"));
  fs::permissions(folder / "m.dat", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(SaveAsFile(ws, folder / "m.dat"));
  EXPECT_EQ(fs::status(folder / "m.dat").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // A main file named like its own channel file would be overwritten by it.
  ScriptedPrompts p;
  p.saveNames.push_back(folder / "m.fre");
  EXPECT_FALSE(SaveAs(ws, p));
  EXPECT_TRUE(p.Saw(ws.lang.BuiltIn().FileError));
  EXPECT_EQ(test::FileBytes(folder / "m.fre").size(), 2 * ChannelRecord::kFileSize);
}

TEST_F(WorkspaceFiles, ShorterSaveLeavesNoStaleBytes) {
  for (int n = 1; n <= 10; ++n) ws.channels.AppendChannel(MemoryChannel(n));
  ASSERT_TRUE(SaveAsFile(ws, folder / "s.dat"));
  EXPECT_EQ(test::FileBytes(folder / "s.fre").size(), 12 * ChannelRecord::kFileSize);
  for (int n = 1; n <= 10; ++n) ws.channels.DeleteChannel(n);
  ASSERT_TRUE(SaveAsFile(ws, folder / "s.dat"));
  EXPECT_EQ(test::FileBytes(folder / "s.fre").size(), 2 * ChannelRecord::kFileSize);

  // An empty list writes an empty channel file and reads back empty, without a message.
  ws.channels.ChannelCount = 0;
  ASSERT_TRUE(SaveAsFile(ws, folder / "s.dat"));
  EXPECT_TRUE(std::filesystem::exists(folder / "s.fre"));
  EXPECT_EQ(test::FileBytes(folder / "s.fre").size(), 0u);
  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  ScriptedPrompts p;
  ASSERT_TRUE(ReadDataFile(other, p, folder / "s.dat"));
  EXPECT_EQ(other.channels.ChannelCount, 0);
  EXPECT_TRUE(p.shown.empty());
}

TEST_F(WorkspaceFiles, ShortChannelFileIsReadAndTheLossReported) {
  // Count 6: CALL, VFO and channels 1 to 4; the file keeps only the first three records.
  ws.channels.ChannelCount = 0;
  for (int n : {1, 2, 203, 3, 4, 204}) {
    ChannelRecord c = n > 200 ? DefaultChannel(n, ws.app) : MemoryChannel(n);
    ws.channels.AppendChannel(c);
  }
  ASSERT_TRUE(SaveAsFile(ws, folder / "c.dat"));
  std::filesystem::resize_file(folder / "c.fre", 3 * ChannelRecord::kFileSize + 50);

  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  ScriptedPrompts p;
  ASSERT_TRUE(ReadDataFile(other, p, folder / "c.dat"));
  ASSERT_EQ(p.shown.size(), 1u);
  EXPECT_NE(p.shown[0].text.find("3 channels"), std::string::npos) << p.shown[0].text;
  EXPECT_NE(p.shown[0].text.find("c.fre"), std::string::npos);
  // The records read, then VFO, which was among the lost ones.
  ASSERT_EQ(other.channels.ChannelCount, 4);
  EXPECT_EQ(other.channels.Slots[0].Number, 1);
  EXPECT_EQ(other.channels.Slots[2].Number, 203);
  EXPECT_EQ(other.channels.Slots[3], DefaultChannel(204, other.app));

  // A missing channel file: every record is lost.
  std::filesystem::remove(folder / "c.fre");
  ScriptedPrompts q;
  ASSERT_TRUE(ReadDataFile(other, q, folder / "c.dat"));
  EXPECT_TRUE(q.Saw("6 channels"));
}

TEST_F(WorkspaceFiles, FactoryModeCarriesTheTestDataFile) {
  ws.app.FactoryMode = true;
  ws.testValues[3] = -2;
  ws.testValues[31] = 0x1234;
  ASSERT_TRUE(SaveAsFile(ws, folder / "f.dat"));
  const std::string ted = test::FileBytes(folder / "f.ted");
  ASSERT_EQ(ted.size(), 64u);
  EXPECT_EQ(static_cast<uint8_t>(ted[6]), 0xFE);
  EXPECT_EQ(static_cast<uint8_t>(ted[63]), 0x12);

  Workspace other;
  other.app.FactoryMode = true;
  test::PrepareWorkspace(other, folder.Path());
  ScriptedPrompts p;
  ASSERT_TRUE(ReadDataFile(other, p, folder / "f.dat"));
  EXPECT_EQ(other.testValues, ws.testValues);
  other.testValues[0] = 1;
  EXPECT_TRUE(IsModified(other));

  // Outside factory mode no test-data file is written.
  ws.app.FactoryMode = false;
  ASSERT_TRUE(SaveAsFile(ws, folder / "g.dat"));
  EXPECT_FALSE(std::filesystem::exists(folder / "g.ted"));
}

TEST_F(WorkspaceFiles, SaveAsksForANameOnlyWhenUntitledAndOverwriteOtherwise) {
  ScriptedPrompts p;
  p.saveNames.push_back(folder / "t.dat");
  ASSERT_TRUE(Save(ws, p));
  EXPECT_TRUE(p.shown.empty());  // no overwrite question for a new name
  EXPECT_EQ(p.passwordCaptions, std::vector<std::string>{"File Password Set"});

  ScriptedPrompts q;
  q.answers = {Answer::Cancel};
  EXPECT_FALSE(Save(ws, q));
  ASSERT_EQ(q.shown.size(), 1u);
  EXPECT_EQ(q.shown[0].text, "\"t.dat\"file will be Overwrite,Continue?");
  EXPECT_EQ(q.shown[0].buttons, Buttons::OkCancel);
  EXPECT_TRUE(q.passwordCaptions.empty());
}

TEST_F(WorkspaceFiles, NewAndOpenQuestions) {
  Edit(ws);
  {
    // Cancel on New's save question goes on; Cancel on "All data will be cleared" stops.
    ScriptedPrompts p;
    p.answers = {Answer::Cancel, Answer::Cancel};
    EXPECT_FALSE(New(ws, p));
    ASSERT_EQ(p.shown.size(), 2u);
    EXPECT_EQ(p.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(p.shown[1].text, ws.lang.BuiltIn().AllDataCleared);
    EXPECT_TRUE(IsModified(ws));
  }
  {
    // Cancel on Open's save question stops Open before the file dialog.
    ScriptedPrompts p;
    p.answers = {Answer::Cancel};
    p.openNames.push_back(folder / "never.dat");
    EXPECT_FALSE(Open(ws, p));
    EXPECT_EQ(p.openNames.size(), 1u);
    EXPECT_EQ(p.shown[0].text, ws.lang.BuiltIn().SaveModifiedConfirm);
  }
  {
    // The initialisation command skips the clearing question.
    ws.app.InitInProgress = true;
    ScriptedPrompts p;
    p.answers = {Answer::No};
    EXPECT_TRUE(New(ws, p));
    EXPECT_EQ(p.shown.size(), 1u);
    EXPECT_FALSE(IsModified(ws));
    EXPECT_EQ(ws.channels.ChannelCount, 2);
    EXPECT_TRUE(ws.Untitled);
    ws.app.InitInProgress = false;
  }
  {
    // Yes saves first; a save that fails stops New and keeps the data.
    Edit(ws);
    ScriptedPrompts p;
    p.answers = {Answer::Yes};
    p.saveNames.push_back("/proc/kvx50-no-such-folder/x.dat");
    EXPECT_FALSE(New(ws, p));
    EXPECT_TRUE(IsModified(ws));
    EXPECT_EQ(ws.channels.ChannelCount, 4);
  }
}

TEST_F(WorkspaceFiles, OpenReadsTheChosenFile) {
  Edit(ws);
  ASSERT_TRUE(SaveAsFile(ws, folder / "o.dat"));
  Workspace other;
  test::PrepareWorkspace(other, folder.Path());
  ScriptedPrompts p;
  p.openNames.push_back(folder / "o.dat");
  ASSERT_TRUE(Open(other, p));
  EXPECT_TRUE(p.shown.empty());  // unmodified data: no save question
  EXPECT_EQ(other.channels.ChannelCount, 4);
  EXPECT_EQ(other.CurrentFileName, folder / "o.dat");
}

// --- default data ------------------------------------------------------------------------------

class DefaultData : public ::testing::Test {
 protected:
  // A block-less default file with `channels` memory channels besides CALL and VFO.
  void WriteInit(const std::string& name, int channels, uint8_t alarmTime) {
    std::filesystem::create_directories(folder / "Init");
    Workspace w;
    test::PrepareWorkspace(w, folder / "none");
    for (int n = 1; n <= channels; ++n) w.channels.AppendChannel(MemoryChannel(n));
    w.settings.Alert.AlarmTime = alarmTime;
    w.settings.BandCode = 99;  // ignored when loading
    w.settings.ChannelCount = w.channels.ChannelCount;
    std::string dat, fre;
    ByteWriter wd(dat), wf(fre);
    w.settings.Write(wd);
    for (const auto& c : w.channels.Used()) c.Write(wf);
    ASSERT_TRUE(WriteFileAtomically(folder / ("Init/" + name + ".dat"), dat));
    ASSERT_TRUE(WriteFileAtomically(folder / ("Init/" + name + ".fre"), fre));
  }
  ScratchFolder folder;
};

TEST_F(DefaultData, BandFileGivesItsChannelsFallbackOnlyItsSettings) {
  WriteInit("KP-510_48", 5, 40);
  WriteInit("KP-510_3", 7, 50);
  Workspace ws;
  ws.app.ProgramFolder = folder.Path();
  SetBandText(ws.app, BandTextOfCode(48));
  ResetWorkingData(ws);
  EXPECT_EQ(ws.channels.ChannelCount, 7);
  EXPECT_EQ(ws.settings.Alert.AlarmTime, 40);
  EXPECT_EQ(ws.app.BandCode, 48);
  EXPECT_FALSE(IsModified(ws));

  std::filesystem::remove(folder / "Init/KP-510_48.dat");
  ResetWorkingData(ws);
  EXPECT_EQ(ws.channels.ChannelCount, 2);  // the two default channels
  EXPECT_EQ(ws.channels.Slots[0].Number, 203);
  EXPECT_EQ(ws.settings.Alert.AlarmTime, 50);
  EXPECT_EQ(ws.app.BandCode, 48);
  EXPECT_EQ(ws.saved.settings.BandCode, 48);
  EXPECT_FALSE(IsModified(ws));
  // Broadcast entries are numbered 1-21.
  EXPECT_EQ(ws.settings.Fm.entries[0].Position, 1);
  EXPECT_EQ(ws.settings.Am.entries[20].Position, 21);
}

TEST_F(DefaultData, MissingInitFolderGivesTheBuiltInDefaults) {
  Workspace ws;
  ws.app.ProgramFolder = folder / "nothing-here";
  ws.settings.Alert.AlarmTime = 77;
  ws.channels.AppendChannel(MemoryChannel(1));
  ResetWorkingData(ws);
  EXPECT_EQ(ws.settings.Alert, AlertSettings{});
  EXPECT_EQ(ws.channels.ChannelCount, 2);
  EXPECT_EQ(ws.channels.Slots[0].RxFreq.Clean(), "015500000");
  EXPECT_FALSE(IsModified(ws));
}

}  // namespace
}  // namespace kvx

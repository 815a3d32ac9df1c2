// Backups of reads and writes: what a backup holds, its name, and the rotation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "core/files/Backups.h"
#include "core/files/DataDiff.h"
#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ws_ = std::make_unique<Workspace>();
    test::PrepareWorkspace(*ws_, folder_.Path());
    ws_->channels.AppendChannel(test::MemoryChannel(7));
  }
  std::string Folder() const { return BackupFolderPath(folder_.Path()); }
  // A time a given number of minutes after a fixed moment.
  static BackupClock::time_point At(int minutes) {
    return BackupClock::from_time_t(1'700'000'000) + std::chrono::minutes(minutes);
  }

  test::ScratchFolder folder_;
  std::unique_ptr<Workspace> ws_;
};

TEST_F(BackupsTest, AReadKeepsTheRawImageAndDataThatOpenLoads) {
  ws_->app.BandCode = 16;  // KP-510 on band 16 is shown as KV-520
  auto raw = std::make_unique<RadioImage>();
  for (size_t i = 0; i < raw->bytes.size(); ++i) raw->bytes[i] = static_cast<uint8_t>(i * 7);
  const BackupResult r = BackupAfterRead(*ws_, *raw, At(0));
  ASSERT_TRUE(r.ok) << r.error;

  const std::string name = fs::path(r.stem).filename().string();
  EXPECT_EQ(name.substr(10), "_" + name.substr(11, 6) + "_KV-520_read");
  EXPECT_EQ(fs::path(r.stem).parent_path().string(), Folder());
  const auto image = ReadFileBytes(r.stem + ".img");
  ASSERT_TRUE(image);
  EXPECT_EQ(*image, std::string(reinterpret_cast<const char*>(raw->bytes.data()), kImageSize));

  auto loaded = std::make_unique<Workspace>();
  test::PrepareWorkspace(*loaded, folder_.Path());
  test::ScriptedPrompts prompts;
  ASSERT_TRUE(ReadDataFile(*loaded, prompts, r.stem + ".dat"));
  EXPECT_TRUE(prompts.shown.empty());
  const auto diffs = DiffData(WorkingDataOf(*ws_), WorkingDataOf(*loaded));
  EXPECT_TRUE(diffs.empty()) << FormatDifference(diffs.front());
  EXPECT_TRUE(ws_->Untitled);  // the workspace itself is not touched
}

TEST_F(BackupsTest, AWriteKeepsTheImageItWillSendOrTheDataAloneWhenTheyCannotBeEncoded) {
  BackupResult r = BackupBeforeWrite(*ws_, At(0));
  ASSERT_TRUE(r.ok) << r.error;
  auto expected = std::make_unique<RadioImage>();
  ASSERT_TRUE(EncodeForRadio(ws_->settings, ws_->channels, ws_->app, *expected));
  EXPECT_EQ(ReadFileBytes(r.stem + ".img").value_or(""),
            std::string(reinterpret_cast<const char*>(expected->bytes.data()), kImageSize));
  EXPECT_TRUE(r.stem.ends_with("_write"));

  ws_->channels.Find(7)->Step = 300;  // the write will refuse these data
  r = BackupBeforeWrite(*ws_, At(1));
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(fs::exists(r.stem + ".dat"));
  EXPECT_TRUE(fs::exists(r.stem + ".fre"));
  EXPECT_FALSE(fs::exists(r.stem + ".img"));
}

TEST_F(BackupsTest, TheFiftyFirstBackupRemovesTheOldestAndNothingElse) {
  fs::create_directories(Folder());
  std::ofstream(Folder() + "/notes.txt") << "mine";
  std::ofstream(Folder() + "/0000-my-own.dat") << "mine";
  RadioImage raw;
  std::vector<std::string> stems;
  for (int i = 0; i < 51; ++i) {
    const BackupResult r = BackupAfterRead(*ws_, raw, At(i));
    ASSERT_TRUE(r.ok) << r.error;
    stems.push_back(fs::path(r.stem).filename().string());
    EXPECT_EQ(ListBackups(Folder()).size(), std::min<size_t>(i + 1, kBackupsKept));
  }
  const auto kept = ListBackups(Folder());
  ASSERT_EQ(kept.size(), 50u);
  EXPECT_EQ(kept.front(), stems[1]);
  EXPECT_EQ(kept.back(), stems[50]);
  for (const char* ext : {".img", ".dat", ".fre"})
    EXPECT_FALSE(fs::exists(Folder() + "/" + stems[0] + ext)) << ext;
  EXPECT_TRUE(fs::exists(Folder() + "/notes.txt"));
  EXPECT_TRUE(fs::exists(Folder() + "/0000-my-own.dat"));
}

TEST_F(BackupsTest, TwoBackupsInOneSecondGetNamesOfTheirOwn) {
  RadioImage raw;
  const BackupResult first = BackupAfterRead(*ws_, raw, At(0));
  const BackupResult second = BackupAfterRead(*ws_, raw, At(0));
  ASSERT_TRUE(first.ok && second.ok);
  EXPECT_NE(first.stem, second.stem);
  EXPECT_EQ(ListBackups(Folder()).size(), 2u);
}

TEST_F(BackupsTest, AFolderThatCannotBeMadeIsReportedNotHidden) {
  std::ofstream(folder_ / "backups") << "a file where the folder should be";
  RadioImage raw;
  const BackupResult r = BackupAfterRead(*ws_, raw, At(0));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(BackupNote(r).find("backups"), std::string::npos);
}

}  // namespace
}  // namespace kvx

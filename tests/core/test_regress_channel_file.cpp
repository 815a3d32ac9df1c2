// Found by fuzzing the data-file reader: a channel file whose records carry a number outside
// 1-204, or a number twice, gave a channel list with those records in it, which no list
// operation, grid row or encoder can handle (the encoder refuses the write). Such records are
// not taken; they count as channels that could not be read.
#include <gtest/gtest.h>

#include <set>

#include "core/files/Workspace.h"
#include "support/ScriptedPrompts.h"
#include "test_files_support.h"

namespace kvx {
namespace {

TEST(RegressChannelFile, RecordsWithABadOrRepeatedNumberAreNotTaken) {
  test::ScratchFolder folder;
  Workspace ws;
  test::PrepareWorkspace(ws, folder.Path());
  // The records as a damaged channel file would hold them.
  const int numbers[] = {5, 5, 0, 300, -2, 203, 7, 204, 7};
  ws.channels.ChannelCount = 0;
  for (int n : numbers) {
    ChannelRecord c = test::MemoryChannel(1);
    c.Number = static_cast<int16_t>(n);
    c.Name = "N" + std::to_string(n);
    ws.channels.Slots[ws.channels.ChannelCount++] = c;
  }
  ws.CurrentFileName = folder / "damaged.dat";
  test::ScriptedPrompts prompts;
  prompts.filePasswords.push_back(std::string());
  ASSERT_TRUE(WriteDataFile(ws, prompts));

  Workspace opened;
  test::PrepareWorkspace(opened, folder.Path());
  test::ScriptedPrompts openPrompts;
  ASSERT_TRUE(ReadDataFile(opened, openPrompts, ws.CurrentFileName));
  std::vector<int> got;
  for (const ChannelRecord& c : opened.channels.Used()) got.push_back(c.Number);
  EXPECT_EQ(got, (std::vector<int>{5, 203, 7, 204}));
  // The first of two records with one number is the one kept.
  EXPECT_EQ(opened.channels.Find(5)->Name.Clean(), "N5");
  EXPECT_FALSE(IsModified(opened));
  EXPECT_TRUE(openPrompts.Saw("5 channels could not be read from \"damaged.fre\"."));
}

}  // namespace
}  // namespace kvx

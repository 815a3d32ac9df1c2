// The undo history of the working data: steps in order across settings, channels and test
// values, redo ended by a new change, pending changes, the save's bookkeeping fields, the
// depth limit, and IsModified following undo and redo.
#include <gtest/gtest.h>

#include "core/edit/UndoHistory.h"
#include "core/files/Workspace.h"

namespace kvx {
namespace {

ChannelRecord Channel(int number, const char* rx) {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = rx;
  return c;
}

struct Fixture {
  Workspace ws;
  UndoHistory history;
  Fixture() {
    ws.channels.AppendChannel(Channel(kChannelCall, "014500000"));
    ws.channels.AppendChannel(Channel(kChannelVfo, "014600000"));
    CopyWorkingToSaved(ws);
    history.Clear(ws);
  }
};

TEST(UndoHistory, StepsOfEveryPartOfTheDataUndoAndRedoInOrder) {
  Fixture f;
  Workspace& ws = f.ws;
  const WorkingData s0 = TakeWorkingData(ws);
  ws.settings.Scan.PriorityGroup2 = 1;
  EXPECT_TRUE(f.history.Record(ws));
  const WorkingData s1 = TakeWorkingData(ws);
  ws.channels.AppendChannel(Channel(5, "014700000"));
  EXPECT_TRUE(f.history.Record(ws));
  const WorkingData s2 = TakeWorkingData(ws);
  ws.testValues[3] = 77;
  EXPECT_TRUE(f.history.Record(ws));
  const WorkingData s3 = TakeWorkingData(ws);
  EXPECT_FALSE(f.history.Record(ws));  // nothing new
  EXPECT_EQ(f.history.UndoSteps(), 3u);

  const WorkingData* back[] = {&s2, &s1, &s0};
  for (const WorkingData* expected : back) {
    ASSERT_TRUE(f.history.Undo(ws));
    EXPECT_TRUE(SameWorkingData(TakeWorkingData(ws), *expected));
  }
  EXPECT_FALSE(f.history.Undo(ws));
  EXPECT_TRUE(SameWorkingData(TakeWorkingData(ws), s0));
  EXPECT_EQ(f.history.RedoSteps(), 3u);

  const WorkingData* forward[] = {&s1, &s2, &s3};
  for (const WorkingData* expected : forward) {
    ASSERT_TRUE(f.history.Redo(ws));
    EXPECT_TRUE(SameWorkingData(TakeWorkingData(ws), *expected));
  }
  EXPECT_FALSE(f.history.Redo(ws));
  EXPECT_EQ(ws.testValues[3], 77);
}

TEST(UndoHistory, AChangeAfterUndoEndsTheRedo) {
  Fixture f;
  Workspace& ws = f.ws;
  ws.settings.Alert.Cycle = 1;
  f.history.Record(ws);
  ASSERT_TRUE(f.history.Undo(ws));
  EXPECT_TRUE(f.history.CanRedo());
  // Changed but not yet recorded: redo refuses and keeps the change as a step of its own.
  ws.settings.Options.Option13 = 1;
  EXPECT_FALSE(f.history.Redo(ws));
  EXPECT_EQ(ws.settings.Options.Option13, 1);
  EXPECT_EQ(ws.settings.Alert.Cycle, 0);
  EXPECT_FALSE(f.history.CanRedo());
  ASSERT_TRUE(f.history.Undo(ws));
  EXPECT_EQ(ws.settings.Options.Option13, 0);
}

TEST(UndoHistory, UndoTakesAPendingChangeFirst) {
  Fixture f;
  Workspace& ws = f.ws;
  ws.channels.AppendChannel(Channel(9, "014400000"));  // no Record
  ASSERT_TRUE(f.history.Undo(ws));
  EXPECT_FALSE(ws.channels.ChannelExists(9));
  ASSERT_TRUE(f.history.Redo(ws));
  EXPECT_TRUE(ws.channels.ChannelExists(9));
}

TEST(UndoHistory, TheSavesBookkeepingIsNoStepAndStaysOnUndo) {
  Fixture f;
  Workspace& ws = f.ws;
  ws.channels.AppendChannel(Channel(9, "014400000"));
  f.history.Record(ws);
  // A save writes the band and the channel count into the record.
  ws.app.BandCode = 5;
  CopyWorkingToSaved(ws);
  EXPECT_EQ(ws.settings.ChannelCount, 3);
  EXPECT_FALSE(f.history.Record(ws));
  ASSERT_TRUE(f.history.Undo(ws));
  EXPECT_FALSE(ws.channels.ChannelExists(9));
  EXPECT_EQ(ws.settings.BandCode, 5);
  EXPECT_EQ(ws.settings.ChannelCount, 3);
}

TEST(UndoHistory, IsModifiedFollowsTheData) {
  Fixture f;
  Workspace& ws = f.ws;
  ASSERT_FALSE(IsModified(ws));
  ws.channels.Find(kChannelCall)->Power = 2;
  f.history.Record(ws);
  EXPECT_TRUE(IsModified(ws));
  f.history.Undo(ws);
  EXPECT_FALSE(IsModified(ws));  // back at the saved data
  f.history.Redo(ws);
  EXPECT_TRUE(IsModified(ws));
  // Saved with the change, then undone past the save: modified again.
  CopyWorkingToSaved(ws);
  EXPECT_FALSE(IsModified(ws));
  f.history.Undo(ws);
  EXPECT_TRUE(IsModified(ws));
  f.history.Clear(ws);
  EXPECT_FALSE(f.history.CanUndo());
  EXPECT_FALSE(f.history.CanRedo());
}

TEST(UndoHistory, KeepsOnlyTheNewestStepsUpToItsDepth) {
  Workspace ws;
  UndoHistory history(3);
  history.Clear(ws);
  for (uint8_t i = 1; i <= 5; ++i) {
    ws.settings.Scan.PriorityGroup1 = i;
    history.Record(ws);
  }
  int undone = 0;
  while (history.Undo(ws)) ++undone;
  EXPECT_EQ(undone, 3);
  EXPECT_EQ(ws.settings.Scan.PriorityGroup1, 2);
}

}  // namespace
}  // namespace kvx

#pragma once
// Undo and redo of the working data: a history of whole snapshots of the settings record, the
// channel list and the test values. The main window records a step after every command that
// may have changed the data (a step is kept only when the data did change), so undo and redo
// cover every change however it was made. New, Open, a read from the radio and a band change
// start a new history.
//
// A snapshot holds the data themselves, not the file state: undoing back to what was last
// saved leaves IsModified false, because IsModified compares the data with the SavedCopy.
#include <cstddef>
#include <deque>
#include <vector>

#include "core/factory/TestData.h"
#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"

namespace kvx {

struct Workspace;

struct WorkingData {
  SettingsRecord settings;
  ChannelList channels;
  TestDataValues testValues{};
};

// The working data of `ws` / put back into `ws`. Putting back keeps the record's band code and
// channel count fields, which describe the file last saved or loaded rather than the data.
WorkingData TakeWorkingData(const Workspace& ws);
void PutWorkingData(Workspace& ws, const WorkingData& data);
// Equal data: everything but those two bookkeeping fields of the record (a save sets them).
bool SameWorkingData(const WorkingData& a, const WorkingData& b);

class UndoHistory {
 public:
  // Steps kept for undo; the oldest is dropped beyond it.
  static constexpr size_t kDefaultDepth = 100;

  explicit UndoHistory(size_t depth = kDefaultDepth);

  // Starts a new history at the data of `ws`: nothing to undo or redo.
  void Clear(const Workspace& ws);
  // When the data of `ws` differ from those last recorded, records them as a step (which ends
  // any redo) and returns true.
  bool Record(const Workspace& ws);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  size_t UndoSteps() const { return undo_.size(); }
  size_t RedoSteps() const { return redo_.size(); }

  // Records any change not yet recorded, then puts the data before the last step back into
  // `ws`. False when there is nothing to undo (ws unchanged).
  bool Undo(Workspace& ws);
  // Puts the data of the step last undone back. False when there is none, or when the data
  // were changed since the undo (that change ends the redo and becomes a step of its own).
  bool Redo(Workspace& ws);

 private:
  size_t depth_;
  std::deque<WorkingData> undo_;  // oldest first
  std::vector<WorkingData> redo_;
  WorkingData current_;  // the data as last recorded
};

}  // namespace kvx

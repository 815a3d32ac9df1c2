#include "core/edit/UndoHistory.h"

#include "core/files/Workspace.h"

namespace kvx {

WorkingData TakeWorkingData(const Workspace& ws) {
  return WorkingData{ws.settings, ws.channels, ws.testValues};
}

void PutWorkingData(Workspace& ws, const WorkingData& data) {
  const int16_t band = ws.settings.BandCode;
  const int16_t count = ws.settings.ChannelCount;
  ws.settings = data.settings;
  ws.settings.BandCode = band;
  ws.settings.ChannelCount = count;
  ws.channels = data.channels;
  ws.testValues = data.testValues;
}

bool SameWorkingData(const WorkingData& a, const WorkingData& b) {
  if (!(a.channels == b.channels) || a.testValues != b.testValues) return false;
  if (a.settings.BandCode == b.settings.BandCode &&
      a.settings.ChannelCount == b.settings.ChannelCount)
    return a.settings == b.settings;
  SettingsRecord s = b.settings;
  s.BandCode = a.settings.BandCode;
  s.ChannelCount = a.settings.ChannelCount;
  return a.settings == s;
}

UndoHistory::UndoHistory(size_t depth) : depth_(depth == 0 ? 1 : depth) {}

void UndoHistory::Clear(const Workspace& ws) {
  undo_.clear();
  redo_.clear();
  current_ = TakeWorkingData(ws);
}

bool UndoHistory::Record(const Workspace& ws) {
  WorkingData now = TakeWorkingData(ws);
  if (SameWorkingData(now, current_)) return false;
  undo_.push_back(std::move(current_));
  if (undo_.size() > depth_) undo_.pop_front();
  redo_.clear();
  current_ = std::move(now);
  return true;
}

bool UndoHistory::Undo(Workspace& ws) {
  Record(ws);
  if (undo_.empty()) return false;
  redo_.push_back(std::move(current_));
  current_ = std::move(undo_.back());
  undo_.pop_back();
  PutWorkingData(ws, current_);
  return true;
}

bool UndoHistory::Redo(Workspace& ws) {
  // A change made since the undo is a step of its own and ends the redo.
  if (Record(ws) || redo_.empty()) return false;
  undo_.push_back(std::move(current_));
  current_ = std::move(redo_.back());
  redo_.pop_back();
  PutWorkingData(ws, current_);
  return true;
}

}  // namespace kvx

#pragma once
// The one object that owns the program's state: AppState, the working data (settings record,
// channel list, test values), the SavedCopy, the RadioImage and the file state. Passed
// explicitly; two workspaces can live side by side.
#include <array>
#include <string>

#include "core/app/AppState.h"
#include "core/factory/AutoTest.h"
#include "core/factory/TestData.h"
#include "core/files/SettingsRecord.h"
#include "core/image/Channels.h"
#include "core/image/RadioImage.h"
#include "core/image/RadioInfo.h"
#include "core/lang/LanguageTable.h"
#include "core/util/Prompts.h"

namespace kvx {

class ExportSink;

// The data as last loaded, saved or read: compared with the working copy by IsModified.
struct SavedCopy {
  SettingsRecord settings;
  std::array<ChannelRecord, 204> channels{};
  TestDataValues testValues{};
};

struct Workspace {
  AppState app;
  LanguageTable lang;
  SettingsRecord settings;      // working copy
  ChannelList channels;         // working copy; its ChannelCount is the working count
  TestDataValues testValues{};  // working calibration values (factory mode)
  SavedCopy saved;
  RadioImage image;
  RadioInfo radioInfo;
  std::string CurrentFileName = "new.dat";
  bool Untitled = true;
  std::string CurrentFilePassword;
  std::string BookFileName = "new.cb";
  AutoTestState autoTest;
};

// The reset step of New, without questions: every area to its defaults, the two default
// channels, the default data file of the current type and band, broadcast numbering. Also sets
// CurrentFileName "new.dat", Untitled, BookFileName "new.cb". Leaves working == saved.
void ResetWorkingData(Workspace& ws);

// True when the working data differ from the SavedCopy in anything the modified test compares.
bool IsModified(const Workspace& ws);

// Working -> SavedCopy (the band code of AppState goes into the record first) and back.
void CopyWorkingToSaved(Workspace& ws);
void CopySavedToWorking(Workspace& ws);

// The file commands. Every question and message goes through `prompts`; each returns true when
// the operation completed (false: cancelled or failed, with the message already shown).
bool New(Workspace& ws, Prompts& prompts);
bool Open(Workspace& ws, Prompts& prompts);
bool Save(Workspace& ws, Prompts& prompts);
bool SaveAs(Workspace& ws, Prompts& prompts);

// The writer: asks for the file password, then writes CurrentFileName, its channel file and, in
// factory mode, its test-data file. Each file is written whole to a temporary file in the same
// folder and renamed over the old one; the SavedCopy takes the working data only once all were
// written. Failure shows FileError and returns false.
bool WriteDataFile(Workspace& ws, Prompts& prompts);
// The reader: the password question, then the main, channel and test-data files into the
// SavedCopy and the working copy. An unreadable main file shows FileError and changes nothing.
// A channel file shorter than ChannelCount records is read as far as it goes; the user is told
// how many channels could not be read. CurrentFileName becomes `path` on success.
bool ReadDataFile(Workspace& ws, Prompts& prompts, const std::string& path);

// A block-less data file (settings from offset 0) with its channel and test-data files, the
// file's band code replaced by the current one. With `resetChannels` the two default channels
// replace the file's. Returns false (no message) when the file cannot be read; the working data
// are then copied into the SavedCopy.
bool LoadBlocklessFile(Workspace& ws, const std::string& path, bool resetChannels);
// The default data file of the current type and band from <ProgramFolder>/Init/, else the
// fallback KP-510_3.dat with the two default channels.
void LoadDefaultData(Workspace& ws);

// Encode the working data into ws.image (after ClearImage) / decode ws.image into the working
// data (see core/image/PackAll.h). PackAll returns PackOk.
bool PackAll(Workspace& ws, Prompts* prompts, ExportSink* exportRun = nullptr);
void UnpackAll(Workspace& ws, Prompts* prompts);

}  // namespace kvx

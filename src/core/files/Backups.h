#pragma once
// Automatic backups of what was read from or is about to be written to a radio, in backups/
// under the program folder. One backup is a set of files sharing a name made of the date, the
// time, the model and the kind ("2024-05-01_140322_KV-520_read"):
//   .img  the 16384-byte radio image (as read; as it will be sent)
//   .dat  the decoded data as a data file without password, with its channel file .fre (and
//         the test-data file .ted in factory mode), so that Open loads them
// Only the newest kBackupsKept sets are kept; other files in the folder are never touched.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/RadioImage.h"

namespace kvx {

struct Workspace;

inline constexpr size_t kBackupsKept = 50;

// <programFolder>/backups
std::string BackupFolderPath(std::string_view programFolder);

struct BackupResult {
  bool ok = false;
  std::string stem;   // full path without extension, e.g. ".../backups/2024-..._read"
  std::string error;  // when !ok: what could not be written
};

using BackupClock = std::chrono::system_clock;

// After a successful read: `raw` is the image as the radio sent it, the workspace holds the
// decoded data and the radio's model and band.
BackupResult BackupAfterRead(const Workspace& ws, const RadioImage& raw,
                             BackupClock::time_point when = BackupClock::now());
// Before a write: the working data and the image they encode to. When the data cannot be
// encoded (the write will not start either) the data file is kept without the image.
BackupResult BackupBeforeWrite(const Workspace& ws,
                               BackupClock::time_point when = BackupClock::now());

// The names of the backups in `folder`, oldest first (stems without folder and extension).
std::vector<std::string> ListBackups(const std::string& folder);
// Removes the oldest backups beyond `keep`; returns how many sets were removed.
size_t PruneBackups(const std::string& folder, size_t keep = kBackupsKept);

// A one-line note for the user: "backup kept as NAME" or why none could be made.
std::string BackupNote(const BackupResult& result);

}  // namespace kvx

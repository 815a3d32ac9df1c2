#pragma once
// Helpers for the data-file tests: a scratch folder and a workspace whose program folder is it.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "core/files/DataFile.h"
#include "core/files/Workspace.h"

namespace kvx::test {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvx50-files-XXXXXX").string();
    const char* made = ::mkdtemp(tmpl.data());
    path_ = made ? made : "";
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

// A workspace as start-up leaves it, with `folder` as its program folder (no Init/ there unless
// the test makes one).
inline void PrepareWorkspace(Workspace& ws, const std::string& folder) {
  ws.app.ProgramFolder = folder;
  ws.lang.SetProgramFolder(folder);
  ResetWorkingData(ws);
}

// A memory channel in the middle of band 3.
inline ChannelRecord MemoryChannel(int number, std::string_view rx = "014500000") {
  ChannelRecord c = EmptyChannel(number);
  c.InUse = 1;
  c.RxFreq = rx;
  c.Name = "CH" + std::to_string(number);
  c.Step = 5;
  c.Power = 1;
  c.ToneACtcss = 12;
  return c;
}

inline std::string FileBytes(const std::string& path) {
  return ReadFileBytes(path).value_or("");
}

}  // namespace kvx::test

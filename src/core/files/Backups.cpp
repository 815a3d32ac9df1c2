#include "core/files/Backups.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "core/app/BandTable.h"
#include "core/files/DataFile.h"
#include "core/files/PasswordBlock.h"
#include "core/files/Workspace.h"
#include "core/image/PackAll.h"

namespace kvx {

namespace fs = std::filesystem;

namespace {

// "2024-05-01_140322_": the part of a backup's name that orders the backups.
constexpr size_t kStampLength = 18;

bool IsBackupStem(std::string_view name) {
  if (name.size() <= kStampLength) return false;
  for (size_t i = 0; i < kStampLength; ++i) {
    const char c = name[i];
    const bool digit = c >= '0' && c <= '9';
    switch (i) {
      case 4:
      case 7:
        if (c != '-') return false;
        break;
      case 10:
      case 17:
        if (c != '_') return false;
        break;
      default:
        if (!digit) return false;
    }
  }
  return true;
}

std::string Stamp(BackupClock::time_point when) {
  const time_t t = BackupClock::to_time_t(when);
  tm local{};
  localtime_r(&t, &local);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d_%02d%02d%02d_", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buf;
}

// A model name as a part of a file name: letters, digits, '-' and '.' stay, the rest is '_'.
std::string FileNamePart(std::string_view text) {
  std::string out;
  for (char c : text) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.';
    out.push_back(keep ? c : '_');
  }
  return out.empty() ? "radio" : out;
}

// The data file (no password), its channel file and, in factory mode, its test-data file, as
// the writer would save the working data.
void AddDataFiles(const Workspace& ws, const std::string& stem, std::vector<FileContent>& files) {
  auto settings = std::make_unique<SettingsRecord>(ws.settings);
  settings->BandCode = ws.app.BandCode;
  const auto used = ws.channels.Used();
  settings->ChannelCount = static_cast<int16_t>(used.size());

  FileContent main{stem + ".dat", {}};
  {
    const PasswordBlock block = MakePasswordBlock("");
    ByteWriter w(main.bytes);
    w.Raw(block.data(), block.size());
    settings->Write(w);
  }
  FileContent channels{ChannelFilePath(main.path), {}};
  {
    ByteWriter w(channels.bytes);
    for (const ChannelRecord& c : used) c.Write(w);
  }
  files.push_back(std::move(main));
  files.push_back(std::move(channels));
  if (ws.app.FactoryMode) {
    FileContent ted{TestDataPathFor(stem + ".dat"), {}};
    ByteWriter w(ted.bytes);
    WriteTestData(ws.testValues, w);
    files.push_back(std::move(ted));
  }
}

void AddImage(const RadioImage& image, const std::string& stem, std::vector<FileContent>& files) {
  files.push_back({stem + ".img", std::string(reinterpret_cast<const char*>(image.bytes.data()),
                                              image.bytes.size())});
}

// A free name in `folder` for this time, model and kind.
std::string FreeStem(const std::string& folder, const std::string& base) {
  std::error_code ec;
  for (int n = 1;; ++n) {
    const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
    const std::string stem = folder + "/" + name;
    if (!fs::exists(stem + ".dat", ec) && !fs::exists(stem + ".img", ec)) return stem;
  }
}

BackupResult Make(const Workspace& ws, std::string_view kind, const RadioImage* image,
                  BackupClock::time_point when) {
  BackupResult result;
  const std::string folder = BackupFolderPath(ws.app.ProgramFolder);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    result.error = "the folder " + folder + " cannot be created";
    return result;
  }
  const std::string model = FileNamePart(DisplayModelName(ws.app.RadioType, ws.app.BandCode));
  result.stem = FreeStem(folder, Stamp(when) + model + "_" + std::string(kind));

  std::vector<FileContent> files;
  if (image) AddImage(*image, result.stem, files);
  AddDataFiles(ws, result.stem, files);
  if (!WriteFilesAtomically(files)) {
    result.error = "the backup " + result.stem + ".dat cannot be written";
    return result;
  }
  result.ok = true;
  PruneBackups(folder, kBackupsKept);
  return result;
}

}  // namespace

std::string BackupFolderPath(std::string_view programFolder) {
  std::string p(programFolder);
  if (!p.empty() && p.back() != '/') p.push_back('/');
  return p + "backups";
}

BackupResult BackupAfterRead(const Workspace& ws, const RadioImage& raw,
                             BackupClock::time_point when) {
  return Make(ws, "read", &raw, when);
}

BackupResult BackupBeforeWrite(const Workspace& ws, BackupClock::time_point when) {
  // The image the write will send, made from copies: encoders may normalise what they encode.
  auto settings = std::make_unique<SettingsRecord>(ws.settings);
  auto channels = std::make_unique<ChannelList>(ws.channels);
  auto image = std::make_unique<RadioImage>();
  ClearImage(*image);
  CodecContext ctx;
  ctx.app = &ws.app;
  const bool packed = PackAll(*settings, *channels, *image, ctx);
  return Make(ws, "write", packed ? image.get() : nullptr, when);
}

std::vector<std::string> ListBackups(const std::string& folder) {
  std::vector<std::string> stems;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    std::error_code e2;
    if (!it->is_regular_file(e2)) continue;
    const fs::path& p = it->path();
    const std::string ext = p.extension().string();
    if (ext != ".dat" && ext != ".img") continue;
    const std::string stem = p.stem().string();
    if (IsBackupStem(stem)) stems.push_back(stem);
  }
  std::sort(stems.begin(), stems.end());
  stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
  return stems;
}

size_t PruneBackups(const std::string& folder, size_t keep) {
  const std::vector<std::string> stems = ListBackups(folder);
  if (stems.size() <= keep) return 0;
  const size_t remove = stems.size() - keep;
  for (size_t i = 0; i < remove; ++i) {
    for (const char* ext : {".img", ".dat", ".fre", ".ted"}) {
      std::error_code ec;
      fs::remove(fs::path(folder) / (stems[i] + ext), ec);
    }
  }
  return remove;
}

std::string BackupNote(const BackupResult& result) {
  if (result.ok) return "backup kept as " + result.stem + ".dat";
  return "no backup: " + result.error;
}

}  // namespace kvx

#include "core/app/ProgramFolder.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef KVX50_DATADIR
#define KVX50_DATADIR "/usr/local/share/kvx50"
#endif

namespace kvx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kVariables[] = {"KVX50_HOME", "XDG_DATA_HOME", "HOME",
                                      "LC_ALL",     "LC_MESSAGES",   "LANG"};

std::string Join(std::string_view folder, std::string_view name) {
  std::string p(folder);
  if (!p.empty() && p.back() != '/') p.push_back('/');
  p += name;
  return p;
}

bool IsDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

std::string Normal(const fs::path& p) {
  std::error_code ec;
  fs::path abs = fs::absolute(p, ec);
  if (ec) abs = p;
  std::string s = abs.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

fs::path ExecutableFolder(const std::string& executablePath) {
  std::error_code ec;
  fs::path exe =
      executablePath.empty() ? fs::read_symlink("/proc/self/exe", ec) : fs::path(executablePath);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}

// Copies every file of `from` that `to` lacks; existing files are never overwritten.
bool CopyMissing(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  bool copied = false;
  for (auto it = fs::recursive_directory_iterator(from, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::path rel = it->path().lexically_relative(from);
    fs::path target = to / rel;
    std::error_code e2;
    if (it->is_directory(e2)) {
      fs::create_directories(target, e2);
    } else if (it->is_regular_file(e2) && !fs::exists(target, e2)) {
      fs::create_directories(target.parent_path(), e2);
      if (fs::copy_file(it->path(), target, fs::copy_options::skip_existing, e2)) copied = true;
    }
  }
  return copied;
}

}  // namespace

Environment Environment::FromProcess() {
  Environment env;
  for (const char* name : kVariables)
    if (const char* v = std::getenv(name)) env.vars[name] = v;
  return env;
}

std::string Environment::Get(std::string_view name) const {
  auto it = vars.find(name);
  return it == vars.end() ? std::string() : it->second;
}

bool Environment::Has(std::string_view name) const {
  return vars.find(name) != vars.end();
}

ProgramFolderChoice ResolveProgramFolder(const ProgramFolderRequest& request) {
  ProgramFolderChoice choice;
  const fs::path exeFolder = ExecutableFolder(request.executablePath);

  fs::path folder;
  if (!request.home.empty()) {
    folder = request.home;
    choice.source = ProgramFolderSource::HomeOption;
  } else if (!request.env.Get("KVX50_HOME").empty()) {
    folder = request.env.Get("KVX50_HOME");
    choice.source = ProgramFolderSource::HomeVariable;
  } else if (!exeFolder.empty() && IsDirectory(exeFolder / "language")) {
    choice.ok = true;
    choice.folder = Normal(exeFolder);
    choice.source = ProgramFolderSource::ExecutableFolder;
    return choice;
  } else {
    std::string data = request.env.Get("XDG_DATA_HOME");
    if (data.empty() || data.front() != '/') {
      std::string home = request.env.Get("HOME");
      if (home.empty()) {
        choice.error = "no program folder: neither --home, KVX50_HOME nor HOME is set";
        return choice;
      }
      data = Join(home, ".local/share");
    }
    folder = fs::path(data) / "kvx50";
    choice.source = ProgramFolderSource::UserFolder;
  }
  choice.folder = Normal(folder);

  std::error_code ec;
  fs::create_directories(choice.folder, ec);
  if (!IsDirectory(choice.folder)) {
    choice.error = "cannot create the program folder " + choice.folder +
                   (ec ? ": " + ec.message() : std::string());
    return choice;
  }

  // First start in this folder: the shipped defaults come from the installed copy, a
  // relocated installation or the build tree.
  if (!IsDirectory(fs::path(choice.folder) / "language")) {
    std::vector<fs::path> sources;
    sources.push_back(request.installedData.empty() ? fs::path(KVX50_DATADIR)
                                                    : fs::path(request.installedData));
    if (!exeFolder.empty()) {
      sources.push_back(exeFolder / ".." / "share" / "kvx50");
      sources.push_back(exeFolder);
    }
    for (const auto& source : sources) {
      if (!IsDirectory(source / "language")) continue;
      if (Normal(source) == choice.folder) break;
      choice.seeded = CopyMissing(source / "language", fs::path(choice.folder) / "language");
      if (IsDirectory(source / "Init"))
        choice.seeded |= CopyMissing(source / "Init", fs::path(choice.folder) / "Init");
      break;
    }
  }
  choice.ok = true;
  return choice;
}

std::string TakeHomeOption(int& argc, char** argv) {
  std::string home;
  int out = 1;
  bool rest = false;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!rest && std::strcmp(a, "--") == 0) rest = true;
    if (!rest && std::strcmp(a, "--home") == 0 && i + 1 < argc) {
      home = argv[++i];
      continue;
    }
    if (!rest && std::strncmp(a, "--home=", 7) == 0) {
      home = a + 7;
      continue;
    }
    argv[out++] = argv[i];
  }
  argc = out;
  if (out >= 1) argv[out] = nullptr;
  return home;
}

std::string SetupFilePath(std::string_view folder) {
  return Join(folder, "language/mysetup.ini");
}
std::string LanguageFolderPath(std::string_view folder) {
  return Join(folder, "language");
}
std::string LanguageFilePath(std::string_view folder, int languageIndex) {
  return Join(folder, languageIndex == 2 ? "language/chinese.ini" : "language/english.ini");
}
std::string FeatureFlagFilePath(std::string_view folder) {
  return Join(folder, "Setting.ini");
}
std::string FactoryMarkerPath(std::string_view folder) {
  return Join(folder, "TestData.ini");
}
std::string InitFolderPath(std::string_view folder) {
  return Join(folder, "Init");
}

}  // namespace kvx

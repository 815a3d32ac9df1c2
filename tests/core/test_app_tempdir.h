#pragma once
// A fresh folder under the system's temporary folder, removed with its content at the end of
// the test.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/lang/IniFile.h"

namespace kvx::test {

class TempFolder {
 public:
  TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvx50-test-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    path_ = made ? made : "";
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  // Writes `content` to `name` (folders created).
  std::string Write(std::string_view name, std::string_view content) const {
    std::string p = *this / name;
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  std::string Read(std::string_view name) const {
    return ReadFileText(*this / name).value_or("<missing>");
  }

 private:
  std::string path_;
};

}  // namespace kvx::test

#pragma once
// What the fuzz targets share: a failed invariant that stops the fuzzer with a message, the
// split of one input into the several files a reader takes, a scratch folder on tmpfs, and
// prompts that never block.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/Bytes.h"
#include "core/util/Prompts.h"

namespace kvx::fuzz {

// A broken invariant: libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "invariant failed at %s:%d: %s\n", file, line, what);
  std::fflush(stderr);
  abort();
}
#define FUZZ_CHECK(cond)                                       \
  do {                                                         \
    if (!(cond)) ::kvx::fuzz::Fail(__FILE__, __LINE__, #cond); \
  } while (0)

// The parts of an input separated by kSeparator: a seed is the files of one case joined with
// it (tests/fuzz/make_corpus.py writes them), and the fuzzer can still grow or drop a part.
inline constexpr std::string_view kSeparator = "\n%%KVX%%\n";

inline std::vector<std::string_view> SplitInput(const uint8_t* data, size_t size, size_t maxParts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maxParts) {
    const size_t at = rest.find(kSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(rest);
  return parts;
}

inline std::string_view PartOr(const std::vector<std::string_view>& parts, size_t i) {
  return i < parts.size() ? parts[i] : std::string_view();
}

// One scratch folder per process on tmpfs (fast and never left on the disk), removed at exit.
inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string tmpl = base + "/kvx50-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) Fail(__FILE__, __LINE__, "no scratch folder");
    static std::string removeCommand = "rm -rf '" + tmpl + "'";
    std::atexit([] { [[maybe_unused]] int rc = std::system(removeCommand.c_str()); });
    return tmpl;
  }();
  return folder;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail(__FILE__, __LINE__, ("cannot write " + path).c_str());
}

inline void RemoveFile(const std::string& path) {
  ::unlink(path.c_str());
}

inline ConstBytes AsBytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// Messages are answered with their first button; file dialogs are cancelled; passwords come
// from a list, then Cancel.
class QuietPrompts : public NoDialogPrompts {
 public:
  std::deque<std::string> filePasswords;
  std::deque<std::string> programPasswords;
  int messages = 0;

  Answer Message(std::string_view, Icon, Buttons buttons, std::string_view) override {
    ++messages;
    switch (buttons) {
      case Buttons::YesNo:
      case Buttons::YesNoCancel:
        return Answer::Yes;
      case Buttons::RetryCancel:
        return Answer::Cancel;
      default:
        return Answer::Ok;
    }
  }
  std::optional<std::string> FilePassword(std::string_view, std::string_view) override {
    return Next(filePasswords);
  }
  std::optional<std::string> ProgramPassword(std::string_view) override {
    return Next(programPasswords);
  }

 private:
  static std::optional<std::string> Next(std::deque<std::string>& list) {
    if (list.empty()) return std::nullopt;
    std::string s = std::move(list.front());
    list.pop_front();
    return s;
  }
};

}  // namespace kvx::fuzz

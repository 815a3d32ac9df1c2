#pragma once
// Helpers for tests that drive the built programs: a scratch folder, a program folder of its
// own for each test (so parallel tests never share a setup file), running a program with a
// time limit (a hang is reported, never waited out), and kvx50-radiosim on its pseudo-terminal
// with its journal and saved memory.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kvx::test {

inline std::string BinPath(std::string_view program) {
  return std::string(KVX50_BIN_DIR) + "/" + std::string(program);
}

inline std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> ReadFileBytesOf(const std::string& path) {
  const std::string s = ReadFileText(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvx50-it-XXXXXX").string();
    const char* made = ::mkdtemp(tmpl.data());
    path_ = made ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

// A program folder of its own: the build's language/ and Init/ copied in.
class TempHome : public TempDir {
 public:
  TempHome() {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const char* sub : {"language", "Init"}) {
      const fs::path from = fs::path(KVX50_BIN_DIR) / sub;
      if (fs::exists(from, ec))
        fs::copy(from, fs::path(Path()) / sub, fs::copy_options::recursive, ec);
      else
        fs::create_directories(fs::path(Path()) / sub, ec);
    }
  }
};

struct ProcessResult {
  int exitCode = -1;
  bool timedOut = false;
  std::string out;
  std::string err;
  double seconds = 0;
  double cpuSeconds = 0;  // user + system time of the process
};

namespace detail {

// Waits for `pid` at most `timeoutMs` without spinning (a pidfd when the kernel has one).
inline bool WaitFor(pid_t pid, int timeoutMs, int& status, rusage& usage) {
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const pid_t r = ::wait4(pid, &status, WNOHANG, &usage);
    if (r == pid) {
      if (pidfd >= 0) ::close(pidfd);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) {
      if (pidfd >= 0) ::close(pidfd);
      return false;
    }
    if (pidfd >= 0) {
      pollfd p{pidfd, POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

}  // namespace detail

// Runs a program with stdin from /dev/null (a bare name is looked up in PATH); on a time-out it
// is killed and timedOut is set.
inline ProcessResult RunProgram(const std::vector<std::string>& argv, int timeoutMs = 60000) {
  ProcessResult result;
  TempDir io;
  const std::string outPath = io / "out", errPath = io / "err";
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (!detail::WaitFor(pid, timeoutMs, status, usage)) {
    result.timedOut = true;
    ::kill(pid, SIGKILL);
    ::wait4(pid, &status, 0, &usage);
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                      usage.ru_stime.tv_usec / 1e6;
  if (!result.timedOut) result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  result.out = ReadFileText(outPath);
  result.err = ReadFileText(errPath);
  return result;
}

// kvx50-radiosim in the background. Its journal and saved memory live in a folder of its own;
// the memory given is loaded (otherwise the simulator's sample radio).
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& options,
                      const std::optional<std::vector<uint8_t>>& memory = std::nullopt) {
    std::vector<std::string> argv = {BinPath("kvx50-radiosim"), "--journal", JournalPath(),
                                     "--save", SavePath()};
    if (memory) {
      WriteFileBytes(dir_ / "memory-in.bin", *memory);
      argv.push_back("--memory");
      argv.push_back(dir_ / "memory-in.bin");
    }
    argv.insert(argv.end(), options.begin(), options.end());
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      const int err = ::open((dir_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(err, 2);
      ::close(out[0]);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(out[1]);
    // The first line is the device path.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    char c;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{out[0], POLLIN, 0};
      if (::poll(&p, 1, 500) <= 0) continue;
      if (::read(out[0], &c, 1) != 1) break;
      if (c == '\n') {
        device_ = line;
        break;
      }
      line.push_back(c);
    }
    ::close(out[0]);
  }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Ok() const { return pid_ > 0 && !device_.empty(); }
  const std::string& Device() const { return device_; }

  // Ends the simulator (it saves its memory on the way out).
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    rusage usage{};
    if (!detail::WaitFor(pid_, 10000, status, usage)) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }

  std::string JournalPath() const { return dir_ / "journal.txt"; }
  std::string SavePath() const { return dir_ / "memory.bin"; }
  std::string Journal() const { return ReadFileText(JournalPath()); }
  std::vector<std::string> JournalLines() const {
    std::vector<std::string> lines;
    std::istringstream in(Journal());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  // The memory as the simulator saved it at the last closing frame or when it stopped.
  std::vector<uint8_t> SavedMemory() const { return ReadFileBytesOf(SavePath()); }
  std::string Stderr() const { return ReadFileText(dir_ / "stderr"); }

 private:
  TempDir dir_;
  pid_t pid_ = -1;
  std::string device_;
};

}  // namespace kvx::test

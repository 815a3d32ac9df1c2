#include "core/files/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>

namespace kvx {

std::string ChannelFilePath(std::string_view mainPath) {
  std::string p(mainPath);
  if (p.size() >= 3) p.resize(p.size() - 3);
  return p + "fre";
}

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// A temporary file beside `path` (the rename must stay on one file system) holding `bytes`,
// flushed to disk. Empty on failure (nothing left behind).
std::string WriteTempFile(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(path);
  const auto slash = path.find_last_of('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return {};

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = (folder == "/" ? std::string() : folder) + "/." + base + "." +
           std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return {};
  }
  if (fd < 0) return {};
  // A file that is replaced keeps its permissions.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    ::unlink(temp.c_str());
    return {};
  }
  return temp;
}

void SyncFolder(const std::string& folder) {
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  return WriteFilesAtomically({{path, std::string(bytes)}});
}

bool WriteFilesAtomically(const std::vector<FileContent>& files) {
  // Two files of one save under one name would leave only the last.
  for (size_t i = 0; i < files.size(); ++i) {
    for (size_t j = i + 1; j < files.size(); ++j)
      if (files[i].path == files[j].path) return false;
  }
  // Refuse before anything is renamed: a target the user made read-only (the rename could
  // replace it all the same) or one that is not a regular file.
  for (const auto& f : files) {
    struct stat st {};
    if (::stat(f.path.c_str(), &st) != 0) continue;
    if (!S_ISREG(st.st_mode) || ::access(f.path.c_str(), W_OK) != 0) return false;
  }
  std::vector<std::string> temps;
  for (const auto& f : files) {
    std::string temp = WriteTempFile(f.path, f.bytes);
    if (temp.empty()) {
      for (const auto& t : temps) ::unlink(t.c_str());
      return false;
    }
    temps.push_back(std::move(temp));
  }
  bool ok = true;
  std::vector<std::string> folders;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!ok || ::rename(temps[i].c_str(), files[i].path.c_str()) != 0) {
      ok = false;
      ::unlink(temps[i].c_str());
      continue;
    }
    const std::string folder = FolderOf(files[i].path);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  // Make the renames themselves durable, once per folder.
  for (const auto& folder : folders) SyncFolder(folder);
  return ok;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

}  // namespace kvx

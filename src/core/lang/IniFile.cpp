#include "core/lang/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/util/Text.h"

namespace kvx {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// One line of an INI text, without its line ending.
struct Line {
  std::string_view text;
  std::string_view ending;  // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) {
      lines.push_back({text.substr(pos), {}});
      break;
    }
    size_t end = nl;
    if (end > pos && text[end - 1] == '\r') --end;
    lines.push_back({text.substr(pos, end - pos), text.substr(end, nl + 1 - end)});
    pos = nl + 1;
  }
  return lines;
}

std::string_view WithoutBom(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// "[name]" gives name (blanks trimmed); nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  return TrimBlanks(line.substr(0, line.find(']')));
}

// "key=value" gives the trimmed key; nullopt for comments and lines without '='.
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view key = TrimBlanks(t.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return key;
}

std::string_view ValueOf(std::string_view line) {
  size_t eq = line.find('=');
  return Unquote(TrimBlanks(line.substr(eq + 1)));
}

// A value that fits on its line.
std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return v;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  IniSection* current = nullptr;
  for (const Line& line : SplitLines(WithoutBom(text))) {
    if (auto name = SectionName(line.text)) {
      // A repeated section is never searched: only the first one counts.
      bool repeated = false;
      for (const auto& s : doc.sections_)
        if (EqualsNoCase(s.name, *name)) repeated = true;
      current = nullptr;
      if (!repeated) {
        doc.sections_.push_back({std::string(*name), {}});
        current = &doc.sections_.back();
      }
      continue;
    }
    if (!current) continue;
    auto key = KeyName(line.text);
    if (!key) continue;
    bool seen = false;
    for (const auto& e : current->entries)
      if (EqualsNoCase(e.key, *key)) seen = true;
    if (!seen) current->entries.push_back({std::string(*key), std::string(ValueOf(line.text))});
  }
  return doc;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  for (const auto& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    for (const auto& e : s.entries)
      if (EqualsNoCase(e.key, key)) return e.value;
    return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  for (const auto& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    for (const auto& e : s.entries) keys.push_back(e.key);
    break;
  }
  return keys;
}

std::string CutToLimit(std::string_view value, size_t limit) {
  size_t nul = value.find('\0');
  if (nul != std::string_view::npos) value = value.substr(0, nul);
  if (value.size() <= limit) return std::string(value);
  size_t end = limit;
  // Never end inside a UTF-8 character: step back over continuation bytes.
  while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) --end;
  return std::string(value.substr(0, end));
}

std::optional<std::string> ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(out).str();
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
  static std::atomic<unsigned> counter{0};
  std::string temp = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  const char* p = content.data();
  size_t left = content.size();
  bool ok = true;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string ReadIniValue(const std::string& path, std::string_view section, std::string_view key,
                         size_t limit) {
  auto text = ReadFileText(path);
  if (!text) return {};
  auto value = IniDocument::Parse(*text).Find(section, key);
  if (!value) return {};
  // Blanks inside quotes go too, as the lookup's last step.
  return Trim(CutToLimit(*value, limit));
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::string_view bom;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") bom = text.substr(0, 3);
  std::vector<Line> lines = SplitLines(text.substr(bom.size()));
  std::string_view newline = "\n";
  for (const Line& l : lines)
    if (!l.ending.empty()) {
      newline = l.ending;
      break;
    }
  const std::string entry = std::string(key) + "=" + OneLine(value);

  // Where the section starts (the line after its header) and ends (after its last entry).
  std::optional<size_t> header, lastEntry, keyLine;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (header) break;  // the next section ends ours
      if (EqualsNoCase(*name, section)) header = i;
      continue;
    }
    if (!header) continue;
    if (auto k = KeyName(lines[i].text)) {
      lastEntry = i;
      if (!keyLine && EqualsNoCase(*k, key)) keyLine = i;
    }
  }

  std::string out(bom);
  auto emit = [&](std::string_view t, std::string_view ending) {
    out.append(t);
    out.append(ending);
  };
  if (!header) {
    for (const Line& l : lines) emit(l.text, l.ending);
    if (!lines.empty() && lines.back().ending.empty()) out.append(newline);
    emit("[" + std::string(section) + "]", newline);
    emit(entry, newline);
    return out;
  }
  size_t insertAfter = lastEntry ? *lastEntry : *header;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (keyLine && i == *keyLine) {
      // Keep the key as it is spelled in the file and whatever stood before it.
      std::string_view t = lines[i].text;
      size_t eq = t.find('=');
      emit(std::string(t.substr(0, eq + 1)) + OneLine(value), lines[i].ending);
      continue;
    }
    std::string_view ending = lines[i].ending;
    if (!keyLine && i == insertAfter && ending.empty()) ending = newline;
    emit(lines[i].text, ending);
    if (!keyLine && i == insertAfter) emit(entry, lines[i].ending.empty() ? "" : newline);
  }
  return out;
}

bool WriteIniValue(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value) {
  if (section.empty() || key.empty()) return false;
  if (section.find_first_of("[]\r\n") != std::string_view::npos) return false;
  if (key.find_first_of("=[\r\n") != std::string_view::npos) return false;
  if (TrimBlanks(key) != key || TrimBlanks(section) != section) return false;
  std::string old;
  if (auto text = ReadFileText(path)) {
    old = std::move(*text);
  } else {
    struct stat st {};
    // A file that exists but cannot be read is not replaced.
    if (::stat(path.c_str(), &st) == 0) return false;
  }
  return ReplaceFileAtomically(path, SetIniValue(old, section, key, value));
}

}  // namespace kvx

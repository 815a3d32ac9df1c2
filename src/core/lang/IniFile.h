#pragma once
// Our own INI reader and writer with the usual private-profile rules: section and key names
// compared without case; blanks around names and values removed; a value enclosed in one pair
// of matching quotes (" or ') loses them; a missing file, section or key gives the empty text;
// values are cut to a byte limit (never splitting a UTF-8 character). Writing a key keeps
// every other line of the file as it was, adds the section or key when missing, and replaces
// the file atomically (temporary file + rename).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvx {

inline constexpr size_t kIniShortValueLimit = 254;  // "OTHER", "OPTION"
inline constexpr size_t kIniLongValueLimit = 511;   // "MSG", the setup file

struct IniEntry {
  std::string key;
  std::string value;  // trimmed and unquoted, not cut
};

struct IniSection {
  std::string name;
  std::vector<IniEntry> entries;
};

// A parsed INI text. Lines that are neither "[section]" nor "key=value" (comments starting
// with ';' or '#', blank lines, odd lines) are ignored. The first occurrence of a section or
// key wins, as the private-profile reader does.
class IniDocument {
 public:
  static IniDocument Parse(std::string_view text);
  // nullopt when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // Every key of a section in file order (empty when the section is missing).
  std::vector<std::string> Keys(std::string_view section) const;
  const std::vector<IniSection>& Sections() const { return sections_; }

 private:
  std::vector<IniSection> sections_;
};

// Cuts `value` to at most `limit` bytes at a character boundary.
std::string CutToLimit(std::string_view value, size_t limit);

// Whole-file reading; nullopt when the file cannot be read.
std::optional<std::string> ReadFileText(const std::string& path);
// Writes a temporary file beside `path`, then renames it over `path`. On failure the old file
// is left as it was.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);

// One value of a file, with the rules above, cut to `limit` and trimmed of blanks (quoted
// ones included); "" when anything is missing.
std::string ReadIniValue(const std::string& path, std::string_view section, std::string_view key,
                         size_t limit);
// Sets one key. The file, the section and the key are created when missing; every other line
// and the line endings are kept. False when the file cannot be written.
bool WriteIniValue(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value);
// The same edit on a text in memory.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace kvx

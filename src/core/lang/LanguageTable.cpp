#include "core/lang/LanguageTable.h"

#include <iconv.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>

#include "core/lang/IniFile.h"
#include "core/util/Text.h"

namespace kvx {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr uint32_t kReplacement = 0xFFFD;

// Windows-1252 0x80-0x9F; the five unassigned bytes map to the C1 controls of the same value.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Section limits of the lookups.
size_t LimitOf(std::string_view section) {
  return EqualsNoCase(section, "MSG") ? kIniLongValueLimit : kIniShortValueLimit;
}

}  // namespace

std::string_view LanguageFileName(int languageIndex) {
  return languageIndex == kLanguageChinese ? "chinese.ini" : "english.ini";
}

int16_t ChooseLanguageIndex(int systemLcid, bool factoryMode) {
  // An ordinary installation starts in English; the user switches with the language dialog.
  return (systemLcid == 0x0804 && factoryMode) ? kLanguageChinese : kLanguageEnglish;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
  while (i < n) {
    unsigned char c = at(i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((at(i + k) & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (at(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += len;
  }
  return true;
}

std::string DecodeWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (unsigned char c : bytes) {
    if (c >= 0x80 && c <= 0x9F)
      AppendUtf8(out, kCp1252High[c - 0x80]);
    else
      AppendUtf8(out, c);
  }
  return out;
}

std::string DecodeGbk(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "CP936");
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (c == 0x80) {  // the euro sign of code page 936
      AppendUtf8(out, 0x20AC);
      ++i;
      continue;
    }
    bool done = false;
    if (cd != reinterpret_cast<iconv_t>(-1) && i + 1 < bytes.size()) {
      char in[2] = {bytes[i], bytes[i + 1]};
      char buf[8];
      char* inp = in;
      size_t inLeft = 2;
      char* outp = buf;
      size_t outLeft = sizeof buf;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) && inLeft == 0) {
        out.append(buf, static_cast<size_t>(outp - buf));
        i += 2;
        done = true;
      }
    }
    if (!done) {
      AppendUtf8(out, kReplacement);
      ++i;
    }
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return out;
}

std::string LanguageFileToUtf8(std::string_view bytes, int languageIndex) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return languageIndex == kLanguageChinese ? DecodeGbk(bytes) : DecodeWindows1252(bytes);
}

// The parsed current file, valid while its identity, size and modification time stay.
struct LanguageTable::Cache {
  std::string path;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = -1;
  timespec mtime{};
  IniDocument doc;
};

LanguageTable::LanguageTable() = default;
LanguageTable::~LanguageTable() = default;
LanguageTable::LanguageTable(const LanguageTable& other)
    : folder_(other.folder_), index_(other.index_) {}
LanguageTable& LanguageTable::operator=(const LanguageTable& other) {
  if (this != &other) {
    folder_ = other.folder_;
    index_ = other.index_;
    cache_.reset();
  }
  return *this;
}

void LanguageTable::SetProgramFolder(std::string folder) {
  folder_ = std::move(folder);
  cache_.reset();
}

void LanguageTable::SetLanguageIndex(int16_t index) {
  index_ = index == kLanguageChinese ? kLanguageChinese : kLanguageEnglish;
  cache_.reset();
}

std::string LanguageTable::FilePath() const {
  std::string path = folder_;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  path += "language/";
  path += LanguageFileName(index_);
  return path;
}

std::string LanguageTable::GetLangKeyText(std::string_view section, std::string_view key) const {
  const std::string path = FilePath();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    cache_.reset();
    return {};
  }
  const bool fresh = cache_ && cache_->path == path && cache_->dev == st.st_dev &&
                     cache_->ino == st.st_ino && cache_->size == st.st_size &&
                     cache_->mtime.tv_sec == st.st_mtim.tv_sec &&
                     cache_->mtime.tv_nsec == st.st_mtim.tv_nsec;
  if (!fresh) {
    auto bytes = ReadFileText(path);
    if (!bytes) {
      cache_.reset();
      return {};
    }
    auto cache = std::make_unique<Cache>();
    cache->path = path;
    cache->dev = st.st_dev;
    cache->ino = st.st_ino;
    cache->size = st.st_size;
    cache->mtime = st.st_mtim;
    cache->doc = IniDocument::Parse(LanguageFileToUtf8(*bytes, index_));
    cache_ = std::move(cache);
  }
  auto value = cache_->doc.Find(section, key);
  if (!value) return {};
  return Trim(CutToLimit(*value, LimitOf(section)));
}

std::string LanguageTable::GetLangText(int id) const {
  return GetLangKeyText("OTHER", std::to_string(id));
}

}  // namespace kvx

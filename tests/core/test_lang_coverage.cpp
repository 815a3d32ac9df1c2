// Every text the system looks up must exist in both language files: the IDs named in the sources
// (in the literal forms listed in core/lang/LanguageTable.h) and the catalogue of IDs that the
// windows compute (a base ID plus an index) or that are planned for windows still to come.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "core/lang/IniFile.h"
#include "core/lang/LanguageTable.h"

using namespace kvx;
namespace fs = std::filesystem;

namespace {

struct Key {
  std::string section, key;
  bool operator<(const Key& o) const { return std::tie(section, key) < std::tie(o.section, o.key); }
};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Drops a // comment that does not stand inside a string literal.
std::string WithoutComment(const std::string& line) {
  bool inString = false;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    if (line[i] == '\\' && inString) {
      ++i;
    } else if (line[i] == '"') {
      inString = !inString;
    } else if (!inString && line[i] == '/' && line[i + 1] == '/') {
      return line.substr(0, i);
    }
  }
  return line;
}

// Where each key is used: "file:line".
std::map<Key, std::string> KeysInSources() {
  static const std::regex byId(R"re(\b(?:GetLangText|LangId)\(\s*(-?\d+)\s*\))re");
  static const std::regex byKey(
      R"re(\b(?:GetLangKeyText|LangKey)\(\s*"([A-Za-z]+)"\s*,\s*"([0-9A-Za-z]+)"\s*\))re");
  std::map<Key, std::string> found;
  const fs::path src = fs::path(KVX50_SOURCE_DIR) / "src";
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string text = ReadFileText(entry.path().string()).value_or("");
    size_t lineNo = 0, pos = 0;
    while (pos <= text.size()) {
      size_t nl = text.find('\n', pos);
      if (nl == std::string::npos) nl = text.size();
      ++lineNo;
      const std::string line = WithoutComment(text.substr(pos, nl - pos));
      const std::string where =
          fs::relative(entry.path(), src).string() + ":" + std::to_string(lineNo);
      for (std::sregex_iterator it(line.begin(), line.end(), byId), end; it != end; ++it)
        found.emplace(Key{"OTHER", (*it)[1]}, where);
      for (std::sregex_iterator it(line.begin(), line.end(), byKey), end; it != end; ++it)
        found.emplace(Key{Upper((*it)[1]), Upper((*it)[2])}, where);
      pos = nl + 1;
    }
  }
  return found;
}

// IDs of section "OTHER" by window, as the windows use them.
struct IdRange {
  int first, last;
};
const IdRange kCatalogue[] = {
    {20, 21},                                  // font name and size
    {101, 104},                                // OK, Cancel; previous and next channel
    {1000, 1006},                              // main menu: File
    {1010, 1011},                              // Edit
    {1020, 1028},                              // View and the settings windows
    {1030, 1033},                              // Settings
    {1036, 1039},                              // about box
    {1040, 1043},                              // Program
    {1050, 1053},                              // Help
    {1060, 1061},                              // Model
    {1070, 1074},                              // channel clipboard
    {1900, 1900}, {2100, 2101}, {2200, 2200},  // about box
    {1101, 1114}, {1116, 1116}, {1140, 1140},  // channel fields
    {1202, 1207}, {1210, 1212}, {1214, 1221},  // channel values
    {1300, 1301},                              // channel edit
    {1401, 1402},                              // serial port
    {1501, 1503},                              // language
    {1602, 1612}, {1650, 1651}, {1653, 1653},  // DTMF
    {1700, 1719},                              // optional features: caption and list labels
    {1727, 1729},                              // list 15
    {1730, 1739},                              // switches, password, message
    {1740, 1746},  // labels shared with the channel edit and DTMF windows
    {1747, 1756}, {1761, 1762}, {1765, 1770}, {1780, 1780},
    {1782, 1782}, {1784, 1788}, {1790, 1792}, {1794, 1799},  // list entries
    {1800, 1804},                                            // communication book
    {2001, 2008},                // messages of frequency entry and of the link
    {2012, 2012},                // caption
    {2300, 2302},                // model and band
    {2400, 2413}, {2430, 2439},  // scan
    {2500, 2514},                // broadcast receiver and BLE groups
    {2600, 2615}, {2630, 2636},  // alert
    {3001, 3011},                // further messages and captions
    {3100, 3101},                // programming password
    {5021, 5021}, {5023, 5025}, {5028, 5028}, {5804, 5804},  // tree nodes
    {6000, 6002}, {7000, 7002},                              // FM and AM lists
    {8001, 8001},                                            // test data
};

// Keys of the signalling windows (section "OPTION") and the two long messages.
const char* const kOptionKeys[] = {
    "60024", "60025", "60043", "60044", "60045", "60046", "60047", "60048", "60049", "60050",
    "60051", "60052", "60053", "60054", "60055", "60056", "60057", "60058", "60059", "60061",
    "60062", "60063", "60064", "60069", "60070", "60071", "60072", "60073", "60074", "60075",
    "60076", "60077", "60078", "60079", "60080", "60081", "60082", "60084", "60085", "60086",
    "60087", "60088", "60093", "60095", "60096", "60097", "60098", "60099", "60300", "60301",
    "60302", "60303", "60304", "60305", "60306", "60307", "60308", "60309", "60310", "60311",
    "60312", "60313", "60314", "60315", "60318"};
const char* const kMsgKeys[] = {"9001", "900C"};

std::string LanguageFile(const char* name) {
  return std::string(KVX50_SOURCE_DIR) + "/data/language/" + name;
}

IniDocument Load(const char* name) {
  auto text = ReadFileText(LanguageFile(name));
  EXPECT_TRUE(text) << name;
  EXPECT_TRUE(IsValidUtf8(text.value_or(""))) << name << " is not UTF-8";
  return IniDocument::Parse(text.value_or(""));
}

void ExpectText(const IniDocument& doc, const char* file, const Key& k, const std::string& why) {
  auto v = doc.Find(k.section, k.key);
  EXPECT_TRUE(v && !v->empty()) << file << " has no text for [" << k.section << "] " << k.key
                                << " (" << why << ")";
}

}  // namespace

TEST(LanguageCoverage, EveryKeyTheSourcesNameHasATextInBothFiles) {
  const auto used = KeysInSources();
  for (const char* file : {"english.ini", "chinese.ini"}) {
    const IniDocument doc = Load(file);
    for (const auto& [key, where] : used) ExpectText(doc, file, key, "used at " + where);
  }
}

TEST(LanguageCoverage, TheCatalogueHasATextInBothFiles) {
  for (const char* file : {"english.ini", "chinese.ini"}) {
    const IniDocument doc = Load(file);
    for (const auto& r : kCatalogue)
      for (int id = r.first; id <= r.last; ++id)
        ExpectText(doc, file, {"OTHER", std::to_string(id)}, "catalogue");
    for (const char* k : kOptionKeys) ExpectText(doc, file, {"OPTION", k}, "catalogue");
    for (const char* k : kMsgKeys) ExpectText(doc, file, {"MSG", k}, "catalogue");
  }
}

TEST(LanguageCoverage, BothFilesHoldTheSameKeysWithinTheLimits) {
  const IniDocument en = Load("english.ini");
  const IniDocument zh = Load("chinese.ini");
  for (const char* section : {"OTHER", "OPTION", "MSG"}) {
    const auto enKeys = en.Keys(section), zhKeys = zh.Keys(section);
    EXPECT_EQ(std::set<std::string>(enKeys.begin(), enKeys.end()),
              std::set<std::string>(zhKeys.begin(), zhKeys.end()))
        << section;
    const size_t limit = std::string(section) == "MSG" ? kIniLongValueLimit : kIniShortValueLimit;
    for (const IniDocument* doc : {&en, &zh})
      for (const auto& key : doc->Keys(section))
        EXPECT_LE(doc->Find(section, key)->size(), limit) << section << " " << key;
  }
  // The shipped files are read through the table as the windows read them.
  LanguageTable lang;
  lang.SetProgramFolder(std::string(KVX50_SOURCE_DIR) + "/data");
  EXPECT_EQ(lang.GetLangText(101), "OK");
  EXPECT_EQ(lang.GetLangText(1780), "\xC2\xA0ms");  // joined to a number: kept by the trim
  lang.SetLanguageIndex(kLanguageChinese);
  EXPECT_EQ(lang.GetLangText(102), "取消");
}

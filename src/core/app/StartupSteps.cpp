// The decisions of the start-up that stand on their own (also used after it: the language
// dialog sets the language, the serial-port dialog checks a port).
#include <sys/stat.h>

#include <algorithm>

#include "core/app/Startup.h"
#include "core/lang/LanguageTable.h"

namespace kvx {

int SystemDefaultLcid(const Environment& env) {
  constexpr int kChinesePrc = 0x0804;
  constexpr int kEnglishUs = 0x0409;
  // The first variable that is set decides, as for message catalogues; empty counts as unset.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    std::string v = env.Get(name);
    if (v.empty()) continue;
    return v.rfind("zh_CN", 0) == 0 ? kChinesePrc : kEnglishUs;
  }
  return kEnglishUs;
}

std::string CheckStoredPort(std::string_view stored, const std::vector<PortInfo>& listed,
                            const std::function<bool(const std::string&)>& deviceExists) {
  const std::string port(stored);
  if (!port.empty()) {
    if (std::any_of(listed.begin(), listed.end(),
                    [&](const PortInfo& p) { return p.name == port; }))
      return port;
    if (port.front() == '/') {
      bool exists;
      if (deviceExists) {
        exists = deviceExists(port);
      } else {
        struct stat st {};
        exists = ::stat(port.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode);
      }
      if (exists) return port;
    }
  }
  return listed.empty() ? std::string() : listed.front().name;
}

void SetLanguage(AppState& app, LanguageTable& lang, int16_t index) {
  lang.SetLanguageIndex(index);
  app.LanguageIndex = lang.LanguageIndex();
}

}  // namespace kvx

#include "core/link/SerialPorts.h"

#include <cctype>
#include <tuple>

namespace kvx {

namespace {

// "ttyS10" -> ("ttyS", 10); a name without a trailing number -> (name, -1).
std::pair<std::string_view, long> SplitTrailingNumber(std::string_view s) {
  size_t i = s.size();
  while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
  long n = -1;
  if (i < s.size() && s.size() - i <= 9) {
    n = 0;
    for (size_t k = i; k < s.size(); ++k) n = n * 10 + (s[k] - '0');
  }
  return {s.substr(0, i), n};
}

std::string_view BaseName(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool PortNameLess(std::string_view a, std::string_view b) {
  const auto [pa, na] = SplitTrailingNumber(a);
  const auto [pb, nb] = SplitTrailingNumber(b);
  return std::tie(pa, na, a) < std::tie(pb, nb, b);
}

std::string ListSerialPorts(PortEnumerator& ports, std::vector<PortInfo>& list) {
  list = ports.List();
  return list.empty() ? std::string() : list.front().name;
}

bool SerialPortExists(PortEnumerator& ports, std::string_view port) {
  if (port.empty()) return false;
  for (const PortInfo& p : ports.List()) {
    if (p.name == port) return true;
    if (port.starts_with("/dev/") && BaseName(port) == p.name && port.size() == 5 + p.name.size())
      return true;
  }
  return false;
}

std::string FirstSerialPort(PortEnumerator& ports) {
  std::vector<PortInfo> list;
  return ListSerialPorts(ports, list);
}

}  // namespace kvx

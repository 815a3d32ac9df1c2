#include "platform/SystemPorts.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace kvx {

std::vector<PortInfo> SystemPorts::List() {
  std::vector<PortInfo> out;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    QString desc = info.description();
    if (!info.manufacturer().isEmpty() && !desc.contains(info.manufacturer()))
      desc = desc.isEmpty() ? info.manufacturer() : desc + " (" + info.manufacturer() + ")";
    out.push_back({info.portName().toStdString(), desc.toStdString()});
  }
  // Natural order, so ttyS2 comes before ttyS10.
  std::sort(out.begin(), out.end(), [](const PortInfo& a, const PortInfo& b) {
    auto split = [](const std::string& s) {
      size_t i = s.size();
      while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
      long n = i < s.size() ? std::stol(s.substr(i)) : -1;
      return std::make_pair(s.substr(0, i), n);
    };
    return split(a.name) < split(b.name);
  });
  return out;
}

}  // namespace kvx

#include "platform/SystemPorts.h"

#include <QSerialPortInfo>
#include <algorithm>

#include "core/link/SerialPorts.h"

namespace kvx {

std::vector<PortInfo> SystemPorts::List() {
  std::vector<PortInfo> out;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    QString desc = info.description();
    if (!info.manufacturer().isEmpty() && !desc.contains(info.manufacturer()))
      desc = desc.isEmpty() ? info.manufacturer() : desc + " (" + info.manufacturer() + ")";
    out.push_back({info.portName().toStdString(), desc.toStdString()});
  }
  // A stable order whatever the system reports: ttyS2 before ttyS10.
  std::sort(out.begin(), out.end(),
            [](const PortInfo& a, const PortInfo& b) { return PortNameLess(a.name, b.name); });
  return out;
}

}  // namespace kvx

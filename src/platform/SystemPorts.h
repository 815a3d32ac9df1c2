#pragma once
#include "core/app/Ports.h"

namespace kvx {

// The machine's real serial devices, from QSerialPortInfo, sorted by name.
class SystemPorts : public PortEnumerator {
 public:
  std::vector<PortInfo> List() override;
};

}  // namespace kvx

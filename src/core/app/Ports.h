#pragma once
// The machine's serial ports as the rest of the system sees them. A port is named by its
// device ("ttyUSB0") or by a full path ("/dev/pts/3", "/dev/serial/by-id/...").
#include <string>
#include <vector>

namespace kvx {

struct PortInfo {
  std::string name;         // as stored in the setup key "comPort"
  std::string description;  // what the user sees beside it
};

class PortEnumerator {
 public:
  virtual ~PortEnumerator() = default;
  // In a stable order.
  virtual std::vector<PortInfo> List() = 0;
};

}  // namespace kvx

#pragma once
// The serial ports the link can use, as the port dialog and the start-up check see them. A port
// is a device name ("ttyUSB0") or a full path ("/dev/pts/3"); the list comes from a
// PortEnumerator (the machine's devices in platform/SystemPorts, a fixed list in tests).
#include <string>
#include <string_view>
#include <vector>

#include "core/app/Ports.h"

namespace kvx {

// The stable order of the list: by name, with a trailing number compared as a number, so that
// ttyS2 comes before ttyS10 and ttyUSB0 after every ttyS.
bool PortNameLess(std::string_view a, std::string_view b);

// Clears `list`, fills it with the ports present and returns the first one ("" when none).
std::string ListSerialPorts(PortEnumerator& ports, std::vector<PortInfo>& list);
// True when `port` is listed, by its name or by its full path under /dev.
bool SerialPortExists(PortEnumerator& ports, std::string_view port);
// The first port present, "" when there is none.
std::string FirstSerialPort(PortEnumerator& ports);

}  // namespace kvx

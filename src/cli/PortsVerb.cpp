// kvx50-cli ports: the machine's serial devices, one line each: path, tab, description.
#include <cstdio>

#include "cli/Verb.h"
#include "platform/SerialLink.h"
#include "platform/SystemPorts.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli ports\n\n"
    "Lists the serial devices of this machine in a stable order, one per line: the device\n"
    "path, a tab, its description. Any of the paths, or a pseudo-terminal such as the one\n"
    "kvx50-radiosim prints, can be given to --port.\n";

int Run(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--home" && i + 1 < args.size()) {
      ++i;  // accepted by every verb; nothing to read here
      continue;
    }
    std::fprintf(stderr, "kvx50-cli ports: unexpected argument %s\n%s", args[i].c_str(), kUsage);
    return kExitUsage;
  }
  SystemPorts ports;
  for (const PortInfo& p : ports.List())
    std::printf("%s\t%s\n", PortDevicePath(p.name).c_str(), p.description.c_str());
  return kExitOk;
}

VerbRegistrar reg{Verb{"ports", "list the serial devices (path, tab, description)", kUsage, Run}};

}  // namespace
}  // namespace kvx::cli

// The radio link against kvx50-radiosim, figures only:
//  (1) a full read and a full write over an emulated 9600-baud wire, against the wire-time
//      bound computed from the frames (bytes on the single wire at 10 bits each, plus the
//      radio's turn-around per exchange), and the CLI's CPU time against its wall time;
//  (2) the same with no wire delay: the software's own time per block.
// Targets: within 3 % of the bound at 9600 baud; under 0.3 ms per block of our own time; CPU
// under 5 % of the wall time during a 9600-baud read.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "../tests/integration/SimProcess.h"

using namespace kvx::test;

namespace {

constexpr int kBaud = 9600;
constexpr int kTurnaroundMs = 1;

// Bytes on the wire and exchanges of a whole link: handshake, identification, password block,
// the blocks, closing. Every exchange is frame + reply.
struct Shape {
  long bytes;
  long exchanges;
  long blocks;
};
constexpr Shape kRead{(7 + 3) + (1 + 16) + (4 + 22) + 1023L * (4 + 22) + (3 + 1), 4 + 1023, 1023};
constexpr Shape kWrite{(7 + 3) + (1 + 16) + (4 + 22) + 1007L * (22 + 1) + (3 + 1), 4 + 1007, 1007};

double BoundSeconds(const Shape& s, int baud, int turnaroundMs) {
  return s.bytes * 10.0 / baud + s.exchanges * turnaroundMs / 1000.0;
}

struct Run {
  bool ok = false;
  double wall = 0, cpu = 0;
  double link = 0;      // first send to last receive, from the serial log
  double response = 0;  // summed time from a complete reply to the next send: our own share
  long exchanges = 0;
  double radioLate = 0;  // summed lateness of the simulator's replies against the wire time
};

// Reads the --log-serial file: the link time and the program's own response times.
void ReadSerialLog(const std::string& logPath, Run& run) {
  std::istringstream in(ReadFileText(logPath));
  double first = -1, last = -1, lastRx = -1;
  for (std::string line; std::getline(in, line);) {
    const auto space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string what = line.substr(space + 1, 2);
    const double t = std::stod(line.substr(0, space));
    if (what == "TX") {
      if (first < 0) first = t;
      if (lastRx >= 0) run.response += t - lastRx;
      ++run.exchanges;
      lastRx = -1;
    } else if (what == "RX") {
      last = lastRx = t;
    }
  }
  run.link = first >= 0 && last >= first ? last - first : -1;
}

std::string LoadAverage() {
  const std::string s = ReadFileText("/proc/loadavg");
  return s.substr(0, s.find(' '));
}

Run Transfer(const TempHome& home, const TempDir& dir, const std::string& verb,
             const std::vector<std::string>& simOptions, const std::string& dataFile) {
  std::vector<std::string> options = simOptions;
  options.push_back("--stats");
  SimProcess sim(options);
  Run run;
  if (!sim.Ok()) {
    std::fprintf(stderr, "bench_link: kvx50-radiosim did not start\n");
    return run;
  }
  const std::string log = dir / (verb + "-serial.log");
  std::vector<std::string> args = {
      BinPath("kvx50-cli"), "--home",       home.Path(), verb, "--port",
      sim.Device(),         "--log-serial", log};
  if (verb == "read") args.insert(args.end(), {"-o", dataFile});
  if (verb == "write") args.push_back(dataFile);
  const ProcessResult r = RunProgram(args, 300000);
  sim.Stop();
  const std::string stats = sim.Stderr();
  const auto at = stats.find("late_total_ms ");
  if (at != std::string::npos) run.radioLate = std::stod(stats.substr(at + 14)) / 1000;
  run.ok = r.exitCode == 0;
  if (!run.ok) std::fprintf(stderr, "bench_link: %s failed:\n%s", verb.c_str(), r.err.c_str());
  run.wall = r.seconds;
  run.cpu = r.cpuSeconds;
  ReadSerialLog(log, run);
  return run;
}

}  // namespace

int main() {
  TempHome home;
  TempDir dir;
  const std::string data = dir / "bench.dat";

  std::printf(
      "bench_link: full transfers through kvx50-cli and kvx50-radiosim (load average %s "
      "on this machine)\n\n",
      LoadAverage().c_str());

  // (2) No wire delay first: it also makes the data file the writes send.
  std::printf("No wire delay (the software's own time):\n");
  for (const char* verb : {"read", "write"}) {
    const Shape& shape = std::string(verb) == "read" ? kRead : kWrite;
    double best = 1e9, cpu = 0, wall = 0;
    for (int i = 0; i < 3; ++i) {
      const Run r = Transfer(home, dir, verb, {}, data);
      if (!r.ok) return 1;
      if (r.link < best) {
        best = r.link;
        cpu = r.cpu;
        wall = r.wall;
      }
    }
    std::printf(
        "  %-5s %4ld blocks: link %7.1f ms, %.3f ms per block (best of 3); process %.0f ms "
        "wall, %.0f ms CPU\n",
        verb, shape.blocks, best * 1000, best * 1000 / shape.blocks, wall * 1000, cpu * 1000);
  }

  // (1) The emulated wire.
  std::printf("\nEmulated wire: %d baud, 8N1 (10 bits a byte), turn-around %d ms:\n", kBaud,
              kTurnaroundMs);
  // The simulated radio runs at a real-time priority where allowed: a radio is hardware, and
  // the figure is about our own program's time, not the emulator's place in the run queue.
  const std::vector<std::string> wire = {"--baud", std::to_string(kBaud), "--turnaround",
                                         std::to_string(kTurnaroundMs), "--realtime"};
  for (const char* verb : {"read", "write"}) {
    const Shape& shape = std::string(verb) == "read" ? kRead : kWrite;
    const Run r = Transfer(home, dir, verb, wire, data);
    if (!r.ok) return 1;
    const double bound = BoundSeconds(shape, kBaud, kTurnaroundMs);
    std::printf(
        "  %-5s bound %.3f s (%ld bytes, %ld exchanges), measured %.3f s, ratio %.4f "
        "(%+.2f %%)\n",
        verb, bound, shape.bytes, shape.exchanges, r.link, r.link / bound,
        (r.link / bound - 1) * 100);
    const double excess = r.link - bound;
    std::printf(
        "        excess %.3f s: our response (reply complete to next send) %.3f s, %.3f ms "
        "an exchange;\n        the simulator's replies late against the wire %.3f s; the "
        "rest, %.3f s, is wake-up latency between the two processes\n",
        excess, r.response, r.response * 1000 / std::max(1L, r.exchanges - 1), r.radioLate,
        excess - r.response - r.radioLate);
    std::printf("        process wall %.3f s, CPU %.3f s = %.2f %% of the wall time\n", r.wall,
                r.cpu, r.cpu / r.wall * 100);
  }
  return 0;
}

// kvx50-radiosim: a KV_X50_WQN7 radio on a pseudo-terminal, for tests, demos and support.
//
// It prints the device path on its first line, then answers the programming protocol on it
// until it is stopped (SIGTERM, SIGINT, or its parent ending). The cable's single-wire echo,
// the wire time at a baud rate and the faults are emulated here; the radio itself is SimRadio.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "SimRadio.h"
#include "core/image/RadioImage.h"

using kvx::sim::Faults;
using kvx::sim::Identity;
using kvx::sim::ReplyPart;
using kvx::sim::SimRadio;

namespace {

volatile sig_atomic_t gStop = 0;
void OnSignal(int) {
  gStop = 1;
}

const char* kUsage =
    "kvx50-radiosim - a KV_X50_WQN7 radio on a pseudo-terminal\n\n"
    "Usage: kvx50-radiosim [OPTIONS]\n\n"
    "Prints the device path on its first line and answers on it until stopped.\n\n"
    "Memory:\n"
    "  --memory FILE      load the radio's 16384-byte memory (default: a sample radio)\n"
    "  --save FILE        save the memory after every closing frame and at exit\n"
    "  --password TEXT    the programming password (memory 0x004C-0x004F)\n"
    "Identity:\n"
    "  --model TEXT       model text (default KP-510)\n"
    "  --band BYTE        band byte, decimal or 0x.. (default 0x03)\n"
    "  --version TEXT     version text (default V100)\n"
    "  --features BYTE    feature bits (7 five-tone, 6 two-tone, 5 DTMF, 4 fourth)\n"
    "  --status BYTE      status bits (0 killed, 1 stunned); --killed, --stunned\n"
    "  --w-headers        answer reads at 0x03F0 and from 0x3900 with the header 'w'\n"
    "Wire:\n"
    "  --baud N           emulate the wire time at N baud (default 0: no delay)\n"
    "  --turnaround MS    the radio's delay before it answers (default 0)\n"
    "  --link PATH        also make PATH a symbolic link to the device\n"
    "  --stats            at exit, print on stderr how late the replies left against the\n"
    "                     emulated wire time\n"
    "  --realtime         run at a real-time priority when allowed, so that the wire timing\n"
    "                     holds on a busy machine (hardware has no scheduler)\n"
    "  --journal FILE     one line per frame seen, and what was done\n"
    "Faults (seeded):\n"
    "  --seed N           the fault generator's seed (default 1)\n"
    "  --drop P           probability that a reply is not sent\n"
    "  --corrupt P        probability that a data block carries a wrong checksum\n"
    "  --split P          probability that a reply goes out in two parts\n"
    "  --split-gap MS     the time between the two parts (default 50)\n"
    "  --junk P           probability that junk bytes follow a reply\n"
    "  --refuse P         probability that a write block is refused\n"
    "  --fault-limit N    inject at most N faults\n"
    "  --silent           never answer (the cable still echoes)\n"
    "  --no-echo          the cable does not echo\n"
    "  --pull-after N     the cable is pulled after N block frames\n"
    "  --no-end-ack       no answer to the closing frame after the last block\n";

std::optional<long> Number(const std::string& s) {
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(s.c_str(), &end, 0);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return v;
}

std::optional<double> Probability(const std::string& s) {
  // Parsed by hand: "." is the separator whatever the locale says.
  double v = 0, scale = 0;
  bool digits = false;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      digits = true;
      if (scale == 0) {
        v = v * 10 + (c - '0');
      } else {
        v += (c - '0') * scale;
        scale /= 10;
      }
    } else if (c == '.' && scale == 0) {
      scale = 0.1;
    } else {
      return std::nullopt;
    }
  }
  if (!digits || v > 1) return std::nullopt;
  return v;
}

// The sample radio: the preparation template, an embedded message and calibration values.
void SampleMemory(std::array<uint8_t, kvx::sim::kMemorySize>& mem) {
  kvx::RadioImage image;
  image.bytes.fill(0xFF);
  kvx::ClearImage(image);
  std::copy(image.bytes.begin(), image.bytes.end(), mem.begin());
  auto put = [&](size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), mem.begin() + static_cast<long>(at));
  };
  put(0x0019, "86");
  put(0x0020, "SIM00000001");
  put(0x0030, "2024-01-15");
  put(0x0040, "M0001");
  put(0x0048, "U01");
  std::fill(mem.begin() + 0x004C, mem.begin() + 0x0050, 0xFF);
  put(0x0050, "2024-03-01");
  put(0x0060, "D-100");
  put(0x00A0, "Simulated radio");
  const uint8_t calibration[16] = {0x80, 0x90, 0x70, 0x60, 0x40, 0x01, 0x34, 0x12,
                                   0x56, 0x04, 0x78, 0x92, 0x11, 0x22, 0x33, 0x44};
  std::copy(std::begin(calibration), std::end(calibration), mem.begin() + 0x0160);
}

bool SaveMemory(const std::string& path, const std::array<uint8_t, kvx::sim::kMemorySize>& mem) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(mem.data()), static_cast<long>(mem.size()));
    if (!out) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

using Clock = std::chrono::steady_clock;

struct Pending {
  Clock::time_point at;
  std::vector<uint8_t> bytes;
};

void WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      ::poll(&p, 1, 100);  // the other side is slow to read: wait, never spin
      if (gStop) return;
    } else {
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Identity identity;
  Faults faults;
  bool lowerHeaders = false;
  long baud = 0;
  long turnaroundMs = 0;
  bool realtime = false;
  bool stats = false;
  std::string memoryPath, savePath, linkPath, journalPath;
  std::optional<std::string> password;

  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "kvx50-radiosim: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return args[++i];
    };
    auto number = [&](long lo, long hi) {
      const std::string v = value();
      const auto n = Number(v);
      if (!n || *n < lo || *n > hi) {
        std::fprintf(stderr, "kvx50-radiosim: bad value for %s: %s\n", a.c_str(), v.c_str());
        std::exit(2);
      }
      return *n;
    };
    auto probability = [&] {
      const std::string v = value();
      const auto p = Probability(v);
      if (!p) {
        std::fprintf(stderr, "kvx50-radiosim: bad probability for %s: %s\n", a.c_str(), v.c_str());
        std::exit(2);
      }
      return *p;
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--memory") {
      memoryPath = value();
    } else if (a == "--save") {
      savePath = value();
    } else if (a == "--password") {
      password = value();
    } else if (a == "--model") {
      identity.model = value();
    } else if (a == "--band") {
      identity.band = static_cast<uint8_t>(number(0, 255));
    } else if (a == "--version") {
      identity.version = value();
    } else if (a == "--features") {
      identity.features = static_cast<uint8_t>(number(0, 255));
    } else if (a == "--status") {
      identity.status = static_cast<uint8_t>(number(0, 255));
    } else if (a == "--killed") {
      identity.status |= 0x01;
    } else if (a == "--stunned") {
      identity.status |= 0x02;
    } else if (a == "--w-headers") {
      lowerHeaders = true;
    } else if (a == "--baud") {
      baud = number(0, 10000000);
    } else if (a == "--turnaround") {
      turnaroundMs = number(0, 10000);
    } else if (a == "--stats") {
      stats = true;
    } else if (a == "--realtime") {
      realtime = true;
    } else if (a == "--link") {
      linkPath = value();
    } else if (a == "--journal") {
      journalPath = value();
    } else if (a == "--seed") {
      faults.seed = static_cast<uint64_t>(number(0, 0x7FFFFFFFFFFFFFFF));
    } else if (a == "--drop") {
      faults.drop = probability();
    } else if (a == "--corrupt") {
      faults.corrupt = probability();
    } else if (a == "--split") {
      faults.split = probability();
    } else if (a == "--split-gap") {
      faults.splitGapMs = static_cast<int>(number(0, 60000));
    } else if (a == "--junk") {
      faults.junk = probability();
    } else if (a == "--refuse") {
      faults.refuse = probability();
    } else if (a == "--fault-limit") {
      faults.limit = number(0, 1L << 40);
    } else if (a == "--silent") {
      faults.silent = true;
    } else if (a == "--no-echo") {
      faults.noEcho = true;
    } else if (a == "--pull-after") {
      faults.pullAfter = number(0, 1L << 40);
    } else if (a == "--no-end-ack") {
      faults.noEndAck = true;
    } else {
      std::fprintf(stderr, "kvx50-radiosim: unknown option %s\n%s", a.c_str(), kUsage);
      return 2;
    }
  }

  SimRadio radio(identity, faults, lowerHeaders);
  if (!memoryPath.empty()) {
    std::ifstream in(memoryPath, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (!in.good() && !in.eof()) bytes.clear();
    if (bytes.size() != kvx::sim::kMemorySize) {
      std::fprintf(stderr, "kvx50-radiosim: %s: not a %zu-byte memory file\n", memoryPath.c_str(),
                   kvx::sim::kMemorySize);
      return 1;
    }
    std::copy(bytes.begin(), bytes.end(), radio.Memory().begin());
  } else {
    SampleMemory(radio.Memory());
  }
  if (password) radio.SetPassword(*password);

  std::FILE* journal = nullptr;
  if (!journalPath.empty()) {
    journal = std::fopen(journalPath.c_str(), "w");
    if (!journal) {
      std::fprintf(stderr, "kvx50-radiosim: cannot write %s\n", journalPath.c_str());
      return 1;
    }
  }
  const auto started = Clock::now();
  radio.journal = [&](const std::string& line) {
    if (!journal) return;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    std::fprintf(journal, "t=%lld %s\n", static_cast<long long>(ms), line.c_str());
    std::fflush(journal);
  };
  radio.onClosing = [&] {
    if (!savePath.empty() && !SaveMemory(savePath, radio.Memory()))
      std::fprintf(stderr, "kvx50-radiosim: cannot save %s\n", savePath.c_str());
  };

  // The pseudo-terminal. We keep the device side open ourselves so that the programmer can
  // close and reopen it (a reconnection) without the pair going away.
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    std::perror("kvx50-radiosim: posix_openpt");
    return 1;
  }
  const char* name = ::ptsname(master);
  if (!name) {
    std::perror("kvx50-radiosim: ptsname");
    return 1;
  }
  const std::string device = name;
  const int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) {
    std::perror("kvx50-radiosim: open device");
    return 1;
  }
  termios tio{};
  if (::tcgetattr(slave, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(slave, TCSANOW, &tio);
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

  if (!linkPath.empty()) {
    ::unlink(linkPath.c_str());
    if (::symlink(device.c_str(), linkPath.c_str()) != 0) {
      std::fprintf(stderr, "kvx50-radiosim: cannot link %s: %s\n", linkPath.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: the wait returns at once
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGHUP, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (realtime) {
    sched_param sp{};
    sp.sched_priority = 10;
    if (::sched_setscheduler(0, SCHED_FIFO, &sp) != 0)
      std::fprintf(stderr, "kvx50-radiosim: no real-time priority: %s\n", std::strerror(errno));
  }
  // Wake up when the wire time is over, not up to 50 us later.
  ::prctl(PR_SET_TIMERSLACK, 1UL);

  std::printf("%s\n", device.c_str());
  std::fflush(stdout);

  // Wire time: one byte is 10 bits (start, 8 data, stop). The wire is a single line, so the
  // echo of a frame and the radio's answer follow each other on it.
  const auto byteTime =
      baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / baud) : std::chrono::nanoseconds(0);
  const auto turnaround = std::chrono::milliseconds(turnaroundMs);
  Clock::time_point wireFree = Clock::now();
  std::deque<Pending> pending;

  auto schedule = [&](Clock::time_point at, std::vector<uint8_t> bytes) {
    if (bytes.empty()) return;
    // Writes leave in time order; pieces due at the same time go out in one write.
    if (!pending.empty() && pending.back().at >= at) {
      auto& back = pending.back().bytes;
      back.insert(back.end(), bytes.begin(), bytes.end());
      return;
    }
    pending.push_back({at, std::move(bytes)});
  };

  std::vector<uint8_t> buf(4096);
  std::chrono::nanoseconds lateTotal{0}, lateMax{0};
  Clock::time_point lastInput = Clock::now();
  constexpr auto kPartialFrameTimeout = std::chrono::milliseconds(200);
  long writes = 0;
  while (!gStop) {
    const auto now = Clock::now();
    while (!pending.empty() && pending.front().at <= now) {
      const auto late = now - pending.front().at;
      lateTotal += late;
      lateMax = std::max<std::chrono::nanoseconds>(lateMax, late);
      ++writes;
      WriteAll(master, pending.front().bytes);
      pending.pop_front();
    }
    // Wake for the next reply due, or to drop a frame that stopped half-way.
    std::optional<Clock::time_point> wake;
    if (!pending.empty()) wake = pending.front().at;
    if (radio.HasPartial()) {
      const auto giveUp = lastInput + kPartialFrameTimeout;
      if (Clock::now() >= giveUp) {
        radio.DropPartial();
      } else if (!wake || giveUp < *wake) {
        wake = giveUp;
      }
    }
    timespec timeout{};
    timespec* timeoutPtr = nullptr;
    if (wake) {
      const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(*wake - Clock::now());
      const long long ns = std::max<long long>(0, wait.count());
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000LL);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000LL);
      timeoutPtr = &timeout;
    }
    pollfd pfd{master, POLLIN, 0};
    const int r = ::ppoll(&pfd, 1, timeoutPtr, nullptr);
    if (r < 0) {
      if (errno == EINTR) continue;
      std::perror("kvx50-radiosim: poll");
      break;
    }
    if (r == 0 || !(pfd.revents & POLLIN)) {
      if (pfd.revents & (POLLHUP | POLLERR)) {
        // Nobody has the device open besides us: wait a little rather than spin.
        ::usleep(20000);
      }
      continue;
    }
    const ssize_t n = ::read(master, buf.data(), buf.size());
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      ::usleep(20000);
      continue;
    }
    const auto arrived = Clock::now();
    lastInput = arrived;
    if (radio.Pulled()) continue;  // the cable is gone: nothing comes back, nothing arrives
    const size_t count = static_cast<size_t>(n);
    // The bytes cross the wire one after the other; their echo is there when they are. The
    // programmer acts only on the whole reply, so an echo that a reply follows goes out with
    // the reply's first part (one wake-up less per exchange, the same bytes at the same end).
    const auto start = std::max(wireFree, arrived);
    const auto frameEnd = start + byteTime * static_cast<long>(count);
    wireFree = frameEnd;
    std::vector<uint8_t> echo;
    if (radio.Echo()) echo.assign(buf.begin(), buf.begin() + n);
    radio.Feed(buf.data(), count, [&](std::vector<ReplyPart> parts) {
      auto at = wireFree + turnaround;
      bool first = true;
      for (auto& part : parts) {
        if (!first) at += std::chrono::milliseconds(part.gapMs);
        at += byteTime * static_cast<long>(part.bytes.size());
        wireFree = at;
        if (first && !echo.empty()) {
          part.bytes.insert(part.bytes.begin(), echo.begin(), echo.end());
          echo.clear();
        }
        first = false;
        schedule(at, std::move(part.bytes));
      }
    });
    if (!echo.empty()) schedule(frameEnd, std::move(echo));
  }

  if (stats) {
    std::fprintf(stderr, "writes %ld late_total_ms %.3f late_max_ms %.3f faults %ld\n", writes,
                 lateTotal.count() / 1e6, lateMax.count() / 1e6, radio.FaultsInjected());
  }
  if (!savePath.empty()) SaveMemory(savePath, radio.Memory());
  if (!linkPath.empty()) ::unlink(linkPath.c_str());
  if (journal) std::fclose(journal);
  ::close(slave);
  ::close(master);
  return 0;
}

#include "cli/LinkRunner.h"

#include <signal.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <cstdio>
#include <fstream>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/app/Startup.h"
#include "core/util/Text.h"
#include "platform/SerialLink.h"
#include "platform/SystemPorts.h"

namespace kvx::cli {

namespace {

int gCancelPipe[2] = {-1, -1};

void OnInterrupt(int) {
  const char b = 1;
  [[maybe_unused]] ssize_t n = ::write(gCancelPipe[1], &b, 1);
  ::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}

class ProgressBar {
 public:
  ProgressBar() : on_(::isatty(2) == 1) {}
  void Show(const std::string& title) {
    title_ = title;
    shown_ = true;
    Draw(0);
  }
  void Draw(int percent) {
    if (!on_ || !shown_) return;
    constexpr int kWidth = 30;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", title_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, '.').c_str(), percent);
    std::fflush(stderr);
  }
  void Close() {
    if (on_ && shown_) std::fputc('\n', stderr);
    shown_ = false;
  }
  bool Visible() const { return on_ && shown_; }

 private:
  bool on_;
  bool shown_ = false;
  std::string title_;
};

ProgressBar* gBar = nullptr;

}  // namespace

bool ParseLinkArgs(const std::vector<std::string>& args, LinkArgs& out, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (a == "--home") {
      if (!value(out.home)) return false;
    } else if (a == "--port") {
      if (!value(out.port)) return false;
    } else if (a == "--password") {
      std::string p;
      if (!value(p)) return false;
      out.password = p;
    } else if (a == "--retry") {
      std::string n;
      if (!value(n)) return false;
      const auto v = ParseInteger(n);
      if (!v || *v < 0 || *v > 1000) {
        error = "--retry needs a number from 0 to 1000";
        return false;
      }
      out.retry = static_cast<int>(*v);
    } else if (a == "--log-serial") {
      if (!value(out.serialLog)) return false;
    } else {
      out.rest.push_back(a);
    }
  }
  if (out.port.empty()) {
    error = "--port PATH is required";
    return false;
  }
  return true;
}

Answer CliPrompts::Message(std::string_view text, Icon icon, Buttons buttons, std::string_view) {
  // The confirmations before a transfer are answered yes without being shown.
  if (icon == Icon::Question && (buttons == Buttons::OkCancel || buttons == Buttons::YesNo))
    return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  const std::string line = OneLine(text);
  shown_.push_back(line);
  if (gBar && gBar->Visible()) std::fputc('\n', stderr);
  std::fprintf(stderr, "kvx50-cli %s: %s%s%s\n", verb_.c_str(), subject_.c_str(),
               subject_.empty() ? "" : ": ", line.c_str());
  switch (buttons) {
    case Buttons::RetryCancel:
      if (retries_ > 0) {
        --retries_;
        std::fprintf(stderr, "kvx50-cli %s: retrying\n", verb_.c_str());
        return Answer::Retry;
      }
      return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Answer::Yes;
    default:
      return Answer::Ok;
  }
}

std::optional<std::string> CliPrompts::ProgramPassword(std::string_view) {
  std::fprintf(stderr,
               "kvx50-cli %s: %s: the radio's programming password differs; give it with "
               "--password\n",
               verb_.c_str(), subject_.c_str());
  return std::nullopt;
}

bool StartSession(const char* verb, const std::string& home, Workspace& ws, Prompts& prompts) {
  StartupOptions options;
  options.folder.home = home;
  options.folder.env = Environment::FromProcess();
  SystemPorts ports;
  const StartupResult r = Startup(ws, options, prompts, ports);
  if (!r.ok) {
    Fail(verb, r.error.empty() ? "no program folder can be used" : r.error);
    return false;
  }
  return true;
}

LinkResult RunTransfer(Workspace& ws, CliPrompts& prompts, CommMode mode, const LinkArgs& args,
                       RadioIdentity* identity, RadioImage* readImage) {
  ws.app.ComPort = args.port;
  if (args.password) ws.app.ProgramPassWord = *args.password;

  ProgressBar bar;
  gBar = &bar;
  LinkOptions options;
  options.persistPassword = false;  // --password is for this run only
  options.serialLogPath = args.serialLog;
  options.progressShown = [&](const std::string& title) { bar.Show(title); };
  options.progress = [&](int percent) { bar.Draw(percent); };
  options.progressClosed = [&] { bar.Close(); };

  SerialLink link(ws, prompts, options);
  QEventLoop loop;
  QObject::connect(&link, &SerialLink::finished, &loop, &QEventLoop::quit);

  std::unique_ptr<QSocketNotifier> cancelNotifier;
  struct sigaction old {};
  bool handlerSet = false;
  if (gCancelPipe[0] < 0 && ::pipe(gCancelPipe) != 0) gCancelPipe[0] = gCancelPipe[1] = -1;
  if (gCancelPipe[0] >= 0) {
    cancelNotifier = std::make_unique<QSocketNotifier>(gCancelPipe[0], QSocketNotifier::Read);
    QObject::connect(cancelNotifier.get(), &QSocketNotifier::activated, &link, [&] {
      char b;
      [[maybe_unused]] ssize_t n = ::read(gCancelPipe[0], &b, 1);
      std::fprintf(stderr, "\nkvx50-cli: interrupted\n");
      link.cancel();
    });
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    handlerSet = ::sigaction(SIGINT, &sa, &old) == 0;
  }

  link.start(mode);
  if (link.running()) loop.exec();
  if (handlerSet) ::sigaction(SIGINT, &old, nullptr);
  bar.Close();
  gBar = nullptr;
  if (identity && link.machine().HaveIdentity()) *identity = link.machine().Identity();
  if (readImage && link.result() == LinkResult::Succeeded) *readImage = link.machine().ReadImage();
  return link.result();
}

bool WriteBinaryFile(const char* verb, const std::string& path, ConstBytes bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    Fail(verb, path + ": cannot be written");
    return false;
  }
  return true;
}

}  // namespace kvx::cli

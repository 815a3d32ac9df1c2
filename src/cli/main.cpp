#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#ifdef KVX50_HAVE_PRINT
#include <QApplication>
#endif

#include "cli/Verb.h"

namespace kvx::cli {

std::vector<Verb>& Verbs() {
  static std::vector<Verb> verbs;
  return verbs;
}

int Fail(const char* verb, const std::string& message) {
  std::fprintf(stderr, "kvx50-cli %s: %s\n", verb, message.c_str());
  return kExitFailure;
}

int UsageError(const Verb& verb, const std::string& message) {
  std::fprintf(stderr, "kvx50-cli %s: %s\n%s", verb.name, message.c_str(), verb.usage);
  return kExitUsage;
}

}  // namespace kvx::cli

namespace {

void PrintHelp(FILE* to) {
  std::fprintf(to,
               "kvx50-cli - scripted read, write, backup and conversion for KV_X50_WQN7 radios\n\n"
               "Usage: kvx50-cli [--home DIR] VERB [OPTIONS]\n"
               "       kvx50-cli VERB --help\n\n"
               "Verbs:\n");
  auto verbs = kvx::cli::Verbs();
  std::sort(verbs.begin(), verbs.end(),
            [](const auto& a, const auto& b) { return std::strcmp(a.name, b.name) < 0; });
  for (const auto& v : verbs) std::fprintf(to, "  %-12s %s\n", v.name, v.summary);
  std::fprintf(
      to,
      "\nOptions for every verb:\n"
      "  --home DIR   the program folder (language/, Init/, Setting.ini); also KVX50_HOME\n");
}

}  // namespace

int main(int argc, char** argv) {
#ifdef KVX50_HAVE_PRINT
  // print paints pages and loads windows hidden: a GUI application, never on a display.
  bool gui = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--home") == 0) {
      ++i;
    } else if (argv[i][0] != '-') {
      gui = std::strcmp(argv[i], "print") == 0;
      break;
    }
  }
  if (gui) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::unique_ptr<QCoreApplication> app =
      gui ? std::make_unique<QApplication>(argc, argv)
          : std::make_unique<QCoreApplication>(argc, argv);
#else
  QCoreApplication app(argc, argv);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  // --home may stand before the verb; verbs see it too.
  std::vector<std::string> rest;
  std::string verbName;
  for (size_t i = 0; i < args.size(); ++i) {
    if (verbName.empty() && args[i] == "--home" && i + 1 < args.size()) {
      rest.push_back(args[i]);
      rest.push_back(args[++i]);
    } else if (verbName.empty() && (args[i] == "--help" || args[i] == "-h")) {
      PrintHelp(stdout);
      return 0;
    } else if (verbName.empty() && args[i] == "--version") {
      std::printf("kvx50-cli %s\n", KVX50_VERSION);
      return 0;
    } else if (verbName.empty() && !args[i].starts_with("-")) {
      verbName = args[i];
    } else {
      rest.push_back(args[i]);
    }
  }
  if (verbName.empty()) {
    PrintHelp(stderr);
    return kvx::cli::kExitUsage;
  }
  for (const auto& v : kvx::cli::Verbs()) {
    if (verbName == v.name) {
      if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        std::fputs(v.usage, stdout);
        return 0;
      }
      return v.run(rest);
    }
  }
  std::fprintf(stderr, "kvx50-cli: unknown verb \"%s\"\n", verbName.c_str());
  PrintHelp(stderr);
  return kvx::cli::kExitUsage;
}

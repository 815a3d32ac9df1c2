// kvx50-cli epm: the automatic test's production export of a data file, without the window.
#include <cstdio>
#include <memory>

#include "cli/LinkRunner.h"
#include "cli/Verb.h"
#include "core/factory/AutoTest.h"
#include "core/factory/Export.h"
#include "core/util/Text.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli epm FILE.dat -o OUT.EPM [--areas LIST] [--file-password P] [--home DIR]\n\n"
    "Factory mode only (TestData.ini with the factory marker in the program folder).\n"
    "Opens the data file as Open does, encodes it as a write would and writes the production\n"
    "export: the channel table, the map of the image blocks that carry data and the whole\n"
    "16384-byte image, one item per line (CR LF). Nothing is sent to a radio and the data file\n"
    "is not changed.\n\n"
    "  -o OUT.EPM           the export file to write\n"
    "  --areas LIST         the ticked boxes, by number, separated by commas (default 0):\n"
    "                       0 channels, 1 broadcast radio, 2 AM, 3 MSK, 4 radio functions,\n"
    "                       5 group channels, 6 DTMF, 7 2Tone, 8 5Tone, 9 emergency alarm,\n"
    "                       10 communication book, 11 channel scan information\n"
    "  --file-password P    the data file's password, when it has one\n\n"
    "Exit status: 0 exported, 1 failed (not in factory mode, unreadable data file, an\n"
    "encoder failed, or the export file could not be written), 2 usage error.\n";

extern const Verb kVerb;

// "0,4,11" into the twelve flags; false for anything else.
bool ParseAreas(const std::string& list, std::array<bool, kExportAreaCount>& flags) {
  flags.fill(false);
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    auto n = ParseInteger(std::string_view(list).substr(start, comma - start));
    if (!n || *n < 0 || *n >= static_cast<long>(kExportAreaCount)) return false;
    flags[static_cast<size_t>(*n)] = true;
    start = comma + 1;
  }
  return true;
}

int Run(const std::vector<std::string>& argv) {
  std::string file, out, home, filePassword, areas = "0";
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    const bool hasValue = i + 1 < argv.size();
    if ((a == "-o" || a == "--output") && hasValue) {
      out = argv[++i];
    } else if (a == "--areas" && hasValue) {
      areas = argv[++i];
    } else if (a == "--home" && hasValue) {
      home = argv[++i];
    } else if (a == "--file-password" && hasValue) {
      filePassword = argv[++i];
    } else if (!a.starts_with("-") && file.empty()) {
      file = a;
    } else {
      return UsageError(kVerb, "unexpected argument " + a);
    }
  }
  if (file.empty()) return UsageError(kVerb, "FILE.dat is required");
  if (out.empty()) return UsageError(kVerb, "-o OUT.EPM is required");
  std::array<bool, kExportAreaCount> flags{};
  if (!ParseAreas(areas, flags))
    return UsageError(kVerb, "--areas takes box numbers 0 to 11 separated by commas");

  auto ws = std::make_unique<Workspace>();
  CliPrompts prompts("epm", file, 0);
  if (!StartSession("epm", home, *ws, prompts)) return kExitFailure;
  if (!ws->app.FactoryMode)
    return Fail("epm", "the production export works in factory mode only (" +
                           ws->app.ProgramFolder +
                           "/TestData.ini does not hold the factory marker)");

  ws->CurrentFilePassword = filePassword;
  const size_t before = prompts.Shown().size();
  if (!ReadDataFile(*ws, prompts, file)) {
    if (prompts.Shown().size() == before)
      return Fail("epm", file + ": the file password is wrong or missing (--file-password)");
    return kExitFailure;
  }

  ws->autoTest.ExportAreaFlags = flags;
  ws->autoTest.AutoTestActive = true;
  prompts.SetSubject(out);
  const ExportOutcome result = RunAutoTestExport(*ws, out, &prompts);
  ws->autoTest.AutoTestActive = false;
  if (!result.written) return kExitFailure;
  // The window goes on after an encoder's message; the file is written, but a script should
  // know that it does not hold everything.
  if (!result.packOk)
    return Fail("epm", out + ": written, but an encoder failed (see above): the image is partial");
  return kExitOk;
}

const Verb kVerb{"epm", "export a data file for production test (factory mode)", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

// kvx50-cli diff: two data files compared field by field.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/files/DataDiff.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli diff A.dat B.dat [-q] [--file-password P] [--file-password-a P]\n"
    "                      [--file-password-b P] [--home DIR]\n\n"
    "Opens both data files as Open does and prints one line per field that differs, by\n"
    "area, channel number and field name, the value in A.dat first:\n"
    "  Band BandCode: 3 | 48\n"
    "  Channel 12 RxFreq: \"014500000\" | \"014600000\"\n"
    "  Channel 15: present | absent\n"
    "  DtmfSettings Codes[2].Text: \"123\" | \"124\"\n"
    "Channels are matched by number, not by their place in the list; entries of a list are\n"
    "counted from 0. Texts are compared after removing trailing blanks and everything from\n"
    "the first NUL, numbers by value.\n\n"
    "  -q, --brief           print nothing; only the exit status tells\n"
    "  --file-password P     the password of both files, when they have one\n"
    "  --file-password-a P   the password of A.dat (-b: of B.dat)\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 the files hold the same data, 1 they differ, 2 a file could not be read\n"
    "or a usage error.\n";

constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;

extern const Verb kVerb;

int Run(const std::vector<std::string>& argvIn) {
  std::vector<std::string> argv;
  bool brief = false;
  std::optional<std::string> passwordA, passwordB;
  for (size_t i = 0; i < argvIn.size(); ++i) {
    const std::string& a = argvIn[i];
    if (a == "-q" || a == "--brief") {
      brief = true;
    } else if ((a == "--file-password-a" || a == "--file-password-b") && i + 1 < argvIn.size()) {
      (a.back() == 'a' ? passwordA : passwordB) = argvIn[++i];
    } else {
      argv.push_back(a);
    }
  }
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--file-password"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 2) return UsageError(kVerb, "two data files are required");
  if (!passwordA) passwordA = args.filePassword;
  if (!passwordB) passwordB = args.filePassword;

  auto a = std::make_unique<Workspace>();
  FilePrompts prompts("diff", args.positional[0]);
  if (!StartFileSession("diff", args.home, *a, prompts)) return kExitTrouble;
  auto b = std::make_unique<Workspace>(*a);
  if (!OpenDataFile("diff", *a, args.positional[0], passwordA)) return kExitTrouble;
  if (!OpenDataFile("diff", *b, args.positional[1], passwordB)) return kExitTrouble;

  const auto differences = DiffData(WorkingDataOf(*a), WorkingDataOf(*b));
  if (!brief) {
    for (const auto& d : differences) std::printf("%s\n", FormatDifference(d).c_str());
    if (std::fflush(stdout) != 0) {
      Fail("diff", "cannot write to standard output");
      return kExitTrouble;
    }
  }
  return differences.empty() ? kExitOk : kExitDiffer;
}

const Verb kVerb{"diff", "compare two data files field by field", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

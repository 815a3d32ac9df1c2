// kvx50-cli new: the data New prepares for a band, saved as a data file.
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli new --band CODE [--type TEXT] -o OUT.dat [--home DIR]\n\n"
    "Prepares the data that New prepares for the band CODE (the compiled-in defaults, the two\n"
    "default channels and the default data file of the program folder's Init/ for TEXT and\n"
    "CODE) and saves them with an empty file password, with the channel file OUT.fre (and\n"
    "OUT.ted in factory mode).\n\n"
    "  --band CODE   a band code of the band table (3 is 136-174 MHz, 48 is 400-470 MHz, ...)\n"
    "  --type TEXT   the radio type (default KP-510)\n"
    "  -o OUT.dat    the data file to write\n"
    "  --home DIR    the program folder (language/, Init/, Setting.ini); also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--band", "--type", "-o"}, args, error))
    return UsageError(kVerb, error);
  if (!args.positional.empty())
    return UsageError(kVerb, "unexpected argument " + args.positional[0]);
  if (!args.band) return UsageError(kVerb, "--band CODE is required");
  if (args.out.empty()) return UsageError(kVerb, "-o OUT.dat is required");

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("new", args.out);
  if (!StartFileSession("new", args.home, *ws, prompts)) return kExitFailure;
  AdoptTypeAndBand(*ws, args.type, *args.band);
  ResetWorkingData(*ws);
  if (!SaveDataFile("new", *ws, args.out)) return kExitFailure;
  return kExitOk;
}

const Verb kVerb{"new", "write the data New prepares for a band", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

// kvx50-cli csv-export: the channels of a data file as CSV.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/files/ChannelCsv.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli csv-export FILE.dat -o OUT.csv [--file-password P] [--home DIR]\n\n"
    "Opens FILE.dat as Open does and writes its channels as CSV, one line per channel by\n"
    "number (-o - writes to standard output). The first columns are the generic ones other\n"
    "programmers exchange:\n"
    "  Location, Name, Frequency, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode,\n"
    "  DtcsPolarity, Mode, TStep, Skip, Power, Comment\n"
    "then one column per remaining channel field (InUse, Step, TxInhibit, Bandwidth, the\n"
    "tone settings A (decode) and B (encode), ..., PttIdCode), so that csv-import gives the\n"
    "same channels back. Location is the channel number: 1-200 memory channels, 201 PA,\n"
    "202 PB, 203 CALL, 204 VFO. Frequencies are in MHz, texts in UTF-8.\n\n"
    "  -o OUT.csv            the CSV file to write\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--file-password", "-o"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 1) return UsageError(kVerb, "one data file is required");
  if (args.out.empty()) return UsageError(kVerb, "-o OUT.csv is required");
  const std::string& file = args.positional[0];

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("csv-export", file);
  if (!StartFileSession("csv-export", args.home, *ws, prompts)) return kExitFailure;
  if (!OpenDataFile("csv-export", *ws, file, args.filePassword)) return kExitFailure;
  const std::string csv = ExportChannelCsv(ws->channels, ws->app);
  if (args.out == "-") {
    if (std::fwrite(csv.data(), 1, csv.size(), stdout) != csv.size() || std::fflush(stdout) != 0)
      return Fail("csv-export", "cannot write to standard output");
    return kExitOk;
  }
  return WriteOutputFile("csv-export", args.out, csv) ? kExitOk : kExitFailure;
}

const Verb kVerb{"csv-export", "write the channels of a data file as CSV", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

// kvx50-cli csv-import: channels from a CSV file into a data file.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/files/ChannelCsv.h"
#include "core/files/DataFile.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli csv-import FILE.dat IN.csv -o OUT.dat [--replace] [--keep-going]\n"
    "                            [--file-password P] [--home DIR]\n\n"
    "Opens FILE.dat as Open does, takes the channels of IN.csv into it and saves the result\n"
    "as OUT.dat (with an empty file password). IN.csv needs a header line with at least the\n"
    "columns Location and Frequency; it may come from another programmer (generic columns\n"
    "Name, Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, CrossMode,\n"
    "Mode, TStep, Skip, Power) or from csv-export (every channel field). Each row replaces\n"
    "the channel of its Location (1-204) or adds it; columns left empty keep the channel's\n"
    "value.\n\n"
    "Every row is checked against the band of FILE.dat: a frequency outside the band or a\n"
    "value that is not a number refuses the row, a frequency off the channel grid is snapped\n"
    "and a value outside its list replaced. Each refused or corrected row is reported on\n"
    "stderr with its line number.\n\n"
    "  -o OUT.dat            the data file to write (may be FILE.dat itself)\n"
    "  --replace             remove the channels 1-202 that IN.csv does not give (CALL and\n"
    "                        VFO always stay)\n"
    "  --keep-going          write OUT.dat even when rows were refused\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed or rows refused without --keep-going (nothing is\n"
    "written then), 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argvIn) {
  std::vector<std::string> argv;
  CsvImportOptions options;
  bool keepGoing = false;
  for (const auto& a : argvIn) {
    if (a == "--replace")
      options.replace = true;
    else if (a == "--keep-going")
      keepGoing = true;
    else
      argv.push_back(a);
  }
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--file-password", "-o"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 2) return UsageError(kVerb, "FILE.dat and IN.csv are required");
  if (args.out.empty()) return UsageError(kVerb, "-o OUT.dat is required");
  const std::string& file = args.positional[0];
  const std::string& csvPath = args.positional[1];

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("csv-import", file);
  if (!StartFileSession("csv-import", args.home, *ws, prompts)) return kExitFailure;
  if (!OpenDataFile("csv-import", *ws, file, args.filePassword)) return kExitFailure;
  const auto csv = ReadFileBytes(csvPath);
  if (!csv) return Fail("csv-import", csvPath + ": the file cannot be read");

  auto result =
      std::make_unique<CsvImportResult>(ImportChannelCsv(*csv, ws->channels, ws->app, options));
  if (!result->ok) return Fail("csv-import", csvPath + ": " + result->error);
  for (const auto& note : result->notes)
    std::fprintf(stderr, "kvx50-cli csv-import: %s: %s\n", csvPath.c_str(),
                 FormatCsvNote(note).c_str());
  std::fprintf(stderr, "kvx50-cli csv-import: %s: %d rows imported (%d corrected), %d refused\n",
               csvPath.c_str(), result->imported, result->corrected, result->refused);
  if (result->refused > 0 && !keepGoing)
    return Fail("csv-import", "nothing written: rows were refused (--keep-going writes the rest)");

  ws->channels = result->channels;
  if (!SaveDataFile("csv-import", *ws, args.out)) return kExitFailure;
  return kExitOk;
}

const Verb kVerb{"csv-import", "take channels from a CSV file into a data file", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

// kvx50-cli verify: a radio read and compared with a data file, field by field.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/LinkRunner.h"
#include "cli/Verb.h"
#include "core/files/Backups.h"
#include "core/files/DataDiff.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli verify --port PATH FILE.dat [-q] [--file-password P] [--password P]\n"
    "                        [--retry N] [--log-serial FILE] [--home DIR]\n\n"
    "Reads the whole memory of the radio on PATH and compares it with what writing FILE.dat\n"
    "would leave there: one line per field that differs, by area, channel number and field\n"
    "name, the file's value first (see kvx50-cli diff --help for the form). Fields the radio\n"
    "does not hold (spare fields, list numbering, ...) are left out. The read is kept in\n"
    "backups/ like every read.\n\n"
    "  -q, --brief           print nothing; only the exit status tells\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --password P          the radio's programming password, for this run only\n"
    "  --retry N            answer Retry to the recovery question up to N times (default 0)\n"
    "  --log-serial FILE     every byte sent and received, with time stamps\n\n"
    "Exit status: 0 the radio holds the file's data, 1 it differs, 2 the file or the radio\n"
    "could not be read, or a usage error.\n";

constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  LinkArgs args;
  std::string error;
  if (!ParseLinkArgs(argv, args, error)) return UsageError(kVerb, error);
  std::string file;
  std::optional<std::string> filePassword;
  bool brief = false;
  for (size_t i = 0; i < args.rest.size(); ++i) {
    const std::string& a = args.rest[i];
    if (a == "--file-password" && i + 1 < args.rest.size()) {
      filePassword = args.rest[++i];
    } else if (a == "-q" || a == "--brief") {
      brief = true;
    } else if (!a.starts_with("-") && file.empty()) {
      file = a;
    } else {
      return UsageError(kVerb, "unexpected argument " + a);
    }
  }
  if (file.empty()) return UsageError(kVerb, "FILE.dat is required");

  auto fileData = std::make_unique<Workspace>();
  CliPrompts prompts("verify", args.port, args.retry);
  if (!StartSession("verify", args.home, *fileData, prompts)) return kExitTrouble;
  auto radio = std::make_unique<Workspace>(*fileData);
  if (!OpenDataFile("verify", *fileData, file, filePassword)) return kExitTrouble;

  auto raw = std::make_unique<RadioImage>();
  if (RunTransfer(*radio, prompts, CommMode::Read, args, nullptr, raw.get()) !=
      LinkResult::Succeeded)
    return kExitTrouble;
  if (const auto backup = BackupAfterRead(*radio, *raw); !backup.ok)
    Fail("verify", BackupNote(backup));

  std::vector<FieldDifference> differences;
  prompts.SetSubject(file);
  if (!VerifyRadio(fileData->settings, fileData->channels, fileData->app, *raw, radio->app,
                   differences, &prompts))
    return kExitTrouble;  // the encoder's message is on stderr
  if (!brief) {
    for (const auto& d : differences) std::printf("%s\n", FormatDifference(d).c_str());
    std::fflush(stdout);
  }
  return differences.empty() ? kExitOk : kExitDiffer;
}

const Verb kVerb{"verify", "compare a radio with a data file field by field", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

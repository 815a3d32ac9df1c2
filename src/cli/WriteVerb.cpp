// kvx50-cli write: a data file written to a radio.
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/LinkRunner.h"
#include "cli/Verb.h"
#include "core/files/Backups.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli write --port PATH [--password P] [--retry N] [--file-password P]\n"
    "                       [--image-out IMAGE.bin] [--log-serial FILE] [--home DIR] FILE.dat\n\n"
    "Opens the data file as Open does, encodes it and writes it to the radio on PATH. The\n"
    "radio's information area (0x0000-0x00FF) and calibration block are never written.\n\n"
    "  --file-password P    the data file's password, when it has one\n"
    "  --password P         the radio's programming password, for this run only\n"
    "  --retry N            answer Retry to the recovery question up to N times (default 0)\n"
    "  --image-out FILE     also write the 16384-byte image that was encoded and sent\n"
    "  --log-serial FILE    every byte sent and received, with time stamps\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  LinkArgs args;
  std::string error;
  if (!ParseLinkArgs(argv, args, error)) return UsageError(kVerb, error);
  std::string file, imageOut;
  std::optional<std::string> filePassword;
  for (size_t i = 0; i < args.rest.size(); ++i) {
    const std::string& a = args.rest[i];
    if ((a == "--file-password" || a == "--image-out") && i + 1 < args.rest.size()) {
      if (a == "--image-out")
        imageOut = args.rest[++i];
      else
        filePassword = args.rest[++i];
    } else if (!a.starts_with("-") && file.empty()) {
      file = a;
    } else {
      return UsageError(kVerb, "unexpected argument " + a);
    }
  }
  if (file.empty()) return UsageError(kVerb, "FILE.dat is required");

  auto ws = std::make_unique<Workspace>();
  CliPrompts prompts("write", args.port, args.retry);
  if (!StartSession("write", args.home, *ws, prompts)) return kExitFailure;
  if (!OpenDataFile("write", *ws, file, filePassword)) return kExitFailure;
  if (const auto backup = BackupBeforeWrite(*ws); !backup.ok) Fail("write", BackupNote(backup));
  if (RunTransfer(*ws, prompts, CommMode::Write, args) != LinkResult::Succeeded)
    return kExitFailure;
  if (!imageOut.empty() && !WriteBinaryFile("write", imageOut, ws->image.Span()))
    return kExitFailure;
  return kExitOk;
}

const Verb kVerb{"write", "write a data file to a radio", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

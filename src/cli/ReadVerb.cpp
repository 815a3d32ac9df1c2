// kvx50-cli read: a full read from a radio into a data file (and the raw image on request).
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/LinkRunner.h"
#include "cli/Verb.h"
#include "core/files/Backups.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli read --port PATH -o OUT.dat [--image-out IMAGE.bin] [--password P]\n"
    "                      [--retry N] [--log-serial FILE] [--home DIR]\n\n"
    "Reads the whole memory of the radio on PATH (a device such as /dev/ttyUSB0, or the\n"
    "pseudo-terminal of kvx50-radiosim) and saves the decoded data as a data file with its\n"
    "channel file.\n\n"
    "  -o OUT.dat           the data file to write (with an empty file password)\n"
    "  --image-out FILE     also write the 16384 bytes as read (the calibration block keeps\n"
    "                       0xFF: its values go to the test data)\n"
    "  --password P         the radio's programming password, for this run only\n"
    "  --retry N            answer Retry to the recovery question up to N times (default 0)\n"
    "  --log-serial FILE    every byte sent and received, with time stamps\n\n"
    "Exit status: 0 read and saved, 1 failed (nothing is written), 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  LinkArgs args;
  std::string error;
  if (!ParseLinkArgs(argv, args, error)) return UsageError(kVerb, error);
  std::string out, imageOut;
  for (size_t i = 0; i < args.rest.size(); ++i) {
    const std::string& a = args.rest[i];
    if ((a == "-o" || a == "--output" || a == "--image-out") && i + 1 < args.rest.size()) {
      (a == "--image-out" ? imageOut : out) = args.rest[++i];
    } else {
      return UsageError(kVerb, "unexpected argument " + a);
    }
  }
  if (out.empty()) return UsageError(kVerb, "-o OUT.dat is required");

  auto ws = std::make_unique<Workspace>();
  CliPrompts prompts("read", args.port, args.retry);
  if (!StartSession("read", args.home, *ws, prompts)) return kExitFailure;
  auto raw = std::make_unique<RadioImage>();
  if (RunTransfer(*ws, prompts, CommMode::Read, args, nullptr, raw.get()) != LinkResult::Succeeded)
    return kExitFailure;
  if (const auto backup = BackupAfterRead(*ws, *raw); !backup.ok) Fail("read", BackupNote(backup));

  if (!imageOut.empty() && !WriteBinaryFile("read", imageOut, raw->Span())) return kExitFailure;
  if (!SaveDataFile("read", *ws, out)) return kExitFailure;
  return kExitOk;
}

const Verb kVerb{"read", "read a radio into a data file", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

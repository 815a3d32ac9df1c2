// kvx50-cli decode: a 16384-byte radio image decoded into a data file, as a completed read
// decodes it.
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "core/files/DataFile.h"
#include "core/image/PackAll.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli decode IMAGE.bin --band CODE [--type TEXT] [--base BASE.dat]\n"
    "                        -o OUT.dat [--file-password P] [--home DIR]\n\n"
    "Decodes a radio image (exactly 16384 bytes) into a data file. It starts from the data\n"
    "start-up prepares, or from BASE.dat opened as Open does, takes the radio type and band as a\n"
    "completed read does, decodes every area and saves the result with an empty file password,\n"
    "with the channel file OUT.fre (and OUT.ted in factory mode).\n\n"
    "  --band CODE           the band the radio reports (3 is 136-174 MHz, 48 is 400-470 MHz)\n"
    "  --type TEXT           the radio type the radio reports (default KP-510)\n"
    "  --base BASE.dat       start from this data file instead of the start-up data\n"
    "  --file-password P     the password of BASE.dat, when it has one\n"
    "  -o OUT.dat            the data file to write\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--band", "--type", "--base", "--file-password", "-o"}, args, error))
    return UsageError(kVerb, error);
  if (args.positional.size() != 1) return UsageError(kVerb, "one image file is required");
  if (!args.band) return UsageError(kVerb, "--band CODE is required");
  if (args.out.empty()) return UsageError(kVerb, "-o OUT.dat is required");
  const std::string& imagePath = args.positional[0];

  const auto bytes = ReadFileBytes(imagePath);
  if (!bytes) return Fail("decode", imagePath + ": the file cannot be read");
  if (bytes->size() != kImageSize) {
    return Fail("decode", imagePath + ": not a radio image (" + std::to_string(bytes->size()) +
                              " bytes, 16384 expected)");
  }

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("decode", imagePath);
  if (!StartFileSession("decode", args.home, *ws, prompts)) return kExitFailure;
  if (!args.base.empty() && !OpenDataFile("decode", *ws, args.base, args.filePassword))
    return kExitFailure;

  AdoptTypeAndBand(*ws, args.type.value_or("KP-510"), *args.band);
  std::copy(bytes->begin(), bytes->end(), ws->image.bytes.begin());
  UnpackAll(*ws, &prompts);
  ws->Untitled = true;
  CopyWorkingToSaved(*ws);
  if (!SaveDataFile("decode", *ws, args.out)) return kExitFailure;
  return kExitOk;
}

const Verb kVerb{"decode", "decode a radio image into a data file", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

// kvx50-cli encode: a data file encoded into the 16384-byte radio image, as a write sends it.
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli encode FILE.dat -o IMAGE.bin [--file-password P] [--home DIR]\n\n"
    "Opens FILE.dat as Open does, prepares the radio image from its template, encodes every\n"
    "area into it and writes the 16384 bytes (addresses 0x0000-0x3FFF; 0x0000-0x000F are 0).\n"
    "When an encoder fails, its message is printed and no image is written.\n\n"
    "  -o IMAGE.bin          the image file to write\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

int Run(const std::vector<std::string>& argv) {
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(argv, {"--file-password", "-o"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 1) return UsageError(kVerb, "one data file is required");
  if (args.out.empty()) return UsageError(kVerb, "-o IMAGE.bin is required");
  const std::string& file = args.positional[0];

  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("encode", file);
  if (!StartFileSession("encode", args.home, *ws, prompts)) return kExitFailure;
  if (!OpenDataFile("encode", *ws, file, args.filePassword)) return kExitFailure;

  ws->image = RadioImage{};
  ClearImage(ws->image);
  if (!PackAll(*ws, &prompts)) return kExitFailure;  // the encoder's message is on stderr
  const auto bytes = ws->image.Span();
  return WriteOutputFile(
             "encode", args.out,
             std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
             ? kExitOk
             : kExitFailure;
}

const Verb kVerb{"encode", "encode a data file into a radio image", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

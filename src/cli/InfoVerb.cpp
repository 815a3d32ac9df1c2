// kvx50-cli info: the radio's embedded information, as "Label: value" lines or JSON.
#include <cstdio>
#include <memory>

#include "cli/LinkRunner.h"
#include "cli/Verb.h"
#include "core/app/BandTable.h"
#include "core/image/RadioInfo.h"
#include "core/util/Text.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli info --port PATH [--password P] [--json] [--log-serial FILE]\n"
    "                      [--home DIR]\n\n"
    "Reads the radio's information area (the first 256 bytes) and prints it, one\n"
    "\"Label: value\" line per field, or as one JSON object with --json.\n\n"
    "  --password P         the radio's programming password, for this run only\n"
    "  --log-serial FILE    every byte sent and received, with time stamps\n\n"
    "Exit status: 0 printed, 1 failed, 2 usage error.\n";

extern const Verb kVerb;

std::string Json(std::string_view utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

int Run(const std::vector<std::string>& argv) {
  LinkArgs args;
  std::string error;
  if (!ParseLinkArgs(argv, args, error)) return UsageError(kVerb, error);
  bool json = false;
  for (const auto& a : args.rest) {
    if (a == "--json")
      json = true;
    else
      return UsageError(kVerb, "unexpected argument " + a);
  }

  auto ws = std::make_unique<Workspace>();
  CliPrompts prompts("info", args.port, args.retry);
  if (!StartSession("info", args.home, *ws, prompts)) return kExitFailure;
  RadioIdentity id;
  if (RunTransfer(*ws, prompts, CommMode::InfoRead, args, &id) != LinkResult::Succeeded)
    return kExitFailure;

  const RadioInfo& info = ws->radioInfo;
  // The window's fields in its order, with its English labels. Record texts are single bytes
  // shown as Latin-1.
  const struct {
    const char* label;
    const char* key;
    std::string value;
  } rows[] = {
      {"Area Code", "AreaCode", Latin1ToUtf8(info.AreaCode)},
      {"Radio Type", "RadioType", DisplayModelName(info.RadioTypeText, id.bandCode)},
      {"Frequency", "Frequency", BandTextOfCode(id.bandCode)},
      {"Serial Number", "SerialNumber", Latin1ToUtf8(info.SerialNumber)},
      {"Producted Date", "ProductionDate", Latin1ToUtf8(info.ProductionDate)},
      {"Maintained Date", "MaintenanceDate", Latin1ToUtf8(info.MaintenanceDate)},
      {"Maintained Description", "MaintenanceDescription",
       Latin1ToUtf8(info.MaintenanceDescription)},
      {"Version", "Version", info.VersionText},
      {"Manufacture Code", "ManufactureCode", Latin1ToUtf8(info.ManufactureCode)},
      {"User Code", "UserCode", Latin1ToUtf8(info.UserCode)},
      {"Dealer Code", "DealerCode", Latin1ToUtf8(info.DealerCode)},
      {"Stock Date", "StockDate", Latin1ToUtf8(info.StockDate)},
      {"Sell Date", "SellDate", Latin1ToUtf8(info.SellDate)},
      {"Seller", "Seller", Latin1ToUtf8(info.Seller)},
  };
  if (json) {
    std::printf("{\n  \"BandCode\": %d", id.bandCode);
    for (const auto& r : rows) std::printf(",\n  \"%s\": %s", r.key, Json(r.value).c_str());
    std::printf("\n}\n");
  } else {
    for (const auto& r : rows) std::printf("%s: %s\n", r.label, r.value.c_str());
  }
  return kExitOk;
}

const Verb kVerb{"info", "show a radio's embedded information", kUsage, Run};
VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

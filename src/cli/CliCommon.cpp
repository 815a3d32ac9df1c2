#include "cli/CliCommon.h"

#include <algorithm>
#include <cstdio>

#include "cli/Verb.h"
#include "core/app/BandTable.h"
#include "core/app/Startup.h"
#include "core/files/DataFile.h"
#include "core/util/Text.h"
#include "platform/SystemPorts.h"

namespace kvx::cli {

std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    out.push_back(c == '\n' ? ' ' : c);
  }
  return out;
}

namespace {

bool KnownBandCode(long code) {
  const auto table = BandTable();
  return std::any_of(table.begin(), table.end(), [&](const BandRow& r) { return r.code == code; });
}

}  // namespace

Answer FilePrompts::Message(std::string_view text, Icon, Buttons buttons, std::string_view) {
  const std::string line = OneLine(text);
  shown_.push_back(line);
  std::fprintf(stderr, "kvx50-cli %s: %s%s%s\n", verb_.c_str(), subject_.c_str(),
               subject_.empty() ? "" : ": ", line.c_str());
  switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Answer::Yes;
    case Buttons::RetryCancel:
      return Answer::Cancel;
    default:
      return Answer::Ok;
  }
}

std::optional<std::string> FilePrompts::FilePassword(std::string_view, std::string_view) {
  passwordAsked_ = true;
  auto answer = std::move(password_);
  password_.reset();
  return answer;
}

bool ParseFileArgs(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                   FileArgs& out, std::string& error) {
  auto takes = [&](const std::string& option) {
    return std::find(allowed.begin(), allowed.end(), option) != allowed.end();
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (a == "--output") a = "-o";
    const bool isOption = a.size() > 1 && a[0] == '-';
    if (!isOption) {
      out.positional.push_back(a);
      continue;
    }
    if (a != "--home" && !takes(a)) {
      error = "unknown option " + args[i];
      return false;
    }
    if (i + 1 >= args.size()) {
      error = args[i] + " needs a value";
      return false;
    }
    const std::string& v = args[++i];
    if (a == "--home") {
      out.home = v;
    } else if (a == "--file-password") {
      out.filePassword = v;
    } else if (a == "-o") {
      out.out = v;
    } else if (a == "--type") {
      if (CleanText(v).empty()) {
        error = "--type needs a radio type";
        return false;
      }
      out.type = v;
    } else if (a == "--base") {
      out.base = v;
    } else if (a == "--band") {
      const auto code = ParseInteger(v);
      if (!code || !KnownBandCode(*code)) {
        error =
            "--band needs a band code of the band table (for example 3 or 48), not \"" + v + "\"";
        return false;
      }
      out.band = static_cast<int>(*code);
    }
  }
  return true;
}

bool StartFileSession(const char* verb, const std::string& home, Workspace& ws, Prompts& prompts) {
  StartupOptions options;
  options.folder.home = home;
  options.folder.env = Environment::FromProcess();
  SystemPorts ports;
  const StartupResult r = Startup(ws, options, prompts, ports);
  if (!r.ok) {
    Fail(verb, r.error.empty() ? "no program folder can be used" : r.error);
    return false;
  }
  return true;
}

bool OpenDataFile(const char* verb, Workspace& ws, const std::string& path,
                  const std::optional<std::string>& filePassword) {
  FilePrompts prompts(verb, path);
  ws.CurrentFilePassword = CleanText(filePassword.value_or(""));
  if (ReadDataFile(ws, prompts, path)) return true;
  if (prompts.PasswordAsked()) {
    Fail(verb, path + ": the file is protected by a password; give it with --file-password P" +
                   (filePassword ? " (the one given is wrong)" : ""));
  }
  return false;  // the reader's own message (file error) is already on stderr
}

bool SaveDataFile(const char* verb, Workspace& ws, const std::string& path) {
  FilePrompts prompts(verb, path);
  ws.CurrentFileName = path;
  ws.CurrentFilePassword.clear();
  return WriteDataFile(ws, prompts);
}

void AdoptTypeAndBand(Workspace& ws, const std::optional<std::string>& type, int bandCode) {
  if (type) ws.app.RadioType = *type;
  ws.app.BandCode = static_cast<int16_t>(bandCode);
  ws.app.BandText = BandTextOfCode(bandCode);
  ParseBandLimits(ws.app);
}

bool WriteOutputFile(const char* verb, const std::string& path, std::string_view bytes) {
  if (WriteFileAtomically(path, bytes)) return true;
  Fail(verb, path + ": the file cannot be written");
  return false;
}

}  // namespace kvx::cli

#pragma once
// What the transfer verbs (read, write, info) share: their common options, the session they
// start from (the program folder's start-up), the answers the CLI gives to the link's
// questions, a progress bar on a terminal, and running one link.
#include <optional>
#include <string>
#include <vector>

#include "core/files/Workspace.h"
#include "core/link/LinkMachine.h"
#include "core/util/Prompts.h"

namespace kvx::cli {

struct LinkArgs {
  std::string home;                     // --home DIR
  std::string port;                     // --port PATH
  std::optional<std::string> password;  // --password P: this run only
  int retry = 0;                        // --retry N: Retry answers to the recovery question
  std::string serialLog;                // --log-serial FILE
  std::vector<std::string> rest;        // what the verb itself parses
};

// Takes the common options out of `args`. On a usage error returns false with `error` set.
bool ParseLinkArgs(const std::vector<std::string>& args, LinkArgs& out, std::string& error);

// The CLI's answers: confirmations yes, the recovery question Retry while --retry allows it,
// then Cancel; no password dialog (the password is an option). Every message goes to stderr
// as one line "kvx50-cli VERB: PORT: text".
class CliPrompts : public NoDialogPrompts {
 public:
  CliPrompts(std::string verb, std::string subject, int retries)
      : verb_(std::move(verb)), subject_(std::move(subject)), retries_(retries) {}

  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override;
  // File dialogs are cancelled; files are read with --file-password preset, so a wrong one is
  // not asked again.
  std::optional<std::string> ProgramPassword(std::string_view current) override;

  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  // Messages shown so far (for the exit line).
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  std::string verb_;
  std::string subject_;
  int retries_;
  std::vector<std::string> shown_;
};

// Runs the start-up of the program folder into `ws` (--home, KVX50_HOME, ...). False with a
// message on stderr when no program folder can be used.
bool StartSession(const char* verb, const std::string& home, Workspace& ws, Prompts& prompts);

// One link on args.port: progress bar on stderr when it is a terminal, Ctrl-C cancels.
// `identity` gets what the radio reported (when it answered), `readImage` the image of a
// successful read as it was read (before decoding).
LinkResult RunTransfer(Workspace& ws, CliPrompts& prompts, CommMode mode, const LinkArgs& args,
                       RadioIdentity* identity = nullptr, RadioImage* readImage = nullptr);

// Writes `bytes` to `path`; false with the reason on stderr.
bool WriteBinaryFile(const char* verb, const std::string& path, ConstBytes bytes);

}  // namespace kvx::cli

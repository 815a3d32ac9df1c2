#pragma once
// What the file verbs (new, dump, encode, decode) share: the --home and --file-password
// options, the start-up of the program folder, the CLI's answers to the questions of the file
// operations, and opening and saving data files.
#include <optional>
#include <string>
#include <vector>

#include "core/files/Workspace.h"
#include "core/util/Prompts.h"

namespace kvx::cli {

// The answers of a file verb: questions are answered yes/OK, the file password dialog gets the
// --file-password value once (a wrong one is not asked again), file dialogs are cancelled.
// Every message goes to stderr as one line "kvx50-cli VERB: SUBJECT: text".
class FilePrompts : public NoDialogPrompts {
 public:
  FilePrompts(std::string verb, std::string subject)
      : verb_(std::move(verb)), subject_(std::move(subject)) {}

  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override;
  std::optional<std::string> FilePassword(std::string_view caption,
                                          std::string_view current) override;

  void SetSubject(std::string subject) { subject_ = std::move(subject); }
  // The answer for the next file password dialog.
  void SetFilePassword(std::optional<std::string> password) { password_ = std::move(password); }
  bool PasswordAsked() const { return passwordAsked_; }
  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  std::string verb_;
  std::string subject_;
  std::optional<std::string> password_;
  bool passwordAsked_ = false;
  std::vector<std::string> shown_;
};

// Options common to the file verbs, taken out of the arguments; the rest stays in `rest`.
struct FileArgs {
  std::string home;                         // --home DIR
  std::optional<std::string> filePassword;  // --file-password P
  std::string out;                          // -o / --output FILE
  std::optional<int> band;                  // --band CODE
  std::optional<std::string> type;          // --type TEXT
  std::string base;                         // --base FILE
  std::vector<std::string> positional;
};

// A message as one line of a log: the CR LF of the two-line texts becomes a space.
std::string OneLine(std::string_view text);

// `allowed` lists the options the verb takes besides --home ("--file-password", "-o", ...).
// False with `error` set on a usage error.
bool ParseFileArgs(const std::vector<std::string>& args, const std::vector<std::string>& allowed,
                   FileArgs& out, std::string& error);

// The start-up of the program folder into `ws`; false with a line on stderr when no program
// folder can be used.
bool StartFileSession(const char* verb, const std::string& home, Workspace& ws, Prompts& prompts);

// Opens `path` as Open does, with `filePassword` as the password entered. False with one line on
// stderr naming the file.
bool OpenDataFile(const char* verb, Workspace& ws, const std::string& path,
                  const std::optional<std::string>& filePassword);

// Saves the working data as `path` with an empty file password (with its channel file and, in
// factory mode, its test-data file). False with one line on stderr naming the file.
bool SaveDataFile(const char* verb, Workspace& ws, const std::string& path);

// The radio type and band a verb works for, adopted as a completed read adopts them.
void AdoptTypeAndBand(Workspace& ws, const std::optional<std::string>& type, int bandCode);

// Writes `bytes` whole to `path` (temporary file and rename); false with a line on stderr.
bool WriteOutputFile(const char* verb, const std::string& path, std::string_view bytes);

}  // namespace kvx::cli

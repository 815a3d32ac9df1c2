#pragma once
// Every question and message the system shows goes through this interface: the GUI answers
// with Qt dialogs, the CLI from its options, tests from a script. Core code never blocks on a
// user in any other way.
#include <optional>
#include <string>
#include <string_view>

namespace kvx {

enum class Icon { None, Information, Warning, Question, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A message box. Texts are UTF-8. An empty title means the program's own caption.
  virtual Answer Message(std::string_view text, Icon icon, Buttons buttons,
                         std::string_view title = {}) = 0;

  // File dialogs. `filter` is the data-file filter as the system writes it
  // ("Data File (*.dat)|*.dat"). nullopt when the user cancels.
  virtual std::optional<std::string> OpenFileName(std::string_view title, std::string_view filter,
                                                  std::string_view initial) = 0;
  virtual std::optional<std::string> SaveFileName(std::string_view title, std::string_view filter,
                                                  std::string_view initial) = 0;

  // The file password dialog: pre-filled with `current`; nullopt on Cancel.
  virtual std::optional<std::string> FilePassword(std::string_view caption,
                                                  std::string_view current) = 0;

  // The programming password dialog of the link: nullopt on Cancel.
  virtual std::optional<std::string> ProgramPassword(std::string_view current) = 0;
};

// For code that runs with no user at hand (the CLI, the link machine, printing, tools): every
// file dialog and password dialog is cancelled. Messages are left to the subclass to answer.
class NoDialogPrompts : public Prompts {
 public:
  std::optional<std::string> OpenFileName(std::string_view, std::string_view,
                                          std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileName(std::string_view, std::string_view,
                                          std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> FilePassword(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ProgramPassword(std::string_view) override { return std::nullopt; }
};

}  // namespace kvx

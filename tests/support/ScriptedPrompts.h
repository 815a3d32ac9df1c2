#pragma once
// Prompts answered from a script, recording every message shown.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/util/Prompts.h"

namespace kvx::test {

class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    std::string text;
    Icon icon;
    Buttons buttons;
    std::string title;
  };

  // Answers for Message(), used in order; when none is left, the first button (Ok/Yes/Retry)
  // is pressed.
  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> openNames, saveNames, filePasswords, programPasswords;
  std::vector<Shown> shown;
  std::vector<std::string> passwordCaptions;

  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override;
  std::optional<std::string> OpenFileName(std::string_view, std::string_view,
                                          std::string_view) override;
  std::optional<std::string> SaveFileName(std::string_view, std::string_view,
                                          std::string_view initial) override;
  std::optional<std::string> FilePassword(std::string_view caption,
                                          std::string_view current) override;
  std::optional<std::string> ProgramPassword(std::string_view current) override;

  bool Saw(std::string_view text) const;
};

}  // namespace kvx::test

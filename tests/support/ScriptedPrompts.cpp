#include "support/ScriptedPrompts.h"

namespace kvx::test {

namespace {
template <class Q>
std::optional<std::string> Take(Q& q, std::optional<std::string> fallback) {
  if (q.empty()) return fallback;
  auto v = q.front();
  q.pop_front();
  return v;
}
}  // namespace

Answer ScriptedPrompts::Message(std::string_view text, Icon icon, Buttons buttons,
                                std::string_view title) {
  shown.push_back({std::string(text), icon, buttons, std::string(title)});
  if (!answers.empty()) {
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Answer::Yes;
    case Buttons::RetryCancel:
      return Answer::Retry;
    default:
      return Answer::Ok;
  }
}

std::optional<std::string> ScriptedPrompts::OpenFileName(std::string_view, std::string_view,
                                                         std::string_view) {
  return Take(openNames, std::nullopt);
}

std::optional<std::string> ScriptedPrompts::SaveFileName(std::string_view, std::string_view,
                                                         std::string_view initial) {
  return Take(saveNames, std::string(initial));
}

std::optional<std::string> ScriptedPrompts::FilePassword(std::string_view caption,
                                                         std::string_view current) {
  passwordCaptions.emplace_back(caption);
  return Take(filePasswords, std::string(current));
}

std::optional<std::string> ScriptedPrompts::ProgramPassword(std::string_view current) {
  return Take(programPasswords, std::nullopt);
  (void)current;
}

bool ScriptedPrompts::Saw(std::string_view text) const {
  for (const auto& s : shown)
    if (s.text.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace kvx::test

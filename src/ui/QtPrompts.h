#pragma once
// The GUI's answers to every question the system asks: message boxes, file dialogs and the
// two password dialogs, each modal on `parent` and in the current language.
#include <QPointer>
#include <QWidget>

#include "core/util/Prompts.h"
#include "ui/FormHelpers.h"

namespace kvx {

class LanguageTable;

class QtPrompts : public Prompts {
 public:
  QtPrompts(const LanguageTable& lang, QWidget* parent) : lang_(lang), parent_(parent) {}

  Answer Message(std::string_view text, Icon icon, Buttons buttons,
                 std::string_view title = {}) override;
  std::optional<std::string> OpenFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override;
  std::optional<std::string> SaveFileName(std::string_view title, std::string_view filter,
                                          std::string_view initial) override;
  std::optional<std::string> FilePassword(std::string_view caption,
                                          std::string_view current) override;
  std::optional<std::string> ProgramPassword(std::string_view current) override;

  void SetParent(QWidget* parent) { parent_ = parent; }
  // Lets a test take over the password dialogs (the message boxes and file dialogs are
  // replaced as a whole by a scripted Prompts instead).
  DialogRunner runner;

 private:
  const LanguageTable& lang_;
  QPointer<QWidget> parent_;
};

// "Data File (*.dat)|*.dat" as the system writes filters, in Qt's form "Data File (*.dat)".
QString QtFileFilter(std::string_view filter);

}  // namespace kvx

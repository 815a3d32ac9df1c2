#pragma once
// Pieces every window shares: the language font, the OK/Cancel and Close/Help captions, the
// text-box key filter, Enter moving the focus on, the text-box menu suppression, right-aligned
// labels and the modal run that tests can take over.
#include <QChar>
#include <QDialog>
#include <functional>

class QAbstractButton;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kvx {

class LanguageTable;

// The window font from language texts 20 (name) and 21 (whole points), given to the window
// and so to every control in it. A name that is not installed, or an empty one, keeps the
// designed family; Chinese then falls back to a CJK family so that its texts never show as
// boxes. A size that is not a positive number keeps the designed size.
void ApplyLanguageToForm(QWidget* form, const LanguageTable& lang);

// Captions of the buttons named "CommandOK" / "CommandCancel" (texts 101 and 102) and
// "CommandClose" / "CommandHelp" (the built-in CloseCaption and HelpCaption).
void LocalizeOkCancel(QWidget* dialog, const LanguageTable& lang);
void LocalizeCloseHelp(QWidget* dialog, const LanguageTable& lang);

// A right-click in a hooked text box opens no menu; everything else behaves as before.
void SuppressTextMenu(QWidget* textBox);
void RestoreTextMenu(QWidget* textBox);

// The key rules of a dialog text box: Ctrl+C, Ctrl+V and Ctrl+X (and the other copy, cut and
// paste keys) are ignored, characters above 127 are refused, Enter moves the focus to the
// next control, the whole text is selected when the box gets the focus. `accept` sees every
// printable character (32-127) and returns the character to insert, or a null QChar to
// refuse it (null `accept`: every such character is taken). With `advanceAfterChar` each
// accepted character moves the focus on (the one-character name boxes).
struct TextBoxRules {
  std::function<QChar(QChar)> accept;
  bool advanceAfterChar = false;
};
void InstallTextBoxFilter(QLineEdit* box, TextBoxRules rules = {});
// Ready-made rules.
TextBoxRules DigitsAndPoint();  // frequency boxes
TextBoxRules DigitsOnly();

// Enter in a list or check box moves the focus to the next control (text boxes get it from
// InstallTextBoxFilter). Installs on every QComboBox and QCheckBox inside `dialog`.
void InstallEnterMovesFocus(QWidget* dialog);
// Moves the focus from `from` to the next control in the window's tab order.
void FocusNextControl(QWidget* from);

// A label with this objectName, aligned right against its control.
QLabel* RightLabel(const char* objectName, QWidget* parent = nullptr);

// The OK and Cancel buttons ("CommandOK", "CommandCancel") in a row aligned right; OK is the
// default button. The caller connects them.
QHBoxLayout* OkCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel);

// Shows the entry at `index`, or the first entry when `index` is outside the list.
void SetIndexOrFirst(QComboBox* box, int index);

// How a window opens a modal dialog. The program runs QDialog::exec(); a test puts its own
// runner in place to drive the dialog and returns the result it wants.
using DialogRunner = std::function<int(QDialog&)>;
int RunModal(const DialogRunner& runner, QDialog& dialog);

}  // namespace kvx

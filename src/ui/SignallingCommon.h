#pragma once
// Small pieces shared by the signalling windows (DTMF, two-tone, five-tone, special calls):
// the key rules of their code boxes, number texts, and placing a floating editor over a grid
// cell.
#include <QString>
#include <QStringList>

#include "ui/FormHelpers.h"

class QComboBox;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace kvx {

// A label text followed by a suffix ("Tone" + "A", "Information Code" + "3"). Language files
// lose blanks at either end of a value, so a blank is put back between two Latin letters or
// digits; Chinese texts are joined as they stand.
QString JoinText(const QString& text, const QString& suffix);

// A value in tenths written "#0.0" (5 -> "0.5", 250 -> "25.0").
QString TenthsText(int tenths);
// TenthsText(first) ... TenthsText(last).
QStringList TenthsTexts(int first, int last);

// A whole text that is a decimal number ("12", "12.5", ".5", "12."), read with "." whatever
// the locale; blanks around are allowed. False for an empty text or anything else.
bool ParseDecimal(const QString& text, double& value);

// Key rules: "0"-"9", "A"-"F" with "a"-"f" made upper case (five-tone codes).
TextBoxRules HexDigits();
// DTMF code boxes: "0"-"9", "*", "#", "A"-"D" with "a"-"d" made upper case.
TextBoxRules DtmfCharacters();
// A caller ID of the special calls: "0"-"9" and "A" ("a" made upper case).
TextBoxRules IdCharacters();
// A message of the special calls: "0"-"9", "A"-"Z" ("a"-"z" made upper case).
TextBoxRules MessageCharacters();
// A grid name: printable characters except "\" and "~".
TextBoxRules NameCharacters();

// A text box that only refuses characters above 127 and selects its text on focus; the copy
// and paste keys and Enter keep their usual meaning.
void InstallPlainTextBox(QLineEdit* box);

// No context menu on any text box of the dialog: its Paste would get round the key rules.
void SuppressTextMenus(QWidget* dialog);

// A list (combo box) with this objectName.
QComboBox* NewList(QWidget* parent, const char* objectName);

// The list's position, 0 when nothing is chosen.
int ListIndex(const QComboBox* box);
// Chooses the entry whose text is `text`; the first entry when none matches. Signals are not
// blocked.
void SetListText(QComboBox* box, const QString& text);

// Puts a floating editor (a child of the grid's viewport) over a cell.
void PlaceOverCell(QTableWidget* grid, QWidget* editor, int row, int column);

}  // namespace kvx

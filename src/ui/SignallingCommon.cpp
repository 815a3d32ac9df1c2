#include "ui/SignallingCommon.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <charconv>
#include <string>

namespace kvx {

namespace {

bool IsLatinWordChar(QChar c) {
  return c.unicode() < 128 && c.isLetterOrNumber();
}

// Refuses characters above 127 (typed or pasted) and selects the text on focus.
class PlainTextBoxFilter : public QObject {
 public:
  explicit PlainTextBoxFilter(QLineEdit* box) : QObject(box), box_(box) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != box_) return false;
    if (event->type() == QEvent::FocusIn) {
      QTimer::singleShot(0, box_, [b = box_] { b->selectAll(); });
    } else if (event->type() == QEvent::KeyPress) {
      const QString text = static_cast<QKeyEvent*>(event)->text();
      if (!text.isEmpty() && text.at(0).unicode() > 127) return true;
    }
    return false;
  }

 private:
  QLineEdit* box_;
};

}  // namespace

QString JoinText(const QString& text, const QString& suffix) {
  if (!text.isEmpty() && !suffix.isEmpty() && IsLatinWordChar(text.back()) &&
      IsLatinWordChar(suffix.front()))
    return text + QLatin1Char(' ') + suffix;
  return text + suffix;
}

QString TenthsText(int tenths) {
  const int a = tenths < 0 ? -tenths : tenths;
  QString text = QString::number(a / 10) + QLatin1Char('.') + QString::number(a % 10);
  return tenths < 0 ? QLatin1Char('-') + text : text;
}

QStringList TenthsTexts(int first, int last) {
  QStringList texts;
  for (int v = first; v <= last; ++v) texts << TenthsText(v);
  return texts;
}

bool ParseDecimal(const QString& text, double& value) {
  const std::string s = text.trimmed().toStdString();
  if (s.empty()) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || c == '.')) return false;
  if (s.find('.') != s.rfind('.') || s == ".") return false;
  // from_chars wants digits on both sides of the point in every library; add them.
  std::string t = s;
  if (t.front() == '.') t.insert(t.begin(), '0');
  if (t.back() == '.') t.push_back('0');
  const char* end = t.data() + t.size();
  auto [ptr, ec] = std::from_chars(t.data(), end, value, std::chars_format::fixed);
  return ec == std::errc() && ptr == end;
}

TextBoxRules HexDigits() {
  return {[](QChar c) {
            if (c.isDigit() || (c >= u'A' && c <= u'F')) return c;
            if (c >= u'a' && c <= u'f') return c.toUpper();
            return QChar();
          },
          false};
}

TextBoxRules DtmfCharacters() {
  return {[](QChar c) {
            if (c.isDigit() || c == u'*' || c == u'#' || (c >= u'A' && c <= u'D')) return c;
            if (c >= u'a' && c <= u'd') return c.toUpper();
            return QChar();
          },
          false};
}

TextBoxRules IdCharacters() {
  return {[](QChar c) {
            if (c.isDigit() || c == u'A') return c;
            if (c == u'a') return QChar(u'A');
            return QChar();
          },
          false};
}

TextBoxRules MessageCharacters() {
  return {[](QChar c) {
            if (c.isDigit() || (c >= u'A' && c <= u'Z')) return c;
            if (c >= u'a' && c <= u'z') return c.toUpper();
            return QChar();
          },
          false};
}

TextBoxRules NameCharacters() {
  return {[](QChar c) { return (c == u'\\' || c == u'~') ? QChar() : c; }, false};
}

void InstallPlainTextBox(QLineEdit* box) {
  if (!box) return;
  box->installEventFilter(new PlainTextBoxFilter(box));
}

void SuppressTextMenus(QWidget* dialog) {
  for (QLineEdit* box : dialog->findChildren<QLineEdit*>()) SuppressTextMenu(box);
}

QComboBox* NewList(QWidget* parent, const char* objectName) {
  auto* box = new QComboBox(parent);
  box->setObjectName(objectName);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->setMaxVisibleItems(16);
  // Lists fill their column, so that a column of lists lines up whatever their entries.
  box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  return box;
}

int ListIndex(const QComboBox* box) {
  return box && box->currentIndex() > 0 ? box->currentIndex() : 0;
}

void SetListText(QComboBox* box, const QString& text) {
  if (!box || box->count() == 0) return;
  const int i = box->findText(text, Qt::MatchExactly);
  box->setCurrentIndex(i >= 0 ? i : 0);
}

void PlaceOverCell(QTableWidget* grid, QWidget* editor, int row, int column) {
  grid->scrollToItem(grid->item(row, column));
  editor->setGeometry(grid->visualRect(grid->model()->index(row, column)));
}

}  // namespace kvx

#pragma once
// The page frame of the print-out and the current print position: positions are fractions
// of the printable width W and height H; a text is printed on the current line at a
// horizontal position, and NewLine moves down by the current font's line height.
#include <QFont>
#include <QString>

class QPainter;
class QPrinter;

namespace kvx {

struct Workspace;

// The print fonts: a sans-serif family with CJK families behind it, so that Chinese texts
// never print as boxes.
QFont PrintFont(double points, bool bold = false);

class PrintPage {
 public:
  PrintPage(QPainter& painter, QPrinter& printer, const Workspace& ws, QString dateTime);

  double W() const { return w_; }
  double H() const { return h_; }
  double Y() const { return y_; }
  void SetY(double y) { y_ = y; }
  // Where the footer stands; no line may pass it.
  double FooterY() const { return 0.97 * h_; }

  // The body font (10 points), bold or not.
  void BodyFont(bool bold = false);
  double LineHeight() const;
  double TextWidth(const QString& text) const;

  // Prints `text` on the current line at x (a fraction of W), cut with "..." where it would
  // pass `right` (a fraction of W).
  void Text(double x, const QString& text, double right = 0.98);
  // The same at x in printer units.
  void TextAt(double x, const QString& text, double right = 0.98);
  void NewLine(double lines = 1);
  // A thin line across from x1 to x2 (fractions of W) at the current position.
  void Rule(double x1, double x2);

  // True when `lines` more lines fit above the footer.
  bool Fits(double lines = 1) const;
  // Footer and header when `lines` more lines do not fit.
  void BreakIfNeeded(double lines = 1);

  // The header at the top of every page (a new page first, except for the first page).
  void PrintPageHeader();
  // The page number at the foot of the page; a new page follows.
  void PrintPageFooter();

  int PageNumber() const { return page_; }
  // False once a new page could not be added: the job ends there.
  bool Ok() const { return ok_; }

 private:
  QPainter& painter_;
  QPrinter& printer_;
  const Workspace& ws_;
  QString dateTime_;
  double w_ = 0, h_ = 0, y_ = 0;
  int page_ = 0;
  bool ok_ = true;
};

}  // namespace kvx

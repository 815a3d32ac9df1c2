#include "print/PrintPage.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "core/app/BandTable.h"
#include "core/files/Workspace.h"
#include "print/PrintOut.h"
#include "ui/UiText.h"

namespace kvx {

namespace {
constexpr double kTitlePoints = 25;
constexpr double kBodyPoints = 10;
}  // namespace

QFont PrintFont(double points, bool bold) {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Noto Sans", "Liberation Sans", "Noto Sans CJK SC",
                    "WenQuanYi Micro Hei", "Droid Sans Fallback"});
  font.setStyleHint(QFont::SansSerif);
  // No ligatures: "Off" must stay three letters for whoever reads or searches the print-out.
  font.setStyleStrategy(QFont::PreferNoShaping);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

PrintPage::PrintPage(QPainter& painter, QPrinter& printer, const Workspace& ws, QString dateTime)
    : painter_(painter), printer_(printer), ws_(ws), dateTime_(std::move(dateTime)) {
  w_ = printer.width();
  h_ = printer.height();
  if (dateTime_.isEmpty()) {
    const QDateTime now = QDateTime::currentDateTime();
    dateTime_ = now.date().toString("yyyy-MM-dd") + "    " + now.time().toString("HH:mm:ss");
  }
  BodyFont();
}

void PrintPage::BodyFont(bool bold) {
  painter_.setFont(PrintFont(kBodyPoints, bold));
}

double PrintPage::LineHeight() const {
  return QFontMetricsF(painter_.font(), painter_.device()).height();
}

double PrintPage::TextWidth(const QString& text) const {
  return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(text);
}

void PrintPage::Text(double x, const QString& text, double right) {
  TextAt(x * w_, text, right);
}

void PrintPage::TextAt(double x, const QString& text, double right) {
  if (text.isEmpty()) return;
  const QFontMetricsF metrics(painter_.font(), painter_.device());
  const double room = right * w_ - x;
  const QString shown = metrics.horizontalAdvance(text) <= room
                            ? text
                            : metrics.elidedText(text, Qt::ElideRight, std::max(room, 0.0));
  painter_.drawText(QPointF(x, y_ + metrics.ascent()), shown);
}

void PrintPage::NewLine(double lines) {
  y_ += lines * LineHeight();
}

void PrintPage::Rule(double x1, double x2) {
  const QPen pen(Qt::gray, std::max(1.0, printer_.resolution() / 144.0));
  painter_.save();
  painter_.setPen(pen);
  painter_.drawLine(QPointF(x1 * w_, y_), QPointF(x2 * w_, y_));
  painter_.restore();
}

bool PrintPage::Fits(double lines) const {
  return y_ + lines * LineHeight() <= FooterY();
}

void PrintPage::BreakIfNeeded(double lines) {
  if (Fits(lines)) return;
  PrintPageFooter();
  PrintPageHeader();
}

void PrintPage::PrintPageHeader() {
  if (page_ > 0 && !printer_.newPage()) ok_ = false;
  ++page_;
  const PrintTexts& t = PrintTextsFor(ws_.lang.LanguageIndex());

  // Title: 25 points bold, centred, at 2 % of the height; smaller when the paper is too
  // narrow for it.
  const QString title = QString::fromUtf8(t.title);
  painter_.setFont(PrintFont(kTitlePoints, true));
  const double titleWidth = TextWidth(title);
  if (titleWidth > 0.96 * w_)
    painter_.setFont(PrintFont(kTitlePoints * 0.96 * w_ / titleWidth, true));
  y_ = 0.02 * h_;
  TextAt((w_ - TextWidth(title)) / 2, title, 1.0);
  NewLine();

  // The rest of the header in the body size, still bold.
  BodyFont(true);
  Text(0.75, dateTime_, 1.0);
  NewLine(2);
  const QString values[3] = {Q(DisplayModelName(ws_.app.RadioType, ws_.app.BandCode)),
                             Q(ws_.app.BandText), Q(ws_.CurrentFileName)};
  const char* labels[3] = {t.modelLabel, t.bandLabel, t.fileLabel};
  for (int i = 0; i < 3; ++i) {
    Text(0.08, QString::fromUtf8(labels[i]), 0.24);
    Text(0.25, values[i]);
    NewLine();
  }
  BodyFont(false);
}

void PrintPage::PrintPageFooter() {
  const QFont keep = painter_.font();
  BodyFont(false);
  const QString number = QStringLiteral("- %1 -").arg(page_);
  y_ = FooterY();
  TextAt((w_ - TextWidth(number)) / 2, number, 1.0);
  painter_.setFont(keep);
}

}  // namespace kvx

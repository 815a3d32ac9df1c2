#include "print/PrintOut.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QTableWidget>
#include <algorithm>
#include <memory>
#include <set>

#include "core/files/Workspace.h"
#include "core/util/Prompts.h"
#include "print/PrintPage.h"
#include "print/WindowReader.h"
#include "ui/ChannelGridModel.h"
#include "ui/Frm2Tone.h"
#include "ui/Frm5Tone.h"
#include "ui/FrmAlert.h"
#include "ui/FrmCHEdit.h"
#include "ui/FrmDTMF.h"
#include "ui/FrmEMG.h"
#include "ui/FrmOption.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

constexpr int kChannelsPerPage = 5;
constexpr int kBookLines = 50;

// The windows loaded for printing ask nothing: a message they would show while loading is
// answered at once and printing goes on.
class QuietPrompts : public NoDialogPrompts {
 public:
  Answer Message(std::string_view, Icon, Buttons buttons, std::string_view) override {
    switch (buttons) {
      case Buttons::YesNo:
      case Buttons::YesNoCancel:
        return Answer::No;
      case Buttons::RetryCancel:
        return Answer::Cancel;
      default:
        return Answer::Ok;
    }
  }
};

// Where a section's lines stand: the label of the outermost level at `label`, its value at
// `value`, both moved right by `indent` for every frame or page they are inside.
struct Columns {
  double label = 0.10;
  double value = 0.45;
  double indent = 0.05;
};

struct SectionContext {
  PrintPage& page;
  Workspace& ws;  // a copy of the working data: the windows may correct what they show
  QuietPrompts prompts;
  QString off, on;
};

void PrintTableRow(PrintPage& page, const std::vector<double>& xs, const QStringList& cells) {
  for (qsizetype c = 0; c < cells.size() && c < static_cast<qsizetype>(xs.size()); ++c) {
    const double right = c + 1 < static_cast<qsizetype>(xs.size()) ? xs[c + 1] - 0.005 : 0.98;
    page.Text(xs[c], cells[c], right);
  }
  page.NewLine();
}

void PrintLines(PrintPage& page, const std::vector<PrintLine>& lines, const Columns& col) {
  const double gap = page.TextWidth(QStringLiteral("  "));
  for (const PrintLine& line : lines) {
    if (!page.Ok()) return;
    const double labelX = col.label + col.indent * line.level;
    const double valueX = col.value + col.indent * line.level;
    switch (line.kind) {
      case PrintLine::Heading:
        page.BreakIfNeeded(2);  // a heading never ends a page
        page.BodyFont(true);
        page.Text(labelX, line.label);
        page.BodyFont(false);
        page.NewLine();
        break;
      case PrintLine::Text:
        page.BreakIfNeeded();
        page.Text(labelX, line.label);
        page.NewLine();
        break;
      case PrintLine::Pair: {
        page.BreakIfNeeded();
        page.Text(labelX, line.label);
        const double x =
            std::max(valueX * page.W(), labelX * page.W() + page.TextWidth(line.label) + gap);
        const QStringList values = line.value.split(u'\n');
        for (qsizetype i = 0; i < values.size(); ++i) {
          if (i > 0) page.BreakIfNeeded();
          page.TextAt(x, values[i]);
          page.NewLine();
        }
        break;
      }
      case PrintLine::Table: {
        // Each column as wide as its widest text; what room is left is shared out in the
        // proportions of the window's columns, and a table too wide is narrowed the same way.
        const size_t n = line.widths.size();
        std::vector<double> need(n, 0.0);
        page.BodyFont(true);
        for (size_t c = 0; c < n && c < static_cast<size_t>(line.head.size()); ++c)
          need[c] = page.TextWidth(line.head[c]);
        page.BodyFont(false);
        for (size_t c = 0; c < n; ++c) {
          for (const QStringList& row : line.rows)
            if (c < static_cast<size_t>(row.size()))
              need[c] = std::max(need[c], page.TextWidth(row[c]));
          need[c] += gap;
        }
        double total = 0, needed = 0;
        for (size_t c = 0; c < n; ++c) {
          total += line.widths[c];
          needed += need[c];
        }
        const double room = (0.98 - labelX) * page.W();
        std::vector<double> xs;
        double x = labelX * page.W();
        for (size_t c = 0; c < n; ++c) {
          xs.push_back(x / page.W());
          const double share = line.widths[c] / std::max(total, 1.0);
          x += needed <= room ? need[c] + (room - needed) * share
                              : need[c] * room / std::max(needed, 1.0);
        }
        auto head = [&] {
          if (line.head.isEmpty()) return;
          page.BodyFont(true);
          PrintTableRow(page, xs, line.head);
          page.BodyFont(false);
        };
        page.BreakIfNeeded(2);
        head();
        for (const QStringList& row : line.rows) {
          if (!page.Fits()) {
            page.BreakIfNeeded();
            head();
          }
          PrintTableRow(page, xs, row);
        }
        break;
      }
    }
  }
}

// Page header, the caption at 5 % of W and two line breaks.
void SectionStart(PrintPage& page, const QString& caption) {
  page.PrintPageHeader();
  page.BodyFont(true);
  page.Text(0.05, caption);
  page.BodyFont(false);
  page.NewLine(2);
}

void DialogSection(SectionContext& s, const QString& caption, std::vector<PrintLine>& lines,
                   const Columns& columns = {}) {
  SectionStart(s.page, caption);
  PrintLines(s.page, lines, columns);
  s.page.PrintPageFooter();
}

// ---------------------------------------------------------------------------------------------
// Channels: five a page, each as pairs of label and value in two columns.

struct ChannelPair {
  QString label, value;
};

std::vector<ChannelPair> ChannelPairs(const FrmCHEdit& dialog, const ChannelGridModel& grid,
                                      int number, const SectionContext& s) {
  std::vector<ChannelPair> pairs;
  auto shown = [&](const QWidget* w) { return w && WindowReader::Shown(w, &dialog); };
  auto labelText = [&](const char* name) -> QString {
    const auto* l = dialog.findChild<QLabel*>(name);
    return shown(l) ? WindowReader::Caption(l->text()) : QString();
  };
  auto text = [&](const char* name) -> QString {
    if (const auto* c = dialog.findChild<QComboBox*>(name)) return c->currentText();
    if (const auto* e = dialog.findChild<QLineEdit*>(name)) return e->text();
    return {};
  };
  auto add = [&](const char* label, const QString& value) {
    if (const auto* l = dialog.findChild<QLabel*>(label); shown(l))
      pairs.push_back({labelText(label), value});
  };
  auto addList = [&](const char* label, const char* control) {
    const auto* w = dialog.findChild<QWidget*>(control);
    if (shown(w)) add(label, text(control));
  };

  pairs.push_back({Q(s.ws.lang.GetLangText(3006)), grid.CellText(number, 0)});
  add("Label1_0", text("Text1_0"));
  add("Label1_3", text("Text1_10"));
  const QString offset = text("Text1_1");
  add("Label1_1", offset.isEmpty() ? QString() : text("Combo2") + u' ' + offset);
  QString name;
  for (int i = 2; i <= 8; ++i) {
    const QString c = text(QStringLiteral("Text1_%1").arg(i).toLatin1().constData());
    name += c.isEmpty() ? QStringLiteral(" ") : c;
  }
  add("Label1_2", name.trimmed());
  addList("Label2_0", "Combo1_0");
  addList("Label2_1", "Combo1_1");
  addList("Label2_2", "Combo1_2");
  // Signalling and tones in the forms of the channel grid (DTMF M1, 2tone 3, D023N).
  add("Label2_4", grid.CellText(number, 10));
  add("Label2_5", grid.CellText(number, 8));
  add("Label2_10", grid.CellText(number, 9));
  addList("Label2_6", "Combo1_6");
  addList("Label2_9", "Combo1_9");
  addList("Label2_7", "Combo1_7");
  addList("Label2_8", "Combo1_8");
  addList("Label2_12", "Combo1_12");
  addList("Label2_13", "Combo1_13");
  addList("Label3", "Text2");
  for (const char* check : {"Check1", "Check4_0", "Check4_1", "Check5", "Check6", "Check7"}) {
    const auto* box = dialog.findChild<QCheckBox*>(check);
    if (shown(box))
      pairs.push_back({WindowReader::Caption(box->text()), box->isChecked() ? s.on : s.off});
  }
  return pairs;
}

void ChannelSection(SectionContext& s) {
  PrintPage& page = s.page;
  std::vector<int> numbers;
  for (const ChannelRecord& c : s.ws.channels.Used()) numbers.push_back(c.Number);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  numbers.erase(std::remove_if(numbers.begin(), numbers.end(),
                               [](int n) { return n < 1 || n > kChannelSlots; }),
                numbers.end());

  ChannelGridModel grid(s.ws, nullptr);
  grid.ShowListByData();
  const QString caption = PrintItemCaption(s.ws, kPrintChannels);
  const size_t pages =
      std::max<size_t>(1, (numbers.size() + kChannelsPerPage - 1) / kChannelsPerPage);
  const int16_t keepChannel = s.ws.app.CurrentEditChannel;
  for (size_t p = 0; p < pages && page.Ok(); ++p) {
    SectionStart(page, caption);
    // The page's blocks: label and value pairs, two to a line.
    std::vector<std::vector<ChannelPair>> blocks;
    for (size_t i = p * kChannelsPerPage; i < numbers.size() && i < (p + 1) * kChannelsPerPage;
         ++i) {
      s.ws.app.CurrentEditChannel = static_cast<int16_t>(numbers[i]);
      const FrmCHEdit dialog(s.ws, s.prompts, {});
      blocks.push_back(ChannelPairs(dialog, grid, numbers[i], s));
    }
    // Five blocks always fit: the lines close up when the paper is short.
    double lines = 0;
    for (const auto& b : blocks) lines += static_cast<double>((b.size() + 1) / 2);
    lines += 0.5 * static_cast<double>(blocks.empty() ? 0 : blocks.size() - 1);
    // The last line ends a little above the footer.
    const double natural = page.LineHeight();
    const double room = page.FooterY() - page.Y() - 1.3 * natural;
    const double step = lines > 1 ? std::min(natural, room / (lines - 1)) : natural;
    auto next = [&](double n = 1) { page.SetY(page.Y() + n * step); };
    for (size_t b = 0; b < blocks.size(); ++b) {
      if (b > 0) {
        page.SetY(page.Y() + 0.25 * step);
        page.Rule(0.05, 0.95);
        page.SetY(page.Y() + 0.25 * step);
      }
      const auto& pairs = blocks[b];
      for (size_t i = 0; i < pairs.size(); ++i) {
        const bool left = i % 2 == 0;
        page.BodyFont(i == 0);
        page.Text(left ? 0.10 : 0.55, pairs[i].label, left ? 0.295 : 0.745);
        page.Text(left ? 0.30 : 0.75, pairs[i].value, left ? 0.545 : 0.98);
        if (!left || i + 1 == pairs.size()) next();
      }
      page.BodyFont(false);
    }
    page.PrintPageFooter();
  }
  s.ws.app.CurrentEditChannel = keepChannel;
}

// ---------------------------------------------------------------------------------------------
// The sections taken from the settings windows.

void OptionSection(SectionContext& s) {
  FrmOption dialog(s.ws.settings, s.ws.channels, s.ws.app, s.ws.lang);
  WindowReader reader(s.off, s.on);
  reader.ReadWindow(&dialog);
  DialogSection(s, dialog.windowTitle(), reader.Lines());
}

void DtmfSection(SectionContext& s) {
  FrmDTMF dialog(s.ws.settings.Dtmf, s.ws.lang, s.prompts);
  auto* encode = dialog.findChild<QGroupBox*>("FrameEncode");
  // The settings rows first, their values at 50 %; then the twenty code rows, codes at 35 %.
  WindowReader settings(s.off, s.on);
  settings.skip.insert(encode);
  settings.ReadWindow(&dialog);
  WindowReader codes(s.off, s.on);
  if (encode) {
    codes.AddHeading(WindowReader::Caption(encode->title()), 0);
    if (const auto* hint = dialog.findChild<QLabel*>("LabelInputHint"))
      codes.AddPair(WindowReader::Caption(hint->text()), {}, 1);
  }
  for (int i = 0; i < FrmDTMF::kCodeBoxes; ++i) {
    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("LabelCode_%1").arg(i));
    const QLineEdit* box = dialog.CodeBox(i);
    if (!box) continue;
    codes.AddPair(label ? WindowReader::Caption(label->text()) : QString(), box->text(), 1);
  }
  SectionStart(s.page, dialog.windowTitle());
  PrintLines(s.page, settings.Lines(), {0.10, 0.50, 0.05});
  PrintLines(s.page, codes.Lines(), {0.10, 0.30, 0.05});
  s.page.PrintPageFooter();
}

void TwoToneSection(SectionContext& s) {
  Frm2Tone dialog(s.ws.settings, s.ws.channels, s.ws.lang);
  WindowReader reader(s.off, s.on);
  reader.ReadWindow(&dialog);
  DialogSection(s, dialog.windowTitle(), reader.Lines());
}

void FiveToneSection(SectionContext& s) {
  Frm5Tone dialog(s.ws.settings, s.ws.channels, s.ws.lang, s.prompts);
  WindowReader reader(s.off, s.on);
  // The information-code frame shows one code at a time: print it for every code, as the
  // selector shows them one after the other.
  auto* select = dialog.findChild<QComboBox*>("ComboInfoSelect");
  auto* frame = dialog.findChild<QGroupBox*>("FrameInfoCode");
  if (select && frame) {
    reader.skip.insert(select);
    if (auto* l = dialog.findChild<QLabel*>("LabelInfoSelect")) reader.skip.insert(l);
    reader.readers[frame] = [select, frame](WindowReader& r, int level) {
      for (int i = 0; i < select->count(); ++i) {
        emit select->activated(i);
        r.AddHeading(WindowReader::Caption(frame->title()), level);
        r.ReadContents(frame, level + 1);
      }
    };
  }
  // Decode codes in use: those with a type, digits or a name.
  reader.rowInUse = [](const QTableWidget* grid, int row) {
    for (int c : {Frm5Tone::kColType, Frm5Tone::kColDigits, Frm5Tone::kColName}) {
      const QTableWidgetItem* item = grid->item(row, c);
      if (item && !item->text().trimmed().isEmpty()) return true;
    }
    return false;
  };
  reader.ReadWindow(&dialog);
  DialogSection(s, dialog.windowTitle(), reader.Lines());
}

void RadioInfoSection(SectionContext& s) {
  FrmEMG dialog(s.ws.lang, s.ws.radioInfo, s.ws.app.BandCode);
  WindowReader reader(s.off, s.on);
  reader.ReadWindow(&dialog);
  DialogSection(s, dialog.windowTitle(), reader.Lines());
}

// The model of the sections taken from windows: the ten setting rows (the hidden channel
// group left out) with their lists at 45 %, then the lone-worker frame indented.
void AlertSection(SectionContext& s) {
  FrmAlert dialog(s.ws.settings.Alert, s.ws.channels, s.ws.settings.Dtmf, s.ws.settings.FiveTone,
                  s.ws.app, s.ws.lang);
  WindowReader reader(s.off, s.on);
  reader.ReadWindow(&dialog);
  DialogSection(s, dialog.windowTitle(), reader.Lines());
}

// ---------------------------------------------------------------------------------------------
// The communication book: 50 lines of three entries each.

void BookSection(SectionContext& s) {
  PrintPage& page = s.page;
  const BookEntries& book = s.ws.settings.Book;
  const double columns[3][3] = {{0.10, 0.18, 0.28}, {0.38, 0.46, 0.56}, {0.66, 0.74, 0.84}};
  const QString heads[3] = {Q(s.ws.lang.GetLangText(3007)), QStringLiteral("Call ID"),
                            QStringLiteral("Name")};
  auto heading = [&] {
    page.BodyFont(true);
    for (const auto& group : columns)
      for (int c = 0; c < 3; ++c) page.Text(group[c], heads[c], group[c] + 0.079);
    page.BodyFont(false);
    page.NewLine();
  };
  page.PrintPageHeader();
  page.BodyFont(true);
  page.Text(0.05, PrintItemCaption(s.ws, kPrintBook));
  page.BodyFont(false);
  page.NewLine();
  heading();
  for (int k = 0; k < kBookLines && page.Ok(); ++k) {
    if (!page.Fits()) {
      page.BreakIfNeeded();
      heading();
    }
    for (int g = 0; g < 3; ++g) {
      const size_t e = static_cast<size_t>(k + 50 * g);
      if (e >= BookEntries::kEntries) continue;
      const BookEntry& entry = book.entries[e];
      page.Text(columns[g][0], QString::number(e), columns[g][1] - 0.005);
      page.Text(columns[g][1], QL1(entry.CallId.Clean()), columns[g][2] - 0.005);
      page.Text(columns[g][2], QL1(entry.EntryName.Clean()), columns[g][2] + 0.095);
    }
    page.NewLine();
  }
  page.PrintPageFooter();
}

}  // namespace

bool PrintSections(QPrinter& printer, const Workspace& ws, const std::vector<int>& items,
                   const PrintHeaderInfo& header) {
  const std::set<int> chosen(items.begin(), items.end());
  // The windows work on a copy: printing never changes the working data.
  auto copy = std::make_unique<Workspace>(ws);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  PrintPage page(painter, printer, *copy, header.dateTime);
  const PrintTexts& t = PrintTextsFor(copy->lang.LanguageIndex());
  SectionContext s{page, *copy, {}, QString::fromUtf8(t.off), QString::fromUtf8(t.on)};
  for (int item : kPrintItems) {
    if (!chosen.count(item)) continue;
    switch (item) {
      case kPrintChannels:
        ChannelSection(s);
        break;
      case kPrintOption:
        OptionSection(s);
        break;
      case kPrintDtmf:
        DtmfSection(s);
        break;
      case kPrintTwoTone:
        TwoToneSection(s);
        break;
      case kPrintFiveTone:
        FiveToneSection(s);
        break;
      case kPrintBook:
        BookSection(s);
        break;
      case kPrintRadioInfo:
        RadioInfoSection(s);
        break;
      case kPrintAlert:
        AlertSection(s);
        break;
      default:
        break;
    }
    if (!page.Ok()) break;
  }
  const bool ended = painter.end();
  return page.Ok() && ended;
}

}  // namespace kvx

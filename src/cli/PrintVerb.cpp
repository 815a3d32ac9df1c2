// kvx50-cli print: the print-out of a data file as a PDF file, as the print command prints it.
#ifdef KVX50_HAVE_PRINT

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <cstdio>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Verb.h"
#include "print/PrintOut.h"
#include "ui/UiText.h"

namespace kvx::cli {
namespace {

const char* kUsage =
    "Usage: kvx50-cli print FILE.dat --pdf OUT.pdf [--sections LIST] [--language en|zh]\n"
    "                       [--paper A4|Letter] [--file-password P] [--home DIR]\n\n"
    "Opens FILE.dat as Open does and writes its print-out to OUT.pdf: the page header on\n"
    "every page, the page numbers running on across the sections, and the sections of LIST in\n"
    "this order, whatever order LIST names them in:\n"
    "  0 channels (five a page)   3 optional features   4 DTMF   5 2-tone   6 5-tone\n"
    "  7 communication book       8 radio information   9 alert\n"
    "LIST is a list of these numbers separated by commas (\"0,7,9\"), or \"all\" (the default).\n\n"
    "  --pdf OUT.pdf         the PDF file to write (replaced whole, or left as it was)\n"
    "  --sections LIST       the sections to print (default all)\n"
    "  --language en|zh      the language of the print-out (default: the program folder's)\n"
    "  --paper A4|Letter     the paper size (default A4), margins 10 mm\n"
    "  --file-password P     the data file's password, when it has one\n"
    "  --home DIR            the program folder; also KVX50_HOME\n\n"
    "Exit status: 0 written, 1 failed, 2 usage error.\n";

int Run(const std::vector<std::string>& argv);
const Verb kVerb{"print", "write the print-out of a data file as a PDF file", kUsage, Run};

int Run(const std::vector<std::string>& argv) {
  std::string pdf, sections = "all", language, paper = "A4";
  std::vector<std::string> rest;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    std::string* target = a == "--pdf"        ? &pdf
                          : a == "--sections" ? &sections
                          : a == "--language" ? &language
                          : a == "--paper"    ? &paper
                                              : nullptr;
    if (!target) {
      rest.push_back(a);
      continue;
    }
    if (i + 1 >= argv.size()) return UsageError(kVerb, a + " needs a value");
    *target = argv[++i];
  }
  FileArgs args;
  std::string error;
  if (!ParseFileArgs(rest, {"--file-password"}, args, error)) return UsageError(kVerb, error);
  if (args.positional.size() != 1) return UsageError(kVerb, "one data file is required");
  if (pdf.empty()) return UsageError(kVerb, "--pdf OUT.pdf is required");
  std::vector<int> items;
  if (!ParsePrintItems(sections, items, error)) return UsageError(kVerb, error);
  int16_t languageIndex = 0;
  if (language == "en" || language == "1") {
    languageIndex = kLanguageEnglish;
  } else if (language == "zh" || language == "2") {
    languageIndex = kLanguageChinese;
  } else if (!language.empty()) {
    return UsageError(kVerb, "--language is en or zh");
  }
  QPageSize::PageSizeId pageSize = QPageSize::A4;
  if (paper == "Letter" || paper == "letter") {
    pageSize = QPageSize::Letter;
  } else if (paper != "A4" && paper != "a4") {
    return UsageError(kVerb, "--paper is A4 or Letter");
  }

  const std::string& file = args.positional[0];
  auto ws = std::make_unique<Workspace>();
  FilePrompts prompts("print", file);
  if (!StartFileSession("print", args.home, *ws, prompts)) return kExitFailure;
  if (languageIndex != 0) {
    ws->app.LanguageIndex = languageIndex;
    ws->lang.SetLanguageIndex(languageIndex);
  }
  if (!OpenDataFile("print", *ws, file, args.filePassword)) return kExitFailure;

  // Written beside the target and renamed over it once complete.
  const QString target = QString::fromStdString(pdf);
  const QString partial = target + ".part";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(partial);
  printer.setPageLayout(QPageLayout(QPageSize(pageSize), QPageLayout::Portrait,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  printer.setCreator(QStringLiteral("kvx50"));
  printer.setDocName(Q(ws->CurrentFileName));
  if (!PrintSections(printer, *ws, items)) {
    QFile::remove(partial);
    return Fail("print", pdf + ": cannot write the print-out");
  }
  QFile::remove(target);
  if (!QFile::rename(partial, target)) {
    QFile::remove(partial);
    return Fail("print", pdf + ": cannot write the print-out");
  }
  return kExitOk;
}

VerbRegistrar reg{kVerb};

}  // namespace
}  // namespace kvx::cli

#endif  // KVX50_HAVE_PRINT

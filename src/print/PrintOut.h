#pragma once
// The print-out of the working data: the page frame (header with title, date, model, band and
// file name; footer with the page number) and one section per print item, each section taking
// its texts from the window that edits the same data, loaded hidden. Printing never changes
// the working data: the windows are loaded on a copy.
#include <QString>
#include <array>
#include <string>
#include <vector>

class QPrinter;

namespace kvx {

struct Workspace;

// The print items by their numbers in the selection dialog, printed in this order.
enum PrintItem : int {
  kPrintChannels = 0,
  kPrintOption = 3,
  kPrintDtmf = 4,
  kPrintTwoTone = 5,
  kPrintFiveTone = 6,
  kPrintBook = 7,
  kPrintRadioInfo = 8,
  kPrintAlert = 9,
};
inline constexpr std::array<int, 8> kPrintItems = {kPrintChannels,  kPrintOption,   kPrintDtmf,
                                                   kPrintTwoTone,   kPrintFiveTone, kPrintBook,
                                                   kPrintRadioInfo, kPrintAlert};
bool IsPrintItem(int item);

// The built-in print texts of a language (1 English, 2 Chinese), UTF-8.
struct PrintTexts {
  const char* title;
  const char* modelLabel;
  const char* bandLabel;
  const char* fileLabel;
  const char* selectAll;
  const char* clearAll;
  const char* printerSetup;
  const char* ok;
  const char* cancel;
  const char* nothingSelected;
  const char* off;
  const char* on;
  const char* preview;
  // Item captions by item number (0-8; item 9 is language text 2600, items 1 and 2 unused).
  std::array<const char*, 9> items;
};
const PrintTexts& PrintTextsFor(int languageIndex);
// The caption of an item in the current language of `ws` (item 9 from the language file).
QString PrintItemCaption(const Workspace& ws, int item);

// What the page header shows besides the title; the date and time are taken when printing
// starts unless set.
struct PrintHeaderInfo {
  QString dateTime;  // empty: now, "yyyy-MM-dd    HH:mm:ss"
};

// Prints the sections of `items` (any order, duplicates ignored; printed in item order) on
// `printer`, which is set up already (a printer, a PDF file, a preview). Page numbers run on
// across the sections. False when the printer cannot be painted on or a page cannot be added
// (the job ends there).
bool PrintSections(QPrinter& printer, const Workspace& ws, const std::vector<int>& items,
                   const PrintHeaderInfo& header = {});

// Parses a list of item numbers ("0,3,7" or "0 3 7"; "all" for every item). False with
// `error` set for an unknown number or a malformed list.
bool ParsePrintItems(const std::string& list, std::vector<int>& items, std::string& error);

}  // namespace kvx

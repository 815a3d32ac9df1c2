#pragma once
// Small pieces shared by the function-settings windows (options, scan, alert, broadcast lists,
// communication book): the model rule for channel numbers, the channel choosers and list
// filling.
#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class QTableWidget;
class QWidget;

namespace kvx {

struct AppState;
struct ChannelList;

// True when the current model is the KV-520, which shows memory channels from 1 instead of 0.
bool IsKv520(const AppState& app);

// The numbers 1-200 of the ordinary channels among the list's records, each once, ascending.
// With `scannedOnly` the channels marked ScanSkip are left out.
std::vector<int> OrdinaryChannelNumbers(const ChannelList& channels, bool scannedOnly);

// The text a memory channel number (1-200) shows: number - 1, or the number on the KV-520.
QString MemoryChannelText(int number, bool kv520);

// "first" to "last" in steps of `step`, as whole numbers.
QStringList NumberTexts(int first, int last, int step = 1);

// Fills a list without letting its signals through, and shows the entry at `index` or the
// first one when `index` is outside the list (nothing for an empty list).
void FillList(QComboBox* box, const QStringList& entries, int index = 0);

// The index of `value` in `values`, or -1.
int IndexOfValue(const std::vector<int>& values, int value);

// Twips (1/1440 inch) to pixels for the designed sizes of grids.
int TwipsToPixels(int twips);

// The size a grid needs to show all its columns and `rows` entry rows without scroll bars.
void FitGridWidth(QTableWidget* grid, int rows);

}  // namespace kvx

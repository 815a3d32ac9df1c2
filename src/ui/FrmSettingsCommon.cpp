#include "ui/FrmSettingsCommon.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

#include "core/app/AppState.h"
#include "core/app/BandTable.h"
#include "core/image/Channels.h"

namespace kvx {

bool IsKv520(const AppState& app) {
  return DisplayModelName(app.RadioType, app.BandCode) == "KV-520";
}

std::vector<int> OrdinaryChannelNumbers(const ChannelList& channels, bool scannedOnly) {
  std::vector<int> numbers;
  for (const ChannelRecord& c : channels.Used()) {
    if (c.Number < 1 || c.Number > kMemoryChannels) continue;
    if (scannedOnly && c.ScanSkip != 0) continue;
    numbers.push_back(c.Number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

QString MemoryChannelText(int number, bool kv520) {
  return QString::number(kv520 ? number : number - 1);
}

QStringList NumberTexts(int first, int last, int step) {
  QStringList texts;
  for (int v = first; v <= last; v += step) texts << QString::number(v);
  return texts;
}

void FillList(QComboBox* box, const QStringList& entries, int index) {
  const QSignalBlocker block(box);
  box->clear();
  box->addItems(entries);
  if (box->count() == 0)
    box->setCurrentIndex(-1);
  else
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

int IndexOfValue(const std::vector<int>& values, int value) {
  auto it = std::find(values.begin(), values.end(), value);
  return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

int TwipsToPixels(int twips) {
  return (twips + 7) / 15;
}

void FitGridWidth(QTableWidget* grid, int rows) {
  int width = 2 * grid->frameWidth();
  if (grid->verticalHeader()->isVisible()) width += grid->verticalHeader()->width();
  for (int c = 0; c < grid->columnCount(); ++c)
    if (!grid->isColumnHidden(c)) width += grid->columnWidth(c);
  int height = 2 * grid->frameWidth() + grid->horizontalHeader()->height();
  const int shown = std::min(rows, grid->rowCount());
  for (int r = 0; r < shown; ++r) height += grid->rowHeight(r);
  if (shown < grid->rowCount()) width += grid->verticalScrollBar()->sizeHint().width();
  grid->setFixedWidth(width);
  grid->setMinimumHeight(height);
}

}  // namespace kvx

#pragma once
// The channel list of the main window as a table model over the working ChannelList: one row
// per channel number 1-204, the grid's columns 1-10 as model columns 0-9 (column 0, the row
// labels, is the vertical header). Cell texts are derived only from the list: a full redraw
// resets the model, a one-row redraw changes that row.
#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace kvx {

struct Workspace;
struct ChannelRecord;
class Prompts;

class ChannelGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kRows = 204;
  static constexpr int kColumns = 10;  // grid columns 1-10

  // `prompts` shows "Not IsNumeric" for a stored frequency that is not a number (null: not
  // shown).
  ChannelGridModel(const Workspace& ws, Prompts* prompts, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Full redraw: heads, labels and every row from the list.
  void ShowListByData();
  // One-row redraw of channel number `row` (1-204).
  void ReShowGrid(int row);

  // The text of grid cell (row 0-204, column 0-10), as the grid numbers them: row 0 the
  // heads, column 0 the labels.
  QString CellText(int row, int column) const;
  // Channel number 200 is not shown for "KV-520".
  bool RowHidden(int row) const;
  bool Kv520() const { return kv520_; }

  // The channel number whose row label is `label` (case ignored, blanks trimmed); 0 when no
  // shown row has it.
  int RowOfLabel(const QString& label) const;
  // The first shown row from `fromRow` (1-204) on, wrapping round, whose name, receive or
  // transmit frequency contains `text` (case ignored); `fromRow` itself is looked at last
  // unless `includeFrom`. 0 when none does or `text` is blank.
  int FindRow(const QString& text, int fromRow, bool includeFrom) const;

  // The ten cell texts of a channel record (grid columns 1-10).
  using RowTexts = std::array<QString, kColumns>;
  RowTexts TextsOf(const ChannelRecord& c) const;

 private:
  void LoadShowList();
  void RefreshLabels();

  const Workspace& ws_;
  Prompts* prompts_;
  std::vector<RowTexts> cells_;
  std::array<QString, kColumns> heads_;
  QString labelHead_;
  std::vector<QString> labels_;
  // Texts looked up once per full redraw.
  QString none_, listFlag0_, listFlag1_;
  std::array<QString, 3> power_;
  std::vector<QString> steps_;
  bool kv520_ = false;
};

}  // namespace kvx

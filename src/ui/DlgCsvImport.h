#pragma once
// What an import of channels from a CSV file would do, shown before anything changes: how many
// rows are taken, corrected and refused, each note with its line number, and whether the
// memory channels the file does not give are removed. OK writes the result into the channel
// list it was given; Cancel changes nothing.
#include <QDialog>
#include <memory>
#include <string>

#include "core/files/ChannelCsv.h"

class QCheckBox;
class QLabel;
class QListWidget;

namespace kvx {

class LanguageTable;

class DlgCsvImport : public QDialog {
  Q_OBJECT
 public:
  DlgCsvImport(const LanguageTable& lang, ChannelList& channels, const AppState& app,
               std::string csv, QWidget* parent = nullptr);

  // The import as the dialog shows it (with or without removing channels).
  const CsvImportResult& Result() const { return *result_; }

  void accept() override;

 private:
  void Recompute();

  const LanguageTable& lang_;
  ChannelList& channels_;
  const AppState& app_;
  std::string csv_;
  std::unique_ptr<CsvImportResult> result_;

  QLabel* LabelSummary_ = nullptr;
  QListWidget* ListNotes_ = nullptr;
  QCheckBox* CheckReplace_ = nullptr;
};

}  // namespace kvx

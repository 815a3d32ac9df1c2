#pragma once
// The model-and-band dialog. Choosing another band asks FrequencyDataCleared first; on OK the
// band changes and the working data are reset as New does. The radio type never changes.
#include <QDialog>

class QComboBox;

namespace kvx {

struct Workspace;
class Prompts;

class FrmModel : public QDialog {
  Q_OBJECT
 public:
  FrmModel(Workspace& ws, Prompts& prompts, QWidget* parent = nullptr);
  // True when OK changed the band (the caller redraws the channel list).
  bool BandChanged() const { return changed_; }

 private:
  void FillBands(const QString& model);
  void OnOk();

  Workspace& ws_;
  Prompts& prompts_;
  QComboBox* ComboModel_ = nullptr;
  QComboBox* ComboBand_ = nullptr;
  bool changed_ = false;
};

}  // namespace kvx

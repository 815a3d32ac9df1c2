#pragma once
// The radio information window: what the last radio-information read found in the radio's
// first 256 bytes. Read only; nothing shown is stored.
#include <QDialog>

namespace kvx {

struct RadioInfo;
class LanguageTable;

class FrmEMG : public QDialog {
  Q_OBJECT
 public:
  // `bandCode` is the band the radio reported in the same link.
  FrmEMG(const LanguageTable& lang, const RadioInfo& info, int bandCode, QWidget* parent = nullptr);
};

}  // namespace kvx

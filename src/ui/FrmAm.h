#pragma once
// The AM broadcast list window (108-145 MHz).
#include "ui/BroadcastGrid.h"

namespace kvx {

class FrmAm : public BroadcastGrid {
  Q_OBJECT
 public:
  FrmAm(AmList& list, const LanguageTable& lang, QWidget* parent = nullptr);
};

}  // namespace kvx

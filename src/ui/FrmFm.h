#pragma once
// The FM broadcast list window (87.5-108 MHz).
#include "ui/BroadcastGrid.h"

namespace kvx {

class FrmFm : public BroadcastGrid {
  Q_OBJECT
 public:
  FrmFm(FmList& list, const LanguageTable& lang, QWidget* parent = nullptr);
};

}  // namespace kvx

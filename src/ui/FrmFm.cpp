#include "ui/FrmFm.h"

#include "core/lang/LanguageTable.h"
#include "ui/UiText.h"

namespace kvx {

FrmFm::FrmFm(FmList& list, const LanguageTable& lang, QWidget* parent)
    : BroadcastGrid(list,
                    {"FrmFm", Q(lang.GetLangText(6000)), Q(lang.GetLangText(6001)),
                     Q(lang.GetLangText(6002)), 87.5, 108},
                    lang, parent) {}

}  // namespace kvx

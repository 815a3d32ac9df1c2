#include "ui/FrmAm.h"

#include "core/lang/LanguageTable.h"
#include "ui/UiText.h"

namespace kvx {

FrmAm::FrmAm(AmList& list, const LanguageTable& lang, QWidget* parent)
    : BroadcastGrid(list,
                    {"FrmAm", Q(lang.GetLangText(7000)), Q(lang.GetLangText(7001)),
                     Q(lang.GetLangText(7002)), 108, 145},
                    lang, parent) {}

}  // namespace kvx

#include "core/image/Tones.h"

namespace kvx {

std::string DcsCodeText(int code) {
  const int c = code & 0x1FF;
  return {static_cast<char>('0' + ((c >> 6) & 7)), static_cast<char>('0' + ((c >> 3) & 7)),
          static_cast<char>('0' + (c & 7))};
}

std::string DcsDisplay(int code, bool inverted) {
  return "D" + DcsCodeText(code) + (inverted ? "I" : "N");
}

int ShiftToImageCode(int shift) {
  return shift == 0 ? 0 : shift + 1;
}

int ShiftFromImageCode(int code) {
  switch (code & 3) {
    case 2:
      return ShiftMinus;
    case 3:
      return ShiftPlus;
    default:  // 1 is never written and reads as none
      return ShiftNone;
  }
}

bool BandOffers2k5Step(int bandCode) {
  return (bandCode >= 2 && bandCode <= 7) || (bandCode >= 48 && bandCode <= 56);
}

std::vector<std::string_view> StepTexts(int bandCode) {
  std::vector<std::string_view> out;
  if (BandOffers2k5Step(bandCode)) out.push_back("2.5K");
  for (std::string_view s : {"5K", "6.25K", "8.33K", "10K", "12.5K", "20K", "25K", "30K", "50K"})
    out.push_back(s);
  return out;
}

std::string ToneSettingDisplay(int type, int ctcss, int dcs, int inverted,
                               std::string_view noneText) {
  if (type == ToneCtcss) {
    if (ctcss < 0 || ctcss >= kCtcssCount) ctcss = 0;
    return std::string(kCtcssTones[static_cast<size_t>(ctcss)]);
  }
  if (type == ToneDcs) {
    if (dcs < 0 || dcs >= kDcsCount) dcs = 0;
    return DcsDisplay(dcs, inverted >= 1);
  }
  return std::string(noneText);
}

}  // namespace kvx

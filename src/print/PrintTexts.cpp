#include <algorithm>
#include <cctype>
#include <sstream>

#include "core/files/Workspace.h"
#include "print/PrintOut.h"
#include "ui/UiText.h"

namespace kvx {

namespace {

// "Channel Infomation" is the caption as the program has always printed it.
constexpr PrintTexts kEnglish = {
    "KV_X50_WQN7 Radio Programming Information",
    "Model Type",
    "Frequency",
    "File Name",
    "Select &All",
    "&Clear All",
    "&Set",
    "&OK",
    "&Cancel",
    "Please select printing items.",
    "OFF",
    "ON",
    "Pre&view",
    {"Channel Infomation", "", "", "Option", "DTMF", "2Tone", "5Tone", "Communication Book",
     "Embedded Message"},
};

constexpr PrintTexts kChinese = {
    "KV_X50_WQN7 对讲机编程信息",
    "机型类型",
    "频率",
    "文件名",
    "选择所有(&A)",
    "清除所有(&C)",
    "设置(&S)",
    "确定(&O)",
    "取消(&C)",
    "请选择打印项目。",
    "关",
    "开",
    "打印预览(&V)",
    {"信道信息", "", "", "功能设定", "DTMF", "2Tone", "5Tone", "通信簿", "嵌入信息"},
};

}  // namespace

bool IsPrintItem(int item) {
  return std::find(kPrintItems.begin(), kPrintItems.end(), item) != kPrintItems.end();
}

const PrintTexts& PrintTextsFor(int languageIndex) {
  return languageIndex == kLanguageChinese ? kChinese : kEnglish;
}

QString PrintItemCaption(const Workspace& ws, int item) {
  if (item == kPrintAlert) return Q(ws.lang.GetLangText(2600));
  if (!IsPrintItem(item)) return {};
  return QString::fromUtf8(PrintTextsFor(ws.lang.LanguageIndex()).items[static_cast<size_t>(item)]);
}

bool ParsePrintItems(const std::string& list, std::vector<int>& items, std::string& error) {
  items.clear();
  std::string text = list;
  std::replace(text.begin(), text.end(), ',', ' ');
  std::istringstream in(text);
  std::string word;
  bool any = false;
  while (in >> word) {
    any = true;
    if (word == "all") {
      items.insert(items.end(), kPrintItems.begin(), kPrintItems.end());
      continue;
    }
    const bool digits =
        std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); });
    const int item = digits && word.size() <= 2 ? std::stoi(word) : -1;
    if (!IsPrintItem(item)) {
      error = "\"" + word + "\" is no print item (0, 3, 4, 5, 6, 7, 8, 9 or all)";
      return false;
    }
    items.push_back(item);
  }
  if (!any) {
    error = "the list of print items is empty";
    return false;
  }
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());
  return true;
}

}  // namespace kvx

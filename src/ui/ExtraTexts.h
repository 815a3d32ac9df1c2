#pragma once
// The texts of the channel CSV, compare, backup and verify commands, English and Chinese. They
// are not in the language files: those keep the system's own numbered texts.
#include "core/lang/LanguageTable.h"

namespace kvx {

struct ExtraTexts {
  const char* exportChannels;
  const char* importChannels;
  const char* compareWithFile;
  const char* openBackups;
  const char* verifyRadio;
  const char* csvFilter;  // "CSV File (*.csv)|*.csv"
  // Import dialog.
  const char* importTitle;
  const char* importSummary;  // %1 rows imported, %2 corrected, %3 refused
  const char* importReplace;
  const char* importError;  // %1 the file, %2 why
  // Compare and verify.
  const char* compareTitle;
  const char* verifyTitle;
  const char* columnArea;
  const char* columnNumber;
  const char* columnField;
  const char* workingData;
  const char* radio;
  const char* differences;  // %1 differences
  const char* sameAsFile;   // %1 the file
  const char* sameAsRadio;
  const char* close;
  const char* backupFailed;  // %1 why
};

inline constexpr ExtraTexts kExtraEnglish = {
    "Export channels…",
    "Import channels…",
    "Compare with file…",
    "Open backups folder",
    "Verify radio…",
    "CSV File (*.csv)|*.csv",
    "Import channels",
    "%1 rows will be imported (%2 corrected), %3 refused. The notes below give the lines.",
    "Remove the memory channels the file does not give",
    "%1 cannot be imported: %2",
    "Compare with file",
    "Verify radio",
    "Area",
    "No.",
    "Field",
    "Working data",
    "Radio",
    "%1 differences",
    "The working data hold the same as %1.",
    "The radio holds the working data.",
    "Close",
    "No backup was kept: %1",
};

inline constexpr ExtraTexts kExtraChinese = {
    "导出信道…",
    "导入信道…",
    "与文件比较…",
    "打开备份文件夹",
    "校验对讲机…",
    "CSV 文件 (*.csv)|*.csv",
    "导入信道",
    "将导入 %1 行（修正 %2 行），拒绝 %3 行。行号见下方说明。",
    "删除文件中没有的存储信道",
    "无法导入 %1：%2",
    "与文件比较",
    "校验对讲机",
    "区域",
    "编号",
    "字段",
    "当前数据",
    "对讲机",
    "%1 处不同",
    "当前数据与 %1 相同。",
    "对讲机中的数据与当前数据相同。",
    "关闭",
    "未能保存备份：%1",
};

inline const ExtraTexts& ExtraTextsOf(const LanguageTable& lang) {
  return lang.LanguageIndex() == kLanguageChinese ? kExtraChinese : kExtraEnglish;
}

}  // namespace kvx

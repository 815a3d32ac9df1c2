#include "core/lang/BuiltInTexts.h"

namespace kvx {

namespace {

const BuiltInTexts kEnglish = {
    .ReadTitle = "Read data from radio",
    .WriteTitle = "Write data to radio",
    .ProgressLabel = "Completion percentage:",
    .ReadConfirm = "Read data from radio.\r\nDo you wish continue?",
    .WriteConfirm = "Write data to radio.\r\nDo you wish continue?",
    .ModelWrong = "Model type is wrong.",
    .RadioKilled = "Radio is killed,can't be written!",
    .RadioStunned = "Radio is fainted,can't be written!",
    .VersionWrong = "Version is wrong. Overwrite?",
    .BandWrong = "Frequencys is wrong!",
    .AllDataCleared = "All data will be cleared.",
    .FileError = "file error.",
    .FilePasswordError = "file password error.",
    .FilePasswordSetTitle = "File Password Set",
    .FilePasswordTitle = "File Password",
    .OverwriteConfirm = "file will be Overwrite,Continue?",
    .SaveModifiedConfirm = "File has been modify,save it now?",
    .DataFileTitle = "Data File",
    .FrequencyDataCleared = "Frequency data will be cleared.",
    .WarningTitle = "Warning",
    .CloseCaption = "&Close",
    .HelpCaption = "&Help",
};

const BuiltInTexts kChinese = {
    .ReadTitle = "从对讲机读取数据",
    .WriteTitle = "向对讲机写入数据",
    .ProgressLabel = "完成进度:",
    .ReadConfirm = "从对讲机读取数据。\r\n是否继续？",
    .WriteConfirm = "向对讲机写入数据。\r\n是否继续？",
    .ModelWrong = "机型类型错误。",
    .RadioKilled = "对讲机被遥毙，不能写入！",
    .RadioStunned = "对讲机被遥晕，不能写入！",
    .VersionWrong = "版本错误。",
    .BandWrong = "频段类型错误！",
    .AllDataCleared = "所有数据将被清空。",
    .FileError = "文件错误。",
    .FilePasswordError = "文件密码错误。",
    .FilePasswordSetTitle = "文件密码设置",
    .FilePasswordTitle = "文件密码",
    .OverwriteConfirm = "文件将被覆盖，是否继续？",
    .SaveModifiedConfirm = "当前文件已被修改，是否现在保存？",
    .DataFileTitle = "数据文件",
    .FrequencyDataCleared = "频率数据将被清除。",
    .WarningTitle = "警告",
    .CloseCaption = "关闭(&C)",
    .HelpCaption = "帮助(&H)",
};

}  // namespace

const BuiltInTexts& BuiltInTextsFor(int languageIndex) {
  return languageIndex == 2 ? kChinese : kEnglish;
}

std::string_view TransferTitle(int languageIndex, int kind) {
  const BuiltInTexts& t = BuiltInTextsFor(languageIndex);
  if (kind == 1) return t.ReadTitle;
  if (kind == 2) return t.WriteTitle;
  return {};
}

}  // namespace kvx

#include "setup/portable/RecordState.h"

#include <cstring>

#include "common/portable/GbkText.h"
#include "common/portable/InstallFolderRule.h"

namespace pub {
namespace {

// A package's version is at most 20 characters; a longer text was not written by an install run.
constexpr size_t kMaxVersionCharacters = 64;

bool IsText(const RecordValue& value) { return value.type == kRegText || value.type == kRegExpandText; }

std::string Count(size_t number) { return std::to_string(number); }

// "安装记录中的 NAME（MEANING）".
std::string Named(const char* name, const char* meaning) {
  return std::string("安装记录中的 ") + name + "（" + meaning + "）";
}

std::string InstallpathDamage(const RecordValue& value) {
  const std::string named = Named("installpath", "安装目录");
  if (!value.present) return "安装记录中缺少 installpath（安装目录）。";
  if (!IsText(value)) return named + "是 " + RegistryTypeName(value.type) + " 类型的值，不是文本。";
  if (value.text.empty()) return named + "是空的。";
  const size_t characters = GbkCharacterCount(value.text);
  if (characters > kMaxFolderCharacters)
    return named + "太长：" + Count(characters) + " 个字符，最多 " + Count(kMaxFolderCharacters) + " 个。";
  // Judged as a path only: a folder recorded before the batch-file rule is still where the
  // installation is.
  if (!FolderPathProblem(value.text).empty()) return named + "“" + value.text + "”不是可用的文件夹路径。";
  return std::string();
}

// The version as text, or "" with *problem saying why it is unknown; a missing one is just "".
std::string Version(const RecordValue& value, std::string* problem) {
  if (!value.present) return std::string();
  const std::string named = Named("ver", "版本号");
  if (!IsText(value)) {
    *problem = named + "是 " + RegistryTypeName(value.type) + " 类型的值，不是文本，版本号未知。";
    return std::string();
  }
  const size_t characters = GbkCharacterCount(value.text);
  if (characters > kMaxVersionCharacters) {
    *problem = named + "太长（" + Count(characters) + " 个字符，最多 " + Count(kMaxVersionCharacters) + " 个），版本号未知。";
    return std::string();
  }
  return value.text;
}

// A REG_DWORD of four bytes, or 0 with *problem saying why; a missing one is just 0.
int32_t Number(const RecordValue& value, const char* name, const char* meaning, std::string* problem) {
  if (!value.present) return 0;
  int32_t number = 0;
  if (value.type == kRegDword && value.bytes.size() == sizeof number) {
    std::memcpy(&number, value.bytes.data(), sizeof number);
    return number;
  }
  const std::string what = value.type == kRegDword ? Count(value.bytes.size()) + " 字节的 REG_DWORD 值，不是 4 字节"
                                                   : RegistryTypeName(value.type) + " 类型的值，不是 REG_DWORD";
  *problem = Named(name, meaning) + "是 " + what + "，按 0 处理。";
  return 0;
}

}  // namespace

std::string RegistryTypeName(uint32_t type) {
  static const char* const kNames[] = {"REG_NONE",
                                       "REG_SZ",
                                       "REG_EXPAND_SZ",
                                       "REG_BINARY",
                                       "REG_DWORD",
                                       "REG_DWORD_BIG_ENDIAN",
                                       "REG_LINK",
                                       "REG_MULTI_SZ",
                                       "REG_RESOURCE_LIST",
                                       "REG_FULL_RESOURCE_DESCRIPTOR",
                                       "REG_RESOURCE_REQUIREMENTS_LIST",
                                       "REG_QWORD"};
  if (type < sizeof kNames / sizeof kNames[0]) return kNames[type];
  return "类型 " + Count(type);
}

InstallationRecordReading JudgeRecord(const RecordValues& values) {
  InstallationRecordReading record;
  record.productKeyExists = values.productKeyExists;
  record.products = values.products;
  if (!values.versionKeyExists) return record;
  record.damage = InstallpathDamage(values.installpath);
  record.state = record.damage.empty() ? RecordState::Whole : RecordState::Damaged;
  if (IsText(values.installpath)) record.folder = values.installpath.text;
  record.version = Version(values.ver, &record.versionProblem);
  std::string countProblem, javaHomeProblem;
  const int32_t count = Number(values.installfilecount, "installfilecount", "已安装文件数", &countProblem);
  record.fileCount = count < 0 ? 0 : count;
  record.hadSetJavaHome =
      Number(values.hadSetJavaHome, "HadSetJAVA_HOME", "JAVA_HOME 是否由安装程序设置", &javaHomeProblem) != 0;
  for (const std::string* note : {&record.versionProblem, &countProblem, &javaHomeProblem})
    if (!note->empty()) record.notes.push_back(*note);
  return record;
}

InstallationRecordReading JudgeTextRecord(bool versionKeyExists, const std::string& recordedFolder) {
  RecordValues values;
  values.versionKeyExists = versionKeyExists;
  values.installpath = {!recordedFolder.empty(), kRegText, recordedFolder, {}};
  return JudgeRecord(values);
}

RecordState JudgeRecord(bool versionKeyExists, const std::string& recordedFolder) {
  return JudgeTextRecord(versionKeyExists, recordedFolder).state;
}

}  // namespace pub

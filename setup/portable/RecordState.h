// How far the installation record can be trusted, judged before the wizard or an unattended
// run decides anything from it. The record's version key marks an installation; its
// installpath says where. A key without a usable installpath is what a run stopped while
// writing the record leaves (or a hand edit, a registry cleaner, another program's key of the
// same name): the installation is somewhere, but not known where, so it is called damaged and
// never repaired into a folder that was guessed.
//
// The judgement takes the values as the registry holds them (present or not, of any type) and
// never fails: whatever a value holds, the result is absent, whole, or damaged with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pub {

enum class RecordState { Absent, Whole, Damaged };

// The registry's value types (the numbers Windows gives them) that the record's values take.
constexpr uint32_t kRegText = 1;        // REG_SZ
constexpr uint32_t kRegExpandText = 2;  // REG_EXPAND_SZ
constexpr uint32_t kRegBinary = 3;      // REG_BINARY
constexpr uint32_t kRegDword = 4;       // REG_DWORD
// "REG_DWORD" and the like; "类型 N" for a number Windows gives no name.
std::string RegistryTypeName(uint32_t type);

// One value of the version key as the registry holds it.
struct RecordValue {
  bool present = false;
  uint32_t type = 0;
  std::string text;            // GBK, up to the terminator; only for the two text types
  std::vector<uint8_t> bytes;  // the data as stored
};

struct RecordValues {
  bool versionKeyExists = false;
  RecordValue installpath, ver, installfilecount, hadSetJavaHome;
  bool productKeyExists = false;
  std::vector<std::string> products;  // the product key's value names, as the registry lists them
};

// What the record says. Values that cannot be read as the install run wrote them read as
// unknown ("", 0, false); each such value leaves a note for the run log.
struct InstallationRecordReading {
  RecordState state = RecordState::Absent;
  // Why the record is damaged (GBK), naming installpath and what is wrong with it; "" otherwise.
  std::string damage;
  // installpath as recorded when it is text, whatever the state; "" otherwise.
  std::string folder;
  // "" when missing or unreadable; versionProblem says which.
  std::string version;
  std::string versionProblem;
  int32_t fileCount = 0;
  bool hadSetJavaHome = false;
  // One line for each value read as unknown, for the run log: versionProblem among them.
  std::vector<std::string> notes;
  // The product key, whatever the version key holds: what a removal takes away. Its names are
  // taken as they are; the removal plan leaves out any that is not a plain folder name.
  bool productKeyExists = false;
  std::vector<std::string> products;

  bool Exists() const { return state != RecordState::Absent; }
};

InstallationRecordReading JudgeRecord(const RecordValues& values);

// The same for a record of text values as the install run writes them: recordedFolder "" is a
// missing installpath.
InstallationRecordReading JudgeTextRecord(bool versionKeyExists, const std::string& recordedFolder);
RecordState JudgeRecord(bool versionKeyExists, const std::string& recordedFolder);

// A version read as unknown is shown as this.
constexpr const char* kUnknownVersionText = "未知";

// The choice page's line above its options when the record is damaged: repair is not offered.
constexpr const char* kDamagedRecordChoiceText = "安装记录已损坏（缺少可用的安装目录），不能修复安装，您可以选择：";

}  // namespace pub

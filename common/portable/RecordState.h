// How far the installation record can be trusted, judged before the wizard or an unattended
// run decides anything from it. The record's version key marks an installation; its
// installpath says where. A key without a usable installpath is what a run stopped while
// writing the record leaves (or a hand edit): the installation is somewhere, but not known
// where, so it is called damaged and never repaired into a folder that was guessed.
#pragma once

#include <string>

namespace pub {

enum class RecordState { Absent, Whole, Damaged };

// versionKeyExists: the record's version key is there. recordedFolder: its installpath, ""
// when the value is missing.
RecordState JudgeRecord(bool versionKeyExists, const std::string& recordedFolder);

// The choice page's line above its options when the record is damaged: repair is not offered.
constexpr const char* kDamagedRecordChoiceText = "安装记录已损坏（缺少可用的安装目录），不能修复安装，您可以选择：";

}  // namespace pub

// Whether the installation record can be trusted: absent, whole, or damaged, for every shape its
// values can take in the registry.
#include <gtest/gtest.h>

#include <cstring>

#include "common/portable/InstallFolderRule.h"
#include "common/portable/RecordState.h"

using pub::JudgeRecord;
using pub::RecordState;
using pub::RecordValue;
using pub::RecordValues;

namespace {

RecordValue Text(const std::string& text, uint32_t type = pub::kRegText) { return {true, type, text, {}}; }
RecordValue Dword(int32_t number) {
  std::vector<uint8_t> bytes(4);
  std::memcpy(bytes.data(), &number, 4);
  return {true, pub::kRegDword, {}, bytes};
}
RecordValue Binary(std::vector<uint8_t> bytes) { return {true, pub::kRegBinary, {}, std::move(bytes)}; }

RecordValues Record(RecordValue installpath, RecordValue ver = Text("2.0.0")) {
  RecordValues values;
  values.versionKeyExists = true;
  values.installpath = std::move(installpath);
  values.ver = std::move(ver);
  return values;
}

}  // namespace

TEST(RecordState, TheVersionKeyMarksARecordAndItsFolderMakesItWhole) {
  EXPECT_EQ(JudgeRecord(false, ""), RecordState::Absent);
  EXPECT_EQ(JudgeRecord(false, "d:\\web"), RecordState::Absent) << "a folder without the key is no record";
  for (const char* folder : {"d:\\web", "c:\\quarn\\", "d:\\q&t", "c:\\a b"})
    EXPECT_EQ(JudgeRecord(true, folder), RecordState::Whole) << folder;
  // A run stopped after making the key, or a folder that could only be guessed at.
  for (const char* folder : {"", "quarn", "c:", "c:\\", "\\\\server\\q", "c:\\a|b", "c:\\q\\..\\.."})
    EXPECT_EQ(JudgeRecord(true, folder), RecordState::Damaged) << folder;
}

// Each shape installpath can take: the reason names the value and says what is wrong with it,
// in words a person can check with the registry editor.
TEST(RecordState, EveryShapeOfInstallpathIsWholeOrDamagedWithItsReason) {
  const std::string longest = "c:\\" + std::string(pub::kMaxFolderCharacters - 3, 'a');
  const struct {
    const char* shape;
    RecordValue installpath;
    const char* reason;  // "" for a whole record
  } cases[] = {
      {"text", Text("d:\\web"), ""},
      {"expandable text", Text("d:\\web", pub::kRegExpandText), ""},
      {"the longest folder", Text(longest), ""},
      {"missing", RecordValue{}, "缺少 installpath"},
      {"REG_DWORD", Dword(1), "installpath（安装目录）是 REG_DWORD 类型的值，不是文本"},
      {"REG_BINARY", Binary({0x63, 0x3a}), "installpath（安装目录）是 REG_BINARY 类型的值，不是文本"},
      {"REG_MULTI_SZ", RecordValue{true, 7, {}, {}}, "REG_MULTI_SZ"},
      {"a type without a name", RecordValue{true, 0x1234, {}, {}}, "类型 4660"},
      {"empty", Text(""), "installpath（安装目录）是空的"},
      {"one character too long", Text(longest + "a"), "太长：248 个字符，最多 247 个"},
      {"300 characters", Text("c:\\" + std::string(297, 'q')), "太长：300 个字符"},
      // 200 double-byte characters are 200 characters, not 400 bytes.
      {"double-byte", Text("c:\\" + [] { std::string s; for (int i = 0; i < 200; ++i) s += "\xB0\xB2"; return s; }()), ""},
      {"relative", Text("quarn"), "“quarn”不是可用的文件夹路径"},
      {"a drive", Text("c:\\"), "不是可用的文件夹路径"},
      {"forbidden character", Text("c:\\a|b"), "不是可用的文件夹路径"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    const pub::InstallationRecordReading record = JudgeRecord(Record(c.installpath));
    EXPECT_TRUE(record.Exists());
    if (!*c.reason) {
      EXPECT_EQ(record.state, RecordState::Whole);
      EXPECT_EQ(record.damage, "");
      EXPECT_EQ(record.folder, c.installpath.text);
      continue;
    }
    EXPECT_EQ(record.state, RecordState::Damaged);
    EXPECT_NE(record.damage.find("installpath"), std::string::npos) << record.damage;
    EXPECT_NE(record.damage.find(c.reason), std::string::npos) << record.damage;
    EXPECT_EQ(record.version, "2.0.0") << "the rest of the record is read all the same";
  }
}

// The installation is where installpath says whatever ver holds: a ver that cannot be read is an
// unknown version with a note, never damage.
TEST(RecordState, AVersionThatCannotBeReadIsUnknownNotDamage) {
  const struct {
    const char* shape;
    RecordValue ver;
    const char* version;
    const char* problem;
  } cases[] = {
      {"text", Text("1.9.0"), "1.9.0", ""},
      {"missing", RecordValue{}, "", ""},
      {"REG_DWORD", Dword(2), "", "ver（版本号）是 REG_DWORD 类型的值，不是文本，版本号未知"},
      {"REG_BINARY", Binary({1}), "", "REG_BINARY"},
      {"65 characters", Text(std::string(65, '9')), "", "太长（65 个字符，最多 64 个）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    const pub::InstallationRecordReading record = JudgeRecord(Record(Text("d:\\web"), c.ver));
    EXPECT_EQ(record.state, RecordState::Whole);
    EXPECT_EQ(record.version, c.version);
    if (!*c.problem) {
      EXPECT_EQ(record.versionProblem, "");
      EXPECT_TRUE(record.notes.empty());
      continue;
    }
    EXPECT_NE(record.versionProblem.find(c.problem), std::string::npos) << record.versionProblem;
    EXPECT_EQ(record.notes, std::vector<std::string>{record.versionProblem}) << "the log gets it";
  }
}

// The numbers the removal uses: a count for the gauge, and whether JAVA_HOME is ours to remove.
// Anything but a four-byte REG_DWORD reads as 0, which leaves JAVA_HOME alone.
TEST(RecordState, NumbersOfAnotherShapeReadAsZeroWithANote) {
  RecordValues values = Record(Text("d:\\web"));
  values.installfilecount = Dword(42);
  values.hadSetJavaHome = Dword(1);
  pub::InstallationRecordReading record = JudgeRecord(values);
  EXPECT_EQ(record.fileCount, 42);
  EXPECT_TRUE(record.hadSetJavaHome);
  EXPECT_TRUE(record.notes.empty());

  values.installfilecount = Text("42");
  values.hadSetJavaHome = RecordValue{true, pub::kRegDword, {}, {1, 0}};
  record = JudgeRecord(values);
  EXPECT_EQ(record.state, RecordState::Whole);
  EXPECT_EQ(record.fileCount, 0);
  EXPECT_FALSE(record.hadSetJavaHome);
  ASSERT_EQ(record.notes.size(), 2u);
  EXPECT_NE(record.notes[0].find("installfilecount"), std::string::npos) << record.notes[0];
  EXPECT_NE(record.notes[0].find("REG_SZ 类型的值，不是 REG_DWORD，按 0 处理"), std::string::npos) << record.notes[0];
  EXPECT_NE(record.notes[1].find("HadSetJAVA_HOME"), std::string::npos) << record.notes[1];
  EXPECT_NE(record.notes[1].find("2 字节的 REG_DWORD 值"), std::string::npos) << record.notes[1];

  values.installfilecount = Dword(-5);
  EXPECT_EQ(JudgeRecord(values).fileCount, 0) << "no negative range for the gauge";
  // Without the version key nothing is read at all.
  values.versionKeyExists = false;
  record = JudgeRecord(values);
  EXPECT_EQ(record.state, RecordState::Absent);
  EXPECT_EQ(record.folder, "");
  EXPECT_TRUE(record.notes.empty());
}

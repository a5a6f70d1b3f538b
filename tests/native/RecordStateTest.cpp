// Whether the installation record can be trusted: absent, whole, or damaged, for every shape its
// values can take in the registry.
#include <gtest/gtest.h>

#include <cstring>

#include "common/portable/InstallFolderRule.h"
#include "setup/portable/RecordState.h"

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

// The products go with the reading whatever the version key holds: a removal takes away what
// a run stopped before the version key still recorded.
TEST(RecordState, TheRecordedProductsComeWithTheReadingEvenWithoutTheVersionKey) {
  RecordValues values;
  values.productKeyExists = true;
  values.products = {"MySQL5", "eforum"};
  pub::InstallationRecordReading reading = JudgeRecord(values);
  EXPECT_EQ(reading.state, RecordState::Absent);
  EXPECT_TRUE(reading.productKeyExists);
  EXPECT_EQ(reading.products, values.products);
  values = Record(Text("d:\\web"));
  reading = JudgeRecord(values);
  EXPECT_EQ(reading.state, RecordState::Whole);
  EXPECT_FALSE(reading.productKeyExists) << "no product key, nothing for a removal to take";
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

// Only installpath decides damage: the installation is where it says, whatever the other values
// hold. Those read as unknown (a version of "", numbers of 0), each with a note for the log.
TEST(RecordState, OtherValuesOfAnotherShapeReadAsUnknownWithANote) {
  RecordValues values = Record(Text("d:\\web"), Text("1.9.0"));
  values.installfilecount = Dword(42);
  values.hadSetJavaHome = Dword(1);
  pub::InstallationRecordReading record = JudgeRecord(values);
  EXPECT_EQ(record.version, "1.9.0");
  EXPECT_EQ(record.fileCount, 42);
  EXPECT_TRUE(record.hadSetJavaHome);
  EXPECT_TRUE(record.notes.empty());

  values.ver = Dword(2);
  values.installfilecount = Text("42");
  values.hadSetJavaHome = RecordValue{true, pub::kRegDword, {}, {1, 0}};
  record = JudgeRecord(values);
  EXPECT_EQ(record.state, RecordState::Whole);
  EXPECT_EQ(record.version, "");
  EXPECT_EQ(record.fileCount, 0);
  EXPECT_FALSE(record.hadSetJavaHome) << "JAVA_HOME is left alone";
  const std::vector<std::string> notes = {"ver（版本号）是 REG_DWORD 类型的值，不是文本，版本号未知",
                                          "installfilecount（已安装文件数）是 REG_SZ 类型的值，不是 REG_DWORD，按 0 处理",
                                          "HadSetJAVA_HOME（JAVA_HOME 是否由安装程序设置）是 2 字节的 REG_DWORD 值"};
  ASSERT_EQ(record.notes.size(), notes.size());
  for (size_t i = 0; i < notes.size(); ++i) EXPECT_NE(record.notes[i].find(notes[i]), std::string::npos) << record.notes[i];
  EXPECT_EQ(record.versionProblem, record.notes[0]) << "shown where the version is shown";

  values.ver = Text(std::string(65, '9'));
  values.installfilecount = Dword(-5);
  record = JudgeRecord(values);
  EXPECT_NE(record.versionProblem.find("太长（65 个字符，最多 64 个）"), std::string::npos) << record.versionProblem;
  EXPECT_EQ(record.fileCount, 0) << "no negative range for the gauge";
  values.ver = RecordValue{};
  EXPECT_EQ(JudgeRecord(values).versionProblem, "") << "a missing version is only unknown";
}

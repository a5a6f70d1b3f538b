// The installation record: what is written where, and how it is recognised.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "setup/portable/RecordState.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Registry.h"
#include "setup/win/InstallRecordKeys.h"
#include "setup/win/InstallationRecord.h"

using namespace testing_support;

namespace {

class InstallRecord : public EngineFixture {
 protected:
  // Value names of a key with their types, sorted by name: the order in which the registry
  // lists them is its own (alphabetical under Wine), not the order of writing.
  // The program keeps its record in the 32-bit view, whichever build it is; view picks the one read.
  static std::vector<std::pair<std::string, DWORD>> Values(const char* key, REGSAM view = KEY_WOW64_32KEY) {
    std::vector<std::pair<std::string, DWORD>> values;
    HKEY handle;
    std::wstring path = tk::ToWide(std::string(key).substr(1));
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD length = 256, type = 0;
      if (RegEnumValueW(handle, i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
      values.emplace_back(tk::FromWide(std::wstring(name, length)), type);
    }
    RegCloseKey(handle);
    std::sort(values.begin(), values.end());
    return values;
  }
  tk::TRegistry registry;
  void SetUp() override {
    EngineFixture::SetUp();
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
  }
};

}  // namespace

TEST_F(InstallRecord, WritesEveryKeyValueAndTypeInOrder) {
  setup::WriteInstallationRecord({"2.0.0", 46000.25, "d:\\web", 42, 3 * 1024 * 1024 + 1, true, {"A", "B", "C"}});

  EXPECT_EQ(Values(setup::kVersionKey), (std::vector<std::pair<std::string, DWORD>>{
                                         {"HadSetJAVA_HOME", REG_DWORD}, {"installdate", REG_BINARY},
                                         {"installfilecount", REG_DWORD}, {"installpath", REG_SZ}, {"ver", REG_SZ}}));
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, false));
  EXPECT_EQ(registry.ReadString("ver"), "2.0.0");
  std::vector<uint8_t> date = registry.ReadBinaryData("installdate");
  ASSERT_EQ(date.size(), 8u);
  double stored;
  std::memcpy(&stored, date.data(), 8);
  EXPECT_DOUBLE_EQ(stored, 46000.25) << "the package's date, not the day of installing";
  EXPECT_EQ(registry.ReadString("installpath"), "d:\\web");
  EXPECT_EQ(registry.ReadInteger("installfilecount"), 42);
  EXPECT_EQ(registry.ReadInteger("HadSetJAVA_HOME"), 1);
  registry.CloseKey();

  EXPECT_EQ(Values(setup::kProductKey), (std::vector<std::pair<std::string, DWORD>>{
                                         {"A", REG_DWORD}, {"B", REG_DWORD}, {"C", REG_DWORD}}));
  EXPECT_EQ(Values(setup::kUninstallKey),
            (std::vector<std::pair<std::string, DWORD>>{
                {"DisplayIcon", REG_SZ}, {"DisplayName", REG_SZ}, {"DisplayVersion", REG_SZ}, {"EstimatedSize", REG_DWORD},
                {"InstallDate", REG_SZ}, {"InstallLocation", REG_SZ}, {"NoModify", REG_DWORD}, {"NoRepair", REG_DWORD},
                {"Publisher", REG_SZ}, {"QuietUninstallString", REG_SZ}, {"URLInfoAbout", REG_SZ},
                {"UninstallString", REG_SZ}}));
  ASSERT_TRUE(registry.OpenKey(setup::kUninstallKey, false));
  EXPECT_EQ(registry.ReadString("DisplayIcon"), "d:\\web\\install\\Uninstall.exe");
  EXPECT_EQ(registry.ReadString("DisplayName"), "Quarn系列软件");
  EXPECT_EQ(registry.ReadString("Publisher"), "Quarn工作室");
  EXPECT_EQ(registry.ReadString("UninstallString"), "\"d:\\web\\install\\Uninstall.exe\"");
  EXPECT_EQ(registry.ReadString("QuietUninstallString"), "\"d:\\web\\install\\Uninstall.exe\" /S");
  EXPECT_EQ(registry.ReadString("InstallLocation"), "d:\\web");
  EXPECT_EQ(registry.ReadInteger("EstimatedSize"), 3 * 1024 + 1) << "KiB, rounded up";
  EXPECT_EQ(registry.ReadString("InstallDate").size(), 8u);
  EXPECT_EQ(registry.ReadInteger("NoModify"), 1);
  EXPECT_EQ(registry.ReadInteger("NoRepair"), 1);
}

TEST_F(InstallRecord, LivesInThe32BitViewOnly) {
  setup::WriteInstallationRecord({"2.0.0", 0, "d:\\web", 0, 0, false, {"A"}});
  for (const char* key : {setup::kVersionKey, setup::kProductKey, setup::kUninstallKey}) {
    EXPECT_FALSE(Values(key, KEY_WOW64_32KEY).empty()) << key;
    EXPECT_TRUE(Values(key, KEY_WOW64_64KEY).empty()) << key << " must not be in the 64-bit view";
  }
  EXPECT_TRUE(registry.DeleteKey(setup::kUninstallKey));
  EXPECT_TRUE(Values(setup::kUninstallKey, KEY_WOW64_32KEY).empty()) << "deleted in the view it was written to";
}

TEST_F(InstallRecord, ARepairKeepsProductNamesOfAnEarlierLargerInstallation) {
  WriteRecord("d:\\web", {"A", "B", "old"});
  setup::WriteInstallationRecord({"2.0.0", 0, "d:\\web", 0, 0, false, {"A"}});
  EXPECT_EQ(Values(setup::kProductKey).size(), 3u);
}

// What a run stopped while writing the record leaves, after every write in turn: no record,
// or one that names its folder and the products to remove from it. The one damaged moment is
// the version key made and nothing yet in it, which start-up names as such.
TEST_F(InstallRecord, AStopBetweenAnyTwoWritesLeavesNoRecordOrOneNamingItsFolder) {
  const setup::InstallationRecord record{"2.0.0", 46000.25, "d:\\web", 42, 1024, true, {"A", "B"}};
  const std::vector<setup::RecordWrite> writes = setup::InstallationRecordWrites(record);
  int damaged = 0;
  for (size_t count = 0; count <= writes.size(); ++count) {
    SCOPED_TRACE(count);
    CleanInstallRecord();
    setup::PerformRecordWrites(writes, count);
    const pub::InstallationRecordReading recorded = setup::ReadInstallationRecord();
    switch (recorded.state) {
      case pub::RecordState::Absent:
        EXPECT_FALSE(KeyExists(setup::kUninstallKey)) << "Windows lists an installation that is not recorded";
        break;
      case pub::RecordState::Damaged:
        ++damaged;
        EXPECT_TRUE(Values(setup::kVersionKey).empty()) << "only an empty version key may lack the folder";
        break;
      case pub::RecordState::Whole:
        EXPECT_EQ(recorded.folder, "d:\\web");
        EXPECT_EQ(Values(setup::kProductKey).size(), 2u) << "a removal would not find the products";
        break;
    }
  }
  EXPECT_LE(damaged, 1);
  const pub::InstallationRecordReading written = setup::ReadInstallationRecord();
  EXPECT_EQ(written.state, pub::RecordState::Whole);
  EXPECT_EQ(written.version, "2.0.0");
  EXPECT_EQ(written.fileCount, 42);
  EXPECT_TRUE(written.hadSetJavaHome);

  // A repair writes over a whole record of the same folder: it stays whole all the way.
  for (size_t count = 0; count <= writes.size(); ++count) {
    CleanInstallRecord();
    WriteRecord("d:\\web", {"A"});
    setup::PerformRecordWrites(writes, count);
    EXPECT_EQ(setup::ReadInstallationRecord().folder, "d:\\web") << count;
  }
}

// The reader over real registry values: an expandable text is text, read to its terminator in
// GBK; a version and a flag of another type read as unknown, never as an error.
TEST_F(InstallRecord, ValuesOfAnyTypeAreReadWithoutRaising) {
  ASSERT_TRUE(registry.OpenKey(setup::kVersionKey, true));
  const std::wstring folder = L"d:\\\u5B89\u88C5";  // 安装
  ASSERT_EQ(RegSetValueExW(registry.CurrentKey(), L"installpath", 0, REG_EXPAND_SZ,
                           reinterpret_cast<const BYTE*>(folder.c_str()), (folder.size() + 1) * sizeof(wchar_t)),
            ERROR_SUCCESS);
  registry.WriteInteger("ver", 2);
  registry.WriteString("HadSetJAVA_HOME", "1");
  registry.CloseKey();
  const pub::InstallationRecordReading record = setup::ReadInstallationRecord();
  EXPECT_EQ(record.state, pub::RecordState::Whole) << record.damage;
  EXPECT_EQ(record.folder, "d:\\安装");
  EXPECT_EQ(record.version, "");
  EXPECT_FALSE(record.hadSetJavaHome);
  EXPECT_EQ(record.notes.size(), 2u);
}

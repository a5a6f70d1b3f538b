// The installation record: what is written where, and how it is recognised.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/portable/ProcessValues.h"
#include "common/portable/RecordState.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Registry.h"
#include "ui/InstallRecordKeys.h"
#include "ui/InstallationRecord.h"

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
  CreateWizard(true);
  pub::Process().PackageVersion = "2.0.0";
  pub::Process().PackageDate = 46000.25;
  pub::Process().InstalledFileCount = 42;
  pub::Process().PackageBytes = 3 * 1024 * 1024 + 1;
  form->Edit1->SetText("d:\\web");
  form->HadSetJAVA_HOME = true;
  for (const char* product : {"A", "B", "C"}) form->ProductList->Add(product);
  form->ProductList->SetChecked(1, true);  // checked or not, every item is recorded
  form->WriteInstallRecord();

  EXPECT_EQ(Values(ui::kVersionKey), (std::vector<std::pair<std::string, DWORD>>{
                                         {"HadSetJAVA_HOME", REG_DWORD}, {"installdate", REG_BINARY},
                                         {"installfilecount", REG_DWORD}, {"installpath", REG_SZ}, {"ver", REG_SZ}}));
  ASSERT_TRUE(registry.OpenKey(ui::kVersionKey, false));
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

  EXPECT_EQ(Values(ui::kProductKey), (std::vector<std::pair<std::string, DWORD>>{
                                         {"A", REG_DWORD}, {"B", REG_DWORD}, {"C", REG_DWORD}}));
  EXPECT_EQ(Values(ui::kUninstallKey),
            (std::vector<std::pair<std::string, DWORD>>{
                {"DisplayIcon", REG_SZ}, {"DisplayName", REG_SZ}, {"DisplayVersion", REG_SZ}, {"EstimatedSize", REG_DWORD},
                {"InstallDate", REG_SZ}, {"InstallLocation", REG_SZ}, {"NoModify", REG_DWORD}, {"NoRepair", REG_DWORD},
                {"Publisher", REG_SZ}, {"QuietUninstallString", REG_SZ}, {"URLInfoAbout", REG_SZ},
                {"UninstallString", REG_SZ}}));
  ASSERT_TRUE(registry.OpenKey(ui::kUninstallKey, false));
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
  CreateWizard(true);
  pub::Process().PackageVersion = "2.0.0";
  form->Edit1->SetText("d:\\web");
  form->ProductList->Add("A");
  form->WriteInstallRecord();
  for (const char* key : {ui::kVersionKey, ui::kProductKey, ui::kUninstallKey}) {
    EXPECT_FALSE(Values(key, KEY_WOW64_32KEY).empty()) << key;
    EXPECT_TRUE(Values(key, KEY_WOW64_64KEY).empty()) << key << " must not be in the 64-bit view";
  }
  EXPECT_TRUE(registry.DeleteKey(ui::kUninstallKey));
  EXPECT_TRUE(Values(ui::kUninstallKey, KEY_WOW64_32KEY).empty()) << "deleted in the view it was written to";
}

TEST_F(InstallRecord, ARepairKeepsProductNamesOfAnEarlierLargerInstallation) {
  WriteRecord("d:\\web", {"A", "B", "old"});
  CreateWizard(true);
  form->ProductList->Add("A");
  form->WriteInstallRecord();
  EXPECT_EQ(Values(ui::kProductKey).size(), 3u);
}

// What a run stopped while writing the record leaves, after every write in turn: no record,
// or one that names its folder and the products to remove from it. The one damaged moment is
// the version key made and nothing yet in it, which start-up names as such.
TEST_F(InstallRecord, AStopBetweenAnyTwoWritesLeavesNoRecordOrOneNamingItsFolder) {
  const ui::InstallationRecord record{"2.0.0", 46000.25, "d:\\web", 42, 1024, true, {"A", "B"}};
  const std::vector<ui::RecordWrite> writes = ui::InstallationRecordWrites(record);
  int damaged = 0;
  for (size_t count = 0; count <= writes.size(); ++count) {
    SCOPED_TRACE(count);
    CleanInstallRecord();
    ui::PerformRecordWrites(writes, count);
    ui::RecordedInstallation recorded = ui::ReadRecordedInstallation();
    switch (pub::JudgeRecord(recorded.exists, recorded.folder)) {
      case pub::RecordState::Absent:
        EXPECT_FALSE(KeyExists(ui::kUninstallKey)) << "Windows lists an installation that is not recorded";
        break;
      case pub::RecordState::Damaged:
        ++damaged;
        EXPECT_TRUE(Values(ui::kVersionKey).empty()) << "only an empty version key may lack the folder";
        break;
      case pub::RecordState::Whole:
        EXPECT_EQ(recorded.folder, "d:\\web");
        EXPECT_EQ(Values(ui::kProductKey).size(), 2u) << "a removal would not find the products";
        break;
    }
  }
  EXPECT_LE(damaged, 1);
  const ui::RecordedInstallation written = ui::ReadRecordedInstallation();
  EXPECT_EQ(pub::JudgeRecord(written.exists, written.folder), pub::RecordState::Whole);

  // A repair writes over a whole record of the same folder: it stays whole all the way.
  for (size_t count = 0; count <= writes.size(); ++count) {
    CleanInstallRecord();
    WriteRecord("d:\\web", {"A"});
    ui::PerformRecordWrites(writes, count);
    EXPECT_EQ(ui::ReadRecordedInstallation().folder, "d:\\web") << count;
  }
}

// A version key without installpath, as a run of an earlier version stopped between its
// first writes leaves: detected, but damaged, with no repair offered and no folder guessed.
TEST_F(InstallRecord, AVersionKeyWithoutItsFolderIsDetectedAsDamaged) {
  ASSERT_TRUE(registry.OpenKey(ui::kVersionKey, true));
  registry.WriteString("ver", "1.5");
  registry.CloseKey();
  CreateWizard(true);
  EXPECT_EQ(form->PageCount(), 7);
  EXPECT_EQ(form->Label32->Caption(), "1.5");
  EXPECT_EQ(form->Label33->Caption(), pub::kDamagedRecordChoiceText);
  EXPECT_FALSE(form->RadioButton4->Enabled()) << "repair is offered";
  EXPECT_TRUE(form->RadioButton3->Enabled());
  EXPECT_TRUE(form->RadioButton5->Enabled());
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn") << "a fresh install starts from the default, in an open box";
}

TEST_F(InstallRecord, AWholeRecordOffersItsRepair) {
  WriteRecord("d:\\web", {"A"});
  CreateWizard(true);
  EXPECT_EQ(form->Label33->Caption(), "您可以选择如下操作方式：");
  EXPECT_TRUE(form->RadioButton4->Enabled());
  EXPECT_EQ(form->Edit1->Text(), "d:\\web");
}

TEST_F(InstallRecord, WithoutTheVersionKeyNothingIsDetected) {
  ASSERT_TRUE(registry.OpenKey(ui::kProductKey, true));
  registry.WriteInteger("eforum", 1);
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey(ui::kUninstallKey, true));
  registry.CloseKey();
  CreateWizard(true);
  EXPECT_EQ(form->PageCount(), 5);
  EXPECT_EQ(form->Edit1->Text(), "c:\\quarn");
}

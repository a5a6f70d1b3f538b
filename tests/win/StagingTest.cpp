// Staging: the package unpacked into the staging folder, the product names gathered.
#include <gtest/gtest.h>

#include <cstring>

#include "common/portable/ProcessValues.h"
#include "common/win/Staging.h"
#include "tests/win/support/EngineFixture.h"
#include "toolkit/core/CodePage.h"

using namespace testing_support;

namespace {

class Staging : public EngineFixture {
 protected:
  bool Unpack() { return pub::UnpackPackage(form, form->Gauge1, form->Label17, form->Memo3); }
  std::vector<std::string> Products() const {
    auto& names = pub::Process().ProductNames;
    return names ? *names : std::vector<std::string>{};
  }
  std::string Staged(const std::string& name) const { return pub::Process().StagingFolder + name; }
};

}  // namespace

TEST_F(Staging, AnEmptyPackageUnpacksNothing) {
  CreateWizardWith({});
  EXPECT_TRUE(Unpack());
  EXPECT_EQ(form->Gauge1->MinValue(), 0);
  EXPECT_EQ(form->Gauge1->MaxValue(), 0);
  EXPECT_EQ(form->Gauge1->Progress(), 0);
  EXPECT_EQ(form->Memo3->LineCount(), 0);
  EXPECT_TRUE(Products().empty());
  EXPECT_EQ(pub::Process().InstalledFileCount, 0);
}

TEST_F(Staging, ProductNamesComeOnceEachIgnoringCaseInFirstSeenOrder) {
  CreateWizardWith({{"forum/a.jsp", "a"}, {"Forum/b.jsp", "bb"}, {"cms/c.jsp", "ccc"}, {"readme.txt", "r"},
                    {"license.txt", "l"}, {"forum/WEB-INF/web.xml", "<web/>"}});
  ASSERT_TRUE(Unpack());
  EXPECT_EQ(Products(), (std::vector<std::string>{"forum", "cms", ""}));
  EXPECT_EQ(ReadFile(Staged("forum\\a.jsp")), "a");
  EXPECT_EQ(ReadFile(Staged("Forum\\b.jsp")), "bb");
  EXPECT_EQ(ReadFile(Staged("readme.txt")), "r");  // a top-level file lands in the staging folder itself
  ASSERT_EQ(form->Memo3->LineCount(), 6);
  EXPECT_EQ(form->Memo3->Line(5), "..\\forum\\WEB-INF\\web.xml");
  EXPECT_EQ(form->Gauge1->MaxValue(), 6);
  EXPECT_EQ(form->Gauge1->Progress(), 6);
  EXPECT_EQ(form->Label17->Caption(), "开始解压......");
  EXPECT_EQ(pub::Process().PackageVersion, "2.0.0");
  EXPECT_DOUBLE_EQ(pub::Process().PackageDate, 46000.5);
  EXPECT_EQ(pub::Process().InstalledFileCount, 6);
}

TEST_F(Staging, AListedOnlyFolderEntryMakesTheFolderAndNoFile) {
  CreateWizardWith({{"blog/images/", "", 1}, {"blog/x.txt", "", 1}});
  ASSERT_TRUE(Unpack());
  DWORD attributes = GetFileAttributesW(tk::ToWide(Staged("blog\\images")).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(Exists(Staged("blog\\x.txt")));
  EXPECT_EQ(Products(), std::vector<std::string>{"blog"});
  EXPECT_EQ(form->Memo3->Line(0), "..\\blog\\images\\");
  EXPECT_EQ(form->Gauge1->Progress(), 2);
}

TEST_F(Staging, ASecondStagingFailsOnTheHeldPackage) {
  CreateWizardWith({{"forum/a.jsp", "a"}});
  ASSERT_TRUE(Unpack());
  EXPECT_FALSE(Unpack());
  EXPECT_TRUE(Products().empty());
}

TEST_F(Staging, DataPastTheEndOfThePackageFailStaging) {
  std::string package = BuildPackage({{"forum/a.jsp", "aaaa"}});
  // The size field of entry 0 lies 262 bytes into the directory, which follows the 4 data bytes.
  uint32_t size = 1000000;
  std::memcpy(&package[115 + 4 + 262], &size, 4);
  CreateWizard(true, package);
  EXPECT_FALSE(Unpack());
}

TEST_F(Staging, HostileNamesRefuseThePackageAndWriteNothing) {
  std::string outside = folder.Path() + "outside.txt";
  for (const char* hostile : {"../outside.txt", "forum/../../outside.txt", "\\abs.txt", "/abs.txt", "C:x.txt",
                              "forum/a:b.txt", "forum\\..\\..\\outside.txt"}) {
    SCOPED_TRACE(hostile);
    WriteFile(folder.Path() + "Setup.pak", BuildPackage({{"forum/first.txt", "1"}, {hostile, "evil"}}));
    // A window of its own each time: the package stays held by the window that staged it.
    auto* wizard = new ui::TfSetupMainForm(&application);
    EXPECT_FALSE(pub::UnpackPackage(wizard, wizard->Gauge1, wizard->Label17, wizard->Memo3));
    EXPECT_FALSE(Exists(outside));
    EXPECT_FALSE(Exists(Staged("forum\\first.txt"))) << "nothing is written before the names are checked";
    delete wizard;  // lets go of Setup.pak
  }
}

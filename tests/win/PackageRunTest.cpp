// What an install run does with its package: reads it once for its index, which every step
// takes, and stages on the install folder's volume, so that placing the files renames them.
#include <gtest/gtest.h>

#include "common/portable/StagingPlace.h"
#include "common/win/PackageLocation.h"
#include "common/win/Staging.h"
#include "pak/PakLocation.h"
#include "setup/win/SetupPackage.h"
#include "tests/win/support/EngineFixture.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"

using namespace testing_support;

namespace {

class PackageRun : public EngineFixture {
 protected:
  // Products without services or configuration to patch, and a file in the package's root.
  void PlaceSmallPackage() {
    PlacePackage({{"eblog/index.html", "blog"}, {"eblog/WEB-INF/web.xml", "<web/>"}, {"docs/index.html", "docs"},
                  {"readme.txt", "r"}});
  }
  void ExpectInstalled(const std::string& target) {
    EXPECT_EQ(ReadFile(target + "\\eblog\\WEB-INF\\web.xml"), "<web/>");
    EXPECT_EQ(ReadFile(target + "\\docs\\index.html"), "docs");
    EXPECT_EQ(ReadFile(target + "\\readme.txt"), "r");
  }
  bool Logged(const std::string& gbk) const {
    return ReadFile(folder.Path() + "run.log").find(tk::WideToUtf8(tk::ToWide(gbk))) != std::string::npos;
  }
  std::string TempStaging() const { return folders.stagingFolder; }
};

}  // namespace

TEST_F(PackageRun, IsOpenedOnceForItsIndexAndThenOnlyByStagingsWriters) {
  PlaceSmallPackage();
  int before = pak::PackageOpenCount();
  InstallOrFail(folder.Path() + "web");
  EXPECT_EQ(pak::PackageOpenCount() - before, 1 + pub::kStagingWriters)
      << "the space check, the port check and the version line open it no more";

  // Given the index its caller read, as the wizard and /S give it, the run reads none itself.
  package = setup::ReadSetupPackage(pub::LocatePackage(folders.setupFolder));
  before = pak::PackageOpenCount();
  InstallOrFail(folder.Path() + "web", /*repair=*/true);
  EXPECT_EQ(pak::PackageOpenCount() - before, pub::kStagingWriters);
  ExpectInstalled(folder.Path() + "web");
}

TEST_F(PackageRun, IntoAnotherVolumeItStagesThereAndRemovesThatStagingFolderAfterwards) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs a drive letter of its own (Wine)";
  PlaceSmallPackage();
  const std::string target = drive.Root() + "quarn";
  const std::string volumeStaging = drive.Root() + pub::kVolumeStagingName + "\\";
  InstallOrFail(target);
  ExpectInstalled(target);
  EXPECT_TRUE(Logged("在安装目录所在的卷上解压：" + volumeStaging));
  EXPECT_FALSE(Exists(volumeStaging)) << "gone once the run ended";
  EXPECT_FALSE(Exists(TempStaging())) << "nothing was staged in the temporary folder";
  ASSERT_TRUE(Uninstall().Done());
  EXPECT_FALSE(Exists(target));
}

TEST_F(PackageRun, WhereNoStagingFolderCanBeMadeOnTheOtherVolumeItStagesInTheTemporaryOne) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs a drive letter of its own (Wine)";
  PlaceSmallPackage();
  // A folder at the staging folder's name holding a file another program keeps open: it cannot
  // be cleared, so it cannot be made anew.
  const std::string held = drive.Root() + pub::kVolumeStagingName + "\\held.txt";
  MakeFolders(drive.Root() + pub::kVolumeStagingName);
  {
    tk::TFileStream holder(held, tk::FileMode::Create);
    InstallOrFail(drive.Root() + "quarn");
  }
  ExpectInstalled(drive.Root() + "quarn");
  EXPECT_TRUE(Logged("改用 " + TempStaging()));
  EXPECT_TRUE(Exists(held)) << "a folder the run did not make is not its to remove";
  ASSERT_TRUE(Uninstall().Done());
}

TEST_F(PackageRun, AnInstallFolderInsideTheStagingFoldersNameIsNeverClearedForStaging) {
  EmptyDriveRoot drive;
  if (!drive.Ready()) GTEST_SKIP() << "needs a drive letter of its own (Wine)";
  PlaceSmallPackage();
  const std::string target = drive.Root() + pub::kVolumeStagingName + "\\quarn";
  InstallOrFail(target);
  InstallOrFail(target, /*repair=*/true);
  ExpectInstalled(target);
  ASSERT_TRUE(Uninstall().Done());
}

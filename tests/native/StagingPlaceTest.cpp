// Where an install into a folder on another volume than the temporary folder's stages.
#include <gtest/gtest.h>

#include "common/portable/StagingPlace.h"

using pub::VolumeStagingFolder;

TEST(StagingPlace, StagesAtTheRootOfTheInstallFoldersVolume) {
  EXPECT_EQ(VolumeStagingFolder("D:\\", "D:\\Programs\\quarn"), "D:\\quarne.staging\\");
  EXPECT_EQ(VolumeStagingFolder("C:\\mnt\\data\\", "C:\\mnt\\data\\quarn"), "C:\\mnt\\data\\quarne.staging\\")
      << "a volume mounted into a folder";
  EXPECT_EQ(VolumeStagingFolder("D:\\", "D:\\quarne.staging2"), "D:\\quarne.staging\\") << "a sibling is no inside";
}

TEST(StagingPlace, NeverWhereMakingItAnewWouldRemoveTheInstallation) {
  EXPECT_EQ(VolumeStagingFolder("D:\\", "D:\\quarne.staging"), "");
  EXPECT_EQ(VolumeStagingFolder("D:\\", "d:\\QUARNE.STAGING\\quarn"), "") << "in any letter case";
  EXPECT_EQ(VolumeStagingFolder("", "D:\\quarn"), "") << "no volume root known";
  EXPECT_EQ(VolumeStagingFolder("D:", "D:\\quarn"), "") << "a root ends in a separator";
}

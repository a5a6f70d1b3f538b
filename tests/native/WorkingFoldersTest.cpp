#include <gtest/gtest.h>

#include "common/portable/WorkingFolders.h"

using namespace pub;

TEST(WorkingFolders, SetupFolderKeepsItsBackslash) {
  EXPECT_EQ(SetupFolderFor("D:\\dist\\setup.exe"), "D:\\dist\\");
  EXPECT_EQ(SetupFolderFor("D:\\setup.exe"), "D:\\");
  // A GBK name whose second byte is 0x5C does not cut the folder in two.
  EXPECT_EQ(SetupFolderFor("D:\\\x95\x5C\\setup.exe"), "D:\\\x95\x5C\\");
  EXPECT_EQ(SetupFolderFor("D:\\dir\x95\x5Csetup.exe"), "D:\\");
}

TEST(WorkingFolders, StagingFolderIsFixedPerTemporaryFolder) {
  EXPECT_EQ(StagingFolderFor("C:\\Temp\\"), "C:\\Temp\\quarne\\");
  EXPECT_EQ(StagingFolderFor("C:\\Temp\\"), StagingFolderFor("C:\\Temp\\"));
}

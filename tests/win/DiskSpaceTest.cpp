// The space check before a run writes anything.
#include <gtest/gtest.h>

#include "common/win/DiskSpace.h"
#include "tests/win/support/WinTestSupport.h"

using namespace testing_support;

TEST(DiskSpace, FoldersOfOneVolumeAreSummedAndAskedOnce) {
  TempFolder folder;
  // Each need fits alone; together, on one volume, they cannot.
  const uint64_t half = uint64_t{1} << 62;
  EXPECT_FALSE(pub::FindSpaceShortage({{folder.Path(), 1024}}));
  std::optional<pub::SpaceShortage> shortage =
      pub::FindSpaceShortage({{folder.Path() + "not-yet-made", half}, {folder.Path(), half}});
  ASSERT_TRUE(shortage);
  EXPECT_EQ(shortage->needed, 2 * half);
  EXPECT_LT(shortage->available, shortage->needed);
  EXPECT_EQ(shortage->drive.substr(1), ":\\") << shortage->drive;
}

TEST(DiskSpace, SizesReadAsPeopleReadThem) {
  EXPECT_EQ(pub::ByteCountText(512 * 1024), "512 KB");
  EXPECT_EQ(pub::ByteCountText(3 * 1024 * 1024 / 2), "1.5 MB");
  EXPECT_EQ(pub::ByteCountText(uint64_t{5} << 30), "5.0 GB");
}

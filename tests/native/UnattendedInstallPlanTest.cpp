// The unattended install's first decision: first install or repair, and into which folder.
#include <gtest/gtest.h>

#include "setup/portable/UnattendedInstallPlan.h"

using pub::PlanUnattendedInstall;
using pub::UnattendedInstallPlan;

TEST(UnattendedInstallPlan, WithoutARecordItInstallsIntoTheGivenOrDefaultFolder) {
  UnattendedInstallPlan plan = PlanUnattendedInstall(false, "", "");
  EXPECT_TRUE(plan.Ok());
  EXPECT_FALSE(plan.repair);
  EXPECT_EQ(plan.folder, "c:\\quarn");
  EXPECT_EQ(PlanUnattendedInstall(false, "", "D:\\Web\\Quarn\\").folder, "D:\\Web\\Quarn");
}

TEST(UnattendedInstallPlan, ARecordWithAUsableFolderIsRepairedThere) {
  UnattendedInstallPlan plan = PlanUnattendedInstall(true, "d:\\recorded\\", "");
  EXPECT_TRUE(plan.Ok());
  EXPECT_TRUE(plan.repair);
  EXPECT_EQ(plan.folder, "d:\\recorded");
  EXPECT_EQ(PlanUnattendedInstall(true, "d:\\recorded", "D:\\RECORDED\\").folder, "d:\\recorded")
      << "the same folder, written otherwise";
  UnattendedInstallPlan moved = PlanUnattendedInstall(true, "d:\\recorded", "e:\\other");
  EXPECT_FALSE(moved.Ok());
  EXPECT_NE(moved.error.find("d:\\recorded"), std::string::npos) << moved.error;
  EXPECT_NE(moved.error.find("e:\\other"), std::string::npos) << moved.error;
  EXPECT_EQ(moved.folder, "");
}

// A damaged record (no usable folder) is never repaired into the default: /D must say where.
TEST(UnattendedInstallPlan, ADamagedRecordIsRefusedByNameUnlessTheCallerSaysWhereToRepair) {
  for (const char* recorded : {"", "quarn", "c:\\"}) {
    SCOPED_TRACE(recorded);
    UnattendedInstallPlan refused = PlanUnattendedInstall(true, recorded, "");
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.error.find("安装记录已损坏"), std::string::npos) << refused.error;
    EXPECT_NE(refused.error.find("/D="), std::string::npos) << "says how to go on: " << refused.error;
    EXPECT_EQ(refused.folder, "");
    UnattendedInstallPlan plan = PlanUnattendedInstall(true, recorded, "e:\\other");
    EXPECT_TRUE(plan.Ok());
    EXPECT_TRUE(plan.repair);
    EXPECT_EQ(plan.folder, "e:\\other");
  }
}

// Recorded before the batch-file rule: neither repaired there nor moved elsewhere unasked.
TEST(UnattendedInstallPlan, ARecordedFolderTheBatchFilesCannotCarryIsRefusedNamingTheCharacter) {
  for (const char* command : {"", "d:\\q&t"}) {
    UnattendedInstallPlan plan = PlanUnattendedInstall(true, "d:\\q&t", command);
    EXPECT_FALSE(plan.Ok()) << command;
    EXPECT_NE(plan.error.find("“&”"), std::string::npos) << plan.error;
    EXPECT_NE(plan.error.find("d:\\q&t"), std::string::npos) << plan.error;
  }
}

TEST(UnattendedInstallPlan, AFolderTheWizardWouldNotTakeIsRefusedByName) {
  for (const char* folder : {"quarn", "c:", "c:\\", "\\\\server\\q", "c:\\a|b", "c:\\my dir", "c:\\安装", "C:\\q&t",
                             "c:\\a(1)", "c:\\50%"}) {
    for (bool recordExists : {false, true}) {
      UnattendedInstallPlan plan = PlanUnattendedInstall(recordExists, "", folder);
      EXPECT_FALSE(plan.Ok()) << folder;
      EXPECT_NE(plan.error.find(std::string("/D=") + folder), std::string::npos) << plan.error;
    }
  }
}

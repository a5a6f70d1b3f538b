// Which version is newer, and the unattended run's answer to an older package.
#include <gtest/gtest.h>

#include "common/portable/VersionOrder.h"

TEST(VersionOrder, PartsCompareAsNumbersMissingPartsAsZeroAndNonVersionsNotAtAll) {
  struct Case {
    const char* a;
    const char* b;
    std::optional<int> order;
  };
  const Case cases[] = {
      {"1.0.0", "3.0.0", -1},   {"3.0.0", "1.0.0", 1},     {"2.0.0", "2.0.0", 0},
      {"1.10.0", "1.9.0", 1},   {"1.9", "1.10", -1},       {"2.0", "2.0.0", 0},
      {"2", "2.0.1", -1},       {"02.0", "2.0", 0},        {"1.0.0", "1.0.0b", -1},
      {"1.0.0b", "1.0.1", -1},  {"99999999999999999999.0", "100000000000000000000.0", -1},
      {"", "1.0", std::nullopt}, {"V2.0", "1.0", std::nullopt}, {"1..0", "1.0", std::nullopt},
      {"1.0.", "1.0", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(pub::CompareVersions(c.a, c.b), c.order);
  }
  EXPECT_TRUE(pub::IsDowngrade("1.0.0", "3.0.0"));
  EXPECT_FALSE(pub::IsDowngrade("3.0.0", "3.0"));
  EXPECT_FALSE(pub::IsDowngrade("1.0.0", "")) << "an unknown recorded version decides nothing";
}

TEST(VersionOrder, AnUnattendedDowngradeIsRefusedUnlessAllowedAndTheLogSaysWhich) {
  const pub::DowngradeDecision refused = pub::JudgeUnattendedDowngrade("1.0.0", "3.0.0", false);
  EXPECT_TRUE(refused.refused);
  for (const char* part : {"1.0.0", "3.0.0", "已拒绝", "/ALLOWDOWNGRADE"})
    EXPECT_NE(refused.note.find(part), std::string::npos) << part;
  const pub::DowngradeDecision allowed = pub::JudgeUnattendedDowngrade("1.0.0", "3.0.0", true);
  EXPECT_FALSE(allowed.refused);
  EXPECT_NE(allowed.note.find("按 /ALLOWDOWNGRADE 降级安装"), std::string::npos) << allowed.note;
  for (bool allow : {false, true}) {
    const pub::DowngradeDecision upgrade = pub::JudgeUnattendedDowngrade("3.0.0", "1.0.0", allow);
    EXPECT_FALSE(upgrade.refused);
    EXPECT_EQ(upgrade.note, "");
  }
}

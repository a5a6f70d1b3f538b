// The MSI's registration removed by our own uninstaller: only a product code reaches msiexec.
#include <gtest/gtest.h>

#include "setup/portable/MsiProductRemoval.h"

TEST(MsiProductRemoval, OnlyAProductCodeBecomesACommand) {
  const auto command = pub::MsiRemovalCommand("C:\\windows\\system32", "{DEC01808-5579-5274-9af9-83E04D5FDB8E}");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->program, "C:\\windows\\system32\\msiexec.exe");
  EXPECT_EQ(command->commandLine,
            "\"C:\\windows\\system32\\msiexec.exe\" /x {DEC01808-5579-5274-9af9-83E04D5FDB8E} /qn /norestart");
  EXPECT_EQ(command->boundSeconds, pub::kMsiRemovalSeconds);
  for (const char* refused : {"", "DEC01808-5579-5274-9AF9-83E04D5FDB8E", "{DEC01808-5579-5274-9AF9-83E04D5FDB8E",
                              "{DEC01808-5579-5274-9AF9-83E04D5FDB8G}", "{DEC01808-5579-5274-9AF9-83E04D5FDB8E} /qb",
                              "{DEC01808-5579-5274-9AF9-83E04D5FDB8E}\" & del x", "{DEC0180855795274-9AF9-83E04D5FDB8E-}"})
    EXPECT_FALSE(pub::MsiRemovalCommand("C:\\windows\\system32", refused)) << refused;
}

TEST(MsiProductRemoval, AProductAlreadyGoneCountsAsRemoved) {
  for (uint32_t done : {0u, 1605u, 1641u, 3010u}) EXPECT_TRUE(pub::MsiRemovalSucceeded(done)) << done;
  for (uint32_t failed : {1u, 1603u, 1618u, 1619u}) EXPECT_FALSE(pub::MsiRemovalSucceeded(failed)) << failed;
}

// The file count's attribute rule. Wine lists every plain file with the archive attribute, so a
// file whose only attribute is NORMAL can be met only on Windows; the rule is checked here.
#include <gtest/gtest.h>

#include "common/portable/FileCountRule.h"

using pub::IsCountedFile;

TEST(FileCountRule, ReadOnlyHiddenSystemAndArchiveFilesCountNormalOnlyDoesNot) {
  for (uint32_t attributes : {0x01u, 0x02u, 0x04u, 0x08u, 0x20u, 0x21u, 0x20u | 0x2000u, 0x80u | 0x20u})
    EXPECT_TRUE(IsCountedFile(attributes)) << attributes;
  for (uint32_t attributes : {0x00u, 0x80u, 0x100u, 0x2000u, 0x80u | 0x2000u})
    EXPECT_FALSE(IsCountedFile(attributes)) << attributes;
}

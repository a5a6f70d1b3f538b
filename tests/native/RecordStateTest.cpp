// Whether the installation record can be trusted: absent, whole, or damaged.
#include <gtest/gtest.h>

#include "common/portable/RecordState.h"

using pub::JudgeRecord;
using pub::RecordState;

TEST(RecordState, TheVersionKeyMarksARecordAndItsFolderMakesItWhole) {
  EXPECT_EQ(JudgeRecord(false, ""), RecordState::Absent);
  EXPECT_EQ(JudgeRecord(false, "d:\\web"), RecordState::Absent) << "a folder without the key is no record";
  for (const char* folder : {"d:\\web", "c:\\quarn\\", "d:\\q&t", "c:\\a b"})
    EXPECT_EQ(JudgeRecord(true, folder), RecordState::Whole) << folder;
  // A run stopped after making the key, or a folder that could only be guessed at.
  for (const char* folder : {"", "quarn", "c:", "c:\\", "\\\\server\\q", "c:\\a|b", "c:\\q\\..\\.."})
    EXPECT_EQ(JudgeRecord(true, folder), RecordState::Damaged) << folder;
}

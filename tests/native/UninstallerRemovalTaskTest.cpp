// The task an uninstaller leaves for its copy: read back only as written, honoured only by the
// copy it names, and only for an install folder's uninstaller that no record names any more.
#include <gtest/gtest.h>

#include "setup/portable/UninstallerRemovalTask.h"

namespace pub {
namespace {

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";

UninstallerRemovalTask Task(const std::string& uninstaller = "C:\\quarn\\install\\Uninstall.exe") {
  return {4242, kToken, uninstaller};
}

RemovalTaskFacts CopyFacts() {
  RemovalTaskFacts facts;
  facts.ownFileName = std::string(kToken) + ".exe";
  facts.ownFolderName = "quarn-uninstall-4242";
  facts.ownFolderPrivate = true;
  return facts;
}

TEST(UninstallerRemovalTask, OnlyAWellFormedTaskReadsBack) {
  const std::optional<UninstallerRemovalTask> task = ParseRemovalTask(FormatRemovalTask(Task()));
  ASSERT_TRUE(task);
  EXPECT_EQ(task->waitFor, 4242u);
  EXPECT_EQ(task->token, kToken);
  EXPECT_EQ(task->uninstaller, "C:\\quarn\\install\\Uninstall.exe");
  // The form an earlier version wrote ("pid|path") carries no token.
  for (const char* text : {"", "4242|C:\\quarn\\install\\Uninstall.exe", "4242||C:\\x", "x|" "0123456789abcdef0123456789abcdef|C:\\x",
                           "0|0123456789abcdef0123456789abcdef|C:\\x", "99999999999|0123456789abcdef0123456789abcdef|C:\\x",
                           "4242|0123456789ABCDEF0123456789ABCDEF|C:\\x", "4242|0123456789abcdef|C:\\x",
                           "4242|0123456789abcdef0123456789abcdef|"})
    EXPECT_FALSE(ParseRemovalTask(text)) << text;
}

TEST(UninstallerRemovalTask, OnlyTheCopyNamedAfterTheTokenInItsOwnPrivateFolderIsTheScheduledOne) {
  EXPECT_TRUE(IsScheduledCopy(Task(), CopyFacts()));
  RemovalTaskFacts setupExe = CopyFacts();
  setupExe.ownFileName = "setup.exe";
  RemovalTaskFacts otherFolder = CopyFacts();
  otherFolder.ownFolderName = "quarn-uninstall-1";
  RemovalTaskFacts someoneElses = CopyFacts();
  someoneElses.ownFolderPrivate = false;
  for (const RemovalTaskFacts& facts : {setupExe, otherFolder, someoneElses}) EXPECT_FALSE(IsScheduledCopy(Task(), facts));
}

TEST(UninstallerRemovalTask, OnlyAnInstallFoldersUninstallerWithoutARecordMayGo) {
  EXPECT_EQ(RemovalTaskProblem(Task(), CopyFacts()), "");
  RemovalTaskFacts otherRecord = CopyFacts();
  otherRecord.recordExists = true;
  otherRecord.recordedFolder = "D:\\elsewhere";
  EXPECT_EQ(RemovalTaskProblem(Task(), otherRecord), "");

  RemovalTaskFacts recorded = CopyFacts();
  recorded.recordExists = true;
  recorded.recordedFolder = "c:\\QUARN\\";
  EXPECT_NE(RemovalTaskProblem(Task(), recorded), "");
  recorded.recordedFolder = "";  // a damaged record: its folder cannot be read
  EXPECT_NE(RemovalTaskProblem(Task(), recorded), "");
  RemovalTaskFacts linked = CopyFacts();
  linked.pathHoldsLink = true;
  EXPECT_NE(RemovalTaskProblem(Task(), linked), "");
  for (const char* path : {"C:\\Users\\me\\Documents\\thesis.doc", "C:\\Windows\\System32\\kernel32.dll",
                           "\\install\\Uninstall.exe", "install\\Uninstall.exe", "C:\\install\\Uninstall.exe",
                           "C:\\a\\..\\install\\Uninstall.exe", "C:\\quarn\\install\\Uninstall.exe.bak"})
    EXPECT_NE(RemovalTaskProblem(Task(path), CopyFacts()), "") << path;
}

}  // namespace
}  // namespace pub

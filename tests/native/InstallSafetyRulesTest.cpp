// What a shared machine needs decided before anything is written or deleted: which folders
// get the protected access list, and whether a record's folder is the installation a removal
// may act on.
#include <gtest/gtest.h>

#include "common/portable/FolderProtection.h"
#include "setup/portable/RemovalTarget.h"

using pub::FolderProtection;
using pub::InstallFolderFacts;
using pub::PlanFolderProtection;
using pub::RemovalTargetFacts;
using pub::RemovalTargetProblem;
using Folders = std::vector<std::string>;

namespace {

InstallFolderFacts Facts(bool existed, Folders entries, bool recordedHere) {
  return {"D:\\web", existed, std::move(entries), recordedHere, {"java", "tomcat5", "MySQL5"}, {"readme.txt"}};
}

}  // namespace

TEST(FolderProtection, ANewEmptyOrOwnFolderIsProtectedWholeAnyOtherOnlyInOurFolders) {
  const Folders perProduct{"D:\\web\\java", "D:\\web\\tomcat5", "D:\\web\\MySQL5", "D:\\web\\install"};
  struct Case {
    const char* name;
    InstallFolderFacts facts;
    bool whole;
  } cases[] = {
      {"new folder", Facts(false, {}, false), true},
      {"an empty folder someone made beforehand", Facts(true, {}, false), true},
      {"repair: only what the package places, in any case", Facts(true, {"JAVA", "Tomcat5", "install", "README.TXT"}, true),
       true},
      {"repair of a folder that also holds the user's files", Facts(true, {"tomcat5", "photos"}, true), false},
      {"first install into a folder with someone's files", Facts(true, {"notes.txt"}, false), false},
      {"first install over folders named like ours, made by someone else", Facts(true, {"tomcat5"}, false), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FolderProtection protection = PlanFolderProtection(c.facts);
    EXPECT_EQ(protection.wholeRoot, c.whole);
    EXPECT_EQ(protection.folders, c.whole ? Folders{"D:\\web"} : perProduct);
    EXPECT_EQ(protection.sddl, pub::kProtectedFolderSddl);
    for (const std::string& folder : protection.folders)
      EXPECT_NE(protection.Description().find(folder), std::string::npos) << protection.Description();
  }
}

TEST(FolderProtection, TheAccessListIsProtectedOwnedByAdministratorsAndGivesUsersNoWrite) {
  const std::string sddl = pub::kProtectedFolderSddl;
  EXPECT_EQ(sddl.rfind("O:BA", 0), 0u) << "an owner other than Administrators may change the list again";
  EXPECT_NE(sddl.find("D:P"), std::string::npos) << "nothing may be inherited from the drive's root";
  EXPECT_NE(sddl.find("(A;OICI;FA;;;SY)"), std::string::npos);
  EXPECT_NE(sddl.find("(A;OICI;FA;;;BA)"), std::string::npos);
  // Read, list, attributes, execute: 0x1200a9, no write, append or delete bit.
  EXPECT_NE(sddl.find("(A;OICI;0x1200a9;;;BU)"), std::string::npos);
  EXPECT_EQ(sddl.find(";;;AU)"), std::string::npos);
  EXPECT_EQ(sddl.find(";;;WD)"), std::string::npos);
}

namespace {

RemovalTargetFacts Proven(const std::string& folder) {
  RemovalTargetFacts facts;
  facts.recordedFolder = folder;
  facts.holdsUninstaller = facts.holdsPlacedFiles = true;
  facts.systemFolders = {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\Users",
                         "C:\\Users\\张三", "C:\\Users\\张三\\Documents", "C:\\ProgramData"};
  return facts;
}

}  // namespace

TEST(RemovalTarget, OnlyAFolderHoldingThisInstallationsUninstallerAndListIsRemoved) {
  EXPECT_EQ(RemovalTargetProblem(Proven("c:\\quarn")), "");
  EXPECT_EQ(RemovalTargetProblem(Proven("D:\\网站\\quarn\\")), "") << "a GBK name, a trailing '\\'";
  RemovalTargetFacts noUninstaller = Proven("C:\\data");
  noUninstaller.holdsUninstaller = false;
  RemovalTargetFacts noList = Proven("C:\\data");
  noList.holdsPlacedFiles = false;
  for (const RemovalTargetFacts& facts : {noUninstaller, noList}) {
    const std::string problem = RemovalTargetProblem(facts);
    EXPECT_NE(problem.find("C:\\data"), std::string::npos) << "names the folder: " << problem;
    EXPECT_NE(problem.find("没有删除任何文件"), std::string::npos) << problem;
    EXPECT_NE(problem.find("安装记录已保留"), std::string::npos) << problem;
  }
}

TEST(RemovalTarget, DrivesSharesRelativePathsAndSystemFoldersAreNeverInstallFolders) {
  // Each of these holds an uninstaller and a list, as a planted pair would.
  for (const char* folder : {"C:", "C:\\", "c:\\\\", "\\\\server\\share", "\\\\server\\share\\", "quarn", "\\quarn",
                             "C:quarn", "C:\\quarn\\..", "C:\\WINDOWS", "c:\\windows\\", "C:\\program files",
                             "C:\\Program Files (x86)\\", "c:\\users", "C:\\USERS\\张三", "C:\\Users\\张三\\documents\\",
                             "C:\\ProgramData"}) {
    SCOPED_TRACE(folder);
    EXPECT_NE(RemovalTargetProblem(Proven(folder)), "");
  }
  // Only a text that leads to no folder at all is a damaged record, which a removal may delete.
  for (const char* folder : {"", "quarn", "\\quarn", "C:quarn", "C:\\quarn\\.."}) EXPECT_TRUE(pub::NamesNoFolder(folder)) << folder;
  for (const char* folder : {"C:\\", "\\\\server\\share", "C:\\Windows", "C:\\data"})
    EXPECT_FALSE(pub::NamesNoFolder(folder)) << folder;
  // A folder inside one of them may be an install folder.
  EXPECT_EQ(RemovalTargetProblem(Proven("C:\\Program Files\\quarn")), "");
  EXPECT_EQ(RemovalTargetProblem(Proven("C:\\Users\\张三\\quarn")), "");
}

TEST(RemovalTarget, AnUninstallerRemovesOnlyTheFolderItWasStartedFrom) {
  RemovalTargetFacts facts = Proven("C:\\quarn");
  facts.uninstallerFolder = "c:\\QUARN\\";
  EXPECT_EQ(RemovalTargetProblem(facts), "");
  facts.uninstallerFolder = "D:\\quarn";
  const std::string problem = RemovalTargetProblem(facts);
  EXPECT_NE(problem.find("C:\\quarn"), std::string::npos) << problem;
  EXPECT_NE(problem.find("D:\\quarn"), std::string::npos) << problem;
}

TEST(RemovalTarget, SameFolderFoldsCaseAndTrailingSeparatorsButNotGbkTrailBytes) {
  EXPECT_TRUE(pub::SameFolder("C:\\Quarn\\", "c:\\quarn"));
  EXPECT_TRUE(pub::SameFolder("C:\\ＡＢ", "c:\\ａｂ"));
  EXPECT_FALSE(pub::SameFolder("C:\\quarn", "C:\\quarn2"));
  // A trail byte 0x5C ("\x95\x5C" is one GBK character) is no separator.
  EXPECT_FALSE(pub::SameFolder("C:\\\x95\x5C", "C:\\\x95"));
}

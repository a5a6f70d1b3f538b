// The install run's patch rules: the configuration files that name the default folder are
// made to name the install folder, for the products that were installed.
#include <windows.h>

#include <set>
#include <string>
#include <utility>

#include "common/portable/GbkCase.h"
#include "common/portable/InstallFolderRule.h"
#include "common/portable/PathText.h"
#include "common/win/TextFile.h"
#include "setup/win/InstallEngine.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/FileStream.h"

namespace setup {
namespace {

// Replaces a default prefix in a file at most once per run: a folder that itself begins with
// the default one would otherwise be extended again by the second branch.
// A file kept as the user or a service left it is not patched again either: it already holds
// the install folder, which may itself begin with the default one.
class OncePerRun {
 public:
  explicit OncePerRun(const std::set<std::string>& kept) : kept_(kept) {}
  void Replace(const std::string& file, const std::string& find, const std::string& replacement) {
    const std::string key = pub::GbkUpperCase(file);
    if (kept_.count(key) || !done_.insert({key, find}).second) return;
    pub::ReplaceInTextFile(file, find, replacement);
  }

 private:
  const std::set<std::string>& kept_;
  std::set<std::pair<std::string, std::string>> done_;
};

}  // namespace

void InstallEngine::Patch() {
  const std::string& installFolder = folder_;
  Announce("正在修改基础软件配置文件......");
  const std::string forumXml = installFolder + "\\tomcat5\\conf\\Catalina\\localhost\\forum.xml";
  // Which products the configuration was patched for; the default folder needs no patching.
  bool forum = false, cms = false;
  if (installFolder != pub::kDefaultInstallFolder) {  // the shipped configuration needs no patching
    std::string slashForm = installFolder;
    pub::ReplaceChar('\\', '/', slashForm);
    const std::string catalina = installFolder + "\\tomcat5\\bin\\catalina.bat";
    const std::string cmsXml = installFolder + "\\tomcat5\\conf\\Catalina\\localhost\\cms.xml";
    const std::string myIni = installFolder + "\\MySQL5\\my.ini";
    OncePerRun patch(kept_);
    if (tk::FolderExists(installFolder + "\\eforum\\WEB-INF\\classes\\")) {
      patch.Replace(catalina, "c:\\quarn\\", installFolder + "\\");
      patch.Replace(forumXml, "c:/quarn/", slashForm + "/");
      patch.Replace(myIni, "C:/quarn/", slashForm + "/");
      forum = true;
    }
    if (tk::FolderExists(installFolder + "\\ecms\\")) {
      if (tk::FileExists(forumXml)) patch.Replace(forumXml, "c:/quarn/", slashForm + "/");
      patch.Replace(catalina, "c:\\quarn\\", installFolder + "\\");
      patch.Replace(cmsXml, "c:/quarn/", slashForm + "/");
      patch.Replace(myIni, "C:/quarn/", slashForm + "/");
      cms = true;
    }
  }
  if (kept_.count(pub::GbkUpperCase(forumXml))) return;
  if (forum && cms)
    pub::ReplaceInTextFile(forumXml, "Context path=\"\"", "Context path=\"/forum\"");
  else if (cms)
    DeleteFileW(tk::ToWide(forumXml).c_str());
}

}  // namespace setup

#include "tests/win/support/EngineFixture.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/driver/Files.h"
#include "tests/win/support/FileTreeSupport.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Registry.h"

namespace testing_support {
namespace {

const char kEnvironmentKey[] = "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";


}  // namespace

std::vector<PackageFile> BundleFiles(bool forum, bool cms) {
  std::vector<PackageFile> files = {
      {"java/README.txt", "runtime\r\n"},
      {"tomcat5/bin/catalina.bat", "set JAVA_HOME=c:\\quarn\\java\r\nset CATALINA_HOME=C:\\Quarn\\tomcat5\r\n"},
      {"tomcat5/conf/Catalina/localhost/forum.xml",
       "<Context path=\"\" docBase=\"c:/quarn/eforum\">\r\n<Parameter value=\"C:/QUARN/eforum/upload\"/>\r\n</Context>\r\n"},
      {"tomcat5/conf/Catalina/localhost/cms.xml", "<Context path=\"/cms\" docBase=\"c:/quarn/ecms\"/>\r\n"},
      {"MySQL5/bin/README.txt", "tools\r\n"},
      {"MySQL5/my.ini", "[mysqld]\r\nbasedir=C:/quarn/MySQL5\r\ndatadir=C:/quarn/MySQL5/data\r\n"},
      {"eblog/index.html", "<h1>blog</h1>\r\n"},
  };
  if (forum) files.push_back({"eforum/WEB-INF/classes/forum.properties", "url=jdbc:mysql://localhost/forum\r\n"});
  if (cms) files.push_back({"ecms/index.html", "<h1>cms</h1>\r\n"});
  // Without the forum or the cms a run patches no configuration: my.ini would keep naming the
  // default folder's data, where the database's stand-in would not find it.
  if (!forum && !cms) files[5].content = "[mysqld]\r\nbasedir=C:/quarn/MySQL5\r\n";
  // The services' stand-ins, built beside the test program: the run starts them, from the
  // installed tree, and waits until they run and the site answers. The database's stand-in,
  // like the real server, does not start without the data folder its my.ini names.
  for (const char* tool : {"MySQL5/bin/mysqld-nt.exe", "tomcat5/bin/tomcat5-service.exe", "tomcat5/bin/service.bat"}) {
    const std::string name = tool;
    files.push_back({name, ReadBytes(tk::FromWide(e2e::ProgramFolder()) + name.substr(name.rfind('/') + 1))});
  }
  files.push_back({"MySQL5/data/ibdata1", ""});
  return files;
}

MachineStateGuard::MachineStateGuard() : savedJavaHome_(EngineFixture::SystemJavaHome()) {
  EngineFixture::DeleteService(L"mysqlquarn");
  EngineFixture::DeleteService(L"tomcatquarn");
  RemoveTree("c:\\quarn");
}

MachineStateGuard::~MachineStateGuard() {
  EngineFixture::DeleteService(L"mysqlquarn");
  EngineFixture::DeleteService(L"tomcatquarn");
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  registry.DeleteKey("\\SYSTEM\\CurrentControlSet\\Services\\tomcatquarn");
  EngineFixture::SetSystemJavaHome(savedJavaHome_);
  RemoveTree("c:\\quarn");
}

void EngineFixture::SetUp() {
  CleanInstallRecord();
  folders = {folder.Path(), folder.Path() + "staging\\", tk::ToWide(folder.Path() + "run.log")};
  machine_ = std::make_unique<MachineStateGuard>();
}

void EngineFixture::TearDown() {
  machine_.reset();
  CleanInstallRecord();
  EXPECT_TRUE(boxes.Boxes().empty()) << "a run showed a message box";
}

void EngineFixture::PlacePackage(const std::vector<PackageFile>& files) {
  WriteFile(folder.Path() + "Setup.pak", BuildPackage(files));
}

setup::InstallOutcome EngineFixture::Install(const std::string& target, bool repair) {
  setup::InstallPlan plan{folders};
  plan.folder = target;
  plan.repair = repair;
  plan.onStaged = [this](const pub::StagingResult& result) { staged.push_back(result); };
  plan.bounds = bounds;
  plan.package = package;
  return setup::RunInstall(plan, progress);
}

setup::UninstallOutcome EngineFixture::Uninstall() { return setup::RunUninstall({folders, bounds}, progress); }

void EngineFixture::InstallOrFail(const std::string& target, bool repair) {
  const setup::InstallOutcome outcome = Install(target, repair);
  // GBK would not survive the console: the reason is shown in UTF-8.
  ASSERT_TRUE(outcome.Done()) << "the run failed: " << tk::WideToUtf8(tk::ToWide(outcome.reason));
}

std::string EngineFixture::SystemJavaHome() {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kEnvironmentKey, false) || !registry.ValueExists("JAVA_HOME")) return std::string();
  return registry.ReadString("JAVA_HOME");
}

void EngineFixture::SetSystemJavaHome(const std::string& value) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kEnvironmentKey, false)) return;
  if (value.empty())
    registry.DeleteValue("JAVA_HOME");
  else
    registry.WriteString("JAVA_HOME", value);
}

void EngineFixture::DeleteService(const wchar_t* name) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceW(manager, name, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status;
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    ::DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

std::string EngineFixture::ReadFile(const std::string& path) {
  std::ifstream file(std::filesystem::path(tk::ToWide(path)), std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

bool EngineFixture::Exists(const std::string& path) {
  return GetFileAttributesW(tk::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void EngineFixture::MakeFolders(const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(tk::ToWide(path)));
}

void EngineFixture::WriteFile(const std::string& path, const std::string& content) {
  std::ofstream file(std::filesystem::path(tk::ToWide(path)), std::ios::binary);
  file << content;
}

}  // namespace testing_support

// Installs an administrator can roll out: setup.exe /S with no window and an exit code, the
// uninstaller the uninstall entry names (silent, with its window, and through the system's
// own list of programs), the refusals and their exit codes, and the run log.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/portable/EmbeddedPackage.h"
#include "pak/Pak.h"
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/FolderLinks.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/ToolConsoles.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/MemoryStream.h"

namespace e2e {
namespace {

std::string Utf8(const char* gbk) { return tk::WideToUtf8(tk::ToWide(gbk)); }

// The run log's lines, each without its "YYYY-MM-DD HH:MM:SS " stamp; a line without one is
// left as it is, which no expectation below matches.
std::vector<std::string> LogTexts(const std::string& utf8) {
  static const std::regex stamp("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} ");
  std::vector<std::string> texts;
  std::istringstream lines(utf8);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch found;
    texts.push_back(std::regex_search(line, found, stamp) ? found.suffix().str() : line);
  }
  return texts;
}

// The id of a running process by its program's name; 0 when there is none.
DWORD ProcessNamed(const wchar_t* name) {
  DWORD id = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !id; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, name) == 0) id = entry.th32ProcessID;
  CloseHandle(snapshot);
  return id;
}

class Unattended : public EndToEnd {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    // Where winget asks for the log: the temporary folder of a profile whose name GBK cannot
    // hold. Every run below that takes LogOption() must write there.
    std::wstring folder = setupFolder->Path();
    for (const wchar_t* part : {L"users\\", L"W\u0142a\u015bciciel Stra\u00dfe\\", L"Temp\\", L"WinGet\\"}) {
      folder += part;
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << tk::WideToUtf8(folder);
    }
    log = folder + L"x.log";
  }

  // Runs a program to its end as a deployment tool does; notes whether it ever showed a window.
  DWORD RunToEnd(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments) {
    SetupProcess& process = StartWith(folder, program, arguments);
    EXPECT_TRUE(process.Started());
    WaitUntil(
        [&] {
          if (!TopLevelWindows(process.Id()).empty()) showedWindow = true;
          return !process.Running();
        },
        kRunWait);
    EXPECT_FALSE(process.Running()) << "did not end";
    return process.ExitCode();
  }
  DWORD Install(const std::wstring& arguments) { return RunToEnd(setupFolder->Path(), L"setup.exe", arguments); }
  std::wstring LogOption() const { return L"/LOG=\"" + log + L"\""; }

  void ExpectInstalledIn(const std::string& folder) {
    EXPECT_EQ(RecordedString(L"installpath"), folder);
    for (const std::string& product : ProductFolders())
      EXPECT_TRUE(FolderExists(tk::ToWide(folder + "\\" + product))) << product;
    // The uninstaller is this very program, byte for byte: a signed setup.exe leaves a signed one.
    const std::string uninstaller = FileBytes(tk::ToWide(folder + "\\install\\Uninstall.exe"));
    EXPECT_FALSE(uninstaller.empty()) << "no install\\Uninstall.exe";
    EXPECT_TRUE(uninstaller == FileBytes(setupFolder->Path() + L"setup.exe")) << "install\\Uninstall.exe is not setup.exe";
    ExpectServicesAndSite();
  }
  void ExpectServicesAndSite() {
    EXPECT_TRUE(WaitForRunning(L"mysqlquarn", kWindowWait));
    EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
    EXPECT_EQ(HttpGet("/", 8080).status, 200);
  }
  void ExpectAllGone(const std::string& folder) {
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(tk::ToWide(folder)); })) << "the install folder stays";
    EXPECT_FALSE(QueryService(L"mysqlquarn").exists);
    EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
    EXPECT_FALSE(InstallRecordExists());
    EXPECT_FALSE(UninstallEntryExists());
    std::wstring java;
    EXPECT_EQ(ReadSystemVariable(L"JAVA_HOME", &java), javaHome->WasSet());
  }

  std::wstring log;
  bool showedWindow = false;
};

}  // namespace

TEST_F(Unattended, InstallsWithoutAWindowAndTheSilentUninstallerRemovesEverything) {
  // Nor do the service tools it starts: each has a console of its own with no window.
  ToolConsoles consoles(setupFolder->Path() + L"consoles.txt");
  const std::vector<std::string> hidden = {"mysqld-nt: no window", "tomcat5-service: no window"};
  // As winget passes them: the log's whole option quoted.
  EXPECT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder) + L" \"/LOG=" + log + L"\""), 0u);
  EXPECT_FALSE(showedWindow) << "an unattended install shows no window";
  EXPECT_EQ(consoles.Take(), hidden);
  ExpectInstalledIn(kOwnFolder);
  EXPECT_FALSE(FolderExists(StagingFolder()));
  std::string text = FileBytes(log);
  for (const char* part : {"安装", "解压", "拷贝", "修改配置", "环境变量", "服务", "注册表", "成功"})
    EXPECT_NE(text.find(Utf8(part)), std::string::npos) << part << " missing from the log:\n" << text;

  const std::wstring installFolder = tk::ToWide(std::string(kOwnFolder) + "\\install\\");
  EXPECT_EQ(RunToEnd(installFolder, L"Uninstall.exe", L"/S " + LogOption()), 0u);
  EXPECT_FALSE(showedWindow);
  std::vector<std::string> removal = consoles.Take();
  std::sort(removal.begin(), removal.end());  // the two services are taken down side by side
  EXPECT_EQ(removal, hidden);
  ExpectAllGone(kOwnFolder);
  EXPECT_NE(FileBytes(log).find(Utf8("卸载")), std::string::npos);
}

// No copy can be made to delete the uninstaller once it has ended (its temporary folder does
// not exist): the removal is done all the same, the uninstaller is left to the system's delete
// at the next restart, and the exit code says a restart is needed.
TEST_F(Unattended, AnUninstallerThatCannotLeaveACopyBehindGoesAtTheNextRestartAndExits3010) {
  ASSERT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption()), 0u) << FileBytes(log);
  SavedRestartDeletes restartDeletes;
  const std::wstring installFolder = tk::ToWide(std::string(kOwnFolder) + "\\install\\");
  SetupProcess& removal =
      StartWith(installFolder, L"Uninstall.exe", L"/S " + LogOption(), setupFolder->Path() + L"no-such-temp");
  ASSERT_TRUE(removal.WaitForExit(kRunWait));
  EXPECT_EQ(removal.ExitCode(), 3010u) << FileBytes(log);
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_FALSE(QueryService(L"tomcatquarn").exists);
  EXPECT_TRUE(restartDeletes.Holds(installFolder + L"Uninstall.exe"));
  EXPECT_NE(FileBytes(log).find(Utf8("将在重新启动计算机后删除")), std::string::npos) << FileBytes(log);
  DeleteFileW((installFolder + L"Uninstall.exe").c_str());
}

// The default folder is on the volume of the staging folder, so every file is moved into
// place; nothing is patched for the default folder, so the tree is the package's, byte for byte.
// The log is named relative to the folder the program starts in: every line lands there,
// those written while the run works in the tools' folders too.
TEST_F(Unattended, AnInstallOnTheStagingVolumeIsThePackageByteForByteAndLeavesNoStaging) {
  EXPECT_EQ(Install(L"/S /LOG=relative.log"), 0u);
  EXPECT_FALSE(FolderExists(StagingFolder()));
  const std::string text = FileBytes(setupFolder->Path() + L"relative.log");
  // Each tool by its installed full path, never looked up beside setup.exe or in the current folder.
  const std::string folder = kDefaultFolder;
  for (const std::string& part : {"\"" + folder + "\\MySQL5\\bin\\mysqld-nt.exe\" --install mysqlquarn",
                                  "\"\"" + folder + "\\tomcat5\\bin\\service.bat\" install tomcatquarn",
                                  std::string("\\net.exe\" start mysqlquarn"), std::string("成功")})
    EXPECT_NE(text.find(Utf8(part.c_str())), std::string::npos) << part << " missing from the log:\n" << text;
  for (const char* tools : {"\\MySQL5\\bin\\relative.log", "\\tomcat5\\bin\\relative.log"})
    EXPECT_FALSE(FileExists(tk::ToWide(std::string(kDefaultFolder) + tools))) << tools;
  pak::TkexPak package(nullptr, tk::FromWide(setupFolder->Path()) + "Setup.pak", pak::OpenFor::Reading);
  int files = 0;
  for (int32_t i = 0; i < package.Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& entry = package.Directory->Item(i);
    std::string name = entry.NameText();
    for (char& c : name)
      if (c == '/') c = '\\';
    const std::wstring installed = tk::ToWide(std::string(kDefaultFolder) + "\\" + name);
    if (entry.Kind != pak::kKindFile) {
      EXPECT_TRUE(FolderExists(installed)) << name;
      continue;
    }
    ++files;
    std::string bytes(entry.DataSize, '\0');
    package.Stream->SetPosition(entry.DataOffset);
    package.Stream->ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    EXPECT_TRUE(FileExists(installed)) << name;
    EXPECT_TRUE(FileBytes(installed) == bytes) << name << " differs from the package";
  }
  EXPECT_GT(files, 0);
  const std::wstring installFolder = tk::ToWide(std::string(kDefaultFolder) + "\\install\\");
  EXPECT_EQ(RunToEnd(installFolder, L"Uninstall.exe", L"/S"), 0u);
  ExpectAllGone(kDefaultFolder);
}

TEST_F(Unattended, TheSystemsListOfProgramsRemovesItWithTheWindow) {
  ASSERT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u);
  // Wine's own "Add/Remove Programs" runs the entry's UninstallString.
  SetupProcess& list = StartWith(L"C:\\windows\\system32\\", L"uninstaller.exe", L"--remove Quarn");
  DWORD uninstaller = 0;
  ASSERT_TRUE(WaitUntil([&] { return (uninstaller = ProcessNamed(L"Uninstall.exe")) != 0; }))
      << "the entry did not start the uninstaller";
  MessageBoxView confirm;
  ASSERT_TRUE(WaitForMessageBox(uninstaller, &confirm, kWindowWait));
  EXPECT_EQ(Readable(confirm.text), Readable("您确认您要卸载Quarn吗?"));
  ASSERT_TRUE(Answer(confirm, "是"));
  Wizard wizard(uninstaller);
  ASSERT_TRUE(wizard.Found());
  ASSERT_TRUE(wizard.WaitForLabel("Quarn系统卸载成功!", kRunWait));
  ASSERT_TRUE(wizard.WaitForNext("退出"));
  wizard.Next();
  EXPECT_TRUE(WaitUntil([&] { return ProcessNamed(L"Uninstall.exe") == 0; }));
  list.WaitForExit();
  ExpectAllGone(kOwnFolder);
}

TEST_F(Unattended, RefusalsEndWithTheirExitCodesAndChangeNothing) {
  EXPECT_EQ(Install(L"/S /X"), 2u) << "an unknown option";
  EXPECT_EQ(Install(L"/S /D=relative"), 2u) << "a folder that is no absolute path";
  EXPECT_FALSE(showedWindow);
  EXPECT_FALSE(InstallRecordExists());

  // A second copy beside a running wizard.
  SetupProcess& wizardProcess = Start();
  Wizard wizard(wizardProcess.Id());
  ASSERT_TRUE(wizard.Found());
  EXPECT_EQ(Install(L"-s -d=" + tk::ToWide(kOwnFolder)), 3u) << "options also come with '-', in any case";
  wizardProcess.End();

  // No package beside the program.
  ASSERT_TRUE(DeleteFileW((setupFolder->Path() + L"Setup.pak").c_str()));
  EXPECT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption()), 4u);
  EXPECT_FALSE(showedWindow);
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_FALSE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\eblog")));
  // The one run this log holds: where it was to go, why staging failed, and its exit code.
  const std::vector<std::string> texts = LogTexts(FileBytes(log));
  ASSERT_GE(texts.size(), 3u) << FileBytes(log);
  EXPECT_EQ(texts.front(), Utf8("开始安装 目录 ") + kOwnFolder);
  EXPECT_EQ(texts[1].rfind(Utf8("解压 失败: 系统安装包损坏，无法找到 Setup.pak文件"), 0), 0u) << texts[1];
  EXPECT_EQ(texts.back(), Utf8("结束 退出码 4 安装包缺失或损坏"));
}

// The single file of a release, setup.exe with the package inside, copied alone into an empty
// folder: it installs from what it carries. One byte of an entry changed in its package part is
// refused with 4 before anything is written, naming the entry. Its uninstaller is the whole file,
// package included, so that a signed release leaves a signed uninstaller.
TEST_F(Unattended, TheSingleFileAloneInAFolderInstallsAndOneChangedByteIsRefused) {
  tk::TMemoryStream program(FileBytes(setupFolder->Path() + L"setup.exe")),
      package(FileBytes(setupFolder->Path() + L"Setup.pak")), single;
  ASSERT_GT(program.Size(), 0);
  pub::WriteProgramWithPackage(program, package, single);
  const std::optional<pub::EmbeddedPart> part = pub::FindEmbeddedPackage(single);
  ASSERT_TRUE(part);
  WorkFolder alone(L"quarn-single");
  const std::wstring name = L"quarn-setup-1.0.exe", path = alone.Path() + name;
  ASSERT_TRUE(WriteBytes(path, single.Bytes()));

  // The middle byte of the package's first file with data.
  int64_t changedAt = -1;
  std::string entryName;
  {
    pak::TkexPak inside(nullptr, pak::PackageLocation{tk::FromWide(path), part->offset, part->size});
    for (int32_t i = 0; i < inside.Directory->Count() && changedAt < 0; ++i) {
      const pak::TkexPakDirectoryItem& entry = inside.Directory->Item(i);
      if (entry.Kind != pak::kKindFile || entry.DataSize == 0) continue;
      changedAt = part->offset + entry.DataOffset + entry.DataSize / 2;
      entryName = entry.NameText();
    }
  }
  ASSERT_GE(changedAt, 0);
  std::string damaged = single.Bytes();
  damaged[static_cast<size_t>(changedAt)] ^= 1;
  ASSERT_TRUE(WriteBytes(path, damaged));
  const std::wstring own = L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption();
  EXPECT_EQ(RunToEnd(alone.Path(), name, own), 4u);
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_NE(FileBytes(log).find(Utf8(entryName.c_str())), std::string::npos) << FileBytes(log);

  ASSERT_TRUE(WriteBytes(path, single.Bytes()));
  EXPECT_EQ(RunToEnd(alone.Path(), name, own), 0u) << FileBytes(log);
  EXPECT_FALSE(showedWindow);
  EXPECT_TRUE(FileBytes(tk::ToWide(std::string(kOwnFolder) + "\\install\\Uninstall.exe")) == single.Bytes())
      << "the uninstaller is the single file, byte for byte";
  ExpectServicesAndSite();
  const std::wstring installFolder = tk::ToWide(std::string(kOwnFolder) + "\\install\\");
  EXPECT_EQ(RunToEnd(installFolder, L"Uninstall.exe", L"/S " + LogOption()), 0u);
  ExpectAllGone(kOwnFolder);
}

// A release's setup.exe knows its maker's key: the demo package (digests, no signature) is
// refused before anything is written, a package that key signed installs, and one whose data
// were changed after signing is refused naming the entry.
TEST_F(Unattended, ASetupWithTheMakersKeyTakesOnlyWhatThatKeySigned) {
  const std::wstring folder = setupFolder->Path();
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"setup_keyed.exe").c_str(), (folder + L"setup.exe").c_str(), FALSE));
  const std::wstring own = L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption();
  EXPECT_EQ(Install(own), 4u) << "an unsigned package";
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_NE(FileBytes(log).find(Utf8("安装包没有签名")), std::string::npos) << FileBytes(log);

  std::string signedPackage = FileBytes(tk::ToWide(QUARN_DIGEST_DATA "/signed.pak"));
  ASSERT_FALSE(signedPackage.empty());
  // Entry data begin right after the 115-byte header: one byte of cms/a.txt changed.
  std::string changed = signedPackage;
  changed[115] ^= 1;
  ASSERT_TRUE(WriteBytes(folder + L"Setup.pak", changed));
  EXPECT_EQ(Install(own), 4u) << "data changed after signing";
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_NE(FileBytes(log).find("cms/a.txt"), std::string::npos) << FileBytes(log);

  ASSERT_TRUE(WriteBytes(folder + L"Setup.pak", signedPackage));
  EXPECT_EQ(Install(own), 0u) << FileBytes(log);
  EXPECT_TRUE(FolderExists(tk::ToWide(std::string(kOwnFolder) + "\\forum\\WEB-INF")));
  EXPECT_FALSE(showedWindow);
}

TEST_F(Unattended, ADriveTooSmallGivesFiveBeforeAnyFileIsWritten) {
  const char* drive = std::getenv("QUARN_FULL_DRIVE");
  if (!drive || !*drive) {
    const char* why = std::getenv("QUARN_FAULT_DRIVES_SKIPPED");
    GTEST_SKIP() << "no small drive: " << (why ? why : "not run through scripts/with-fault-drives");
  }
  const std::string folder = std::string(drive) + "\\quarn";
  EXPECT_EQ(Install(L"/S /D=" + tk::ToWide(folder) + L" " + LogOption()), 5u);
  EXPECT_FALSE(showedWindow);
  EXPECT_FALSE(FolderExists(tk::ToWide(folder)));
  EXPECT_FALSE(FolderExists(StagingFolder()));
  EXPECT_FALSE(InstallRecordExists());
  EXPECT_NE(FileBytes(log).find(Utf8("磁盘空间不足")), std::string::npos);
}

TEST_F(Unattended, AnotherProgramOnTheDatabasePortGivesSixBeforeAnyFileIsWritten) {
  PortHolder database(3306);  // the port of the demo package's my.ini
  ASSERT_TRUE(database.Listening()) << "port 3306 is taken on this machine";
  const std::wstring arguments = L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption();
  EXPECT_EQ(Install(arguments), 6u);
  EXPECT_FALSE(showedWindow);
  EXPECT_FALSE(FolderExists(tk::ToWide(kOwnFolder)));
  EXPECT_FALSE(FolderExists(StagingFolder()));
  EXPECT_FALSE(InstallRecordExists());
  std::string text = FileBytes(log);
  const std::string named = Utf8(("数据库端口 3306 正被" + ThisProgramHolding(3306) + "使用。").c_str());
  EXPECT_NE(text.find(named), std::string::npos) << text;
  EXPECT_NE(text.find(Utf8("退出码 6")), std::string::npos) << text;

  database.Close();
  EXPECT_EQ(Install(arguments), 0u);
  ExpectInstalledIn(kOwnFolder);
  // A repair finds our own services on their ports, which it stops and starts again.
  EXPECT_EQ(Install(L"/S " + LogOption()), 0u);
  ExpectInstalledIn(kOwnFolder);
}


// The record pointed elsewhere after the install (a registry cleaner, a script's typo, someone
// who wants a folder of their choice deleted): the real uninstaller refuses before it stops or
// deletes anything, exits 2 and keeps the record; pointed back, it removes the installation.
TEST_F(Unattended, TheUninstallerRefusesARecordThatNamesAnotherFolder) {
  ASSERT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u);
  const std::string data = "C:\\quarn-e2e-data";
  CreateDirectoryW(tk::ToWide(data).c_str(), nullptr);
  const std::wstring mine = tk::ToWide(data + "\\mine.txt");
  HANDLE file = CreateFileW(mine.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::wstring installFolder = tk::ToWide(std::string(kOwnFolder) + "\\install\\");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\quarn\\version", 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key),
            ERROR_SUCCESS);
  auto recordFolder = [&](const std::string& folder) {
    const std::wstring wide = tk::ToWide(folder);
    RegSetValueExW(key, L"installpath", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  };
  for (const std::string& elsewhere : {data, std::string("C:\\")}) {
    SCOPED_TRACE(elsewhere);
    recordFolder(elsewhere);
    EXPECT_EQ(RunToEnd(installFolder, L"Uninstall.exe", L"/S " + LogOption()), 2u);
    EXPECT_TRUE(InstallRecordExists()) << "kept for an administrator to look at";
    EXPECT_EQ(QueryService(L"tomcatquarn").state, static_cast<DWORD>(SERVICE_RUNNING)) << "nothing was stopped";
    EXPECT_TRUE(FileExists(tk::ToWide(std::string(kOwnFolder) + "\\tomcat5\\bin\\catalina.bat")));
    EXPECT_TRUE(FileExists(mine));
    EXPECT_NE(FileBytes(log).find(Utf8("卸载没有进行")), std::string::npos);
  }
  recordFolder(kOwnFolder);
  RegCloseKey(key);
  EXPECT_EQ(RunToEnd(installFolder, L"Uninstall.exe", L"/S"), 0u);
  ExpectAllGone(kOwnFolder);
  DeleteFileW(mine.c_str());
  RemoveDirectoryW(tk::ToWide(data).c_str());
}


// A user who may create folders in the temporary folder (C:\Windows\Temp, when a deployment tool
// runs as SYSTEM) plants a link named like the staging folder, or like a folder for the log,
// leading to a folder of their choice: nothing is written through either. Windows removes such
// a link and stages into a folder of its own; plain Wine cannot remove a Unix link, so there
// the run stops, saying why, before anything is written.
TEST_F(Unattended, NothingIsWrittenThroughALinkPlantedInTheTemporaryFolder) {
  const std::wstring elsewhere = L"C:\\quarn-e2e-elsewhere";
  CreateDirectoryW(elsewhere.c_str(), nullptr);
  ASSERT_TRUE(WriteBytes(elsewhere + L"\\keep.txt", "keep"));
  std::wstring staging = StagingFolder();
  while (staging.back() == L'\\') staging.pop_back();
  DeleteTree(staging);
  const std::wstring logLink = TempFolder() + L"quarn-e2e-logs";
  // The links go first, as links, whatever the test found: then the folder they led to.
  struct Planted {
    std::wstring staging, logLink, elsewhere;
    ~Planted() {
      RemoveFolderLink(staging);
      RemoveFolderLink(logLink);
      DeleteFileW((elsewhere + L"\\keep.txt").c_str());
      RemoveDirectoryW(elsewhere.c_str());
    }
  } planted{staging, logLink, elsewhere};
  ASSERT_TRUE(MakeFolderLink(staging, elsewhere)) << "this machine makes no folder links";
  ASSERT_TRUE(MakeFolderLink(logLink, elsewhere));

  EXPECT_EQ(Install(L"/S /D=" + tk::ToWide(kOwnFolder) + L" \"/LOG=" + logLink + L"\\setup.log\""), 2u)
      << "a log in a linked folder of the temporary folder is refused";
  const DWORD code = Install(L"/S /D=" + tk::ToWide(kOwnFolder) + L" " + LogOption());
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((elsewhere + L"\\*").c_str(), &entry);
  int entries = 0;
  if (find != INVALID_HANDLE_VALUE) {
    do entries += entry.cFileName[0] != L'.';
    while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  EXPECT_EQ(entries, 1) << "only the file that was there";
  EXPECT_EQ(FileBytes(elsewhere + L"\\keep.txt"), "keep");
  std::printf("note: %s\n", code == 0 ? "the planted link was removed and staging went on"
                                        : "the planted link could not be removed: the run stopped");
  if (code == 0) {
    ExpectInstalledIn(kOwnFolder);
    EXPECT_EQ(RunToEnd(tk::ToWide(std::string(kOwnFolder) + "\\install\\"), L"Uninstall.exe", L"/S"), 0u);
  } else {
    EXPECT_EQ(code, 1u);
    EXPECT_FALSE(InstallRecordExists()) << "nothing was written";
    EXPECT_NE(FileBytes(log).find(Utf8("已经存在，而且无法删除")), std::string::npos) << FileBytes(log);
  }
}

}  // namespace e2e

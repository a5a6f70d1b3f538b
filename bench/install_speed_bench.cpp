// Where install time goes, for one package: the two passes of an install (staging the package, then
// putting the product folders in place) as our routines run them behind the wizard's gauge, labels
// and memo, against floors that do only the file operations (the package's entries written with
// plain reads and writes, staged files copied with CopyFileW, the package written straight into the
// install folder), and the whole install of setup.exe driven as a person does it, with its finish
// and its silent removal; then setup.exe /S and Uninstall.exe /S as a deployment tool runs them,
// each timed from its start to its end. Every figure is taken with the install folder on C: (the
// volume of the temporary folder) and on another drive; our passes stage where the install run
// stages for that folder (on its own volume), the floors in the temporary folder. Rounds alternate
// which goes first; each phase starts with the staging and install folders gone. Prints every round
// and the median ratios. Under Wine each timed step first waits until the host has written earlier
// phases' data to disk (Settle), so that no phase pays for another's write-back.
//
// Our passes run as the install run does, on a worker thread beside the window's message loop.
//
// Run inside a Wine session from the build's bin folder (setup.exe there), with port 8080 free:
//   install_speed_bench.exe PACKAGE OTHER_ROOT [ROUNDS] [--no-whole-run] [--display=MASK] [--writers=N]
// PACKAGE: the Setup.pak to install; OTHER_ROOT: the root of a drive other than C: ("M:\").
// --display: what our routines report to, 1 gauge + 2 status label + 4 memo + 8 step title
// (default 15); 0 gives them no progress at all. --writers: how many files our staging writes
// at once (default: as setup.exe does).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/Seconds.h"
#include "common/portable/PathText.h"
#include "common/portable/StagingPlace.h"
#include "common/win/ControlsProgress.h"
#include "common/win/FilePlacement.h"
#include "common/win/PackageLocation.h"
#include "common/win/PackageDigest.h"
#include "common/win/Staging.h"
#include "common/win/StagingFolder.h"
#include "common/win/WorkerRun.h"
#include "pak/Pak.h"
#include "tests/e2e/driver/BrowserRecorder.h"
#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/MessageBoxes.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/SetupProcess.h"
#include "tests/e2e/driver/SystemRecord.h"
#include "tests/e2e/driver/Wait.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "tests/e2e/driver/Wizard.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"
#include "toolkit/win/Panel.h"

namespace {

constexpr DWORD kPiece = 60 * 1024;            // the floors' read and write size
constexpr unsigned kLongRun = 60 * 60 * 1000;  // a whole install of a big package under Wine
constexpr const wchar_t* kInstallName = L"quarnspeed";

// One entry of the package's directory, its name with '\' separators.
struct Entry {
  std::wstring name;
  bool folder;
  uint32_t offset, size;
};

std::vector<Entry> ReadDirectory(const std::wstring& package) {
  pak::TkexPak archive(nullptr, tk::FromWide(package), pak::OpenFor::Reading);
  std::vector<Entry> entries;
  for (int32_t i = 0; i < archive.Directory->Count(); ++i) {
    const pak::TkexPakDirectoryItem& item = archive.Directory->Item(i);
    std::wstring name = tk::ToWide(item.NameText());
    std::replace(name.begin(), name.end(), L'/', L'\\');
    if (!name.empty() && name.back() == L'\\') name.pop_back();
    entries.push_back({name, item.Kind != pak::kKindFile, item.DataOffset, item.DataSize});
  }
  return entries;
}

std::string Utf8(const std::string& gbk) { return tk::WideToUtf8(tk::ToWide(gbk)); }

std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// Makes a folder and its missing parents, asking the system only when the folder differs
// from the last one made.
class Folders {
 public:
  bool Make(const std::wstring& folder) {
    if (folder == last_) return true;
    if (!CreateFolder(folder)) return false;
    last_ = folder;
    return true;
  }

 private:
  static bool CreateFolder(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
    if (GetLastError() != ERROR_PATH_NOT_FOUND || folder.size() <= 3) return false;
    return CreateFolder(ParentOf(folder)) &&
           (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  std::wstring last_;
};

bool Fail(const std::wstring& what) {
  std::printf("failed: %s (system code %lu)\n", tk::WideToUtf8(what).c_str(), GetLastError());
  return false;
}

// The floor of staging (and, aimed at the install folder, of a single pass): every entry of the
// package written under root with plain reads and writes.
bool WriteEntries(const std::wstring& package, const std::vector<Entry>& entries, const std::wstring& root) {
  HANDLE source = CreateFileW(package.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) return Fail(package);
  std::vector<char> piece(kPiece);
  Folders folders;
  bool ok = folders.Make(root);
  for (const Entry& entry : entries) {
    if (!ok) break;
    std::wstring target = root + L"\\" + entry.name;
    if (entry.folder) {
      ok = folders.Make(target) || Fail(target);
      continue;
    }
    ok = folders.Make(ParentOf(target)) || Fail(ParentOf(target));
    LARGE_INTEGER at;
    at.QuadPart = entry.offset;
    if (ok) ok = SetFilePointerEx(source, at, nullptr, FILE_BEGIN) || Fail(package);
    if (!ok) break;
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      ok = Fail(target);
      break;
    }
    for (uint32_t left = entry.size; left > 0 && ok;) {
      DWORD want = std::min<DWORD>(left, kPiece), read = 0, written = 0;
      ok = (ReadFile(source, piece.data(), want, &read, nullptr) && read == want) || Fail(package);
      ok = ok && ((WriteFile(file, piece.data(), want, &written, nullptr) && written == want) || Fail(target));
      left -= want;
    }
    CloseHandle(file);
  }
  CloseHandle(source);
  return ok;
}

// The floor of the second pass: every staged file copied with CopyFileW into the same tree.
bool CopyEntries(const std::vector<Entry>& entries, const std::wstring& from, const std::wstring& to) {
  Folders folders;
  if (!folders.Make(to)) return Fail(to);
  for (const Entry& entry : entries) {
    std::wstring target = to + L"\\" + entry.name;
    if (entry.folder) {
      if (!folders.Make(target)) return Fail(target);
      continue;
    }
    if (!folders.Make(ParentOf(target))) return Fail(ParentOf(target));
    if (!CopyFileW((from + L"\\" + entry.name).c_str(), target.c_str(), FALSE)) return Fail(target);
  }
  return true;
}

// The floor of a removal, and the cleaning between phases: the tree deleted depth first with
// FindFirstFileExW, DeleteFileW and RemoveDirectoryW.
void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

// The files of a tree, so that a pass that left some behind is not taken for a fast one.
size_t CountTree(const std::wstring& folder) {
  size_t count = 0;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    count += entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? CountTree(folder + L"\\" + name) : 1;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return count;
}

void Clean(const std::wstring& folder) {
  if (!e2e::FolderExists(folder)) return;
  DeleteTree(folder);
  if (e2e::FolderExists(folder)) Fail(L"cannot delete " + folder);
}

// Under Wine on Linux the host's page cache is visible as Z:\proc\meminfo. Waits (at most
// 90 s) until what earlier phases wrote has gone to disk, so that its write-back does not
// fall into the next phase; does nothing where the file cannot be read.
bool Settle() {
  for (int tries = 0; tries < 450; ++tries) {
    HANDLE file = CreateFileW(L"Z:\\proc\\meminfo", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char text[8192];
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    text[read] = 0;
    long long pending = 0;
    for (const char* field : {"\nDirty:", "\nWriteback:"})
      if (const char* at = std::strstr(text, field)) pending += std::atoll(at + std::strlen(field));
    if (pending < 32 * 1024) return true;  // kB
    e2e::Pause(200);
  }
  return true;
}

// The controls of the wizard's copying page, where they sit on it.
struct CopyingPage {
  explicit CopyingPage(tk::Application& application) {
    form = new tk::Form(&application);
    form->SetFormFont(L"宋体", 12, GB2312_CHARSET);
    form->SetClientSize(496, 331);
    auto* page = new tk::Panel(form, form);
    page->SetBounds(0, 0, 496, 290);
    title = new tk::Label(form, page);
    title->SetBounds(24, 64, 86, 14);
    status = new tk::Label(form, page);
    status->SetBounds(110, 64, 370, 14);
    memo = new tk::Memo(form, page, tk::MemoStyle{true, true});
    memo->SetBounds(24, 84, 448, 166);
    gauge = new tk::Gauge(form, page);
    gauge->SetBounds(24, 258, 448, 20);
  }
  // The progress our routines get: the parts the mask names, or none for 0.
  std::unique_ptr<pub::ControlsProgress> Progress(int mask) const {
    if (mask == 0) return nullptr;
    return std::make_unique<pub::ControlsProgress>(mask & 1 ? gauge : nullptr, mask & 2 ? status : nullptr,
                                                   mask & 4 ? memo : nullptr, mask & 8 ? title : nullptr);
  }
  tk::Form* form;
  tk::Label* title;
  tk::Label* status;
  tk::Memo* memo;
  tk::Gauge* gauge;
};

// A walk as the runs do it: on a worker thread, its reports drained onto the controls by this
// thread while it handles the window's messages; with no progress, here and with none.
void Apart(pub::Progress* progress, const std::function<void(pub::Progress*)>& walk) {
  if (!progress) return walk(nullptr);
  pub::RunOnWorker([&](pub::ProgressQueue& queued) { walk(&queued); }, *progress);
}

int stagingWriters = pub::kStagingWriters;
// The setup folder that holds the package and the staging folder, each ending in '\', as main
// makes them.
std::string setupFolderOfRuns, stagingFolderOfRuns;

bool OurStaging(pub::Progress* progress, const std::string& stagingFolder, pub::StagingResult* staged) {
  Apart(progress, [&](pub::Progress* reported) {
    if (reported) reported->Step("解压文件到临时目录：");
    const pub::PackageIndex package =
        pub::ReadPackageIndex(pub::LocatePackage(setupFolderOfRuns), pub::EmbeddedMakerKey());
    *staged = pub::UnpackPackage(package, stagingFolder, reported, stagingWriters);
    if (reported) reported->Flush();
  });
  if (!staged->Succeeded()) std::printf("staging failed: %s\n", Utf8(staged->detail).c_str());
  return staged->Succeeded();
}

// As the install run's copy step: each product folder the staging found, in its order.
bool OurPlacement(pub::Progress* progress, const pub::StagingResult& staged, const std::string& stagingFolder,
                  const std::string& installFolder) {
  std::vector<pub::CopyFailure> failures;
  Apart(progress, [&](pub::Progress* reported) {
    if (reported) {
      reported->Step("拷贝Quarn产品文件到安装目录：");
      // The run's gauge spans the staged entries and the files to put in place.
      reported->Range(staged.entryCount + static_cast<int>(staged.files.size()));
      reported->Line("将Quarn系统文件拷贝到：" + installFolder + " 下");
    }
    for (const std::string& product : staged.products)
      pub::PlaceFolderTree(stagingFolder + product, installFolder + "\\" + product,
                           pub::PlacementBetween(stagingFolder, installFolder), reported, &failures);
    if (reported) reported->Flush();
  });
  for (const pub::CopyFailure& failure : failures)
    std::printf("not placed: %s: %s\n", Utf8(failure.target).c_str(), Utf8(failure.message).c_str());
  return failures.empty();
}

// The machine as before any install: no services, record, install folder, staging folder or
// JAVA_HOME of ours, port 8080 free.
void PutMachineInOrder(const std::wstring& installFolder, const std::wstring& staging, const e2e::SavedSystemVariable& javaHome) {
  e2e::RemoveService(L"mysqlquarn");
  e2e::RemoveService(L"tomcatquarn");
  e2e::RemoveInstallRecord();
  Clean(installFolder);
  Clean(staging);
  javaHome.Restore();
  e2e::WaitUntil([] { return !e2e::PortInUse(8080); });
}

struct WholeRun {
  bool ok = false;
  double install = 0, finish = 0, removal = 0;
};

bool Report(const char* what, const e2e::SetupProcess& setup, const e2e::Wizard& wizard) {
  std::printf("whole run: %s; labels %s", what, e2e::Readable(wizard.Labels()).c_str());
  for (const e2e::MessageBoxView& box : e2e::OpenMessageBoxes(setup.Id()))
    std::printf("; box: %s", e2e::Readable(box.text).c_str());
  std::printf("\n");
  return false;
}

// Waits for the label, then until the wizard's thread is back in its message loop.
bool ShowsPage(const e2e::Wizard& wizard, const char* label) {
  if (!wizard.WaitForLabel(label)) return false;
  DWORD_PTR ignored;
  SendMessageTimeoutW(wizard.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, e2e::kWindowWait, &ignored);
  return true;
}

// The uninstaller's /S from the install folder, timed from its start until it has ended into
// *seconds; false, saying so after what, when it failed.
bool TimeRemoval(const std::wstring& installFolder, const char* what, double* seconds) {
  Settle();
  const double start = Seconds();
  e2e::SetupProcess removal(installFolder + L"\\install\\", L"Uninstall.exe", L"/S");
  if (!removal.WaitForExit(kLongRun) || removal.ExitCode() != 0) {
    std::printf("%s: the removal failed (exit code %lu)\n", what, removal.ExitCode());
    return false;
  }
  *seconds = Seconds() - start;
  return true;
}

// setup.exe from its folder, walked as a person does: timed from Next on the folder page until
// "完成" can be pressed, then the finish until the program has ended, then the removal.
WholeRun RunSetup(const std::wstring& setupFolder, const std::wstring& installFolder, size_t files) {
  WholeRun run;
  e2e::SetupProcess setup(setupFolder);
  e2e::Wizard wizard(setup.Id());
  if (!wizard.Found()) return Report("no wizard window", setup, wizard), run;
  if (!ShowsPage(wizard, "欢迎进入  Quarn系列软件  安装向导")) return Report("no welcome page", setup, wizard), run;
  wizard.Next();
  if (!ShowsPage(wizard, "Quarn软件许可协议")) return Report("no agreement page", setup, wizard), run;
  wizard.Choose("&A 我接受本协议条款");
  if (!e2e::WaitUntil([&] { return e2e::IsEnabled(wizard.NextButton()); }))
    return Report("agreement not taken", setup, wizard), run;
  wizard.Next();
  if (!ShowsPage(wizard, "选择安装路径")) return Report("no folder page", setup, wizard), run;
  const std::string folder = tk::FromWide(installFolder);
  wizard.TypeFolder(folder);
  if (!e2e::WaitUntil([&] { return wizard.Folder() == folder; })) return Report("folder not typed", setup, wizard), run;

  Settle();
  double start = Seconds();
  wizard.Next();
  bool interrupted = false;
  e2e::WaitUntil(
      [&] {
        interrupted = !e2e::OpenMessageBoxes(setup.Id()).empty();
        return interrupted || (wizard.NextCaption() == "完成" && e2e::IsEnabled(wizard.NextButton()));
      },
      kLongRun);
  run.install = Seconds() - start;
  if (interrupted || wizard.NextCaption() != "完成") return Report("the install run did not finish", setup, wizard), run;
  // The package's files and the uninstaller, at least.
  if (CountTree(installFolder) <= files) return Report("files are missing from the install folder", setup, wizard), run;

  Settle();
  start = Seconds();
  wizard.Next();
  if (!wizard.WaitForLabel("安装成功!!!") || !wizard.WaitForNext("退出")) return Report("no final page", setup, wizard), run;
  wizard.Next();
  if (!setup.WaitForExit(kLongRun)) return Report("the finish did not end the program", setup, wizard), run;
  run.finish = Seconds() - start;

  run.ok = TimeRemoval(installFolder, "whole run", &run.removal);
  return run;
}

// setup.exe /S as a deployment tool starts it, timed from its start until it has ended, then
// the uninstaller's /S the same way; into run.install and run.removal.
WholeRun RunSilently(const std::wstring& setupFolder, const std::wstring& installFolder, size_t files) {
  WholeRun run;
  Settle();
  double start = Seconds();
  {
    e2e::SetupProcess setup(setupFolder, L"setup.exe", L"/S \"/D=" + installFolder + L"\"");
    if (!setup.WaitForExit(kLongRun) || setup.ExitCode() != 0) {
      std::printf("silent run: setup.exe /S failed (exit code %lu)\n", setup.ExitCode());
      return run;
    }
  }
  run.install = Seconds() - start;
  if (CountTree(installFolder) <= files) {
    std::printf("silent run: files are missing from the install folder\n");
    return run;
  }
  run.ok = TimeRemoval(installFolder, "silent run", &run.removal);
  return run;
}

// One volume case's figures of one round, in seconds.
struct Figures {
  double floorStage = 0, floorCopy = 0, floorDelete = 0, floorOnePass = 0;
  double staging = 0, placement = 0;
  double whole = 0, finish = 0, removal = 0;
  double silent = 0, silentRemoval = 0;  // setup.exe /S and Uninstall.exe /S
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

std::wstring WithTrailingSeparator(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  bool wholeRuns = true;
  int display = 15;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--no-whole-run")
      wholeRuns = false;
    else if (arg.rfind("--display=", 0) == 0)
      display = std::atoi(arg.c_str() + 10);
    else if (arg.rfind("--writers=", 0) == 0)
      stagingWriters = std::max(1, std::atoi(arg.c_str() + 10));
    else
      positional.push_back(arg);
  }
  if (positional.size() < 2) {
    std::printf("usage: install_speed_bench PACKAGE OTHER_ROOT [ROUNDS] [--no-whole-run] [--display=MASK] [--writers=N]\n");
    return 2;
  }
  const std::wstring package = tk::ToWide(positional[0]);
  const std::wstring otherRoot = WithTrailingSeparator(tk::ToWide(positional[1]));
  const int rounds = positional.size() > 2 ? std::max(1, std::atoi(positional[2].c_str())) : 3;

  tk::Application application;
  application.Initialize();
  CopyingPage page(application);
  page.form->Show();
  application.ProcessMessages();

  // setup.exe and the package side by side, as a person gets them; every pass reads this copy.
  const std::wstring setupFolder = L"C:\\quarnspeed-setup\\";
  const std::wstring staging = e2e::TempFolder() + L"quarne";
  const std::wstring installFolders[2] = {std::wstring(L"C:\\") + kInstallName, otherRoot + kInstallName};
  // Where a run into the other volume stages (common/portable/StagingPlace.h).
  const std::wstring volumeStaging = otherRoot + tk::ToWide(pub::kVolumeStagingName);
  const char* const caseNames[2] = {"C: (the staging volume)", "other volume"};
  Clean(setupFolder);
  CreateDirectoryW(setupFolder.c_str(), nullptr);
  const std::wstring setupPackage = setupFolder + L"Setup.pak";
  if (!CopyFileW(package.c_str(), setupPackage.c_str(), FALSE) ||
      !CopyFileW((e2e::ProgramFolder() + L"setup.exe").c_str(), (setupFolder + L"setup.exe").c_str(), FALSE))
    return Fail(L"cannot place setup.exe and the package in " + setupFolder), 1;
  std::vector<Entry> entries;
  try {
    entries = ReadDirectory(setupPackage);
  } catch (const std::exception& error) {
    std::printf("cannot read the package: %s\n", Utf8(error.what()).c_str());
    return 1;
  }
  uint64_t bytes = 0;
  size_t files = 0;
  for (const Entry& entry : entries) bytes += entry.size, files += entry.folder ? 0 : 1;
  std::printf("%zu entries, %.1f MiB; install folders %s and %s; display mask %d; %d staging writers%s\n", entries.size(),
              bytes / 1048576.0, tk::WideToUtf8(installFolders[0]).c_str(), tk::WideToUtf8(installFolders[1]).c_str(), display,
              stagingWriters,
              Settle() ? "; each phase waits for the host's written data to reach the disk" : "");
  std::fflush(stdout);

  setupFolderOfRuns = tk::FromWide(setupFolder);
  stagingFolderOfRuns = tk::FromWide(staging) + "\\";

  e2e::SavedSystemVariable javaHome(L"JAVA_HOME");
  std::unique_ptr<e2e::BrowserRecorder> browser;
  if (wholeRuns) {
    if (e2e::PortInUse(8080)) {
      std::printf("something else listens on port 8080\n");
      return 1;
    }
    browser = std::make_unique<e2e::BrowserRecorder>(setupFolder + L"opened.txt");
  }

  std::vector<Figures> figures[2];
  bool ok = true;
  for (int round = 0; round < rounds && ok; ++round) {
    const bool forward = round % 2 == 0;
    for (int turn = 0; turn < 2 && ok; ++turn) {
      const int place = forward ? turn : 1 - turn;
      const std::wstring& install = installFolders[place];
      const std::string installText = tk::FromWide(install);
      Figures f;
      Clean(install);
      Clean(staging);
      // Floors and ours swap places each round; the whole run goes first or last.
      for (int phase = 0; phase < 3 && ok; ++phase) {
        const int what = forward ? phase : 2 - phase;
        if (what == 0) {
          Settle();
          double start = Seconds();
          ok = WriteEntries(setupPackage, entries, staging);
          f.floorStage = Seconds() - start;
          Settle();
          start = Seconds();
          ok = ok && CopyEntries(entries, staging, install);
          f.floorCopy = Seconds() - start;
          Settle();
          start = Seconds();
          Clean(install);
          f.floorDelete = Seconds() - start;
          Clean(staging);
          Settle();
          start = Seconds();
          ok = ok && WriteEntries(setupPackage, entries, install);
          f.floorOnePass = Seconds() - start;
          Clean(install);
        } else if (what == 1) {
          page.form->SetVisible(true);
          page.memo->Clear();
          page.gauge->SetProgress(0);
          application.ProcessMessages();
          std::unique_ptr<pub::ControlsProgress> progress = page.Progress(display);
          Settle();
          double start = Seconds();
          // Where the install run stages for this install folder.
          const std::string stagingFolder = pub::ChooseStagingFolder(installText, stagingFolderOfRuns, nullptr);
          pub::StagingResult staged;
          ok = OurStaging(progress.get(), stagingFolder, &staged);
          f.staging = Seconds() - start;
          Settle();
          start = Seconds();
          ok = ok && OurPlacement(progress.get(), staged, stagingFolder, installText);
          f.placement = Seconds() - start;
          progress.reset();
          if (ok && CountTree(install) != files) {
            std::printf("our passes put %zu of the package's %zu files in %s\n", CountTree(install), files,
                        tk::WideToUtf8(install).c_str());
            ok = false;
          }
          Clean(install);
          Clean(staging);
          Clean(tk::ToWide(pub::WithoutTrailingBackslash(stagingFolder)));
        } else if (wholeRuns) {
          page.form->SetVisible(false);
          PutMachineInOrder(install, staging, javaHome);
          WholeRun run = RunSetup(setupFolder, install, files);
          ok = run.ok;
          f.whole = run.install, f.finish = run.finish, f.removal = run.removal;
          if (e2e::FolderExists(volumeStaging)) std::printf("the whole run left %s behind\n", tk::WideToUtf8(volumeStaging).c_str());
          PutMachineInOrder(install, staging, javaHome);
          Clean(volumeStaging);
          if (!ok) break;
          const WholeRun silent = RunSilently(setupFolder, install, files);
          ok = silent.ok;
          f.silent = silent.install, f.silentRemoval = silent.removal;
          PutMachineInOrder(install, staging, javaHome);
          Clean(volumeStaging);
        }
      }
      if (!ok) break;
      figures[place].push_back(f);
      std::printf("round %d, %-24s floor: stage %6.2f s, copy %6.2f s, delete %6.2f s, one pass %6.2f s | ours: staging "
                  "%6.2f s, copy-or-move %6.2f s",
                  round + 1, caseNames[place], f.floorStage, f.floorCopy, f.floorDelete, f.floorOnePass, f.staging,
                  f.placement);
      if (wholeRuns)
        std::printf(" | whole run %6.2f s, finish %5.2f s, removal %6.2f s | /S %6.2f s, its removal %6.2f s", f.whole,
                    f.finish, f.removal, f.silent, f.silentRemoval);
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  Clean(staging);
  for (const std::wstring& install : installFolders) Clean(install);
  browser.reset();
  Clean(setupFolder);
  if (!ok) return 1;

  std::printf("medians over %d rounds (ratios taken per round):\n", rounds);
  for (int place = 0; place < 2; ++place) {
    auto median = [&](auto value) {
      std::vector<double> values;
      for (const Figures& f : figures[place]) values.push_back(value(f));
      return Median(values);
    };
    std::printf("  %-24s staging / floor stage %.2f, copy-or-move / floor copy %.2f", caseNames[place],
                median([](const Figures& f) { return f.staging / f.floorStage; }),
                median([](const Figures& f) { return f.placement / f.floorCopy; }));
    if (wholeRuns)
      std::printf(", whole run / (floor stage + floor copy) %.2f, whole run / floor one pass %.2f; "
                  "whole run %.2f s, finish %.2f s, removal %.2f s, removal / floor delete %.2f",
                  median([](const Figures& f) { return f.whole / (f.floorStage + f.floorCopy); }),
                  median([](const Figures& f) { return f.whole / f.floorOnePass; }),
                  median([](const Figures& f) { return f.whole; }), median([](const Figures& f) { return f.finish; }),
                  median([](const Figures& f) { return f.removal; }),
                  median([](const Figures& f) { return f.removal / f.floorDelete; }));
    if (wholeRuns)
      std::printf("; /S run / floor one pass %.2f, its removal / floor delete %.2f",
                  median([](const Figures& f) { return f.silent / f.floorOnePass; }),
                  median([](const Figures& f) { return f.silentRemoval / f.floorDelete; }));
    std::printf("\n");
  }
  return 0;
}

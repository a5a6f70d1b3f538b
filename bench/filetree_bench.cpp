// Copying and deleting a tree of 20,000 small files with the progress reporting of an install
// (gauge, caption label, log memo, messages handled after each file), against a plain Win32
// loop doing the same file operations without any reporting. Both run side by side in the same
// process, alternating which goes first, for several rounds; prints each round and the median
// ratios. Usage: filetree_bench [rounds] [files] [parts: 1 gauge + 2 label + 4 memo, default 7]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/win/ControlsProgress.h"
#include "common/win/FileTree.h"
#include "toolkit/core/CodePage.h"
#include "bench/Seconds.h"
#include "toolkit/win/Application.h"
#include "toolkit/win/Form.h"
#include "toolkit/win/Gauge.h"
#include "toolkit/win/Label.h"
#include "toolkit/win/Memo.h"

namespace {

// This process's processor time (user and kernel): less disturbed than the wall clock by
// whatever else the machine is running.
double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto value = [](const FILETIME& t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (value(kernel) + value(user)) / 1e7;
}

constexpr int kFilesPerFolder = 500;

void MakeSource(const std::wstring& root, int files) {
  CreateDirectoryW(root.c_str(), nullptr);
  std::string content(120, 'x');
  for (int i = 0; i < files; ++i) {
    std::wstring folder = root + L"\\folder" + std::to_wstring(i / kFilesPerFolder);
    if (i % kFilesPerFolder == 0) CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring name = folder + L"\\file" + std::to_wstring(i) + L".class";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
}

// The baseline: the same listing, copies and deletions by full path, nothing reported.
void PlainCopy(const std::wstring& source, const std::wstring& target) {
  CreateDirectoryW(target.c_str(), nullptr);
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileExW((source + L"\\*.*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      PlainCopy(source + L"\\" + name, target + L"\\" + name);
    else
      CopyFileW((source + L"\\" + name).c_str(), (target + L"\\" + name).c_str(), FALSE);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

void PlainDelete(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        PlainDelete(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

struct Round {
  double copy, remove;        // wall clock
  double copyCpu, removeCpu;  // processor time
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
  int files = argc > 2 ? std::max(1, atoi(argv[2])) : 20000;
  int parts = argc > 3 ? atoi(argv[3]) : 7;

  tk::Application application;
  application.Initialize();
  auto* form = new tk::Form(&application);
  form->SetClientSize(480, 260);
  auto* gauge = new tk::Gauge(form, form);
  gauge->SetBounds(10, 10, 460, 20);
  auto* label = new tk::Label(form, form);
  label->SetBounds(10, 40, 460, 20);
  auto* memo = new tk::Memo(form, form, tk::MemoStyle{true, true});
  memo->SetBounds(10, 70, 460, 180);
  form->Show();
  application.ProcessMessages();

  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring base = std::wstring(temp) + L"quarn-filetree-bench";
  const std::wstring source = base + L"\\source", target = base + L"\\target";
  PlainDelete(base);
  CreateDirectoryW(base.c_str(), nullptr);
  MakeSource(source, files);

  // Each round copies the tree twice, once each way, then deletes both copies; which way goes
  // first alternates, so neither always meets the freshly written files.
  const std::wstring plainTarget = base + L"\\plain", reportedTarget = base + L"\\reported";
  std::vector<Round> plain(rounds), reported(rounds);
  for (int round = 0; round < rounds; ++round) {
    bool oursFirst = round % 2 == 0;
    for (int phase = 0; phase < 4; ++phase) {
      bool ours = (phase % 2 == 0) == oursFirst;
      bool copying = phase < 2;
      double start = Seconds(), startCpu = CpuSeconds();
      if (ours && copying) {
        gauge->SetMaxValue(files);
        gauge->SetProgress(0);
        memo->Clear();
        pub::ControlsProgress shown(parts & 1 ? gauge : nullptr, parts & 2 ? label : nullptr, parts & 4 ? memo : nullptr);
        pub::CopyFolderTree(tk::FromWide(source), tk::FromWide(reportedTarget), &shown);
      } else if (ours) {
        gauge->SetProgress(0);
        pub::ControlsProgress shown(parts & 1 ? gauge : nullptr, parts & 2 ? label : nullptr, nullptr);
        pub::DeleteFolderTree(tk::FromWide(reportedTarget), parts & 1 ? &shown : nullptr);
      } else if (copying) {
        PlainCopy(source, plainTarget);
      } else {
        PlainDelete(plainTarget);
      }
      double elapsed = Seconds() - start, cpu = CpuSeconds() - startCpu;
      Round& times = ours ? reported[round] : plain[round];
      (copying ? times.copy : times.remove) = elapsed;
      (copying ? times.copyCpu : times.removeCpu) = cpu;
    }
    std::printf("round %d  plain: copy %6.2f s delete %6.2f s   reported: copy %6.2f s delete %6.2f s   (cpu %5.2f %5.2f / %5.2f %5.2f)\n",
                round + 1, plain[round].copy, plain[round].remove, reported[round].copy, reported[round].remove,
                plain[round].copyCpu, plain[round].removeCpu, reported[round].copyCpu, reported[round].removeCpu);
    std::fflush(stdout);
  }
  PlainDelete(base);

  auto ratios = [&](const char* what, auto wall) {
    std::vector<double> copy, remove, total;
    for (int i = 0; i < rounds; ++i) {
      Round p = wall(plain[i]), r = wall(reported[i]);
      copy.push_back(r.copy / p.copy);
      remove.push_back(r.remove / p.remove);
      total.push_back((r.copy + r.remove) / (p.copy + p.remove));
    }
    std::printf("%-10s median ratio reported/plain: copy %.2f, delete %.2f, copy+delete %.2f\n", what, Median(copy),
                Median(remove), Median(total));
  };
  std::printf("%d files, %d rounds\n", files, rounds);
  ratios("wall clock", [](const Round& r) { return r; });
  ratios("processor", [](const Round& r) { return Round{r.copyCpu, r.removeCpu, 0, 0}; });
  return 0;
}

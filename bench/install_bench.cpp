// An unattended install of the demo package (setup.exe /S) against the same install driven
// through the wizard from outside, as a person's clicks would, side by side over several
// rounds. Each install is removed silently before the next. Run from the build's bin folder
// (setup.exe and Setup.pak there) inside a Wine session: install_bench.exe [ROUNDS]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Seconds.h"
#include "tests/e2e/driver/Files.h"
#include "tests/e2e/driver/SetupProcess.h"
#include "tests/e2e/driver/Wait.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "tests/e2e/driver/Wizard.h"
#include "toolkit/core/CodePage.h"

namespace {

const wchar_t* const kFolder = L"C:\\quarnbench";

DWORD RunToEnd(const std::wstring& folder, const std::wstring& program, const std::wstring& arguments) {
  e2e::SetupProcess process(folder, program, arguments);
  process.WaitForExit(e2e::kRunWait);
  return process.ExitCode();
}

bool Unattended(const std::wstring& bin) {
  return RunToEnd(bin, L"setup.exe", std::wstring(L"/S /D=") + kFolder) == 0;
}

bool Driven(const std::wstring& bin) {
  e2e::SetupProcess setup(bin);
  e2e::Wizard wizard(setup.Id());
  if (!wizard.Found()) return false;
  wizard.Next();
  if (!wizard.WaitForLabel("Quarn软件许可协议")) return false;
  wizard.Choose("&A 我接受本协议条款");
  if (!e2e::WaitUntil([&] { return e2e::IsEnabled(wizard.NextButton()); })) return false;
  wizard.Next();
  if (!wizard.WaitForLabel("选择安装路径")) return false;
  wizard.TypeFolder(tk::FromWide(kFolder));
  if (!e2e::WaitUntil([&] { return wizard.Folder() == tk::FromWide(kFolder); })) return false;
  wizard.Next();
  if (!wizard.WaitForNext("完成", e2e::kRunWait)) return false;
  wizard.Next();
  if (!wizard.WaitForNext("退出")) return false;
  wizard.Next();
  return setup.WaitForExit();
}

void Remove() { RunToEnd(std::wstring(kFolder) + L"\\install\\", L"Uninstall.exe", L"/S"); }

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  const std::wstring bin = e2e::ProgramFolder();
  std::vector<double> silent, driven;
  for (int round = 0; round < rounds; ++round) {
    // Which goes first alternates, so neither always meets a freshly written cache.
    for (int turn = 0; turn < 2; ++turn) {
      bool unattended = (turn == 0) == (round % 2 == 0);
      double start = Seconds();
      bool ok = unattended ? Unattended(bin) : Driven(bin);
      double elapsed = Seconds() - start;
      if (!ok) {
        std::printf("round %d: the %s install failed\n", round + 1, unattended ? "unattended" : "driven");
        Remove();
        return 1;
      }
      (unattended ? silent : driven).push_back(elapsed);
      Remove();
    }
    std::printf("round %d: unattended %.2f s, driven wizard %.2f s, ratio %.2f\n", round + 1, silent.back(),
                driven.back(), silent.back() / driven.back());
  }
  return 0;
}

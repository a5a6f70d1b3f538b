// The removal's deleting crew: two trees deleted by one thread after the other against the
// same two trees deleted side by side by a crew of two (DeleteFolderTree on JobCrew), rounds
// alternating which goes first; prints each round and the median ratio. The trees are made
// where ROOT says: a drive of a journaled volume gives the figure a real disk gives, Wine's C:
// on a file system without a journal another.
// Usage: delete_crew_bench [ROOT [ROUNDS [FILES]]]   defaults: C:\quarn-delete-bench, 5, 10000
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Seconds.h"
#include "common/portable/JobCrew.h"
#include "common/win/FileTree.h"
#include "toolkit/core/CodePage.h"

namespace {

constexpr int kFilesPerFolder = 250;

// A tree of small files a few KiB each, in folders of a few hundred, as a product folder holds.
void MakeTree(const std::wstring& root, int files) {
  CreateDirectoryW(root.c_str(), nullptr);
  const std::string content(3000, 'x');
  std::wstring folder;
  for (int i = 0; i < files; ++i) {
    if (i % kFilesPerFolder == 0) {
      folder = root + L"\\f" + std::to_wstring(i / kFilesPerFolder);
      CreateDirectoryW(folder.c_str(), nullptr);
    }
    HANDLE file = CreateFileW((folder + L"\\x" + std::to_wstring(i) + L".class").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
}

double Timed(const std::vector<std::string>& trees, int threads) {
  const double start = Seconds();
  pub::JobCrew crew(threads);
  for (const std::string& tree : trees) crew.Add([tree] { pub::DeleteFolderTree(tree, nullptr); });
  crew.Finish();
  return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring root = argc > 1 ? tk::ToWide(argv[1]) : L"C:\\quarn-delete-bench";
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const int files = argc > 3 ? std::max(2, std::atoi(argv[3])) : 10000;
  CreateDirectoryW(root.c_str(), nullptr);
  const std::vector<std::wstring> trees = {root + L"\\a", root + L"\\b"};
  const std::vector<std::string> names = {tk::FromWide(trees[0]), tk::FromWide(trees[1])};
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    double alone = 0, sideBySide = 0;
    for (int pass = 0; pass < 2; ++pass) {
      const bool crewOfTwo = (pass == 0) == (round % 2 == 0);
      for (const std::wstring& tree : trees) MakeTree(tree, files / 2);
      Sleep(1500);  // the host writes the trees out before the timing starts
      (crewOfTwo ? sideBySide : alone) = Timed(names, crewOfTwo ? 2 : 1);
    }
    ratios.push_back(sideBySide / alone);
    std::printf("round %d: one thread %.2f s, two side by side %.2f s, ratio %.2f\n", round + 1, alone, sideBySide,
                ratios.back());
    std::fflush(stdout);
  }
  RemoveDirectoryW(root.c_str());
  std::sort(ratios.begin(), ratios.end());
  std::printf("median two side by side / one thread: %.2f\n", ratios[ratios.size() / 2]);
  return 0;
}

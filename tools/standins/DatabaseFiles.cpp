#include "tools/standins/DatabaseFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/TextLines.h"

namespace standin {
namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t cut = path.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

}  // namespace

std::wstring DataFolderSetting(const std::string& myIni) {
  bool inServer = false;
  for (const std::string& raw : tk::SplitTextLines(myIni)) {
    const std::string line = tk::Trimmed(raw);
    if (!line.empty() && line[0] == '[') {
      inServer = Lower(line) == "[mysqld]";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inServer || equals == std::string::npos || Lower(tk::Trimmed(line.substr(0, equals))) != "datadir") continue;
    std::wstring folder = tk::ToWide(tk::Trimmed(line.substr(equals + 1)));
    for (wchar_t& c : folder)
      if (c == L'/') c = L'\\';
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return folder;
  }
  return std::wstring();
}

std::wstring DataFolderOf(const std::wstring& programPath) {
  const std::wstring base = FolderOf(FolderOf(programPath));
  std::ifstream file(std::filesystem::path(base + L"\\my.ini"), std::ios::binary);
  if (!file) return std::wstring();
  return DataFolderSetting(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

}  // namespace standin

// Files and folders of the test machine, by wide path.
#pragma once

#include <string>

namespace e2e {

// The folder of the running driver program, ending in '\'; setup.exe and Setup.pak are built there.
std::wstring ProgramFolder();
// The system temporary folder, ending in '\'.
std::wstring TempFolder();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// True when the folder holds nothing (or is not there).
bool FolderIsEmpty(const std::wstring& folder);
// The size of a file, or -1 when it is missing.
long long FileSize(const std::wstring& path);
// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::wstring& path);
// Writes bytes as the whole file; true when all were written.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Deletes a folder with everything in it, read-only files too. True when it is gone.
bool DeleteTree(const std::wstring& folder);

// A fresh, empty folder under the temporary folder, deleted with its contents afterwards.
class WorkFolder {
 public:
  explicit WorkFolder(const wchar_t* prefix);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  // Ends in '\'.
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace e2e

// What an installation leaves in the registry: its record under HKLM\Software\quarn, its entry
// in the list of uninstallable programs (both in the 32-bit view, where the 32-bit program
// writes them) and the system-wide JAVA_HOME.
#pragma once

#include <string>

namespace e2e {

bool InstallRecordExists();
bool UninstallEntryExists();
// A string value of the record's version key (GBK); empty when missing.
std::string RecordedString(const wchar_t* valueName);

// Deletes the record, the uninstall entry, and a Tomcat service key left without a service.
void RemoveInstallRecord();

// Writes a value of any registry type (REG_SZ 1, REG_BINARY 3, REG_DWORD 4 ...) with bytes as
// its data under HKLM\Software\quarn\subkey, making the key when missing: a record as a
// registry cleaner, a hand edit or another program could leave it.
bool WriteRecordValue(const wchar_t* subkey, const wchar_t* name, unsigned long type, const std::string& bytes);

// A system-wide environment variable (HKLM ...\Session Manager\Environment).
bool ReadSystemVariable(const wchar_t* name, std::wstring* value);
// Sets it, or deletes it when `value` is null, and tells the running programs.
void WriteSystemVariable(const wchar_t* name, const std::wstring* value);

// Takes note of a system-wide variable and puts it back as it was (also absent).
class SavedSystemVariable {
 public:
  explicit SavedSystemVariable(const wchar_t* name);
  ~SavedSystemVariable() { Restore(); }
  SavedSystemVariable(const SavedSystemVariable&) = delete;
  SavedSystemVariable& operator=(const SavedSystemVariable&) = delete;

  bool WasSet() const { return wasSet_; }
  const std::wstring& Value() const { return value_; }
  void Restore() const;

 private:
  std::wstring name_;
  bool wasSet_ = false;
  std::wstring value_;
};

// What the system deletes at its next start (PendingFileRenameOperations), noted when made and
// put back as it was when it goes: nothing a test scheduled waits for the prefix's next start.
class SavedRestartDeletes {
 public:
  SavedRestartDeletes();
  ~SavedRestartDeletes();
  SavedRestartDeletes(const SavedRestartDeletes&) = delete;
  SavedRestartDeletes& operator=(const SavedRestartDeletes&) = delete;

  // Whether path is among them now (letter case aside: the system keeps its own form of it).
  bool Holds(const std::wstring& path) const;

 private:
  std::wstring before_;
};

}  // namespace e2e

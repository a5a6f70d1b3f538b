// Whether the folder the installation record names is the installation a removal may act on.
// A record can be changed by anyone with an administrator's rights, a registry cleaner or a
// script's typo; the removal deletes what it names with an administrator's rights. So before
// anything is stopped or deleted, the folder must prove to be this installation: it holds the
// uninstaller and the list of placed files the install run put there, and an uninstaller run
// from an install folder belongs to that very folder. System folders never qualify.
#pragma once

#include <string>
#include <vector>

namespace pub {

struct RemovalTargetFacts {
  std::string recordedFolder;             // installpath as recorded (GBK)
  bool holdsUninstaller = false;          // recordedFolder\install\Uninstall.exe is a file
  bool holdsPlacedFiles = false;          // recordedFolder\install\files.txt is a file
  // The install folder the running uninstaller was started from (its install\Uninstall.exe);
  // "" when the removal was started otherwise (setup.exe /uninstall, the wizard's choice).
  std::string uninstallerFolder;
  // The Windows folder, the Program Files folders, the profiles' folder, every user profile
  // and the known folders of a profile (Desktop, Documents, Downloads ...): never an install
  // folder, whatever they hold.
  std::vector<std::string> systemFolders;
};

// "" when the removal may go on; otherwise the message that names the folder and says why
// nothing was done.
std::string RemovalTargetProblem(const RemovalTargetFacts& facts);

// The recorded text leads to no folder at all: empty, relative, without a drive, or with
// components Windows would resolve elsewhere. Such a record is damaged (a run stopped while
// writing it, a hand edit); a removal can only delete it. A drive or a share does name a
// folder, and is refused above.
bool NamesNoFolder(const std::string& recordedFolder);

// Two folder paths name the same folder: compared without regard to case (ASCII and GBK's
// double-byte letters), with any trailing '\' left out.
bool SameFolder(const std::string& a, const std::string& b);

}  // namespace pub

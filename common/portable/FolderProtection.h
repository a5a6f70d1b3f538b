// Which folders of an installation get the protected access list, decided before anything is
// placed. The services run as LocalSystem from these folders: a folder any logged-on user may
// write would let that user replace what the services run. The access list is given as SDDL
// so that the decision is a plain value; the Windows half turns it into a security descriptor.
#pragma once

#include <string>
#include <vector>

namespace pub {

// Owner Administrators; a protected list (nothing inherited from the drive or the parent
// folder): SYSTEM and Administrators full control, Users read and execute, each inherited by
// every folder and file below. The folders the services write (the database's data, Tomcat's
// logs, work and temp) need nothing more while the services run as LocalSystem.
constexpr const char* kProtectedFolderSddl = "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

struct FolderProtection {
  // The whole install folder is protected; otherwise each product folder and install\ are.
  bool wholeRoot = true;
  // Full paths (GBK, no trailing '\'), in the order they are protected.
  std::vector<std::string> folders;
  std::string sddl = kProtectedFolderSddl;
  // The run log's line saying what was protected.
  std::string Description() const;
};

// What the install folder holds before the run places anything.
struct InstallFolderFacts {
  std::string folder;                    // the install folder, without a trailing '\'
  bool existed = false;                  // it was there before this run
  std::vector<std::string> entries;      // names right in it (files and folders), as listed
  bool recordedHere = false;             // the installation record names this folder (a repair)
  std::vector<std::string> products;     // the package's product folders
  std::vector<std::string> rootFiles;    // the package's files right in its root
};

// A new or empty folder, or the recorded installation's folder holding nothing but what the
// package places, is protected whole. A folder that already held anything else keeps its own
// access list, so nobody loses the rights to their own files there: then each product folder
// and install\ are protected instead.
FolderProtection PlanFolderProtection(const InstallFolderFacts& facts);

}  // namespace pub

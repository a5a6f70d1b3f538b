// Access lists for the folders the install run places files in, and folders in a temporary
// folder that nobody else controls. Every other person who logs on to the machine may write
// where Windows lets them (the root of C:, C:\Windows\Temp), while our services run as
// LocalSystem from what we place: what we place must be writable by administrators alone, and
// nothing we stage may be reached through a link someone planted.
#pragma once

#include <string>
#include <vector>

#include "common/portable/FolderProtection.h"

namespace pub {

// Gives each folder of the plan its owner and protected access list; Windows passes the
// inherited part on to everything already inside. "" when every folder got it, otherwise
// "folder: the system's reason" for the first that did not (the rest are not tried).
std::string ApplyFolderProtection(const FolderProtection& protection);

// Creates one folder (its parent must exist) with the protected access list given at
// creation, so that there is no moment at which others may write in it. False with the
// system's error code when it cannot be created, ERROR_ALREADY_EXISTS when something is there.
bool CreateProtectedFolder(const std::string& folder, unsigned long* error);

// The names right in a folder (files and folders, GBK), for deciding what a folder holds
// before anything is placed in it; empty when it cannot be listed.
std::vector<std::string> FolderEntryNames(const std::string& folder);

// A junction or symbolic link (of a folder or a file): a name that leads elsewhere.
bool IsLink(const std::wstring& path);

// Whether the file or folder is owned by SYSTEM, the Administrators group or the account this
// program runs as: nobody else can have changed its access list.
bool OwnedByUs(const std::wstring& path);

// Why this program may not write the file at path (absolute): one of the folders between the
// temporary folder and the file is a link, or belongs to someone else, who could swap the
// file for a link to any file of the machine meanwhile. "" otherwise, and for every file
// outside the temporary folder. GBK text naming the folder.
std::string UnsafeTempFolderOf(const std::wstring& path);

// A folder of its own in a temporary folder, made anew: whatever stands at its name (a link,
// someone else's folder, a file, a leftover of an earlier run) is removed without following
// any link, then the folder is created with the protected access list. "" when made; otherwise
// why not, for the user (GBK), and nothing was written into it.
std::string MakeFreshPrivateFolder(const std::string& folder);

}  // namespace pub

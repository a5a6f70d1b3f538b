// Which volume a folder lives on, for the questions that depend on it: free space, and whether
// a file can be moved to another folder by renaming it.
#pragma once

#include <string>

namespace pub {

// The root of the volume that holds (or would hold) folder: the mount point for a folder
// mounted into another volume, else the drive ("C:\"). The folder need not exist yet.
std::wstring VolumeRoot(const std::string& folder);

// True when both folders are on one volume, as far as their volume roots tell. Two ways to
// reach one volume (a drive letter and a mounted folder) count as two: the caller then
// copies, which is always right.
bool OnOneVolume(const std::string& first, const std::string& second);

}  // namespace pub

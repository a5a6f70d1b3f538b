// The staging folder of one install, chosen from where the install folder lies.
#pragma once

#include <string>

namespace pub {

// tempStaging (ends in '\') when it lies on the install folder's volume. Otherwise the folder
// VolumeStagingFolder names on that volume, made there anew (with its protected access list,
// whatever stood there removed without following a link) to learn that it can be; tempStaging
// again, with the reason in *note, when it cannot, so that the files are copied as before.
std::string ChooseStagingFolder(const std::string& installFolder, const std::string& tempStaging, std::string* note);

}  // namespace pub

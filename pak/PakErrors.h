// The two ways an archive opened for reading fails that the installer tells its user apart.
#pragma once

#include "toolkit/core/Errors.h"

namespace pak {

// No archive file at the name (nor, on Windows, the folder it should be in). An EFOpenError
// whose ErrorCode() is the system's code (ENOENT; ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND),
// so a catch of EFOpenError still takes it.
class EPackageMissing : public tk::EFOpenError {
  using EFOpenError::EFOpenError;
};

// The file is there but is no sound archive: the header, the directory or an entry's data do
// not lie inside it. An EReadError, as a read that ran out of file would raise.
class EPackageDamaged : public tk::EReadError {
  using EReadError::EReadError;
};

}  // namespace pak

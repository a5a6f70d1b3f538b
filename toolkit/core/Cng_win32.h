// CNG's functions, taken from the system's bcrypt.dll (SystemLibrary) the first time they are
// needed: bcrypt.dll is no KnownDLL, so the programs do not import it. Windows code only.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#ifndef BCRYPT_SUCCESS
#define BCRYPT_SUCCESS(status) (static_cast<NTSTATUS>(status) >= 0)
#endif

namespace tk {

struct Cng {
  decltype(&BCryptOpenAlgorithmProvider) OpenAlgorithmProvider;
  decltype(&BCryptCloseAlgorithmProvider) CloseAlgorithmProvider;
  decltype(&BCryptCreateHash) CreateHash;
  decltype(&BCryptHashData) HashData;
  decltype(&BCryptFinishHash) FinishHash;
  decltype(&BCryptDestroyHash) DestroyHash;
  decltype(&BCryptImportKeyPair) ImportKeyPair;
  decltype(&BCryptDestroyKey) DestroyKey;
  decltype(&BCryptVerifySignature) VerifySignature;
  decltype(&BCryptGenRandom) GenRandom;
};

// Loaded once for the process; EInOutError naming bcrypt.dll and the system's reason when the
// DLL or one of the functions is missing (the next call tries again).
const Cng& CngFunctions();

}  // namespace tk

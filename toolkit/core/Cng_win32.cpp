#include "toolkit/core/Cng_win32.h"

#include "toolkit/core/SystemLibrary.h"

namespace tk {

const Cng& CngFunctions() {
  static const Cng functions = [] {
    static const SystemLibrary bcrypt(L"bcrypt.dll");
    Cng cng;
    bcrypt.Bind(cng.OpenAlgorithmProvider, "BCryptOpenAlgorithmProvider");
    bcrypt.Bind(cng.CloseAlgorithmProvider, "BCryptCloseAlgorithmProvider");
    bcrypt.Bind(cng.CreateHash, "BCryptCreateHash");
    bcrypt.Bind(cng.HashData, "BCryptHashData");
    bcrypt.Bind(cng.FinishHash, "BCryptFinishHash");
    bcrypt.Bind(cng.DestroyHash, "BCryptDestroyHash");
    bcrypt.Bind(cng.ImportKeyPair, "BCryptImportKeyPair");
    bcrypt.Bind(cng.DestroyKey, "BCryptDestroyKey");
    bcrypt.Bind(cng.VerifySignature, "BCryptVerifySignature");
    bcrypt.Bind(cng.GenRandom, "BCryptGenRandom");
    return cng;
  }();
  return functions;
}

}  // namespace tk

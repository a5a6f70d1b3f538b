#include "toolkit/core/Cng_win32.h"

#include "toolkit/core/SystemLibrary.h"

namespace tk {

const Cng& CngFunctions() {
  static const Cng functions = [] {
    static const SystemLibrary bcrypt(L"bcrypt.dll");
    Cng cng;
    cng.OpenAlgorithmProvider = bcrypt.Get<decltype(cng.OpenAlgorithmProvider)>("BCryptOpenAlgorithmProvider");
    cng.CloseAlgorithmProvider = bcrypt.Get<decltype(cng.CloseAlgorithmProvider)>("BCryptCloseAlgorithmProvider");
    cng.CreateHash = bcrypt.Get<decltype(cng.CreateHash)>("BCryptCreateHash");
    cng.HashData = bcrypt.Get<decltype(cng.HashData)>("BCryptHashData");
    cng.FinishHash = bcrypt.Get<decltype(cng.FinishHash)>("BCryptFinishHash");
    cng.DestroyHash = bcrypt.Get<decltype(cng.DestroyHash)>("BCryptDestroyHash");
    cng.ImportKeyPair = bcrypt.Get<decltype(cng.ImportKeyPair)>("BCryptImportKeyPair");
    cng.DestroyKey = bcrypt.Get<decltype(cng.DestroyKey)>("BCryptDestroyKey");
    cng.VerifySignature = bcrypt.Get<decltype(cng.VerifySignature)>("BCryptVerifySignature");
    return cng;
  }();
  return functions;
}

}  // namespace tk

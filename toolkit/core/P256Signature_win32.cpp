// https://learn.microsoft.com/windows/win32/api/bcrypt/nf-bcrypt-bcryptimportkeypair
// https://learn.microsoft.com/windows/win32/api/bcrypt/nf-bcrypt-bcryptverifysignature
#include <vector>

#include "toolkit/core/Cng_win32.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"
#include "toolkit/core/Sha256.h"

namespace tk {
namespace {

constexpr NTSTATUS kInvalidSignature = static_cast<NTSTATUS>(0xC000A000L);  // STATUS_INVALID_SIGNATURE

class Provider {
 public:
  Provider() {
    if (!BCRYPT_SUCCESS(CngFunctions().OpenAlgorithmProvider(&handle_, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)))
      throw ECryptoError("无法校验签名：系统没有提供 ECDSA P-256");
  }
  ~Provider() { CngFunctions().CloseAlgorithmProvider(handle_, 0); }
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;
  BCRYPT_ALG_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class PublicKey {
 public:
  // CNG's public blob: the blob header, then X and Y without the point's leading 0x04.
  PublicKey(const Provider& provider, const std::string& point) {
    if (point.size() != kP256PublicKeySize || point[0] != 0x04)
      throw ECryptoError("公钥无效：应为 65 字节的 P-256 点（0x04、X、Y）");
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    memcpy(blob.data(), &header, sizeof header);
    memcpy(blob.data() + sizeof header, point.data() + 1, 64);
    if (!BCRYPT_SUCCESS(CngFunctions().ImportKeyPair(provider.Get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &handle_,
                                                     blob.data(), static_cast<ULONG>(blob.size()), 0)))
      throw ECryptoError("公钥无效：不是 P-256 曲线上的点");
  }
  ~PublicKey() { CngFunctions().DestroyKey(handle_); }
  PublicKey(const PublicKey&) = delete;
  PublicKey& operator=(const PublicKey&) = delete;
  BCRYPT_KEY_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_KEY_HANDLE handle_ = nullptr;
};

}  // namespace

bool IsP256PublicKey(const std::string& key) {
  Provider provider;  // a system without ECDSA P-256 raises: that is no answer about the key
  try {
    PublicKey imported(provider, key);
    return true;
  } catch (const ECryptoError&) {
    return false;
  }
}

bool VerifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) {
  Provider provider;
  PublicKey key(provider, publicKey);
  if (signature.size() != kP256SignatureSize) return false;
  Sha256Digest digest = Sha256Of(message);
  std::vector<UCHAR> sig(signature.begin(), signature.end());
  NTSTATUS status = CngFunctions().VerifySignature(key.Get(), nullptr, digest.data(), static_cast<ULONG>(digest.size()),
                                                   sig.data(), static_cast<ULONG>(sig.size()), 0);
  if (BCRYPT_SUCCESS(status)) return true;
  if (status == kInvalidSignature) return false;
  throw ECryptoError(Format("无法校验签名：系统返回 0x%08lX", static_cast<unsigned long>(status)));
}

}  // namespace tk

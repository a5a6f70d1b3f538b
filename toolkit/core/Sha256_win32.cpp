// https://learn.microsoft.com/windows/win32/seccng/creating-a-hash-with-cng
#include "toolkit/core/Cng_win32.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/Sha256.h"

namespace tk {

// The provider is opened with BCRYPT_HASH_REUSABLE_FLAG, so Finish leaves the hash object ready
// for the next digest; the flag needs Windows 8, so where it is refused a new object is made.
struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool reusable = true;
  ~State() {
    if (hash) CngFunctions().DestroyHash(hash);
    if (algorithm) CngFunctions().CloseAlgorithmProvider(algorithm, 0);
  }
  void CreateHash() {
    if (!BCRYPT_SUCCESS(CngFunctions().CreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)))
      throw ECryptoError("SHA-256 无法开始");
  }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  if (!BCRYPT_SUCCESS(CngFunctions().OpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                           BCRYPT_HASH_REUSABLE_FLAG))) {
    state_->reusable = false;
    if (!BCRYPT_SUCCESS(CngFunctions().OpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
      throw ECryptoError("SHA-256 无法开始：系统没有提供 SHA-256");
  }
  state_->CreateHash();
}

Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) {
  // BCryptHashData takes a ULONG count: feed a large buffer in pieces.
  const UCHAR* bytes = static_cast<const UCHAR*>(data);
  while (size > 0) {
    ULONG piece = static_cast<ULONG>(size > 0x40000000u ? 0x40000000u : size);
    if (!BCRYPT_SUCCESS(CngFunctions().HashData(state_->hash, const_cast<UCHAR*>(bytes), piece, 0)))
      throw ECryptoError("SHA-256 计算出错");
    bytes += piece;
    size -= piece;
  }
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest;
  if (!BCRYPT_SUCCESS(CngFunctions().FinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
    throw ECryptoError("SHA-256 计算出错");
  if (!state_->reusable) {
    CngFunctions().DestroyHash(state_->hash);
    state_->hash = nullptr;
    state_->CreateHash();
  }
  return digest;
}

}  // namespace tk

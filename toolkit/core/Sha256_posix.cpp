// https://www.openssl.org/docs/man3.0/man3/EVP_DigestInit.html
#include <openssl/evp.h>

#include "toolkit/core/Errors.h"
#include "toolkit/core/Sha256.h"

namespace tk {

struct Sha256::State {
  EVP_MD_CTX* context = nullptr;
  ~State() { EVP_MD_CTX_free(context); }
};

namespace {

void Start(EVP_MD_CTX* context) {
  if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) throw ECryptoError("SHA-256 无法开始");
}

}  // namespace

Sha256::Sha256() : state_(std::make_unique<State>()) {
  state_->context = EVP_MD_CTX_new();
  if (!state_->context) throw ECryptoError("SHA-256 无法开始");
  Start(state_->context);
}

Sha256::~Sha256() = default;

void Sha256::Update(const void* data, size_t size) {
  if (size != 0 && EVP_DigestUpdate(state_->context, data, size) != 1) throw ECryptoError("SHA-256 计算出错");
}

Sha256Digest Sha256::Finish() {
  Sha256Digest digest;
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(state_->context, digest.data(), &length) != 1 || length != digest.size())
    throw ECryptoError("SHA-256 计算出错");
  Start(state_->context);
  return digest;
}

}  // namespace tk

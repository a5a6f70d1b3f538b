// https://www.openssl.org/docs/man3.0/man3/EVP_PKEY_fromdata.html
// https://www.openssl.org/docs/man3.0/man3/EVP_DigestVerifyInit.html
#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

#include <memory>

#include "toolkit/core/Errors.h"
#include "toolkit/core/P256Signature.h"

namespace tk {
namespace {

struct Free {
  void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
  void operator()(ECDSA_SIG* p) const { ECDSA_SIG_free(p); }
  void operator()(unsigned char* p) const { OPENSSL_free(p); }
};
template <typename T>
using Owned = std::unique_ptr<T, Free>;

Owned<EVP_PKEY> KeyFromPoint(const std::string& point) {
  if (point.size() != kP256PublicKeySize || point[0] != 0x04)
    throw ECryptoError("公钥无效：应为 65 字节的 P-256 点（0x04、X、Y）");
  Owned<EVP_PKEY_CTX> context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  char group[] = "prime256v1";
  OSSL_PARAM params[] = {
      OSSL_PARAM_construct_utf8_string(OSSL_PKEY_PARAM_GROUP_NAME, group, 0),
      OSSL_PARAM_construct_octet_string(OSSL_PKEY_PARAM_PUB_KEY, const_cast<char*>(point.data()), point.size()),
      OSSL_PARAM_construct_end()};
  EVP_PKEY* key = nullptr;
  if (!context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, params) != 1 || !key)
    throw ECryptoError("公钥无效：不是 P-256 曲线上的点");
  return Owned<EVP_PKEY>(key);
}

// r and s as OpenSSL's DER form; empty when they cannot be taken.
std::string DerSignature(const std::string& signature) {
  Owned<ECDSA_SIG> sig(ECDSA_SIG_new());
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(signature.data());
  BIGNUM* r = BN_bin2bn(bytes, 32, nullptr);
  BIGNUM* s = BN_bin2bn(bytes + 32, 32, nullptr);
  if (!sig || !r || !s || ECDSA_SIG_set0(sig.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return "";
  }
  unsigned char* der = nullptr;
  int length = i2d_ECDSA_SIG(sig.get(), &der);
  Owned<unsigned char> owned(der);
  return length > 0 ? std::string(reinterpret_cast<char*>(der), static_cast<size_t>(length)) : "";
}

}  // namespace

bool IsP256PublicKey(const std::string& key) {
  try {
    KeyFromPoint(key);
    return true;
  } catch (const ECryptoError&) {
    return false;
  }
}

bool VerifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) {
  Owned<EVP_PKEY> key = KeyFromPoint(publicKey);
  if (signature.size() != kP256SignatureSize) return false;
  std::string der = DerSignature(signature);
  if (der.empty()) return false;
  Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1)
    throw ECryptoError("无法校验签名");
  return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(der.data()), der.size(),
                          reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

}  // namespace tk

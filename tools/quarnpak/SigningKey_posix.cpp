// https://www.openssl.org/docs/man3.0/man3/PEM_read_bio_PrivateKey.html
// https://www.openssl.org/docs/man3.0/man3/EVP_DigestSignInit.html
#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include "toolkit/core/P256Signature.h"
#include "tools/quarnpak/SigningKey.h"
#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace fs = std::filesystem;

namespace qp {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using OwnedKey = std::unique_ptr<EVP_PKEY, KeyFree>;

// publicOnly: a public key is taken as well as a private one.
OwnedKey ReadPem(const fs::path& path, bool publicOnly) {
  BIO* file = BIO_new_file(path.c_str(), "r");
  if (!file) throw ToolError(ShowGbk("无法读取密钥 ") + ShowPath(path));
  EVP_PKEY* key = PEM_read_bio_PrivateKey(file, nullptr, nullptr, nullptr);
  if (!key && publicOnly) {
    (void)BIO_reset(file);
    key = PEM_read_bio_PUBKEY(file, nullptr, nullptr, nullptr);
  }
  BIO_free(file);
  if (!key) throw ToolError(ShowPath(path) + ShowGbk(publicOnly ? " 中没有 PEM 格式的私钥或公钥" : " 中没有 PEM 格式的私钥"));
  OwnedKey owned(key);
  char group[64] = "";
  size_t length = 0;
  if (EVP_PKEY_get_base_id(key) != EVP_PKEY_EC ||
      EVP_PKEY_get_utf8_string_param(key, OSSL_PKEY_PARAM_GROUP_NAME, group, sizeof group, &length) != 1 ||
      std::string(group) != "prime256v1")
    throw ToolError(ShowPath(path) + ShowGbk(" 不是 EC P-256 密钥；可以这样生成一把：") +
                    "openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out maker-key.pem");
  return owned;
}

std::string PointOf(EVP_PKEY* key) {
  unsigned char point[tk::kP256PublicKeySize];
  size_t length = 0;
  if (EVP_PKEY_get_octet_string_param(key, OSSL_PKEY_PARAM_ENCODED_PUBLIC_KEY, point, sizeof point, &length) != 1 ||
      length != sizeof point || point[0] != 0x04)
    throw ToolError(ShowGbk("无法取得签名密钥的公钥"));
  return std::string(reinterpret_cast<char*>(point), length);
}

}  // namespace

struct SigningKey::State {
  OwnedKey key;
};

SigningKey::SigningKey(const fs::path& pemFile) : state_(std::make_unique<State>()) {
  state_->key = ReadPem(pemFile, false);
}

SigningKey::~SigningKey() = default;

std::string SigningKey::PublicKey() const { return PointOf(state_->key.get()); }

std::string SigningKey::Sign(const std::string& message) const {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  std::string der(128, '\0');
  size_t derLength = der.size();
  bool signedIt = context && EVP_DigestSignInit(context, nullptr, EVP_sha256(), nullptr, state_->key.get()) == 1 &&
                  EVP_DigestSign(context, reinterpret_cast<unsigned char*>(&der[0]), &derLength,
                                 reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
  EVP_MD_CTX_free(context);
  if (!signedIt) throw ToolError(ShowGbk("签名失败"));
  const unsigned char* cursor = reinterpret_cast<const unsigned char*>(der.data());
  ECDSA_SIG* sig = d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(derLength));
  if (!sig) throw ToolError(ShowGbk("签名失败：OpenSSL 没有给出 ECDSA 签名"));
  std::string raw(tk::kP256SignatureSize, '\0');
  unsigned char* out = reinterpret_cast<unsigned char*>(&raw[0]);
  bool converted = BN_bn2binpad(ECDSA_SIG_get0_r(sig), out, 32) == 32 &&
                   BN_bn2binpad(ECDSA_SIG_get0_s(sig), out + 32, 32) == 32;
  ECDSA_SIG_free(sig);
  if (!converted) throw ToolError(ShowGbk("签名失败：签名放不进 64 字节"));
  return raw;
}

std::string PublicKeyFromPem(const fs::path& pemFile) { return PointOf(ReadPem(pemFile, true).get()); }

}  // namespace qp

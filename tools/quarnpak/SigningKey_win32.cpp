// quarnpak.exe makes no signatures (see SigningKey.h): it has no OpenSSL, and a maker's private
// key belongs on the build machine, not beside the Windows tools.
#include "tools/quarnpak/SigningKey.h"

#include "tools/quarnpak/Texts.h"
#include "tools/quarnpak/ToolError.h"

namespace qp {
namespace {

[[noreturn]] void Refuse() {
  throw ToolError(ShowGbk("quarnpak.exe 不能签名，也不读私钥：请用 Linux 上的 quarnpak（OpenSSL）签名和导出公钥；"
                          "quarnpak.exe 只校验签名"));
}

}  // namespace

struct SigningKey::State {};

SigningKey::SigningKey(const std::filesystem::path&) { Refuse(); }
SigningKey::~SigningKey() = default;
std::string SigningKey::PublicKey() const { Refuse(); }
std::string SigningKey::Sign(const std::string&) const { Refuse(); }
std::string PublicKeyFromPem(const std::filesystem::path&) { Refuse(); }

}  // namespace qp

// A maker's key for signing packages: an EC P-256 private key in a PEM file, as
//   openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out maker-key.pem
// writes it. Signing needs OpenSSL and is done by the native quarnpak only: quarnpak.exe checks
// signatures through the system's CNG but makes none, and refuses --sign and pubkey.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace qp {

class SigningKey {
 public:
  // ToolError when the file cannot be read or holds no P-256 private key.
  explicit SigningKey(const std::filesystem::path& pemFile);
  ~SigningKey();
  SigningKey(const SigningKey&) = delete;
  SigningKey& operator=(const SigningKey&) = delete;

  // The 65-byte uncompressed point (0x04, X, Y): the form the installer embeds.
  std::string PublicKey() const;
  // An ECDSA signature of message with SHA-256: r then s, 32 big-endian bytes each.
  std::string Sign(const std::string& message) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The public point of a PEM file holding a P-256 private key or a public key.
std::string PublicKeyFromPem(const std::filesystem::path& pemFile);

}  // namespace qp

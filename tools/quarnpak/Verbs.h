// The things quarnpak does. Each prints its result on stdout and raises ToolError when the
// work cannot be done; nothing is reported as done that was not.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qp {

struct CreateOptions {
  std::filesystem::path source;
  std::filesystem::path out;
  std::optional<std::string> version;      // UTF-8; a new archive's default when absent
  std::optional<std::string> description;  // UTF-8; a new archive's default when absent
  std::optional<std::filesystem::path> signKey;  // a P-256 private key in PEM: signs the digest block
};

void CreateVerb(const CreateOptions& options);
void InfoVerb(const std::filesystem::path& archive);
void ListVerb(const std::filesystem::path& archive);
void ExtractVerb(const std::filesystem::path& archive, const std::filesystem::path& target);
// makerKey: a public key file of `pubkey`; the archive must then be signed with its private key.
void VerifyVerb(const std::filesystem::path& archive, const std::optional<std::filesystem::path>& makerKey);
// Writes the public key of a PEM key (private or public) as the 65 bytes the installer embeds.
void PubkeyVerb(const std::filesystem::path& pemKey, const std::filesystem::path& out);
// Writes program with the package inside it (common/portable/EmbeddedPackage.h) to out; the
// program must be unsigned and carry no package yet, and the package must be a sound archive.
void EmbedVerb(const std::filesystem::path& program, const std::filesystem::path& package,
               const std::filesystem::path& out);

}  // namespace qp

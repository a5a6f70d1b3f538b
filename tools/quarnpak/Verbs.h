// The five things quarnpak does. Each prints its result on stdout and raises ToolError when the
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
};

void CreateVerb(const CreateOptions& options);
void InfoVerb(const std::filesystem::path& archive);
void ListVerb(const std::filesystem::path& archive);
void ExtractVerb(const std::filesystem::path& archive, const std::filesystem::path& target);
void VerifyVerb(const std::filesystem::path& archive);

}  // namespace qp

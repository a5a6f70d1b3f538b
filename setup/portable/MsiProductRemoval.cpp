#include "setup/portable/MsiProductRemoval.h"

#include <cctype>

namespace pub {

bool IsProductCode(const std::string& text) {
  static const char pattern[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != sizeof pattern - 1) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool hexWanted = pattern[i] == 'X';
    if (hexWanted ? !std::isxdigit(static_cast<unsigned char>(text[i])) : text[i] != pattern[i]) return false;
  }
  return true;
}

std::optional<ToolCommand> MsiRemovalCommand(const std::string& systemFolder, const std::string& productCode) {
  if (!IsProductCode(productCode)) return std::nullopt;
  return ProgramCommand(systemFolder + "\\msiexec.exe", "/x " + productCode + " /qn /norestart", systemFolder,
                        kMsiRemovalSeconds);
}

bool MsiRemovalSucceeded(uint32_t exitCode) {
  return exitCode == 0 || exitCode == 1605 || exitCode == 1641 || exitCode == 3010;
}

}  // namespace pub

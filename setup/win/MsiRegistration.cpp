#include "setup/win/MsiRegistration.h"

#include <windows.h>

#include "setup/portable/MsiProductRemoval.h"
#include "common/win/ExternalCommands.h"
#include "common/win/SystemFolders.h"
#include "toolkit/win/Registry.h"

namespace setup {

std::string UnregisterInstallingMsi(pub::Progress& progress) {
  tk::TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKey(kMsiKey, false)) return "";
  const tk::RegistryValue value = registry.TryReadValue("ProductCode");
  registry.CloseKey();
  if (!value.exists) return "";
  const std::string code =
      value.type == REG_SZ ? tk::TRegistry::TextOfData(value.data) : std::string("(不是文本)");
  const auto command = pub::MsiRemovalCommand(pub::SystemDirectory(), code);
  if (!command)
    return std::string("HKEY_LOCAL_MACHINE") + kMsiKey + " 的 ProductCode 不是 MSI 产品代码：" + code +
           "，MSI 的注册没有删除。";
  const pub::CommandOutcome outcome = pub::RunLogged(*command, &progress);
  if (outcome.Finished() && pub::MsiRemovalSucceeded(outcome.exitCode)) return "";
  return "无法删除 MSI 的注册（" + code + "）：" + outcome.Describe();
}

}  // namespace setup

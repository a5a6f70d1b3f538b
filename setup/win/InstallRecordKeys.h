// Where the installation is recorded, under HKEY_LOCAL_MACHINE.
#pragma once

namespace setup {

constexpr const char* kQuarnKey = "\\Software\\quarn";
constexpr const char* kVersionKey = "\\Software\\quarn\\version";
constexpr const char* kProductKey = "\\Software\\quarn\\installproduct";
constexpr const char* kUninstallKey = "\\Software\\Microsoft\\windows\\CurrentVersion\\Uninstall\\Quarn";
constexpr const char* kTomcatServiceKey = "\\SYSTEM\\CurrentControlSet\\Services\\tomcatquarn";

// The uninstall entry's texts. The uninstaller is this program, placed at kUninstallerPath.
constexpr const char* kUninstallerPath = "\\install\\Uninstall.exe";
constexpr const char* kDisplayName = "Quarn系列软件";
constexpr const char* kPublisher = "Quarn工作室";
// The maker's web address, in the uninstall entry and the damaged-package message.
constexpr const char* kMakerSite = "http://www.quarn.cn/";

}  // namespace setup

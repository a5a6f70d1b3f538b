// The installation engine under test: a wizard window with a package of the test's making,
// and the machine-wide state the engine touches (record, services, the system JAVA_HOME, the
// default install folder c:\quarn) saved or cleaned before and restored or cleaned after.
#pragma once

#include <string>
#include <vector>

#include "tests/win/support/PackageBuilder.h"
#include "tests/win/support/WizardFixture.h"

namespace testing_support {

class EngineFixture : public WizardFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A wizard window beside a Setup.pak holding the files.
  ui::TfSetupMainForm* CreateWizardWith(const std::vector<PackageFile>& files);
  // The system-wide JAVA_HOME, or empty.
  static std::string SystemJavaHome();
  static void SetSystemJavaHome(const std::string& value);  // empty removes it
  // Removes a service of that name if there is one.
  static void DeleteService(const wchar_t* name);

  static std::string ReadFile(const std::string& path);
  static bool Exists(const std::string& path);
  static void MakeFolders(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& content);

 private:
  std::string savedJavaHome_;
};

// A small bundle like the real one: forum, cms and blog, the Tomcat and MySQL configuration
// files with the default paths, no service tools.
std::vector<PackageFile> BundleFiles(bool forum, bool cms);

}  // namespace testing_support

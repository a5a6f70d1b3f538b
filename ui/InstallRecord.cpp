// The installation record in the registry.
#include "ui/SetupMainForm.h"

namespace ui {

// Reading the record comes with the installation engine; until then nothing is recorded.
bool TfSetupMainForm::DetectInstallation() { return false; }

}  // namespace ui

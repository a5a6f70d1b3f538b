// setup.exe: no arguments, no configuration of its own.
#include <windows.h>

#include "app/StartUp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return app::RunSetup(); }

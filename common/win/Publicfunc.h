// The shared routines of the wizard and the installation engine, gathered in one place.
#pragma once

#include "common/portable/PathText.h"
#include "common/win/Environment.h"
#include "common/win/ExternalCommands.h"
#include "common/win/FileTree.h"
#include "common/win/TextFile.h"

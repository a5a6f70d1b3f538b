// Identifiers of the program's string table (strings.rc).
#pragma once

#define IDS_USER_ENVIRONMENT_KEY 1001
#define IDS_SYSTEM_ENVIRONMENT_KEY 1002

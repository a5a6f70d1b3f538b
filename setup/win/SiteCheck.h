// Whether the installed site answers: an HTTP request to the local web server.
#pragma once

#include <cstdint>

#include "setup/portable/PortCheck.h"

namespace pub {

// The installed site's address as the final page shows it; its server takes kSitePort.
constexpr const char* kSiteAddress = "http://localhost:8080";

// One GET of "/" on 127.0.0.1:port; true when an HTTP status line comes back (any status: the
// server runs and serves, which is what the installation promised).
bool SiteAnswers(uint16_t port);

// Asks again until the site answers, for at most timeoutMs; the window's messages run
// meanwhile.
bool WaitForSite(uint16_t port, unsigned timeoutMs);

}  // namespace pub

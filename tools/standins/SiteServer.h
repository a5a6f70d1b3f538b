// A small HTTP server for the installed site: 127.0.0.1 only, one connection at a time,
// GET and HEAD, every connection closed after its answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace site {

struct SiteSettings {
  std::wstring installFolder;  // ends in '\'
  std::wstring javaHome;
  unsigned short port = 8080;
};

// Serves until stopEvent is signalled; calls onListening once the port is taken. Returns 0,
// or the Winsock error that kept it from listening.
DWORD ServeSite(const SiteSettings& settings, HANDLE stopEvent, const std::function<void()>& onListening);

}  // namespace site

// The local site as a browser reaches it.
#pragma once

#include <string>

namespace e2e {

struct HttpAnswer {
  int status = 0;  // 0: nothing answered
  std::string body;
};

// GET `target` from 127.0.0.1:port over HTTP/1.0.
HttpAnswer HttpGet(const std::string& target, unsigned short port);

// Whether anything accepts connections on 127.0.0.1:port.
bool PortInUse(unsigned short port);

}  // namespace e2e

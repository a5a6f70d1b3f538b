// The local site as a browser reaches it.
#pragma once

#include <cstdint>
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

// A socket of this process listening on port on every address, as another server on the
// machine holds it, until Close or destruction.
class PortHolder {
 public:
  explicit PortHolder(unsigned short port);
  ~PortHolder() { Close(); }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  bool Listening() const { return socket_ != ~uintptr_t{0}; }
  void Close();

 private:
  uintptr_t socket_ = ~uintptr_t{0};  // a SOCKET, without winsock2.h in this header
};

// The process the system's TCP table names as the holder of a listener on port; 0 when it
// names none (Wine does not know which of its processes holds a socket).
unsigned long ListeningProcess(unsigned short port);

}  // namespace e2e

// https://learn.microsoft.com/windows/win32/api/winsock2/nf-winsock2-connect
#include <winsock2.h>

#include "tests/e2e/driver/Http.h"

#include <cstdlib>

namespace e2e {
namespace {

// A connected socket to the loopback port, or INVALID_SOCKET.
SOCKET Connect(unsigned short port) {
  SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (connection == INVALID_SOCKET) return connection;
  DWORD timeout = 10000;
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(connection);
    return INVALID_SOCKET;
  }
  return connection;
}

class Winsock {
 public:
  Winsock() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~Winsock() {
    if (ok_) WSACleanup();
  }
  bool Ok() const { return ok_; }

 private:
  WSADATA data_;
  bool ok_;
};

}  // namespace

HttpAnswer HttpGet(const std::string& target, unsigned short port) {
  HttpAnswer answer;
  Winsock winsock;
  if (!winsock.Ok()) return answer;
  SOCKET connection = Connect(port);
  if (connection == INVALID_SOCKET) return answer;
  std::string request = "GET " + target + " HTTP/1.0\r\nHost: localhost\r\n\r\n";
  send(connection, request.data(), static_cast<int>(request.size()), 0);
  std::string response;
  char buffer[4096];
  for (int got; (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, got);
  closesocket(connection);
  size_t headEnd = response.find("\r\n\r\n");
  if (response.compare(0, 5, "HTTP/") != 0 || headEnd == std::string::npos) return answer;
  answer.status = std::atoi(response.c_str() + response.find(' ') + 1);
  answer.body = response.substr(headEnd + 4);
  return answer;
}

bool PortInUse(unsigned short port) {
  Winsock winsock;
  if (!winsock.Ok()) return false;
  SOCKET connection = Connect(port);
  if (connection == INVALID_SOCKET) return false;
  closesocket(connection);
  return true;
}

}  // namespace e2e

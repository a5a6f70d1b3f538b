// https://learn.microsoft.com/windows/win32/api/winsock2/nf-winsock2-connect
// https://learn.microsoft.com/windows/win32/api/iphlpapi/nf-iphlpapi-getextendedtcptable
#include <winsock2.h>
#include <iphlpapi.h>

#include "tests/e2e/driver/Http.h"

#include <cstdlib>
#include <vector>

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

PortHolder::PortHolder(unsigned short port) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (listener != INVALID_SOCKET &&
      (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 5) != 0)) {
    closesocket(listener);
    listener = INVALID_SOCKET;
  }
  if (listener == INVALID_SOCKET) {
    WSACleanup();
    return;
  }
  socket_ = listener;
}

void PortHolder::Close() {
  if (!Listening()) return;
  closesocket(static_cast<SOCKET>(socket_));
  socket_ = ~uintptr_t{0};
  WSACleanup();
}

unsigned long ListeningProcess(unsigned short port) {
  DWORD size = 0;
  GetExtendedTcpTable(nullptr, &size, FALSE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER, 0);
  std::vector<char> bytes(size + 4096);
  size = static_cast<DWORD>(bytes.size());
  if (GetExtendedTcpTable(bytes.data(), &size, FALSE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER, 0) != NO_ERROR) return 0;
  const auto* table = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(bytes.data());
  for (DWORD i = 0; i < table->dwNumEntries; ++i)
    if (ntohs(static_cast<u_short>(table->table[i].dwLocalPort)) == port) return table->table[i].dwOwningPid;
  return 0;
}

}  // namespace e2e

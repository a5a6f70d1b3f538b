// https://learn.microsoft.com/windows/win32/api/winsock2/nf-winsock2-connect
#include "setup/win/SiteCheck.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <string>

#include "common/win/WalkSupport.h"

namespace pub {
namespace {

constexpr DWORD kIoTimeoutMs = 5000;
constexpr DWORD kSitePollMs = 250;

class Winsock {
 public:
  Winsock() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~Winsock() {
    if (ok_) WSACleanup();
  }
  bool Ok() const { return ok_; }

 private:
  WSADATA data_ = {};
  bool ok_ = false;
};

}  // namespace

bool SiteAnswers(uint16_t port) {
  Winsock winsock;
  if (!winsock.Ok()) return false;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return false;
  DWORD timeout = kIoTimeoutMs;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool answered = false;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET / HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";
    if (send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
      char reply[16] = {};
      int got = 0;
      while (got < 12) {
        int n = recv(s, reply + got, 12 - got, 0);
        if (n <= 0) break;
        got += n;
      }
      // "HTTP/1.x NNN"
      answered = got >= 12 && std::memcmp(reply, "HTTP/", 5) == 0 && reply[8] == ' ';
    }
  }
  closesocket(s);
  return answered;
}

bool WaitForSite(uint16_t port, unsigned timeoutMs) {
  return walk::PollUntil([port] { return SiteAnswers(port); }, timeoutMs, kSitePollMs);
}

}  // namespace pub

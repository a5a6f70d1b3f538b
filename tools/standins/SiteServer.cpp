#include <winsock2.h>
#include <ws2tcpip.h>

#include "tools/standins/SiteServer.h"

#include <string>

#include "tools/standins/SitePages.h"
#include "tools/standins/SitePaths.h"

namespace site {
namespace {

constexpr size_t kMaxRequestHead = 8192;
constexpr DWORD kClientTimeoutMs = 5000;  // a silent client holds the one server thread no longer
constexpr DWORD kAcceptPollMs = 250;

struct Request {
  std::string method, target;
};

bool SendAll(SOCKET client, const char* data, size_t size) {
  while (size > 0) {
    int sent = send(client, data, static_cast<int>(size < 65536 ? size : 65536), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= sent;
  }
  return true;
}

void SendHead(SOCKET client, int status, const char* reason, const char* type, unsigned long long length,
              const std::string& extra = std::string()) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Type: " + type +
                     "\r\nContent-Length: " + std::to_string(length) + "\r\n" + extra + "Connection: close\r\n\r\n";
  SendAll(client, head.data(), head.size());
}

void SendPage(SOCKET client, const Request& request, int status, const char* reason, const std::string& body,
              const std::string& extra = std::string()) {
  SendHead(client, status, reason, "text/html; charset=utf-8", body.size(), extra);
  if (request.method != "HEAD") SendAll(client, body.data(), body.size());
}

void SendError(SOCKET client, const Request& request, int status, const char* reason,
               const std::string& extra = std::string()) {
  SendPage(client, request, status, reason, ErrorPage(status, reason), extra);
}

// Reads up to the blank line that ends the request head. False when the client went away,
// was too slow, or sent more than the limit (then *tooLarge).
bool ReadHead(SOCKET client, std::string* head, bool* tooLarge) {
  char buffer[1024];
  *tooLarge = false;
  while (head->find("\r\n\r\n") == std::string::npos && head->find("\n\n") == std::string::npos) {
    if (head->size() >= kMaxRequestHead) {
      *tooLarge = true;
      return false;
    }
    int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    head->append(buffer, got);
  }
  return true;
}

bool ParseRequestLine(const std::string& head, Request* request) {
  std::string line = head.substr(0, head.find_first_of("\r\n"));
  size_t first = line.find(' '), second = line.find(' ', first + 1);
  if (first == std::string::npos || second == std::string::npos) return false;
  request->method = line.substr(0, first);
  request->target = line.substr(first + 1, second - first - 1);
  return line.compare(second + 1, 5, "HTTP/") == 0;
}

// Folders answer with their index.html; only plain disk files are sent (no devices).
void SendFile(SOCKET client, const Request& request, std::wstring path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) path += L"\\index.html";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SendError(client, request, 404, "Not Found");
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(file);
    return SendError(client, request, 404, "Not Found");
  }
  unsigned long long size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  SendHead(client, 200, "OK", ContentType(path), size);
  if (request.method != "HEAD") {
    static char buffer[65536];  // one connection at a time
    DWORD got;
    while (size > 0 && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      if (!SendAll(client, buffer, got)) break;
      size -= got < size ? got : size;
    }
  }
  CloseHandle(file);
}

void Answer(SOCKET client, const SiteSettings& settings) {
  std::string head;
  bool tooLarge;
  Request request;
  if (!ReadHead(client, &head, &tooLarge)) {
    if (tooLarge) SendError(client, request, 431, "Request Header Fields Too Large");
    return;
  }
  if (!ParseRequestLine(head, &request)) return SendError(client, request, 400, "Bad Request");
  if (request.method != "GET" && request.method != "HEAD")
    return SendError(client, request, 405, "Method Not Allowed", "Allow: GET, HEAD\r\n");
  Route route = RouteRequest(request.target, settings.installFolder);
  switch (route.kind) {
    case Route::kIndex:
      return SendPage(client, request, 200, "OK", IndexPage(settings.installFolder, settings.javaHome));
    case Route::kFile:
      return SendFile(client, request, route.path);
    case Route::kRedirect:
      return SendError(client, request, 301, "Moved Permanently", "Location: " + route.location + "\r\n");
    case Route::kBadRequest:
      return SendError(client, request, 400, "Bad Request");
    case Route::kNotFound:
      return SendError(client, request, 404, "Not Found");
  }
}

// The accepted socket inherits the listener's event selection and non-blocking mode; a
// connection is served blocking, with time limits.
void ServeConnection(SOCKET client, const SiteSettings& settings) {
  WSAEventSelect(client, nullptr, 0);
  u_long blocking = 0;
  ioctlsocket(client, FIONBIO, &blocking);
  DWORD timeout = kClientTimeoutMs;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  Answer(client, settings);
  // Read what the client still sends, briefly, so that closing does not reset the connection
  // before it has read the answer.
  shutdown(client, SD_SEND);
  timeout = 1000;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  char drain[1024];
  for (int i = 0; i < 64 && recv(client, drain, sizeof drain, 0) > 0; ++i) {
  }
  closesocket(client);
}

SOCKET Listen(unsigned short port, DWORD* error) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) {
    *error = WSAGetLastError();
    return INVALID_SOCKET;
  }
  BOOL exclusive = TRUE;  // no other program may take the port from under us
  setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, SOMAXCONN) != 0) {
    *error = WSAGetLastError();
    closesocket(listener);
    return INVALID_SOCKET;
  }
  return listener;
}

}  // namespace

DWORD ServeSite(const SiteSettings& settings, HANDLE stopEvent, const std::function<void()>& onListening) {
  WSADATA wsa;
  if (int error = WSAStartup(MAKEWORD(2, 2), &wsa)) return error;
  DWORD error = 0;
  SOCKET listener = Listen(settings.port, &error);
  WSAEVENT acceptEvent = WSACreateEvent();
  if (listener != INVALID_SOCKET && WSAEventSelect(listener, acceptEvent, FD_ACCEPT) != 0) {
    error = WSAGetLastError();
    closesocket(listener);
    listener = INVALID_SOCKET;
  }
  if (listener != INVALID_SOCKET) {
    onListening();
    // The accept notification alone is not trusted: under Wine one was seen lost, and as no
    // accept followed, none came for later clients either and the port hung for good. Trying
    // accept every quarter second as well bounds a lost notification to a short delay.
    HANDLE events[] = {stopEvent, acceptEvent};
    for (;;) {
      DWORD woken = WaitForMultipleObjects(2, events, FALSE, kAcceptPollMs);
      if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_TIMEOUT) break;
      WSAResetEvent(acceptEvent);
      for (;;) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;  // WSAEWOULDBLOCK: no one else waiting
        ServeConnection(client, settings);
        if (WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0) break;
      }
    }
    closesocket(listener);
  }
  WSACloseEvent(acceptEvent);
  WSACleanup();
  return error;
}

}  // namespace site

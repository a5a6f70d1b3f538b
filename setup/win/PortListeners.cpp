// https://learn.microsoft.com/windows/win32/api/iphlpapi/nf-iphlpapi-getextendedtcptable
// https://learn.microsoft.com/windows/win32/api/tlhelp32/nf-tlhelp32-createtoolhelp32snapshot
#include "setup/win/PortListeners.h"

// winsock2.h before windows.h, which would otherwise bring the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <tlhelp32.h>

#include <map>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/SystemLibrary.h"

namespace pub {
namespace {

// From the system's iphlpapi.dll, which is no KnownDLL and so is not imported.
decltype(&GetExtendedTcpTable) TcpTableReader() {
  static const tk::SystemLibrary iphlpapi(L"iphlpapi.dll");
  static const auto reader = iphlpapi.Get<decltype(&GetExtendedTcpTable)>("GetExtendedTcpTable");
  return reader;
}

// The table of one address family; empty when the system cannot give it.
std::vector<char> ListenerTable(ULONG family) {
  const auto readTable = TcpTableReader();
  std::vector<char> table;
  DWORD size = 0;
  DWORD result = ERROR_INSUFFICIENT_BUFFER;
  // The table can grow between the call that sizes it and the one that fills it.
  for (int attempt = 0; attempt < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++attempt) {
    table.resize(size);
    result = readTable(table.empty() ? nullptr : table.data(), &size, FALSE, family, TCP_TABLE_OWNER_PID_LISTENER, 0);
  }
  if (result != NO_ERROR) table.clear();
  return table;
}

template <typename Table>
void AddListeners(const std::vector<char>& bytes, std::vector<PortListener>* listeners) {
  if (bytes.empty()) return;
  const Table* table = reinterpret_cast<const Table*>(bytes.data());
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    PortListener listener;
    listener.port = ntohs(static_cast<u_short>(table->table[i].dwLocalPort));
    listener.pid = table->table[i].dwOwningPid;
    listeners->push_back(listener);
  }
}

// Every running process's file name by its id; the snapshot needs no access to the processes.
std::map<DWORD, std::string> ProgramNames() {
  std::map<DWORD, std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    names[entry.th32ProcessID] = tk::FromWide(entry.szExeFile);
  CloseHandle(snapshot);
  return names;
}

}  // namespace

std::vector<PortListener> ListeningPorts() {
  std::vector<PortListener> listeners;
  AddListeners<MIB_TCPTABLE_OWNER_PID>(ListenerTable(AF_INET), &listeners);
  AddListeners<MIB_TCP6TABLE_OWNER_PID>(ListenerTable(AF_INET6), &listeners);
  const std::map<DWORD, std::string> names = ProgramNames();
  for (PortListener& listener : listeners) {
    if (listener.pid == 0) continue;  // not known: the system's idle process holds no socket
    auto name = names.find(listener.pid);
    if (name != names.end()) listener.program = name->second;
  }
  return listeners;
}

}  // namespace pub

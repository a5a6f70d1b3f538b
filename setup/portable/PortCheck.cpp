#include "setup/portable/PortCheck.h"

#include <algorithm>
#include <set>
#include <utility>

#include "common/portable/GbkCase.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/TextLines.h"

namespace pub {
namespace {

// A port number as an option file writes it: digits, optionally quoted, 1 to 65535.
std::optional<uint16_t> PortValue(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long number = std::stoul(value);
  if (number == 0 || number > 65535) return std::nullopt;
  return static_cast<uint16_t>(number);
}

// The first component of an entry name, upper-cased.
std::string TopFolder(const std::string& entryName) { return GbkUpperCase(entryName.substr(0, entryName.find('/'))); }

// "程序 java.exe（进程号 1234）", or what of it is known.
std::string HolderText(const PortListener& listener) {
  if (listener.pid == 0) return "未知程序";
  const std::string name = listener.program.empty() ? std::string("未知程序") : "程序 " + listener.program;
  return tk::Format("%s（进程号 %u）", name.c_str(), static_cast<unsigned>(listener.pid));
}

bool HeldByOurs(const PortListener& listener, const PlannedPort& port, const std::vector<PlannedPort>& ports) {
  if (listener.pid == 0) return port.servicePid != 0;
  return std::any_of(ports.begin(), ports.end(),
                     [&](const PlannedPort& ours) { return ours.servicePid != 0 && ours.servicePid == listener.pid; });
}

}  // namespace

uint16_t DatabasePortOf(const std::string& myIni) {
  uint16_t port = kDefaultDatabasePort;
  bool serverGroup = false;
  for (const std::string& raw : tk::SplitTextLines(myIni)) {
    std::string line = tk::Trimmed(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line[0] == '[') {
      const std::string group = GbkUpperCase(tk::Trimmed(line.substr(1, line.find(']') - 1)));
      serverGroup = group == "MYSQLD" || group == "SERVER";
      continue;
    }
    if (!serverGroup) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos || GbkUpperCase(tk::Trimmed(line.substr(0, equals))) != "PORT") continue;
    std::string value = line.substr(equals + 1);
    value = tk::Trimmed(value.substr(0, value.find('#')));  // a comment may end the line
    if (std::optional<uint16_t> number = PortValue(value)) port = *number;
  }
  return port;
}

std::vector<PlannedPort> PortsOfPackage(const std::vector<std::string>& entryNames,
                                        const std::optional<std::string>& myIni) {
  std::set<std::string> folders;
  for (const std::string& name : entryNames) folders.insert(TopFolder(name));
  std::vector<PlannedPort> ports;
  if (folders.count("TOMCAT5")) ports.push_back({kSitePort, "网站", "tomcatquarn", 0});
  if (folders.count("MYSQL5"))
    ports.push_back({myIni ? DatabasePortOf(*myIni) : kDefaultDatabasePort, "数据库", "mysqlquarn", 0});
  return ports;
}

std::string PortsProblem(const std::vector<PlannedPort>& ports, const std::vector<PortListener>& listeners) {
  std::vector<std::string> sentences;
  std::set<uint16_t> seen;
  for (const PlannedPort& port : ports) {
    if (!seen.insert(port.port).second) continue;
    // A program listening on both IPv4 and IPv6 is named once.
    std::set<std::pair<uint32_t, std::string>> named;
    std::string holders;
    for (const PortListener& listener : listeners) {
      if (listener.port != port.port || HeldByOurs(listener, port, ports)) continue;
      if (!named.insert({listener.pid, listener.program}).second) continue;
      holders += (holders.empty() ? "" : "、") + HolderText(listener);
    }
    if (!holders.empty())
      sentences.push_back(tk::Format("%s端口 %u 正被%s使用。", port.use.c_str(), static_cast<unsigned>(port.port),
                                     holders.c_str()));
  }
  if (sentences.empty()) return std::string();
  std::string text = "端口被占用，安装没有开始：";
  for (size_t i = 0; i < sentences.size(); ++i) text += (i ? "\r\n" : "") + sentences[i];
  return text + "\r\n请关闭占用端口的程序，或更改它的端口，然后重新运行安装程序。";
}

}  // namespace pub

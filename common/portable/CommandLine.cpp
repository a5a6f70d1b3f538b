#include "common/portable/CommandLine.h"

namespace pub {
namespace {

enum class Option { None, Silent, Folder, Log, Uninstall, Help, AllowDowngrade };

// Letter case is folded for ASCII only: every option name is ASCII, so a name holding any
// other byte matches none.
std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

Option OptionNamed(const std::string& lowerName) {
  if (lowerName == "s") return Option::Silent;
  if (lowerName == "d") return Option::Folder;
  if (lowerName == "log") return Option::Log;
  if (lowerName == "uninstall") return Option::Uninstall;
  if (lowerName == "allowdowngrade") return Option::AllowDowngrade;
  if (lowerName == "?" || lowerName == "h" || lowerName == "help") return Option::Help;
  return Option::None;
}

bool TakesValue(Option option) { return option == Option::Folder || option == Option::Log; }

// Reads one argument (the index-th) into line; the refusal, naming the argument, when it is
// not understood.
std::string Take(const CommandArgument& given, int index, CommandLine& line, std::string* folderArgument) {
  const std::string& argument = given.text;
  const size_t equals = argument.find('=');
  const bool isOption = !argument.empty() && (argument[0] == '/' || argument[0] == '-');
  const std::string name =
      isOption ? argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1) : std::string();
  const Option option = OptionNamed(AsciiLower(name));
  if (!given.heldByGbk && !(option == Option::Log && equals != std::string::npos))
    return "命令行中含有安装程序无法处理的字符（例如韩文或表情符号），请换用其他目录或文件名。";
  if (!isOption)
    return "多余的参数：\"" + argument + "\"。选项以 / 或 - 开头，含空格的值要连同选项一起用引号括起来。";
  if (option == Option::None) return "未知的选项：" + argument;
  if (!TakesValue(option) && equals != std::string::npos) return "选项 " + argument.substr(0, equals) + " 不带值：" + argument;
  if (TakesValue(option) && equals == std::string::npos) return "选项 " + argument + " 需要一个值，写成 " + argument + "=...";
  const std::string value = equals == std::string::npos ? std::string() : argument.substr(equals + 1);
  if (TakesValue(option) && value.empty()) return "选项 " + argument + " 缺少值。";

  // A value is never empty once taken, so a non-empty one was given before.
  bool& flag = option == Option::Silent           ? line.silent
               : option == Option::Uninstall      ? line.uninstall
               : option == Option::AllowDowngrade ? line.allowDowngrade
                                                  : line.help;
  std::string& text = option == Option::Folder ? line.folder : line.logPath;
  if (TakesValue(option) ? !text.empty() : flag) return "重复的选项：" + argument;
  if (TakesValue(option)) {
    text = value;
  } else {
    flag = true;
  }
  if (option == Option::Folder) *folderArgument = argument;
  if (option == Option::Log) line.logArgument = index;
  return "";
}

}  // namespace

namespace {

// A refused command line carries its reason alone, so no half-read option is acted on; only
// whether silence was asked for is added by the caller.
CommandLine Refused(const std::string& reason) {
  CommandLine refused;
  refused.error = reason;
  return refused;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool startedAsUninstaller) {
  std::vector<CommandArgument> held;
  for (const std::string& argument : arguments) held.push_back({argument, true});
  return ParseCommandLine(held, startedAsUninstaller);
}

CommandLine ParseCommandLine(const std::vector<CommandArgument>& arguments, bool startedAsUninstaller) {
  CommandLine line;
  std::string folderArgument;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string refusal = Take(arguments[i], static_cast<int>(i), line, &folderArgument);
    if (refusal.empty()) continue;
    CommandLine refused = Refused(refusal);
    // A refused command line that asked for silence is not answered with a box.
    for (const CommandArgument& other : arguments)
      if (AsciiLower(other.text) == "/s" || AsciiLower(other.text) == "-s") refused.silent = true;
    return refused;
  }
  // Asking for the usage needs no valid combination: the usage explains them.
  if (line.help) {
    line.mode = RunMode::Help;
    return line;
  }
  const bool removal = line.uninstall || startedAsUninstaller;
  if (!folderArgument.empty() && removal) {
    CommandLine refused = Refused("卸载时不能指定安装目录：" + folderArgument);
    refused.silent = line.silent;
    return refused;
  }
  if (!folderArgument.empty() && !line.silent)
    return Refused("安装目录只能在无人值守安装中指定（与 /S 一起使用）：" + folderArgument);
  // The wizard asks before a downgrade, and a removal installs nothing.
  if (line.allowDowngrade && (removal || !line.silent)) {
    CommandLine refused = Refused("选项 /ALLOWDOWNGRADE 只能在无人值守安装中使用（与 /S 一起，不能与 /uninstall 一起）。");
    refused.silent = line.silent;
    return refused;
  }
  line.mode = removal ? RunMode::Uninstall : line.silent ? RunMode::Install : RunMode::Wizard;
  return line;
}

std::string CommandLineUsage() {
  return "用法：setup.exe [/S [/D=安装目录] [/ALLOWDOWNGRADE]] [/LOG=日志文件]\r\n"
         "      setup.exe /uninstall [/S] [/LOG=日志文件]\r\n"
         "  不带选项        打开安装向导\r\n"
         "  /S              无人值守运行，不显示向导；单独使用时安装，已有安装时修复安装\r\n"
         "  /D=目录         安装目录，只与 /S 一起用，默认 c:\\quarn；目录含空格时给整个选项加引号\r\n"
         "  /ALLOWDOWNGRADE 只与 /S 一起用：安装包比已安装的版本旧时仍然安装（否则退出码 7，不做任何改动）\r\n"
         "  /uninstall      卸载已安装的Quarn\r\n"
         "  /LOG=文件       把运行记录追加到文件（UTF-8）\r\n"
         "  /?  /h  /help   显示本说明\r\n"
         "选项不分大小写，也可以用 - 开头，如 -s、-LOG=x。\r\n"
         "退出码：0 完成；1 失败，原因见日志；2 命令行有误，或安装记录指向的目录不是本安装，什么也没有做；\r\n"
         "        3 已有一个安装程序在运行；4 安装包缺失或损坏；5 磁盘空间不足；6 端口被其他程序占用；\r\n"
         "        7 安装包比已安装的版本旧，没有安装；1602 在做任何改动之前退出了向导；\r\n"
         "        3010 完成，有文件要在重新启动计算机后才能删除。\r\n";
}

}  // namespace pub

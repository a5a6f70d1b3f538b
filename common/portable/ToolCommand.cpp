#include "common/portable/ToolCommand.h"

#include "toolkit/core/Errors.h"

namespace pub {

bool IsFullPath(const std::string& path) {
  const bool onDrive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
  const bool onShare = path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return onDrive || onShare;
}

ToolCommand ProgramCommand(const std::string& program, const std::string& arguments, const std::string& workingFolder,
                           unsigned boundSeconds) {
  std::string line = "\"" + program + "\"";
  if (!arguments.empty()) line += " " + arguments;
  return {program, line, workingFolder, boundSeconds};
}

ToolCommand BatchCommand(const std::string& systemFolder, const std::string& batchFile, const std::string& arguments,
                         const std::string& workingFolder, unsigned boundSeconds) {
  std::string inner = "\"" + batchFile + "\"";
  if (!arguments.empty()) inner += " " + arguments;
  return ProgramCommand(systemFolder + "\\cmd.exe", "/d /s /c \"" + inner + "\"", workingFolder, boundSeconds);
}

std::string CommandOutcome::Describe() const {
  if (!started) return "无法运行：" + (startProblem.empty() ? tk::SysErrorMessage(startError) : startProblem);
  if (timedOut) {
    const std::string late = "在 " + std::to_string(boundSeconds) + " 秒内没有结束，";
    return endError == 0 ? late + "已被终止" : late + "无法终止：" + tk::SysErrorMessage(endError);
  }
  return "退出码 " + std::to_string(exitCode);
}

std::string CommandNote(const std::string& commandLine, const CommandOutcome& outcome) {
  return "命令 " + commandLine + "：" + outcome.Describe();
}

}  // namespace pub

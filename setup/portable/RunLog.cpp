#include "setup/portable/RunLog.h"

#include <cstdio>
#include <vector>

#include "common/portable/GbkText.h"
#include "toolkit/core/CodePage.h"
#include "toolkit/core/TextLines.h"

namespace pub {
namespace {

const char* ActionName(RunAction action) {
  switch (action) {
    case RunAction::Install: return "安装";
    case RunAction::Repair: return "修复";
    case RunAction::Uninstall: return "卸载";
  }
  return "";
}

const char* StepName(RunStep step) {
  switch (step) {
    case RunStep::Stage: return "解压";
    case RunStep::Copy: return "拷贝";
    case RunStep::Patch: return "修改配置";
    case RunStep::Services: return "服务";
    case RunStep::Environment: return "环境变量";
    case RunStep::Record: return "注册表";
    case RunStep::Remove: return "删除文件";
  }
  return "";
}

const char* ExitCodeMeaning(ExitCode code) {
  switch (code) {
    case ExitCode::Done: return "完成";
    case ExitCode::Failed: return "失败";
    case ExitCode::BadCommandLine: return "什么也没有做（命令行有误，或安装记录指向的目录不是本安装）";
    case ExitCode::AlreadyRunning: return "已有一个安装程序在运行";
    case ExitCode::PackageProblem: return "安装包缺失或损坏";
    case ExitCode::DiskFull: return "磁盘空间不足";
    case ExitCode::PortTaken: return "端口被其他程序占用";
    case ExitCode::Downgrade: return "安装包比已安装的版本旧，没有安装";
    case ExitCode::UserCancelled: return "在做任何改动之前退出";
    case ExitCode::DoneRestartNeeded: return "完成，有文件要在重新启动计算机后删除";
  }
  return "";
}

// A field that must stay on its line: control characters (a line break in a name) become blanks.
std::string OnOneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

}  // namespace

std::string FormatLocalTime(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string LogUtf8(const std::string& gbk) {
  std::string utf8;
  if (tk::GbkToUtf8(gbk, &utf8)) return utf8;
  // Character by character, so one bad byte costs only itself.
  utf8.clear();
  for (size_t i = 0; i < gbk.size();) {
    size_t length = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
    std::string character;
    if (tk::GbkToUtf8(gbk.substr(i, length), &character)) {
      utf8 += character;
      i += length;
    } else {
      utf8 += '?';
      ++i;  // the second byte may start a character of its own
    }
  }
  return utf8;
}

void RunLog::Write(const LocalTime& time, const std::string& text, const std::string& continuation) {
  const std::string stamp = FormatLocalTime(time) + " ";
  std::vector<std::string> lines = tk::SplitTextLines(continuation);
  writer_.Append(stamp + LogUtf8(OnOneLine(text + (lines.empty() ? std::string() : lines[0]))));
  for (size_t i = 1; i < lines.size(); ++i) writer_.Append(stamp + "    " + LogUtf8(OnOneLine(lines[i])));
}

void RunLog::Started(const LocalTime& time, RunAction action, const std::string& version,
                     const std::string& folder) {
  std::string text = std::string("开始") + ActionName(action);
  if (!version.empty()) text += " 版本 " + version;
  if (!folder.empty()) text += " 目录 " + folder;
  Write(time, text);
}

void RunLog::StepDone(const LocalTime& time, RunStep step) { Write(time, std::string(StepName(step)) + " 成功"); }

void RunLog::StepFailed(const LocalTime& time, RunStep step, const std::string& reason) {
  Write(time, std::string(StepName(step)) + " 失败: ", reason);
}

void RunLog::FileFailed(const LocalTime& time, const std::string& file, const std::string& reason) {
  Write(time, "文件 " + OnOneLine(file) + " 失败: ", reason);
}

void RunLog::Note(const LocalTime& time, const std::string& text) { Write(time, "    " + text); }

void RunLog::Finished(const LocalTime& time, ExitCode code) {
  Write(time, "结束 退出码 " + std::to_string(ToInt(code)) + " " + ExitCodeMeaning(code));
}

}  // namespace pub

#include "common/portable/ServiceState.h"

#include "toolkit/core/Errors.h"

namespace pub {
namespace {

const char* StateName(uint32_t state) {
  switch (state) {
    case kServiceStopped: return "已停止";
    case kServiceStartPending: return "正在启动";
    case kServiceStopPending: return "正在停止";
    case kServiceRunning: return "正在运行";
    case kServiceContinuePending: return "正在继续";
    case kServicePausePending: return "正在暂停";
    case kServicePaused: return "已暂停";
  }
  return "未知";
}

}  // namespace

bool ServiceState::Running() const { return !QueryFailed() && exists && state == kServiceRunning; }

bool ServiceState::Stopped() const { return !QueryFailed() && (!exists || state == kServiceStopped); }

std::string ServiceState::Describe() const {
  if (QueryFailed()) return "无法查询服务状态：" + queryProblem;
  if (!exists) return "没有注册";
  std::string text = StateName(state);
  if (state == kServiceStopped && exitCode != 0)
    text += "，退出码 " + std::to_string(exitCode) + "（" + tk::SysErrorMessage(exitCode) + "）";
  return text;
}

}  // namespace pub

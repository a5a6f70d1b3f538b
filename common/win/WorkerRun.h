// A long run on a thread of its own, apart from the painting. The work reports through the
// ProgressQueue it is handed; the calling thread, which owns the window, keeps handling its
// messages and hands what the work reported to the display every kDrainIntervalMs, until the
// work has ended. Without an application (an unattended run) the
// caller simply waits. Either way the worker has ended when RunOnWorker returns, every report
// has reached the display, and an exception the work let out is thrown again here, on the
// caller's thread.
#pragma once

#include <windows.h>

#include <functional>

#include "common/portable/Progress.h"
#include "common/portable/ProgressQueue.h"

namespace pub {

constexpr DWORD kDrainIntervalMs = 40;
// The worker's thread name, where the system keeps names (Windows 10 and Wine): a debugger, a
// crash dump and the tests can tell it apart.
constexpr const wchar_t* kWorkerThreadName = L"quarn run";

void RunOnWorker(const std::function<void(ProgressQueue& progress)>& work, Progress& display);

}  // namespace pub

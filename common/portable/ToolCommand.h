// A command a run starts, decided as a value before it is started: the program by its full
// path, the command line it gets, the folder it runs in and how long it may run. Nothing is
// looked up through this program's folder, the current folder or PATH. And what became of it.
#pragma once

#include <cstdint>
#include <string>

namespace pub {

struct ToolCommand {
  std::string program;        // GBK full path of the program the system starts
  std::string commandLine;    // GBK: the program's path quoted, then the arguments; what the log shows
  std::string workingFolder;  // GBK full path of the folder it runs in
  unsigned boundSeconds = 0;  // how long it may run before it is ended
};

// A drive-absolute ("X:\...") or network ("\\server\share\...") path: one that the system
// takes as it is, never completed from the current folder.
bool IsFullPath(const std::string& path);

// program (full path) with its arguments.
ToolCommand ProgramCommand(const std::string& program, const std::string& arguments, const std::string& workingFolder,
                           unsigned boundSeconds);

// A batch file, which only the command processor can run: systemFolder\cmd.exe, without the
// machine's or the user's AutoRun commands (/d), with the batch file's full path quoted and the
// whole command quoted once more, which /s takes off again: cmd /d /s /c ""batch" arguments".
ToolCommand BatchCommand(const std::string& systemFolder, const std::string& batchFile, const std::string& arguments,
                         const std::string& workingFolder, unsigned boundSeconds);

// What became of a command: whether it started, and the reason when not; whether it ended
// within its bound, and its exit code when it did.
struct CommandOutcome {
  bool started = false;
  uint32_t startError = 0;    // the system's reason it could not be started
  std::string startProblem;   // or another reason (an error raised while starting it)
  uint32_t exitCode = 0;
  bool timedOut = false;      // still running at its bound: it was ended, with what it had started
  unsigned boundSeconds = 0;  // that bound
  uint32_t endError = 0;      // the system's reason it could not be ended, when it could not

  // It ran and ended by itself within its bound (whatever its exit code).
  bool Finished() const { return started && !timedOut; }
  // For the run log and the reason a run failed: "退出码 0", "在 300 秒内没有结束，已被终止",
  // or why it could not be started.
  std::string Describe() const;
};

// The run log's line for a command: "命令 <command line>：<outcome>".
std::string CommandNote(const std::string& commandLine, const CommandOutcome& outcome);

}  // namespace pub

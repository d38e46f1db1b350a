#pragma once
// The shell service: environment, Windows folder and version, the program's
// own folder, the process's rights, starting programs, and the shell's own clearing operations
// (Recycle Bin, recent documents, clipboard).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cv {

struct OsVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

// How a started program's window is shown (the ShowWindow values).
enum class ShowMode : int { Hidden = 0, Normal = 1, Minimized = 2, MinimizedNoActivate = 7 };

// What the service control manager says of a service.
enum class ServiceState : std::uint8_t {
  kStopped,
  kActive,   // running, paused, or starting, stopping or resuming
  kUnknown,  // no such service, or its state could not be read
};

// A started process; 0 when the start failed.
using ProcessId = std::uint32_t;

class Shell {
 public:
  virtual ~Shell() = default;

  // nullopt when the variable is not set. Names match without regard to case.
  virtual std::optional<std::string> GetEnvironmentVariable(std::string_view name) = 0;
  // GetWindowsDirectory, as the system returns it (no trailing backslash).
  virtual std::string GetWindowsDirectory() = 0;
  // GetVersionEx major and minor numbers.
  virtual OsVersion GetVersion() = 0;
  // The folder that holds the executable (no trailing backslash).
  virtual std::string ProgramFolder() = 0;
  // Whether the process runs with administrator rights (an elevated token).
  virtual bool IsElevated() = 0;
  // The state of the service of that (key) name, such as "wuauserv".
  virtual ServiceState QueryServiceState(std::string_view serviceName) = 0;

  // Starts a command line (program path and arguments, as WinExec/Shell take
  // it) without waiting. Returns the process id, 0 when it could not start.
  virtual ProcessId StartProgram(std::string_view commandLine, ShowMode show) = 0;
  // True while the process runs (exit code STILL_ACTIVE, 259). False for 0 or
  // a process that cannot be opened.
  virtual bool IsProcessRunning(ProcessId process) = 0;
  // ShellExecute with the default verb: a document, an address or "mailto:".
  virtual bool OpenDocument(std::string_view target) = 0;

  // SHAddToRecentDocs(SHARD_PATHA, nullptr): empties the recent-documents list.
  // Returns true when the last error is 0 afterwards.
  virtual bool ClearRecentDocuments() = 0;
  // SHEmptyRecycleBin of all drives, without confirmation, progress or sound.
  virtual bool EmptyRecycleBin() = 0;
  // Opens and empties the clipboard.
  virtual bool ClearClipboard() = 0;
};

}  // namespace cv

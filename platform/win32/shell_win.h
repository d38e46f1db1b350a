#pragma once
#include <map>

#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/win32/unique_handle.h"

namespace cv::win32 {

class Win32Shell : public Shell {
 public:
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override;
  std::string GetWindowsDirectory() override;
  OsVersion GetVersion() override;
  std::string ProgramFolder() override;
  bool IsElevated() override;
  ServiceState QueryServiceState(std::string_view serviceName) override;

  ProcessId StartProgram(std::string_view commandLine, ShowMode show) override;
  bool IsProcessRunning(ProcessId process) override;
  bool OpenDocument(std::string_view target) override;
  bool ClearRecentDocuments() override;
  bool EmptyRecycleBin() override;
  bool ClearClipboard() override;

  // The window that owns the Recycle Bin and clipboard operations.
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
  // Handles of the processes we started, so a finished process id that
  // Windows reuses is never mistaken for ours.
  std::map<ProcessId, UniqueKernelHandle> processes_;
};

// Real message boxes, owned by the given window (may be null).
class Win32MessageBoxes : public MessageBoxes {
 public:
  int Show(std::string_view text, std::string_view caption, unsigned style) override;
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
  std::string FormatGeneralDate(const LocalTime& time) override;
  char DecimalSeparator() override;
};

}  // namespace cv::win32

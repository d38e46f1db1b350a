#pragma once
// Emulated shell, message boxes and clock: test-settable answers, and a
// record of every side effect so tests can see what would have happened.
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace cv::emulated {

class EmulatedShell : public Shell {
 public:
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override;
  std::string GetWindowsDirectory() override { return windowsDirectory; }
  OsVersion GetVersion() override { return version; }
  std::string ProgramFolder() override { return programFolder; }
  bool IsElevated() override { return elevated; }
  ServiceState QueryServiceState(std::string_view serviceName) override;

  ProcessId StartProgram(std::string_view commandLine, ShowMode show) override;
  bool IsProcessRunning(ProcessId process) override;
  bool OpenDocument(std::string_view target) override;
  bool ClearRecentDocuments() override;
  bool EmptyRecycleBin() override;
  bool ClearClipboard() override;

  // Names are matched without regard to case, as Windows does.
  void SetEnvironmentVariable(std::string_view name, std::string_view value);
  void UnsetEnvironmentVariable(std::string_view name);

  struct Started {
    std::string commandLine;
    ShowMode show = ShowMode::Normal;
  };

  std::string windowsDirectory = "C:\\WINDOWS";
  OsVersion version{6, 1};
  std::string programFolder = "C:\\Program Files\\Clearvane";
  bool elevated = false;
  // Services by lower-case name; one not named here is unknown.
  std::map<std::string, ServiceState> services;

  std::vector<Started> started;     // every StartProgram call
  std::vector<std::string> opened;  // every OpenDocument call
  int recentDocumentsCleared = 0;
  int recycleBinEmptied = 0;
  int clipboardCleared = 0;
  // The three clearing operations fail (and count nothing) while set.
  bool clearingFails = false;
  // A started process reports "running" for this many polls, then ends.
  int processRunsForPolls = 0;
  // Programs whose command line starts with one of these fail to start.
  std::vector<std::string> failingPrograms;

 private:
  std::map<std::string, std::string> environment_;  // keyed by lower-case name
  std::map<ProcessId, int> pollsLeft_;
  ProcessId nextProcess_ = 100;
};

// Records every message box and answers with a queue of preset buttons
// (IDOK when the queue is empty).
class RecordingMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    unsigned style = 0;
  };
  int Show(std::string_view text, std::string_view caption, unsigned style) override;

  std::vector<Shown> shown;
  std::vector<int> answers;
};

// A clock that stands still at a settable time; dates formatted as en-US.
class FixedClock : public Clock {
 public:
  LocalTime Now() override { return now; }
  std::string FormatGeneralDate(const LocalTime& time) override;
  char DecimalSeparator() override { return decimalSeparator; }

  LocalTime now{2026, 12, 8, 9, 30, 0, 2};
  char decimalSeparator = '.';
};

}  // namespace cv::emulated

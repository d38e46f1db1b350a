#pragma once
// Emulated shell and message boxes: fixed, test-settable answers.
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/ui.h"

namespace cv::emulated {

class EmulatedShell : public Shell {
 public:
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override;
  std::string GetWindowsDirectory() override { return windowsDirectory; }
  OsVersion GetVersion() override { return version; }
  std::string ProgramFolder() override { return programFolder; }

  // Names are matched without regard to case, as Windows does.
  void SetEnvironmentVariable(std::string_view name, std::string_view value);
  void UnsetEnvironmentVariable(std::string_view name);

  std::string windowsDirectory = "C:\\WINDOWS";
  OsVersion version{6, 1};
  std::string programFolder = "C:\\Program Files\\Clearvane";

 private:
  std::map<std::string, std::string> environment_;  // keyed by lower-case name
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

}  // namespace cv::emulated

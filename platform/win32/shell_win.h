#pragma once
#include "platform/shell.h"
#include "platform/ui.h"

namespace cv::win32 {

class Win32Shell : public Shell {
 public:
  std::optional<std::string> GetEnvironmentVariable(std::string_view name) override;
  std::string GetWindowsDirectory() override;
  OsVersion GetVersion() override;
  std::string ProgramFolder() override;
};

// Real message boxes, owned by `owner` (may be null).
class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(void* owner = nullptr) : owner_(owner) {}
  int Show(std::string_view text, std::string_view caption, unsigned style) override;
  void SetOwner(void* owner) { owner_ = owner; }

 private:
  void* owner_;
};

}  // namespace cv::win32

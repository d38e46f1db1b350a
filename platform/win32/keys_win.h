#pragma once
#include "platform/keys.h"
#include "platform/win32/win.h"

namespace cv::win32 {

class Win32KeySender : public KeySender {
 public:
  bool SendKeyToProcess(ProcessId process, std::string_view key) override;
  void ReturnFocus() override;
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};

}  // namespace cv::win32

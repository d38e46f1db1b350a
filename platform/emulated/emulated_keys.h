#pragma once
// Records keystrokes instead of sending them; the foreground process is settable.
#include <string>
#include <vector>

#include "platform/keys.h"

namespace cv::emulated {

class EmulatedKeySender : public KeySender {
 public:
  bool SendKeyToProcess(ProcessId process, std::string_view key) override;
  void ReturnFocus() override { ++focusReturned; }

  struct Sent {
    ProcessId process = 0;
    std::string key;
  };
  // The process whose window is in the foreground; 0 means "whatever process
  // the caller names", as when the dialog comes up at once.
  ProcessId foregroundProcess = 0;
  std::vector<Sent> sent;
  int focusReturned = 0;
};

}  // namespace cv::emulated

#pragma once
// Keystrokes for a dialog the program opened itself (the Internet Options
// page of old Internet Explorer versions, which has no clearing command).
#include <string_view>

#include "platform/shell.h"

namespace cv {

class KeySender {
 public:
  virtual ~KeySender() = default;
  // Sends one key in SendKeys notation ("{U}", "{C}", "{ENTER}", "{ESC}") to
  // the foreground window and waits until it has been processed, but only
  // when that window belongs to `process` (waiting a few seconds for it to
  // come up). Returns false, sending nothing, when it does not: keystrokes
  // must never land in an unrelated window.
  virtual bool SendKeyToProcess(ProcessId process, std::string_view key) = 0;
  // Brings the program's main window back to the foreground.
  virtual void ReturnFocus() = 0;
};

}  // namespace cv

#pragma once
// A request to stop a cleaning run, made by the window's "Cancel", the tray
// menu or the console's Ctrl+C (which arrives on another thread). The run
// looks at it each time it lets messages through, which it does only between
// two files, two registry operations or two items.
#include <atomic>

namespace cv {

class CancelRequest {
 public:
  void Request() { requested_.store(true); }
  void Reset() { requested_.store(false); }
  bool Requested() const { return requested_.load(); }

 private:
  std::atomic<bool> requested_{false};
};

}  // namespace cv

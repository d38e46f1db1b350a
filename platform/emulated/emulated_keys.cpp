#include "platform/emulated/emulated_keys.h"

namespace cv::emulated {

bool EmulatedKeySender::SendKeyToProcess(ProcessId process, std::string_view key) {
  if (process == 0 || (foregroundProcess != 0 && foregroundProcess != process)) return false;
  sent.push_back({process, std::string(key)});
  return true;
}

}  // namespace cv::emulated

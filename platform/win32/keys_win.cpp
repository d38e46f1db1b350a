#include "platform/win32/keys_win.h"

#include "platform/win32/unique_handle.h"

namespace cv::win32 {
namespace {

constexpr DWORD kWaitForWindowMs = 5000;
constexpr DWORD kPollMs = 50;
constexpr DWORD kInputIdleMs = 2000;

// The virtual key of a SendKeys token: "{ENTER}", "{ESC}" or one letter or digit in braces.
WORD VirtualKeyOf(std::string_view key) {
  if (key.size() < 3 || key.front() != '{' || key.back() != '}') return 0;
  const std::string_view name = key.substr(1, key.size() - 2);
  if (name == "ENTER") return VK_RETURN;
  if (name == "ESC") return VK_ESCAPE;
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WORD>(c);
  }
  return 0;
}

bool ForegroundBelongsTo(ProcessId process) {
  HWND foreground = ::GetForegroundWindow();
  if (!foreground) return false;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(foreground, &owner);
  return owner == process;
}

}  // namespace

bool Win32KeySender::SendKeyToProcess(ProcessId process, std::string_view key) {
  const WORD virtualKey = VirtualKeyOf(key);
  if (process == 0 || virtualKey == 0) return false;
  DWORD waited = 0;
  while (!ForegroundBelongsTo(process)) {
    if (waited >= kWaitForWindowMs) return false;
    ::Sleep(kPollMs);
    waited += kPollMs;
  }
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  if (::SendInput(2, inputs, sizeof(INPUT)) != 2) return false;
  // Wait until the dialog has handled the key before the next one is sent.
  UniqueKernelHandle handle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process));
  if (handle) ::WaitForInputIdle(handle.get(), kInputIdleMs);
  ::Sleep(kPollMs);
  return true;
}

void Win32KeySender::ReturnFocus() {
  if (owner_) ::SetForegroundWindow(owner_);
}

}  // namespace cv::win32

#pragma once
// A small driver for GUI tests of clearvane.exe under Wine (or Windows):
// starts the program, finds its windows and controls by class, caption and
// id, clicks, sends keys and tray callbacks, reads labels, list views,
// progress bars and check boxes, waits with time-outs, and saves PNG
// screenshots. Every read goes through a time-out, so a hung program fails
// the test instead of hanging it.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"

namespace cv::guidriver {

inline constexpr DWORD kReplyTimeoutMs = 3000;

class Process {
 public:
  // Starts `exe` with `arguments` in `folder` (with `token`, a primary
  // token, when one is given); nullopt when it cannot start.
  static std::optional<Process> Start(const std::wstring& exe, const std::wstring& arguments,
                                      const std::wstring& folder, HANDLE token = nullptr);
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process() { Kill(); }

  DWORD Id() const { return id_; }
  bool Running() const;
  bool WaitForExit(DWORD timeoutMs) const;
  void Kill();

 private:
  Process() = default;
  win32::UniqueKernelHandle handle_;
  DWORD id_ = 0;
};

struct WindowQuery {
  DWORD processId = 0;     // 0: any process
  std::wstring className;  // empty: any class
  std::wstring caption;    // empty: any caption
  bool visibleOnly = true;
};

// The folder of the running test program, and clearvane.exe of the same
// build: the nearest one above that folder (empty when there is none).
std::filesystem::path ModuleFolder();
std::filesystem::path ProgramUnderTest();

HWND FindTopWindow(const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs);
// Waits until no window matches the query; false on time-out.
bool WaitForNoWindow(const WindowQuery& query, DWORD timeoutMs);
// The first descendant with the id, at any depth; null when none.
HWND FindControl(HWND root, int id);
// The first descendant of the class with exactly this text.
HWND FindControlByText(HWND root, const std::wstring& className, const std::wstring& text);

// Polls `condition` until it holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 50);

std::wstring ClassName(HWND window);
// WM_GETTEXT through a time-out; nullopt when the window does not answer.
std::optional<std::wstring> Text(HWND window);
// The texts of all descendants of a window, one per line (for message boxes).
std::wstring AllTexts(HWND window);
bool IsShown(HWND window);
// The control with the keyboard focus in the thread that owns `window`.
HWND FocusedControl(HWND window);
bool IsEnabled(HWND window);
std::optional<bool> IsChecked(HWND checkBox);
std::optional<int> ProgressValue(HWND progressBar);
RECT ScreenRect(HWND window);
RECT WorkArea();

// WM_SETTEXT through a time-out (an edit box then tells its parent EN_CHANGE).
bool SetText(HWND window, const std::wstring& text);
// Buttons get BM_CLICK; other controls a left click posted at their centre.
void Click(HWND control);
void MouseMove(HWND control);
// WM_COMMAND with a menu or control id, as a menu choice sends it.
void PostCommand(HWND window, int id);
// The tray icon's callback with a mouse message (WM_LBUTTONUP ...).
void PostTrayCallback(HWND window, UINT mouseMessage);
// Brings the window to the front and types the key with the modifiers held.
bool PressKey(HWND window, const std::vector<WORD>& modifiers, WORD key);
// The same keys typed into whatever has the focus now (an open menu, say).
bool TypeKeys(const std::vector<WORD>& modifiers, WORD key);

// The list view's row count and texts, read across processes.
std::optional<int> ListViewRowCount(HWND list);
std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns);

// Whether the shell still holds the tray icon (hwnd, id): probes it with NIM_MODIFY.
bool TrayIconPresent(HWND owner, UINT id);

// Saves the window's screen area (the whole screen for null) as a PNG file.
bool SaveScreenshot(HWND window, const std::wstring& pngPath);

}  // namespace cv::guidriver

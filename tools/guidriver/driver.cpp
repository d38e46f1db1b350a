#include "driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "png_writer.h"
#include "resources/resource.h"

namespace cv::guidriver {

namespace {

struct Search {
  const WindowQuery* query;
  HWND found;
};

bool Matches(HWND window, const WindowQuery& query) {
  if (query.visibleOnly && !::IsWindowVisible(window)) return false;
  if (query.processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != query.processId) return false;
  }
  if (!query.className.empty() && ClassName(window) != query.className) return false;
  if (!query.caption.empty()) {
    wchar_t caption[512] = {};
    ::GetWindowTextW(window, caption, 512);  // top-level captions are read without a reply
    if (query.caption != caption) return false;
  }
  return true;
}

}  // namespace

std::optional<Process> Process::Start(const std::wstring& exe, const std::wstring& arguments,
                                      const std::wstring& folder, HANDLE token) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const wchar_t* directory = folder.empty() ? nullptr : folder.c_str();
  const BOOL started = token ? ::CreateProcessAsUserW(token, exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                                      0, nullptr, directory, &startup, &info)
                             : ::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                directory, &startup, &info);
  if (!started) return std::nullopt;
  ::CloseHandle(info.hThread);
  Process process;
  process.handle_.reset(info.hProcess);
  process.id_ = info.dwProcessId;
  ::WaitForInputIdle(info.hProcess, 10000);
  return process;
}

bool Process::Running() const { return handle_ && ::WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs) const {
  return !handle_ || ::WaitForSingleObject(handle_.get(), timeoutMs) == WAIT_OBJECT_0;
}

void Process::Kill() {
  if (Running()) {
    ::TerminateProcess(handle_.get(), 1);
    ::WaitForSingleObject(handle_.get(), 5000);
  }
}

HWND FindTopWindow(const WindowQuery& query) {
  Search search{&query, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        if (!Matches(window, *search->query)) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, timeoutMs);
  return found;
}

bool WaitForNoWindow(const WindowQuery& query, DWORD timeoutMs) {
  return WaitUntil([&] { return FindTopWindow(query) == nullptr; }, timeoutMs);
}

HWND FindControl(HWND root, int id) {
  struct Find {
    int id;
    HWND found;
  } find{id, nullptr};
  ::EnumChildWindows(
      root,
      [](HWND child, LPARAM param) -> BOOL {
        auto* find = reinterpret_cast<Find*>(param);
        if (::GetDlgCtrlID(child) != find->id) return TRUE;
        find->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

HWND FindControlByText(HWND root, const std::wstring& className, const std::wstring& text) {
  struct Find {
    const std::wstring* className;
    const std::wstring* text;
    HWND found;
  } find{&className, &text, nullptr};
  ::EnumChildWindows(
      root,
      [](HWND child, LPARAM param) -> BOOL {
        auto* find = reinterpret_cast<Find*>(param);
        if (!find->className->empty() && ClassName(child) != *find->className) return TRUE;
        if (Text(child) != *find->text) return TRUE;
        find->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(pollMs);
  }
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::optional<std::wstring> Text(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
    return std::nullopt;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kReplyTimeoutMs, &copied))
    return std::nullopt;
  text.resize(copied);
  return text;
}

std::wstring AllTexts(HWND window) {
  std::wstring texts;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        if (auto text = Text(child)) *reinterpret_cast<std::wstring*>(param) += *text + L"\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool IsShown(HWND window) { return window && ::IsWindowVisible(window) && !::IsIconic(window); }
HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}
bool IsEnabled(HWND window) { return window && ::IsWindowEnabled(window); }

std::optional<bool> IsChecked(HWND checkBox) {
  DWORD_PTR state = 0;
  if (!::SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &state))
    return std::nullopt;
  return state == BST_CHECKED;
}

std::optional<int> ProgressValue(HWND progressBar) {
  DWORD_PTR value = 0;
  if (!::SendMessageTimeoutW(progressBar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &value))
    return std::nullopt;
  return static_cast<int>(value);
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT WorkArea() {
  RECT rect{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
  return rect;
}

bool SetText(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kReplyTimeoutMs, &result) != 0;
}

void Click(HWND control) {
  if (ClassName(control) == L"Button") {
    ::PostMessageW(control, BM_CLICK, 0, 0);
    return;
  }
  RECT client{};
  ::GetClientRect(control, &client);
  const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  ::PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

void MouseMove(HWND control) {
  RECT client{};
  ::GetClientRect(control, &client);
  ::PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
}

void PostCommand(HWND window, int id) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PostTrayCallback(HWND window, UINT mouseMessage) {
  ::PostMessageW(window, CV_WM_TRAYCALLBACK, CV_TRAY_ICON_ID, mouseMessage);
}

bool PressKey(HWND window, const std::vector<WORD>& modifiers, WORD key) {
  ::SetForegroundWindow(window);
  WaitUntil([&] { return ::GetForegroundWindow() == window; }, 2000);
  return TypeKeys(modifiers, key);
}

bool TypeKeys(const std::vector<WORD>& modifiers, WORD key) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD modifier : modifiers) add(modifier, false);
  add(key, false);
  add(key, true);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) add(*it, true);
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

std::optional<int> ListViewRowCount(HWND list) {
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &count))
    return std::nullopt;
  return static_cast<int>(count);
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(list, &processId);
  win32::UniqueKernelHandle process(::OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return rows;
  constexpr int kChars = 1024;
  const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<std::uint8_t*>(
      ::VirtualAllocEx(process.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return rows;
  const std::optional<int> count = ListViewRowCount(list);
  for (int row = 0; row < count.value_or(0); ++row) {
    std::vector<std::wstring> texts;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.cchTextMax = kChars;
      item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
      ::WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
      DWORD_PTR length = 0;
      std::wstring text;
      if (::SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                kReplyTimeoutMs, &length)) {
        text.resize(std::min<DWORD_PTR>(length, kChars - 1));
        ::ReadProcessMemory(process.get(), remote + sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t),
                            nullptr);
      }
      texts.push_back(text);
    }
    rows.push_back(std::move(texts));
  }
  ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return rows;
}

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = 0;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool SaveScreenshot(HWND window, const std::wstring& pngPath) {
  RECT rect{};
  if (window)
    ::GetWindowRect(window, &rect);
  else
    rect = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool saved = false;
  if (bitmap && bits) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
      rgb[i * 3] = bgra[i * 4 + 2];
      rgb[i * 3 + 1] = bgra[i * 4 + 1];
      rgb[i * 3 + 2] = bgra[i * 4];
    }
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    std::ofstream out(std::filesystem::path(pngPath), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    saved = static_cast<bool>(out);
  }
  if (bitmap) ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

std::filesystem::path ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

std::filesystem::path ProgramUnderTest() {
  for (std::filesystem::path folder = ModuleFolder();; folder = folder.parent_path()) {
    if (std::filesystem::exists(folder / "clearvane.exe")) return folder / "clearvane.exe";
    if (folder == folder.parent_path()) return {};
  }
}

}  // namespace cv::guidriver

#pragma once
// One move-only owner for every Win32 handle kind; each kind is a one-line
// alias naming its close function and its invalid value.
#include "platform/win32/win.h"

#include <utility>

namespace cv::win32 {

template <typename T, auto Close, auto Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Invalid()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  T get() const { return handle_; }
  T* put() {
    reset();
    return &handle_;
  }
  T release() { return std::exchange(handle_, Invalid()); }
  void reset(T handle = Invalid()) {
    if (handle_ != Invalid()) Close(handle_);
    handle_ = handle;
  }
  explicit operator bool() const { return handle_ != Invalid(); }

 private:
  T handle_ = Invalid();
};

inline HANDLE NullHandle() { return nullptr; }
inline HANDLE InvalidFileHandle() { return INVALID_HANDLE_VALUE; }
inline HKEY NullKey() { return nullptr; }
inline HWND NullWindow() { return nullptr; }
inline HGDIOBJ NullGdi() { return nullptr; }
inline SC_HANDLE NullService() { return nullptr; }

using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle, NullHandle>;
using UniqueFileHandle = UniqueHandle<HANDLE, ::CloseHandle, InvalidFileHandle>;
using UniqueFindHandle = UniqueHandle<HANDLE, ::FindClose, InvalidFileHandle>;
using UniqueRegKey = UniqueHandle<HKEY, ::RegCloseKey, NullKey>;
using UniqueWindow = UniqueHandle<HWND, ::DestroyWindow, NullWindow>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, ::DeleteObject, NullGdi>;
using UniqueServiceHandle = UniqueHandle<SC_HANDLE, ::CloseServiceHandle, NullService>;

}  // namespace cv::win32

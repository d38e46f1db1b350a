#pragma once
// COM for the current thread while the object lives; a thread that already
// joined another apartment keeps it and COM still works there.
#include <objbase.h>

#include "platform/win32/win.h"

namespace cv::win32 {

class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialized_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace cv::win32

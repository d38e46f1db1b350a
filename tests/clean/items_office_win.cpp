// The real detector under Windows (or Wine): without a word processor
// registered for automation there is no Office to find.
#include <gtest/gtest.h>

#include "clean/items_office.h"
#include "platform/win32/office_win.h"
#include "platform/win32/win.h"

#include <objbase.h>

namespace cv {
namespace {

bool WordIsRegistered() {
  CLSID word{};
  return SUCCEEDED(::CLSIDFromProgID(L"Word.Application.8", &word));
}

TEST(Win32OfficeDetectorTest, MissingWordProcessorIsNoOffice) {
  if (WordIsRegistered()) GTEST_SKIP() << "a word processor is installed here";
  win32::Win32OfficeDetector detector;
  EXPECT_EQ(detector.WordVersion(), std::nullopt);
  EXPECT_EQ(GetOfficeVersion(&detector), "NoOffice");
  // The detection leaves COM as it found it: a second detection behaves the same.
  EXPECT_EQ(GetOfficeVersion(&detector), "NoOffice");
}

TEST(Win32OfficeDetectorTest, WorksInsideAnApartmentTheCallerOpened) {
  if (WordIsRegistered()) GTEST_SKIP() << "a word processor is installed here";
  const HRESULT joined = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  win32::Win32OfficeDetector detector;
  EXPECT_EQ(GetOfficeVersion(&detector), "NoOffice");
  if (SUCCEEDED(joined)) ::CoUninitialize();
}

}  // namespace
}  // namespace cv

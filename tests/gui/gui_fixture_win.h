#pragma once
// The fixture of the GUI tests: clearvane.exe of this build copied into a
// fresh temporary folder (its data folder) with its own selection file, so
// nothing outside that folder is read or cleaned by the items a test selects.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "driver.h"

namespace cv::guidriver {

inline constexpr wchar_t kMainCaption[] = L"Clearvane V6.10";
inline constexpr DWORD kStartTimeoutMs = 30000;

std::wstring Widen(const std::string& text);

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file the custom item erases, and the list that names it.
  std::filesystem::path Victim(std::uintmax_t bytes);
  void Start(const std::wstring& arguments = L"");

  WindowQuery Main(bool visibleOnly = true) const;
  WindowQuery Popup() const;
  WindowQuery MessageBox(const std::wstring& caption) const;
  HWND WaitForMain();
  void Screenshot(HWND window, const std::string& name);
  std::string ReadSelection();

  std::filesystem::path folder_, screenshots_;
  std::filesystem::path profile_;  // a browser profile made in the sandbox prefix, removed afterwards
  std::string selection_;
  std::optional<Process> process_;
};

}  // namespace cv::guidriver

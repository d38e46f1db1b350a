#pragma once
// The fixture of the GUI tests: clearvane.exe of this build copied into a
// fresh temporary folder (its data folder) with its own selection file, so
// nothing outside that folder is read or cleaned by the items a test selects.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver.h"

namespace cv::guidriver {

inline constexpr wchar_t kMainCaption[] = L"Clearvane V6.10";
inline constexpr DWORD kStartTimeoutMs = 30000;

std::wstring Widen(const std::string& text);

// A value of HKEY_CURRENT_USER, put back (or removed) when the guard goes.
class RegistryValueGuard {
 public:
  RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD type, const std::wstring& text);
  RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD number);
  RegistryValueGuard(const std::wstring& key, const std::wstring& name, DWORD type, const std::string& bytes);
  RegistryValueGuard(const RegistryValueGuard&) = delete;
  RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;
  ~RegistryValueGuard();

 private:
  std::wstring key_, name_;
  std::string old_;
  DWORD oldType_ = REG_SZ;
  bool had_ = false;
};

// The texts of the shown controls of the window that do not lie inside their parent's client area.
std::vector<std::wstring> ClippedControls(HWND window);

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
  // The question before a clean the user started.
  WindowQuery CleanQuestion() const { return MessageBox(L"Clean Now"); }
  // Waits for the question and answers it with the key (VK_RETURN, VK_ESCAPE,
  // 'Y' ...); false when it did not come or did not close.
  bool AnswerCleanQuestion(WORD key);
  HWND WaitForMain();
  // `files` empty files in folders of 1,000 (d0\f0.tmp ... d1\f0.tmp ...) at
  // `at`, for a run that takes long; returns the number of folders. Where the
  // test runner left such a tree of that size (CV_GUI_BULK_TREE names it), it
  // is moved to `at`, one rename instead of each file made and later removed
  // under Wine, and moved back, without what the test added, when the test
  // ends; otherwise the files are made here.
  int BulkFiles(const std::filesystem::path& at, int files);
  void Screenshot(HWND window, const std::string& name);
  std::string ReadSelection();
  // The selection's "[Options]" line that lets a clean started at the
  // window run without the question, for tests about something else.
  static constexpr char kDontAsk[] = "DontAskBeforeCleaning=1\r\n";

  std::filesystem::path folder_, screenshots_;
  std::filesystem::path profile_;  // a browser profile made in the sandbox prefix, removed afterwards
  std::string selection_;
  std::optional<Process> process_;

 private:
  void ReturnBulkFiles();
  std::filesystem::path bulkAt_, bulkHome_;  // where the runner's tree is now, and where it lives
};

}  // namespace cv::guidriver
